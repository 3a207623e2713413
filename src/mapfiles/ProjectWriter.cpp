// Saving a map project: the database is built in a scratch file of its own and then
// copied through QSaveFile, which renames it over the target only once it is whole.
#include "catalogue/CatalogueConnection.h"
#include "mapfiles/ProjectFile.h"
#include "mapfiles/ProjectSchema.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>
#include <QtEndian>

namespace vmm {
namespace {

QByteArray planeBytes(const std::vector<qint16> &values) {
  QByteArray bytes(qsizetype(values.size() * sizeof(qint16)), Qt::Uninitialized);
  qToLittleEndian<qint16>(values.data(), qsizetype(values.size()), bytes.data());
  return bytes;
}

// Qt binds a null string as NULL, which the NOT NULL columns refuse: an empty text is meant.
QString text(const QString &value) {
  return value.isNull() ? QStringLiteral("") : value;
}

FileWriteResult failure(const QString &reason) {
  return {false, static_cast<int>(QFileDevice::WriteError), reason};
}

// Runs the statements that build the project in `db`; the first failure's text, or empty.
QString buildDatabase(QSqlDatabase db, const ProjectContent &content) {
  QSqlQuery query(db);
  // The scratch file needs no journal and no syncing: the copy that follows is what counts.
  for (const QString &pragma :
       {QStringLiteral("PRAGMA journal_mode = OFF"), QStringLiteral("PRAGMA synchronous = OFF"),
        QStringLiteral("PRAGMA page_size = 8192"),
        QStringLiteral("PRAGMA application_id = %1").arg(kProjectApplicationId),
        QStringLiteral("PRAGMA user_version = %1").arg(kProjectFormatVersion)})
    if (!query.exec(pragma)) return query.lastError().text();
  if (!db.transaction()) return db.lastError().text();
  for (const project::TableShape &table : project::tables())
    if (!query.exec(table.createStatement)) return query.lastError().text();

  auto run = [&query](const QString &statement, const QVariantList &values) {
    query.prepare(statement);
    for (const QVariant &value : values) query.addBindValue(value);
    return query.exec();
  };
  const int quads = content.storedQuads();
  const QByteArray picture = content.picture.fileBytes;
  if (!run(QStringLiteral("INSERT INTO map VALUES (?, ?, ?, ?)"),
           {text(content.writtenBy), int(content.XQuads), int(content.YQuads), int(content.TotalQuads)}) ||
      !run(QStringLiteral("INSERT INTO picture VALUES (?, ?)"),
           {text(content.picture.fileName), picture}) ||
      !run(QStringLiteral("INSERT INTO planes VALUES (?, ?, ?)"),
           {project::kElementPlane, quads, planeBytes(content.elements)}) ||
      !run(QStringLiteral("INSERT INTO planes VALUES (?, ?, ?)"),
           {project::kHeightPlane, quads, planeBytes(content.heights)}))
    return query.lastError().text();
  const QMap<QString, QString> rows = project::toRows(content.state);
  for (auto row = rows.cbegin(); row != rows.cend(); ++row)
    if (!run(QStringLiteral("INSERT INTO editor_state VALUES (?, ?)"), {text(row.key()), text(row.value())}))
      return query.lastError().text();
  query.finish();
  if (!db.commit()) return db.lastError().text();
  return {};
}

// Copies the finished scratch database over `path` atomically.
FileWriteResult copyOver(const QString &scratch, const QString &path) {
  QFile source(scratch);
  if (!source.open(QIODevice::ReadOnly)) return failure(source.errorString());
  QSaveFile target(path);
  if (!target.open(QIODevice::WriteOnly)) return FileWriteResult::failureOf(target);
  QByteArray chunk(1 << 20, Qt::Uninitialized);
  for (qint64 got; (got = source.read(chunk.data(), chunk.size())) != 0;) {
    if (got < 0) {
      target.cancelWriting();
      return failure(source.errorString());
    }
    if (target.write(chunk.constData(), got) != got) {
      FileWriteResult result = FileWriteResult::failureOf(target);
      target.cancelWriting();
      return result;
    }
  }
  if (!target.commit()) return FileWriteResult::failureOf(target);
  return {};
}

}  // namespace

FileWriteResult writeProject(const ProjectContent &content, const QString &path) {
  if (FileWriteResult refused = checkNotReadOnly(path); !refused.ok) return refused;
  if (content.elements.size() != content.heights.size() ||
      content.elements.size() % kSectorsPerQuad != 0)
    return failure(QStringLiteral("the map's planes differ in length"));

  QTemporaryFile scratch(QDir(QDir::tempPath()).filePath(QStringLiteral("vmm-project-XXXXXX")));
  if (!scratch.open()) return failure(scratch.errorString());
  scratch.close();  // SQLite opens it itself; the object still removes it at the end
  {
    const ScopedConnection connection({scratch.fileName(), false},
                                      ScopedConnection::Access::Create);
    if (!connection.isOpen()) return failure(connection.errorText());
    if (const QString error = buildDatabase(connection.database(), content); !error.isEmpty())
      return failure(error);
  }
  return copyOver(scratch.fileName(), path);
}

}  // namespace vmm
