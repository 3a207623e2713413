// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace vmm {

// Window and control positions of the editor's windows are designed in twips;
// the screen is taken at 96 dpi, 15 twips to a pixel (Qt scales by the device pixel ratio).
inline constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
  return twips / kTwipsPerPixel;
}

}  // namespace vmm
