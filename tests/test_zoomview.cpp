// SPDX-License-Identifier: GPL-3.0-or-later
// The map view at other zoom levels: hits, painting, wheel, panning, the zoom
// box, Fit Map to Window, the overview and the view kept between runs.
#include "files/SettingsFile.h"
#include "mapview/ViewZoom.h"
#include "support/TestSupport.h"
#include "ui/docks/MapOverview.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QtTest>

using namespace vmm;
using test::trigger;

namespace {

constexpr qint16 kElement = 5;

// Records the areas a widget repaints.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(QWidget *widget) { widget->installEventFilter(this); }
  QRegion painted;

 protected:
  bool eventFilter(QObject *, QEvent *event) override {
    if (event->type() == QEvent::Paint) painted += static_cast<QPaintEvent *>(event)->region();
    return false;
  }
};

void sendAtGlobal(QWidget *widget, QEvent::Type type, QPointF global, Qt::MouseButton button,
                  Qt::MouseButtons buttons) {
  QMouseEvent event(type, widget->mapFromGlobal(global), global, button, buttons, Qt::NoModifier);
  QApplication::sendEvent(widget, &event);
}

void sendWheel(QWidget *widget, QPointF at, QPoint angle, Qt::KeyboardModifiers modifiers) {
  QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), angle, Qt::NoButton, modifiers,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(widget, &event);
}

int assignedSectors(const MapDocument &doc) {
  int count = 0;
  for (int quad = 0; quad < doc.TotalQuads; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      if (doc.value(quad, sector, Plane::Element) != kUnassigned) ++count;
  return count;
}

}  // namespace

