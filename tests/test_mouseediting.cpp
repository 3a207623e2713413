#include "app/widgets/MDIfrmMain.h"
#include "app/widgets/StatusPanels.h"
#include "mapview/widgets/SurfaceWidget.h"
#include "mapview/widgets/frmMapView.h"
#include "support/TestSupport.h"

#include <QComboBox>
#include <QPushButton>
#include <QtTest>

using namespace vmm;
using test::sectorCentre;
using test::trigger;

class TestMouseEditing : public QObject {
  Q_OBJECT

  test::EditorHome home_;

  static void chooseFrom(MDIfrmMain &main, const char *combo, const QString &text) {
    auto *box = main.findChild<QComboBox *>(combo);
    box->setCurrentText(text);
    emit box->activated(box->currentIndex());
  }

  static void clickPanel(MDIfrmMain &main, int panel) {
    StatusPanels *panels = main.statusPanels();
    QTest::mouseClick(panels, Qt::LeftButton, {}, panels->panelRect(panel).center());
  }

  static QColor terrainPixel(MDIfrmMain &main, QPoint at) {
    return main.mapView()->surfaces().surface(MapView::Terrain).pixelColor(at);
  }

 private slots:
  void pickerListsAndSelection() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    auto *list = main.findChild<QComboBox *>("cboElementList");
    chooseFrom(main, "cboTerainCategory", "Barrier");
    QCOMPARE(list->count(), 11);
    QCOMPARE(list->currentText(), QStringLiteral("Brick Wall"));  // sorted, first chosen
    QCOMPARE(main.document().CurrentDrawElement,
             main.catalogue().elementByName("Brick Wall")->elementid);
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : Brick Wall"));
    chooseFrom(main, "cboTerainCategory", "ALL");
    chooseFrom(main, "cboTerainCategory", "ALL");
    QCOMPARE(list->count(), 284);  // not doubled
  }

  void dragPaintsEverySectorItCrosses() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    const qint16 element = 5;
    main->document().CurrentDrawElement = element;
    SurfaceWidget *terrain = main->mapView()->Picture2();
    // A horizontal stroke along Sector row 1 across five Quads: 20 Sectors.
    QList<QPoint> points;
    for (int x = 5; x < 200; x += 10) points << QPoint(x, 15);
    test::dragLeft(terrain, points);
    const MapDocument &doc = main->document();
    for (int quad = 0; quad < 5; ++quad)
      for (int sector = 4; sector < 8; ++sector)
        QCOMPARE(doc.value(quad, sector, Plane::Element), element);
    QCOMPARE(doc.value(0, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(5, 4, Plane::Element), kUnassigned);
    QCOMPARE(terrainPixel(*main, sectorCentre(3, 6)),
             test::gdiColour(main->elementTable().colour(element)));
    QCOMPARE(main->panelText(6), QStringLiteral("Quad : 4"));
    QCOMPARE(main->panelText(7), QStringLiteral("Sect : 7"));

    // Moves merged by the system: one jump across the map still paints every Sector between.
    test::dragLeft(terrain, {QPoint(5, 95), QPoint(235, 95)});
    for (int quad = 12; quad < 18; ++quad)
      for (int sector = 4; sector < 8; ++sector)
        QCOMPARE(doc.value(quad, sector, Plane::Element), element);
    QCOMPARE(doc.value(12, 8, Plane::Element), kUnassigned);
  }

  void modesAndPointsOutside() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    MapDocument &doc = main->document();
    doc.CurrentDrawElement = 4;
    SurfaceWidget *terrain = main->mapView()->Picture2();

    trigger(main.get(), "mnuE2");  // Draw Quad
    test::dragLeft(terrain, {sectorCentre(7, 5)});
    for (int s = 0; s < kSectorsPerQuad; ++s) QCOMPARE(doc.value(7, s, Plane::Element), qint16(4));
    trigger(main.get(), "mnuE3");  // Erase Sector
    test::dragLeft(terrain, {sectorCentre(7, 5)});
    QCOMPARE(doc.value(7, 5, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(7, 6, Plane::Element), qint16(4));

    // Outside the picture: nothing painted, nothing wrapped into the next row.
    trigger(main.get(), "mnuE1");
    test::sendMouseMove(terrain, sectorCentre(0, 0), Qt::NoButton);
    test::sendMouseMove(terrain, QPoint(245, 5), Qt::LeftButton);
    test::sendMousePress(terrain, QPoint(245, 5), Qt::LeftButton);
    test::sendMousePress(terrain, QPoint(5, 125), Qt::LeftButton);
    QCOMPARE(doc.value(6, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(0, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(18, 0, Plane::Element), kUnassigned);
    QCOMPARE(main->panelText(6), QStringLiteral("Quad : 0"));
  }

  void imageViewPaintsTheHiddenTerrainView() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    main->document().CurrentDrawElement = 6;
    clickPanel(*main, 9);  // "I"
    QVERIFY(main->mapView()->isSurfaceVisible(MapView::Image));
    const QImage imageBefore = main->mapView()->surfaces().surface(MapView::Image).copy();
    test::dragLeft(main->mapView()->Picture3(), {sectorCentre(1, 1)});
    QCOMPARE(main->document().value(1, 1, Plane::Element), qint16(6));
    QCOMPARE(main->mapView()->surfaces().surface(MapView::Image), imageBefore);
    QCOMPARE(terrainPixel(*main, sectorCentre(1, 1)),
             test::gdiColour(main->elementTable().colour(6)));
  }

  void elevationPaintsHeightsAndSkipsWithoutOne() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    trigger(main.get(), "mnuV3");
    auto *height = main->findChild<QComboBox *>("cboheight");
    height->setEditText("100");
    main->findChild<QPushButton *>("Command1")->click();  // Raise stops at the top
    QCOMPARE(main->document().CurrentDrawHeight, qint16(100));
    height->setEditText("1");
    main->findChild<QPushButton *>("Command1")->click();  // Raise: "1" -> "2"
    QCOMPARE(main->document().CurrentDrawHeight, qint16(2));
    SurfaceWidget *elevation = main->mapView()->Picture4();
    test::dragLeft(elevation, {sectorCentre(3, 9)});
    QCOMPARE(main->document().value(3, 9, Plane::Height), qint16(2));
    QCOMPARE(main->document().value(3, 9, Plane::Element), kUnassigned);

    // A right click on a Sector without a height: -1, Erase Sector, and the mouse does nothing.
    test::sendMouseMove(elevation, sectorCentre(4, 0), Qt::NoButton);
    test::sendMousePress(elevation, sectorCentre(4, 0), Qt::RightButton);
    QCOMPARE(main->document().CurrentDrawHeight, kUnassigned);
    QCOMPARE(main->editMode(), 2);
    QCOMPARE(main->panelText(4), QStringLiteral("Selected : Unassigned"));
    test::dragLeft(elevation, {sectorCentre(3, 9)});
    QCOMPARE(main->document().value(3, 9, Plane::Height), qint16(2));

    // A right click on the painted Sector picks its height.
    test::sendMouseMove(elevation, sectorCentre(3, 9), Qt::NoButton);
    test::sendMousePress(elevation, sectorCentre(3, 9), Qt::RightButton);
    QCOMPARE(main->document().CurrentDrawHeight, qint16(2));
    QCOMPARE(main->editMode(), 0);  // Erase Sector became Draw Sector
    QCOMPARE(main->panelText(4), QStringLiteral(" SelectedHeight : 2"));
  }
};

QTEST_MAIN(TestMouseEditing)
#include "test_mouseediting.moc"
