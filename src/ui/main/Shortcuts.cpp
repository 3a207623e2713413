// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard shortcuts and tool tips. The commands are found by their object names, and a
// control's tool tip reads its command's key from the action, so the menus, the tool
// strip, the status bar and the Keyboard Shortcuts list always name the same key.
#include "ui/main/MainWindow.h"

#include "ui/main/EditToolBar.h"
#include "ui/main/StatusPanels.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

#include <array>

namespace vmm {

namespace {

// Letters for the tools, as paint programs have them; Ctrl+digit for the three views in
// the order of their status bar panels; F5 repaints as it does everywhere. None is one of
// Qt's standard keys, and Ctrl+O, Ctrl+S, Ctrl+F, the zoom keys, F8, F9, [ and ] are left
// to the project, search, zoom, overview, legend and brush commands.
struct CommandKey {
  const char *action;
  const char *keys;  // in QKeySequence::PortableText
};
constexpr std::array kCommandKeys{
    CommandKey{"mnuE1", "D"},
    CommandKey{"mnuE2", "Shift+D"},
    CommandKey{"mnuE3", "E"},
    CommandKey{"mnuE4", "Shift+E"},
    CommandKey{"mnuV5", "S"},
    CommandKey{"mnuV6", "T"},
    CommandKey{"mnuHollow", "H"},
    CommandKey{"mnuV1", "Ctrl+1"},
    CommandKey{"mnuV2", "Ctrl+2"},
    CommandKey{"mnuV3", "Ctrl+3"},
    CommandKey{"mnuO2", "F5"},
    CommandKey{"mnuO1", "Shift+F5"},
    CommandKey{"actRaiseHeight", "R"},
    CommandKey{"actLowerHeight", "L"},
    CommandKey{"mnuUserGuide", "F1"},
    CommandKey{"mnuFillArea", "F"},
    CommandKey{"mnuPaintFromPicture", "Ctrl+T"},
    // Select Area as paint programs have it: M for the marquee, the clipboard's own keys,
    // X and Y mirror, Z turns (Shift the other way); Escape and the arrows work on the map.
    CommandKey{"mnuSelectArea", "M"},
    CommandKey{"mnuSelectAll", "Ctrl+A"},
    CommandKey{"mnuSelectNone", "Ctrl+Shift+A"},
    CommandKey{"mnuSelectSame", "Shift+M"},
    CommandKey{"mnuCopy", "Ctrl+C"},
    CommandKey{"mnuCut", "Ctrl+X"},
    CommandKey{"mnuPaste", "Ctrl+V"},
    CommandKey{"mnuDelete", "Del"},
    CommandKey{"mnuFlipHorizontally", "X"},
    CommandKey{"mnuFlipVertically", "Y"},
    CommandKey{"mnuRotateClockwise", "Z"},
    CommandKey{"mnuRotateAnticlockwise", "Shift+Z"},
};

// A tool strip control and the command whose key its tip names.
struct ControlTip {
  const char *control;
  const char *action;  // null: a control without a key
  const char *text;
};
constexpr std::array kControlTips{
    ControlTip{"cboTerainCategory", nullptr,
               "Element category: narrows the element list to one kind of element"},
    ControlTip{"cboElementList", nullptr, "The element to paint on the Terrain and Image maps"},
    ControlTip{"Command2", "actLowerHeight", "Lower: the height to paint goes down by one"},
    ControlTip{"Command1", "actRaiseHeight",
               "Raise: the height to paint goes up by one, up to 100"},
    ControlTip{"cboheight", nullptr,
               "The height to paint on the Elevation map, 0 to 100: choose or type it"},
    ControlTip{"Command3", nullptr,
               "Switches between the two sets of height colours; Refresh Screen repaints "
               "the Elevation map in the new set"},
    ControlTip{"Option1_0", "mnuE1",
               "Draw Sector: the left mouse button paints one Sector at a time"},
    ControlTip{"Option1_1", "mnuE2",
               "Draw Quad: the left mouse button paints the 16 Sectors of a Quad"},
    ControlTip{"Option1_2", "mnuE3",
               "Erase Sector: the left mouse button makes one Sector unassigned and shows "
               "the picture there again"},
    ControlTip{"Option1_3", "mnuE4",
               "Erase Quad: the left mouse button makes the 16 Sectors of a Quad unassigned"},
    ControlTip{"Option1_4", "mnuFillArea",
               "Fill Area: a left click fills the Sectors joined to the clicked one that hold "
               "its element (its height on the Elevation map) with the current one"},
    ControlTip{"Option1_5", "mnuSelectArea",
               "Select Area: a left drag selects a rectangle of Sectors (Shift adds, Ctrl takes "
               "away, Alt+click selects the joined Sectors of the clicked one's value); a drag "
               "inside the selection moves it"},
    ControlTip{"OptDraw_0", "mnuV5", "Solid: painted Sectors are filled with their colour"},
    ControlTip{"OptDraw_1", "mnuV6",
               "Transparent: painted Sectors tint the picture with their colour"},
    ControlTip{"OptDraw_2", "mnuHollow", "Hollow: painted Sectors are outlined in their colour"},
    ControlTip{"txtElement", nullptr, "A note field: the editor does not use its text"},
};

// A status panel, by number, and the command whose key its tip names.
struct PanelTip {
  int panel;
  const char *action;
  const char *text;
};
constexpr std::array kPanelTips{
    PanelTip{1, nullptr, "The element of the Sector under the pointer"},
    PanelTip{2, nullptr, "The height of the Sector under the pointer, or the height chosen"},
    PanelTip{4, nullptr, "The element or height you paint with"},
    PanelTip{6, nullptr, "The Quad under the pointer, counted row by row from the top left"},
    PanelTip{7, nullptr, "The Sector under the pointer inside its Quad, 0 to 15"},
    PanelTip{9, "mnuV1", "Image: shows the picture without the painted Sectors"},
    PanelTip{11, "mnuV2", "Terrain: shows the Sectors in their elements' colours"},
    PanelTip{13, "mnuV3", "Elevation: shows the Sectors in their heights' colours"},
    PanelTip{15, nullptr, "Tree View: opens or closes the element tree beside the map"},
};

// A list or tree with the focus keeps the plain keys it types with: typing a name jumps to
// it there (the element tree), as text fields keep theirs by themselves.
class TypeAheadKeys : public QObject {
 public:
  using QObject::QObject;

