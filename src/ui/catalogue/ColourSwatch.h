// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/GdiTypes.h"

#include <QIcon>

namespace vmm {

// A small square of a catalogue colour (a GDI colour value, system colours
// translated) with a dark border, as the legend and the recent elements show it.
QIcon colourSwatch(ColorRef colour, int size = 16);
// The square of something without a colour: unassigned Sectors, unknown values.
QIcon blankSwatch(int size = 16);

}  // namespace vmm
