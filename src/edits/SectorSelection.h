// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edits/AreaShapes.h"

#include <span>
#include <vector>

namespace vmm {

// How a gesture's Sectors change the selection: they become it, join it or leave it.
enum class SelectionChange { Replace, Add, Subtract };

// A set of Sectors of the picture's grid, kept as one mark per cell with its count and
// bounding box, so a test for one Sector is an array read at every map size. Selecting
// changes nothing in the map; a selection belongs to one grid and is emptied with it.
class SectorSelection {
 public:
  SectorSelection() : SectorSelection(SectorGrid(0, 0)) {}
  explicit SectorSelection(const SectorGrid &grid);

  const SectorGrid &grid() const { return grid_; }
  // Whether the selection was made on a grid of `grid`'s size (a map of another size
  // has none of its Sectors).
  bool isOn(const SectorGrid &grid) const {
    return grid_.columns() == grid.columns() && grid_.rows() == grid.rows();
  }
  bool isEmpty() const { return count_ == 0; }
  int count() const { return count_; }
  // The smallest block holding every selected cell; empty when nothing is selected.
  SectorSpan bounds() const { return bounds_; }
  bool contains(SectorCell cell) const {
    return grid_.contains(cell) && marks_[std::size_t(grid_.index(cell))] != 0;
  }
  bool contains(SectorAddress address) const;

  void clear();
  void selectAll();
  // The span's cells on the grid become the selection, join it or leave it.
  void change(const SectorSpan &span, SelectionChange how);
  void change(std::span<const SectorAddress> sectors, SelectionChange how);
  void change(std::span<const SectorCell> cells, SelectionChange how);
  // The cells of a shape (`shape` row by row, `width` cells wide, non-zero for a cell of it)
  // laid with its top-left cell at `topLeft` become the selection, those on the grid.
  void replaceWithShape(SectorCell topLeft, int width, std::span<const quint8> shape);

  // The selected cells row by row, and as Sectors in array order (the order undo keeps).
  std::vector<SectorCell> cells() const;
  std::vector<SectorAddress> sectors() const;
  // The Sectors of `sectors` a tool may change: all of them with nothing selected,
  // else those inside the selection (the list's order kept).
  std::vector<SectorAddress> confine(std::vector<SectorAddress> sectors) const;

  bool operator==(const SectorSelection &other) const {
    return grid_.columns() == other.grid_.columns() && grid_.rows() == other.grid_.rows() &&
           marks_ == other.marks_;
  }

 private:
  void mark(SectorCell cell, bool selected);
  void recount();

  SectorGrid grid_;
  std::vector<quint8> marks_;
  int count_ = 0;
  SectorSpan bounds_;
};

// Every Sector of the picture whose value on `plane` is `value`, in array order.
std::vector<SectorAddress> sectorsHolding(const MapDocument &document, Plane plane, qint16 value);

}  // namespace vmm
