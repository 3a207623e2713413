// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edits/SectorSelection.h"

#include <vector>

namespace vmm {

// A rectangle of Sectors lifted off the map with both planes: per cell an element and a
// height (-1: none, which leaves what lies under the cell when the block is stamped) and
// whether the cell belongs to the shape that was copied. Cells are stored row by row.
struct SectorBlock {
  int width = 0;
  int height = 0;
  std::vector<qint16> elements;
  std::vector<qint16> heights;
  std::vector<quint8> shape;

  // A block of `width` x `height` cells, every one in the shape and holding nothing.
  static SectorBlock blank(int width, int height);
  bool isEmpty() const { return width <= 0 || height <= 0; }
  std::size_t index(int column, int row) const { return std::size_t(row * width + column); }
  qint16 value(int column, int row, Plane plane) const {
    return (plane == Plane::Element ? elements : heights)[index(column, row)];
  }
  bool operator==(const SectorBlock &) const = default;
};

// The selection's Sectors within its bounding box; cells outside the selection are
// outside the shape and hold nothing.
SectorBlock copyBlock(const MapDocument &document, const SectorSelection &selection);

enum class BlockTurn { FlipHorizontally, FlipVertically, RotateClockwise, RotateAnticlockwise };
// The block mirrored left to right or top to bottom, or turned a quarter (width and
// height trade places).
SectorBlock turned(const SectorBlock &block, BlockTurn turn);

// Writes the block's shape with its top-left cell at `topLeft` through the document's
// one point of change: a value of -1 leaves the plane under it as it is, and cells off
// the grid are left out.
void stampBlock(MapDocument &document, const SectorGrid &grid, const SectorBlock &block,
                SectorCell topLeft);

// Element and height of every Sector of the list become unassigned.
void unassignSectors(MapDocument &document, const std::vector<SectorAddress> &sectors);

}  // namespace vmm
