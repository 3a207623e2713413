// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"

namespace vmm {

// Whole-map fill and clear of one plane. Both walk every Quad of the array
// (0..5000, not only TotalQuads) and write through MapDocument::setValue.
// They return how many Sectors changed; a value of -1 changes nothing.

// Gives every unassigned Sector of the plane the value.
int fillUnassigned(MapDocument &doc, Plane plane, qint16 value);

// Makes every Sector of the plane that holds the value unassigned again.
int clearValue(MapDocument &doc, Plane plane, qint16 value);

}  // namespace vmm
