// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/KeyboardCursor.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SectorHighlight.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAccessible>
#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using namespace vmm;
using test::sectorCentre;
using test::trigger;

class TestMouseEditing : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  test::ScriptedDialogs dialogs_;
  std::unique_ptr<MainWindow> main_;  // a shown window with the 240 x 120 picture imported

  void chooseFrom(const char *combo, const QString &text) {
    auto *box = main_->findChild<QComboBox *>(combo);
    box->setCurrentText(text);
    emit box->activated(box->currentIndex());
  }

  QColor terrainPixel(QPoint at) const {
    return main_->mapView()->surfaces().surface(MapView::Terrain).pixelColor(at);
  }

 private slots:
  void init() {
    main_ = test::openShownMap(dialogs_, home_.picture);
    QVERIFY(main_);
  }

  void cleanup() { main_.reset(); }

  // The keyboard's cursor: Space paints as a left click does, in every mode and view, as
  // one undo step; the status panels, the outline and screen readers follow the cursor.
  void keyboardCursorPaintsAsTheMouseDoes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("elevation");
    QTest::newRow("Draw Sector, Terrain") << int(EditMode::DrawSector) << false;
    QTest::newRow("Draw Quad, Elevation") << int(EditMode::DrawQuad) << true;
    QTest::newRow("Fill Area, Terrain") << int(EditMode::FillArea) << false;
  }

  void keyboardCursorPaintsAsTheMouseDoes() {
    QFETCH(int, mode);
    QFETCH(bool, elevation);
    test::ScriptedDialogs mouseDialogs;
    const std::unique_ptr<MainWindow> byMouse = test::openShownMap(mouseDialogs, home_.picture);
    QVERIFY(byMouse);
    for (MainWindow *main : {main_.get(), byMouse.get()}) {
      if (elevation) trigger(main, "mnuV3");
      main->session().setEditMode(EditMode(mode));
      main->session().document().CurrentDrawElement = 7;
      main->session().document().CurrentDrawHeight = 30;
    }
    const MapView shown = elevation ? MapView::Elevation : MapView::Terrain;
    SurfaceWidget *surface = main_->mapView()->surfaceWidget(shown);
    auto *cursor = main_->mapView()->findChild<KeyboardCursor *>();
    QVERIFY(cursor);
    // The pointer last rested on Quad 7 Sector 5; the first arrow shows the cursor there,
    // then it moves: three Sectors right (into the next Quad), a Quad down, one Sector up.
    test::sendMouseMove(surface, sectorCentre(7, 5), Qt::NoButton);
    QTest::keyClick(surface, Qt::Key_Space);  // no cursor yet: nothing painted
    QCOMPARE(main_->session().history().stack().count(), 0);
    QTest::keyClick(surface, Qt::Key_Right);
    QCOMPARE(cursor->sector(), std::optional(SectorAddress{7, 5}));
    for (int step = 0; step < 3; ++step) QTest::keyClick(surface, Qt::Key_Right);
    QTest::keyClick(surface, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(surface, Qt::Key_Up);
    const SectorAddress target{14, 0};
    QCOMPARE(cursor->sector(), std::optional(target));
    QCOMPARE(main_->panelText(6), QStringLiteral("Quad : 14"));
    QCOMPARE(main_->panelText(7), QStringLiteral("Sect : 0"));
    const test::MapState before = test::mapState(*main_);
    QTest::keyClick(surface, Qt::Key_Space);
    const test::MapState after = test::mapState(*main_);

    // The mouse's click on the same Sector in another window: the same map and history.
    SurfaceWidget *mouseSurface = byMouse->mapView()->surfaceWidget(shown);
    test::sendMouseMove(mouseSurface, sectorCentre(14, 0), Qt::NoButton);
    test::sendMousePress(mouseSurface, sectorCentre(14, 0), Qt::LeftButton);
    test::sendMouseRelease(mouseSurface, sectorCentre(14, 0), Qt::LeftButton);
    QVERIFY(after != before);
    QVERIFY(after == test::mapState(*byMouse));
    const QUndoStack &steps = main_->session().history().stack();
    QCOMPARE(steps.count(), 1);
    QCOMPARE(steps.text(0), byMouse->session().history().stack().text(0));
    QVERIFY(test::undoRedoRestores(*main_, before, after));

    // Screen readers hear the Sector; the outline stays on the map.
    const QString named = QAccessible::queryAccessibleInterface(surface)->text(QAccessible::Name);
    QVERIFY2(named.contains(QStringLiteral("Quad 14 Sector 0")), qPrintable(named));
    QVERIFY2(elevation ? named.endsWith(QStringLiteral("height 30"))
                       : named.contains(main_->session().elementName(7)),
             qPrintable(named));
    auto *outline = main_->mapView()->findChild<SectorHighlight *>(QStringLiteral("sectorCursor"));
    QVERIFY(outline && outline->isVisible() && outline->parentWidget() == surface);
    // A mouse press hands the map back to the mouse.
    test::sendMousePress(surface, sectorCentre(0, 0), Qt::RightButton);
    QVERIFY(!cursor->sector() && !outline->isVisible());
  }

  // The cursor stays on the map, and its outline is a visible ring round its Sector at
  // every zoom level.
  void keyboardCursorShowsAtEveryZoom_data() {
    QTest::addColumn<double>("level");
    for (const double level : {0.125, 1.0, 8.0})
      QTest::newRow(qPrintable(QString::number(level))) << level;
  }

  void keyboardCursorShowsAtEveryZoom() {
    QFETCH(double, level);
    MapViewWindow *view = main_->mapView();
    view->setZoomLevel(level);
    SurfaceWidget *terrain = view->surfaceWidget(MapView::Terrain);
    test::sendMouseMove(terrain, (sectorCentre(17, 15) * level), Qt::NoButton);
    for (int i = 0; i < 3; ++i) QTest::keyClick(terrain, Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClick(terrain, Qt::Key_Down);
    auto *cursor = view->findChild<KeyboardCursor *>();
    QCOMPARE(cursor->sector(), std::optional(SectorAddress{17, 15}));  // the bottom-right corner
    auto *outline = view->findChild<SectorHighlight *>(QStringLiteral("sectorCursor"));
    const QRect cell = QRect(QPoint(230, 110), QSize(10, 10));
    const QRect shown(cell.topLeft() * level, cell.size() * level);
    QVERIFY(outline->isVisible());
    QVERIFY(outline->geometry().contains(shown));
    QVERIFY(outline->width() >= 8 && outline->height() >= 8);
    // Zooming keeps the ring round the same Sector.
    view->setZoomLevel(level == 1.0 ? 2.0 : 1.0);
    QVERIFY(outline->geometry().contains(
        QRect(cell.topLeft() * view->zoomLevel(), cell.size() * view->zoomLevel())));
  }

  void pickerListsAndSelection() {
    MainWindow &main = *main_;
    auto *list = main.findChild<QComboBox *>("cboElementList");
    chooseFrom("cboTerainCategory", "Barrier");
    QCOMPARE(list->count(), 11);
    QCOMPARE(list->currentText(), QStringLiteral("Brick Wall"));  // sorted, first chosen
    QCOMPARE(main.session().document().CurrentDrawElement,
             main.session().catalogue().elementByName("Brick Wall")->elementid);
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : Brick Wall"));
    chooseFrom("cboTerainCategory", "ALL");
    chooseFrom("cboTerainCategory", "ALL");
    QCOMPARE(list->count(), 284);  // not doubled
  }

  void dragPaintsEverySectorItCrosses() {
    const qint16 element = 5;
    main_->session().document().CurrentDrawElement = element;
    SurfaceWidget *terrain = main_->mapView()->surfaceWidget(MapView::Terrain);
    // A horizontal stroke along Sector row 1 across five Quads: 20 Sectors.
    QList<QPoint> points;
    for (int x = 5; x < 200; x += 10) points << QPoint(x, 15);
    test::dragLeft(terrain, points);
    const MapDocument &doc = main_->session().document();
    for (int quad = 0; quad < 5; ++quad)
      for (int sector = 4; sector < 8; ++sector)
        QCOMPARE(doc.value(quad, sector, Plane::Element), element);
    QCOMPARE(doc.value(0, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(5, 4, Plane::Element), kUnassigned);
    QCOMPARE(terrainPixel(sectorCentre(3, 6)),
             test::gdiColour(main_->session().elementTable().colour(element)));
    QCOMPARE(main_->panelText(6), QStringLiteral("Quad : 4"));
    QCOMPARE(main_->panelText(7), QStringLiteral("Sect : 7"));

    // Moves merged by the system: one jump across the map still paints every Sector between.
    test::dragLeft(terrain, {QPoint(5, 95), QPoint(235, 95)});
    for (int quad = 12; quad < 18; ++quad)
      for (int sector = 4; sector < 8; ++sector)
        QCOMPARE(doc.value(quad, sector, Plane::Element), element);
    QCOMPARE(doc.value(12, 8, Plane::Element), kUnassigned);
  }

  // The edit modes' Sectors: test_areatools (brushSizesFromTheKeysAndTheToolStrip).
  void pointsOutsideThePicturePaintNothing() {
    MapDocument &doc = main_->session().document();
    doc.CurrentDrawElement = 4;
    SurfaceWidget *terrain = main_->mapView()->surfaceWidget(MapView::Terrain);
    // Nothing painted, nothing wrapped into the next row.
    test::sendMouseMove(terrain, sectorCentre(0, 0), Qt::NoButton);
    test::sendMouseMove(terrain, QPoint(245, 5), Qt::LeftButton);
    test::sendMousePress(terrain, QPoint(245, 5), Qt::LeftButton);
    test::sendMousePress(terrain, QPoint(5, 125), Qt::LeftButton);
    QCOMPARE(doc.value(6, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(0, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(18, 0, Plane::Element), kUnassigned);
    QCOMPARE(main_->panelText(6), QStringLiteral("Quad : 0"));
  }

  void imageViewPaintsTheHiddenTerrainView() {
    main_->session().document().CurrentDrawElement = 6;
    StatusPanels *panels = main_->statusPanels();
    QTest::mouseClick(panels, Qt::LeftButton, {}, panels->panelRect(9).center());  // "I"
    QVERIFY(main_->mapView()->isSurfaceVisible(MapView::Image));
    const QImage imageBefore = main_->mapView()->surfaces().surface(MapView::Image).copy();
    test::dragLeft(main_->mapView()->surfaceWidget(MapView::Image), {sectorCentre(1, 1)});
    QCOMPARE(main_->session().document().value(1, 1, Plane::Element), qint16(6));
    QCOMPARE(main_->mapView()->surfaces().surface(MapView::Image), imageBefore);
    QCOMPARE(terrainPixel(sectorCentre(1, 1)),
             test::gdiColour(main_->session().elementTable().colour(6)));
  }

  void elevationPaintsHeightsAndSkipsWithoutOne() {
    trigger(main_.get(), "mnuV3");
    auto *height = main_->findChild<QComboBox *>("cboheight");
    height->setEditText("100");
    main_->findChild<QPushButton *>("Command1")->click();  // Raise stops at the top
    QCOMPARE(main_->session().document().CurrentDrawHeight, qint16(100));
    height->setEditText("1");
    main_->findChild<QPushButton *>("Command1")->click();  // Raise: "1" -> "2"
    QCOMPARE(main_->session().document().CurrentDrawHeight, qint16(2));
    SurfaceWidget *elevation = main_->mapView()->surfaceWidget(MapView::Elevation);
    test::dragLeft(elevation, {sectorCentre(3, 9)});
    QCOMPARE(main_->session().document().value(3, 9, Plane::Height), qint16(2));
    QCOMPARE(main_->session().document().value(3, 9, Plane::Element), kUnassigned);

    // A right click on a Sector without a height: -1, Erase Sector, and the mouse does nothing.
    test::sendMouseMove(elevation, sectorCentre(4, 0), Qt::NoButton);
    test::sendMousePress(elevation, sectorCentre(4, 0), Qt::RightButton);
    QCOMPARE(main_->session().document().CurrentDrawHeight, kUnassigned);
    QCOMPARE(main_->session().editMode(), EditMode::EraseSector);
    QCOMPARE(main_->panelText(4), QStringLiteral("Selected : Unassigned"));
    test::dragLeft(elevation, {sectorCentre(3, 9)});
    QCOMPARE(main_->session().document().value(3, 9, Plane::Height), qint16(2));

    // A right click on the painted Sector picks its height.
    test::sendMouseMove(elevation, sectorCentre(3, 9), Qt::NoButton);
    test::sendMousePress(elevation, sectorCentre(3, 9), Qt::RightButton);
    QCOMPARE(main_->session().document().CurrentDrawHeight, qint16(2));
    QCOMPARE(main_->session().editMode(), EditMode::DrawSector);  // Erase Sector became Draw Sector
    QCOMPARE(main_->panelText(4), QStringLiteral(" SelectedHeight : 2"));
  }
};

QTEST_MAIN(TestMouseEditing)
#include "test_mouseediting.moc"
