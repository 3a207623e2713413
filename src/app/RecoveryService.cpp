// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecoveryService.h"

#include "files/InputFile.h"

#include <QDir>

namespace vmm {

RecoveryService::RecoveryService(const QString &dataFolder, ContentSource source, Timing timing,
                                 QObject *parent)
    : QObject(parent),
      folder_(dataFolder),
      source_(std::move(source)),
      timing_(timing),
      lock_(lockPath(dataFolder)) {
  // Only a dead owner makes the lock stale: a long session must keep its lock.
  lock_.setStaleLockTime(0);
  QDir().mkpath(folder_);
  // A pipe in the lock's place would block the open for ever, and a folder there makes the
  // lock retry for ever: like every special file, it is never opened.
  if (const QString kind = nonFileKind(lockPath(folder_)); !kind.isEmpty())
    lockProblem_ = QStringLiteral(
                       "No recovery copy is kept: the lock file \"%1\" is %2, not a "
                       "file")
                       .arg(QDir::toNativeSeparators(lockPath(folder_)), kind);
  else
    active_ = lock_.tryLock(0);
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &RecoveryService::onTimer);
}

RecoveryService::~RecoveryService() = default;

QString RecoveryService::lockPath(const QString &dataFolder) {
  return QDir(dataFolder).filePath(QStringLiteral("VargaMapMaker.lock"));
}

std::optional<RecoveryContent> RecoveryService::load(QString *error) const {
  if (!active_) return std::nullopt;
  return RecoveryFile::read(folder_, error);
}

void RecoveryService::scheduleWrite() {
  if (!active_) return;
  timer_.start(timing_.quietPeriod);
}

void RecoveryService::onTimer() {
  if (sinceWrite_.isValid()) {
    const auto since = std::chrono::milliseconds(sinceWrite_.elapsed());
    if (since < timing_.minimumInterval) {
      timer_.start(timing_.minimumInterval - since);
      return;
    }
  }
  writeNow();
}

bool RecoveryService::writeNow(QString *error) {
  timer_.stop();
  if (!active_) return false;
  const FileWriteResult result = RecoveryFile::write(folder_, source_());
  sinceWrite_.start();
  if (!result.ok) {
    if (error) *error = result.errorText;
    emit writeFailed(result.errorText);
    return false;
  }
  emit written(RecoveryFile::path(folder_));
  return true;
}

void RecoveryService::discard() {
  timer_.stop();
  if (active_) RecoveryFile::remove(folder_);
}

bool RecoveryService::setAside() {
  return active_ && RecoveryFile::setAside(folder_);
}

}  // namespace vmm
