#include "mapfiles/RecoveryFile.h"

#include "mapfiles/InputFile.h"

#include <QDir>
#include <QFile>

namespace vmm {

namespace {
const QByteArray kHeader = QByteArrayLiteral("Varga Map Maker recovery 1");
}

QString RecoveryFile::path(const QString &dataFolder) {
  return QDir(dataFolder).filePath(QStringLiteral("Recovery.vmr"));
}

bool RecoveryFile::exists(const QString &dataFolder) {
  return QFile::exists(path(dataFolder));
}

FileWriteResult RecoveryFile::write(const QString &dataFolder, const RecoveryContent &content) {
  QByteArray bytes;
  bytes.reserve(content.mapText.size() + content.picturePath.size() * 3 + 64);
  bytes += kHeader + '\n';
  bytes += content.picturePath.toUtf8() + '\n';
  bytes += content.mapText;
  return writeFileAtomically(path(dataFolder), bytes);
}

std::optional<RecoveryContent> RecoveryFile::read(const QString &dataFolder, QString *error) {
  auto fail = [error](const QString &reason) -> std::optional<RecoveryContent> {
    if (error) *error = reason;
    return std::nullopt;
  };
  InputFile input;
  if (!input.open(path(dataFolder))) return fail(input.errorString());
  const std::optional<QByteArray> read = input.readAll(kMaxBytes);
  if (!read) return fail(input.errorString());
  const QByteArray &bytes = *read;
  const qsizetype headerEnd = bytes.indexOf('\n');
  const qsizetype pathEnd = headerEnd < 0 ? -1 : bytes.indexOf('\n', headerEnd + 1);
  if (pathEnd < 0 || bytes.left(headerEnd) != kHeader)
    return fail(QStringLiteral("\"%1\" is not a recovery file")
                    .arg(QDir::toNativeSeparators(path(dataFolder))));
  RecoveryContent content;
  content.picturePath = QString::fromUtf8(bytes.mid(headerEnd + 1, pathEnd - headerEnd - 1));
  content.mapText = bytes.mid(pathEnd + 1);
  return content;
}

void RecoveryFile::remove(const QString &dataFolder) {
  QFile::remove(path(dataFolder));
}

QString RecoveryFile::setAsidePath(const QString &dataFolder) {
  return path(dataFolder) + QStringLiteral(".bad");
}

bool RecoveryFile::setAside(const QString &dataFolder) {
  // Renamed, never copied: whatever stands there (a link to a device, a pipe) is only moved.
  QFile::remove(setAsidePath(dataFolder));
  return QDir(dataFolder).rename(path(dataFolder), setAsidePath(dataFolder));
}

}  // namespace vmm
