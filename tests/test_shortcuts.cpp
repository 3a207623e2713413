// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard shortcuts, tool tips and the Help menu: every key reaches its command from the
// window as a user presses it, no key is taken twice or taken from Qt's standard ones, the
// tool strip and the status bar explain themselves, and the user guide shows its pictures.
#include "app/EditorArguments.h"
#include "support/TestSupport.h"
#include "ui/catalogue/ElementDataWindow.h"
#include "ui/catalogue/ElementTreeWindow.h"
#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/HelpWindows.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/KeyboardCursor.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/splash/SplashScreen.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>

using namespace vmm;

namespace {

// Presses the keys as a user would: at the widget that has the focus in the active window.
void press(MainWindow &window, const QKeySequence &keys) {
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  QWidget *target = QApplication::focusWidget();
  QTest::keySequence(target ? target : &window, keys);
  QCoreApplication::processEvents();
}

QKeySequence keys(const char *text) {
  return QKeySequence(QLatin1String(text), QKeySequence::PortableText);
}

QString nativeText(const QKeySequence &keys) {
  return keys.toString(QKeySequence::NativeText);
}

// Every action of the window that has a key: menu items and the window's own actions.
QList<QAction *> actionsWithKeys(const MainWindow &window) {
  QList<QAction *> found;
  for (QAction *action : window.findChildren<QAction *>())
    if (!action->shortcuts().isEmpty()) found << action;
  return found;
}

std::unique_ptr<MainWindow> shownWindow(test::ScriptedDialogs &dialogs) {
  auto window = std::make_unique<MainWindow>(&dialogs);
  window->resize(1000, 650);
  window->show();
  return window;
}

// Image paths of the guide's pictures, as the guide names them.
QStringList guideImages(const QTextDocument &document) {
  QStringList names;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
    for (auto it = block.begin(); !it.atEnd(); ++it)
      if (it.fragment().charFormat().isImageFormat())
        names << it.fragment().charFormat().toImageFormat().name();
  return names;
}

// The key of the command that checks the radio button, from a state where it is not checked.
QString keyThatChecks(MainWindow &window, QRadioButton *radio) {
  EditorSession &session = window.session();
  for (QAction *command : actionsWithKeys(window)) {
    const bool firstMode = radio == window.toolBar()->editModeButton(EditMode::DrawSector);
    const bool firstStyle = radio == window.toolBar()->drawStyleButton(DrawStyle::Solid);
    session.setEditMode(firstMode ? EditMode::EraseQuad : EditMode::DrawSector);
    session.setDrawStyle(firstStyle ? DrawStyle::Hollow : DrawStyle::Solid);
    command->trigger();
    if (radio->isChecked()) return nativeText(command->shortcut());
  }
  return {};
}

// The key of the window's own command that clicks the button, shown on the Elevation map.
QString keyThatClicks(MainWindow &window, QPushButton *button) {
  window.findChild<QAction *>(QStringLiteral("mnuV3"))->trigger();
  for (QAction *command : window.actions()) {
    QSignalSpy clicked(button, &QPushButton::clicked);
    command->trigger();
    if (!clicked.isEmpty() && !command->shortcut().isEmpty())
      return nativeText(command->shortcut());
  }
  return {};
}

}  // namespace

class TestShortcuts : public QObject {
  Q_OBJECT

  test::EditorHome home_;

 private slots:
  // Every tool key's command: toolStripAndPanelsSayWhatTheyDoAndTheirKeys; these rows press
  // the keys from the window.
  void toolKeysChooseModeAndStyle_data() {
    QTest::addColumn<QString>("keyText");
    QTest::addColumn<int>("mode");   // -1: the key is not an edit mode's
    QTest::addColumn<int>("style");  // -1: the key is not a draw style's
    QTest::newRow("Draw Sector") << "D" << int(EditMode::DrawSector) << -1;
    QTest::newRow("Erase Quad") << "Shift+E" << int(EditMode::EraseQuad) << -1;
    QTest::newRow("Solid") << "S" << -1 << int(DrawStyle::Solid);
    QTest::newRow("Hollow") << "H" << -1 << int(DrawStyle::Hollow);
  }

