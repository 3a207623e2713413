#pragma once

#include <QString>

namespace vmm {

// What the editor keeps of its map view between runs, in the settings file of its data
// folder: whether the overview was open. (Where a map was left, zoom and scroll, goes
// with the map in its project.)
struct ViewSettings {
  bool overviewShown = false;

  static ViewSettings load(const QString &dataFolder);
  // False when the settings file could not be written.
  bool save(const QString &dataFolder) const;
};

}  // namespace vmm
