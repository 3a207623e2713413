// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"

#include <QImage>

#include <span>
#include <vector>

namespace vmm {

// The picture measured Sector by Sector, for the classifier that paints from examples.
// Each Sector cell (10 x 10 pixels) gets kCount numbers: its mean colour, the colour's
// chromaticity (which light and shade do not move), the spread of its brightness and
// its mean edge strength, each measured over the cell alone and over the 3 x 3 and
// 7 x 7 cells around it, plus the spread of brightness between neighbouring cells; then,
// for the cells a border crosses, its four quarters and how much of it lies on either
// side of the border (see SectorFeatures.cpp).
// Cells are numbered row by row over the map's grid of XQuads * 4 columns.
class SectorFeatures {
 public:
  static constexpr int kPerScale = 7;
  static constexpr int kScales = 3;
  // Where the cell's own chromaticity (red, green) lies among its numbers.
  static constexpr std::size_t kChromaticity = 3;
  // The quarters: four times red, green, blue and edge strength, darkest quarter first,
  // then the colour distance to the nearest and the farthest edge neighbour.
  static constexpr int kQuarters = kPerScale * kScales + 5;
  // The shares of the pixels brighter, rougher, greener and bluer than the cells around.
  static constexpr int kSideShares = kQuarters + 18;
  static constexpr int kCount = kSideShares + 4;

  SectorFeatures() = default;
  // Measures the cells of the picture's top-left xQuads x yQuads Quads (those the
  // picture does not cover measure as black).
  static SectorFeatures measure(const QImage &picture, int xQuads, int yQuads);

  int columns() const { return columns_; }
  int rows() const { return rows_; }
  int cellCount() const { return columns_ * rows_; }
  std::span<const float> cell(int index) const {
    return {values_.data() + std::size_t(index) * kCount, std::size_t(kCount)};
  }
  const std::vector<float> &values() const { return values_; }
  // True when every cell measures the same: a picture of one flat colour.
  bool isFlat() const { return flat_; }
  qsizetype byteSize() const { return qsizetype(values_.size() * sizeof(float)); }

 private:
  int columns_ = 0;
  int rows_ = 0;
  bool flat_ = true;
  std::vector<float> values_;
};

// The cell of a Sector on a map `xQuads` Quads wide, and back.
inline int cellOf(SectorAddress address, int xQuads) {
  const int quadRow = address.quad / xQuads;
  const int quadColumn = address.quad % xQuads;
  return (quadRow * 4 + address.sector / 4) * xQuads * 4 + quadColumn * 4 + address.sector % 4;
}
inline SectorAddress addressOf(int cell, int xQuads) {
  const int columns = xQuads * 4;
  const int row = cell / columns;
  const int column = cell % columns;
  return {(row / 4) * xQuads + column / 4, (row % 4) * 4 + column % 4};
}

}  // namespace vmm
