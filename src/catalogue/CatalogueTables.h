// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

namespace vmm {

inline constexpr int kMaxElements = 352;  // element ids 0..351
inline constexpr int kMaxHeights = 101;   // heights 0..100

// One row of ElementTable: what painting and the status bar need of an element.
struct ElementRow {
  qint16 elementid = 0;
  QString name;         // ElementType
  quint32 colour = 0;   // elementcolour, a GDI colour value (red in the low byte)
  bool filled = false;  // false until a load has stored a record in this row
};

// ElementTable: row r describes element id r. Rows above the last load keep
// what they held, as a reload with fewer records must leave them.
class ElementTable {
 public:
  static bool inRange(int id) { return id >= 0 && id < kMaxElements; }
  // True when the id has a loaded row whose colour may be drawn.
  bool hasElement(int id) const {
    return inRange(id) && rows_[static_cast<std::size_t>(id)].filled;
  }
  const ElementRow &row(int id) const { return rows_.at(static_cast<std::size_t>(id)); }
  ElementRow &row(int id) { return rows_.at(static_cast<std::size_t>(id)); }
  quint32 colour(int id) const { return row(id).colour; }
  // Rows filled by the latest load (records of the last LoadElements).
  int loadedCount() const { return loadedCount_; }
  void setLoadedCount(int n) { loadedCount_ = n; }

 private:
  std::array<ElementRow, kMaxElements> rows_{};
  int loadedCount_ = 0;
};

// HeightColours: entry h is the colour of height h in the selected colour set.
class HeightColours {
 public:
  static bool inRange(int h) { return h >= 0 && h < kMaxHeights; }
  bool hasHeight(int h) const { return inRange(h) && filled_[static_cast<std::size_t>(h)]; }
  quint32 colour(int h) const { return colours_.at(static_cast<std::size_t>(h)); }
  void setColour(int h, quint32 c) {
    colours_.at(static_cast<std::size_t>(h)) = c;
    filled_.at(static_cast<std::size_t>(h)) = true;
  }
  int loadedCount() const { return loadedCount_; }
  void setLoadedCount(int n) { loadedCount_ = n; }

 private:
  std::array<quint32, kMaxHeights> colours_{};
  std::array<bool, kMaxHeights> filled_{};
  int loadedCount_ = 0;
};

}  // namespace vmm
