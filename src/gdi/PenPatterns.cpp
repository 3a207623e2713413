// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/PenPatterns.h"

namespace vmm {

DashPattern dashPattern(int style) {
  switch (style) {
    case PS_DASH:
      return {{18, 6}, 2};
    case PS_DOT:
      return {{3, 3}, 2};
    case PS_DASHDOT:
      return {{9, 6, 3, 6}, 4};
    case PS_DASHDOTDOT:
      return {{9, 3, 3, 3, 3, 3}, 6};
    default:
      return {{1}, 1};
  }
}

void DashWalker::skip(qint64 pixels) {
  int period = 0;
  for (int i = 0; i < pattern_.count; ++i) period += pattern_.runs[std::size_t(i)];
  for (qint64 n = pixels % period; n > 0; --n) next();
}

bool isStyled(const Pen &pen) {
  return pen.style >= PS_DASH && pen.style <= PS_DASHDOTDOT;
}

int penWidth(const Pen &pen) {
  return pen.width > 1 ? pen.width : 1;
}

bool onHatch(int hatch, qint64 x, qint64 y) {
  const qint64 xm = x & 7, ym = y & 7;
  switch (hatch) {
    case HS_HORIZONTAL:
      return ym == 0;
    case HS_VERTICAL:
      return xm == 0;
    case HS_FDIAGONAL:
      return ((x - y) & 7) == 0;
    case HS_BDIAGONAL:
      return ((x + y) & 7) == 0;
    case HS_CROSS:
      return xm == 0 || ym == 0;
    case HS_DIAGCROSS:
      return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;
    default:
      return false;
  }
}

}  // namespace vmm
