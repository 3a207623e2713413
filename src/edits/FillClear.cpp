#include "edits/FillClear.h"

#include "edits/SectorWalk.h"

namespace vmm {

namespace {

// Fill and clear are the same edit with the roles of -1 and the value swapped.
int replaceEverywhere(MapDocument &doc, Plane plane, qint16 from, qint16 to) {
  if (from == to) return 0;
  int changed = 0;
  forEverySector([&](int quad, int sector) {
    if (doc.value(quad, sector, plane) != from) return;
    doc.setValue(quad, sector, plane, to);
    ++changed;
  });
  return changed;
}

}  // namespace

int fillUnassigned(MapDocument &doc, Plane plane, qint16 value) {
  return replaceEverywhere(doc, plane, kUnassigned, value);
}

int clearValue(MapDocument &doc, Plane plane, qint16 value) {
  return replaceEverywhere(doc, plane, value, kUnassigned);
}

}  // namespace vmm
