// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/ScopedDrawStyle.h"

#include <limits>

namespace vmm {

ScopedDrawStyle::ScopedDrawStyle(DeviceContext &dc, const Pen &pen, int mixMode) : dc_(dc) {
  if (DeviceContext::isValidPen(pen)) keptPen_ = dc_.selectPen(pen);
  if (dc_.rop2() != mixMode) replacedMode_ = dc_.setRop2(mixMode);
}

void ScopedDrawStyle::selectBrush(const Brush &brush) {
  if (DeviceContext::isValidBrush(brush)) keptBrush_ = dc_.selectBrush(brush);
}

ScopedDrawStyle::~ScopedDrawStyle() {
  if (replacedMode_ != 0) dc_.setRop2(replacedMode_);
  if (keptBrush_) dc_.selectBrush(*keptBrush_);
  if (keptPen_) dc_.selectPen(*keptPen_);
}

bool offsetAll(std::initializer_list<qint32 *> values, qint64 delta) {
  for (const qint32 *v : values) {
    const qint64 moved = qint64(*v) + delta;
    if (moved < std::numeric_limits<qint32>::min() || moved > std::numeric_limits<qint32>::max())
      return false;
  }
  for (qint32 *v : values) *v = qint32(qint64(*v) + delta);
  return true;
}

}  // namespace vmm
