#pragma once

#include "document/MapDocument.h"

#include <QRect>

namespace vmm {

class SectorPainter;

// The four edit modes, in the order of their tool strip buttons.
enum class EditMode : int { DrawSector = 0, DrawQuad = 1, EraseSector = 2, EraseQuad = 3 };

// One left-button paint at the document's CurrentQuad and CurrentSect (the
// latest mouse move) on the plane of the view that was clicked: elements on
// the Terrain and Image views, heights on the Elevation view. Returns the
// surface area that changed; heights
// are not painted while CurrentDrawHeight is -1.
QRect applyEditMode(SectorPainter &painter, const MapDocument &document, Plane plane,
                    EditMode mode);

}  // namespace vmm