  void toolKeysChooseModeAndStyle() {
    QFETCH(QString, keyText);
    QFETCH(int, mode);
    QFETCH(int, style);
    test::ScriptedDialogs dialogs;
    auto window = shownWindow(dialogs);
    EditorSession &session = window->session();
    // Start from another mode and style, so that only the key can bring the expected one.
    session.setEditMode(static_cast<EditMode>(mode >= 0 ? (mode + 1) % 4 : 3));
    session.setDrawStyle(static_cast<DrawStyle>(style >= 0 ? (style + 1) % 3 : 2));
    const EditMode modeBefore = session.editMode();
    const DrawStyle styleBefore = session.drawStyle();
    press(*window, keys(qPrintable(keyText)));
    QCOMPARE(session.editMode(), mode >= 0 ? static_cast<EditMode>(mode) : modeBefore);
    QCOMPARE(session.drawStyle(), style >= 0 ? static_cast<DrawStyle>(style) : styleBefore);
    QVERIFY(dialogs.messages.isEmpty());
  }

  void listsAndTextFieldsKeepTheKeysTheyTypeWith() {
    test::ScriptedDialogs dialogs;
    auto window = test::openShownMap(dialogs, home_.picture);
    QVERIFY(window);
    StatusPanels *panels = window->statusPanels();
    QTest::mouseClick(panels, Qt::LeftButton, {},
                      panels->panelRect(panels->panelWithKey(QStringLiteral("V"))).center());
    QVERIFY(window->treeView());
    auto *tree = window->treeView()->findChild<QTreeWidget *>();
    QVERIFY(tree);
    EditorSession &session = window->session();
    session.setEditMode(EditMode::DrawQuad);

    // Typing in the element tree searches it: "E" and "D" do not change the edit mode.
    tree->setFocus();
    press(*window, keys("E"));
    press(*window, keys("D"));
    QCOMPARE(session.editMode(), EditMode::DrawQuad);
    // In the text box they are text (the tool strip shows all of its controls at this width).
    window->resize(1400, 700);
    auto *text = window->toolBar()->findChild<QLineEdit *>(QStringLiteral("txtElement"));
    text->clear();
    text->setFocus();
    press(*window, keys("E"));
    QCOMPARE(text->text(), QStringLiteral("e"));
    QCOMPARE(session.editMode(), EditMode::DrawQuad);
    // Anywhere else the key is the command's.
    window->toolBar()->categoryList()->setFocus();
    press(*window, keys("E"));
    QCOMPARE(session.editMode(), EditMode::EraseSector);
  }

  void viewKeysShowTheirMap() {
    // Without a map the command's guard answers (test_mainwindow: guardedCommandsNeedAMap).
    test::ScriptedDialogs dialogs;
    auto window = test::openShownMap(dialogs, home_.picture);
    QVERIFY(window);
    for (const auto &[key, expected, other] :
         {std::tuple{"Ctrl+1", MapView::Image, "Ctrl+3"},
          std::tuple{"Ctrl+2", MapView::Terrain, "Ctrl+3"},
          std::tuple{"Ctrl+3", MapView::Elevation, "Ctrl+2"}}) {
      press(*window, keys(other));  // start on another view
      QVERIFY(!window->mapView()->isSurfaceVisible(expected));
      press(*window, keys(key));
      for (const MapView each : {MapView::Image, MapView::Terrain, MapView::Elevation})
        QCOMPARE(window->mapView()->isSurfaceVisible(each), each == expected);
    }
    QVERIFY(dialogs.messages.isEmpty());
  }

  void heightKeysWorkWhileRaiseAndLowerShow() {
    test::ScriptedDialogs dialogs;
    auto window = test::openShownMap(dialogs, home_.picture);
    QVERIFY(window);
    QComboBox *heights = window->toolBar()->heightList();
    const MapDocument &document = window->session().document();
    // On the Terrain map the buttons are hidden, and so are their keys.
    press(*window, keys("R"));
    QCOMPARE(heights->currentText(), QStringLiteral("1"));

    press(*window, keys("Ctrl+3"));
    press(*window, keys("R"));
    press(*window, keys("R"));
    QCOMPARE(heights->currentText(), QStringLiteral("3"));
    QCOMPARE(document.CurrentDrawHeight, qint16(3));
    for (int i = 0; i < 4; ++i) press(*window, keys("L"));
    QCOMPARE(heights->currentText(), QStringLiteral("0"));  // Lower stops at 0
    QCOMPARE(document.CurrentDrawHeight, qint16(0));
  }

