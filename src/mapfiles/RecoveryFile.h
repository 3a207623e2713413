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
  static QString path(const QString &dataFolder);
  static bool exists(const QString &dataFolder);
  // Replaces the file atomically: a failed write leaves the earlier one intact.
  static FileWriteResult write(const QString &dataFolder, const RecoveryContent &content);
  // Nothing (and the reason in `error`) when the file is missing, unreadable or not a recovery
  // file.
  static std::optional<RecoveryContent> read(const QString &dataFolder, QString *error = nullptr);
  static void remove(const QString &dataFolder);
};

}  // namespace vmm
