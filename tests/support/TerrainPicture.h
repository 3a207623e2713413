// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

#include <vector>

namespace vmm::test {

// A battlefield picture made from a known terrain map, for measuring how well the map
// is painted from a few examples. Terrains differ by colour or only by texture (meadow
// and scrub share a colour), their borders are ragged, a road and a river cross the
// map, light and shade vary across it, and the picture goes through JPEG compression.
// The same seed always gives the same picture.
struct TerrainPicture {
  enum Terrain : qint16 { Meadow = 1, Wood, Field, Scrub, Road, River, TerrainCount = 6 };

  QImage picture;  // xQuads * 40 x yQuads * 40, Format_RGB32
  int xQuads = 0;
  int yQuads = 0;
  std::vector<qint16> truth;  // the terrain covering most of each Sector cell, cell by cell

  static TerrainPicture generate(int xQuads, int yQuads, unsigned seed, int jpegQuality = 80);
  // `share` of the cells (evenly drawn with `seed`, with at least three of every terrain present
  // unless `share` is 0) keep their true terrain, the rest -1.
  std::vector<qint16> examples(double share, unsigned seed) const;
};

}  // namespace vmm::test