  void screenKeysRepaintTheShownMap() {
    test::ScriptedDialogs dialogs;
    auto window = test::openShownMap(dialogs, home_.picture);
    QVERIFY(window);
    MapSurfaces &surfaces = window->mapView()->surfaces();
    QImage &terrain = surfaces.surface(MapView::Terrain);
    const QColor black(0, 0, 0);
    const QColor scribble(255, 0, 255);

    // Redraw Grid: a Quad line pixel drawn over comes back black.
    terrain.setPixelColor(40, 5, scribble);
    press(*window, keys("Shift+F5"));
    QCOMPARE(terrain.pixelColor(40, 5), black);

    // Refresh Screen: a Sector recorded in the map but not drawn appears in its colour.
    window->session().document().setValue(0, 0, Plane::Element, 12);
    QVERIFY(terrain.pixelColor(5, 5) !=
            test::gdiColour(window->session().elementTable().colour(12)));
    press(*window, keys("F5"));
    QCOMPARE(terrain.pixelColor(5, 5),
             test::gdiColour(window->session().elementTable().colour(12)));
    QVERIFY(dialogs.messages.isEmpty());
  }

  void keysAreTakenOnceAndLeaveQtsStandardKeys() {
    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    // A command may use a standard key only for that key's own meaning.
    const QHash<QString, QKeySequence::StandardKey> ownMeaning{
        {QStringLiteral("mnuUndo"), QKeySequence::Undo},
        {QStringLiteral("mnuRedo"), QKeySequence::Redo},
        {QStringLiteral("mnuO2"), QKeySequence::Refresh},
        {QStringLiteral("mnuZoomIn"), QKeySequence::ZoomIn},
        {QStringLiteral("mnuZoomOut"), QKeySequence::ZoomOut},
        {QStringLiteral("mnuUserGuide"), QKeySequence::HelpContents},
        {QStringLiteral("actFindElement"), QKeySequence::Find},
        {QStringLiteral("mnuOpenProject"), QKeySequence::Open},
        {QStringLiteral("mnuSaveProject"), QKeySequence::Save},
        {QStringLiteral("mnuSaveProjectAs"), QKeySequence::SaveAs},
        {QStringLiteral("mnuSelectAll"), QKeySequence::SelectAll},
        {QStringLiteral("mnuSelectNone"), QKeySequence::Deselect},
        {QStringLiteral("mnuCopy"), QKeySequence::Copy},
        {QStringLiteral("mnuCut"), QKeySequence::Cut},
        {QStringLiteral("mnuPaste"), QKeySequence::Paste},
        {QStringLiteral("mnuDelete"), QKeySequence::Delete},
        // The editor has no tabs; Paint from Picture was given Ctrl+T by name.
        {QStringLiteral("mnuPaintFromPicture"), QKeySequence::AddTab}};
    const QMetaEnum standardKeys = QMetaEnum::fromType<QKeySequence::StandardKey>();
    QHash<QKeySequence, QString> owner;
    const QList<QAction *> actions = actionsWithKeys(window);
    QVERIFY(actions.size() >= 17);
    for (const QAction *action : actions) {
      for (const QKeySequence &key : action->shortcuts()) {
        QVERIFY2(!owner.contains(key),
                 qPrintable(QStringLiteral("%1 is taken by %2 and %3")
                                .arg(nativeText(key), owner.value(key), action->objectName())));
        owner.insert(key, action->objectName());
        for (int i = 0; i < standardKeys.keyCount(); ++i) {
          const auto standard = static_cast<QKeySequence::StandardKey>(standardKeys.value(i));
          if (ownMeaning.value(action->objectName(), QKeySequence::UnknownKey) == standard)
            continue;
          QVERIFY2(!QKeySequence::keyBindings(standard).contains(key),
                   qPrintable(QStringLiteral("%1 of %2 is Qt's %3")
                                  .arg(nativeText(key), action->objectName(),
                                       QLatin1String(standardKeys.key(i)))));
        }
      }
    }
  }

