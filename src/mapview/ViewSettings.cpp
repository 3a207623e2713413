#include "mapview/ViewSettings.h"

#include "mapview/ViewZoom.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <cmath>

namespace vmm {

namespace {
const QString kGroup = QStringLiteral("MapView");
constexpr int kLargestScroll = 1 << 20;  // beyond any zoomed picture
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
  loaded.picturePath = file.value(QStringLiteral("picture")).toString();
  bool ok = false;
  const double level = file.value(QStringLiteral("zoom")).toDouble(&ok);
  if (ok && std::isfinite(level) && level >= ViewZoom::kMinimum && level <= ViewZoom::kMaximum)
    loaded.zoomLevel = level;
  const int x = file.value(QStringLiteral("scrollX")).toInt();
  const int y = file.value(QStringLiteral("scrollY")).toInt();
  if (x >= 0 && y >= 0 && x <= kLargestScroll && y <= kLargestScroll)
    loaded.scrollPosition = {x, y};
  loaded.overviewShown = file.value(QStringLiteral("overview"), false).toBool();
  return loaded;
}

bool ViewSettings::save(const QString &dataFolder) const {
  const QString path = filePath(dataFolder);
  if (QFileInfo::exists(path) && !QFileInfo(path).isFile()) return false;
  QSettings file(path, QSettings::IniFormat);
  file.beginGroup(kGroup);
  file.setValue(QStringLiteral("picture"), picturePath);
  file.setValue(QStringLiteral("zoom"), zoomLevel);
  file.setValue(QStringLiteral("scrollX"), scrollPosition.x());
  file.setValue(QStringLiteral("scrollY"), scrollPosition.y());
  file.setValue(QStringLiteral("overview"), overviewShown);
  file.endGroup();
  file.sync();
  return file.status() == QSettings::NoError;
}

}  // namespace vmm
