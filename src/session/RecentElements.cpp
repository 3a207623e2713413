// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/RecentElements.h"

#include "files/SettingsFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vmm {

namespace {

const QString kRecentElementsKey = QStringLiteral("RecentElements/names");
}  // namespace

RecentElements::RecentElements(const QString &settingsFile, QObject *parent)
    : QObject(parent), settingsFile_(settingsFile) {
  if (!usableSettingsFile(settingsFile_)) {
    settingsFile_.clear();
    return;
  }
  const QSettings settings(settingsFile_, QSettings::IniFormat);
  // The file is outside input: keep only distinct, non-empty names, and no more than the limit.
  for (const QString &name : settings.value(kRecentElementsKey).toStringList())
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

void RecentElements::save() const {
  if (settingsFile_.isEmpty()) return;
  QSettings settings(settingsFile_, QSettings::IniFormat);
  settings.setValue(kRecentElementsKey, names_);
}

}  // namespace vmm
