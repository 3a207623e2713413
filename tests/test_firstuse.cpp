// SPDX-License-Identifier: GPL-3.0-or-later
// What a map maker meets in the first minutes: the lists show what a click paints, keys
// reach the map after a search, every way of switching views leaves the same window, the
// status panels follow every change, and exports get their extension.
#include "support/TestSupport.h"
#include "ui/catalogue/ElementFinder.h"
#include "ui/dialogs/WidgetDialogs.h"
#include "ui/docks/LegendWindow.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

using namespace vmm;
using test::trigger;

namespace {

// What a view switch leaves behind: the tool strip's two families of controls, the
// bevels of the three view panels, panel 4 and the Legend's tab.
struct WindowState {
  bool elementListsShown;
  bool heightControlsShown;
  bool colourButtonShown;
  QList<StatusPanels::Bevel> viewBevels;
  QString paintPanel;
  Plane legendPlane;
  bool operator==(const WindowState &) const = default;
};

WindowState windowState(MainWindow &main) {
  EditToolBar *bar = main.toolBar();
  StatusPanels *panels = main.statusPanels();
  return {bar->isToolVisible(bar->categoryList()) && bar->isToolVisible(bar->elementList()),
          bar->isToolVisible(bar->heightList()) && bar->isToolVisible(bar->raiseButton()) &&
              bar->isToolVisible(bar->lowerButton()),
          bar->isToolVisible(bar->heightColourButton()),
          {panels->bevel(9), panels->bevel(11), panels->bevel(13)},
          main.panelText(4),
          main.legend()->plane()};
}

}  // namespace

class TestFirstUse : public QObject {
  Q_OBJECT

  test::EditorHome home_;

 private slots:
  void listsShowWhatAClickPaints() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    EditToolBar *bar = main->toolBar();
    QCOMPARE(bar->categoryList()->currentText(), QStringLiteral("ALL"));
    const QString shown = bar->elementList()->currentText();
    QVERIFY(!shown.isEmpty());
    const qint16 current = main->session().document().CurrentDrawElement;
    QCOMPARE(main->session().elementName(current), shown);
    QCOMPARE(main->panelText(4), QStringLiteral("Sel. : ") + shown);
    QCOMPARE(QString::number(main->session().document().CurrentDrawHeight),
             bar->heightList()->currentText());