  void toolStripAndPanelsSayWhatTheyDoAndTheirKeys() {
    test::ScriptedDialogs dialogs;
    auto window = test::openShownMap(dialogs, home_.picture);
    QVERIFY(window);
    EditToolBar *tools = window->toolBar();
    // Each control has a tip; a control that a key works names that key, found by what
    // the key does: the key that checks the radio button, or that clicks the button.
    for (QWidget *control : tools->findChildren<QWidget *>()) {
      const bool isControl = qobject_cast<QComboBox *>(control) ||
                             qobject_cast<QAbstractButton *>(control) ||
                             control->objectName() == QLatin1String("txtElement");
      if (!isControl || control->objectName().startsWith(QLatin1String("qt_"))) continue;
      QVERIFY2(!control->toolTip().isEmpty(), qPrintable(control->objectName()));
      QString key;
      if (auto *radio = qobject_cast<QRadioButton *>(control))
        key = keyThatChecks(*window, radio);
      else if (auto *button = qobject_cast<QPushButton *>(control))
        key = keyThatClicks(*window, button);
      else
        continue;
      if (control == tools->heightColourButton()) {
        QVERIFY(key.isEmpty());
        continue;
      }
      QVERIFY2(!key.isEmpty(), qPrintable(control->objectName() + " has no key"));
      QVERIFY2(control->toolTip().endsWith(QStringLiteral("(%1)").arg(key)),
               qPrintable(control->objectName() + ": " + control->toolTip()));
    }

    // Screen readers name each control by its tip's lead and describe it by the whole tip
    // (Qt's accessibility interface tells a list on Linux by its current text, the value),
    // on both rows of the tool strip.
    const auto toldAsTipped = [](QWidget *widget, const QString &tip) {
      const QString name = widget->accessibleName();
      QVERIFY2(!name.isEmpty() && tip.startsWith(name), qPrintable(name + " / " + tip));
      QCOMPARE(QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description), tip);
    };
    int described = 0;
    for (const QToolBar *bar : window->findChildren<QToolBar *>())
      for (QWidget *control : bar->findChildren<QWidget *>())
        if (!control->toolTip().isEmpty()) {
          toldAsTipped(control, control->toolTip());
          ++described;
        }
    QVERIFY2(described >= 17, qPrintable(QString::number(described)));
    // A tip that changes later is followed.
    tools->heightColourButton()->setToolTip(QStringLiteral("Colours: a new tip"));
    toldAsTipped(tools->heightColourButton(), QStringLiteral("Colours: a new tip"));

