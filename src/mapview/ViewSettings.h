// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace vmm {

// What the editor keeps of its windows between runs, in the settings file of its data
// folder: whether the overview was open, and the main window's size, place and maximised
// state (QWidget::saveGeometry's bytes). Where a map was left, zoom and scroll, goes with
// the map in its project.
struct ViewSettings {
  bool overviewShown = false;
  QByteArray windowGeometry;

  static ViewSettings load(const QString &dataFolder);
  // False when the settings file could not be written.
  bool save(const QString &dataFolder) const;
};

}  // namespace vmm
