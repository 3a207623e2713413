// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/EditDispatch.h"

#include "mapview/SectorPainter.h"

namespace vmm {

qint16 drawValue(const MapDocument &document, Plane plane) {
  return plane == Plane::Element ? document.CurrentDrawElement : document.CurrentDrawHeight;
}

QRect applyEditMode(SectorPainter &painter, const MapDocument &document, Plane plane,
                    EditMode mode) {
  const qint16 value = drawValue(document, plane);
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
    case EditMode::FillArea:
    case EditMode::SelectArea:
      break;
  }
  return {};
}

QRect applyToSectors(SectorPainter &painter, const MapDocument &document, Plane plane, bool erase,
                     std::span<const SectorAddress> sectors) {
  const qint16 value = drawValue(document, plane);
  if (plane == Plane::Height && value == kUnassigned) return {};
  if (!erase) return painter.colourSquares(plane, sectors, value);
  QRect changed;
  for (const SectorAddress &at : sectors) changed |= painter.eraseSquare(plane, at.quad, at.sector);
  return changed;
}

}  // namespace vmm
