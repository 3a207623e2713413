#include "app/widgets/MDIfrmMain.h"
#include "mapview/widgets/SurfaceWidget.h"
#include "mapview/widgets/frmMapView.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

namespace {
const QColor kTeal(0, 64, 64);
const QColor kFill(200, 180, 120);
}  // namespace

class TestMapView : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

 private slots:
  void initTestCase() { qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8()); }

  void acceptedPictureBuildsTheMap() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    dialogs.openNames.push_back(test::writePicture(home_.path(), 1200, 840, kFill, "JPG"));
    main.findChild<QAction *>("mnuImportMapImage")->trigger();
    QCOMPARE(dialogs.openFilters.value(0), QStringLiteral("Jpeg Files (*.JPG)|*.Jpg"));
    QVERIFY(dialogs.messages.isEmpty());  // no warning before the first map
    const MapDocument &doc = main.document();
    QCOMPARE(doc.XQuads, qint16(30));
    QCOMPARE(doc.YQuads, qint16(21));
    QCOMPARE(doc.TotalQuads, qint16(630));
    QCOMPARE(doc.MapReady, qint16(1));
    QCOMPARE(doc.MapLoaded, qint16(1));
    QVERIFY(main.mapView());
    QVERIFY(main.mapView()->isSurfaceVisible(MapView::Terrain));
    QVERIFY(!main.mapView()->isSurfaceVisible(MapView::Image));
    QVERIFY(!main.mapView()->isSurfaceVisible(MapView::Elevation));
    QVERIFY(main.mdiArea()->subWindowList().value(0)->isMaximized());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
  }

  void gridOnColouredViewsOnly() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    QCOMPARE(main.LoadMapImage(test::writePicture(home_.path(), 120, 120)), 0);
    QCOMPARE(main.document().TotalQuads, qint16(9));
    MapSurfaces &s = main.mapView()->surfaces();
    for (MapView view : {MapView::Terrain, MapView::Elevation}) {
      const QImage &img = s.surface(view);
      QCOMPARE(img.pixelColor(10, 3), kTeal);
      QCOMPARE(img.pixelColor(3, 20), kTeal);
      QCOMPARE(img.pixelColor(40, 3), QColor(Qt::black));
      QCOMPARE(img.pixelColor(3, 80), QColor(Qt::black));
      QCOMPARE(img.pixelColor(1, 0), kFill);  // no line at row or column 0
      QCOMPARE(img.pixelColor(0, 1), kFill);
    }
    const QImage &image = s.surface(MapView::Image);
    QCOMPARE(image.pixelColor(10, 3), kFill);
    QCOMPARE(image.pixelColor(40, 3), kFill);
  }

  void refusedPicturesKeepTheEarlierMap_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("expectedStart");
    QTest::newRow("width") << 1210 << 840 << "The width of this image (";
    QTest::newRow("height") << 1200 << 850 << "The height of this image (";
    QTest::newRow("both: width first") << 1210 << 850 << "The width of this image (";
    QTest::newRow("too many Quads") << 3000 << 2760 << "The image (";
  }

  void refusedPicturesKeepTheEarlierMap() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, expectedStart);
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    const QString bad = test::writePicture(home_.path(), width, height);

    // Before any map: refused, no map view, nothing loaded.
    dialogs.openNames.push_back(bad);
    main.findChild<QAction *>("mnuImportMapImage")->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.startsWith(expectedStart + bad + ")"));
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Invalid Image"));
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Critical);
    QVERIFY(!main.mapView());
    QCOMPARE(main.document().MapLoaded, qint16(0));
    QCOMPARE(main.document().MapReady, qint16(0));
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // After an accepted map with a painted Sector: that map survives the refusal.
    QCOMPARE(main.LoadMapImage(test::writePicture(home_.path(), 240, 120)), 0);
    main.document().CurrentDrawElement = 3;
    main.document().CurrentQuad = 4;
    main.document().CurrentSect = 5;
    main.painter().colourSquare(Plane::Element, 4, 5, 3);
    frmMapView *view = main.mapView();
    const QImage terrainBefore = view->surfaces().surface(MapView::Terrain).copy();
    dialogs.messages.clear();
    dialogs.openNames.push_back(bad);
    main.findChild<QAction *>("mnuImportMapImage")->trigger();
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Overwrite Warning"));
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Information);
    QCOMPARE(dialogs.messages[1].title, QStringLiteral("Invalid Image"));
    QCOMPARE(main.mapView(), view);
    QCOMPARE(main.document().MapLoaded, qint16(1));
    QCOMPARE(main.document().TotalQuads, qint16(18));
    QCOMPARE(main.document().value(4, 5, Plane::Element), qint16(3));
    QCOMPARE(view->surfaces().surface(MapView::Terrain), terrainBefore);
  }

  void unreadableFilesAndCancel() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    const QString empty = home_.filePath("empty.jpg");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString text = home_.filePath("notes.jpg");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is not a picture\n");
    file.close();
    for (const QString &path : {empty, text}) {
      QCOMPARE(main.LoadMapImage(path), 1);
      QVERIFY(
          dialogs.messages.last().text.startsWith("The image (" + path + ") could not be read: "));
    }
    dialogs.messages.clear();
    main.findChild<QAction *>("mnuImportMapImage")->trigger();  // cancelled: no name queued
    QVERIFY(dialogs.messages.isEmpty());
    QVERIFY(!main.mapView());
    main.findChild<QAction *>("mnuO2")->trigger();
    QCOMPARE(dialogs.messages.value(0).text, QStringLiteral("Map Image not currently loaded"));
  }

  void secondImportWarnsAndClearsTheArray() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    QCOMPARE(main.LoadMapImage(test::writePicture(home_.path(), 240, 120)), 0);
    main.document().setValue(2, 2, Plane::Element, 7);
    main.document().setValue(2, 2, Plane::Height, 9);
    dialogs.openNames.push_back(test::writePicture(home_.path(), 120, 120));
    main.findChild<QAction *>("mnuImportMapImage")->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text,
             QStringLiteral(
                 "Warning : Importing a new map image will overwrite currently assigned Map Data"));
    QCOMPARE(main.document().TotalQuads, qint16(9));
    QCOMPARE(main.document().value(2, 2, Plane::Element), kUnassigned);
    QCOMPARE(main.document().value(2, 2, Plane::Height), kUnassigned);
    QCOMPARE(main.mdiArea()->subWindowList().size(), 1);
  }

  void scrollingMovesAllSurfacesAndArrowKeysStepBy100() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    main.resize(700, 500);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(main.LoadMapImage(test::writePicture(home_.path(), 1200, 840)), 0);
    QApplication::processEvents();
    frmMapView *view = main.mapView();
    QScrollBar *h = view->HScroll1();
    QScrollBar *v = view->VScroll1();
    QVERIFY(h->isVisible() && v->isVisible());
    QCOMPARE(h->maximum(), 1200 - view->Picture1()->width());
    h->setValue(200);
    for (MapView mv : {MapView::Terrain, MapView::Image, MapView::Elevation})
      QCOMPARE(view->surfaceWidget(mv)->pos().x(), -200);

    v->setValue(v->maximum() - 50);
    QTest::keyClick(view->Picture2(), Qt::Key_Down);
    QCOMPARE(v->value(), v->maximum());
    v->setValue(50);
    QTest::keyClick(view->Picture2(), Qt::Key_Up);
    QCOMPARE(v->value(), 0);
    h->setValue(120);
    QTest::keyClick(view->Picture2(), Qt::Key_Right);
    QCOMPARE(h->value(), 220);
    QTest::keyClick(view->Picture2(), Qt::Key_Left);
    QTest::keyClick(view->Picture2(), Qt::Key_Left);
    QTest::keyClick(view->Picture2(), Qt::Key_Left);
    QCOMPARE(h->value(), 0);
    QCOMPARE(view->surfaceWidget(MapView::Elevation)->pos(), QPoint(0, 0));
  }

  void smallPictureHidesScrollBars() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    main.resize(900, 700);
    main.show();
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    QCOMPARE(main.LoadMapImage(test::writePicture(home_.path(), 120, 120)), 0);
    QApplication::processEvents();
    QVERIFY(!main.mapView()->HScroll1()->isVisible());
    QVERIFY(!main.mapView()->VScroll1()->isVisible());
  }
};

QTEST_MAIN(TestMapView)
#include "test_mapview.moc"
