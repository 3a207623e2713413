// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a map project: the database is built in a temporary file beside the target and
// renamed over it only once it is complete and on the disk.
#include "files/FileWriteResult.h"
#include "files/SqliteConnection.h"
#include "mapfiles/ProjectFile.h"
#include "mapfiles/ProjectSchema.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QtEndian>

#include <cerrno>
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
  // SQLite says "database or disk is full" where the system said ENOSPC; every other write
  // reports the system's words, and so does this one.
  if (error.nativeErrorCode() == kSqliteFull)
    return failure(qt_error_string(ENOSPC), QFileDevice::ResourceError);
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
  // Committed by statement: Qt's commit() keeps SQLite's words but drops its error code,
  // which tells a full disk.
  if (!query.exec(QStringLiteral("COMMIT"))) return query.lastError();
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
  // Nothing is stored that the reader would refuse: a saved project always opens again.
  if (!project::isStorableFileName(content.picture.fileName))
    return failure(QStringLiteral("the picture's file name \"%1\" cannot be stored")
                       .arg(content.picture.fileName.left(40)));
  if (content.writtenBy.size() > project::kMaxNameLength)
    return failure(QStringLiteral("the program's name is too long to be stored"));
  if (const QString problem = project::stateRowsProblem(project::toRows(content.state));
      !problem.isEmpty())
    return failure(problem);

  // A chain of links is followed to its end, as every other write does: what it points at
  // is replaced.
  const QFileInfo target(finalLinkTarget(path));
  const QString scratchTemplate =
      target.absoluteDir().filePath(target.fileName() + QStringLiteral(".XXXXXX"));
  if (const qsizetype bytes = QFile::encodeName(scratchTemplate).size();
      bytes > kMaxSqlitePathBytes)
    return failure(QStringLiteral("The path is %1 bytes long: a project is saved under a path "
                                  "of at most %2 bytes (SQLite's limit)")
                       .arg(bytes - 7)
                       .arg(kMaxSqlitePathBytes - 7),
                   QFileDevice::OpenError);
  QTemporaryFile scratch(scratchTemplate);
  if (!scratch.open()) return FileWriteResult::failureOf(scratch);
  scratch.close();  // SQLite opens it itself; the object removes it unless it is renamed
  {
    const ScopedConnection connection({scratch.fileName(), false},
                                      ScopedConnection::Access::Create);
    if (!connection.isOpen()) return failure(connection.errorText());
    // Open now, the file loses every permission bit until it is complete: the mark by which
    // the copy a killed save leaves is told from the user's files and removed later.
    scratch.setPermissions({});
    if (const QSqlError error = buildDatabase(connection.database(), content); error.isValid())
      return failure(error);
  }
  // Complete: the project gets the permissions of the file it replaces, or those of any new file.
  scratch.setPermissions(target.exists() ? QFile::permissions(target.absoluteFilePath())
                                         : newFilePermissions());
  // One atomic step: the name shows the earlier project or the new one, never a part.
  std::error_code error;
  std::filesystem::rename(fileSystemPath(scratch.fileName()),
                          fileSystemPath(target.absoluteFilePath()), error);
  if (error) return failure(QString::fromStdString(error.message()), QFileDevice::RenameError);
  scratch.setAutoRemove(false);
  removeLeftoversOf(target.absoluteFilePath());
  return {};
}

}  // namespace vmm
