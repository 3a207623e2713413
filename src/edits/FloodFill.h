// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"
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

}  // namespace vmm
