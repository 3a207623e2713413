// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/ApplicationIcon.h"

namespace vmm {

QIcon applicationIcon() {
  // Rendered from data/appicon/varga-map-maker.svg by scripts/render_icons.sh: no SVG
  // support is needed at run time.
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/appicon/varga-map-maker-%1.png").arg(size), QSize(size, size));
  return icon;
}

}  // namespace vmm
