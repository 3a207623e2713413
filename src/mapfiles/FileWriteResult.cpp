#include "mapfiles/FileWriteResult.h"

#include <QSaveFile>

namespace vmm {

FileWriteResult FileWriteResult::failureOf(const QFileDevice &file) {
  // A device may fail without recording why; report a generic write error then.
  const QFileDevice::FileError code =
      file.error() == QFileDevice::NoError ? QFileDevice::WriteError : file.error();
  QString text = file.errorString();
  if (text.isEmpty()) text = QStringLiteral("Unknown error");
  text.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return {false, static_cast<int>(code), text};
}

QString FileWriteResult::messageText() const {
  return QStringLiteral("Error: %1. %2").arg(errorCode).arg(errorText);
}

FileWriteResult writeFileAtomically(const QString &path, QByteArrayView bytes) {
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
