// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mapview/EditDispatch.h"

#include <QCursor>
#include <QString>

#include <array>

namespace vmm {

// The mouse cursor of each edit mode (Draw Sector, Draw Quad, Erase Sector,
// Erase Quad, Fill Area). The four painting modes read theirs from the cursor
// files in the data folder; the editor puts its own copies there on first start,
// and a file that cannot be read gives that mode the built-in cursor instead, so
// the editor always keeps running. Fill Area's cursor is drawn by the editor.
class EditCursors {
 public:
  static constexpr int kModeCount = kEditModeCount;
  static constexpr std::array<const char *, 4> kFileNames = {"SectorD.cur", "QuadD.cur",
                                                             "SectorE.cur", "QuadE.cur"};

  explicit EditCursors(const QString &dataFolder);

  const QCursor &cursor(int mode) const;
  // The cursor of a mode with a brush of `brushSize` Sectors square: in Draw Sector
  // and Erase Sector, sizes above 1 show the brush's outline around the pointer's
  // Sector, at the size the view shows it at `zoomLevel`; otherwise (and when the
  // outline would be too large for a cursor) the mode's own cursor.
  QCursor cursor(int mode, int brushSize, double zoomLevel = 1.0) const;
  // True when the mode's cursor came from the data folder, false for the built-in one.
  bool fromDataFolder(int mode) const;

  // Copies the built-in cursor files into the folder where they are missing.
  static void installDefaults(const QString &dataFolder);

 private:
  std::array<QCursor, kModeCount> cursors_;
  std::array<bool, kModeCount> fromFolder_{};
};

}  // namespace vmm
