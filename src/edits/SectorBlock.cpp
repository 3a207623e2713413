// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/SectorBlock.h"

namespace vmm {

SectorBlock SectorBlock::blank(int width, int height) {
  SectorBlock block;
  if (width <= 0 || height <= 0) return block;
  block.width = width;
  block.height = height;
  const std::size_t cells = std::size_t(width) * std::size_t(height);
  block.elements.assign(cells, kUnassigned);
  block.heights.assign(cells, kUnassigned);
  block.shape.assign(cells, 1);
  return block;
}

SectorBlock copyBlock(const MapDocument &document, const SectorSelection &selection) {
  const SectorSpan bounds = selection.bounds();
  if (bounds.isEmpty()) return {};
  SectorBlock block =
      SectorBlock::blank(bounds.right - bounds.left + 1, bounds.bottom - bounds.top + 1);
  const SectorGrid &grid = selection.grid();
  for (int row = 0; row < block.height; ++row)
    for (int column = 0; column < block.width; ++column) {
      const SectorCell cell{bounds.left + column, bounds.top + row};
      const std::size_t at = block.index(column, row);
      block.shape[at] = selection.contains(cell) ? 1 : 0;
      if (!block.shape[at]) continue;
      const SectorAddress address = grid.address(cell);
      block.elements[at] = document.value(address.quad, address.sector, Plane::Element);
      block.heights[at] = document.value(address.quad, address.sector, Plane::Height);
    }
  return block;
}

SectorBlock turned(const SectorBlock &block, BlockTurn turn) {
  const bool quarter = turn == BlockTurn::RotateClockwise || turn == BlockTurn::RotateAnticlockwise;
  SectorBlock result = quarter ? SectorBlock::blank(block.height, block.width)
                               : SectorBlock::blank(block.width, block.height);
  // Each cell of the result takes the cell of the source that the turn brings there.
  for (int row = 0; row < result.height; ++row)
    for (int column = 0; column < result.width; ++column) {
      int fromColumn = column;
      int fromRow = row;
      switch (turn) {
        case BlockTurn::FlipHorizontally:
          fromColumn = block.width - 1 - column;
          break;
        case BlockTurn::FlipVertically:
          fromRow = block.height - 1 - row;
          break;
        case BlockTurn::RotateClockwise:
          fromColumn = row;
          fromRow = block.height - 1 - column;
          break;
        case BlockTurn::RotateAnticlockwise:
          fromColumn = block.width - 1 - row;
          fromRow = column;
          break;
      }
      const std::size_t to = result.index(column, row);
      const std::size_t from = block.index(fromColumn, fromRow);
      result.elements[to] = block.elements[from];
      result.heights[to] = block.heights[from];
      result.shape[to] = block.shape[from];
    }
  return result;
}

void stampBlock(MapDocument &document, const SectorGrid &grid, const SectorBlock &block,
                SectorCell topLeft) {
  const SectorSpan target{topLeft.column, topLeft.row, topLeft.column + block.width - 1,
                          topLeft.row + block.height - 1};
  // Written in array order, the order undo keeps its steps in, so a whole-map paste is
  // recorded without sorting.
  forEachCellInArrayOrder(grid, target, [&](SectorCell cell) {
    const int column = cell.column - topLeft.column;
    const int row = cell.row - topLeft.row;
    if (!block.shape[block.index(column, row)]) return;
    const SectorAddress address = grid.address(cell);
    for (const Plane plane : {Plane::Element, Plane::Height})
      if (const qint16 value = block.value(column, row, plane); value != kUnassigned)
        document.setValue(address.quad, address.sector, plane, value);
  });
}

void unassignSectors(MapDocument &document, const std::vector<SectorAddress> &sectors) {
  for (const SectorAddress &at : sectors)
    for (const Plane plane : {Plane::Element, Plane::Height})
      document.setValue(at.quad, at.sector, plane, kUnassigned);
}

}  // namespace vmm
