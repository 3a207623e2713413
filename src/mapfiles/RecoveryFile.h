// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileWriteResult.h"
#include "mapfiles/ProjectFile.h"

#include <QString>

#include <optional>

namespace vmm {

// What the editor needs to bring back unsaved work: the map as a project (the picture's
// bytes travel with it), and where the picture and the project were, if anywhere.
struct RecoveryContent {
  ProjectContent project;
  QString picturePath;  // the picture file the map was started from; may be empty
  QString projectPath;  // the project the map was opened from or saved to; may be empty
};

// The recovery file in the editor's data folder: a map project like any other, whose
// editor state also names the picture and project files it came from.
class RecoveryFile {
 public:
  static QString path(const QString &dataFolder);
  static bool exists(const QString &dataFolder);
  // Replaces the file atomically: a failed write leaves the earlier one intact.
  static FileWriteResult write(const QString &dataFolder, const RecoveryContent &content);
  // Nothing (and the reason in `error`) when the file is missing, is not a regular file or
  // is not a project this version can open (a project's size limits bound the reading).
  static std::optional<RecoveryContent> read(const QString &dataFolder, QString *error = nullptr);
  static void remove(const QString &dataFolder);
  // Moves an unusable copy out of the way, to path() + ".bad" (replacing an earlier one), so
  // that it is not offered again; false when it could not be moved.
  static bool setAside(const QString &dataFolder);
  static QString setAsidePath(const QString &dataFolder);
};

}  // namespace vmm
