// SPDX-License-Identifier: GPL-3.0-or-later
#include "edits/VariantFamily.h"

#include <algorithm>
#include <cmath>

namespace vmm {

qint16 VariantFamily::pick(float r) const {
  // floor(r * count + base) with a whole base is base + floor(r * count). A
  // float times a small count is exact in double, so a draw below 1 never
  // reaches base + count; the bounds only guard a source breaking its promise.
  double offset = std::floor(static_cast<double>(r) * count_);
  if (!(offset >= 0.0)) offset = 0.0;  // negative or NaN
  offset = std::min(offset, static_cast<double>(count_ - 1));
  const auto id = static_cast<qint16>(base_ + static_cast<int>(offset));
  for (const Remap &remap : remaps())
    if (remap.drawn == id) return remap.stored;
  return id;
}

}  // namespace vmm
