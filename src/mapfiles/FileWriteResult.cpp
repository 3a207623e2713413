#include "mapfiles/FileWriteResult.h"

#include <QFileInfo>
#include <QSaveFile>

namespace vmm {

namespace {

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

}  // namespace

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

FileWriteResult writeFileAtomically(const QString &path, QByteArrayView bytes) {
  if (FileWriteResult refused = checkNotReadOnly(path); !refused.ok) return refused;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return FileWriteResult::failureOf(file);
  if (file.write(bytes.data(), bytes.size()) != bytes.size()) {
    FileWriteResult result = FileWriteResult::failureOf(file);
    file.cancelWriting();
    return result;
  }
  if (!file.commit()) return FileWriteResult::failureOf(file);
  return {};
}

}  // namespace vmm
