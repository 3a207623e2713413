// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/ViewSettings.h"

#include "files/SettingsFile.h"

#include <QSettings>

namespace vmm {

namespace {
const QString kGroup = QStringLiteral("MapView");
}  // namespace

ViewSettings ViewSettings::load(const QString &dataFolder) {
  ViewSettings loaded;
  const QString path = settingsFilePath(dataFolder);
  if (!usableSettingsFile(path)) return loaded;
  QSettings file(path, QSettings::IniFormat);
  file.beginGroup(kGroup);
  loaded.overviewShown = file.value(QStringLiteral("overview"), false).toBool();
  // Anything but bytes of a plausible size is left alone: the window opens as new.
  constexpr qsizetype kMaxGeometryBytes = 1024;
  const QVariant geometry = file.value(QStringLiteral("window"));
  if (geometry.typeId() == QMetaType::QByteArray &&
      geometry.toByteArray().size() <= kMaxGeometryBytes)
    loaded.windowGeometry = geometry.toByteArray();
  return loaded;
}

bool ViewSettings::save(const QString &dataFolder) const {
  const QString path = settingsFilePath(dataFolder);
  if (!usableSettingsFile(path)) return false;
  QSettings file(path, QSettings::IniFormat);
  file.beginGroup(kGroup);
  // Keys an earlier version kept here (the picture, zoom and scroll) go.
  for (const char *key : {"picture", "zoom", "scrollX", "scrollY"}) file.remove(QLatin1String(key));
  file.setValue(QStringLiteral("overview"), overviewShown);
  if (!windowGeometry.isEmpty()) file.setValue(QStringLiteral("window"), windowGeometry);
  file.endGroup();
  file.sync();
  return file.status() == QSettings::NoError;
}

}  // namespace vmm
