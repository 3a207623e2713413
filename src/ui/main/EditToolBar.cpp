// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/EditToolBar.h"

#include "mapview/ViewZoom.h"
#include "session/EditorSession.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace vmm {

namespace {

QLabel *namedLabel(const QString &text, const QString &name, QWidget *parent) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

// The height list holds "0" to "100" and "HeightValie", kept in text order.
QStringList heightListEntries() {
  QStringList entries;
  for (int h = 0; h <= 100; ++h) entries << QString::number(h);
  entries << QStringLiteral("HeightValie");
  std::sort(entries.begin(), entries.end());
  return entries;
}

QFrame *buttonFrame(const QString &name, QWidget *parent) {
  auto *frame = new QFrame(parent);
  frame->setObjectName(name);
  frame->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
  auto *layout = new QHBoxLayout(frame);
  layout->setContentsMargins(4, 0, 4, 0);
  return frame;
}

}  // namespace

EditToolBar::EditToolBar(EditorSession &session, QToolBar &secondRow, QWidget *parent)
    : QToolBar(parent), session_(session), secondRow_(secondRow) {
  setObjectName(QStringLiteral("Toolbar2"));
  setMovable(false);
  setFloatable(false);
  buildElementControls();
  buildHeightControls();
  buildEditModeButtons();
  elementText_ = new QLineEdit(QStringLiteral("Text1"), this);
  elementText_->setObjectName(QStringLiteral("txtElement"));
  elementText_->setMaximumWidth(80);
  addWidget(elementText_);

  buildBrushSizeControl();
  buildDrawStyleButtons();
  buildZoomBox();

  // The tool strip starts in the Terrain state: element lists shown, height controls hidden.
  showControlsFor(false);
}

void EditToolBar::buildElementControls() {
  categoryList_ = new QComboBox(this);
  categoryList_->setObjectName(QStringLiteral("cboTerainCategory"));
  categoryList_->addItems({"ALL", "Barrier", "Explosive", "Foilage", "Fortification",
                           "Gulley/Slope", "Item", "Misc", "Roadway", "Rubble", "Structure",
                           "Terrain", "Water"});
  categoryList_->setCurrentIndex(-1);
  categoryList_->setMinimumContentsLength(12);
  addWidget(categoryList_);

  elementList_ = new QComboBox(this);
  elementList_->setObjectName(QStringLiteral("cboElementList"));
  elementList_->setMinimumContentsLength(22);
  addWidget(elementList_);

  addWidget(namedLabel(QStringLiteral("Draw"), QStringLiteral("Label2"), this));
}

void EditToolBar::buildHeightControls() {
  lowerButton_ = new QPushButton(QStringLiteral("Lower"), this);
  lowerButton_->setObjectName(QStringLiteral("Command2"));
  raiseButton_ = new QPushButton(QStringLiteral("Raise"), this);
  raiseButton_->setObjectName(QStringLiteral("Command1"));
  heightList_ = new QComboBox(this);
  heightList_->setObjectName(QStringLiteral("cboheight"));
  heightList_->setEditable(true);
  heightList_->setInsertPolicy(QComboBox::NoInsert);
  heightList_->addItems(heightListEntries());
  heightList_->setCurrentIndex(-1);
  heightList_->setEditText(QStringLiteral("1"));
  heightList_->setMinimumContentsLength(6);
  heightColourButton_ = new QPushButton(QStringLiteral("Draw with Colour"), this);
  heightColourButton_->setObjectName(QStringLiteral("Command3"));
  for (QWidget *w : std::initializer_list<QWidget *>{lowerButton_, raiseButton_, heightList_,
                                                     heightColourButton_})
    addWidget(w);
}

void EditToolBar::buildEditModeButtons() {
  QFrame *frame = buttonFrame(QStringLiteral("Frame3"), this);
  auto *layout = frame->layout();
  layout->addWidget(namedLabel(QStringLiteral("Draw"), QStringLiteral("Label1"), frame));
  const char *captions[kEditModeCount] = {"Sector", "Quad",      "Sector",
                                          "Quad",   "Fill Area", "Select Area"};
  for (int i = 0; i < kEditModeCount; ++i) {
    const auto mode = static_cast<EditMode>(i);
    auto *button = new QRadioButton(QString::fromLatin1(captions[i]), frame);
    button->setObjectName(QStringLiteral("Option1_%1").arg(i));
    connect(button, &QRadioButton::toggled, this, [this, mode](bool on) {
      if (on) session_.setEditMode(mode);
    });
    if (mode == EditMode::EraseSector) {
      auto *line = new QFrame(frame);
      line->setObjectName(QStringLiteral("Line1"));
      line->setFrameShape(QFrame::VLine);
      layout->addWidget(line);
      layout->addWidget(namedLabel(QStringLiteral("Erase"), QStringLiteral("Label3"), frame));
    }
    if (mode == EditMode::FillArea) {
      auto *line = new QFrame(frame);
      line->setObjectName(QStringLiteral("lineFillArea"));
      line->setFrameShape(QFrame::VLine);
      layout->addWidget(line);
    }
    layout->addWidget(button);
    editModeButtons_[static_cast<std::size_t>(i)] = button;
  }
  editModeButton(session_.editMode())->setChecked(true);
  connect(&session_, &EditorSession::editModeChanged, this,
          [this](EditMode mode) { editModeButton(mode)->setChecked(true); });
  addWidget(frame);
}