  bool eventFilter(QObject *watched, QEvent *event) override {
    if (event->type() != QEvent::ShortcutOverride || !qobject_cast<QAbstractItemView *>(watched))
      return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers typing =
        key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (typing != Qt::NoModifier || key->text().isEmpty() || !key->text().at(0).isPrint())
      return false;
    event->accept();
    return true;
  }
};

QString withShortcut(const QString &text, const QAction *action) {
  if (!action || action->shortcut().isEmpty()) return text;
  return QStringLiteral("%1 (%2)").arg(text, action->shortcut().toString(QKeySequence::NativeText));
}

}  // namespace

QAction *MainWindow::commandAction(const QString &name) const {
  return findChild<QAction *>(name);
}

void MainWindow::addHeightStepActions() {
  // Raise and Lower are buttons, not menu items: their keys work while the buttons show.
  const std::array steps{std::pair{QStringLiteral("actRaiseHeight"), toolBar_->raiseButton()},
                         std::pair{QStringLiteral("actLowerHeight"), toolBar_->lowerButton()}};
  for (const auto &[name, button] : steps) {
    auto *action = new QAction(button->text(), this);
    action->setObjectName(name);
    addAction(action);
    connect(action, &QAction::triggered, this, [this, button = button] {
      if (toolBar_->isToolVisible(button)) button->click();
    });
  }
}

void MainWindow::applyShortcutsAndTips() {
  addHeightStepActions();
  qApp->installEventFilter(new TypeAheadKeys(this));
  // Lists of keys name the command, not the step it would undo.
  for (const auto &[name, caption] : {std::pair{"mnuUndo", "Undo"}, std::pair{"mnuRedo", "Redo"}})
    if (QAction *action = commandAction(QLatin1String(name)))
      action->setIconText(QLatin1String(caption));
  for (const CommandKey &entry : kCommandKeys)
    if (QAction *action = commandAction(QLatin1String(entry.action)))
      action->setShortcut(QKeySequence(QLatin1String(entry.keys), QKeySequence::PortableText));
  // Keys of the tool strip's own controls are listed with the window's.
  for (const char *name : {"actSmallerBrush", "actLargerBrush", "actFindElement"})
    if (QAction *action = commandAction(QLatin1String(name))) addAction(action);

  auto tipText = [this](const char *text, const char *action) {
    return withShortcut(QString::fromLatin1(text),
                        action ? commandAction(QLatin1String(action)) : nullptr);
  };
  // Found in the whole window: the draw style buttons sit on the tool strip's second row.
  for (const ControlTip &tip : kControlTips)
    if (auto *control = findChild<QWidget *>(QLatin1String(tip.control)))
      control->setToolTip(tipText(tip.text, tip.action));
  for (const PanelTip &tip : kPanelTips)
    statusPanels_->setPanelToolTip(tip.panel, tipText(tip.text, tip.action));
}

}  // namespace vmm
