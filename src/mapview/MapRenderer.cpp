#include "mapview/MapRenderer.h"

#include "mapview/MapSurfaces.h"
#include "mapview/SectorPainter.h"

namespace vmm {

QRect renderPlane(SectorPainter &painter, Plane plane) {
  MapSurfaces *surfaces = painter.surfaces();
  if (!surfaces || !surfaces->isLoaded()) return {};
  QRect changed = surfaces->restoreWithGrid(plane);
  changed |= painter.colourMap(plane);
  return changed;
}

}  // namespace vmm
