// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/MapSurfaces.h"
#include "mapview/SectorPainter.h"

#include <QtTest>

using namespace vmm;

namespace {

constexpr ColorRef kTeal = rgb(0, 64, 64);
constexpr ColorRef kRedish = rgb(0xC0, 0x01, 0x00);
constexpr ColorRef kBluish = rgb(0x00, 0x02, 0x90);

// A picture with a different colour at every pixel, so a restored cell is
// told apart from a painted or shifted one.
QImage testPicture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      image.setPixel(x, y, toPixel(rgb((x * 7) & 0xFF, (y * 5) & 0xFF, 0x20)));
  return image;
}

ColorRef at(const QImage &image, int x, int y) {
  return fromPixel(image.pixel(x, y));
}

// Records every value written to MapData.
struct ChangeLog : ChangeObserver {
  QList<SectorChange> changes;
  void sectorChanged(const SectorChange &change) override { changes.append(change); }
};

// A 3 x 3 Quad map (120 x 120 pixels, 160 high when asked) ready for painting.
struct PaintedMap {
  explicit PaintedMap(int height = 120, int width = 120)
      : picture(testPicture(width, height)), surfaces(picture) {
    doc.XQuads = 3;
    doc.YQuads = 3;
    doc.TotalQuads = 9;
    doc.mapReady = true;
    doc.addChangeObserver(&log);
    setElement(5, kRedish);
    setElement(7, kBluish);
    heights.setColour(0, rgb(0, 0xFF, 0));
    heights.setColour(100, rgb(0xFF, 0xFF, 0));
  }
  void setElement(int id, ColorRef colour) {
    elements.row(id).colour = colour;
    elements.row(id).filled = true;
  }
  // The painted 9 x 9 block of a Sector cell.
  QRect inner(int quad, int sect) const {
    return SectorPainter::sectorCellRect(doc, quad, sect).adjusted(1, 1, 0, 0);
  }

  QImage picture;
  MapDocument doc;
  ElementTable elements;
  HeightColours heights;
  MapSurfaces surfaces;
  ChangeLog log;
  int style = int(DrawStyle::Solid);
  QList<bool> readyWhileDrawing;  // mapReady each time the style is read
  SectorPainter painter{doc, elements, heights,
                        [this] {
                          readyWhileDrawing.append(doc.mapReady);
                          return static_cast<DrawStyle>(style);
                        },
                        &surfaces};
};

}  // namespace

class TestColouring : public QObject {
  Q_OBJECT

 private slots:
  void gridOnBothPlanes() {
    PaintedMap map(160);  // one more row of Quads than the map holds
    QCOMPARE(map.surfaces.AddGrid(), QRect(0, 0, 120, 160));
    for (MapView view : {MapView::Terrain, MapView::Elevation}) {
      const QImage &s = map.surfaces.surface(view);
      for (int y = 0; y < 160; ++y)
        for (int x = 0; x < 120; ++x) {
          ColorRef expected = at(map.picture, x, y);
          if (y > 0 && y % 10 == 0) expected = y % 40 == 0 ? 0 : kTeal;
          if (x > 0 && x % 10 == 0) expected = x % 40 == 0 ? 0 : kTeal;  // drawn last
          QCOMPARE(at(s, x, y), expected);
        }
    }
    QCOMPARE(map.surfaces.surface(MapView::Image), map.picture);
  }

  void drawStyles_data() {
    QTest::addColumn<int>("style");
    QTest::newRow("solid") << int(DrawStyle::Solid);
    QTest::newRow("transparent") << int(DrawStyle::Transparent);
    QTest::newRow("hollow") << int(DrawStyle::Hollow);
    QTest::newRow("none") << int(DrawStyle::None);
  }

  void drawStyles() {
    QFETCH(int, style);
    PaintedMap map;
    map.style = style;
    map.painter.ColourSquare(4, 5, 5);
    QCOMPARE(map.doc.value(4, 5, Plane::Element), qint16(5));  // recorded whatever the style
    const QRect cell = SectorPainter::sectorCellRect(map.doc, 4, 5);
    const QImage &terrain = map.surfaces.surface(MapView::Terrain);
    for (int y = cell.top() - 1; y <= cell.bottom() + 1; ++y)
      for (int x = cell.left() - 1; x <= cell.right() + 1; ++x) {
        const ColorRef old = at(map.picture, x, y);
        ColorRef expected = old;
        if (map.inner(4, 5).contains(x, y)) {
          const bool edge = x == cell.left() + 1 || x == cell.right() || y == cell.top() + 1 ||
                            y == cell.bottom();
          if (style == int(DrawStyle::Solid)) expected = kRedish;
          if (style == int(DrawStyle::Transparent)) expected = old | kRedish;
          if (style == int(DrawStyle::Hollow) && edge) expected = kRedish;
        }
        QCOMPARE(at(terrain, x, y), expected);
      }
    QCOMPARE(map.surfaces.surface(MapView::Elevation), map.picture);
    QCOMPARE(map.surfaces.surface(MapView::Image), map.picture);
  }

