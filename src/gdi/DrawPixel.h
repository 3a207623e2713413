// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/DeviceContext.h"
#include "gdi/GdiTypes.h"

namespace vmm {

// Sets one pixel (the mix mode does not apply); returns the colour set, or
// kInvalidColor when (x, y) lies outside the surface.
ColorRef DrawPixel(DeviceContext *hdc, qint32 x, qint32 y, ColorRef colour);

// The colour of one pixel, or kInvalidColor outside the surface.
ColorRef GetPixelColor(DeviceContext *hdc, qint32 x, qint32 y);

}  // namespace vmm
