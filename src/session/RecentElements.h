// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

namespace vmm {

// The elements painted with most recently, newest first, at most kLimit of them,
// each name once. They are kept in a settings file (QSettings, INI format) and read
// back from it on the next run; an unreadable file just starts an empty list.
class RecentElements : public QObject {
  Q_OBJECT

 public:
  static constexpr int kLimit = 8;

  // `settingsFile` empty: nothing is read or kept.
  explicit RecentElements(const QString &settingsFile, QObject *parent = nullptr);

  const QStringList &names() const { return names_; }
  // `name` becomes the newest; the oldest drops off beyond kLimit.
  void note(const QString &name);

 signals:
  void changed();

 private:
  void save() const;

  QString settingsFile_;
  QStringList names_;
};

}  // namespace vmm
