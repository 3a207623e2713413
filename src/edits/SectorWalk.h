// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"

namespace vmm {

// Calls visit(quad, sector) for every Sector of the whole array, Quad by Quad
// and Sector 0..15 inside each, whatever TotalQuads is. The bulk edits rely on
// this fixed order so that one generator sequence always gives one result.
template <typename Visit>
void forEverySector(Visit &&visit) {
  for (int quad = 0; quad < kQuadCapacity; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector) visit(quad, sector);
}

}  // namespace vmm
