// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"

#include <QString>

#include <array>
#include <vector>

namespace vmm {

class ElementTable;

// How many Sectors of the map hold each element and each height. The map is Quads
// 0..TotalQuads-1, the rows an export writes. Every Sector write adjusts two
// counters; only a change of TotalQuads (a new picture, a map data import, undoing
// one) makes the next read count the whole map again.
class MapStatistics : private ChangeObserver {
 public:
  explicit MapStatistics(MapDocument &document);
  ~MapStatistics() override;
  MapStatistics(const MapStatistics &) = delete;
  MapStatistics &operator=(const MapStatistics &) = delete;

  // Sectors of the map whose `plane` holds `value`; kUnassigned counts the unassigned ones.
  int count(Plane plane, qint16 value) const;
  int unassigned(Plane plane) const { return count(plane, kUnassigned); }
  // Sectors of the map: 16 per Quad.
  int sectors() const;
  // The values on the plane with a count above 0, ascending, kUnassigned left out.
  std::vector<qint16> presentValues(Plane plane) const;
  // Counts the whole map again.
  void recount();

 private:
  static constexpr int kValueRange = 1 << 16;  // every qint16
  static std::size_t slot(qint16 value) { return std::size_t(int(value) + 32768); }

  void sectorChanged(const SectorChange &change) override;
  // Recounts when TotalQuads moved since the last count.
  void catchUp() const;
  void countAll() const;

  MapDocument &document_;
  // Reads stay const though a read may have to recount first.
  mutable std::array<std::vector<int>, 2> counts_;  // by Plane, indexed by slot()
  mutable int extent_ = -1;                         // Quads counted; -1 before the first count
};

// One line of the legend: a value present on the map (or a height of the scale) and
// its Sectors.
struct LegendRow {
  qint16 value = 0;
  QString name;  // the element's name or the height's number
  int sectors = 0;
  bool known = true;  // false for an id the catalogue lacks or a height outside 0..100
};

// The legend of one plane, unassigned Sectors left out (see MapStatistics::unassigned):
// the elements present on the map by name, ids the catalogue lacks after them by id; or
// every height of the scale 0..100 followed by any present height outside it.
std::vector<LegendRow> legendRows(const MapStatistics &statistics, Plane plane,
                                  const ElementTable &elements);

}  // namespace vmm
