// SPDX-License-Identifier: GPL-3.0-or-later
// The map view on a screen of two device pixels per logical pixel (QT_SCALE_FACTOR=2).
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QApplication>
#include <QMouseEvent>
#include <QtTest>

using namespace vmm;

namespace {

void clickAt(QWidget *widget, QPointF position) {
  for (const auto &[type, button, buttons] :
       {std::tuple{QEvent::MouseMove, Qt::NoButton, Qt::MouseButtons(Qt::NoButton)},
        std::tuple{QEvent::MouseButtonPress, Qt::LeftButton, Qt::MouseButtons(Qt::LeftButton)},
        std::tuple{QEvent::MouseButtonRelease, Qt::LeftButton, Qt::MouseButtons(Qt::NoButton)}}) {
    QMouseEvent event(type, position, widget->mapToGlobal(position), button, buttons,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
  }
}

}  // namespace

class TestHighDpi : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  test::ScriptedDialogs dialogs_;

 private slots:
  void crispAtActualSizeAndHitsTheRightSector() {
    auto main = test::openShownMap(dialogs_, home_.picture);
    QVERIFY(main);
    QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    SurfaceWidget *terrain = main->mapView()->surfaceWidget(MapView::Terrain);
    QCOMPARE(terrain->devicePixelRatioF(), 2.0);
    QCOMPARE(terrain->size(), QSize(240, 120));  // one picture pixel per logical pixel

    // Every picture pixel is a sharp 2 x 2 block of device pixels.
    const QImage &picture = main->session().surfaces().surface(MapView::Terrain);
    QImage shown = terrain->grab().toImage().convertToFormat(QImage::Format_RGB32);
    shown.setDevicePixelRatio(1);
    QCOMPARE(shown, picture.scaled(480, 240).convertToFormat(QImage::Format_RGB32));

    // A logical position may fall between pixels: the device pixel under the pointer decides.
    MapDocument &doc = main->session().document();
    doc.CurrentDrawElement = 3;
    clickAt(terrain, QPointF(10.5, 10.5));  // device pixel 21 shows picture pixel 10: Sector 4
    QCOMPARE(doc.value(0, 4, Plane::Element), qint16(3));
    clickAt(terrain, QPointF(11.0, 9.5));  // picture pixel (11, 9): Sector 1
    QCOMPARE(doc.value(0, 1, Plane::Element), qint16(3));
    clickAt(terrain, QPointF(39.5, 0));  // picture pixel (39, 0): still Quad 0, Sector 3
    QCOMPARE(doc.value(0, 3, Plane::Element), qint16(3));
    QCOMPARE(doc.value(1, 0, Plane::Element), kUnassigned);

    // At 50% one device pixel shows one picture pixel: still the picture itself, unblurred.
    main->mapView()->setZoomLevel(0.5);
    QVERIFY(!terrain->zoomedSurface().isReduced());
    const QImage half = terrain->grab().toImage();
    QCOMPARE(half.size(), QSize(240, 120));
    QCOMPARE(half.pixel(57, 33), picture.pixel(57, 33));
    clickAt(terrain, QPointF(25.5, 5.5));  // device pixel (51, 11) is picture pixel (51, 11)
    QCOMPARE(doc.value(1, 5, Plane::Element), qint16(3));
    clickAt(terrain, QPointF(25.0, 5.0));  // (50, 10): column 10 goes left, row 10 down
    QCOMPARE(doc.value(1, 4, Plane::Element), qint16(3));
  }
};

int main(int argc, char **argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  TestHighDpi test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_hidpi.moc"
