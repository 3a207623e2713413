#pragma once

#include <QCursor>
#include <QString>

#include <array>

namespace vmm {

// The mouse cursor of each edit mode (Draw Sector, Draw Quad, Erase Sector,
// Erase Quad), read from the cursor files in the data folder. The editor puts
// its own copies there on first start; a file that cannot be read gives that
// mode the built-in cursor instead, so the editor always keeps running.
class EditCursors {
 public:
  static constexpr std::array<const char *, 4> kFileNames = {"SectorD.cur", "QuadD.cur",
                                                             "SectorE.cur", "QuadE.cur"};

  explicit EditCursors(const QString &dataFolder);

  const QCursor &cursor(int mode) const;
  // True when the mode's cursor came from the data folder, false for the built-in one.
  bool fromDataFolder(int mode) const;

  // Copies the built-in cursor files into the folder where they are missing.
  static void installDefaults(const QString &dataFolder);

 private:
  std::array<QCursor, 4> cursors_;
  std::array<bool, 4> fromFolder_{};
};

}  // namespace vmm
