// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom levels, the reduced copy's averages and the zoomed drawing, without any window.
#include "mapview/ReducedCopy.h"
#include "mapview/ViewZoom.h"
#include "mapview/ZoomedSurface.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

#include <cmath>

using namespace vmm;

namespace {

// A picture whose every pixel differs from its neighbours, so any misplaced
// weight or pixel shows in a comparison.
QImage noisyPicture(int width, int height, quint32 seed) {
  QImage picture(width, height, QImage::Format_RGB32);
  QRandomGenerator random(seed);
  for (int y = 0; y < height; ++y) {
    auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
    for (int x = 0; x < width; ++x) line[x] = 0xFF000000u | (random.generate() & 0xFFFFFFu);
  }
  return picture;
}

// The average of the picture over the square [x0, x1) x [y0, y1), each pixel
// weighted by the area of it inside, worked out directly in floating point.
std::array<double, 3> areaAverage(const QImage &picture, double x0, double y0, double x1,
                                  double y1) {
  std::array<double, 3> sum{};
  double area = 0;
  for (int y = int(std::floor(y0)); y < int(std::ceil(y1)); ++y)
    for (int x = int(std::floor(x0)); x < int(std::ceil(x1)); ++x) {
      const double w = (std::min<double>(x + 1, x1) - std::max<double>(x, x0)) *
                       (std::min<double>(y + 1, y1) - std::max<double>(y, y0));
      const QRgb p = picture.pixel(x, y);
      sum[0] += w * qRed(p);
      sum[1] += w * qGreen(p);
      sum[2] += w * qBlue(p);
      area += w;
    }
  for (double &channel : sum) channel /= area;
  return sum;
}

QImage paintZoomed(ZoomedSurface &zoomed, const QRect &exposed, QSize size) {
  QImage target(size, QImage::Format_RGB32);
  target.fill(Qt::magenta);
  QPainter painter(&target);
  zoomed.paint(painter, exposed, Qt::darkGray);
  return target;
}

}  // namespace

class TestZoom : public QObject {
  Q_OBJECT

