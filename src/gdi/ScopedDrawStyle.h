// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/DeviceContext.h"

#include <initializer_list>
#include <optional>

namespace vmm {

// Selects a pen, optionally a brush, and a mix mode into a device context for
// one draw and puts the context's own back when it goes out of scope. A pen or
// brush GDI would refuse to create is not selected, so the context's current
// one is used; the mix mode is only touched when it differs.
class ScopedDrawStyle {
 public:
  ScopedDrawStyle(DeviceContext &dc, const Pen &pen, int mixMode);
  ~ScopedDrawStyle();
  ScopedDrawStyle(const ScopedDrawStyle &) = delete;
  ScopedDrawStyle &operator=(const ScopedDrawStyle &) = delete;

  void selectBrush(const Brush &brush);

 private:
  DeviceContext &dc_;
  std::optional<Pen> keptPen_;
  std::optional<Brush> keptBrush_;
  int replacedMode_ = 0;
};

// Adds `delta` to each of the values unless one would leave the 32-bit range;
// returns false (changing nothing) in that case.
bool offsetAll(std::initializer_list<qint32 *> values, qint64 delta);

inline constexpr int kErrOverflow = 6;
inline constexpr const char *kErrOverflowText = "Overflow";

}  // namespace vmm