    // Every panel that is not a spacer explains itself where the pointer rests, and to
    // screen readers.
    StatusPanels *panels = window->statusPanels();
    for (int panel = 1; panel <= panels->count(); ++panel) {
      const QString tip = panels->panelToolTip(panel);
      QCOMPARE(tip.isEmpty(), panels->bevel(panel) == StatusPanels::NoBevel);
      if (tip.isEmpty()) continue;
      // The panel's label, which lets mouse events through to the panels.
      QLabel *label = nullptr;
      for (QLabel *each : panels->findChildren<QLabel *>())
        if (each->geometry() == panels->panelRect(panel)) label = each;
      QVERIFY(label);
      toldAsTipped(label, tip);
      const QPoint centre = panels->panelRect(panel).center();
      QHelpEvent rest(QEvent::ToolTip, centre, panels->mapToGlobal(centre));
      QCoreApplication::sendEvent(panels, &rest);
      QTRY_COMPARE(QToolTip::text(), tip);
    }
    // The view panels name the keys of their views.
    for (const auto &[key, action] :
         {std::pair{"I", "mnuV1"}, std::pair{"T", "mnuV2"}, std::pair{"E", "mnuV3"}}) {
      const QString tip = panels->panelToolTip(panels->panelWithKey(QLatin1String(key)));
      const QString expected = nativeText(window->findChild<QAction *>(action)->shortcut());
      QVERIFY2(tip.endsWith(QStringLiteral("(%1)").arg(expected)), qPrintable(tip));
    }
  }

  // Every window on the screen tells screen readers that it is a window or a dialog, and
  // its title: the plain windows (splash, Element Data, user guide), the dialogs and the
  // docks once they float.
  void everyWindowTellsScreenReadersItsRoleAndTitle() {
    test::ScriptedDialogs dialogs;
    auto window = test::openShownMap(dialogs, home_.picture);
    QVERIFY(window);
    for (const char *command : {"mnuAbout", "mnuKeyboardShortcuts", "mnuUserGuide"})
      window->findChild<QAction *>(QLatin1String(command))->trigger();
    QPointer<ElementDataWindow> elementData;
    ElementDataWindow::open(elementData, window->session().catalogue(),
                            window->session().elementTable(), QStringLiteral("Brick Wall"),
                            window.get());
    SplashScreen splash;
    splash.show();
    const QList<QDockWidget *> docks = window->findChildren<QDockWidget *>();
    for (QDockWidget *dock : docks) {
      dock->setFloating(true);
      dock->show();
    }
    QHash<QString, QAccessible::Role> told;
    for (QWidget *shown : QApplication::topLevelWidgets()) {
      if (!shown->isVisible() || shown->windowType() == Qt::ToolTip) continue;
      QAccessibleInterface *face = QAccessible::queryAccessibleInterface(shown);
      QVERIFY(face);
      QVERIFY2(face->role() == QAccessible::Window || face->role() == QAccessible::Dialog,
               qPrintable(QStringLiteral("%1 is told as role %2")
                              .arg(shown->metaObject()->className())
                              .arg(face->role())));
      const QString title = shown->windowTitle().remove(QStringLiteral("[*]"));
      QVERIFY(!title.isEmpty());
      QCOMPARE(face->text(QAccessible::Name), title);
      told.insert(QLatin1String(shown->metaObject()->className()), face->role());
    }
    QCOMPARE(told.value("vmm::SplashScreen"), QAccessible::Window);
    QCOMPARE(told.value("vmm::ElementDataWindow"), QAccessible::Window);
    QCOMPARE(told.value("vmm::UserGuideWindow"), QAccessible::Window);
    QCOMPARE(told.value("vmm::AboutDialog"), QAccessible::Dialog);
    QCOMPARE(told.value("vmm::KeyboardShortcutsDialog"), QAccessible::Dialog);
    QVERIFY(docks.size() >= 4);
    for (QDockWidget *dock : docks)
      QVERIFY2(told.contains(QLatin1String(dock->metaObject()->className())),
               qPrintable(dock->windowTitle()));
  }

  void userGuideOpensWithF1AndFindsItsPictures() {
    test::ScriptedDialogs dialogs;
    auto window = shownWindow(dialogs);
    press(*window, keys("F1"));
    auto *guide = window->findChild<UserGuideWindow *>(QStringLiteral("userGuide"));
    QVERIFY(guide);
    QVERIFY(guide->isVisible());
    QTextDocument &document = *guide->browser()->document();
    QVERIFY(document.toPlainText().contains(QStringLiteral("Import Map Image")));

    // Every picture the guide names is found, and every picture built in is shown.
    const QStringList named = guideImages(document);
    QVERIFY(named.size() >= 5);
    QStringList builtIn;
    for (QDirIterator it(QStringLiteral(":/help/images")); it.hasNext();)
      builtIn << QFileInfo(it.next()).fileName();
    for (const QString &name : named) {
      const QUrl url = guide->browser()->source().resolved(QUrl(name));
      const QVariant resource = guide->browser()->loadResource(QTextDocument::ImageResource, url);
      QImage picture;
      picture.loadFromData(resource.toByteArray());
      QVERIFY2(!picture.isNull(), qPrintable(name + " is not found"));
      // Pictures fit the guide's window, which opens 980 pixels wide.
      QVERIFY2(picture.width() <= 900, qPrintable(name + " is wider than the guide"));
      builtIn.removeAll(QFileInfo(name).fileName());
    }
    QVERIFY2(builtIn.isEmpty(), qPrintable("not in the guide: " + builtIn.join(", ")));

    // Asking again brings the same window forward.
    window->findChild<QAction *>(QStringLiteral("mnuUserGuide"))->trigger();
    QCOMPARE(window->findChildren<UserGuideWindow *>().size(), 1);
  }

  void windowIconComesInEveryThemeSize() {
    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    const QList<QSize> sizes = window.windowIcon().availableSizes();
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
      QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    QCOMPARE(window.windowIcon().pixmap(QSize(48, 48)).size(), QSize(48, 48));
  }

  void aboutNamesTheProgramItsVersionLicenceQtAndDataFolder() {
    test::ScriptedDialogs dialogs;
    auto window = shownWindow(dialogs);
    window->findChild<QAction *>(QStringLiteral("mnuAbout"))->trigger();
    auto *about = window->findChild<AboutDialog *>(QStringLiteral("aboutDialog"));
    QVERIFY(about && about->isVisible());
    QCOMPARE(about->windowTitle(), QStringLiteral("About Varga Map Maker"));
    const QStringList lines = about->lines();
    QCOMPARE(lines.value(0), QStringLiteral("Varga Map Maker"));
    // The version is the one --version prints.
    const EditorArguments arguments = parseEditorArguments({"varga-map-maker", "--version"});
    QCOMPARE(QStringLiteral("varga-map-maker ") + lines.value(1).section(u' ', 1),
             arguments.output);
    QVERIFY(lines.value(3).contains(QStringLiteral("GPL-3.0-or-later")));
    QVERIFY(lines.value(4).endsWith(QString::fromLatin1(qVersion())));
    QVERIFY(lines.value(5).endsWith(
        QDir::toNativeSeparators(window->session().document().DatabaseLocation)));
    for (const QLabel *label : about->findChildren<QLabel *>())
      QCOMPARE(label->textFormat(), Qt::PlainText);
    QVERIFY(about->findChild<QPushButton *>(QStringLiteral("btnAboutQt")));
    // The licence's whole text is built in.
    about->showLicence();
    QVERIFY(about->licenceViewer()->toPlainText().startsWith(
        QStringLiteral("                    GNU GENERAL PUBLIC LICENSE")));
  }

  void guideAndShortcutListNameTheKeysTheCommandsHave() {
    test::ScriptedDialogs dialogs;
    auto window = shownWindow(dialogs);
    window->findChild<QAction *>(QStringLiteral("mnuKeyboardShortcuts"))->trigger();
    auto *list = window->findChild<KeyboardShortcutsDialog *>(QStringLiteral("keyboardShortcuts"));
    QVERIFY(list);
    QTableWidget *table = list->table();
    QHash<QString, QString> listed;
    for (int row = 0; row < table->rowCount(); ++row)
      listed.insert(table->item(row, 0)->text(), table->item(row, 1)->text());
    // The commands' keys, then the map view's own.
    QCOMPARE(listed.size(), actionsWithKeys(*window).size() + KeyboardCursor::keyList().size());
    QCOMPARE(listed.value(QStringLiteral("Move the Sector cursor by a Quad")),
             QStringList({"Shift+Left", "Shift+Right", "Shift+Up", "Shift+Down"}).join(", "));
    QCOMPARE(listed.value(QStringLiteral("Paint the cursor's Sector")), nativeText(keys("Space")));
    QCOMPARE(listed.value(QStringLiteral("Refresh Screen")), nativeText(keys("F5")));
    QCOMPARE(listed.value(QStringLiteral("Draw Quadrent")), nativeText(keys("Shift+D")));
    // Only keys a common keyboard has: no F13 and beyond, which Qt adds for Undo and Redo.
    static const QRegularExpression rareKey(QStringLiteral("\\bF(1[3-9]|[23][0-9])\\b"));
    for (const QString &shown : std::as_const(listed))
      QVERIFY2(!rareKey.match(shown).hasMatch(), qPrintable(shown));

    // The guide's table of keys: "| Keys | Command |" rows; each key the guide names is one
    // of the command's (a platform may add more, such as the Undo key of Sun keyboards).
    QFile source(QStringLiteral(":/help/user-guide.md"));
    QVERIFY(source.open(QIODevice::ReadOnly));
    const QString guide = QString::fromUtf8(source.readAll());
    static const QRegularExpression row(QStringLiteral("^\\| (\\S[^|]*?) +\\| (\\S[^|]*?) +\\|$"),
                                        QRegularExpression::MultilineOption);
    int rows = 0;
    for (auto match = row.globalMatch(guide); match.hasNext();) {
      const QRegularExpressionMatch m = match.next();
      const QString keyText = m.captured(1), command = m.captured(2);
      if (!listed.contains(command)) continue;  // a row of another table
      ++rows;
      const QStringList commandKeys = listed.value(command).split(QStringLiteral(", "));
      for (const QString &each : keyText.split(QStringLiteral(", ")))
        QVERIFY2(commandKeys.contains(nativeText(keys(qPrintable(each)))),
                 qPrintable(QStringLiteral("the guide gives %1 for %2, the editor %3")
                                .arg(keyText, command, listed.value(command))));
    }
    // The list is complete by construction; the guide at least covers the editing keys.
    QVERIFY(rows >= 15);
  }
};

QTEST_MAIN(TestShortcuts)
#include "test_shortcuts.moc"
