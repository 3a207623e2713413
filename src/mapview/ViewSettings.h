#pragma once

#include <QPoint>
#include <QString>

namespace vmm {

// How the map view was last left, kept between runs in the settings file of the
// editor's data folder: the picture it showed, its zoom level and scroll
// position, and whether the overview was open. Values read back are checked
// (a level outside 12.5% to 800% reads as 100%).
struct ViewSettings {
  QString picturePath;
  double zoomLevel = 1.0;
  QPoint scrollPosition;
  bool overviewShown = false;

  static QString filePath(const QString &dataFolder);
  static ViewSettings load(const QString &dataFolder);
  // False when the settings file could not be written.
  bool save(const QString &dataFolder) const;
};

}  // namespace vmm
