// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/SystemColours.h"

#include <array>

namespace vmm {

namespace {
// Indices 0 (scroll bar) to 30 (menu bar) of the classic grey scheme.
constexpr std::array<ColorRef, 31> kClassicColours = {
    rgb(192, 192, 192),  //  0 scroll bar
    rgb(0, 128, 128),    //  1 desktop background
    rgb(0, 0, 128),      //  2 active caption
    rgb(128, 128, 128),  //  3 inactive caption
    rgb(192, 192, 192),  //  4 menu
    rgb(255, 255, 255),  //  5 window
    rgb(0, 0, 0),        //  6 window frame
    rgb(0, 0, 0),        //  7 menu text
    rgb(0, 0, 0),        //  8 window text
    rgb(255, 255, 255),  //  9 caption text
    rgb(192, 192, 192),  // 10 active border
    rgb(192, 192, 192),  // 11 inactive border
    rgb(128, 128, 128),  // 12 application workspace
    rgb(0, 0, 128),      // 13 highlight
    rgb(255, 255, 255),  // 14 highlight text
    rgb(192, 192, 192),  // 15 button face
    rgb(128, 128, 128),  // 16 button shadow
    rgb(128, 128, 128),  // 17 grey text
    rgb(0, 0, 0),        // 18 button text
    rgb(192, 192, 192),  // 19 inactive caption text
    rgb(255, 255, 255),  // 20 button highlight
    rgb(0, 0, 0),        // 21 3D dark shadow
    rgb(192, 192, 192),  // 22 3D light
    rgb(0, 0, 0),        // 23 tooltip text
    rgb(255, 255, 225),  // 24 tooltip background
    rgb(0, 0, 0),        // 25 (unused)
    rgb(0, 0, 128),      // 26 hot-tracked item
    rgb(0, 0, 128),      // 27 active caption gradient
    rgb(128, 128, 128),  // 28 inactive caption gradient
    rgb(0, 0, 128),      // 29 menu highlight
    rgb(192, 192, 192),  // 30 menu bar
};
}  // namespace

ColorRef systemColour(int index) {
  if (index < 0 || index >= int(kClassicColours.size())) return 0;
  return kClassicColours[std::size_t(index)];
}

ColorRef toRgb(ColorRef colour) {
  if ((colour & kSystemColorFlag) == 0) return colour;
  const ColorRef index = colour & ~kSystemColorFlag;
  return index < kClassicColours.size() ? kClassicColours[index] : 0;
}

}  // namespace vmm
