// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/FileWriteResult.h"

#include "files/InputFile.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vmm {

namespace {

// A leftover untouched for this long belongs to no write still under way.
constexpr qint64 kLeftoverAgeSeconds = 60;

QString describe(QFileDevice::FileError code) {
  switch (code) {
    case QFileDevice::OpenError:
      return QStringLiteral("The file could not be opened");
    case QFileDevice::RenameError:
      return QStringLiteral("The file could not be replaced");
    case QFileDevice::PermissionsError:
      return QStringLiteral("Permission denied");
    case QFileDevice::ResourceError:
      return QStringLiteral("Out of resources, the disk may be full");
    default:
      return QStringLiteral("The file could not be written");
  }
}

// While it is written, the new content carries no permission at all: a copy left behind by a
// killed run is then told from any file of the user's by its mode, and removed later.
// Nothing is marked where the file system keeps no modes.
class UnfinishedMark {
 public:
  explicit UnfinishedMark(QSaveFile &file) : file_(file) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::fstat(file.handle(), &status) == 0 && ::fchmod(file.handle(), 0) == 0)
      mode_ = status.st_mode & 07777;
#endif
  }
  // Gives the content the mode QSaveFile chose for it, before it takes the target's place.
  void clear() {
#ifdef Q_OS_UNIX
    if (mode_ >= 0) ::fchmod(file_.handle(), static_cast<mode_t>(mode_));
#endif
  }

 private:
  QSaveFile &file_;
  int mode_ = -1;
};

}  // namespace

QString finalLinkTarget(const QString &path) {
  QFileInfo info(path);
  for (int hops = 0; hops < 40 && info.isSymLink(); ++hops) info.setFile(info.symLinkTarget());
  return info.absoluteFilePath();
}

void removeLeftoversOf(const QString &path) {
#ifdef Q_OS_UNIX
  const QFileInfo target(path);
  const QRegularExpression leftoverName(QRegularExpression::anchoredPattern(
      QRegularExpression::escape(target.fileName()) + QStringLiteral("\\.[A-Za-z]{6}")));
  const QDir folder = target.absoluteDir();
  const QStringList candidates =
      folder.entryList({target.fileName() + QStringLiteral(".??????")},
                       QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
  const qint64 now = QDateTime::currentSecsSinceEpoch();
  for (const QString &name : candidates) {
    if (!leftoverName.match(name).hasMatch()) continue;
    const QByteArray candidate = QFile::encodeName(folder.filePath(name));
    struct stat status {};
    if (::lstat(candidate.constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
        (status.st_mode & 07777) != 0 || status.st_uid != ::geteuid() ||
        now - status.st_mtime < kLeftoverAgeSeconds)
      continue;
    ::unlink(candidate.constData());
  }
#else
  Q_UNUSED(path);
#endif
}

FileWriteResult FileWriteResult::failureOf(const QFileDevice &file) {
  // A device may fail without recording why; report a generic write error then.
  const QFileDevice::FileError code =
      file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
  QString text = file.errorString();
  // A failed commit (the final rename) often leaves only Qt's placeholder text.
  if (text.isEmpty() || text == QLatin1String("Unknown error")) text = describe(code);
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return {false, static_cast<int>(code), text};
}

QString FileWriteResult::messageText() const {
  return QStringLiteral("Error: %1. %2").arg(errorCode).arg(errorText);
}

FileWriteResult checkNotReadOnly(const QString &path) {
  const QFileInfo info(path);
  constexpr QFileDevice::Permissions anyWrite =
      QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
  if (info.exists() && !(info.permissions() & anyWrite))
    return {false, static_cast<int>(QFileDevice::PermissionsError),
            QStringLiteral("The file is read-only")};
  return {};
}

FileWriteResult checkReplaceable(const QString &path) {
  if (const QString kind = nonFileKind(path); !kind.isEmpty())
    return {false, static_cast<int>(QFileDevice::OpenError),
            QStringLiteral("The target is %1, not a file; it is left as it is").arg(kind)};
  return checkNotReadOnly(path);
}

QFileDevice::Permissions newFilePermissions() {
  QFileDevice::Permissions permissions = QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ReadUser | QFileDevice::WriteUser |
                                         QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                                         QFileDevice::ReadOther | QFileDevice::WriteOther;
#ifdef Q_OS_UNIX
  // umask can only be read by setting it; it is put back at once.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  if (mask & S_IWGRP) permissions &= ~QFileDevice::WriteGroup;
  if (mask & S_IRGRP) permissions &= ~QFileDevice::ReadGroup;
  if (mask & S_IWOTH) permissions &= ~QFileDevice::WriteOther;
  if (mask & S_IROTH) permissions &= ~QFileDevice::ReadOther;
  if (mask & S_IWUSR) permissions &= ~(QFileDevice::WriteOwner | QFileDevice::WriteUser);
  if (mask & S_IRUSR) permissions &= ~(QFileDevice::ReadOwner | QFileDevice::ReadUser);
#endif
  return permissions;
}

FileWriteResult writeFileAtomically(const QString &path, QByteArrayView bytes) {
  if (FileWriteResult refused = checkReplaceable(path); !refused.ok) return refused;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return FileWriteResult::failureOf(file);
  UnfinishedMark mark(file);
  if (file.write(bytes.data(), bytes.size()) != bytes.size() || !file.flush()) {
    FileWriteResult result = FileWriteResult::failureOf(file);
    file.cancelWriting();
    return result;
  }
  mark.clear();
  if (!file.commit()) return FileWriteResult::failureOf(file);
  removeLeftoversOf(finalLinkTarget(path));
  return {};
}

}  // namespace vmm