  void erasingRestoresTheInsideAndKeepsTheGrid_data() {
    QTest::addColumn<int>("plane");
    QTest::newRow("terrain") << int(Plane::Element);
    QTest::newRow("elevation") << int(Plane::Height);
  }

  void erasingRestoresTheInsideAndKeepsTheGrid() {
    QFETCH(int, plane);
    const Plane p = Plane(plane);
    PaintedMap reference;
    reference.surfaces.AddGrid();
    PaintedMap map;
    map.surfaces.AddGrid();
    map.painter.colourQuad(p, 4, p == Plane::Element ? 5 : 100);
    QVERIFY(map.surfaces.surface(p) != reference.surfaces.surface(p));
    QCOMPARE(map.painter.eraseQuad(p, 4), QRect(41, 41, 39, 39));
    QCOMPARE(map.surfaces.surface(p), reference.surfaces.surface(p));
    for (int sect = 0; sect < kSectorsPerQuad; ++sect)
      QCOMPARE(map.doc.value(4, sect, p), kUnassigned);
    QCOMPARE(map.surfaces.context(p).rop2(), R2_MASKPEN);
  }

  void hollowPreEraseWhilePainting() {
    PaintedMap map;
    map.painter.ColourSquare(0, 5, 5);  // solid fill
    map.style = int(DrawStyle::Hollow);
    map.doc.mousePainting = true;
    map.log.changes.clear();
    map.painter.ColourSquare(0, 5, 7);
    const QImage &terrain = map.surfaces.surface(MapView::Terrain);
    QCOMPARE(at(terrain, 11, 11), kBluish);                  // outline
    QCOMPARE(at(terrain, 15, 15), at(map.picture, 15, 15));  // earlier fill gone
    QCOMPARE(map.doc.value(0, 5, Plane::Element), qint16(7));
    QCOMPARE(map.log.changes.size(), 1);  // no -1 written on the way
    QCOMPARE(map.surfaces.context(MapView::Terrain).rop2(), R2_MASKPEN);
  }

  void writeThroughOnlyWhileMapReady() {
    PaintedMap map;
    map.doc.mapReady = false;
    map.painter.ColourSquare(2, 3, 5);
    QCOMPARE(map.doc.value(2, 3, Plane::Element), kUnassigned);
    QCOMPARE(at(map.surfaces.surface(MapView::Terrain), 115, 5), kRedish);  // drawn all the same
    map.doc.mapReady = true;
    map.painter.ColourSquare(2, 3, 5);
    map.doc.mapReady = false;
    map.painter.EraseSquare(2, 3);
    QCOMPARE(map.doc.value(2, 3, Plane::Element), qint16(5));
    QCOMPARE(at(map.surfaces.surface(MapView::Terrain), 115, 5), at(map.picture, 115, 5));
    map.doc.mapReady = true;
    map.painter.EraseSquare(2, 3);
    QCOMPARE(map.doc.value(2, 3, Plane::Element), kUnassigned);
    // Without surfaces to draw on, the value is still recorded.
    MapSurfaces none;
    map.painter.setSurfaces(&none);
    QVERIFY(map.painter.ColourSquare(0, 0, 5).isEmpty());
    QCOMPARE(map.doc.value(0, 0, Plane::Element), qint16(5));
  }

  void wholeMapRepaint() {
    PaintedMap map(160);  // one more row of Quads than the map holds
    map.painter.ColourSquare(0, 0, 5);
    map.painter.ColourSquare(8, 15, 7);
    map.doc.setValue(9, 0, Plane::Element, 7);    // Quad TotalQuads
    map.doc.setValue(10, 0, Plane::Element, 7);   // beyond it
    map.doc.setValue(1, 0, Plane::Element, 400);  // no catalogue row
    map.painter.ColourSquareElevation(4, 0, 100);
    map.surfaces.restoreFromImage(Plane::Element);
    map.surfaces.restoreFromImage(Plane::Height);
    map.log.changes.clear();
    map.readyWhileDrawing.clear();

    QCOMPARE(map.painter.ColourMap(), QRect(QPoint(1, 1), QPoint(119, 129)));
    QCOMPARE(map.log.changes.size(), 0);
    QCOMPARE(map.readyWhileDrawing, QList<bool>(3, false));  // Quads 0, 8 and 9, all off
    QCOMPARE(map.doc.mapReady, true);
    const QImage &terrain = map.surfaces.surface(MapView::Terrain);
    QCOMPARE(at(terrain, 5, 5), kRedish);
    QCOMPARE(at(terrain, 115, 115), kBluish);
    QCOMPARE(at(terrain, 5, 125), kBluish);                    // Quad 9 visited
    QCOMPARE(at(terrain, 45, 125), at(map.picture, 45, 125));  // Quad 10 not
    QCOMPARE(at(terrain, 45, 5), at(map.picture, 45, 5));      // element 400 not drawn

    // The height repaint leaves mapReady as it finds it.
    map.doc.mapReady = false;
    QCOMPARE(map.painter.ColourMapElevation(), QRect(41, 41, 9, 9));
    QCOMPARE(map.doc.mapReady, false);
    QCOMPARE(at(map.surfaces.surface(MapView::Elevation), 45, 45), rgb(0xFF, 0xFF, 0));
    QCOMPARE(map.log.changes.size(), 0);
  }