    // A click paints exactly the element the lists show.
    SurfaceWidget *terrain = main->mapView()->surfaceWidget(MapView::Terrain);
    test::dragLeft(terrain, {test::sectorCentre(4, 5)});
    QCOMPARE(main->session().document().value(4, 5, Plane::Element), current);
  }

  void enterAndEscapeHandTheKeysBackToTheMap() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    QLineEdit *search = main->elementFinder()->searchBox();
    SurfaceWidget *terrain = main->mapView()->surfaceWidget(MapView::Terrain);
    for (const Qt::Key leave : {Qt::Key_Return, Qt::Key_Escape}) {
      main->session().setEditMode(EditMode::DrawSector);
      QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);
      QTRY_VERIFY(search->hasFocus());
      QTest::keyClicks(search, QStringLiteral("Gate"));
      QTest::keyClick(search, leave);
      QTRY_VERIFY(terrain->hasFocus());
      // "E" is Erase Sector again, not a letter in the search box.
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_E);
      QCOMPARE(main->session().editMode(), EditMode::EraseSector);
      QCOMPARE(search->text().endsWith(QLatin1Char('E')), false);
    }
    QCOMPARE(main->toolBar()->elementList()->currentText(), QStringLiteral("Gate"));
  }

  // Whichever way the view changes, the window ends as a click on the view's panel leaves it.
  void everyWayOfSwitchingViewsLeavesTheSameWindow_data() {
    QTest::addColumn<QString>("panelKey");
    QTest::addColumn<QString>("menuItem");
    QTest::addColumn<QString>("key");
    QTest::newRow("Image") << "I"
                           << "mnuV1"
                           << "Ctrl+1";
    QTest::newRow("Terrain") << "T"
                             << "mnuV2"
                             << "Ctrl+2";
    QTest::newRow("Elevation") << "E"
                               << "mnuV3"
                               << "Ctrl+3";
  }

  void everyWayOfSwitchingViewsLeavesTheSameWindow() {
    QFETCH(QString, panelKey);
    QFETCH(QString, menuItem);
    QFETCH(QString, key);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    main->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    StatusPanels *panels = main->statusPanels();
    auto clickPanel = [&](const QString &which) {
      const int panel = panels->panelWithKey(which);
      QTest::mouseClick(panels, Qt::LeftButton, {}, panels->panelRect(panel).center());
    };
    clickPanel(panelKey);
    const WindowState byPanel = windowState(*main);
    QCOMPARE(byPanel.heightControlsShown, panelKey == QLatin1String("E"));
    QCOMPARE(byPanel.colourButtonShown, panelKey == QLatin1String("E"));
    QCOMPARE(byPanel.elementListsShown, panelKey != QLatin1String("E"));
    QCOMPARE(byPanel.legendPlane, panelKey == QLatin1String("E") ? Plane::Height : Plane::Element);
    // From each of the other two views, by menu and by key.
    for (const QString &from : {QStringLiteral("I"), QStringLiteral("T"), QStringLiteral("E")}) {
      if (from == panelKey) continue;
      clickPanel(from);
      trigger(main.get(), qPrintable(menuItem));
      QCOMPARE(windowState(*main), byPanel);
      clickPanel(from);
      QTest::keySequence(main.get(), QKeySequence(key, QKeySequence::PortableText));
      QCOMPARE(windowState(*main), byPanel);
    }
  }

  // Under a still pointer the Element and Height panels show the Sector as it is now.
  void statusPanelsFollowEveryChange() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    MapDocument &doc = main->session().document();
    SurfaceWidget *terrain = main->mapView()->surfaceWidget(MapView::Terrain);
    test::sendMouseMove(terrain, test::sectorCentre(2, 6), Qt::NoButton);
    QCOMPARE(main->panelText(2), QStringLiteral("Height : -1"));
    doc.CurrentDrawHeight = 30;
    trigger(main.get(), "Fillheight");
    QCOMPARE(main->panelText(2), QStringLiteral("Height : 30"));
    trigger(main.get(), "mnuUndo");
    QCOMPARE(main->panelText(2), QStringLiteral("Height : -1"));
    trigger(main.get(), "mnuRedo");
    QCOMPARE(main->panelText(2), QStringLiteral("Height : 30"));
    const QString element = main->session().elementName(doc.CurrentDrawElement);
    trigger(main.get(), "mnuFill");
    QCOMPARE(main->panelText(1), QStringLiteral("Element : ") + element);
  }

  void exportsGetTheirExtension_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("written");
    QTest::newRow("Varga") << "mnuSave"
                           << "battle.txt";
    QTest::newRow("Tolle") << "MnuTolle"
                           << "battle.txt";
    QTest::newRow("Terrain picture") << "mnuExT"
                                     << "battle.bmp";
  }

  void exportsGetTheirExtension() {
    QFETCH(QString, command);
    QFETCH(QString, written);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    QTemporaryDir out;
    dialogs.saveNames = {out.filePath(QStringLiteral("battle"))};
    trigger(main.get(), qPrintable(command));
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(QFile::exists(out.filePath(written)));
    QVERIFY(!QFile::exists(out.filePath(QStringLiteral("battle"))));
  }

  // The first window fits a small screen; a later one opens where the last was left.
  void windowFitsTheScreenAndComesBackAsLeft() {
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    QRect left;
    {
      test::ScriptedDialogs dialogs;
      MainWindow first(&dialogs);
      first.show();
      QVERIFY(QTest::qWaitForWindowExposed(&first));
      QVERIFY2(available.contains(first.frameGeometry()),
               qPrintable(QStringLiteral("%1 x %2 on %3 x %4")
                              .arg(first.width())
                              .arg(first.height())
                              .arg(available.width())
                              .arg(available.height())));
      first.setGeometry(QRect(available.topLeft() + QPoint(30, 40), QSize(500, 400)));
      left = first.geometry();
      first.close();
    }
    test::ScriptedDialogs dialogs;
    MainWindow second(&dialogs);
    QCOMPARE(second.geometry(), left);
  }

  // The picture dialog reads "Jpeg Files (*.JPG)" and still lists pictures in any case.
  void pictureDialogListsJpegsInAnyCase() {
    QTemporaryDir folder;
    for (const char *name : {"a.JPG", "b.jpg", "c.Jpg", "d.png"})
      QVERIFY(test::writeFile(folder.filePath(QLatin1String(name)), "x"));
    const auto dialog = WidgetDialogs::fileDialog(
        nullptr, QStringLiteral("Jpeg Files (*.JPG)|*.Jpg"), QFileDialog::AcceptOpen);
    QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("Jpeg Files (*.JPG)")});
    dialog->setDirectory(folder.path());
    auto *list = dialog->findChild<QAbstractItemView *>(QStringLiteral("listView"));
    QVERIFY(list);
    auto listed = [&] {
      QStringList names;
      const QModelIndex root = list->rootIndex();
      for (int row = 0; row < list->model()->rowCount(root); ++row)
        names << list->model()->index(row, 0, root).data().toString();
      names.sort();
      return names;
    };
    QTRY_COMPARE(listed(), (QStringList{"a.JPG", "b.jpg", "c.Jpg"}));
  }
};

QTEST_MAIN(TestFirstUse)
#include "test_firstuse.moc"