class TestZoomView : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  test::ScriptedDialogs dialogs_;
  std::unique_ptr<MainWindow> main_;

  MapViewWindow *view() const { return main_->mapView(); }
  SurfaceWidget *terrain() const { return view()->surfaceWidget(MapView::Terrain); }
  MapDocument &doc() const { return main_->session().document(); }
  QColor elementColour() const {
    return test::gdiColour(main_->session().elementTable().colour(kElement));
  }

  // A shown window holding the picture; the element to paint with chosen.
  void open(const QString &picture) {
    main_ = test::openShownMap(dialogs_, picture);
    QVERIFY(main_);
    QVERIFY(QTest::qWaitForWindowExposed(main_.get()));
    doc().CurrentDrawElement = kElement;
    dialogs_.messages.clear();
  }

  QString largePicture() const { return test::writePicture(home_.dir.path(), 1200, 840); }

 private slots:
  void cleanup() {
    main_.reset();
    dialogs_.messages.clear();
    dialogs_.answers.clear();
  }

  void sectorUnderThePointerAtEveryLevel_data() {
    QTest::addColumn<double>("level");
    QTest::addColumn<QPointF>("pointer");  // logical position on the zoomed picture
    QTest::addColumn<int>("quad");         // -1: outside the picture, nothing hit
    QTest::addColumn<int>("sector");
    // The screen pixel under the pointer shows one picture pixel (or, below 100%, the
    // area around its centre): that pixel's Sector is hit, column 10 going left and
    // row 10 going down, as at 100% (test_sectorlocator).
    QTest::newRow("12.5% (1,1) -> picture (12,12)") << 0.125 << QPointF(1, 1) << 0 << 5;
    QTest::newRow("12.5% beyond the right edge") << 0.125 << QPointF(30, 2) << -1 << 0;
    QTest::newRow("25% (10,0) -> next Quad") << 0.25 << QPointF(10, 0) << 1 << 0;
    QTest::newRow("33% (3,3) -> (10,10)") << 1.0 / 3 << QPointF(3, 3) << 0 << 4;
    QTest::newRow("50% (5,5) -> (11,11)") << 0.5 << QPointF(5, 5) << 0 << 5;
    QTest::newRow("67% (6,6) -> (9,9)") << 2.0 / 3 << QPointF(6, 6) << 0 << 0;
    QTest::newRow("67% (7,7) -> (11,11)") << 2.0 / 3 << QPointF(7, 7) << 0 << 5;
    QTest::newRow("150% (15,15) -> (10,10)") << 1.5 << QPointF(15, 15) << 0 << 4;
    QTest::newRow("400% (160,160) -> Quad 7") << 4.0 << QPointF(160, 160) << 7 << 0;
    QTest::newRow("400% beyond the bottom") << 4.0 << QPointF(10, 480) << -1 << 0;
    QTest::newRow("800% (87,87) -> (10,10)") << 8.0 << QPointF(87, 87) << 0 << 4;
    QTest::newRow("800% (88,88) -> (11,11)") << 8.0 << QPointF(88, 88) << 0 << 5;
  }

  void sectorUnderThePointerAtEveryLevel() {
    QFETCH(double, level);
    QFETCH(QPointF, pointer);
    QFETCH(int, quad);
    QFETCH(int, sector);
    open(home_.picture);  // 6 x 3 Quads
    view()->setZoomLevel(level);
    QCOMPARE(terrain()->size(), ViewZoom::zoomedSize({240, 120}, level));
    test::sendMouseMove(terrain(), QPoint(0, 0), Qt::NoButton);
    test::dragLeft(terrain(), {pointer.toPoint()});
    if (quad < 0) {
      QCOMPARE(assignedSectors(doc()), 0);
      return;
    }
    QCOMPARE(main_->panelText(6), QStringLiteral("Quad : %1").arg(quad));
    QCOMPARE(main_->panelText(7), QStringLiteral("Sect : %1").arg(sector));
    QCOMPARE(doc().value(quad, sector, Plane::Element), kElement);
    QCOMPARE(assignedSectors(doc()), 1);

    // A right click there picks the Sector up through the zoom as well.
    doc().CurrentDrawElement = 0;
    test::sendMousePress(terrain(), pointer.toPoint(), Qt::RightButton);
    QCOMPARE(doc().CurrentDrawElement, kElement);
  }

  void paintingShowsAtOnceAt25And400_data() {
    QTest::addColumn<double>("level");
    QTest::addColumn<QPoint>("pointer");
    QTest::addColumn<int>("quad");
    QTest::addColumn<int>("sector");
    QTest::addColumn<int>("largestRepaint");  // logical pixels across
    // At 25% the pointer's screen pixel shows picture pixels 84..87 x 52..55, inside Sector 4 of
    // Quad 8; at 400% it shows picture pixel (95, 55), in Sector 5 of Quad 8.
    QTest::newRow("25%") << 0.25 << QPoint(21, 13) << 8 << 4 << 6;
    QTest::newRow("400%") << 4.0 << QPoint(382, 222) << 8 << 5 << 40;
  }

  void paintingShowsAtOnceAt25And400() {
    QFETCH(double, level);
    QFETCH(QPoint, pointer);
    QFETCH(int, quad);
    QFETCH(int, sector);
    QFETCH(int, largestRepaint);
    open(home_.picture);
    view()->setZoomLevel(level);
    QApplication::processEvents();
    const QImage before = terrain()->grab().toImage();  // the reduced copy is built by now
    PaintRecorder recorder(terrain());
    test::dragLeft(terrain(), {pointer});
    QCOMPARE(doc().value(quad, sector, Plane::Element), kElement);
    QCOMPARE(assignedSectors(doc()), 1);
    QTRY_VERIFY(!recorder.painted.isEmpty());
    // Only the Sector's area was repainted, and it shows the element's colour there.
    QVERIFY(recorder.painted.boundingRect().width() <= largestRepaint);
    QVERIFY(recorder.painted.boundingRect().height() <= largestRepaint);
    const QImage after = terrain()->grab().toImage();
    QCOMPARE(after.pixelColor(pointer), elementColour());
    // Nothing else on the screen changed.
    int changed = 0;
    for (int y = 0; y < after.height(); ++y)
      for (int x = 0; x < after.width(); ++x) changed += after.pixel(x, y) != before.pixel(x, y);
    QVERIFY(changed > 0 && changed <= largestRepaint * largestRepaint);
  }

  void ctrlWheelZoomsAroundThePointerAndWheelScrolls() {
    open(largePicture());
    view()->setScrollPosition({100, 50});
    const QPointF pointer(300, 200);  // on the viewport and on the Terrain widget alike
    const QPointF pictureBefore =
        (QPointF(view()->scrollPosition()) + pointer) / view()->zoomLevel();
    const std::array<std::pair<int, double>, 3> turns = {{{120, 1.5}, {120, 2.0}, {-240, 1.0}}};
    for (const auto &[angle, level] : turns) {
      sendWheel(terrain(), terrain()->mapFrom(view()->viewport(), pointer), QPoint(0, angle),
                Qt::ControlModifier);
      QCOMPARE(view()->zoomLevel(), level);
      const QPointF pictureAfter = (QPointF(view()->scrollPosition()) + pointer) / level;
      // Within one screen pixel of where it was.
      QVERIFY2((pictureAfter - pictureBefore).manhattanLength() * level <= 2.0,
               qPrintable(QStringLiteral("%1, %2").arg(pictureAfter.x()).arg(pictureAfter.y())));
    }
    // At 67% the point would need the picture's top-left corner inside the viewport: the bars stop
    // at 0.
    sendWheel(terrain(), terrain()->mapFrom(view()->viewport(), pointer), QPoint(0, -120),
              Qt::ControlModifier);
    QCOMPARE(view()->zoomLevel(), 2.0 / 3);
    QCOMPARE(view()->scrollPosition(), QPoint(0, 0));
    QCOMPARE(main_->toolBar()->zoomBox()->currentText(), QStringLiteral("67%"));

    // A touchpad's small steps add up to one level.
    for (int i = 0; i < 3; ++i)
      sendWheel(terrain(), QPointF(10, 10), QPoint(0, 40), Qt::ControlModifier);
    QCOMPARE(view()->zoomLevel(), 1.0);

    // The wheel alone scrolls down and up, with Shift sideways; a touchpad both ways at once.
    view()->setScrollPosition({200, 200});
    const int lines = QApplication::wheelScrollLines() * view()->verticalScrollBar()->singleStep();
    sendWheel(terrain(), QPointF(10, 10), QPoint(0, -120), Qt::NoModifier);
    QCOMPARE(view()->scrollPosition(), QPoint(200, 200 + lines));
    sendWheel(terrain(), QPointF(10, 10), QPoint(0, 120), Qt::ShiftModifier);
    QCOMPARE(view()->scrollPosition(), QPoint(200 - lines, 200 + lines));
    QWheelEvent touchpad(QPointF(10, 10), terrain()->mapToGlobal(QPointF(10, 10)), QPoint(-7, 9),
                         QPoint(-21, 27), Qt::NoButton, Qt::NoModifier, Qt::ScrollUpdate, false);
    QApplication::sendEvent(terrain(), &touchpad);
    QCOMPARE(view()->scrollPosition(), QPoint(200 - lines + 7, 200 + lines - 9));
    QCOMPARE(assignedSectors(doc()), 0);
  }

  void fitMapToWindowOnAMaximumMap() {
    open(test::writePicture(home_.dir.path(), 2880, 2760));
    QCOMPARE(view()->zoomLevel(), 1.0);  // a new picture opens at 100%
    view()->setScrollPosition({500, 700});
    trigger(main_.get(), "mnuFitMap");
    const QSize viewport = view()->viewport()->size();
    const double level = view()->zoomLevel();
    QCOMPARE(level, ViewZoom::fitLevel({2880, 2760}, viewport));
    QVERIFY(!view()->horizontalScrollBar()->isVisible() &&
            !view()->verticalScrollBar()->isVisible());
    QCOMPARE(view()->visibleArea(), QRectF(0, 0, 2880, 2760));
    QCOMPARE(main_->toolBar()->zoomBox()->currentText(), ViewZoom::levelText(level));
    // Smaller than the view, the map sits in its middle, one pixel either way for odd spaces.
    trigger(main_.get(), "mnuZoomOut");
    const QRect shown = terrain()->geometry();
    QVERIFY(shown.width() < viewport.width() && shown.height() < viewport.height());
    QVERIFY(std::abs(shown.center().x() - view()->viewport()->rect().center().x()) <= 1);
    QVERIFY(std::abs(shown.center().y() - view()->viewport()->rect().center().y()) <= 1);
    trigger(main_.get(), "mnuFitMap");

    trigger(main_.get(), "mnuZoomIn");
    QCOMPARE(view()->zoomLevel(), ViewZoom::zoomedIn(level));
    trigger(main_.get(), "mnuActualSize");
    trigger(main_.get(), "mnuZoomOut");
    QCOMPARE(view()->zoomLevel(), 2.0 / 3);
  }

  // The arrow keys alone move the keyboard's Sector cursor (test_mouseediting).
  void ctrlArrowKeysMoveByScreenPixels() {
    open(largePicture());
    view()->setZoomLevel(4.0);
    view()->setScrollPosition({1000, 1000});
    QTest::keyClick(terrain(), Qt::Key_Right, Qt::ControlModifier);
    QTest::keyClick(terrain(), Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(view()->scrollPosition(), QPoint(1100, 1100));
    QCOMPARE(view()->visibleArea().topLeft(), QPointF(275, 275));
  }

  void panningMovesTheViewAndPaintsNothing() {
    open(largePicture());
    view()->setZoomLevel(2.0);
    view()->setScrollPosition({400, 300});
    const int steps = main_->session().history().stack().count();
    const QPointF start = terrain()->mapToGlobal(QPointF(200, 150));

    // Middle button: the picture follows the pointer.
    sendAtGlobal(terrain(), QEvent::MouseButtonPress, start, Qt::MiddleButton, Qt::MiddleButton);
    for (int i = 1; i <= 5; ++i)
      sendAtGlobal(terrain(), QEvent::MouseMove, start + QPointF(10 * i, 6 * i), Qt::NoButton,
                   Qt::MiddleButton);
    sendAtGlobal(terrain(), QEvent::MouseButtonRelease, start + QPointF(50, 30), Qt::MiddleButton,
                 Qt::NoButton);
    QCOMPARE(view()->scrollPosition(), QPoint(350, 270));

    // Space held with a left drag: the same, and no stroke.
    QTest::keyPress(terrain(), Qt::Key_Space);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::OpenHandCursor);
    sendAtGlobal(terrain(), QEvent::MouseButtonPress, start, Qt::LeftButton, Qt::LeftButton);
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::ClosedHandCursor);
    for (int i = 1; i <= 4; ++i)
      sendAtGlobal(terrain(), QEvent::MouseMove, start - QPointF(25 * i, 0), Qt::NoButton,
                   Qt::LeftButton);
    sendAtGlobal(terrain(), QEvent::MouseButtonRelease, start - QPointF(100, 0), Qt::LeftButton,
                 Qt::NoButton);
    QTest::keyRelease(terrain(), Qt::Key_Space);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(view()->scrollPosition(), QPoint(450, 270));
    QCOMPARE(main_->session().history().stack().count(), steps);

    // Space released: a left click paints again, the Sector now under the still pointer.
    const QPoint still = terrain()->mapFromGlobal(start - QPointF(100, 0)).toPoint();
    test::sendMousePress(terrain(), still, Qt::LeftButton);
    const QPointF picture = ViewZoom::picturePixelAt(still, 2.0, 1.0);
    const int quad = int(picture.y()) / 40 * 30 + int(picture.x()) / 40;
    QCOMPARE(assignedSectors(doc()), 1);
    QCOMPARE(int(doc().CurrentQuad), quad);
  }

  void typedZoomLevels() {
    // Before any map the zoom box waits for one (the menu items' guard: test_mainwindow).
    main_ = std::make_unique<MainWindow>(&dialogs_);
    QComboBox *box = main_->toolBar()->zoomBox();
    QVERIFY(!box->isEnabled());
    QCOMPARE(box->currentText(), QStringLiteral("100%"));

    open(home_.picture);
    box = main_->toolBar()->zoomBox();
    QVERIFY(box->isEnabled());
    // What is refused: test_zoom (typedLevels); here one refusal is said and undone.
    box->lineEdit()->setText(QStringLiteral("900%"));
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(dialogs_.messages.size(), 1);
    QCOMPARE(dialogs_.messages[0].title, QStringLiteral("Zoom"));
    QVERIFY(dialogs_.messages[0].text.contains("between 12.5% and 800%"));
    QCOMPARE(view()->zoomLevel(), 1.0);
    QCOMPARE(box->currentText(), QStringLiteral("100%"));
    dialogs_.messages.clear();
    box->lineEdit()->setText(" 37.5 % ");
    QTest::keyClick(box->lineEdit(), Qt::Key_Return);
    QCOMPARE(view()->zoomLevel(), 0.375);
    QCOMPARE(box->currentText(), QStringLiteral("37.5%"));
    box->setCurrentIndex(box->findText("300%"));
    emit box->activated(box->currentIndex());
    QCOMPARE(view()->zoomLevel(), 3.0);
    QVERIFY(dialogs_.messages.isEmpty());
  }

  void overviewFollowsPaintsAndBulkEdits() {
    open(largePicture());  // 30 x 21 Quads
    trigger(main_.get(), "mnuOverview");
    OverviewPanel *panel = main_->overview()->panel();
    QTRY_VERIFY(panel->isVisible());
    const double level = panel->level();
    QVERIFY(level < 0.5);
    const QImage before = panel->grab().toImage();
    // The outline shows the part of the picture the map view shows.
    QCOMPARE(panel->outlineRect().topLeft(), panel->pictureOrigin());

    // A Quad painted in the middle: the overview's pixels there change, only there.
    PaintRecorder recorder(panel);
    main_->session().setEditMode(EditMode::DrawQuad);
    view()->centreOn({620, 420});
    QTest::qWait(50);  // the outline's move is repainted
    recorder.painted = {};
    test::dragLeft(terrain(),
                   {terrain()->mapFrom(view()->viewport(), view()->viewport()->rect().center())});
    QCOMPARE(assignedSectors(doc()), 16);
    QTRY_VERIFY(!recorder.painted.isEmpty());
    // The Quad's 40 pixels are about 8 in the overview: only that part was repainted.
    const QRect repainted = recorder.painted.boundingRect();
    QVERIFY2(repainted.width() <= 14 && repainted.height() <= 14,
             qPrintable(QStringLiteral("%1 x %2").arg(repainted.width()).arg(repainted.height())));
    const QImage painted = panel->grab().toImage();
    const QPoint quadCentre = panel->pictureOrigin() + (QPointF(620, 420) * level).toPoint();
    QVERIFY(painted.pixelColor(quadCentre) != before.pixelColor(quadCentre));
    // What it shows is what a fresh reduction of the whole view shows.
    panel->setMapView(view());
    QCOMPARE(painted, panel->grab().toImage());

    // Fill: every unpainted Sector takes the element; the overview follows.
    trigger(main_.get(), "mnuFill");
    const QImage filled = panel->grab().toImage();
    const QPoint corner = panel->pictureOrigin() + QPoint(3, 3);
    QVERIFY(filled.pixelColor(corner) != painted.pixelColor(corner));

    // Clicking in the overview moves the map view there.
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->pictureOrigin() + QPoint(10, 10));
    const QPointF centre = view()->visibleArea().center();
    QVERIFY(view()->visibleArea().left() == 0 || std::abs(centre.x() - 10 / level) < 2 / level);
    QVERIFY(view()->visibleArea().top() == 0 || std::abs(centre.y() - 10 / level) < 2 / level);
    // The Elevation view shown: the overview shows it.
    trigger(main_.get(), "mnuV3");
    QTRY_COMPARE(panel->grab().toImage().pixelColor(corner), before.pixelColor(corner));
  }

  // Whether the overview was open is kept between runs; a picture imported anew opens at
  // 100% (a map's own zoom and place go with its project).
  void overviewIsKeptBetweenRuns() {
    const QString picture = largePicture();
    QFile::remove(settingsFilePath(home_.dir.path()));  // what earlier tests left
    open(picture);
    QVERIFY(main_->overview()->isHidden());
    view()->setZoomLevel(2.0);
    trigger(main_.get(), "mnuOverview");
    dialogs_.answers.push_back(MessageAnswer::Discard);
    main_->close();
    main_.reset();

    main_ = std::make_unique<MainWindow>(&dialogs_);
    QVERIFY(main_->findChild<QAction *>("mnuOverview")->isChecked());
    QVERIFY(!main_->overview()->isHidden());
    main_->resize(900, 600);
    main_->show();
    QVERIFY(main_->LoadMapImage(picture));
    QCOMPARE(view()->zoomLevel(), 1.0);

    // A settings file that is not a file is no obstacle.
    main_.reset();
    QFile::remove(settingsFilePath(home_.dir.path()));
    QVERIFY(QDir().mkpath(settingsFilePath(home_.dir.path())));
    main_ = std::make_unique<MainWindow>(&dialogs_);
    QVERIFY(main_->overview()->isHidden());
    QVERIFY(QDir().rmdir(settingsFilePath(home_.dir.path())));
  }
};

QTEST_MAIN(TestZoomView)
#include "test_zoomview.moc"
