// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/SectorLocator.h"

#include <cmath>

namespace vmm {

namespace {

// Sector column from the x offset inside a Quad: 0..10, 11..20, 21..30, 31..40.
int sectorColumn(int xInQuad) {
  if (xInQuad < 0) return -1;
  if (xInQuad <= 10) return 0;
  if (xInQuad <= 20) return 1;
  if (xInQuad <= 30) return 2;
  if (xInQuad <= 40) return 3;
  return -1;
}

// Sector row from the y offset inside a Quad: 0..9, 10..19, 20..29, 30..39.
int sectorRow(int yInQuad) {
  if (yInQuad < 0 || yInQuad > 39) return -1;
  return yInQuad / 10;
}

}  // namespace

SectorHit SectorLocator::LocateSector(double x, double y, int xQuads) {
  // Nearest integer, ties to even, as the 16-bit conversion of the pointer position does.
  const int px = static_cast<int>(std::nearbyint(x));
  const int py = static_cast<int>(std::nearbyint(y));
  const int row = py / 40;
  const int column = px / 40;
  const int column4 = sectorColumn(px - 40 * column);
  const int row4 = sectorRow(py - 40 * row);
  SectorHit hit;
  hit.quad = static_cast<qint16>(row * xQuads + column);
  hit.sector = (column4 < 0 || row4 < 0) ? 0 : static_cast<qint16>(4 * row4 + column4);
  return hit;
}

std::optional<SectorHit> SectorLocator::locateInside(double x, double y, int xQuads, int yQuads) {
  const double px = std::nearbyint(x);
  const double py = std::nearbyint(y);
  if (px < 0 || py < 0 || px >= 40.0 * xQuads || py >= 40.0 * yQuads) return std::nullopt;
  return LocateSector(x, y, xQuads);
}

}  // namespace vmm
