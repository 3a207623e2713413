#include "app/widgets/MDIfrmMain.h"
#include "app/widgets/StatusPanels.h"
#include "catalogue/ElementCategories.h"
#include "mapview/widgets/SurfaceWidget.h"
#include "mapview/widgets/frmMapView.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

namespace {

// The top-left pixel of a Sector cell on a map 6 Quads wide.
QPoint cellOrigin(int quad, int sector) {
  return {40 * (quad % 6) + 10 * (sector % 4), 40 * (quad / 6) + 10 * (sector / 4)};
}
QPoint cellCentre(int quad, int sector) {
  return cellOrigin(quad, sector) + QPoint(5, 5);
}

}  // namespace

class TestMouseEditing : public QObject {
  Q_OBJECT

  QTemporaryDir home_;
  QString picture_;

  void chooseCategory(MDIfrmMain &main, const QString &category) {
    auto *combo = main.findChild<QComboBox *>("cboTerainCategory");
    combo->setCurrentText(category);
    emit combo->activated(combo->currentIndex());
  }

 private slots:
  void initTestCase() {
    qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8());
    picture_ = test::writePicture(home_.path(), 240, 120);
  }

  void pickerListsAndSelection() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    auto *list = main.findChild<QComboBox *>("cboElementList");
    chooseCategory(main, "Barrier");
    QCOMPARE(list->count(), 11);
    QCOMPARE(list->currentText(), QStringLiteral("Brick Wall"));
    for (int i = 1; i < list->count(); ++i)
      QVERIFY(QString::compare(list->itemText(i - 1), list->itemText(i), Qt::CaseInsensitive) <= 0);
    const auto brick = main.catalogue().elementByName("Brick Wall");
    QVERIFY(brick);
    QCOMPARE(main.document().CurrentDrawElement, brick->elementid);
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : Brick Wall"));

    chooseCategory(main, "ALL");
    QCOMPARE(list->count(), 284);
    const int wood = list->findText("Wood Wall");
    QCOMPARE(list->itemText(wood + 1), QStringLiteral("Wood Wall"));  // shared names side by side
    chooseCategory(main, "ALL");
    QCOMPARE(list->count(), 284);  // not doubled
    chooseCategory(main, "Water");
    QCOMPARE(list->count(), 6);

    list->setCurrentText("Stream");
    emit list->activated(list->currentIndex());
    QCOMPARE(main.document().CurrentDrawElement,
             main.catalogue().elementByName("Stream")->elementid);
    // A name the catalogue does not hold changes nothing.
    list->addItem("No Such Element");
    list->setCurrentText("No Such Element");
    emit list->activated(list->currentIndex());
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : Stream"));
  }

  void dragPaintsEverySectorItCrosses() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    chooseCategory(*main, "Barrier");
    const qint16 element = main->document().CurrentDrawElement;
    const QColor colour = test::gdiColour(main->elementTable().colour(element));
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
    const QImage &surface = main->mapView()->surfaces().surface(MapView::Terrain);
    QCOMPARE(surface.pixelColor(cellOrigin(3, 6) + QPoint(1, 1)), colour);
    QCOMPARE(surface.pixelColor(cellOrigin(3, 6) + QPoint(9, 9)), colour);
    QCOMPARE(main->panelText(6), QStringLiteral("Quad : 4"));
    QCOMPARE(main->panelText(7), QStringLiteral("Sect : 7"));
    QCOMPARE(doc.IsDraw, qint16(0));

    // Moves merged by the system: one jump across the map still paints every Sector between.
    test::dragLeft(terrain, {QPoint(5, 95), QPoint(235, 95)});
    for (int quad = 12; quad < 18; ++quad)
      for (int sector = 4; sector < 8; ++sector)
        QCOMPARE(doc.value(quad, sector, Plane::Element), element);
    QCOMPARE(doc.value(12, 8, Plane::Element), kUnassigned);
  }

  void modesAndButtons() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    MapDocument &doc = main->document();
    doc.CurrentDrawElement = 4;
    SurfaceWidget *terrain = main->mapView()->Picture2();

    main->findChild<QAction *>("mnuE2")->trigger();  // Draw Quad
    test::dragLeft(terrain, {cellCentre(7, 5)});
    for (int s = 0; s < 16; ++s) QCOMPARE(doc.value(7, s, Plane::Element), qint16(4));

    main->findChild<QAction *>("mnuE3")->trigger();  // Erase Sector
    test::dragLeft(terrain, {cellCentre(7, 5)});
    QCOMPARE(doc.value(7, 5, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(7, 6, Plane::Element), qint16(4));
    const QImage &surface = main->mapView()->surfaces().surface(MapView::Terrain);
    const QImage &image = main->mapView()->surfaces().surface(MapView::Image);
    QCOMPARE(surface.pixel(cellOrigin(7, 5) + QPoint(4, 4)),
             image.pixel(cellOrigin(7, 5) + QPoint(4, 4)));

    main->findChild<QAction *>("mnuE4")->trigger();  // Erase Quad
    test::dragLeft(terrain, {cellCentre(7, 0)});
    for (int s = 0; s < 16; ++s) QCOMPARE(doc.value(7, s, Plane::Element), kUnassigned);

    // Left and right together, and the middle button, paint nothing.
    main->findChild<QAction *>("mnuE1")->trigger();
    test::sendMouseMove(terrain, cellCentre(2, 2), Qt::LeftButton | Qt::RightButton);
    test::sendMousePress(terrain, cellCentre(2, 3), Qt::MiddleButton);
    test::sendMouseMove(terrain, cellCentre(2, 3), Qt::MiddleButton);
    QCOMPARE(doc.value(2, 2, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(2, 3, Plane::Element), kUnassigned);

    // Outside the picture: nothing painted, nothing wrapped into the next row.
    test::sendMouseMove(terrain, cellCentre(0, 0), Qt::NoButton);
    test::sendMouseMove(terrain, QPoint(245, 5), Qt::LeftButton);
    test::sendMousePress(terrain, QPoint(245, 5), Qt::LeftButton);
    QCOMPARE(doc.value(6, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(0, 0, Plane::Element), kUnassigned);
    QCOMPARE(main->panelText(6), QStringLiteral("Quad : 0"));
  }

  void imageViewPaintsTheHiddenTerrainView() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    main->document().CurrentDrawElement = 6;
    StatusPanels *panels = main->statusPanels();
    QTest::mouseClick(panels, Qt::LeftButton, {}, panels->panelRect(9).center());
    QVERIFY(main->mapView()->isSurfaceVisible(MapView::Image));
    const QImage imageBefore = main->mapView()->surfaces().surface(MapView::Image).copy();
    test::dragLeft(main->mapView()->Picture3(), {cellCentre(1, 1)});
    QCOMPARE(main->document().value(1, 1, Plane::Element), qint16(6));
    QCOMPARE(main->mapView()->surfaces().surface(MapView::Image), imageBefore);
    QCOMPARE(main->mapView()
                 ->surfaces()
                 .surface(MapView::Terrain)
                 .pixelColor(cellOrigin(1, 1) + QPoint(5, 5)),
             test::gdiColour(main->elementTable().colour(6)));
  }

  void elevationPaintsHeightsAndSkipsWithoutOne() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    main->findChild<QAction *>("mnuV3")->trigger();
    main->findChild<QPushButton *>("Command1")->click();  // Raise: "1" -> "2"
    QCOMPARE(main->findChild<QComboBox *>("cboheight")->currentText(), QStringLiteral("2"));
    QCOMPARE(main->document().CurrentDrawHeight, qint16(2));
    QCOMPARE(main->panelText(2), QStringLiteral("Height : 2"));
    SurfaceWidget *elevation = main->mapView()->Picture4();
    test::dragLeft(elevation, {cellCentre(3, 9)});
    QCOMPARE(main->document().value(3, 9, Plane::Height), qint16(2));
    QCOMPARE(main->document().value(3, 9, Plane::Element), kUnassigned);

    // A right click on a Sector without a height: -1, Erase Sector, and the mouse does nothing.
    test::sendMouseMove(elevation, cellCentre(4, 0), Qt::NoButton);
    test::sendMousePress(elevation, cellCentre(4, 0), Qt::RightButton);
    QCOMPARE(main->document().CurrentDrawHeight, kUnassigned);
    QCOMPARE(main->editMode(), 2);
    QCOMPARE(main->panelText(4), QStringLiteral("Selected : Unassigned"));
    test::dragLeft(elevation, {cellCentre(3, 9)});
    QCOMPARE(main->document().value(3, 9, Plane::Height), qint16(2));

    // A right click on the painted Sector picks its height.
    test::sendMouseMove(elevation, cellCentre(3, 9), Qt::NoButton);
    test::sendMousePress(elevation, cellCentre(3, 9), Qt::RightButton);
    QCOMPARE(main->document().CurrentDrawHeight, qint16(2));
    QCOMPARE(main->editMode(), 0);  // Erase Sector became Draw Sector
    QCOMPARE(main->panelText(4), QStringLiteral(" SelectedHeight : 2"));
  }

  void rightClickPicksOnTheTerrainView() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    MapDocument &doc = main->document();
    doc.setValue(2, 6, Plane::Element, 12);
    doc.setValue(2, 6, Plane::Height, 5);
    SurfaceWidget *terrain = main->mapView()->Picture2();
    test::sendMouseMove(terrain, cellCentre(2, 6), Qt::NoButton);
    QCOMPARE(main->panelText(1), "Element : " + main->elementTable().row(12).name);
    QCOMPARE(main->panelText(2), QStringLiteral("Height : 5"));
    main->findChild<QAction *>("mnuE4")->trigger();
    test::sendMousePress(terrain, cellCentre(2, 6), Qt::RightButton);
    QCOMPARE(doc.CurrentDrawElement, qint16(12));
    QCOMPARE(doc.CurrentDrawHeight, qint16(5));
    QCOMPARE(main->editMode(), 1);  // Erase Quad became Draw Quad
    QCOMPARE(main->panelText(4), "Selected : " + main->elementTable().row(12).name);
    QCOMPARE(doc.CurrentQuad, qint16(2));

    test::sendMouseMove(terrain, cellCentre(0, 0), Qt::NoButton);
    QCOMPARE(main->panelText(1), QStringLiteral("Element : Unassigned"));
    QCOMPARE(main->panelText(2), QStringLiteral("Height : -1"));
    test::sendMousePress(terrain, cellCentre(0, 0), Qt::RightButton);
    QCOMPARE(doc.CurrentDrawElement, kUnassigned);
    QCOMPARE(main->editMode(), 2);
    QCOMPARE(main->panelText(4), QStringLiteral("Selected : Unassigned"));
  }

  void viewSwitchingByPanelAndMenu() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    StatusPanels *panels = main->statusPanels();
    auto visible = [&](const char *name) {
      return main->isToolVisible(main->findChild<QWidget *>(name));
    };
    auto click = [&](int panel) {
      QTest::mouseClick(panels, Qt::LeftButton, {}, panels->panelRect(panel).center());
    };

    click(13);  // "E"
    QVERIFY(main->mapView()->isSurfaceVisible(MapView::Elevation));
    QVERIFY(!main->mapView()->isSurfaceVisible(MapView::Terrain));
    QCOMPARE(panels->bevel(13), StatusPanels::Inset);
    QCOMPARE(panels->bevel(11), StatusPanels::Raised);
    QCOMPARE(panels->bevel(9), StatusPanels::Raised);
    QVERIFY(!visible("cboTerainCategory") && !visible("cboElementList"));
    QVERIFY(visible("Command1") && visible("Command2") && visible("Command3") &&
            visible("cboheight"));

    click(9);  // "I" hides Command3 with the other height controls
    QVERIFY(main->mapView()->isSurfaceVisible(MapView::Image));
    QCOMPARE(panels->bevel(9), StatusPanels::Inset);
    QVERIFY(!visible("Command3"));
    main->findChild<QAction *>("mnuV3")->trigger();  // the menu leaves Command3 alone
    QVERIFY(visible("Command1") && visible("cboheight") && !visible("Command3"));
    QCOMPARE(panels->bevel(13), StatusPanels::Inset);

    main->findChild<QAction *>("mnuV1")->trigger();  // Image Map: surfaces only
    QVERIFY(main->mapView()->isSurfaceVisible(MapView::Image));
    QCOMPARE(panels->bevel(13), StatusPanels::Inset);
    QCOMPARE(panels->bevel(9), StatusPanels::Raised);
    QVERIFY(visible("Command1"));

    main->findChild<QAction *>("mnuV2")->trigger();
    QVERIFY(main->mapView()->isSurfaceVisible(MapView::Terrain));
    QVERIFY(visible("cboTerainCategory") && !visible("Command1"));
    QVERIFY(dialogs.messages.isEmpty());
  }

  void refreshScreenRepaintsTheShownView() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    MapDocument &doc = main->document();
    doc.setValue(1, 0, Plane::Element, 2);  // in the array, not yet on screen
    doc.setValue(1, 0, Plane::Height, 50);
    MapSurfaces &s = main->mapView()->surfaces();
    const QPoint inside = cellOrigin(1, 0) + QPoint(5, 5);
    const QRgb picture = s.surface(MapView::Image).pixel(inside);
    main->findChild<QAction *>("mnuV1")->trigger();
    main->findChild<QAction *>("mnuO2")->trigger();  // Image view shown: nothing changes
    QCOMPARE(s.surface(MapView::Terrain).pixel(inside), picture);
    main->findChild<QAction *>("mnuV2")->trigger();
    main->findChild<QAction *>("mnuO2")->trigger();
    QCOMPARE(s.surface(MapView::Terrain).pixelColor(inside),
             test::gdiColour(main->elementTable().colour(2)));
    QCOMPARE(s.surface(MapView::Elevation).pixel(inside), picture);  // hidden: left alone
    main->findChild<QAction *>("mnuV3")->trigger();
    main->findChild<QAction *>("mnuO2")->trigger();
    QCOMPARE(s.surface(MapView::Elevation).pixelColor(inside),
             test::gdiColour(main->heightColours().colour(50)));
    QCOMPARE(doc.MapReady, qint16(1));
  }

  void raiseAndLowerLimits() {
    test::ScriptedDialogs dialogs;
    auto map = test::openShownMap(dialogs, picture_);
    QVERIFY(map);
    MDIfrmMain &main = *map;
    main.findChild<QAction *>("mnuV3")->trigger();  // the height controls show on the Elevation map
    auto *height = main.findChild<QComboBox *>("cboheight");
    auto *raise = main.findChild<QPushButton *>("Command1");
    auto *lower = main.findChild<QPushButton *>("Command2");
    height->setEditText("100");
    raise->click();
    QCOMPARE(height->currentText(), QStringLiteral("100"));
    QCOMPARE(main.document().CurrentDrawHeight, qint16(100));
    height->setEditText("1");
    lower->click();
    QCOMPARE(height->currentText(), QStringLiteral("0"));
    lower->click();
    QCOMPARE(height->currentText(), QStringLiteral("0"));
    QCOMPARE(main.document().CurrentDrawHeight, qint16(0));
    // "HeightValie" never becomes the height to paint.
    height->setCurrentText("HeightValie");
    emit height->activated(height->currentIndex());
    QCOMPARE(main.document().CurrentDrawHeight, qint16(0));
    QCOMPARE(main.panelText(2), QStringLiteral("Height : HeightValie"));
  }
};

QTEST_MAIN(TestMouseEditing)
#include "test_mouseediting.moc"
