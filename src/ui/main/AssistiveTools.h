// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

namespace vmm {

// Plain top-level windows (the splash, the Element Data window) report themselves to
// screen readers as windows named by their titles; Qt's dialogs, main windows and docks
// already do. Safe to call more than once.
void describeWindowsToAssistiveTools();

// Keeps the accessible name and description of every widget inside `root` in step with
// its tool tip, now and whenever the tip changes.
void describeByToolTips(QWidget *root);

// The accessible name and description a tool tip gives: the name is the tip's lead (the
// words before its colon, or its first clause), the description the whole tip.
void describeByToolTip(QWidget *widget, const QString &toolTip);

}  // namespace vmm
