// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QtTest>

using namespace vmm;
using test::trigger;

class TestMapView : public QObject {
  Q_OBJECT

  test::EditorHome home_;

  QString picture(int width, int height) const {
    return test::writePicture(home_.dir.path(), width, height);
  }

 private slots:
  void importBuildsKeepsOrReplacesTheMap() {
    test::ScriptedDialogs dialogs;
    MainWindow main(&dialogs);
    const auto import = [&](const QString &file) {
      dialogs.messages.clear();
      dialogs.openNames.push_back(file);
      trigger(&main, "mnuImportMapImage");
    };
    const QString bad = picture(3000, 2760);  // too many Quads

    // Before any map: refused, no map view, nothing loaded.
    import(bad);
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.startsWith("The image (" + bad + ")"));
    QVERIFY(!main.mapView());
    QCOMPARE(main.session().document().mapViewOpen, false);
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    import(test::writePicture(home_.dir.path(), 1200, 840, Qt::gray, "JPG"));
    QCOMPARE(dialogs.openFilters.value(0), QStringLiteral("Jpeg Files (*.JPG)|*.Jpg"));
    QVERIFY(dialogs.messages.isEmpty());  // no warning before the first map
    QCOMPARE(main.session().document().TotalQuads, qint16(630));
    QCOMPARE(main.session().document().mapReady, true);
    QVERIFY(main.mapView()->isSurfaceVisible(MapView::Terrain));
    QVERIFY(main.mdiArea()->subWindowList().value(0)->isMaximized());

    // A refused picture keeps the map with its painted Sector.
    main.session().painter().colourSquare(Plane::Element, 4, 5, 3);
    main.session().document().setValue(2, 2, Plane::Height, 9);
    MapViewWindow *view = main.mapView();
    const QImage terrainBefore = view->surfaces().surface(MapView::Terrain).copy();
    import(bad);
    QCOMPARE(dialogs.messages.size(), 2);  // the overwrite warning, then the refusal
    QCOMPARE(main.mapView(), view);
    QCOMPARE(main.session().document().TotalQuads, qint16(630));
    QCOMPARE(main.session().document().value(4, 5, Plane::Element), qint16(3));
    QCOMPARE(view->surfaces().surface(MapView::Terrain), terrainBefore);

    // An accepted one replaces it after the warning and clears the array.
    import(picture(120, 120));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text,
             QStringLiteral(
                 "Warning : Importing a new map image will overwrite currently assigned Map Data"));
    QCOMPARE(main.session().document().TotalQuads, qint16(9));
    QCOMPARE(main.session().document().value(4, 5, Plane::Element), kUnassigned);
    QCOMPARE(main.session().document().value(2, 2, Plane::Height), kUnassigned);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
  }

  // The arrow keys' steps: test_zoomview (arrowKeysMoveByScreenPixels).
  void scrollingMovesAllSurfaces() {
    test::ScriptedDialogs dialogs;
    MainWindow main(&dialogs);
    main.resize(700, 500);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QVERIFY(main.LoadMapImage(picture(1200, 840)));
    QApplication::processEvents();
    MapViewWindow *view = main.mapView();
    QScrollBar *h = view->horizontalScrollBar();
    QVERIFY(h->isVisible());
    QCOMPARE(h->maximum(), 1200 - view->viewport()->width());
    h->setValue(200);
    for (MapView mv : {MapView::Terrain, MapView::Image, MapView::Elevation})
      QCOMPARE(view->surfaceWidget(mv)->pos().x(), -200);
  }
};

QTEST_MAIN(TestMapView)
#include "test_mapview.moc"
