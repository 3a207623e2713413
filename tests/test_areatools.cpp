// SPDX-License-Identifier: GPL-3.0-or-later
// The area tools in the editor: brush sizes, Shift + drag rectangles, Shift + click
// lines, Fill Area and the replace commands, each one undo step that undo and redo
// take back and bring again, pixels of both views included.
#include "edits/AreaShapes.h"
#include "support/AreaDriver.h"
#include "support/TestSupport.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/EditCursors.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QComboBox>
#include <QRadioButton>
#include <QRubberBand>
#include <QToolBar>
#include <QtTest>

#include <set>

using namespace vmm;
using test::block;
using test::blockOf;
using test::cellCentre;
using test::Cells;
using test::joined;
using test::trigger;

Q_DECLARE_METATYPE(vmm::EditMode)
Q_DECLARE_METATYPE(vmm::DrawStyle)
Q_DECLARE_METATYPE(vmm::MapView)
Q_DECLARE_METATYPE(vmm::Plane)

namespace {

QImage cursorImage(const QWidget *widget) {
  return widget->cursor().pixmap().toImage();
}

}  // namespace

class TestAreaTools : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  std::unique_ptr<test::ScriptedDialogs> dialogs_;
  std::unique_ptr<MainWindow> main_;  // a shown window with the 240 x 120 picture imported
  std::unique_ptr<test::AreaDriver> hand_;

  MapDocument &doc() { return main_->session().document(); }
  SurfaceWidget *surface(MapView view) { return main_->mapView()->surfaceWidget(view); }

 private slots:
  void init() {
    dialogs_ = std::make_unique<test::ScriptedDialogs>();
    main_ = test::openShownMap(*dialogs_, home_.picture);
    QVERIFY(main_);
    hand_ = std::make_unique<test::AreaDriver>(*main_);
  }

  void cleanup() {
    hand_.reset();
    main_.reset();
  }

  void brushSizesFromTheKeysAndTheToolStrip() {
    main_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main_.get()));
    auto *sizes = main_->findChild<QComboBox *>("cboBrushSize");
    QCOMPARE(sizes->currentText(), QStringLiteral("1 x 1"));
    SurfaceWidget *terrain = surface(MapView::Terrain);
    const QImage oneSector = cursorImage(terrain);
    QTest::keyClick(terrain, Qt::Key_BracketRight);
    QTest::keyClick(terrain, Qt::Key_BracketRight);
    QCOMPARE(main_->session().brushSize(), 3);
    QCOMPARE(sizes->currentText(), QStringLiteral("3 x 3"));
    // The cursor is the brush's outline: three cells and their grid lines, framed.
    QCOMPARE(cursorImage(terrain).size(), QSize(33, 33));

    // A brushed click is one stroke like any other (its undo: test_undo).
    doc().CurrentDrawElement = 5;
    hand_->click(MapView::Terrain, cellCentre(0, 0));  // clipped at the corner: 2 x 2 Sectors
    QCOMPARE(hand_->cellsHolding(Plane::Element, 5), block(0, 0, 1, 1));

    // 2 x 2 from the list: the pointer's Sector is the top-left one; erasing with it.
    sizes->setCurrentIndex(sizes->findText(QStringLiteral("2 x 2")));
    emit sizes->activated(sizes->currentIndex());
    trigger(main_.get(), "mnuE3");
    hand_->click(MapView::Terrain, cellCentre(1, 0));
    const Cells left{{0, 0}, {0, 1}};
    QCOMPARE(hand_->cellsHolding(Plane::Element, 5), left);

    // The Quad modes paint whole Quads whatever the brush, with the mode's own cursor.
    trigger(main_.get(), "mnuE2");
    QCOMPARE(cursorImage(terrain),
             main_->cursors().cursor(int(EditMode::DrawQuad)).pixmap().toImage());
    hand_->click(MapView::Terrain, cellCentre(9, 5));
    QCOMPARE(hand_->cellsHolding(Plane::Element, 5), joined(left, block(8, 4, 11, 7)));
    trigger(main_.get(), "mnuE1");
    QTest::keyClick(terrain, Qt::Key_BracketLeft);
    QCOMPARE(cursorImage(terrain), oneSector);
  }

  void rectangleInEachDirection_data() {
    QTest::addColumn<EditMode>("mode");
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QRect>("cells");  // the Sectors the rectangle reaches
    // Every direction and the Quad snapping of the shape itself: test_areashapes.
    const QRect sectors(5, 2, 5, 4);
    const QRect quads(4, 0, 8, 8);
    // Draw Sector: areaToolsPaintAsDrawSectorDoes.
    QTest::newRow("Draw Quad") << EditMode::DrawQuad << QPoint(5, 5) << QPoint(9, 2) << quads;
    QTest::newRow("Erase Sector") << EditMode::EraseSector << QPoint(9, 5) << QPoint(5, 2)
                                  << sectors;
    QTest::newRow("Fill Area paints Sectors")
        << EditMode::FillArea << QPoint(5, 5) << QPoint(9, 2) << sectors;
  }

  void rectangleInEachDirection() {
    QFETCH(EditMode, mode);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QRect, cells);
    const bool erasing = erasesSectors(mode);
    if (erasing) {
      doc().CurrentDrawElement = 4;
      trigger(main_.get(), "mnuFill");
    }
    doc().CurrentDrawElement = 9;
    main_->session().setBrushSize(5);  // a rectangle has no brush
    main_->session().setEditMode(mode);
    const test::MapState before = test::mapState(*main_);
    QVERIFY(hand_->dragRectangle(MapView::Terrain, from, to,
                                 QRect(cells.left() * 10, cells.top() * 10, cells.width() * 10 + 1,
                                       cells.height() * 10 + 1)));
    QCOMPARE(hand_->cellsHolding(Plane::Element, erasing ? kUnassigned : 9), blockOf(cells));
    QCOMPARE(hand_->cellsHolding(Plane::Element, erasing ? 4 : kUnassigned).size(),
             std::size_t(24 * 12 - cells.width() * cells.height()));
    QCOMPARE(hand_->undoText(), QStringLiteral("Undo Rectangle"));
    QVERIFY(test::undoRedoRestores(*main_, before, test::mapState(*main_)));
  }

  // Zoomed in or out, the rubber band and the brush outline cover the Sectors they
  // paint as the view shows them.
  void rectangleAndBrushFollowTheZoom() {
    doc().CurrentDrawElement = 9;
    SurfaceWidget *terrain = surface(MapView::Terrain);
    main_->mapView()->setZoomLevel(2.0);
    QVERIFY(hand_->dragRectangle(MapView::Terrain, {3, 2}, {6, 4}, QRect(60, 40, 82, 62)));
    QCOMPARE(hand_->cellsHolding(Plane::Element, 9), block(3, 2, 6, 4));
    main_->mapView()->setZoomLevel(0.5);
    QVERIFY(hand_->dragRectangle(MapView::Terrain, {12, 7}, {10, 9}, QRect(50, 35, 16, 16)));
    QCOMPARE(hand_->cellsHolding(Plane::Element, 9),
             joined(block(3, 2, 6, 4), block(10, 7, 12, 9)));

    main_->session().setBrushSize(3);
    QCOMPARE(cursorImage(terrain).size(), QSize(18, 18));
    main_->mapView()->setZoomLevel(2.0);
    QCOMPARE(cursorImage(terrain).size(), QSize(63, 63));
  }

  void rectangleCancelledWithEscape() {
    doc().CurrentDrawElement = 9;
    SurfaceWidget *terrain = surface(MapView::Terrain);
    const test::MapState before = test::mapState(*main_);
    test::sendMouseMove(terrain, cellCentre(2, 2), Qt::NoButton, Qt::ShiftModifier);
    test::sendMousePress(terrain, cellCentre(2, 2), Qt::LeftButton, Qt::ShiftModifier);
    test::sendMouseMove(terrain, cellCentre(6, 5), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(hand_->band()->isVisible());
    QTest::keyClick(terrain, Qt::Key_Escape);
    QVERIFY(!hand_->band()->isVisible());
    // The button is still held: the rest of the drag paints nothing, Shift or not.
    test::sendMouseMove(terrain, cellCentre(8, 8), Qt::LeftButton);
    test::sendMouseRelease(terrain, cellCentre(8, 8), Qt::LeftButton, Qt::ShiftModifier);
    QVERIFY(test::mapState(*main_) == before);
    QCOMPARE(hand_->steps(), 0);
    hand_->click(MapView::Terrain, cellCentre(8, 8));
    QCOMPARE(hand_->cellsHolding(Plane::Element, 9), block(8, 8, 8, 8));
  }

  void areaToolsPaintAsDrawSectorDoes_data() {
    QTest::addColumn<QString>("tool");
    QTest::addColumn<DrawStyle>("style");
    // Every tool paints through the same per-Sector painter, so each tool and each
    // non-solid style (the ones that read what was there) appear once or twice.
    QTest::newRow("rectangle, Transparent") << "rectangle" << DrawStyle::Transparent;
    QTest::newRow("line, Hollow") << "line" << DrawStyle::Hollow;
    QTest::newRow("fill, Transparent") << "fill" << DrawStyle::Transparent;
    QTest::newRow("fill, Hollow") << "fill" << DrawStyle::Hollow;
  }

  // Each tool gives the pixels that clicking its Sectors one by one in Draw Sector
  // gives, over a Sector painted before with another element (tinted twice when
  // Transparent, cleared first when Hollow).
  void areaToolsPaintAsDrawSectorDoes() {
    QFETCH(QString, tool);
    QFETCH(DrawStyle, style);
    main_->session().setDrawStyle(style);
    doc().CurrentDrawElement = 12;
    QRect area(2, 2, 4, 3);
    if (tool == QLatin1String("fill"))
      QVERIFY(hand_->paintRectangle(MapView::Terrain, area));
    else
      hand_->click(MapView::Terrain, cellCentre(3, 3));
    const test::MapState painted = test::mapState(*main_);
    doc().CurrentDrawElement = 9;
    if (tool == QLatin1String("rectangle")) {
      QVERIFY(hand_->paintRectangle(MapView::Terrain, area));
    } else if (tool == QLatin1String("line")) {
      hand_->click(MapView::Terrain, cellCentre(8, 3), Qt::ShiftModifier);  // from (3, 3)
      area = QRect(3, 3, 6, 1);
    } else {
      trigger(main_.get(), "mnuFillArea");
      hand_->click(MapView::Terrain, cellCentre(4, 3));
      trigger(main_.get(), "mnuE1");
    }
    QCOMPARE(hand_->cellsHolding(Plane::Element, 9), blockOf(area));
    const QImage byTool = main_->mapView()->surfaces().surface(MapView::Terrain).copy();
    QVERIFY(test::undoRedoRestores(*main_, painted, test::mapState(*main_)));
    trigger(main_.get(), "mnuUndo");
    for (const auto &[column, row] : blockOf(area))
      hand_->click(MapView::Terrain, cellCentre(column, row));
    QCOMPARE(main_->mapView()->surfaces().surface(MapView::Terrain), byTool);
  }

  void lineFromTheLastPaintedSector() {
    doc().CurrentDrawElement = 9;
    // Nothing painted yet: Shift + click paints the one Sector, as a click does.
    hand_->click(MapView::Terrain, cellCentre(2, 2), Qt::ShiftModifier);
    QCOMPARE(hand_->cellsHolding(Plane::Element, 9), block(2, 2, 2, 2));

    const test::MapState before = test::mapState(*main_);
    hand_->click(MapView::Terrain, cellCentre(9, 5), Qt::ShiftModifier);
    Cells line;
    for (const SectorCell cell : sectorLine({2, 2}, {9, 5})) line.insert({cell.column, cell.row});
    QCOMPARE(line.size(), std::size_t(8));
    QCOMPARE(hand_->cellsHolding(Plane::Element, 9), line);
    QCOMPARE(hand_->undoText(), QStringLiteral("Undo Line"));
    QVERIFY(test::undoRedoRestores(*main_, before, test::mapState(*main_)));

    // On to the next click in Draw Quad: every Quad the line crosses, on row 1 of Quads.
    trigger(main_.get(), "mnuE2");
    hand_->click(MapView::Terrain, cellCentre(20, 6), Qt::ShiftModifier);
    QCOMPARE(hand_->cellsHolding(Plane::Element, 9), joined(line, block(8, 4, 23, 7)));
  }

  void fillArea_data() {
    QTest::addColumn<MapView>("view");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QRect>("region");
    // A wall down column 8 and two Sectors touching at a corner, (14, 6) and (15, 7).
    // The region's rules themselves: test_areashapes (floodRegions).
    QTest::newRow("the Elevation view") << MapView::Elevation << QPoint(2, 9) << QRect(0, 0, 8, 12);
    QTest::newRow("the Image view paints the Terrain view")
        << MapView::Image << QPoint(20, 1) << QRect(9, 0, 15, 12);
  }

  void fillArea() {
    QFETCH(MapView, view);
    QFETCH(QPoint, start);
    QFETCH(QRect, region);
    const Plane plane = view == MapView::Elevation ? Plane::Height : Plane::Element;
    const Plane other = plane == Plane::Element ? Plane::Height : Plane::Element;
    trigger(main_.get(), view == MapView::Elevation ? "mnuV3" : "mnuV1");
    qint16 &value = plane == Plane::Element ? doc().CurrentDrawElement : doc().CurrentDrawHeight;
    value = 9;
    QVERIFY(hand_->paintRectangle(view, QRect(8, 0, 1, 12)));
    hand_->click(view, cellCentre(14, 6));
    hand_->click(view, cellCentre(15, 7));

    trigger(main_.get(), "mnuFillArea");
    Cells filled;
    const Cells unassigned = hand_->cellsHolding(plane, kUnassigned);
    for (const auto &cell : blockOf(region))
      if (unassigned.count(cell) != 0) filled.insert(cell);
    const Cells walls = hand_->cellsHolding(plane, 9);
    value = 4;
    const test::MapState before = test::mapState(*main_);
    // Dragging on in Fill Area fills nothing more.
    test::dragLeft(surface(view),
                   {cellCentre(start.x(), start.y()), cellCentre(8, 3), cellCentre(15, 7)});
    QCOMPARE(hand_->cellsHolding(plane, 4), filled);
    QCOMPARE(hand_->cellsHolding(plane, 9), walls);
    QCOMPARE(hand_->cellsHolding(other, kUnassigned).size(), std::size_t(24 * 12));
    QCOMPARE(hand_->undoText(), QStringLiteral("Undo Fill Area"));
    const QImage &shown = main_->mapView()->surfaces().surface(MapSurfaces::viewOf(plane));
    const QColor colour = plane == Plane::Element
                              ? test::gdiColour(main_->session().elementTable().colour(4))
                              : test::gdiColour(main_->session().heightColours().colour(4));
    QCOMPARE(shown.pixelColor(cellCentre(region.left(), region.top())), colour);
    // A click on a Sector that holds the value already changes nothing.
    const int steps = hand_->steps();
    hand_->click(view, cellCentre(start.x(), start.y()));
    QCOMPARE(hand_->steps(), steps);
    QVERIFY(test::undoRedoRestores(*main_, before, test::mapState(*main_)));
  }

  void replaceOnBothPlanes_data() {
    QTest::addColumn<Plane>("plane");
    QTest::newRow("Replace Element") << Plane::Element;
    QTest::newRow("Replace Height") << Plane::Height;
  }

  void replaceOnBothPlanes() {
    QFETCH(Plane, plane);
    const bool elements = plane == Plane::Element;
    const MapView view = elements ? MapView::Terrain : MapView::Elevation;
    const char *action = elements ? "mnuReplaceElement" : "mnuReplaceHeight";
    if (!elements) trigger(main_.get(), "mnuV3");
    qint16 &value = elements ? doc().CurrentDrawElement : doc().CurrentDrawHeight;
    value = 9;
    QVERIFY(hand_->paintRectangle(view, QRect(0, 0, 4, 4)));
    value = 12;
    QVERIFY(hand_->paintRectangle(view, QRect(6, 0, 4, 4)));
    const QString nine = elements ? main_->session().elementName(9) : QStringLiteral("9");

    // Nothing to paint with: said, and nothing asked.
    value = kUnassigned;
    trigger(main_.get(), action);
    QCOMPARE(dialogs_->messages.size(), 1);
    QVERIFY(dialogs_->replacePlanes.isEmpty());
    // Cancelled, and a value that is none: nothing changes.
    value = 4;
    dialogs_->replacedValues = {std::nullopt, QStringLiteral("no such thing")};
    trigger(main_.get(), action);
    trigger(main_.get(), action);
    QCOMPARE(dialogs_->messages.size(), 2);
    QCOMPARE(hand_->steps(), 2);

    const test::MapState before = test::mapState(*main_);
    dialogs_->replacedValues = {nine};
    trigger(main_.get(), action);
    QCOMPARE(dialogs_->replacePlanes, (QList<Plane>{plane, plane, plane}));
    QCOMPARE(dialogs_->replacements.last(),
             elements ? main_->session().elementName(4) : QStringLiteral("4"));
    QCOMPARE(hand_->cellsHolding(plane, 4), block(0, 0, 3, 3));
    QCOMPARE(hand_->cellsHolding(plane, 12), block(6, 0, 9, 3));
    QCOMPARE(hand_->undoText(), QStringLiteral("Undo ") + EditorSession::replaceCaption(plane));
    const QColor colour = elements ? test::gdiColour(main_->session().elementTable().colour(4))
                                   : test::gdiColour(main_->session().heightColours().colour(4));
    QCOMPARE(main_->mapView()->surfaces().surface(view).pixelColor(cellCentre(2, 2)), colour);
    QVERIFY(test::undoRedoRestores(*main_, before, test::mapState(*main_)));
  }

  void fillAreaButtonAndMenuItems() {
    auto *fill = main_->findChild<QRadioButton *>("Option1_4");
    QVERIFY(fill);
    QCOMPARE(fill->text(), QStringLiteral("Fill Area"));
    fill->click();
    QCOMPARE(main_->session().editMode(), EditMode::FillArea);
    QCOMPARE(cursorImage(surface(MapView::Terrain)),
             main_->cursors().cursor(int(EditMode::FillArea)).pixmap().toImage());
    trigger(main_.get(), "mnuE4");
    QVERIFY(!fill->isChecked());
    // The brush size opens the tool strip's second row, under the edit modes.
    auto *secondRow = main_->findChild<QToolBar *>("tbrFindElement");
    QVERIFY(secondRow && !secondRow->actions().isEmpty());
    QCOMPARE(secondRow->widgetForAction(secondRow->actions().constFirst()),
             main_->findChild<QComboBox *>("cboBrushSize")->parentWidget());
    for (const auto &[name, caption] : {std::pair{"mnuFillArea", "Fill &Area"},
                                        {"mnuReplaceElement", "&Replace Element..."},
                                        {"mnuReplaceHeight", "Replace &Height..."}})
      QCOMPARE(main_->findChild<QAction *>(name)->text(), QString::fromLatin1(caption));
    // A cursor of its own: none of the other four modes' pictures.
    const QImage fillCursor = main_->cursors().cursor(int(EditMode::FillArea)).pixmap().toImage();
    QVERIFY(!fillCursor.isNull());
    for (int mode = 0; mode < int(EditMode::FillArea); ++mode)
      QVERIFY(main_->cursors().cursor(mode).pixmap().toImage() != fillCursor);
  }
};

QTEST_MAIN(TestAreaTools)
#include "test_areatools.moc"