  void repaintInOnePassMatchesRestoreThenColour_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("plane");
    QTest::addColumn<int>("totalQuads");
    QTest::addColumn<int>("width");
    for (const auto &[style, name] :
         {std::pair{DrawStyle::Solid, "solid"}, std::pair{DrawStyle::Transparent, "transparent"},
          std::pair{DrawStyle::Hollow, "hollow"}}) {
      QTest::addRow("%s terrain", name) << int(style) << int(Plane::Element) << 9 << 120;
      QTest::addRow("%s elevation", name) << int(style) << int(Plane::Height) << 9 << 120;
      // Fewer Quads than the picture: the rows below them still get picture and grid.
      QTest::addRow("%s part row", name) << int(style) << int(Plane::Element) << 4 << 120;
      // The last column of cells cut by the picture's edge: nothing written past it.
      QTest::addRow("%s cut cells", name) << int(style) << int(Plane::Element) << 9 << 115;
    }
  }

  void repaintInOnePassMatchesRestoreThenColour() {
    QFETCH(int, style);
    QFETCH(int, plane);
    QFETCH(int, totalQuads);
    QFETCH(int, width);
    const Plane p = Plane(plane);
    PaintedMap twoSteps(160, width);  // one more row of Quads than the map holds
    PaintedMap onePass(160, width);
    for (PaintedMap *map : {&twoSteps, &onePass}) {
      map->style = style;
      map->surfaces.AddGrid();
      for (int quad = 0; quad <= 9; ++quad)
        for (int sect = 0; sect < kSectorsPerQuad; sect += 3) {
          map->doc.setValue(quad, sect, Plane::Element, (quad + sect) % 2 ? 5 : 7);
          map->doc.setValue(quad, sect, Plane::Height, (quad + sect) % 2 ? 0 : 100);
        }
      // Earlier paint the repaint has to cover.
      map->painter.ColourQuad(7, 5);
      map->painter.ColourQuadElevation(2, 0);
      map->doc.TotalQuads = qint16(totalQuads);
      map->log.changes.clear();
      map->readyWhileDrawing.clear();
    }
    twoSteps.surfaces.restoreWithGrid(p);
    twoSteps.painter.colourMap(p);
    QCOMPARE(onePass.painter.repaintMap(p), QRect(0, 0, width, 160));
    QCOMPARE(onePass.surfaces.surface(MapView::Terrain),
             twoSteps.surfaces.surface(MapView::Terrain));
    QCOMPARE(onePass.surfaces.surface(MapView::Elevation),
             twoSteps.surfaces.surface(MapView::Elevation));
    QCOMPARE(onePass.log.changes.size(), twoSteps.log.changes.size());
    // The one pass reads the style once, the Sector by Sector path for every Sector: both
    // with mapReady as it must be while drawing.
    const auto seen = [](const QList<bool> &reads) {
      return QSet<bool>(reads.begin(), reads.end());
    };
    QVERIFY(!onePass.readyWhileDrawing.isEmpty());
    QCOMPARE(seen(onePass.readyWhileDrawing), seen(twoSteps.readyWhileDrawing));
    QCOMPARE(onePass.doc.mapReady, twoSteps.doc.mapReady);
  }

  void manySectorsAtOnceMatchSectorBySector_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<int>("plane");
    QTest::addColumn<bool>("mousePainting");
    QTest::addColumn<int>("value");
    for (const auto &[style, name] :
         {std::pair{DrawStyle::Solid, "solid"}, std::pair{DrawStyle::Transparent, "transparent"},
          std::pair{DrawStyle::Hollow, "hollow"}, std::pair{DrawStyle::None, "no style"}}) {
      QTest::addRow("%s terrain, painting", name) << int(style) << int(Plane::Element) << true << 5;
      QTest::addRow("%s terrain, redrawing", name)
          << int(style) << int(Plane::Element) << false << 7;
      QTest::addRow("%s elevation", name) << int(style) << int(Plane::Height) << true << 100;
    }
    QTest::newRow("element -1") << int(DrawStyle::Solid) << int(Plane::Element) << true << -1;
    QTest::newRow("height without a colour")
        << int(DrawStyle::Hollow) << int(Plane::Height) << true << 50;
  }

  void manySectorsAtOnceMatchSectorBySector() {
    QFETCH(int, style);
    QFETCH(int, plane);
    QFETCH(bool, mousePainting);
    QFETCH(int, value);
    const Plane p = Plane(plane);
    // Cells cut by the picture's right edge, Quads below it and outside the array, and
    // earlier paint of both elements to tint over or clear.
    const std::vector<SectorAddress> sectors{{0, 0},  {0, 5}, {2, 3},  {2, 15},   {4, 6},
                                             {8, 15}, {9, 0}, {-1, 2}, {5001, 1}, {7, 4}};
    PaintedMap oneByOne(120, 115);
    PaintedMap atOnce(120, 115);
    for (PaintedMap *map : {&oneByOne, &atOnce}) {
      map->surfaces.AddGrid();
      map->painter.colourQuad(p, 2, p == Plane::Element ? 7 : 0);
      map->style = int(DrawStyle::Transparent);
      map->painter.colourQuad(p, 4, p == Plane::Element ? 5 : 100);
      map->style = style;
      map->doc.mousePainting = mousePainting;
      map->surfaces.context(p).setRop2(R2_NOP);
      map->log.changes.clear();
    }
    QRect changed;
    for (const SectorAddress &at : sectors)
      changed |= oneByOne.painter.colourSquare(p, at.quad, at.sector, qint16(value));
    QCOMPARE(atOnce.painter.colourSquares(p, sectors, qint16(value)), changed);
    QCOMPARE(atOnce.surfaces.surface(p), oneByOne.surfaces.surface(p));
    QCOMPARE(atOnce.surfaces.context(p).rop2(), oneByOne.surfaces.context(p).rop2());
    QCOMPARE(atOnce.log.changes.size(), oneByOne.log.changes.size());
    for (int i = 0; i < atOnce.log.changes.size(); ++i) {
      QCOMPARE(atOnce.log.changes[i].quad, oneByOne.log.changes[i].quad);
      QCOMPARE(atOnce.log.changes[i].sector, oneByOne.log.changes[i].sector);
      QCOMPARE(atOnce.log.changes[i].newValue, oneByOne.log.changes[i].newValue);
    }
  }

  void nothingDrawnForValuesWithoutColoursOrQuadsOutside_data() {
    QTest::addColumn<int>("plane");
    QTest::addColumn<int>("quad");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("recorded");  // the value Sector 7 holds afterwards
    const int el = int(Plane::Element), ht = int(Plane::Height), none = kUnassigned;
    QTest::newRow("element past the table") << el << 0 << 400 << 400;
    QTest::newRow("element without a row") << el << 0 << 10 << 10;
    QTest::newRow("height 101") << ht << 0 << 101 << 101;
    QTest::newRow("height without a colour") << ht << 0 << 50 << 50;
    QTest::newRow("unassigned over paint") << el << 1 << none << 5;  // nothing written
    QTest::newRow("Quad -1") << el << -1 << 5 << none;
    QTest::newRow("Quad below the picture, erased") << el << 9 << 5 << none;
    QTest::newRow("Quad past the array") << el << 5001 << 5 << none;
    QTest::newRow("Quad far negative") << el << -2147483647 << 5 << none;
  }

  void nothingDrawnForValuesWithoutColoursOrQuadsOutside() {
    QFETCH(int, plane);
    QFETCH(int, quad);
    QFETCH(int, value);
    QFETCH(int, recorded);
    const Plane p = Plane(plane);
    for (int style : {0, 1, 2}) {
      PaintedMap map;
      map.painter.ColourQuad(1, 5);
      const QImage before = map.surfaces.surface(p).copy();
      map.style = style;
      map.doc.mousePainting = true;
      QVERIFY(map.painter.colourQuad(p, quad, qint16(value)).isEmpty());
      if (quad < 0 || quad > 8) QVERIFY(map.painter.eraseQuad(p, quad).isEmpty());
      QCOMPARE(map.doc.value(quad, 7, p), qint16(recorded));
      QCOMPARE(map.surfaces.surface(p), before);
    }
  }
};

QTEST_GUILESS_MAIN(TestColouring)
#include "test_colouring.moc"
