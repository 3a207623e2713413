// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace vmm {

// The editor's settings file in its data folder, "Settings.ini": the overview's state,
// the recent projects and the recent elements each keep a group of it.
QString settingsFilePath(const QString &dataFolder);

// Whether `path` may be read and replaced as the editor's settings: it is missing, or a
// regular file of a size the editor could have written. A folder, a pipe, a device or a
// huge file is neither read (a pipe would block the start) nor replaced.
// So is one whose lock file ("Settings.ini.lock", which Qt's settings take for every save and
// wait for without end) is anything but a regular file: a pipe there would block the save.
bool usableSettingsFile(const QString &path);

// Why the settings at `path` are neither read nor saved, worded for a notice; empty when
// they are usable.
QString settingsFileProblem(const QString &path);

}  // namespace vmm
