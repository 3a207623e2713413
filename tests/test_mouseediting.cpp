// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

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
