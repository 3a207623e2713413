#include "mapfiles/RecoveryFile.h"

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
  QFile file(path(dataFolder));
  if (!file.open(QIODevice::ReadOnly)) return fail(file.errorString());
  const QByteArray bytes = file.readAll();
  const qsizetype headerEnd = bytes.indexOf('\n');
  const qsizetype pathEnd = headerEnd < 0 ? -1 : bytes.indexOf('\n', headerEnd + 1);
  if (pathEnd < 0 || bytes.left(headerEnd) != kHeader)
    return fail(QStringLiteral("\"%1\" is not a recovery file").arg(file.fileName()));
  RecoveryContent content;
  content.picturePath = QString::fromUtf8(bytes.mid(headerEnd + 1, pathEnd - headerEnd - 1));
  content.mapText = bytes.mid(pathEnd + 1);
  return content;
}

void RecoveryFile::remove(const QString &dataFolder) {
  QFile::remove(path(dataFolder));
}

}  // namespace vmm
