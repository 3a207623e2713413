#include "session/RecentElements.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vmm {

namespace {

const QString kKey = QStringLiteral("RecentElements/names");
constexpr qint64 kMaxSettingsBytes = 1 << 20;  // far beyond what the editor writes

// A settings file that could not be the editor's own (a folder, a device, a huge file)
// is neither read nor replaced.
bool usableSettingsFile(const QString &path) {
  const QFileInfo info(path);
  return !path.isEmpty() && (!info.exists() || (info.isFile() && info.size() <= kMaxSettingsBytes));
}

}  // namespace

RecentElements::RecentElements(const QString &settingsFile, QObject *parent)
    : QObject(parent), settingsFile_(settingsFile) {
  if (!usableSettingsFile(settingsFile_)) {
    settingsFile_.clear();
    return;
  }
  const QSettings settings(settingsFile_, QSettings::IniFormat);
  // The file is outside input: keep only distinct, non-empty names, and no more than the limit.
  for (const QString &name : settings.value(kKey).toStringList())
    if (!name.isEmpty() && !names_.contains(name) && names_.size() < kLimit) names_ << name;
}

void RecentElements::note(const QString &name) {
  if (name.isEmpty() || (!names_.isEmpty() && names_.first() == name)) return;
  names_.removeOne(name);
  names_.prepend(name);
  while (names_.size() > kLimit) names_.removeLast();
  save();
  emit changed();
}

QString RecentElements::settingsFileIn(const QString &dataFolder) {
  return QDir(dataFolder).filePath(QStringLiteral("Settings.ini"));
}

void RecentElements::save() const {
  if (settingsFile_.isEmpty()) return;
  QSettings settings(settingsFile_, QSettings::IniFormat);
  settings.setValue(kKey, names_);
}

}  // namespace vmm
