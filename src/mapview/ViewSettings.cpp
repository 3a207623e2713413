#include "mapview/ViewSettings.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vmm {

namespace {
const QString kGroup = QStringLiteral("MapView");
}  // namespace

QString ViewSettings::filePath(const QString &dataFolder) {
  return QDir(dataFolder).filePath(QStringLiteral("Settings.ini"));
}

ViewSettings ViewSettings::load(const QString &dataFolder) {
  ViewSettings loaded;
  const QString path = filePath(dataFolder);
  // Anything but a regular file (a folder, a device) is left alone.
  if (!QFileInfo(path).isFile()) return loaded;
  QSettings file(path, QSettings::IniFormat);
  file.beginGroup(kGroup);
  loaded.overviewShown = file.value(QStringLiteral("overview"), false).toBool();
  return loaded;
}

bool ViewSettings::save(const QString &dataFolder) const {
  const QString path = filePath(dataFolder);
  if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) return false;
  QSettings file(path, QSettings::IniFormat);
  file.beginGroup(kGroup);
  // Keys an earlier version kept here (the picture, zoom and scroll) go.
  for (const char *key : {"picture", "zoom", "scrollX", "scrollY"}) file.remove(QLatin1String(key));
  file.setValue(QStringLiteral("overview"), overviewShown);
  file.endGroup();
  file.sync();
  return file.status() == QSettings::NoError;
}

}  // namespace vmm
