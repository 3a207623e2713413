// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/SectorSelection.h"

#include <algorithm>

namespace vmm {

SectorSelection::SectorSelection(const SectorGrid &grid)
    : grid_(grid), marks_(std::size_t(grid.columns()) * std::size_t(grid.rows()), 0) {}

bool SectorSelection::contains(SectorAddress address) const {
  const int quads = (grid_.columns() / 4) * (grid_.rows() / 4);
  if (address.quad < 0 || address.quad >= quads || !MapDocument::isValidSector(address.sector))
    return false;
  return contains(grid_.cell(address));
}

void SectorSelection::clear() {
  std::fill(marks_.begin(), marks_.end(), quint8(0));
  count_ = 0;
  bounds_ = {};
}

void SectorSelection::selectAll() {
  std::fill(marks_.begin(), marks_.end(), quint8(1));
  recount();
}

void SectorSelection::mark(SectorCell cell, bool selected) {
  if (grid_.contains(cell)) marks_[std::size_t(grid_.index(cell))] = selected ? 1 : 0;
}

void SectorSelection::change(const SectorSpan &span, SelectionChange how) {
  if (how == SelectionChange::Replace) clear();
  const SectorSpan inside = span.clippedTo(grid_);
  for (int row = inside.top; row <= inside.bottom; ++row)
    for (int column = inside.left; column <= inside.right; ++column)
      mark({column, row}, how != SelectionChange::Subtract);
  recount();
}

void SectorSelection::change(std::span<const SectorAddress> sectors, SelectionChange how) {
  std::vector<SectorCell> cells;
  cells.reserve(sectors.size());
  for (const SectorAddress &at : sectors) cells.push_back(grid_.cell(at));
  change(cells, how);
}

void SectorSelection::change(std::span<const SectorCell> cells, SelectionChange how) {
  if (how == SelectionChange::Replace) clear();
  for (const SectorCell &cell : cells) mark(cell, how != SelectionChange::Subtract);
  recount();
}

void SectorSelection::replaceWithShape(SectorCell topLeft, int width,
                                       std::span<const quint8> shape) {
  clear();
  if (width <= 0) return;
  for (std::size_t at = 0; at < shape.size(); ++at)
    if (shape[at])
      mark({topLeft.column + int(at % std::size_t(width)),
            topLeft.row + int(at / std::size_t(width))},
           true);
  recount();
}

void SectorSelection::recount() {
  count_ = 0;
  bounds_ = {grid_.columns(), grid_.rows(), -1, -1};
  // Row by row: a row's count and its first and last marked cells.
  const auto columns = std::size_t(grid_.columns());
  for (int row = 0; row < grid_.rows(); ++row) {
    const auto begin = marks_.begin() + std::ptrdiff_t(std::size_t(row) * columns);
    const auto end = begin + std::ptrdiff_t(columns);
    const auto first = std::find(begin, end, quint8(1));
    if (first == end) continue;
    count_ += int(std::count(first, end, quint8(1)));
    const auto last =
        std::find(std::make_reverse_iterator(end), std::make_reverse_iterator(first), quint8(1));
    bounds_ = {std::min(bounds_.left, int(first - begin)), std::min(bounds_.top, row),
               std::max(bounds_.right, int(last.base() - 1 - begin)), row};
  }
  if (count_ == 0) bounds_ = {};
}

std::vector<SectorCell> SectorSelection::cells() const {
  std::vector<SectorCell> found;
  found.reserve(std::size_t(count_));
  for (int row = bounds_.top; row <= bounds_.bottom; ++row)
    for (int column = bounds_.left; column <= bounds_.right; ++column)
      if (contains(SectorCell{column, row})) found.push_back({column, row});
  return found;
}

std::vector<SectorAddress> SectorSelection::sectors() const {
  if (isEmpty()) return {};
  return confine(sectorsOf(grid_, bounds_));
}

std::vector<SectorAddress> SectorSelection::confine(std::vector<SectorAddress> sectors) const {
  if (isEmpty()) return sectors;
  std::erase_if(sectors, [this](const SectorAddress &at) { return !contains(at); });
  return sectors;
}

std::vector<SectorAddress> sectorsHolding(const MapDocument &document, Plane plane, qint16 value) {
  std::vector<SectorAddress> found;
  const int quads = int(document.XQuads) * int(document.YQuads);
  for (int quad = 0; quad < quads; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      if (document.value(quad, sector, plane) == value) found.push_back({quad, sector});
  return found;
}

}  // namespace vmm
