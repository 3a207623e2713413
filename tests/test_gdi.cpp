// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/CGDILine.h"
#include "gdi/CGDIRectangle.h"
#include "gdi/DeviceContext.h"
#include "gdi/DrawPixel.h"
#include "gdi/GdiErrors.h"
#include "gdi/SystemColours.h"

#include <QtTest>

using namespace vmm;

namespace {

constexpr ColorRef kWhite = rgb(255, 255, 255);
constexpr ColorRef kRed = rgb(255, 0, 0);
constexpr ColorRef kBlue = rgb(0, 0, 255);
constexpr ColorRef kDark = rgb(10, 10, 10);
constexpr ColorRef kLight = rgb(250, 250, 250);

QImage blank(int w, int h, ColorRef colour = kWhite) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(toPixel(colour));
  return image;
}

ColorRef at(const QImage &image, int x, int y) {
  return fromPixel(image.pixel(x, y));
}

// Every pixel of `image` whose colour is `colour`, row by row.
QList<QPoint> pixelsOf(const QImage &image, ColorRef colour) {
  QList<QPoint> points;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (at(image, x, y) == colour) points.append(QPoint(x, y));
  return points;
}

CGDIRectangle box(int left, int top, int right, int bottom, ColorRef border, ColorRef fill) {
  CGDIRectangle r;
  r.setLeft(left);
  r.setTop(top);
  r.setRight(right);
  r.setBottom(bottom);
  r.setBorderColor(border);
  r.setFillColor(fill);
  return r;
}

CGDILine line(QPoint from, QPoint to, ColorRef colour) {
  CGDILine l;
  l.setX1(from.x());
  l.setY1(from.y());
  l.setX2(to.x());
  l.setY2(to.y());
  l.setBorderColor(colour);
  return l;
}

}  // namespace

class TestGdi : public QObject {
  Q_OBJECT

  QStringList reports_;

 private slots:
  void init() {
    reports_.clear();
    setGdiErrorReporter([this](const QString &text, const QString &title) {
      reports_.append(title + ": " + text);
    });
  }
  void cleanup() { setGdiErrorReporter({}); }

