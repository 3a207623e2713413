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

QImage blank(int w, int h, ColorRef colour = kWhite) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(QColor(redOf(colour), greenOf(colour), blueOf(colour)));
  return image;
}

ColorRef at(const QImage &image, int x, int y) {
  return fromPixel(image.pixel(x, y));
}

// Every pixel of `image` whose colour is `colour`, as a sorted list of points.
QList<QPoint> pixelsOf(const QImage &image, ColorRef colour) {
  QList<QPoint> points;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (at(image, x, y) == colour) points.append(QPoint(x, y));
  return points;
}

struct CapturedReport {
  QString text;
  QString title;
};

}  // namespace

class TestGdi : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { setGdiErrorReporter({}); }

  void colourConversionAtTheImageBoundary() {
    QCOMPARE(toPixel(rgb(1, 2, 3)), 0xFF010203u);
    QCOMPARE(fromPixel(0xFF010203u), rgb(1, 2, 3));
    QImage image = blank(2, 1);
    DeviceContext dc(&image);
    dc.setPixel(0, 0, rgb(10, 20, 30));
    QCOMPARE(image.pixelColor(0, 0), QColor(10, 20, 30));
  }

  void rasterOperations_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<quint32>("expected");
    // pen P = 0x00F0CC, destination D = 0x00AA0F (as 24-bit values).
    const quint32 p = 0x00F0CC, d = 0x00AA0F, m = 0xFFFFFF;
    QTest::newRow("black") << R2_BLACK << 0u;
    QTest::newRow("notmergepen") << R2_NOTMERGEPEN << (~(p | d) & m);
    QTest::newRow("masknotpen") << R2_MASKNOTPEN << (~p & d & m);
    QTest::newRow("notcopypen") << R2_NOTCOPYPEN << (~p & m);
    QTest::newRow("maskpennot") << R2_MASKPENNOT << (p & ~d & m);
    QTest::newRow("not") << R2_NOT << (~d & m);
    QTest::newRow("xorpen") << R2_XORPEN << (p ^ d);
    QTest::newRow("notmaskpen") << R2_NOTMASKPEN << (~(p & d) & m);
    QTest::newRow("maskpen") << R2_MASKPEN << (p & d);
    QTest::newRow("notxorpen") << R2_NOTXORPEN << (~(p ^ d) & m);
    QTest::newRow("nop") << R2_NOP << d;
    QTest::newRow("mergenotpen") << R2_MERGENOTPEN << ((~p | d) & m);
    QTest::newRow("copypen") << R2_COPYPEN << p;
    QTest::newRow("mergepennot") << R2_MERGEPENNOT << ((p | ~d) & m);
    QTest::newRow("mergepen") << R2_MERGEPEN << (p | d);
    QTest::newRow("white") << R2_WHITE << m;
  }

  void rasterOperations() {
    QFETCH(int, mode);
    QFETCH(quint32, expected);
    // The same 24-bit value read as a QImage pixel and as a colour: the
    // operations are bitwise, so the byte order does not matter.
    const ColorRef pen = fromPixel(0x00F0CC), dest = fromPixel(0x00AA0F);
    // Through the rectangle class (spans) and a diagonal line (single pixels).
    QImage image = blank(6, 6, dest);
    DeviceContext dc(&image);
    CGDIRectangle box;
    box.setRight(4);
    box.setBottom(4);
    box.setBorderColor(pen);
    box.setFillColor(pen);
    box.setForegroundMixMode(mode);
    box.DrawRectangle(&dc);
    CGDILine line;
    line.setX1(4);
    line.setY1(4);
    line.setX2(6);
    line.setY2(6);
    line.setBorderColor(pen);
    line.setForegroundMixMode(mode);
    line.DrawLine(&dc);
    for (QPoint p : {QPoint(0, 0), QPoint(2, 2), QPoint(3, 1), QPoint(4, 4), QPoint(5, 5)})
      QCOMPARE(image.pixel(p) & 0xFFFFFFu, expected);
    QCOMPARE(image.pixel(5, 0) & 0xFFFFFFu, 0x00AA0Fu);
    QCOMPARE(image.pixel(4, 4) >> 24, 0xFFu);  // stays opaque
    QCOMPARE(dc.rop2(), R2_COPYPEN);           // the context's own mode is back
  }

  void setRop2RefusesUnknownModes() {
    DeviceContext dc;
    QCOMPARE(dc.setRop2(R2_MERGEPEN), R2_COPYPEN);
    QCOMPARE(dc.setRop2(0), 0);
    QCOMPARE(dc.setRop2(17), 0);
    QCOMPARE(dc.rop2(), R2_MERGEPEN);
  }

  void rectangleGeometry() {
    QImage image = blank(12, 12);
    DeviceContext dc(&image);
    CGDIRectangle r;
    QCOMPARE(r.BorderWidth(), qint16(1));
    QCOMPARE(r.ForegroundMixMode(), R2_COPYPEN);
    QCOMPARE(r.BrushStyle(), BS_SOLID);
    r.setLeft(1);
    r.setTop(1);
    r.setRight(10);
    r.setBottom(10);
    r.setBorderColor(kRed);
    r.setFillColor(kBlue);
    r.DrawRectangle(&dc);
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        const bool inside = x >= 1 && x <= 9 && y >= 1 && y <= 9;
        const bool border = inside && (x == 1 || x == 9 || y == 1 || y == 9);
        QCOMPARE(at(image, x, y), border ? kRed : inside ? kBlue : kWhite);
      }

    // Hollow: only the outline; the inside keeps what lay beneath.
    image = blank(12, 12);
    dc.attach(&image);
    r.setBrushStyle(BS_HOLLOW);
    r.DrawRectangle(&dc);
    QCOMPARE(pixelsOf(image, kRed).size(), 32);
    QCOMPARE(pixelsOf(image, kBlue).size(), 0);
    QCOMPARE(at(image, 5, 5), kWhite);

    // A null pen fills one pixel less in each direction; swapped edges are sorted.
    image = blank(12, 12);
    dc.attach(&image);
    r.setBrushStyle(BS_SOLID);
    r.setPenStyle(PS_NULL);
    r.setLeft(10);
    r.setRight(1);
    r.DrawRectangle(&dc);
    const QList<QPoint> filled = pixelsOf(image, kBlue);
    QCOMPARE(filled.size(), 64);
    QCOMPARE(filled.first(), QPoint(1, 1));
    QCOMPARE(filled.last(), QPoint(8, 8));
  }

  void widePenStaysInsideTheBox() {
    QImage image = blank(12, 12);
    DeviceContext dc(&image);
    CGDIRectangle r;
    r.setRight(10);
    r.setBottom(10);
    r.setBorderWidth(3);
    r.setBorderColor(kRed);
    r.setFillColor(kBlue);
    r.DrawRectangle(&dc);
    QCOMPARE(pixelsOf(image, kBlue).size(), 16);  // 3..6 both ways
    QCOMPARE(at(image, 3, 3), kBlue);
    QCOMPARE(at(image, 2, 5), kRed);
    QCOMPARE(at(image, 9, 9), kRed);
    QCOMPARE(at(image, 10, 9), kWhite);
  }

  void hatchedBrushes_data() {
    QTest::addColumn<int>("hatch");
    QTest::addColumn<QPoint>("onLine");
    QTest::addColumn<QPoint>("offLine");
    QTest::newRow("horizontal") << HS_HORIZONTAL << QPoint(3, 8) << QPoint(8, 3);
    QTest::newRow("vertical") << HS_VERTICAL << QPoint(8, 3) << QPoint(3, 8);
    QTest::newRow("fdiagonal") << HS_FDIAGONAL << QPoint(5, 5) << QPoint(5, 6);
    QTest::newRow("bdiagonal") << HS_BDIAGONAL << QPoint(5, 11) << QPoint(5, 5);
    QTest::newRow("cross") << HS_CROSS << QPoint(8, 5) << QPoint(5, 5);
    QTest::newRow("diagcross") << HS_DIAGCROSS << QPoint(4, 12) << QPoint(5, 6);
  }

  void hatchedBrushes() {
    QFETCH(int, hatch);
    QFETCH(QPoint, onLine);
    QFETCH(QPoint, offLine);
    QImage image = blank(20, 20, rgb(1, 2, 3));
    DeviceContext dc(&image);
    dc.setBackgroundColour(rgb(0, 255, 0));
    CGDIRectangle r;
    r.setLeft(1);
    r.setTop(1);
    r.setRight(18);
    r.setBottom(18);
    r.setBrushStyle(BS_HATCHED);
    r.setHatchStyle(hatch);
    r.setFillColor(kBlue);
    r.setPenStyle(PS_NULL);
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, onLine.x(), onLine.y()), kBlue);
    QCOMPARE(at(image, offLine.x(), offLine.y()), rgb(0, 255, 0));  // opaque background
    dc.setBackgroundMode(TRANSPARENT);
    image = blank(20, 20, rgb(1, 2, 3));
    dc.attach(&image);
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, onLine.x(), onLine.y()), kBlue);
    QCOMPARE(at(image, offLine.x(), offLine.y()), rgb(1, 2, 3));
  }

  void refusedBrushFallsBackToTheContextsBrush() {
    QImage image = blank(6, 6, rgb(9, 9, 9));
    DeviceContext dc(&image);
    CGDIRectangle r;
    r.setRight(6);
    r.setBottom(6);
    r.setBrushStyle(BS_HATCHED);
    r.setHatchStyle(42);
    r.setFillColor(kBlue);
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, 3, 3), kWhite);  // the context's default white brush
    QCOMPARE(dc.brush().style, BS_SOLID);
  }

  void linesLeaveOutTheirEndPixel_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<QList<QPoint>>("expected");
    QTest::newRow("horizontal") << QPoint(2, 3) << QPoint(6, 3)
                                << QList<QPoint>{{2, 3}, {3, 3}, {4, 3}, {5, 3}};
    QTest::newRow("leftwards") << QPoint(6, 3) << QPoint(2, 3)
                               << QList<QPoint>{{3, 3}, {4, 3}, {5, 3}, {6, 3}};
    QTest::newRow("vertical") << QPoint(1, 0) << QPoint(1, 3)
                              << QList<QPoint>{{1, 0}, {1, 1}, {1, 2}};
    QTest::newRow("diagonal") << QPoint(0, 0) << QPoint(3, 3)
                              << QList<QPoint>{{0, 0}, {1, 1}, {2, 2}};
    QTest::newRow("shallow") << QPoint(0, 0) << QPoint(4, 2)
                             << QList<QPoint>{{0, 0}, {1, 0}, {2, 1}, {3, 1}};
    QTest::newRow("steep up") << QPoint(2, 6) << QPoint(3, 2)
                              << QList<QPoint>{{2, 4}, {2, 5}, {2, 6}, {3, 3}};
    QTest::newRow("single point") << QPoint(4, 4) << QPoint(4, 4) << QList<QPoint>{};
    QTest::newRow("clipped") << QPoint(-2147483647, 1) << QPoint(2147483647, 1)
                             << QList<QPoint>{{0, 1}, {1, 1}, {2, 1}, {3, 1},
                                              {4, 1}, {5, 1}, {6, 1}, {7, 1}};
    QTest::newRow("far off") << QPoint(-1000000, -999990) << QPoint(1000000, 1000010)
                             << QList<QPoint>{};
  }

  void linesLeaveOutTheirEndPixel() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(QList<QPoint>, expected);
    QImage image = blank(8, 8);
    DeviceContext dc(&image);
    CGDILine line;
    line.setX1(from.x());
    line.setY1(from.y());
    line.setX2(to.x());
    line.setY2(to.y());
    line.setBorderColor(kRed);
    line.DrawLine(&dc);
    QList<QPoint> drawn = pixelsOf(image, kRed);
    std::sort(expected.begin(), expected.end(),
              [](QPoint a, QPoint b) { return std::pair(a.y(), a.x()) < std::pair(b.y(), b.x()); });
    QCOMPARE(drawn, expected);
    QCOMPARE(dc.currentPosition(), to);
  }

  void dottedLineAndNullPen() {
    QImage image = blank(14, 2);
    DeviceContext dc(&image);
    dc.setBackgroundMode(TRANSPARENT);
    CGDILine line;
    line.setX2(14);
    line.setBorderColor(kRed);
    line.setPenStyle(PS_DOT);
    line.DrawLine(&dc);
    QString row;
    for (int x = 0; x < 14; ++x) row += at(image, x, 0) == kRed ? '#' : '.';
    QCOMPARE(row, QStringLiteral("###...###...##"));
    line.setY1(1);
    line.setY2(1);
    line.setPenStyle(PS_NULL);
    line.DrawLine(&dc);
    QCOMPARE(pixelsOf(image, kRed).size(), 8);
  }

  void mixModeIsSetOnlyForTheDraw() {
    QImage image = blank(4, 4, rgb(0, 0, 0x0F));
    DeviceContext dc(&image);
    dc.setRop2(R2_MASKPEN);
    CGDIRectangle r;  // copy-pen by default
    r.setRight(2);
    r.setBottom(2);
    r.setBorderColor(kRed);
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, 0, 0), kRed);
    QCOMPARE(dc.rop2(), R2_MASKPEN);
    r.setForegroundMixMode(R2_MERGEPEN);
    r.setLeft(2);
    r.setRight(4);
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, 2, 0), rgb(255, 0, 0x0F));
    QCOMPARE(dc.rop2(), R2_MASKPEN);
    QCOMPARE(dc.pen().colour, ColorRef(0));  // the context's own pen is back
  }

  void systemColours() {
    QCOMPARE(TranslateVBColor(0x8000000Fu), rgb(192, 192, 192));
    QCOMPARE(TranslateVBColor(0x80000005u), rgb(255, 255, 255));
    QCOMPARE(TranslateVBColor(0x80000001u), rgb(0, 128, 128));
    QCOMPARE(TranslateVBColor(0x80000010u), rgb(128, 128, 128));
    QCOMPARE(TranslateVBColor(0x80000018u), rgb(255, 255, 225));
    QCOMPARE(TranslateVBColor(0x800000FFu), ColorRef(0));
    QCOMPARE(TranslateVBColor(rgb(1, 2, 3)), rgb(1, 2, 3));
    QImage image = blank(3, 3);
    DeviceContext dc(&image);
    CGDIRectangle r;
    r.setRight(3);
    r.setBottom(3);
    r.setBorderColor(0x80000010u);
    r.setFillColor(0x8000000Fu);
    r.DrawRectangle(&dc);
    QCOMPARE(at(image, 0, 0), rgb(128, 128, 128));
    QCOMPARE(at(image, 1, 1), rgb(192, 192, 192));
  }

  void threeDimensionalOutlines() {
    QImage image = blank(12, 12);
    DeviceContext dc(&image);
    CGDIRectangle r;
    r.setLeft(1);
    r.setTop(1);
    r.setRight(8);
    r.setBottom(8);
    r.setBorderWidth(2);
    r.setBorderColor(kBlue);
    r.setBrushStyle(BS_HATCHED);
    r.Draw3DRectangle(&dc, rgb(10, 10, 10), rgb(250, 250, 250));
    QCOMPARE(at(image, 1, 1), rgb(10, 10, 10));     // shadow at the edges
    QCOMPARE(at(image, 3, 3), rgb(250, 250, 250));  // highlight 2 pixels in
    QCOMPARE(at(image, 9, 9), rgb(250, 250, 250));
    QCOMPARE(at(image, 10, 10), kWhite);
    QCOMPARE(at(image, 5, 5), kWhite);  // both outlines hollow
    QCOMPARE(r.Left(), 1);
    QCOMPARE(r.Bottom(), 8);
    QCOMPARE(r.BorderColor(), kBlue);
    QCOMPARE(r.BrushStyle(), BS_HATCHED);

    image = blank(8, 8);
    dc.attach(&image);
    CGDILine line;
    line.setX2(4);
    line.setBorderColor(kBlue);
    line.Draw3DLine(&dc, rgb(10, 10, 10), rgb(250, 250, 250));
    QCOMPARE(pixelsOf(image, rgb(10, 10, 10)), (QList<QPoint>{{0, 0}, {1, 0}, {2, 0}, {3, 0}}));
    QCOMPARE(pixelsOf(image, rgb(250, 250, 250)), (QList<QPoint>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    // A wider pen still moves by one pixel: the highlight's squares reach 5, 2.
    line.setBorderWidth(3);
    line.Draw3DLine(&dc, rgb(10, 10, 10), rgb(250, 250, 250));
    QCOMPARE(at(image, 5, 2), rgb(250, 250, 250));
    QCOMPARE(at(image, 6, 2), kWhite);
    QCOMPARE(at(image, 5, 3), kWhite);
    QCOMPARE(line.X1(), 0);
    QCOMPARE(line.X2(), 4);
    QCOMPARE(line.Y2(), 0);
    QCOMPARE(line.BorderColor(), kBlue);
  }

  void pixelsIgnoreTheMixModeAndStayInside() {
    QImage image = blank(4, 4);
    DeviceContext dc(&image);
    dc.setRop2(R2_MASKPEN);
    QCOMPARE(DrawPixel(&dc, 1, 2, rgb(5, 6, 7)), rgb(5, 6, 7));
    QCOMPARE(GetPixelColor(&dc, 1, 2), rgb(5, 6, 7));
    QCOMPARE(DrawPixel(&dc, 4, 0, kRed), kInvalidColor);
    QCOMPARE(DrawPixel(&dc, -1, 0, kRed), kInvalidColor);
    QCOMPARE(GetPixelColor(&dc, 0, 4), kInvalidColor);
    QCOMPARE(pixelsOf(image, kRed).size(), 0);
  }

  void drawingIsClippedToTheSurface() {
    QImage image = blank(5, 5);
    DeviceContext dc(&image);
    CGDIRectangle r;
    r.setLeft(-2147483647 - 1);
    r.setTop(3);
    r.setRight(2147483647);
    r.setBottom(2147483647);
    r.setBorderColor(kRed);
    r.setFillColor(kRed);
    r.DrawRectangle(&dc);
    QCOMPARE(pixelsOf(image, kRed).size(), 10);
    r.setPenStyle(PS_DASH);
    r.DrawRectangle(&dc);
    QCOMPARE(image.size(), QSize(5, 5));
  }

  void errorsOnMissingSurfacesAreReported() {
    QList<CapturedReport> reports;
    setGdiErrorReporter([&](const QString &text, const QString &title) {
      reports.append({text, title});
    });
    CGDIRectangle r;
    CGDILine l;
    DeviceContext none;
    r.DrawRectangle(nullptr);
    r.Draw3DRectangle(&none, 0, 0);
    l.DrawLine(&none);
    l.Draw3DLine(nullptr, 0, 0);
    QImage image = blank(2, 2);
    DeviceContext released(&image);
    released.release();
    DrawPixel(&released, 0, 0, kRed);
    GetPixelColor(nullptr, 0, 0);
    const QStringList titles{"DrawRectangle", "Draw3DRectangle", "DrawLine",
                             "Draw3DLine",    "DrawPixel",       "GetPixelColor"};
    QCOMPARE(reports.size(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
      QCOMPARE(reports[i].title, titles[i]);
      QCOMPARE(reports[i].text,
               QStringLiteral("Error: 91. The device context has no drawing surface"));
    }
    QCOMPARE(at(image, 0, 0), kWhite);
  }

  void threeDimensionalOverflowStopsTheProcedure() {
    QList<CapturedReport> reports;
    setGdiErrorReporter([&](const QString &text, const QString &title) {
      reports.append({text, title});
    });
    QImage image = blank(2, 2);
    DeviceContext dc(&image);
    CGDILine line;
    line.setX2(2147483647);
    line.Draw3DLine(&dc, kRed, kBlue);
    QCOMPARE(reports.size(), 1);
    QCOMPARE(reports[0].title, QStringLiteral("Draw3DLine"));
    QCOMPARE(reports[0].text, QStringLiteral("Error: 6. Overflow"));
    QCOMPARE(line.X2(), 2147483647);
  }
};

QTEST_GUILESS_MAIN(TestGdi)
#include "test_gdi.moc"
