// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

namespace vmm {

// The map projects opened or saved last, newest first, at most kLimit of them. The list
// lives in the editor's settings file (QSettings, INI) in its data folder, read and
// written at every use, so that editors running side by side do not undo each other.
class RecentProjects {
 public:
  static constexpr int kLimit = 10;

  explicit RecentProjects(const QString &settingsFile) : settingsFile_(settingsFile) {}

  QStringList entries() const;
  // Puts the project first, once; the oldest beyond the limit drop out.
  void add(const QString &path);
  void remove(const QString &path);
  void clear();

 private:
  void store(const QStringList &entries);

  QString settingsFile_;
};

}  // namespace vmm
