// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/Randomise.h"

#include "edits/SectorWalk.h"

#include <algorithm>

namespace vmm {

int randomiseElements(MapDocument &doc, std::span<const VariantFamily> families,
                      RandomSource &random) {
  int changed = 0;
  forEverySector([&](int quad, int sector) {
    const qint16 id = doc.value(quad, sector, Plane::Element);
    const auto family = std::find_if(families.begin(), families.end(),
                                     [id](const VariantFamily &f) { return f.holds(id); });
    if (family == families.end()) return;
    const qint16 picked = family->pick(random.next());
    if (picked == id) return;
    doc.setValue(quad, sector, Plane::Element, picked);
    ++changed;
  });
  return changed;
}

}  // namespace vmm
