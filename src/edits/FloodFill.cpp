// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/FloodFill.h"

#include "edits/AreaShapes.h"

namespace vmm {

std::vector<SectorAddress> floodRegion(const MapDocument &document, Plane plane,
                                       SectorAddress start, const SectorSelection *within) {
  const SectorGrid grid(document);
  const int quads = int(document.XQuads) * int(document.YQuads);
  std::vector<SectorAddress> region;
  if (start.quad < 0 || start.quad >= quads || !MapDocument::isValidSector(start.sector))
    return region;
  if (within && within->isEmpty()) within = nullptr;
  if (within && !within->contains(grid.cell(start))) return region;
  const SectorCell first = grid.cell(start);
  const qint16 value = document.value(start.quad, start.sector, plane);

  // 0: not looked at yet, 1: in the region. Cells of another value stay 0 but are
  // never queued, since they fail the test each time they are reached.
  std::vector<quint8> inRegion(std::size_t(grid.columns()) * std::size_t(grid.rows()), 0);
  std::vector<SectorCell> toVisit{first};
  inRegion[std::size_t(grid.index(first))] = 1;
  auto reach = [&](SectorCell cell) {
    if (!grid.contains(cell)) return;
    quint8 &mark = inRegion[std::size_t(grid.index(cell))];
    if (mark != 0 || (within && !within->contains(cell))) return;
    const SectorAddress at = grid.address(cell);
    if (document.value(at.quad, at.sector, plane) != value) return;
    mark = 1;
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
  for (int quad = 0; quad < quads; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      if (inRegion[std::size_t(grid.index(grid.cell({quad, sector})))] != 0)
        region.push_back({quad, sector});
  return region;
}

}  // namespace vmm
