// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"
#include "edits/RandomSource.h"
#include "edits/VariantFamily.h"

#include <span>

namespace vmm {

// Gives every Sector of the whole array (all Quads 0..5000) whose element id
// belongs to one of the families a variant drawn from the first such family.
// Each matching Sector takes exactly one draw, Quad by Quad and Sector 0..15
// inside each; other Sectors take none. Heights are never touched.
// Returns how many Sectors changed their id.
int randomiseElements(MapDocument &doc, std::span<const VariantFamily> families,
                      RandomSource &random);

inline int randomiseTrees(MapDocument &doc, RandomSource &random) {
  return randomiseElements(doc, kTreeFamilies, random);
}
inline int randomiseLeaves(MapDocument &doc, RandomSource &random) {
  return randomiseElements(doc, kLeafFamilies, random);
}
inline int randomiseBrush(MapDocument &doc, RandomSource &random) {
  return randomiseElements(doc, kBrushFamilies, random);
}

}  // namespace vmm