void EditToolBar::buildBrushSizeControl() {
  QFrame *frame = buttonFrame(QStringLiteral("frameBrush"), this);
  frame->layout()->addWidget(
      namedLabel(QStringLiteral("Brush"), QStringLiteral("lblBrush"), frame));
  brushSizeList_ = new QComboBox(frame);
  brushSizeList_->setObjectName(QStringLiteral("cboBrushSize"));
  brushSizeList_->setToolTip(
      tr("Sectors square painted or erased at once in the Sector "
         "modes ([ smaller, ] larger)"));
  brushSizeList_->setFocusPolicy(Qt::NoFocus);
  for (const int size : kBrushSizes)
    brushSizeList_->addItem(QStringLiteral("%1 x %1").arg(size), size);
  brushSizeList_->setCurrentIndex(brushSizeList_->findData(session_.brushSize()));
  connect(brushSizeList_, &QComboBox::activated, this,
          [this](int index) { session_.setBrushSize(brushSizeList_->itemData(index).toInt()); });
  connect(&session_, &EditorSession::brushSizeChanged, this,
          [this](int size) { brushSizeList_->setCurrentIndex(brushSizeList_->findData(size)); });
  frame->layout()->addWidget(brushSizeList_);
  secondRow_.addWidget(frame);

  // Anywhere in the window, the map view included; actions, so the list of keys shows them.
  const std::array steps{std::tuple{QStringLiteral("Smaller Brush"),
                                    QStringLiteral("actSmallerBrush"), Qt::Key_BracketLeft, -1},
                         std::tuple{QStringLiteral("Larger Brush"),
                                    QStringLiteral("actLargerBrush"), Qt::Key_BracketRight, 1}};
  for (const auto &[caption, name, key, step] : steps) {
    auto *action = new QAction(caption, this);
    action->setObjectName(name);
    action->setShortcut(QKeySequence(key));
    action->setShortcutContext(Qt::WindowShortcut);
    frame->addAction(action);  // a tool bar would show it as a button
    connect(action, &QAction::triggered, this, [this, step = step] {
      session_.setBrushSize(steppedBrushSize(session_.brushSize(), step));
    });
  }
}

void EditToolBar::buildDrawStyleButtons() {
  QFrame *frame = buttonFrame(QStringLiteral("Frame1"), this);
  frame->layout()->addWidget(
      namedLabel(QStringLiteral("Draw Style"), QStringLiteral("Label5"), frame));
  const char *captions[3] = {"Solid", "Transparent", "Hollow"};
  for (int i = 0; i < 3; ++i) {
    const auto style = static_cast<DrawStyle>(i);
    auto *button = new QRadioButton(QString::fromLatin1(captions[i]), frame);
    button->setObjectName(QStringLiteral("OptDraw_%1").arg(i));
    connect(button, &QRadioButton::toggled, this, [this, style](bool on) {
      if (on) session_.setDrawStyle(style);
    });
    frame->layout()->addWidget(button);
    drawStyleButtons_[static_cast<std::size_t>(i)] = button;
  }
  if (QRadioButton *button = drawStyleButton(session_.drawStyle())) button->setChecked(true);
  connect(&session_, &EditorSession::drawStyleChanged, this, [this](DrawStyle style) {
    if (QRadioButton *button = drawStyleButton(style)) button->setChecked(true);
  });
  secondRow_.addWidget(frame);
}

void EditToolBar::buildZoomBox() {
  zoomBox_ = new QComboBox(this);
  zoomBox_->setObjectName(QStringLiteral("cboZoom"));
  zoomBox_->setToolTip(tr("Zoom level, 12.5% to 800%"));
  zoomBox_->setEditable(true);
  zoomBox_->setInsertPolicy(QComboBox::NoInsert);
  zoomBox_->setMinimumContentsLength(6);
  for (const double level : ViewZoom::levels()) zoomBox_->addItem(ViewZoom::levelText(level));
  showZoomLevel(1.0);
  // A typed level counts once Return confirms it; a level from the list at once.
  connect(zoomBox_->lineEdit(), &QLineEdit::returnPressed, this,
          [this] { emit zoomLevelEntered(zoomBox_->currentText()); });
  connect(zoomBox_, &QComboBox::activated, this,
          [this](int index) { emit zoomLevelEntered(zoomBox_->itemText(index)); });
  secondRow_.addWidget(zoomBox_);
}

void EditToolBar::showZoomLevel(double level) {
  zoomBox_->setEditText(ViewZoom::levelText(level));
}

QRadioButton *EditToolBar::editModeButton(EditMode mode) const {
  return editModeButtons_[static_cast<std::size_t>(mode)];
}

QRadioButton *EditToolBar::drawStyleButton(DrawStyle style) const {
  return style == DrawStyle::None ? nullptr : drawStyleButtons_[static_cast<std::size_t>(style)];
}

void EditToolBar::showControlsFor(bool heights) {
  setToolVisible(categoryList_, !heights);
  setToolVisible(elementList_, !heights);
  setToolVisible(raiseButton_, heights);
  setToolVisible(lowerButton_, heights);
  setToolVisible(heightColourButton_, heights);
  setToolVisible(heightList_, heights);
}

QAction *EditToolBar::actionOf(QWidget *control) const {
  for (const QToolBar *row :
       {static_cast<const QToolBar *>(this), static_cast<const QToolBar *>(&secondRow_)})
    for (QAction *action : row->actions())
      if (row->widgetForAction(action) == control) return action;
  return nullptr;
}

void EditToolBar::setToolVisible(QWidget *control, bool visible) {
  // A widget on a tool bar is shown and hidden through its action.
  if (QAction *action = actionOf(control))
    action->setVisible(visible);
  else
    control->setVisible(visible);
}

bool EditToolBar::isToolVisible(QWidget *control) const {
  const QAction *action = actionOf(control);
  return action ? action->isVisible() : control->isVisible();
}

}  // namespace vmm
