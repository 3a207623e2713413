// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mapfiles/RecoveryFile.h"

#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace vmm {

// Keeps a copy of unsaved work in the data folder so that a crash costs
// nothing. A change schedules a write once the user has paused (the quiet
// period) and no sooner than the minimum interval after the previous write.
// A lock file held for the editor's lifetime tells a crashed editor (its lock
// is stale) from one still running (its lock is live): only the editor that
// holds the lock reads, writes or removes the recovery file.
class RecoveryService : public QObject {
  Q_OBJECT

 public:
  struct Timing {
    std::chrono::milliseconds quietPeriod{3000};
    std::chrono::milliseconds minimumInterval{60000};
  };
  using ContentSource = std::function<RecoveryContent()>;

  RecoveryService(const QString &dataFolder, ContentSource source, Timing timing,
                  QObject *parent = nullptr);
  RecoveryService(const QString &dataFolder, ContentSource source, QObject *parent = nullptr)
      : RecoveryService(dataFolder, std::move(source), Timing{}, parent) {}
  ~RecoveryService() override;

  static QString lockPath(const QString &dataFolder);

  // False when another running editor holds the lock, or when the lock file is no regular
  // file (lockProblem() says what it is): this one then stays out of the recovery file
  // altogether.
  bool isActive() const { return active_; }
  QString lockProblem() const { return lockProblem_; }
  // A recovery file left by an editor that did not end normally.
  bool hasRecovery() const { return active_ && RecoveryFile::exists(folder_); }
  std::optional<RecoveryContent> load(QString *error = nullptr) const;

  void setTiming(Timing timing) { timing_ = timing; }
  // The map changed and is not saved: write a recovery copy in a while.
  void scheduleWrite();
  bool isWritePending() const { return timer_.isActive(); }
  // Writes at once; false (with the reason) when the write failed.
  bool writeNow(QString *error = nullptr);
  // Nothing to recover any more (saved, or a normal exit): removes the file.
  void discard();
  // The copy cannot be used: moves it aside (see RecoveryFile::setAside) so that it is not
  // offered again; false when it could not be moved.
  bool setAside();

 signals:
  void written(const QString &path);
  void writeFailed(const QString &reason);

 private:
  void onTimer();

  QString folder_;
  ContentSource source_;
  Timing timing_;
  QLockFile lock_;
  bool active_ = false;
  QString lockProblem_;
  QTimer timer_;
  QElapsedTimer sinceWrite_;
};

}  // namespace vmm
