// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace vmm {

// The tree browser's 14 node pictures, numbered 1 to 14 as the node table numbers
// them: one per category, "All Elements" (9) and the root (14). They are drawn
// in code at 16 x 16 pixels so that they stay crisp and need no image files.
class TreeIcons {
 public:
  static constexpr int kCount = 14;
  static constexpr int kSize = 16;

  // The picture with this number; a null icon outside 1..14.
  static QIcon picture(int number);
};

}  // namespace vmm
