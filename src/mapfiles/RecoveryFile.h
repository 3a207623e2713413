#pragma once

#include "mapfiles/FileWriteResult.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vmm {

// What the editor needs to bring back unsaved work: the picture the map was
// painted on and the map itself as Varga text.
struct RecoveryContent {
  QString picturePath;
  QByteArray mapText;
};

// The recovery file in the editor's data folder. It starts with a line naming
// the file's kind, then the picture's path on a line of its own, then the map
// exactly as a Varga export would write it.
class RecoveryFile {
 public:
  // More than any copy needs: a maximum map's text (5001 rows of 33 numbers of at most
  // 6 characters, each with its tab) is about 1.2 MB, and a path at most a few kB.
  static constexpr qint64 kMaxBytes = 4 * 1024 * 1024;

  static QString path(const QString &dataFolder);
  static bool exists(const QString &dataFolder);
  // Replaces the file atomically: a failed write leaves the earlier one intact.
  static FileWriteResult write(const QString &dataFolder, const RecoveryContent &content);
  // Nothing (and the reason in `error`) when the file is missing, unreadable, not a regular
  // file, larger than kMaxBytes or not a recovery file.
  static std::optional<RecoveryContent> read(const QString &dataFolder, QString *error = nullptr);
  static void remove(const QString &dataFolder);
  // Moves an unusable copy out of the way, to path() + ".bad" (replacing an earlier one), so
  // that it is not offered again; false when it could not be moved.
  static bool setAside(const QString &dataFolder);
  static QString setAsidePath(const QString &dataFolder);
};

}  // namespace vmm
