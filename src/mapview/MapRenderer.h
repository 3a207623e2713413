#pragma once

#include "app/MapDocument.h"

#include <QRect>

namespace vmm {

class SectorPainter;

// The whole-map repaint of one coloured view, as Refresh Screen, the map text import
// and the bulk edits do it: the Image view's picture back, the grid, then every
// assigned Sector of the plane from MapData in the current draw style. Draws on the
// painter's surfaces and returns the changed area; with no surfaces it draws nothing.
// The screen, the picture export and the command-line render share it.
QRect renderPlane(SectorPainter &painter, Plane plane);

}  // namespace vmm
