// SPDX-License-Identifier: GPL-3.0-or-later
// The area rules of the core: brush squares, rectangles, lines, the bucket fill's
// region and replacing a value, on the grid of Sectors of a picture.
#include "document/MapDocument.h"
#include "edits/AreaShapes.h"
#include "edits/FloodFill.h"
#include "edits/Replace.h"
#include "support/AreaDriver.h"

#include <QtTest>

#include <cmath>

using namespace vmm;
using test::block;
using test::blockOf;

Q_DECLARE_METATYPE(vmm::Plane)

namespace {

// A 6 x 3 Quad picture: 24 x 12 Sectors.
constexpr int kXQuads = 6;
constexpr int kYQuads = 3;

const SectorGrid kGrid(kXQuads, kYQuads);

MapDocument *newDocument(int xQuads = kXQuads, int yQuads = kYQuads) {
  auto *doc = new MapDocument;
  doc->XQuads = qint16(xQuads);
  doc->YQuads = qint16(yQuads);
  doc->TotalQuads = qint16(xQuads * yQuads);
  return doc;
}

void setCell(MapDocument &doc, SectorCell cell, qint16 value, Plane plane = Plane::Element) {
  const SectorAddress at = SectorGrid(doc).address(cell);
  doc.setValue(at.quad, at.sector, plane, value);
}

// The cells of a list of Sectors, found through the document's own pixel origin of each
// Sector rather than the grid under test.
test::Cells cellsOf(const std::vector<SectorAddress> &sectors) {
  MapDocument doc;
  doc.XQuads = kXQuads;
  test::Cells cells;
  for (const SectorAddress &at : sectors) {
    const MapDocument::Origin o = doc.sectorOrigin(at.quad, at.sector);
    cells.insert({o.x / kSectorPixels, o.y / kSectorPixels});
  }
  return cells;
}

bool inArrayOrder(const std::vector<SectorAddress> &sectors) {
  return std::is_sorted(sectors.begin(), sectors.end(), [](SectorAddress a, SectorAddress b) {
    return a.quad != b.quad ? a.quad < b.quad : a.sector < b.sector;
  });
}

}  // namespace

class TestAreaShapes : public QObject {
  Q_OBJECT

