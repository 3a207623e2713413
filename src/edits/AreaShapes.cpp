// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/AreaShapes.h"

#include <algorithm>
#include <cstdlib>

namespace vmm {

namespace {

bool addressBefore(const SectorAddress &a, const SectorAddress &b) {
  return a.quad != b.quad ? a.quad < b.quad : a.sector < b.sector;
}

}  // namespace

SectorGrid::SectorGrid(int xQuads, int yQuads)
    : xQuads_(std::max(0, xQuads)),
      columns_(xQuads_ * kSectorsAcross),
      rows_(std::max(0, yQuads) * kSectorsAcross) {}

SectorAddress SectorGrid::address(SectorCell cell) const {
  return {cell.row / kSectorsAcross * xQuads_ + cell.column / kSectorsAcross,
          cell.row % kSectorsAcross * kSectorsAcross + cell.column % kSectorsAcross};
}

SectorCell SectorGrid::cell(SectorAddress address) const {
  const int quadRow = xQuads_ > 0 ? address.quad / xQuads_ : 0;
  const int quadColumn = address.quad - quadRow * xQuads_;
  return {quadColumn * kSectorsAcross + address.sector % kSectorsAcross,
          quadRow * kSectorsAcross + address.sector / kSectorsAcross};
}

SectorSpan SectorSpan::clippedTo(const SectorGrid &grid) const {
  return {std::max(left, 0), std::max(top, 0), std::min(right, grid.columns() - 1),
          std::min(bottom, grid.rows() - 1)};
}

QRect SectorSpan::pixelOutline() const {
  if (isEmpty()) return {};
  return QRect(left * kSectorPixels, top * kSectorPixels, (right - left + 1) * kSectorPixels + 1,
               (bottom - top + 1) * kSectorPixels + 1);
}

bool isBrushSize(int size) {
  return std::find(kBrushSizes.begin(), kBrushSizes.end(), size) != kBrushSizes.end();
}

int steppedBrushSize(int size, int steps) {
  const auto at = std::find(kBrushSizes.begin(), kBrushSizes.end(), size);
  const int index = at == kBrushSizes.end() ? 0 : int(at - kBrushSizes.begin());
  return kBrushSizes[std::size_t(std::clamp(index + steps, 0, int(kBrushSizes.size()) - 1))];
}

SectorSpan brushSpan(SectorCell centre, int size) {
  // (size - 1) / 2 cells before the centre: 1 for 3, 2 for 5, and 0 for 2, so that
  // with an even size the centre cell is the top-left one of the middle four.
  const int before = (std::max(size, 1) - 1) / 2;
  const int after = std::max(size, 1) - 1 - before;
  return {centre.column - before, centre.row - before, centre.column + after, centre.row + after};
}

SectorSpan rectangleSpan(SectorCell corner, SectorCell opposite, bool wholeQuads) {
  SectorSpan span{std::min(corner.column, opposite.column), std::min(corner.row, opposite.row),
                  std::max(corner.column, opposite.column), std::max(corner.row, opposite.row)};
  if (wholeQuads)
    span = {quadStart(span.left), quadStart(span.top), quadEnd(span.right), quadEnd(span.bottom)};
  return span;
}

std::vector<SectorAddress> sectorsOf(const SectorGrid &grid, const SectorSpan &span) {
  std::vector<SectorAddress> sectors;
  sectors.reserve(std::size_t(std::max(span.clippedTo(grid).area(), 0)));
  forEachCellInArrayOrder(grid, span,
                          [&](SectorCell cell) { sectors.push_back(grid.address(cell)); });
  return sectors;
}

std::vector<SectorCell> sectorLine(SectorCell from, SectorCell to) {
  const int dx = std::abs(to.column - from.column);
  const int dy = -std::abs(to.row - from.row);
  const int stepX = from.column < to.column ? 1 : -1;
  const int stepY = from.row < to.row ? 1 : -1;
  std::vector<SectorCell> cells;
  cells.reserve(std::size_t(std::max(dx, -dy) + 1));
  SectorCell at = from;
  int error = dx + dy;
  for (;;) {
    cells.push_back(at);
    if (at == to) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      at.column += stepX;
    }
    if (twice <= dx) {
      error += dx;
      at.row += stepY;
    }
  }
  return cells;
}

std::vector<SectorAddress> lineSectors(const SectorGrid &grid, SectorCell from, SectorCell to,
                                       int brushSize, bool wholeQuads) {
  std::vector<SectorAddress> sectors;
  for (const SectorCell cell : sectorLine(from, to)) {
    const SectorSpan print =
        wholeQuads ? rectangleSpan(cell, cell, true) : brushSpan(cell, brushSize);
    const std::vector<SectorAddress> covered = sectorsOf(grid, print);
    sectors.insert(sectors.end(), covered.begin(), covered.end());
  }
  std::sort(sectors.begin(), sectors.end(), addressBefore);
  sectors.erase(std::unique(sectors.begin(), sectors.end()), sectors.end());
  return sectors;
}

}  // namespace vmm
