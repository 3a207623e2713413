#include "files/SettingsFile.h"

#include <QDir>
#include <QFileInfo>

namespace vmm {

namespace {
constexpr qint64 kMaxSettingsBytes = 1 << 20;  // far beyond what the editor writes
}  // namespace

QString settingsFilePath(const QString &dataFolder) {
  return QDir(dataFolder).filePath(QStringLiteral("Settings.ini"));
}

bool usableSettingsFile(const QString &path) {
  const QFileInfo info(path);
  return !path.isEmpty() && (!info.exists() || (info.isFile() && info.size() <= kMaxSettingsBytes));
}

}  // namespace vmm
