// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/Replace.h"

#include "edits/SectorWalk.h"

namespace vmm {

int replaceValue(MapDocument &document, Plane plane, qint16 from, qint16 to) {
  if (from == to) return 0;
  int changed = 0;
  forEverySector([&](int quad, int sector) {
    if (document.value(quad, sector, plane) != from) return;
    document.setValue(quad, sector, plane, to);
    ++changed;
  });
  return changed;
}

}  // namespace vmm
