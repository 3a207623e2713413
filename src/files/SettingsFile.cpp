// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SettingsFile.h"

#include "files/InputFile.h"

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
  return settingsFileProblem(path).isEmpty();
}

QString settingsFileProblem(const QString &path) {
  if (path.isEmpty()) return QStringLiteral("The editor has no data folder for its settings");
  const QString shown = QDir::toNativeSeparators(path);
  const QString lock = path + QStringLiteral(".lock");
  if (const QString kind = nonFileKind(lock); !kind.isEmpty())
    return QStringLiteral(
               "The settings are neither read nor saved: their lock file \"%1\" is "
               "%2, not a file")
        .arg(QDir::toNativeSeparators(lock), kind);
  if (const QString kind = nonFileKind(path); !kind.isEmpty())
    return QStringLiteral("The settings are neither read nor saved: \"%1\" is %2, not a file")
        .arg(shown, kind);
  const QFileInfo info(path);
  if (info.exists() && (!info.isFile() || info.size() > kMaxSettingsBytes))
    return QStringLiteral(
               "The settings are neither read nor saved: \"%1\" is larger than the "
               "editor writes")
        .arg(shown);
  return {};
}

}  // namespace vmm
