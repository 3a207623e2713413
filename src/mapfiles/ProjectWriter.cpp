// Saving a map project: the database is built in a temporary file beside the target and
// renamed over it only once it is complete and on the disk.
#include "files/SqliteConnection.h"
#include "mapfiles/ProjectFile.h"
#include "mapfiles/ProjectSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QtEndian>

#include <filesystem>
#include <system_error>

namespace vmm {
namespace {

// SQLite's code for a full disk or a file grown past its limit.
const QString kSqliteFull = QStringLiteral("13");

QByteArray planeBytes(const std::vector<qint16> &values) {
  QByteArray bytes(qsizetype(values.size() * sizeof(qint16)), Qt::Uninitialized);
  qToLittleEndian<qint16>(values.data(), qsizetype(values.size()), bytes.data());
  return bytes;
}

// Qt binds a null string as NULL, which the NOT NULL columns refuse: an empty text is meant.
QString text(const QString &value) {
  return value.isNull() ? QStringLiteral("") : value;
}

FileWriteResult failure(const QString &reason,
                        QFileDevice::FileError code = QFileDevice::WriteError) {
  QString shown = reason.trimmed();
  shown.replace(QLatin1Char('\n'), QLatin1Char(' '));
  return {false, static_cast<int>(code), shown};
}

FileWriteResult failure(const QSqlError &error) {
  if (error.nativeErrorCode() == kSqliteFull)
    return failure(QStringLiteral("Out of resources, the disk may be full (%1)").arg(error.text()),
                   QFileDevice::ResourceError);
  return failure(error.text());
}

// Runs the statements that build the project in `db`; the first failure, or no error.
QSqlError buildDatabase(QSqlDatabase db, const ProjectContent &content) {
  QSqlQuery query(db);
  // No journal: a failed save throws the whole file away. Synchronous: the file is on the
  // disk before it replaces the earlier project.
  for (const QString &pragma :
       {QStringLiteral("PRAGMA journal_mode = OFF"), QStringLiteral("PRAGMA synchronous = FULL"),
        QStringLiteral("PRAGMA locking_mode = EXCLUSIVE"),
        QStringLiteral("PRAGMA page_size = 16384"),
        QStringLiteral("PRAGMA application_id = %1").arg(kProjectApplicationId),
        QStringLiteral("PRAGMA user_version = %1").arg(kProjectFormatVersion)})
    if (!query.exec(pragma)) return query.lastError();
  if (!db.transaction()) return db.lastError();
  for (const project::TableShape &table : project::tables())
    if (!query.exec(table.createStatement)) return query.lastError();

  auto run = [&query](const QString &statement, const QVariantList &values) {
    query.prepare(statement);
    for (const QVariant &value : values) query.addBindValue(value);
    return query.exec();
  };
  const int quads = content.storedQuads();
  if (!run(QStringLiteral("INSERT INTO map VALUES (?, ?, ?, ?)"),
           {text(content.writtenBy), int(content.XQuads), int(content.YQuads),
            int(content.TotalQuads)}) ||
      !run(QStringLiteral("INSERT INTO picture VALUES (?, ?)"),
           {text(content.picture.fileName), content.picture.fileBytes}) ||
      !run(QStringLiteral("INSERT INTO planes VALUES (?, ?, ?)"),
           {project::kElementPlane, quads, planeBytes(content.elements)}) ||
      !run(QStringLiteral("INSERT INTO planes VALUES (?, ?, ?)"),
           {project::kHeightPlane, quads, planeBytes(content.heights)}))
    return query.lastError();
  const QMap<QString, QString> rows = project::toRows(content.state);
  for (auto row = rows.cbegin(); row != rows.cend(); ++row)
    if (!run(QStringLiteral("INSERT INTO editor_state VALUES (?, ?)"),
             {text(row.key()), text(row.value())}))
      return query.lastError();
  query.finish();
  if (!db.commit()) return db.lastError();
  return {};
}

std::filesystem::path fileSystemPath(const QString &path) {
  return std::filesystem::path(QDir::toNativeSeparators(path).toStdU16String());
}

}  // namespace

FileWriteResult writeProject(const ProjectContent &content, const QString &path) {
  if (FileWriteResult refused = checkReplaceable(path); !refused.ok) return refused;
  if (content.elements.size() != content.heights.size() ||
      content.elements.size() % kSectorsPerQuad != 0)
    return failure(QStringLiteral("the map's planes differ in length"));

  // A link is followed, as every other write does: what it points at is replaced.
  const QFileInfo given(path);
  const QFileInfo target(given.isSymLink() ? given.symLinkTarget() : given.absoluteFilePath());
  QTemporaryFile scratch(
      target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX")));
  if (!scratch.open()) return FileWriteResult::failureOf(scratch);
  scratch.close();  // SQLite opens it itself; the object removes it unless it is renamed
  {
    const ScopedConnection connection({scratch.fileName(), false},
                                      ScopedConnection::Access::Create);
    if (!connection.isOpen()) return failure(connection.errorText());
    if (const QSqlError error = buildDatabase(connection.database(), content); error.isValid())
      return failure(error);
  }
  // The scratch file is private while written; the project gets the permissions of the file
  // it replaces, or those of any new file.
  scratch.setPermissions(target.exists() ? QFile::permissions(target.absoluteFilePath())
                                         : newFilePermissions());
  // One atomic step: the name shows the earlier project or the new one, never a part.
  std::error_code error;
  std::filesystem::rename(fileSystemPath(scratch.fileName()),
                          fileSystemPath(target.absoluteFilePath()), error);
  if (error) return failure(QString::fromStdString(error.message()), QFileDevice::RenameError);
  scratch.setAutoRemove(false);
  return {};
}

}  // namespace vmm
