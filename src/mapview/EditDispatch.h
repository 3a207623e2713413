// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/EditorModes.h"

#include "document/MapDocument.h"

#include <QRect>

#include <span>

namespace vmm {

class SectorPainter;

// The value painting puts into Sectors of `plane`: the current element, or the
// current height on the Elevation view.
qint16 drawValue(const MapDocument &document, Plane plane);

// One left-button paint at the document's CurrentQuad and CurrentSect (the
// latest mouse move) on the plane of the view that was clicked: elements on
// the Terrain and Image views, heights on the Elevation view. Returns the
// surface area that changed; heights are not painted while CurrentDrawHeight
// is -1. Fill Area paints nothing here: it fills on a click of its own.
QRect applyEditMode(SectorPainter &painter, const MapDocument &document, Plane plane,
                    EditMode mode);

// Every Sector of `sectors` painted as Draw Sector paints one (with the current
// element or height), or erased as Erase Sector erases one; the same rule for
// heights of -1. Returns the surface area that changed.
QRect applyToSectors(SectorPainter &painter, const MapDocument &document, Plane plane, bool erase,
                     std::span<const SectorAddress> sectors);

}  // namespace vmm
