// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>

namespace vmm {

// The editor's icon in every size the desktop's icon theme holds (16 to 256 pixels),
// for the window frames and the task bar.
QIcon applicationIcon();

}  // namespace vmm
