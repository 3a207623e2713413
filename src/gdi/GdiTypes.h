// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

namespace vmm {

// A colour as the drawing layer and the catalogue store it: 0x00BBGGRR, red in
// the low byte. A value with the top bit set names a system colour.
using ColorRef = quint32;

inline constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;  // what GetPixel reports outside the surface
inline constexpr ColorRef kSystemColorFlag = 0x80000000u;

constexpr ColorRef rgb(int red, int green, int blue) {
  return ColorRef(red & 0xFF) | (ColorRef(green & 0xFF) << 8) | (ColorRef(blue & 0xFF) << 16);
}
constexpr int redOf(ColorRef c) {
  return int(c & 0xFF);
}
constexpr int greenOf(ColorRef c) {
  return int((c >> 8) & 0xFF);
}
constexpr int blueOf(ColorRef c) {
  return int((c >> 16) & 0xFF);
}

// QImage::Format_RGB32 stores 0xFFRRGGBB; these convert at that boundary.
constexpr quint32 toPixel(ColorRef c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr ColorRef fromPixel(quint32 p) {
  return ((p >> 16) & 0xFFu) | (p & 0xFF00u) | ((p & 0xFFu) << 16);
}

// Binary raster operations (mix modes), numbered as GDI numbers them.
inline constexpr int R2_BLACK = 1;
inline constexpr int R2_NOTMERGEPEN = 2;
inline constexpr int R2_MASKNOTPEN = 3;
inline constexpr int R2_NOTCOPYPEN = 4;
inline constexpr int R2_MASKPENNOT = 5;
inline constexpr int R2_NOT = 6;
inline constexpr int R2_XORPEN = 7;
inline constexpr int R2_NOTMASKPEN = 8;
inline constexpr int R2_MASKPEN = 9;
inline constexpr int R2_NOTXORPEN = 10;
inline constexpr int R2_NOP = 11;
inline constexpr int R2_MERGENOTPEN = 12;
inline constexpr int R2_COPYPEN = 13;
inline constexpr int R2_MERGEPENNOT = 14;
inline constexpr int R2_MERGEPEN = 15;
inline constexpr int R2_WHITE = 16;

// Pen styles.
inline constexpr int PS_SOLID = 0;
inline constexpr int PS_DASH = 1;
inline constexpr int PS_DOT = 2;
inline constexpr int PS_DASHDOT = 3;
inline constexpr int PS_DASHDOTDOT = 4;
inline constexpr int PS_NULL = 5;
inline constexpr int PS_INSIDEFRAME = 6;

// Brush styles.
inline constexpr int BS_SOLID = 0;
inline constexpr int BS_HOLLOW = 1;
inline constexpr int BS_NULL = 1;
inline constexpr int BS_HATCHED = 2;

// Hatch styles.
inline constexpr int HS_HORIZONTAL = 0;
inline constexpr int HS_VERTICAL = 1;
inline constexpr int HS_FDIAGONAL = 2;
inline constexpr int HS_BDIAGONAL = 3;
inline constexpr int HS_CROSS = 4;
inline constexpr int HS_DIAGCROSS = 5;

// Background modes (used for the gaps of hatches and styled pens).
inline constexpr int TRANSPARENT = 1;
inline constexpr int OPAQUE = 2;

// A logical pen as CreatePen describes it.
struct Pen {
  int style = PS_SOLID;
  int width = 1;
  ColorRef colour = 0;
};

// A logical brush as CreateBrushIndirect describes it.
struct Brush {
  int style = BS_SOLID;
  ColorRef colour = rgb(255, 255, 255);
  int hatch = HS_HORIZONTAL;
};

}  // namespace vmm
