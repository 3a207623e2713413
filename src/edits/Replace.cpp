// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/Replace.h"

#include "edits/SectorWalk.h"

namespace vmm {

namespace {

// One Sector holding `from` takes `to`; true when it did.
bool replaceOne(MapDocument &document, Plane plane, qint16 from, qint16 to, int quad, int sector) {
  if (from == to || document.value(quad, sector, plane) != from) return false;
  return document.setValue(quad, sector, plane, to);
}

}  // namespace

int replaceValue(MapDocument &document, Plane plane, qint16 from, qint16 to) {
  int changed = 0;
  forEverySector([&](int quad, int sector) {
    changed += replaceOne(document, plane, from, to, quad, sector);
  });
  return changed;
}

int replaceValue(MapDocument &document, Plane plane, qint16 from, qint16 to,
                 std::span<const SectorAddress> within) {
  int changed = 0;
  for (const SectorAddress &at : within)
    changed += replaceOne(document, plane, from, to, at.quad, at.sector);
  return changed;
}

}  // namespace vmm
