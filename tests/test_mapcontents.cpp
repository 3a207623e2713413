// SPDX-License-Identifier: GPL-3.0-or-later
// Finding elements and seeing what the map holds, in the editor: the search box and
// recent elements on the tool strip, the Legend and Problems docks, the jump to a Sector.
#include "catalogue/ElementCategories.h"
#include "files/SettingsFile.h"
#include "session/RecentElements.h"
#include "support/TestSupport.h"
#include "ui/catalogue/ElementDataWindow.h"
#include "ui/catalogue/ElementFinder.h"
#include "ui/docks/LegendWindow.h"
#include "ui/docks/ProblemsWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SectorHighlight.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QDockWidget>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

using namespace vmm;
using test::sectorCentre;
using test::trigger;

namespace {

qint16 idOf(MainWindow &main, const QString &name) {
  return main.session().catalogue().elementByName(name)->elementid;
}

// The Sectors a Legend row shows for `name`; -1 when there is no such row.
int legendCount(LegendWindow *legend, const QString &name) {
  legend->refresh();
  for (int i = 0; i < legend->rows()->topLevelItemCount(); ++i) {
    const QTreeWidgetItem *row = legend->rows()->topLevelItem(i);
    if (row->text(0) == name) return QLocale().toInt(row->text(1));
  }
  return -1;
}

QTreeWidgetItem *legendRow(LegendWindow *legend, const QString &name) {
  const QList<QTreeWidgetItem *> found = legend->rows()->findItems(name, Qt::MatchExactly, 0);
  return found.isEmpty() ? nullptr : found.first();
}

// The lines of the Problems list, group captions first in each group.
QStringList problemLines(ProblemsWindow *problems) {
  QStringList lines;
  for (QTreeWidgetItemIterator it(problems->list()); *it; ++it) lines << (*it)->text(0);
  return lines;
}

// A double click as the mouse sends it: press, release, then the second press and release.
void doubleClick(QWidget *widget, QPoint at) {
  for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                                  QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease}) {
    const bool down = type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
}

// Paints `name` into Quad `quad` Sector `sector` with a left click on the Terrain view.
void paintAt(MainWindow &main, const QString &name, int quad, int sector) {
  QVERIFY(main.elementFinder()->choose(name));
  test::dragLeft(main.mapView()->surfaceWidget(MapView::Terrain), {sectorCentre(quad, sector)});
}

}  // namespace

