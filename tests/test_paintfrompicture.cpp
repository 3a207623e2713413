// SPDX-License-Identifier: GPL-3.0-or-later
// Paint from Picture in the editor: the dock, its preview over the map at every zoom,
// its Apply as one undo step, the Sectors it leaves unsure in Problems, Fill Similar.
#include "document/MapHistory.h"
#include "support/AreaDriver.h"
#include "support/TerrainPicture.h"
#include "support/TestSupport.h"
#include "ui/docks/PaintFromPictureWindow.h"
#include "ui/docks/ProblemsWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"
#include "ui/mapview/TracePreview.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QSlider>
#include <QTreeWidget>
#include <QtTest>

using namespace vmm;
using test::TerrainPicture;

namespace {

// Catalogue elements standing for the generated terrains, so that the preview has colours.
constexpr qint16 kElementOf[] = {0, 12, 10, 11, 8, 190, 174};

}  // namespace

class TestPaintFromPicture : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  test::ScriptedDialogs dialogs_;
  TerrainPicture made_ = TerrainPicture::generate(12, 9, 3);
  std::unique_ptr<MainWindow> main_;
  std::vector<qint16> examples_;

  PaintFromPictureWindow *dock() const { return main_->paintFromPicture(); }

  // Waits for the dock's next suggestions.
  bool suggestionsShown() {
    QSignalSpy shown(dock(), &PaintFromPictureWindow::suggestionsShown);
    return shown.wait(20000);
  }

  // The cell of the first Sector without an example.
  int firstOpenCell() const {
    return int(std::find(examples_.begin(), examples_.end(), kUnassigned) - examples_.begin());
  }

 private slots:
  void init() {
    const QString picture = home_.filePath(QStringLiteral("battle.png"));
    QVERIFY(made_.picture.save(picture));
    main_ = test::openShownMap(dialogs_, picture);
    QVERIFY(main_);
    // 3% of the Sectors painted, as one step.
    examples_ = made_.examples(0.03, 9);
    MapDocument &document = main_->session().document();
    {
      HistoryStep step(&main_->session().history(), QStringLiteral("Paint"), StepRepaint::Sectors);
      for (std::size_t cell = 0; cell < examples_.size(); ++cell) {
        if (examples_[cell] == kUnassigned) continue;
        examples_[cell] = kElementOf[examples_[cell]];
        const SectorAddress at = addressOf(int(cell), made_.xQuads);
        document.setValue(at.quad, at.sector, Plane::Element, examples_[cell]);
      }
    }
    main_->repaintWholeMap();
    test::trigger(main_.get(), "mnuPaintFromPicture");
    QVERIFY(main_->findChild<QDockWidget *>(QStringLiteral("dockPaintFromPicture"))->isVisible());
    QVERIFY(suggestionsShown());
  }
  void cleanup() { main_.reset(); }

  // The counts, the preview with its hatch at 100% and 25% and in step with new examples.
  void previewFollowsTheExamples() {
    QAction *item = main_->findChild<QAction *>(QStringLiteral("mnuPaintFromPicture"));
    QCOMPARE(item->text(), QStringLiteral("Paint from &Picture..."));
    QCOMPARE(item->shortcut(), QKeySequence(QStringLiteral("Ctrl+T")));
    QVERIFY(dock()->counts()->text().contains(
        QRegularExpression(QStringLiteral("^[0-9,]+ Sectors to paint, [0-9,]+ left unsure$"))));
    QCOMPARE(dock()->slider()->value(), 60);
    TracePreview *preview = main_->mapView()->tracePreview();
    QVERIFY(preview->isShown());
    QCOMPARE(preview->unsureCount(), dock()->suggestions().countUnsure(0.6f));

    // Over an unassigned Sector the view shows more than the surface; over an example,
    // the surface alone.
    SurfaceWidget *terrain = main_->mapView()->surfaceWidget(MapView::Terrain);
    const int open = firstOpenCell();
    const int example = int(std::find_if(examples_.begin(), examples_.end(),
                                         [](qint16 v) { return v != kUnassigned; }) -
                            examples_.begin());
    const auto shownAt = [&](int cell, double level) {
      const QPoint centre = test::cellCentre(cell % (made_.xQuads * 4), cell / (made_.xQuads * 4));
      const QImage shown = terrain->grab().toImage();
      return shown.pixelColor((QPointF(centre) * level).toPoint());
    };
    const QImage &surface = main_->session().surfaces().surface(MapView::Terrain);
    const auto surfaceAt = [&](int cell) {
      return surface.pixelColor(
          test::cellCentre(cell % (made_.xQuads * 4), cell / (made_.xQuads * 4)));
    };
    QVERIFY(shownAt(open, 1.0) != surfaceAt(open));
    QCOMPARE(shownAt(example, 1.0), surfaceAt(example));
    // The hatch over the Sectors below the minimum, at 100% and at 25%.
    for (const double level : {1.0, 0.25}) {
      main_->mapView()->setZoomLevel(level);
      dock()->setMinimumConfidence(0.0f);
      QCOMPARE(preview->unsureCount(), 0);
      const QImage unhatched = terrain->grab().toImage();
      dock()->setMinimumConfidence(0.95f);
      QVERIFY(preview->unsureCount() > dock()->suggestions().countUnsure(0.6f));
      QVERIFY(terrain->grab().toImage() != unhatched);
    }
    main_->mapView()->setZoomLevel(1.0);
    dock()->setMinimumConfidence(0.6f);

    // A new example reaches the preview without the window waiting for it.
    MapDocument &document = main_->session().document();
    const SectorAddress at = addressOf(open, made_.xQuads);
    {
      HistoryStep step(&main_->session().history(), QStringLiteral("Paint"), StepRepaint::Sectors);
      document.setValue(at.quad, at.sector, Plane::Element, kElementOf[1]);
    }
    QVERIFY(suggestionsShown());
    QCOMPARE(dock()->suggestions().cells[std::size_t(open)].value, kUnassigned);

    // Close hides the dock and the preview.
    dock()->findChild<QPushButton *>(QStringLiteral("cmdCloseTrace"))->click();
    QVERIFY(!preview->isShown());
  }

  // Apply is one undo step and leaves the unsure Sectors in Problems; Alt + click in Fill
  // Area fills the similar Sectors around the click. With a selection, the counts, the
  // preview, Apply and Fill Similar all keep inside it.
  void applyAndFillSimilar_data() {
    QTest::addColumn<QRect>("selected");  // in cells; empty: nothing selected
    QTest::newRow("whole map") << QRect();
    QTest::newRow("selection") << QRect(8, 6, 24, 18);
  }
  void applyAndFillSimilar() {
    QFETCH(QRect, selected);
    EditorSession &session = main_->session();
    const MapDocument &document = session.document();
    const SectorGrid grid(document);
    const int columns = grid.columns();
    const auto allowed = [&](int cell) {
      return selected.isEmpty() || selected.contains(cell % columns, cell / columns);
    };
    if (!selected.isEmpty()) {
      session.selectRectangle(grid.address({selected.left(), selected.top()}),
                              grid.address({selected.right(), selected.bottom()}),
                              SelectionChange::Replace);
      int inside = 0;
      for (std::size_t cell = 0; cell < dock()->suggestions().cells.size(); ++cell)
        if (dock()->suggestions().cells[cell].value != kUnassigned) {
          QVERIFY(allowed(int(cell)));
          ++inside;
        }
      QVERIFY(inside > 0);
      QCOMPARE(main_->mapView()->tracePreview()->unsureCount(),
               dock()->suggestions().countUnsure(0.6f));
    }
    test::AreaDriver hand(*main_);
    const int steps = hand.steps();
    const int sure = dock()->suggestions().countSure(0.6f);
    const int unsure = dock()->suggestions().countUnsure(0.6f);
    QVERIFY(dock()->counts()->text().startsWith(QLocale(QLocale::English).toString(sure) +
                                                QStringLiteral(" Sectors to paint")));
    dock()->applyButton()->click();
    QCOMPARE(hand.steps(), steps + 1);
    QCOMPARE(hand.undoText(), QStringLiteral("Undo Paint from Picture"));
    const std::vector<qint16> painted = cellValues(document, Plane::Element);
    int changed = 0;
    for (std::size_t cell = 0; cell < painted.size(); ++cell)
      if (painted[cell] != examples_[cell]) {
        QVERIFY(examples_[cell] == kUnassigned && allowed(int(cell)));
        ++changed;
      }
    QCOMPARE(changed, sure);
    ProblemsWindow *problems = main_->problems();
    problems->refresh();
    QCOMPARE(problems->unsureCount(), unsure);
    const QList<QTreeWidgetItem *> unsureGroup = problems->list()->findItems(
        QStringLiteral("Unsure (%1 Sectors left by Paint from Picture)").arg(unsure),
        Qt::MatchExactly);
    QCOMPARE(unsureGroup.size(), 1);
    // Listed ahead of the Sectors without values, which the examples alone leave everywhere.
    const QList<QTreeWidgetItem *> unassignedGroup = problems->list()->findItems(
        QStringLiteral("Sectors without an element or a height"), Qt::MatchStartsWith);
    QCOMPARE(unassignedGroup.size(), 1);
    QVERIFY(problems->list()->indexOfTopLevelItem(unsureGroup[0]) <
            problems->list()->indexOfTopLevelItem(unassignedGroup[0]));
    test::trigger(main_.get(), "mnuUndo");
    QVERIFY(cellValues(document, Plane::Element) == examples_);

    // Alt + click: the joined Sectors suggested as the clicked one's value; outside the
    // selection a click fills nothing.
    session.setEditMode(EditMode::FillArea);
    session.document().CurrentDrawElement = kElementOf[2];
    const auto openCell = [&](bool inside) {
      for (int cell = 0; cell < int(examples_.size()); ++cell)
        if (examples_[cell] == kUnassigned && allowed(cell) == inside) return cell;
      return -1;
    };
    if (!selected.isEmpty()) {
      const int outside = openCell(false);
      const int before = hand.steps();
      hand.click(MapView::Terrain, test::cellCentre(outside % columns, outside / columns),
                 Qt::AltModifier);
      QCOMPARE(hand.steps(), before);
    }
    const int open = openCell(true);
    hand.click(MapView::Terrain, test::cellCentre(open % columns, open / columns), Qt::AltModifier);
    QCOMPARE(hand.undoText(), QStringLiteral("Undo Fill Similar"));
    const test::Cells filled = hand.cellsHolding(Plane::Element, kElementOf[2]);
    QVERIFY(filled.count({open % columns, open / columns}) == 1);
    for (const auto &[column, row] : filled)
      QVERIFY(examples_[std::size_t(row * columns + column)] == kElementOf[2] ||
              allowed(row * columns + column));
  }
};

QTEST_MAIN(TestPaintFromPicture)
#include "test_paintfrompicture.moc"
