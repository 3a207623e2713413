// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"

#include <QRect>

#include <algorithm>
#include <array>
#include <vector>

namespace vmm {

inline constexpr int kSectorsAcross = 4;  // Sector columns (and rows) of a Quad

// The first cell of the Quad holding `index` (a column or a row), and the last.
constexpr int quadStart(int index) {
  return index - ((index % kSectorsAcross) + kSectorsAcross) % kSectorsAcross;
}
constexpr int quadEnd(int index) {
  return quadStart(index) + kSectorsAcross - 1;
}

// A Sector's place on the picture's grid of Sectors: column and row counted
// from the top-left Sector, four to a Quad in each direction.
struct SectorCell {
  int column = 0;
  int row = 0;
  bool operator==(const SectorCell &) const = default;
};

// The picture's grid of Sectors (4 x XQuads columns by 4 x YQuads rows) and
// the way between a grid cell and the Quad and Sector numbers of the array.
class SectorGrid {
 public:
  SectorGrid(int xQuads, int yQuads);
  explicit SectorGrid(const MapDocument &document) : SectorGrid(document.XQuads, document.YQuads) {}

  int columns() const { return columns_; }
  int rows() const { return rows_; }
  bool contains(SectorCell cell) const {
    return cell.column >= 0 && cell.row >= 0 && cell.column < columns_ && cell.row < rows_;
  }
  // Index of a cell inside the grid, row by row.
  int index(SectorCell cell) const { return cell.row * columns_ + cell.column; }
  SectorAddress address(SectorCell cell) const;
  // Only meaningful for Quads of the picture.
  SectorCell cell(SectorAddress address) const;

 private:
  int xQuads_;
  int columns_;
  int rows_;
};

// A block of Sectors, both corner cells included; empty when right < left or bottom < top.
struct SectorSpan {
  int left = 0;
  int top = 0;
  int right = -1;
  int bottom = -1;

  bool isEmpty() const { return right < left || bottom < top; }
  int area() const { return isEmpty() ? 0 : (right - left + 1) * (bottom - top + 1); }
  // The part that lies on the grid.
  SectorSpan clippedTo(const SectorGrid &grid) const;
  // The pixels of the cells with the grid lines around them, for a rubber band.
  QRect pixelOutline() const;
};

// The brush sizes offered, in Sectors square, in the order the keys step through them.
inline constexpr std::array<int, 4> kBrushSizes{1, 2, 3, 5};
bool isBrushSize(int size);
// The offered size `steps` places on from `size`, stopping at the smallest and largest.
int steppedBrushSize(int size, int steps);

// The brush's square of `size` Sectors around `centre`: centred for odd sizes, with
// `centre` the top-left of the middle four for even sizes. Not clipped.
SectorSpan brushSpan(SectorCell centre, int size);
// The rectangle with the two cells as opposite corners, in either order; widened to
// whole Quads when `wholeQuads` is set. Not clipped.
SectorSpan rectangleSpan(SectorCell corner, SectorCell opposite, bool wholeQuads);

// Calls `visit(cell)` for the cells of the span that lie on the grid, in array order (Quad by
// Quad, Sectors 0..15 inside each), which is the order undo records them in.
template <typename Visit>
void forEachCellInArrayOrder(const SectorGrid &grid, const SectorSpan &span, Visit &&visit) {
  const SectorSpan inside = span.clippedTo(grid);
  if (inside.isEmpty()) return;
  for (int quadTop = quadStart(inside.top); quadTop <= inside.bottom; quadTop += kSectorsAcross)
    for (int quadLeft = quadStart(inside.left); quadLeft <= inside.right;
         quadLeft += kSectorsAcross)
      for (int row = std::max(quadTop, inside.top);
           row <= std::min(quadEnd(quadTop), inside.bottom); ++row)
        for (int column = std::max(quadLeft, inside.left);
             column <= std::min(quadEnd(quadLeft), inside.right); ++column)
          visit(SectorCell{column, row});
}
// The Sectors of the span that lie on the grid, in array order.
std::vector<SectorAddress> sectorsOf(const SectorGrid &grid, const SectorSpan &span);

// The cells of the straight line from `from` to `to`, both included, each one a
// king's move from the last (Bresenham), in drawing order.
std::vector<SectorCell> sectorLine(SectorCell from, SectorCell to);
// The Sectors a line of brush prints covers: the brush of `brushSize` at every cell of
// the line, or with `wholeQuads` every Quad the line crosses. Clipped, in array order,
// each Sector once.
std::vector<SectorAddress> lineSectors(const SectorGrid &grid, SectorCell from, SectorCell to,
                                       int brushSize, bool wholeQuads);

}  // namespace vmm
