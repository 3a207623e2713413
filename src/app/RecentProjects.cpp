// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecentProjects.h"

#include "files/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vmm {

namespace {
const QString kRecentProjectsKey = QStringLiteral("RecentProjects/files");

QString normalised(const QString &path) {
  return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}
}  // namespace

QStringList RecentProjects::entries() const {
  if (!usableSettingsFile(settingsFile_)) return {};
  const QSettings settings(settingsFile_, QSettings::IniFormat);
  QStringList entries = settings.value(kRecentProjectsKey).toStringList();
  entries.removeAll(QString());
  entries.removeDuplicates();
  // A list edited by hand may be longer than the menu shows.
  return entries.mid(0, kLimit);
}

void RecentProjects::add(const QString &path) {
  const QString entry = normalised(path);
  QStringList list = entries();
  list.removeAll(entry);
  list.prepend(entry);
  store(list.mid(0, kLimit));
}

void RecentProjects::remove(const QString &path) {
  QStringList list = entries();
  list.removeAll(path);
  list.removeAll(normalised(path));
  store(list);
}

void RecentProjects::clear() {
  store({});
}

void RecentProjects::store(const QStringList &entries) {
  if (!usableSettingsFile(settingsFile_)) return;
  QSettings settings(settingsFile_, QSettings::IniFormat);
  settings.setValue(kRecentProjectsKey, entries);
  settings.sync();
}

}  // namespace vmm
