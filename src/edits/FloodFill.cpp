// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/FloodFill.h"

namespace vmm {

std::vector<SectorAddress> floodRegion(const MapDocument &document, Plane plane,
                                       SectorAddress start, const SectorSelection *within) {
  if (within && within->isEmpty()) within = nullptr;
  const qint16 value = document.value(start.quad, start.sector, plane);
  return floodJoined(document, start, [&](SectorAddress at) {
    return (!within || within->contains(at)) && document.value(at.quad, at.sector, plane) == value;
  });
}

}  // namespace vmm