  // The raster operations the map colouring relies on; copy and merge (Solid and
  // Transparent): test_colouring (drawStyles).
  void rasterOperations_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<quint32>("expected");
    // pen P = 0x00F0CC, destination D = 0x00AA0F (as 24-bit values).
    const quint32 p = 0x00F0CC, d = 0x00AA0F;
    QTest::newRow("xorpen") << R2_XORPEN << (p ^ d);
    QTest::newRow("maskpen") << R2_MASKPEN << (p & d);
  }

  void rasterOperations() {
    QFETCH(int, mode);
    QFETCH(quint32, expected);
    // The operations are bitwise, so reading the value as pixel or colour is the same.
    const ColorRef pen = fromPixel(0x00F0CC);
    QImage image = blank(6, 6, fromPixel(0x00AA0F));
    DeviceContext dc(&image);
    // Through the rectangle (spans) and a diagonal line (single pixels).
    CGDIRectangle r = box(0, 0, 4, 4, pen, pen);
    r.setForegroundMixMode(mode);
    r.DrawRectangle(&dc);
    CGDILine l = line({4, 4}, {6, 6}, pen);
    l.setForegroundMixMode(mode);
    l.DrawLine(&dc);
    for (QPoint p : {QPoint(0, 0), QPoint(2, 2), QPoint(3, 1), QPoint(4, 4), QPoint(5, 5)})
      QCOMPARE(image.pixel(p) & 0xFFFFFFu, expected);
    QCOMPARE(image.pixel(5, 0) & 0xFFFFFFu, 0x00AA0Fu);
    QCOMPARE(image.pixel(4, 4) >> 24, 0xFFu);  // stays opaque
    QCOMPARE(dc.rop2(), R2_COPYPEN);           // the context's own mode is back
  }

  void rectangleGeometry() {
    QImage image = blank(12, 12);
    DeviceContext dc(&image);
    CGDIRectangle r = box(1, 1, 10, 10, kRed, kBlue);
    r.DrawRectangle(&dc);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool inside = x >= 1 && x <= 9 && y >= 1 && y <= 9;
        const bool border = inside && (x == 1 || x == 9 || y == 1 || y == 9);
        QCOMPARE(at(image, x, y), border ? kRed : inside ? kBlue : kWhite);
      }

    // A null pen fills one pixel less in each direction; swapped edges are sorted.
    image = blank(12, 12);
    dc.attach(&image);
    r = box(10, 1, 1, 10, kRed, kBlue);
    r.setPenStyle(PS_NULL);
    r.DrawRectangle(&dc);
    const QList<QPoint> filled = pixelsOf(image, kBlue);
    QCOMPARE(filled.size(), 64);
    QCOMPARE(filled.first(), QPoint(1, 1));
    QCOMPARE(filled.last(), QPoint(8, 8));

    // A wide pen stays inside the box.
    image = blank(12, 12);
    dc.attach(&image);
    r = box(0, 0, 10, 10, kRed, kBlue);
    r.setBorderWidth(3);
    r.DrawRectangle(&dc);
    QCOMPARE(pixelsOf(image, kBlue).size(), 16);  // 3..6 both ways
    QCOMPARE(at(image, 2, 5), kRed);
    QCOMPARE(at(image, 9, 9), kRed);
    QCOMPARE(at(image, 10, 9), kWhite);

    // Edges far outside the surface are clipped to it: the bottom two rows only.
    image = blank(5, 5);
    dc.attach(&image);
    box(-2147483647 - 1, 3, 2147483647, 2147483647, kRed, kRed).DrawRectangle(&dc);
    QCOMPARE(pixelsOf(image, kRed).size(), 10);
  }

  void hatchedBrush() {
    const ColorRef beneath = rgb(1, 2, 3), background = rgb(0, 255, 0);
    QImage image = blank(20, 20, beneath);
    DeviceContext dc(&image);
    dc.setBackgroundColour(background);
    CGDIRectangle r = box(1, 1, 18, 18, kRed, kBlue);
    r.setBrushStyle(BS_HATCHED);
    r.setHatchStyle(HS_FDIAGONAL);
    r.setPenStyle(PS_NULL);
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, 5, 5), kBlue);
    QCOMPARE(at(image, 5, 6), background);  // opaque background
    dc.setBackgroundMode(TRANSPARENT);
    r.setHatchStyle(42);  // no such hatch: the context's own white brush
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, 5, 6), kWhite);
  }

  void linesLeaveOutTheirEndPixel_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("expected");  // row by row
    QTest::newRow("horizontal") << QPoint(2, 3) << QPoint(6, 3)
                                << QList<QPoint>{{2, 3}, {3, 3}, {4, 3}, {5, 3}};
    QTest::newRow("leftwards") << QPoint(6, 3) << QPoint(2, 3)
                               << QList<QPoint>{{3, 3}, {4, 3}, {5, 3}, {6, 3}};
    QTest::newRow("shallow") << QPoint(0, 0) << QPoint(4, 2)
                             << QList<QPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}};
    QTest::newRow("steep up") << QPoint(2, 6) << QPoint(3, 2)
                              << QList<QPoint>{{3, 3}, {2, 4}, {2, 5}, {2, 6}};
    QTest::newRow("single point") << QPoint(4, 4) << QPoint(4, 4) << QList<QPoint>{};
    QTest::newRow("clipped") << QPoint(-2147483647, 1) << QPoint(2147483647, 1)
                             << QList<QPoint>{{0, 1}, {1, 1}, {2, 1}, {3, 1},
                                              {4, 1}, {5, 1}, {6, 1}, {7, 1}};
  }

  void linesLeaveOutTheirEndPixel() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, expected);
    QImage image = blank(8, 8);
    DeviceContext dc(&image);
    line(from, to, kRed).DrawLine(&dc);
    QCOMPARE(pixelsOf(image, kRed), expected);
    QCOMPARE(dc.currentPosition(), to);
  }

  void dottedLineAndNullPen() {
    QImage image = blank(14, 2);
    DeviceContext dc(&image);
    dc.setBackgroundMode(TRANSPARENT);
    CGDILine l = line({0, 0}, {14, 0}, kRed);
    l.setPenStyle(PS_DOT);
    l.DrawLine(&dc);
    QString row;
    for (int x = 0; x < 14; ++x) row += at(image, x, 0) == kRed ? '#' : '.';
    QCOMPARE(row, QStringLiteral("###...###...##"));
    l = line({0, 1}, {14, 1}, kRed);
    l.setPenStyle(PS_NULL);
    l.DrawLine(&dc);
    QCOMPARE(pixelsOf(image, kRed).size(), 8);
  }

  void systemColours() {
    QCOMPARE(toRgb(0x8000000Fu), rgb(192, 192, 192));
    QCOMPARE(toRgb(0x800000FFu), ColorRef(0));
    QCOMPARE(toRgb(rgb(1, 2, 3)), rgb(1, 2, 3));
    QImage image = blank(3, 3);
    DeviceContext dc(&image);
    box(0, 0, 3, 3, 0x80000010u, 0x8000000Fu).DrawRectangle(&dc);
    QCOMPARE(at(image, 0, 0), rgb(128, 128, 128));
    QCOMPARE(at(image, 1, 1), rgb(192, 192, 192));
  }

  void threeDimensionalOutlines() {
    QImage image = blank(12, 12);
    DeviceContext dc(&image);
    CGDIRectangle r = box(1, 1, 8, 8, kBlue, kBlue);
    r.setBorderWidth(2);
    r.Draw3DRectangle(&dc, kDark, kLight);
    QCOMPARE(at(image, 1, 1), kDark);   // shadow at the edges
    QCOMPARE(at(image, 3, 3), kLight);  // highlight 2 pixels in
    QCOMPARE(at(image, 10, 10), kWhite);
    QCOMPARE(at(image, 5, 5), kWhite);  // both outlines hollow
    QCOMPARE(r.BorderColor(), kBlue);   // the object is as it was
    QCOMPARE(r.BrushStyle(), BS_SOLID);
  }

  void pixelsIgnoreTheMixModeAndStayInside() {
    QImage image = blank(4, 4);
    DeviceContext dc(&image);
    QCOMPARE(dc.setRop2(R2_MASKPEN), R2_COPYPEN);
    QCOMPARE(dc.setRop2(17), 0);  // unknown modes are refused
    QCOMPARE(DrawPixel(&dc, 1, 2, rgb(5, 6, 7)), rgb(5, 6, 7));
    QCOMPARE(GetPixelColor(&dc, 1, 2), rgb(5, 6, 7));
    QCOMPARE(DrawPixel(&dc, 4, 0, kRed), kInvalidColor);
    QCOMPARE(DrawPixel(&dc, -1, 0, kRed), kInvalidColor);
    QCOMPARE(GetPixelColor(&dc, 0, 4), kInvalidColor);
    QCOMPARE(pixelsOf(image, kRed).size(), 0);
  }

  void missingSurfacesAndOverflowAreReported() {
    CGDILine l;
    l.DrawLine(nullptr);
    QImage image = blank(2, 2);
    DeviceContext released(&image);
    released.release();
    DrawPixel(&released, 0, 0, kRed);
    QCOMPARE(reports_,
             (QStringList{"DrawLine: Error: 91. The device context has no drawing surface",
                          "DrawPixel: Error: 91. The device context has no drawing surface"}));
    QCOMPARE(at(image, 0, 0), kWhite);

    // The 3D line's offset overflows: the procedure stops with the error.
    reports_.clear();
    DeviceContext dc(&image);
    l = line({0, 0}, {2147483647, 0}, kRed);
    l.Draw3DLine(&dc, kRed, kBlue);
    QCOMPARE(reports_, QStringList{"Draw3DLine: Error: 6. Overflow"});
    QCOMPARE(l.X2(), 2147483647);
  }
};

QTEST_GUILESS_MAIN(TestGdi)
#include "test_gdi.moc"
