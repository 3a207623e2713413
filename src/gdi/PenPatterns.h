// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/GdiTypes.h"

#include <QtGlobal>

#include <array>

namespace vmm {

// On/off runs of the styled cosmetic pens.
struct DashPattern {
  std::array<int, 6> runs{};
  int count = 0;
};

DashPattern dashPattern(int style);

// Steps through a dash pattern one pixel at a time.
class DashWalker {
 public:
  explicit DashWalker(int style) : pattern_(dashPattern(style)), left_(pattern_.runs[0]) {}
  // True when the next pixel is a dash, false when it is a gap.
  bool next() {
    const bool on = (run_ % 2) == 0;
    if (--left_ == 0) {
      run_ = (run_ + 1) % pattern_.count;
      left_ = pattern_.runs[std::size_t(run_)];
    }
    return on;
  }
  // Moves on by `pixels` without drawing them.
  void skip(qint64 pixels);

 private:
  DashPattern pattern_;
  int run_ = 0;
  int left_;
};

// A dashed, dotted or dash-dotted pen (drawn one pixel wide whatever its width).
bool isStyled(const Pen &pen);
// The pen's width in pixels, at least 1.
int penWidth(const Pen &pen);
// Whether pixel (x, y) lies on a hatch line; the 8 x 8 pattern is aligned
// on the surface's origin.
bool onHatch(int hatch, qint64 x, qint64 y);

}  // namespace vmm