 private slots:
  void brushAtEdgesAndCorners_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("size");
    QTest::addColumn<QRect>("covered");  // cells, as left, top, width, height
    QTest::newRow("1 in the top-left corner") << 0 << 0 << 1 << QRect(0, 0, 1, 1);
    QTest::newRow("3 in the top-left corner") << 0 << 0 << 3 << QRect(0, 0, 2, 2);
    QTest::newRow("2 in the bottom-right corner") << 23 << 11 << 2 << QRect(23, 11, 1, 1);
    QTest::newRow("5 in the bottom-right corner") << 23 << 11 << 5 << QRect(21, 9, 3, 3);
    QTest::newRow("5 one in from the top edge") << 10 << 1 << 5 << QRect(8, 0, 5, 4);
    QTest::newRow("3 across a Quad corner") << 4 << 4 << 3 << QRect(3, 3, 3, 3);
    QTest::newRow("2 with the pointer top-left") << 3 << 3 << 2 << QRect(3, 3, 2, 2);
    QTest::newRow("5 in the middle") << 12 << 6 << 5 << QRect(10, 4, 5, 5);
  }

  void brushAtEdgesAndCorners() {
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(int, size);
    QFETCH(QRect, covered);
    const std::vector<SectorAddress> sectors = sectorsOf(kGrid, brushSpan({column, row}, size));
    QCOMPARE(cellsOf(sectors), blockOf(covered));
    QCOMPARE(int(sectors.size()), covered.width() * covered.height());  // each Sector once
    QVERIFY(inArrayOrder(sectors));
  }

  void brushSizesStepAndStop() {
    QCOMPARE(steppedBrushSize(3, 1), 5);
    QCOMPARE(steppedBrushSize(5, 1), 5);
    QCOMPARE(steppedBrushSize(2, -1), 1);
    QCOMPARE(steppedBrushSize(1, -1), 1);
    QVERIFY(isBrushSize(5) && !isBrushSize(4) && !isBrushSize(0));
  }

  void rectangleInEachDirection_data() {
    QTest::addColumn<QPoint>("from");
    QTest::addColumn<QPoint>("to");
    QTest::addColumn<bool>("wholeQuads");
    QTest::addColumn<QRect>("covered");
    QTest::addColumn<QRect>("outline");  // the rubber band, in pixels
    const QRect sectors(5, 2, 5, 4);     // cells 5..9 by 2..5
    const QRect quads(4, 0, 8, 8);       // Quad columns 1 and 2, Quad rows 0 and 1
    const QList<std::pair<QPoint, QPoint>> directions{
        {{5, 2}, {9, 5}}, {{9, 5}, {5, 2}}, {{9, 2}, {5, 5}}, {{5, 5}, {9, 2}}};
    const char *names[] = {"down right", "up left", "down left", "up right"};
    for (int i = 0; i < 4; ++i) {
      const auto [from, to] = directions[i];
      QTest::addRow("Sectors, %s", names[i])
          << from << to << false << sectors << QRect(50, 20, 51, 41);
      QTest::addRow("Quads, %s", names[i]) << from << to << true << quads << QRect(40, 0, 81, 81);
    }
    QTest::newRow("one Sector") << QPoint(23, 11) << QPoint(23, 11) << false << QRect(23, 11, 1, 1)
                                << QRect(230, 110, 11, 11);
    QTest::newRow("one Quad from its last Sector")
        << QPoint(23, 11) << QPoint(23, 11) << true << QRect(20, 8, 4, 4) << QRect(200, 80, 41, 41);
  }

  void rectangleInEachDirection() {
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    QFETCH(bool, wholeQuads);
    QFETCH(QRect, covered);
    QFETCH(QRect, outline);
    const SectorSpan span = rectangleSpan({from.x(), from.y()}, {to.x(), to.y()}, wholeQuads);
    const std::vector<SectorAddress> sectors = sectorsOf(kGrid, span);
    QCOMPARE(cellsOf(sectors), blockOf(covered));
    QVERIFY(inArrayOrder(sectors));
    QCOMPARE(span.clippedTo(kGrid).pixelOutline(), outline);
  }

  void lineInEachOctant_data() {
    QTest::addColumn<QPoint>("to");  // from cell (12, 6)
    QTest::newRow("east, shallow") << QPoint(19, 9);
    QTest::newRow("south, steep") << QPoint(15, 11);
    QTest::newRow("south-west, steep") << QPoint(10, 11);
    QTest::newRow("west, shallow") << QPoint(3, 8);
    QTest::newRow("west, rising") << QPoint(0, 2);
    QTest::newRow("north, steep") << QPoint(10, 0);
    QTest::newRow("north-east, steep") << QPoint(16, 0);
    QTest::newRow("east, rising") << QPoint(23, 3);
    QTest::newRow("diagonal") << QPoint(18, 0);
    QTest::newRow("straight down") << QPoint(12, 11);
    QTest::newRow("a single cell") << QPoint(12, 6);
  }

  void lineInEachOctant() {
    QFETCH(QPoint, to);
    const SectorCell start{12, 6};
    const std::vector<SectorCell> line = sectorLine(start, {to.x(), to.y()});
    const int dx = to.x() - start.column;
    const int dy = to.y() - start.row;
    const bool shallow = std::abs(dx) >= std::abs(dy);
    QCOMPARE(int(line.size()), std::max(std::abs(dx), std::abs(dy)) + 1);
    QCOMPARE(line.front(), start);
    QCOMPARE(line.back(), (SectorCell{to.x(), to.y()}));
    for (std::size_t i = 0; i < line.size(); ++i) {
      const SectorCell cell = line[i];
      // The long axis advances by exactly one cell at every step (so the line is
      // 8-connected and has no doubled cells), and the short axis never strays more
      // than half a cell from the true line.
      const int along = shallow ? cell.column - start.column : cell.row - start.row;
      QCOMPARE(std::abs(along), int(i));
      if (dx == 0 && dy == 0) continue;
      const double ideal =
          shallow ? start.row + double(dy) * along / dx : start.column + double(dx) * along / dy;
      const int across = shallow ? cell.row : cell.column;
      QVERIFY2(std::abs(across - ideal) <= 0.5, qPrintable(QString::number(i)));
    }
  }

  void lineAreasWithBrushesAndQuads() {
    // The known Bresenham line from (0, 0) to (5, 2).
    const std::vector<SectorCell> expected{{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    QVERIFY(sectorLine({0, 0}, {5, 2}) == expected);
    // A brush of 3 along a row: one band three Sectors high.
    std::vector<SectorAddress> sectors = lineSectors(kGrid, {2, 2}, {6, 2}, 3, false);
    QCOMPARE(cellsOf(sectors), block(1, 1, 7, 3));
    QCOMPARE(int(sectors.size()), 21);
    QVERIFY(inArrayOrder(sectors));
    // The same line in a Quad mode: the two Quads it crosses.
    QCOMPARE(cellsOf(lineSectors(kGrid, {2, 2}, {6, 2}, 3, true)), block(0, 0, 7, 3));
    // A brush of 5 along the top edge: clipped to the picture.
    QCOMPARE(cellsOf(lineSectors(kGrid, {0, 0}, {3, 0}, 5, false)), block(0, 0, 5, 2));
  }

  void floodRegions_data() {
    QTest::addColumn<Plane>("plane");
    QTest::addColumn<QPoint>("start");
    QTest::addColumn<QRect>("region");  // cells; empty for the isolated Sector alone
    // The map: value 7 everywhere except a wall of 9 down column 8 and two Sectors
    // of 3 that touch only at a corner, (14, 6) and (15, 7).
    QTest::newRow("stops at a different value, across Quad borders")
        << Plane::Element << QPoint(2, 2) << QRect(0, 0, 8, 12);
    QTest::newRow("the wall itself, down three Quad rows")
        << Plane::Element << QPoint(8, 11) << QRect(8, 0, 1, 12);
    QTest::newRow("an isolated Sector, its corner neighbour left alone")
        << Plane::Element << QPoint(14, 6) << QRect(14, 6, 1, 1);
    QTest::newRow("heights: the whole picture, not the Quads beyond it")
        << Plane::Height << QPoint(23, 11) << QRect(0, 0, 24, 12);
  }

  void floodRegions() {
    QFETCH(Plane, plane);
    QFETCH(QPoint, start);
    QFETCH(QRect, region);
    std::unique_ptr<MapDocument> doc(newDocument());
    for (int column = 0; column < 24; ++column)
      for (int row = 0; row < 12; ++row) setCell(*doc, {column, row}, column == 8 ? 9 : 7);
    setCell(*doc, {14, 6}, 3);
    setCell(*doc, {15, 7}, 3);
    const SectorAddress at = kGrid.address({start.x(), start.y()});
    const std::vector<SectorAddress> found = floodRegion(*doc, plane, at);
    QCOMPARE(cellsOf(found), blockOf(region));
    QVERIFY(inArrayOrder(found));
    // Unassigned Quads beyond the picture hold the same value but lie outside it.
    for (const SectorAddress &sector : found) QVERIFY(sector.quad < doc->TotalQuads);
  }

  void floodFillsTheLargestMapWithoutRecursion() {
    // 72 x 69 Quads: 79 488 Sectors of one value, reached along a winding path of
    // single Sectors where every other row is walled off but for one end.
    std::unique_ptr<MapDocument> doc(newDocument(72, 69));
    const SectorGrid grid(*doc);
    for (int row = 0; row < grid.rows(); ++row)
      for (int column = 0; column < grid.columns(); ++column) {
        const bool wall = row % 2 == 1 && column != (row % 4 == 1 ? grid.columns() - 1 : 0);
        setCell(*doc, {column, row}, wall ? 2 : 1);
      }
    const std::vector<SectorAddress> path = floodRegion(*doc, Plane::Element, {0, 0});
    const int walls = (grid.rows() / 2) * (grid.columns() - 1);
    QCOMPARE(int(path.size()), grid.columns() * grid.rows() - walls);
    replaceValue(*doc, Plane::Element, 1, 2);
    QCOMPARE(int(floodRegion(*doc, Plane::Element, {5000, 0}).size()), 0);  // outside the picture
    QCOMPARE(int(floodRegion(*doc, Plane::Element, {0, 0}).size()), 79488);
  }

  void replaceOnBothPlanes_data() {
    QTest::addColumn<Plane>("plane");
    QTest::newRow("elements") << Plane::Element;
    QTest::newRow("heights") << Plane::Height;
  }

  void replaceOnBothPlanes() {
    QFETCH(Plane, plane);
    const Plane other = plane == Plane::Element ? Plane::Height : Plane::Element;
    std::unique_ptr<MapDocument> doc(newDocument());
    for (const int quad : {0, 17, 5000}) {  // 5000 lies beyond the picture, as fills reach
      doc->setValue(quad, 3, plane, 12);
      doc->setValue(quad, 4, plane, 13);
      doc->setValue(quad, 3, other, 12);
    }
    QCOMPARE(replaceValue(*doc, plane, 12, 40), 3);
    for (const int quad : {0, 17, 5000}) {
      QCOMPARE(doc->value(quad, 3, plane), qint16(40));
      QCOMPARE(doc->value(quad, 4, plane), qint16(13));
      QCOMPARE(doc->value(quad, 3, other), qint16(12));
    }
    QCOMPARE(replaceValue(*doc, plane, 40, 40), 0);
    QCOMPARE(replaceValue(*doc, plane, 13, kUnassigned), 3);  // a clear of 13
    QCOMPARE(doc->value(17, 4, plane), kUnassigned);
  }
};

QTEST_MAIN(TestAreaShapes)
#include "test_areashapes.moc"
