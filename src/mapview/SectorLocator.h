// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

namespace vmm {

// A Quad and Sector under a point of a view surface.
struct SectorHit {
  qint16 quad = 0;
  qint16 sector = 0;
};

// The mouse hit test. Pixel column 10 of a Quad belongs to the left Sector
// column and pixel row 10 to the lower Sector row, as the grid is drawn.
class SectorLocator {
 public:
  // The raw arithmetic for any point (no range check): Quad = row * XQuads + column.
  static SectorHit LocateSector(double x, double y, int xQuads);
  // The hit for a point inside a picture of xQuads by yQuads Quads; nothing for
  // points outside it, so they can neither paint nor wrap into the next row.
  static std::optional<SectorHit> locateInside(double x, double y, int xQuads, int yQuads);
};

}  // namespace vmm
