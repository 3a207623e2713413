// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"
#include "edits/AreaShapes.h"
#include "edits/SectorSelection.h"

#include <vector>

namespace vmm {

// The Sectors a bucket fill at `start` changes on `plane`: every Sector joined to it
// edge to edge (across Quad borders, within the picture's XQuads x YQuads Quads) by
// Sectors holding the same value as `start`. The walk keeps its own list of cells to
// visit instead of recursing, so no map is large enough to overflow the stack.
// Returned in array order (Quad by Quad, Sectors 0..15 inside each); empty when
// `start` lies outside the picture. With `within` set (and not empty) the region keeps
// inside it, and is empty when `start` lies outside it: the fill and the magic wand of
// a selection share this walk.
std::vector<SectorAddress> floodRegion(const MapDocument &document, Plane plane,
                                       SectorAddress start,
                                       const SectorSelection *within = nullptr);

// The Sectors joined to `start` edge to edge (across Quad borders, within the picture)
// through Sectors for which `joins(SectorAddress)` holds, `start` included; empty when
// `start` lies outside the picture or does not join. In array order, walked as above.
template <typename Joins>
std::vector<SectorAddress> floodJoined(const MapDocument &document, SectorAddress start,
                                       Joins joins) {
  const SectorGrid grid(document);
  const int quads = int(document.XQuads) * int(document.YQuads);
  std::vector<SectorAddress> region;
  if (start.quad < 0 || start.quad >= quads || !MapDocument::isValidSector(start.sector) ||
      !joins(start))
    return region;
  // 0: not looked at yet, 1: in the region. Cells that do not join stay 0 but are
  // never queued, since they fail the test each time they are reached.
  std::vector<quint8> inRegion(std::size_t(grid.columns()) * std::size_t(grid.rows()), 0);
  const SectorCell first = grid.cell(start);
  std::vector<SectorCell> toVisit{first};
  inRegion[std::size_t(grid.index(first))] = 1;
  std::size_t joined = 1;
  auto reach = [&](SectorCell cell) {
    if (!grid.contains(cell)) return;
    quint8 &mark = inRegion[std::size_t(grid.index(cell))];
    if (mark != 0 || !joins(grid.address(cell))) return;
    mark = 1;
    ++joined;
    toVisit.push_back(cell);
  };
  while (!toVisit.empty()) {
    const SectorCell cell = toVisit.back();
    toVisit.pop_back();
    reach({cell.column - 1, cell.row});
    reach({cell.column + 1, cell.row});
    reach({cell.column, cell.row - 1});
    reach({cell.column, cell.row + 1});
  }
  // Gathered in array order, so that undo records the step without sorting it.
  region.reserve(joined);
  for (int quad = 0; quad < quads; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      if (inRegion[std::size_t(grid.index(grid.cell({quad, sector})))] != 0)
        region.push_back({quad, sector});
  return region;
}

}  // namespace vmm