 private slots:
  void typedLevels_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("level");  // 0: refused
    QTest::newRow("12.5 with spaces") << " 12.5 % " << 0.125;
    QTest::newRow("33 is a third") << "33" << 1.0 / 3;
    QTest::newRow("an unlisted level") << "37.5%" << 0.375;
    QTest::newRow("800") << "800" << 8.0;
    QTest::newRow("below the smallest") << "12.4%" << 0.0;
    QTest::newRow("above the largest") << "801%" << 0.0;
    QTest::newRow("words") << "fifty" << 0.0;
    QTest::newRow("empty") << "" << 0.0;
    QTest::newRow("two signs") << "50%%" << 0.0;
    QTest::newRow("not a number") << "nan" << 0.0;
  }

  void typedLevels() {
    QFETCH(QString, typed);
    QFETCH(double, level);
    const std::optional<double> parsed = ViewZoom::parseLevel(typed);
    if (level == 0) {
      QVERIFY2(!parsed, qPrintable(typed));
    } else {
      QVERIFY2(parsed, qPrintable(typed));
      QCOMPARE(*parsed, level);
    }
  }

  void levelTextsAndSteps() {
    QStringList texts;
    for (double level : ViewZoom::levels()) texts << ViewZoom::levelText(level);
    QCOMPARE(texts, QStringList({"12.5%", "25%", "33%", "50%", "67%", "100%", "150%", "200%",
                                 "300%", "400%", "800%"}));
    QCOMPARE(ViewZoom::levelText(0.261), QStringLiteral("26.1%"));
    QCOMPARE(ViewZoom::levelText(0.4), QStringLiteral("40%"));
    // Every listed text reads back as its own level.
    for (double level : ViewZoom::levels())
      QCOMPARE(ViewZoom::parseLevel(ViewZoom::levelText(level)).value_or(0), level);

    QCOMPARE(ViewZoom::zoomedIn(1.0), 1.5);
    QCOMPARE(ViewZoom::zoomedOut(1.0), 2.0 / 3);
    QCOMPARE(ViewZoom::zoomedIn(0.261), 1.0 / 3);  // from a fitted level to the next listed one
    QCOMPARE(ViewZoom::zoomedOut(0.261), 0.25);
    QCOMPARE(ViewZoom::zoomedIn(8.0), 8.0);
    QCOMPARE(ViewZoom::zoomedOut(0.125), 0.125);
  }

  void fitLevel() {
    // The maximum picture in the view of a 1400 x 900 screen: limited by the height.
    const double level = ViewZoom::fitLevel({2880, 2760}, {1380, 720});
    QCOMPARE(level, 0.26);
    const QSize fitted = ViewZoom::zoomedSize({2880, 2760}, level);
    QVERIFY(fitted.width() <= 1380 && fitted.height() <= 720);
    QVERIFY(ViewZoom::zoomedSize({2880, 2760}, level + 0.001).height() > 720);
    QCOMPARE(ViewZoom::fitLevel({120, 120}, {1380, 720}), 6.0);
    QCOMPARE(ViewZoom::fitLevel({120, 120}, {4000, 4000}), 8.0);    // no further than 800%
    QCOMPARE(ViewZoom::fitLevel({2880, 2760}, {100, 100}), 0.125);  // nor below 12.5%
  }

  void reducedCopyAveragesEachArea_data() {
    QTest::addColumn<double>("scale");
    QTest::addColumn<QSize>("size");
    // Sizes that do not divide evenly, so the last copy pixels cover part pixels.
    const QSize small(83, 61);
    QTest::newRow("12.5%") << 0.125 << small;
    QTest::newRow("33%") << 1.0 / 3 << small;
    QTest::newRow("26.1% (fitted)") << 0.261 << small;
    QTest::newRow("91% (device ratio 1.5 at 60%)") << 0.91 << small;
    // Large enough to be built in bands on several threads.
    QTest::newRow("66.7%, in bands") << 2.0 / 3 << QSize(803, 601);
  }

  void reducedCopyAveragesEachArea() {
    QFETCH(double, scale);
    QFETCH(QSize, size);
    const QImage picture = noisyPicture(size.width(), size.height(), 7);
    ReducedCopy copy;
    copy.reset(&picture, scale);
    const QImage &reduced = copy.image();
    QCOMPARE(reduced.size(), QSize(int(std::ceil(size.width() * scale - 1e-9)),
                                   int(std::ceil(size.height() * scale - 1e-9))));
    int worst = 0;
    for (int y = 0; y < reduced.height(); ++y)
      for (int x = 0; x < reduced.width(); ++x) {
        const auto expected = areaAverage(picture, x / scale, y / scale,
                                          std::min<double>(size.width(), (x + 1) / scale),
                                          std::min<double>(size.height(), (y + 1) / scale));
        const QRgb got = reduced.pixel(x, y);
        const int channels[3] = {qRed(got), qGreen(got), qBlue(got)};
        for (int c = 0; c < 3; ++c)
          worst = std::max(worst, int(std::ceil(std::abs(channels[c] - expected[c]) - 1e-9)));
      }
    // Weights in 1/256 of a pixel: within two levels of the exact average.
    QVERIFY2(worst <= 2, qPrintable(QStringLiteral("off by %1").arg(worst)));

    // A flat colour stays exactly that colour, a grid line tints evenly.
    QImage flat(size, QImage::Format_RGB32);
    flat.fill(QColor(12, 200, 77));
    ReducedCopy flatCopy;
    flatCopy.reset(&flat, scale);
    QCOMPARE(flatCopy.image().pixel(flatCopy.size().width() - 1, 0), flat.pixel(0, 0));
  }

  void reducedCopyFollowsChangesAreaByArea() {
    QImage picture = noisyPicture(240, 120, 3);
    ReducedCopy copy;
    copy.reset(&picture, 0.25);
    copy.image();
    // Painted cells: a Sector's inside at (11, 21), and one at the picture's corner.
    const QList<QRect> painted = {QRect(11, 21, 9, 9), QRect(231, 111, 9, 9), QRect(0, 0, 1, 1)};
    for (const QRect &cell : painted) {
      QPainter(&picture).fillRect(cell, QColor(200, 30, 30));
      const QRect changed = copy.update(cell);
      // Only the copy pixels over the cell: a 9 x 9 cell touches at most 4 x 4 of them.
      QVERIFY(changed.width() <= 4 && changed.height() <= 4);
      QVERIFY(changed.contains(QPoint(cell.left() / 4, cell.top() / 4)));
    }
    ReducedCopy fresh;
    fresh.reset(&picture, 0.25);
    QCOMPARE(copy.image(), fresh.image());
    // A copy not built yet reports the area but builds nothing.
    ReducedCopy unbuilt;
    unbuilt.reset(&picture, 0.25);
    QCOMPARE(unbuilt.update(QRect(11, 21, 9, 9)), QRect(2, 5, 3, 3));
    QVERIFY(!unbuilt.isBuilt());

    // The picture replaced by a smaller one: the copy takes its size and never reads past it.
    picture = noisyPicture(120, 80, 9);
    QCOMPARE(copy.update(QRect(100, 60, 20, 20)), QRect(25, 15, 5, 5));
    ReducedCopy smaller;
    smaller.reset(&picture, 0.25);
    QCOMPARE(copy.image(), smaller.image());
  }

  void enlargedPixelsStayCrisp_data() {
    QTest::addColumn<double>("level");
    QTest::newRow("300%") << 3.0;
    QTest::newRow("800%") << 8.0;
  }

  void enlargedPixelsStayCrisp() {
    QFETCH(double, level);
    const QImage picture = noisyPicture(40, 30, 11);
    ZoomedSurface zoomed(&picture);
    zoomed.setZoom(level, 1.0);
    QVERIFY(!zoomed.isReduced());
    const int factor = int(level);
    const QSize size = zoomed.size();
    QCOMPARE(size, QSize(40 * factor, 30 * factor));
    const QImage shown = paintZoomed(zoomed, QRect(QPoint(0, 0), size), size);
    // Each picture pixel is a factor x factor block of exactly its colour.
    for (int y = 0; y < shown.height(); ++y)
      for (int x = 0; x < shown.width(); ++x)
        if (shown.pixel(x, y) != picture.pixel(x / factor, y / factor))
          QFAIL(qPrintable(QStringLiteral("screen pixel (%1, %2)").arg(x).arg(y)));
  }

  void partialRepaintsMatchAWholeOne_data() {
    QTest::addColumn<double>("level");
    QTest::newRow("150%") << 1.5;
    QTest::newRow("67%") << 2.0 / 3;
  }

  void partialRepaintsMatchAWholeOne() {
    QFETCH(double, level);
    QImage picture = noisyPicture(120, 80, 5);
    ZoomedSurface zoomed(&picture);
    zoomed.setZoom(level, 1.0);
    const QSize size = zoomed.size() + QSize(7, 5);  // the view is larger than the picture
    const QRect whole(QPoint(0, 0), size);
    // A Sector painted after the first repaint, then only its area repainted.
    QImage shown = paintZoomed(zoomed, whole, size);
    QPainter(&picture).fillRect(QRect(51, 21, 9, 9), QColor(10, 90, 250));
    const QRect area = zoomed.pictureChanged(QRect(51, 21, 9, 9));
    QVERIFY(!area.isEmpty() && area.width() < size.width() / 2);
    {
      QPainter painter(&shown);
      zoomed.paint(painter, area, Qt::darkGray);
    }
    ZoomedSurface fresh(&picture);
    fresh.setZoom(level, 1.0);
    QCOMPARE(shown, paintZoomed(fresh, whole, size));
    // Beyond the picture: the background.
    QCOMPARE(QColor(shown.pixel(size.width() - 1, size.height() - 1)), QColor(Qt::darkGray));
  }
};

QTEST_GUILESS_MAIN(TestZoom)
#include "test_zoom.moc"
