// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/InputFile.h"

#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace vmm {
namespace {

QString notAFile(const QString &kind) {
  return QStringLiteral("it is %1, not a file").arg(kind);
}

#ifdef Q_OS_UNIX
QString kindOf(mode_t mode) {
  if (S_ISREG(mode)) return {};
  if (S_ISDIR(mode)) return QStringLiteral("a folder");
  if (S_ISFIFO(mode)) return QStringLiteral("a pipe");
  if (S_ISCHR(mode) || S_ISBLK(mode)) return QStringLiteral("a device");
  if (S_ISSOCK(mode)) return QStringLiteral("a socket");
  return QStringLiteral("a special file");
}
#endif

}  // namespace

QString nonFileKind(const QString &path) {
#ifdef Q_OS_UNIX
  struct stat status {};
  if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0) return {};
  return kindOf(status.st_mode);
#else
  const QFileInfo info(path);
  if (!info.exists() || info.isFile()) return {};
  return info.isDir() ? QStringLiteral("a folder") : QStringLiteral("a special file");
#endif
}

bool InputFile::open(const QString &path) {
  file_.reset();
  error_.clear();
  // Looked at before opening: opening some devices already does something.
  if (const QString kind = nonFileKind(path); !kind.isEmpty()) {
    error_ = notAFile(kind);
    return false;
  }
  auto file = std::make_unique<QFile>(path);
#ifdef Q_OS_UNIX
  // Without O_NONBLOCK, a pipe put in the file's place meanwhile would block the open until
  // a writer comes; the descriptor is checked again once open.
  const int fd =
      ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    error_ = qt_error_string(errno);
    return false;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    error_ = notAFile(kindOf(status.st_mode));
    ::close(fd);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if (!file->open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
    error_ = file->errorString();
    ::close(fd);
    return false;
  }
#else
  if (!file->open(QIODevice::ReadOnly)) {
    error_ = file->errorString();
    return false;
  }
#endif
  file_ = std::move(file);
  return true;
}

std::optional<QByteArray> InputFile::readAll(qint64 maxBytes) {
  if (!file_) return std::nullopt;
  // The size the file claims is only a hint: it may grow while it is read. One byte more
  // than it claims tells a grown file at once; a file read as claimed is never moved.
  constexpr qint64 kChunk = 1 << 20;
  QByteArray bytes(static_cast<qsizetype>(std::min(file_->size(), maxBytes) + 1),
                   Qt::Uninitialized);
  qint64 filled = 0;
  while (filled <= maxBytes) {
    if (filled == bytes.size())
      bytes.resize(
          static_cast<qsizetype>(std::min(maxBytes + 1, filled + std::max(filled, kChunk))));
    const qint64 wanted = std::min(kChunk, static_cast<qint64>(bytes.size()) - filled);
    const qint64 got = file_->read(bytes.data() + filled, wanted);
    if (got < 0) {
      error_ = file_->errorString();
      return std::nullopt;
    }
    if (got == 0) {
      bytes.resize(static_cast<qsizetype>(filled));
      return bytes;
    }
    filled += got;
  }
  error_ = QStringLiteral("the file is larger than %1 bytes").arg(maxBytes);
  return std::nullopt;
}

}  // namespace vmm
