// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/GdiTypes.h"

namespace vmm {

// The classic Windows default colour of a system colour index (GetSysColor);
// an index the table does not know gives 0 (black).
ColorRef systemColour(int index);

// A colour with the top bit set names a system colour: the result is that
// colour's classic default. Any other value is returned unchanged.
ColorRef toRgb(ColorRef colour);

}  // namespace vmm
