#include "mapview/EditDispatch.h"

#include "mapview/SectorPainter.h"

namespace vmm {

QRect applyEditMode(SectorPainter &painter, const MapDocument &document, Plane plane,
                    EditMode mode) {
  const qint16 value =
      plane == Plane::Element ? document.CurrentDrawElement : document.CurrentDrawHeight;
  // No height chosen: the Elevation view ignores every mode, erasing included.
  if (plane == Plane::Height && value == kUnassigned) return {};
  const int quad = document.CurrentQuad;
  const int sect = document.CurrentSect;
  switch (mode) {
    case EditMode::DrawQuad:
      return painter.colourQuad(plane, quad, value);
    case EditMode::DrawSector:
      return painter.colourSquare(plane, quad, sect, value);
    case EditMode::EraseSector:
      return painter.eraseSquare(plane, quad, sect);
    case EditMode::EraseQuad:
      return painter.eraseQuad(plane, quad);
  }
  return {};
}

}  // namespace vmm
