// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/MapStatistics.h"

#include "catalogue/CatalogueTables.h"

#include <algorithm>

namespace vmm {

MapStatistics::MapStatistics(MapDocument &document) : document_(document) {
  // The counters (half a megabyte) are made, and kept current, from the first read on:
  // a command-line run that never asks for a count pays nothing per Sector write.
}

MapStatistics::~MapStatistics() {
  document_.removeChangeObserver(this);
}

void MapStatistics::sectorChanged(const SectorChange &change) {
  // Changes beyond the counted Quads do not count; once TotalQuads has moved the
  // next read counts everything again, so these updates only need to be right
  // for the extent counted last.
  if (change.quad >= extent_) return;
  std::vector<int> &counts = counts_[std::size_t(change.plane)];
  --counts[slot(change.oldValue)];
  ++counts[slot(change.newValue)];
}

void MapStatistics::catchUp() const {
  const int extent = std::clamp<int>(document_.TotalQuads, 0, kQuadCapacity);
  if (extent != extent_) {
    extent_ = extent;
    countAll();
  }
}

void MapStatistics::recount() {
  extent_ = std::clamp<int>(document_.TotalQuads, 0, kQuadCapacity);
  countAll();
}

void MapStatistics::countAll() const {
  // Listening from the first count on (adding twice is ignored); reads stay const.
  document_.addChangeObserver(const_cast<MapStatistics *>(this));
  for (const Plane plane : {Plane::Element, Plane::Height}) {
    std::vector<int> &counts = counts_[std::size_t(plane)];
    counts.assign(kValueRange, 0);
    for (int quad = 0; quad < extent_; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector)
        ++counts[slot(document_.value(quad, sector, plane))];
  }
}

int MapStatistics::count(Plane plane, qint16 value) const {
  catchUp();
  return counts_[std::size_t(plane)][slot(value)];
}

int MapStatistics::sectors() const {
  catchUp();
  return extent_ * kSectorsPerQuad;
}

std::vector<qint16> MapStatistics::presentValues(Plane plane) const {
  catchUp();
  const std::vector<int> &counts = counts_[std::size_t(plane)];
  std::vector<qint16> present;
  for (int i = 0; i < kValueRange; ++i)
    if (counts[std::size_t(i)] > 0 && i != int(slot(kUnassigned)))
      present.push_back(qint16(i - 32768));
  return present;
}

std::vector<LegendRow> legendRows(const MapStatistics &statistics, Plane plane,
                                  const ElementTable &elements) {
  std::vector<LegendRow> rows;
  if (plane == Plane::Height) {
    for (int h = 0; h < kMaxHeights; ++h)
      rows.push_back({qint16(h), QString::number(h), statistics.count(plane, qint16(h)), true});
    for (const qint16 h : statistics.presentValues(plane))
      if (!HeightColours::inRange(h))
        rows.push_back({h, QString::number(h), statistics.count(plane, h), false});
    return rows;
  }
  for (const qint16 id : statistics.presentValues(plane)) {
    const bool known = elements.hasElement(id);
    rows.push_back({id, known ? elements.row(id).name : QString::number(id),
                    statistics.count(plane, id), known});
  }
  // Known names first in the order a sorted list shows them, then the unknown ids by number.
  std::stable_sort(rows.begin(), rows.end(), [](const LegendRow &a, const LegendRow &b) {
    if (a.known != b.known) return a.known;
    return a.known && QString::compare(a.name, b.name, Qt::CaseInsensitive) < 0;
  });
  return rows;
}

}  // namespace vmm