class TestMapContents : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  test::ScriptedDialogs dialogs_;

 private slots:
  void init() {
    QFile::remove(settingsFilePath(home_.dir.path()));
    dialogs_ = {};
  }

  void searchFindsByAnyPartAndSelectsLikeTheLists_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("category");
    QTest::newRow("middle, lower case") << "edge"
                                        << "Hedge"
                                        << "Foilage";
    QTest::newRow("start, upper case") << "BRICK WA"
                                       << "Brick Wall"
                                       << "Barrier";  // also Structure
  }

  void searchFindsByAnyPartAndSelectsLikeTheLists() {
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    QFETCH(QString, category);
    auto main = test::openShownMap(dialogs_, home_.picture);
    QVERIFY(main);
    QLineEdit *box = main->elementFinder()->searchBox();
    QCOMPARE(box->placeholderText(), QStringLiteral("Find element"));
    QTest::keyClicks(box, typed);
    QCompleter *completer = main->elementFinder()->completer();

    // Every catalogue name holding the typed text, in any case, and nothing else.
    QStringList expected;
    const ElementTable &table = main->session().elementTable();
    for (int id = 0; id < kMaxElements; ++id)
      if (table.hasElement(id) && table.row(id).name.contains(typed, Qt::CaseInsensitive))
        expected << table.row(id).name;
    QStringList offered;
    for (int row = 0; completer->setCurrentRow(row); ++row)
      offered << completer->currentCompletion();
    expected.sort(Qt::CaseInsensitive);
    QCOMPARE(offered, expected);
    QVERIFY(offered.contains(chosen));

    // Chosen in the open list with the keyboard.
    QAbstractItemView *popup = completer->popup();
    QTRY_VERIFY(popup->isVisible());
    popup->setCurrentIndex(completer->completionModel()->index(int(offered.indexOf(chosen)), 0));
    QTest::keyClick(popup, Qt::Key_Return);
    const MapDocument &doc = main->session().document();
    QCOMPARE(doc.CurrentDrawElement, idOf(*main, chosen));
    QCOMPARE(main->panelText(4), QStringLiteral("Sel. : ") + chosen);
    auto *categories = main->findChild<QComboBox *>("cboTerainCategory");
    auto *elements = main->findChild<QComboBox *>("cboElementList");
    QCOMPARE(categories->currentText(), category);
    QCOMPARE(elements->count(), ElementCategories::sortedElementsOf(category).size());
    QCOMPARE(elements->currentText(), chosen);
  }

  void unknownNameChangesNothingAndCtrlFFocuses() {
    auto main = test::openShownMap(dialogs_, home_.picture);
    QVERIFY(main);
    QVERIFY(main->elementFinder()->choose(QStringLiteral("Hedge")));
    auto *elements = main->findChild<QComboBox *>("cboElementList");
    const int listed = elements->count();
    QLineEdit *box = main->elementFinder()->searchBox();
    QApplication::setActiveWindow(main.get());
    QVERIFY(QTest::qWaitForWindowActive(main.get()));
    main->mapView()->surfaceWidget(MapView::Terrain)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(box->hasFocus());
    QTest::keyClicks(box, QStringLiteral("Rice Paddy"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(!main->elementFinder()->choose(QStringLiteral("Hedges")));
    QCOMPARE(main->session().document().CurrentDrawElement, idOf(*main, "Hedge"));
    QCOMPARE(elements->count(), listed);
    QCOMPARE(elements->currentText(), QStringLiteral("Hedge"));
    // Enter on a text that leaves one element offered takes that element.
    box->clear();
    QTest::keyClicks(box, QStringLiteral("ice pad"));  // none
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(main->panelText(4), QStringLiteral("Sel. : Hedge"));
    box->clear();
    QTest::keyClicks(box, QStringLiteral("bell"));  // only "Bell"
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(main->panelText(4), QStringLiteral("Sel. : Bell"));
  }

  void recentElementsOrderLimitAndPersistence() {
    const QStringList painted{"Hedge", "Bell", "Crates", "Brush", "Marsh",
                              "Gate",  "Rail", "Sand",   "Wreck", "Bell"};
    {
      auto main = test::openShownMap(dialogs_, home_.picture);
      QVERIFY(main);
      for (int i = 0; i < painted.size(); ++i) paintAt(*main, painted[i], i, 0);
      // Painting on the Elevation plane or erasing adds nothing.
      main->session().setEditMode(EditMode::EraseSector);
      QVERIFY(main->elementFinder()->choose(QStringLiteral("Dirt")));
      test::dragLeft(main->mapView()->surfaceWidget(MapView::Terrain), {sectorCentre(1, 0)});
      QStringList shown;
      for (QToolButton *button : main->elementFinder()->recentButtons()) {
        shown << button->toolTip();
        QVERIFY(!button->icon().isNull());
      }
      QCOMPARE(shown,
               (QStringList{"Bell", "Wreck", "Sand", "Rail", "Gate", "Marsh", "Brush", "Crates"}));
    }
    auto next = test::openShownMap(dialogs_, home_.picture);  // the next run
    QVERIFY(next);
    const QList<QToolButton *> &buttons = next->elementFinder()->recentButtons();
    QCOMPARE(buttons.size(), RecentElements::kLimit);
    QCOMPARE(buttons[3]->toolTip(), QStringLiteral("Rail"));
    buttons[3]->click();
    QCOMPARE(next->session().document().CurrentDrawElement, idOf(*next, "Rail"));
    QCOMPARE(next->findChild<QComboBox *>("cboTerainCategory")->currentText(),
             QStringLiteral("Roadway"));
  }

  // What each edit does to the counts is test_mapstatistics' (countsFollowEveryEdit); here
  // the dock shows them, catches up by itself, switches planes and follows undo.
  void legendCountsFollowEveryEdit() {
    auto main = test::openShownMap(dialogs_, home_.picture);
    QVERIFY(main);
    trigger(main.get(), "mnuLegend");
    LegendWindow *legend = main->legend();
    QTRY_VERIFY(legend->isVisible());
    QCOMPARE(legendCount(legend, "Unassigned"), 18 * 16);
    QCOMPARE(legend->rows()->topLevelItemCount(), 1);

    main->session().setEditMode(EditMode::DrawQuad);
    paintAt(*main, QStringLiteral("Leaves"), 0, 0);
    paintAt(*main, QStringLiteral("Leaves & Brush"), 1, 0);
    // Without asking: the rows catch up by themselves a moment later.
    QTRY_COMPARE(legend->rows()->topLevelItemCount(), 3);
    QCOMPARE(legendCount(legend, "Leaves"), 16);
    QCOMPARE(legendCount(legend, "Unassigned"), 16 * 16);

    const QString mapFile = home_.filePath("legend.txt");
    QVERIFY(test::writeFile(mapFile, test::uniformMapText(6, 3, 12, 27, 5)));
    dialogs_.openNames.push_back(mapFile);
    trigger(main.get(), "mnuImportMapData");
    QCOMPARE(legendCount(legend, "Hedge"), 12 * 16);  // element 27, and only 12 rows now
    QCOMPARE(legendCount(legend, "Leaves"), -1);
    legend->setPlane(Plane::Height);
    QCOMPARE(legendCount(legend, "5"), 12 * 16);
    QCOMPARE(legendCount(legend, "6"), 0);
    QCOMPARE(legend->rows()->topLevelItemCount(), 101 + 1);

    trigger(main.get(), "mnuUndo");
    legend->setPlane(Plane::Element);
    QCOMPARE(legendCount(legend, "Leaves"), 16);
    QCOMPARE(legendCount(legend, "Hedge"), -1);
    QCOMPARE(legend->summary()->text(), QStringLiteral("288 Sectors, 88.9 % unassigned"));
  }

  void legendRowsChooseAndOpenElementData() {
    auto main = test::openShownMap(dialogs_, home_.picture);
    QVERIFY(main);
    paintAt(*main, QStringLiteral("Bell"), 2, 3);
    QVERIFY(main->elementFinder()->choose(QStringLiteral("Hedge")));
    trigger(main.get(), "mnuLegend");
    LegendWindow *legend = main->legend();
    QTRY_VERIFY(legend->isVisible());
    legend->refresh();
    QTreeWidgetItem *bell = legendRow(legend, "Bell");
    QVERIFY(bell);
    QTreeWidget *rows = legend->rows();
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(bell).center());
    QCOMPARE(main->session().document().CurrentDrawElement, idOf(*main, "Bell"));
    QCOMPARE(main->findChild<QComboBox *>("cboElementList")->currentText(), QStringLiteral("Bell"));
    doubleClick(rows->viewport(), rows->visualItemRect(bell).center());
    QTRY_VERIFY(legend->elementDataWindow() && legend->elementDataWindow()->isVisible());
    QCOMPARE(legend->elementDataWindow()->fieldText("ElementType"), QStringLiteral("Bell"));
    legend->elementDataWindow()->close();

    legend->setPlane(Plane::Height);
    QTreeWidgetItem *height = legendRow(legend, "40");
    QVERIFY(height && !height->icon(0).isNull());
    rows->scrollToItem(height);
    QTest::mouseClick(rows->viewport(), Qt::LeftButton, {}, rows->visualItemRect(height).center());
    QCOMPARE(main->session().document().CurrentDrawHeight, qint16(40));
    QCOMPARE(main->findChild<QComboBox *>("cboheight")->currentText(), QStringLiteral("40"));
    // The unassigned line chooses nothing.
    legend->rowClicked(legendRow(legend, "Unassigned"));
    QCOMPARE(main->session().document().CurrentDrawHeight, qint16(40));
  }

  void problemsListEachKindAndJumpToIt() {
    const QString picture = test::writePicture(home_.dir.path(), 1200, 840);  // 30 x 21 Quads
    auto main = test::openShownMap(dialogs_, picture);
    QVERIFY(main);
    trigger(main.get(), "mnuProblems");
    ProblemsWindow *problems = main->problems();
    QTRY_VERIFY(problems->isVisible());
    QCOMPARE(problems->summary()->text(), QStringLiteral("Problems: 630"));
    QCOMPARE(problemLines(problems).first(),
             QStringLiteral("Sectors without an element or a height (630 Quads)"));
    QCOMPARE(problemLines(problems).last(), QStringLiteral("... and 130 more"));

    // 600 full rows of Hedge and height 7, but Quad 598 holds id 400 and height 150 and
    // Quad 599 lacks a height in Sector 9.
    QByteArray text = "10\r\n \r\n30 X Max \r\n21 Y Max \r\n0\r\n0\r\nId\r\n&\r\n";
    for (int q = 0; q < 600; ++q) {
      text += QByteArray::number(q);
      for (int s = 0; s < 16; ++s) text += q == 598 && s == 3 ? "\t400" : "\t27";
      for (int s = 0; s < 16; ++s)
        text += q == 598 && s == 5 ? "\t150" : q == 599 && s == 9 ? "\t-1" : "\t7";
      text += "\r\n";
    }
    const QString mapFile = home_.filePath("problems.txt");
    QVERIFY(test::writeFile(mapFile, text + "#\r\n"));
    dialogs_.openNames.push_back(mapFile);
    trigger(main.get(), "mnuImportMapData");
    // Worked out again only once the edits settle.
    QVERIFY(problems->refreshPending());
    QCOMPARE(problems->summary()->text(), QStringLiteral("Problems: 630"));
    QTRY_COMPARE(problems->summary()->text(), QStringLiteral("Problems: 4"));
    // Each finding's wording: test_mapstatistics (problemsOfEachKind); here the groups.
    QStringList groups;
    for (int i = 0; i < problems->list()->topLevelItemCount(); ++i)
      groups << problems->list()->topLevelItem(i)->text(0);
    QCOMPARE(groups, (QStringList{"Map rows and picture Quads differ",
                                  "Element ids the catalogue lacks (1 Sectors)",
                                  "Heights outside 0..100 (1 Sectors)",
                                  "Sectors without an element or a height (1 Quads)"}));

    // The jump: the view scrolls to the Sector and outlines it over the surface.
    MapViewWindow *view = main->mapView();
    QCOMPARE(view->verticalScrollBar()->value(), 0);
    QTreeWidget *list = problems->list();
    QTreeWidgetItem *line =
        list->findItems(QStringLiteral("Quad 599 Sector 9: 1 Sector without a height"),
                        Qt::MatchExactly | Qt::MatchRecursive)
            .value(0);
    QVERIFY(line);
    // In a narrow dock every line fits the list's width (no sideways scrolling) and the whole
    // line is its tool tip.
    QVERIFY(list->header()->sectionSize(0) <= list->viewport()->width());
    QVERIFY(line->toolTip(0).startsWith(line->text(0)));
    list->scrollToItem(line);
    QSignalSpy requested(problems, &ProblemsWindow::sectorRequested);
    doubleClick(list->viewport(), list->visualItemRect(line).topLeft() + QPoint(20, 5));
    QVERIFY(!requested.isEmpty());
    QCOMPARE(requested.last(), (QList<QVariant>{599, 9}));
    SectorHighlight *highlight = view->sectorHighlight();
    QTRY_VERIFY(highlight->isVisible());
    SurfaceWidget *terrain = view->surfaceWidget(MapView::Terrain);
    const QRect cell(40 * (599 % 30) + 10, 40 * (599 / 30) + 20, 10,
                     10);  // Sector 9: column 1, row 2
    QCOMPARE(highlight->parentWidget(), terrain);
    QCOMPARE(highlight->cell(), cell);
    QVERIFY(highlight->geometry().contains(cell));
    QVERIFY(view->verticalScrollBar()->value() > 0);
    const QRect inViewport(terrain->mapTo(view->viewport(), cell.topLeft()), cell.size());
    QVERIFY(view->viewport()->rect().contains(inViewport));
    // It goes by itself, and the surface's picture never had it.
    const QImage before =
        main->session().surfaces().surface(MapView::Terrain).copy(cell.adjusted(-4, -4, 4, 4));
    QTRY_VERIFY_WITH_TIMEOUT(!highlight->isVisible(), SectorHighlight::kShownMs + 2000);
    QCOMPARE(main->session().surfaces().surface(MapView::Terrain).copy(cell.adjusted(-4, -4, 4, 4)),
             before);
    // The row count line jumps to the first Quad without a row; a group caption goes nowhere.
    requested.clear();
    problems->lineActivated(list->topLevelItem(0));
    problems->lineActivated(list->topLevelItem(0)->child(0));
    QCOMPARE(requested.size(), 1);
    QCOMPARE(requested[0], (QList<QVariant>{600, 0}));
  }

  void menuItemsShowAndHideTheDocks() {
    MainWindow main(&dialogs_);
    main.show();
    for (const char *name : {"mnuLegend", "mnuProblems"}) {
      auto *item = main.findChild<QAction *>(name);
      auto *dock = main.findChild<QDockWidget *>(name == QByteArray("mnuLegend") ? "dockLegend"
                                                                                 : "dockProblems");
      QVERIFY(dock->isHidden());
      item->trigger();
      QVERIFY(!dock->isHidden() && item->isChecked());
      dock->close();
      QVERIFY(!item->isChecked());
    }
    auto *legend = main.findChild<QAction *>("mnuLegend");
    QCOMPARE(legend->text(), QStringLiteral("&Legend"));
    QCOMPARE(legend->shortcut(), QKeySequence(Qt::Key_F9));
    QCOMPARE(main.findChild<QAction *>("mnuProblems")->text(), QStringLiteral("&Problems"));
    // Before any picture both say so.
    legend->trigger();
    QCOMPARE(main.legend()->summary()->text(), QStringLiteral("No map loaded"));
  }
};

QTEST_MAIN(TestMapContents)
#include "test_mapcontents.moc"
