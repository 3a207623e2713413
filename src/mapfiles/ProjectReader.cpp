// SPDX-License-Identifier: GPL-3.0-or-later
// Opening a map project: every table, value and the picture are checked before the
// content is handed over, and nothing larger than the file itself is ever read.
#include "files/InputFile.h"
#include "files/SqliteConnection.h"
#include "mapfiles/ProjectFile.h"
#include "mapfiles/ProjectSchema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QtEndian>

namespace vmm {
namespace {

const QByteArray kSqliteSignature("SQLite format 3\0", 16);

// A failed check: the reason, worded to follow "cannot be opened: ".
struct Refusal {
  QString reason;
};

// One statement's rows, read forward only so that nothing is cached.
class Rows {
 public:
  Rows(const QSqlDatabase &db, const QString &statement, const QVariantList &values = {})
      : query_(db) {
    query_.setForwardOnly(true);
    if (!query_.prepare(statement)) throw damaged();
    for (const QVariant &value : values) query_.addBindValue(value);
    if (!query_.exec()) throw damaged();
  }
  bool next() {
    if (query_.next()) return true;
    if (query_.lastError().isValid()) throw damaged();
    return false;
  }
  // The only row; refused when there is none.
  Rows &single(const QString &what) {
    if (!next()) throw Refusal{QStringLiteral("%1 is missing").arg(what)};
    return *this;
  }
  QVariant value(int column) const { return query_.value(column); }
  QString text(int column) const { return query_.value(column).toString(); }
  qint64 number(int column) const { return query_.value(column).toLongLong(); }

 private:
  Refusal damaged() const {
    return {QStringLiteral("the file is damaged or not a database (%1)")
                .arg(query_.lastError().text().trimmed())};
  }
  QSqlQuery query_;
};

QString quoted(const QString &name) {
  return QLatin1Char('"') + name + QLatin1Char('"');
}

void checkVersion(const QSqlDatabase &db) {
  const qint64 applicationId =
      Rows(db, QStringLiteral("PRAGMA application_id")).single("the application id").number(0);
  const qint64 version =
      Rows(db, QStringLiteral("PRAGMA user_version")).single("the version").number(0);
  if (applicationId != kProjectApplicationId || version <= 0)
    throw Refusal{QStringLiteral("it is not a Varga Map Maker project")};
  if (version > kProjectFormatVersion)
    throw Refusal{QStringLiteral("it was saved by a newer version of Varga Map Maker (project "
                                 "format %1; this version reads format %2 and older)")
                      .arg(version)
                      .arg(kProjectFormatVersion)};
}

// Every table of the format is an ordinary table with exactly its columns. Anything
// else (a view, a virtual or generated column) could run code of the file's choosing.
void checkTables(const QSqlDatabase &db) {
  for (const project::TableShape &table : project::tables()) {
    Rows entry(db,
               QStringLiteral("SELECT type, substr(sql, 1, 12) FROM sqlite_master WHERE name = ?"),
               {table.name});
    if (!entry.next()) throw Refusal{QStringLiteral("it has no table %1").arg(quoted(table.name))};
    if (entry.text(0) != QLatin1String("table") ||
        entry.text(1).compare(QLatin1String("CREATE TABLE"), Qt::CaseInsensitive) != 0)
      throw Refusal{QStringLiteral("%1 is not an ordinary table").arg(quoted(table.name))};
    QStringList missing = table.columns;
    Rows columns(db, QStringLiteral("SELECT name, hidden FROM pragma_table_xinfo(?)"),
                 {table.name});
    while (columns.next()) {
      const QString column = columns.text(0);
      const auto known = std::find_if(missing.begin(), missing.end(), [&](const QString &name) {
        return name.compare(column, Qt::CaseInsensitive) == 0;
      });
      if (known == missing.end() || columns.number(1) != 0)
        throw Refusal{QStringLiteral("the table %1 has a column %2 that this version does not know")
                          .arg(quoted(table.name), quoted(column.left(40)))};
      missing.erase(known);
    }
    if (!missing.isEmpty())
      throw Refusal{QStringLiteral("the table %1 has no column %2")
                        .arg(quoted(table.name), quoted(missing.front()))};
  }
}

void checkRowCount(const QSqlDatabase &db, const QString &table, qint64 expected) {
  const qint64 rows =
      Rows(db, QStringLiteral("SELECT count(*) FROM ") + table).single(table).number(0);
  if (rows != expected)
    throw Refusal{QStringLiteral("the table %1 holds %2 rows instead of %3")
                      .arg(quoted(table))
                      .arg(rows)
                      .arg(expected)};
}

// A whole number within bounds, stored as one: text such as "30" is refused too.
qint16 boundedNumber(const Rows &row, int typeColumn, int valueColumn, const QString &what,
                     int lowest, int highest) {
  const qint64 value = row.number(valueColumn);
  if (row.text(typeColumn) != QLatin1String("integer") || value < lowest || value > highest)
    throw Refusal{QStringLiteral("%1 is %2, not a whole number from %3 to %4")
                      .arg(what, row.text(valueColumn).left(40))
                      .arg(lowest)
                      .arg(highest)};
  return static_cast<qint16>(value);
}

void readMap(const QSqlDatabase &db, ProjectContent &content) {
  checkRowCount(db, QStringLiteral("map"), 1);
  Rows row(db,
           QStringLiteral("SELECT typeof(XQuads), XQuads, typeof(YQuads), YQuads, "
                          "typeof(TotalQuads), TotalQuads, typeof(written_by), "
                          "substr(written_by, 1, ?) FROM map"),
           {project::kMaxNameLength + 1});
  row.single(QStringLiteral("the map"));
  content.XQuads = boundedNumber(row, 0, 1, QStringLiteral("XQuads"), 0, kQuadCapacity);
  content.YQuads = boundedNumber(row, 2, 3, QStringLiteral("YQuads"), 0, kQuadCapacity);
  content.TotalQuads = boundedNumber(row, 4, 5, QStringLiteral("TotalQuads"), 0, kQuadCapacity);
  content.writtenBy = row.text(7);
  if (row.text(6) != QLatin1String("text") || content.writtenBy.size() > project::kMaxNameLength)
    throw Refusal{QStringLiteral("written_by is not a program's name")};
}

// A blob's length without reading it, checked against what the file can hold.
qint64 blobLength(const Rows &row, int typeColumn, int lengthColumn, const QString &what,
                  qint64 fileSize) {
  const qint64 length = row.number(lengthColumn);
  if (row.text(typeColumn) != QLatin1String("blob"))
    throw Refusal{QStringLiteral("%1 is not stored as bytes").arg(what)};
  if (length > fileSize)
    throw Refusal{QStringLiteral("%1 declares %2 bytes in a file of %3 bytes")
                      .arg(what)
                      .arg(length)
                      .arg(fileSize)};
  return length;
}

QByteArray readBlob(const QSqlDatabase &db, const QString &statement, const QVariantList &values,
                    qint64 length) {
  const QByteArray bytes =
      Rows(db, statement, values).single(QStringLiteral("a value")).value(0).toByteArray();
  if (bytes.size() != length) throw Refusal{QStringLiteral("the file is damaged")};
  return bytes;
}

void readPicture(const QSqlDatabase &db, qint64 fileSize, ProjectContent &content) {
  checkRowCount(db, QStringLiteral("picture"), 1);
  Rows row(db,
           QStringLiteral("SELECT typeof(file_name), substr(file_name, 1, ?), typeof(bytes), "
                          "length(bytes) FROM picture"),
           {project::kMaxNameLength + 1});
  row.single(QStringLiteral("the picture"));
  const QString fileName = row.text(1);
  if (row.text(0) != QLatin1String("text") || !project::isStorableFileName(fileName))
    throw Refusal{QStringLiteral("the picture's file name %1 is not a plain file name")
                      .arg(quoted(fileName.left(40)))};
  const qint64 length = blobLength(row, 2, 3, QStringLiteral("the picture"), fileSize);
  if (length > PictureLoader::kMaxFileBytes)
    throw Refusal{QStringLiteral("the picture is larger than any map picture (%1 MiB)")
                      .arg(PictureLoader::kMaxFileBytes / (1024 * 1024))};
  const QByteArray bytes = readBlob(db, QStringLiteral("SELECT bytes FROM picture"), {}, length);
  // The rules of Import Map Image, on the bytes exactly as they were imported.
  content.picture = PictureLoader::loadData(bytes, fileName, fileName);
  if (!content.picture.accepted) throw Refusal{content.picture.message};
  if (content.picture.xQuads != content.XQuads || content.picture.yQuads != content.YQuads)
    throw Refusal{QStringLiteral("the map is %1 x %2 Quads but its picture makes %3 x %4")
                      .arg(content.XQuads)
                      .arg(content.YQuads)
                      .arg(content.picture.xQuads)
                      .arg(content.picture.yQuads)};
}

std::vector<qint16> readPlane(const QSqlDatabase &db, const QString &plane, qint64 fileSize,
                              int &quads) {
  Rows row(db,
           QStringLiteral("SELECT typeof(quads), quads, typeof(sectors), length(sectors) "
                          "FROM planes WHERE plane = ?"),
           {plane});
  row.single(QStringLiteral("the %1 plane").arg(plane));
  const QString what = QStringLiteral("the %1 plane").arg(plane);
  const int count =
      boundedNumber(row, 0, 1, what + QStringLiteral("'s Quad count"), 0, kQuadCapacity);
  const qint64 length = blobLength(row, 2, 3, what, fileSize);
  constexpr qint64 kQuadBytes = kSectorsPerQuad * qint64(sizeof(qint16));
  if (length != count * kQuadBytes)
    throw Refusal{QStringLiteral("%1 holds %2 bytes where %3 Quads take %4")
                      .arg(what)
                      .arg(length)
                      .arg(count)
                      .arg(count * kQuadBytes)};
  if (quads >= 0 && count != quads)
    throw Refusal{QStringLiteral("the element and height planes hold different numbers of Quads")};
  quads = count;
  const QByteArray bytes =
      readBlob(db, QStringLiteral("SELECT sectors FROM planes WHERE plane = ?"), {plane}, length);
  std::vector<qint16> values(static_cast<std::size_t>(count) * kSectorsPerQuad);
  qFromLittleEndian<qint16>(bytes.constData(), qsizetype(values.size()), values.data());
  return values;
}

void readPlanes(const QSqlDatabase &db, qint64 fileSize, ProjectContent &content) {
  checkRowCount(db, QStringLiteral("planes"), 2);
  int quads = -1;
  content.elements = readPlane(db, project::kElementPlane, fileSize, quads);
  content.heights = readPlane(db, project::kHeightPlane, fileSize, quads);
}

void readEditorState(const QSqlDatabase &db, ProjectContent &content) {
  // Counted without the keys this program adds itself, as the writer counts them.
  const QStringList own = project::ownStateKeys();
  QString ownList = QStringLiteral("?");
  for (qsizetype i = 1; i < own.size(); ++i) ownList += QStringLiteral(", ?");
  QVariantList ownValues;
  for (const QString &key : own) ownValues << key;
  const qint64 count =
      Rows(db,
           QStringLiteral("SELECT count(*) FROM editor_state WHERE key NOT IN (%1)").arg(ownList),
           ownValues)
          .single("the editor state")
          .number(0);
  if (count > project::kMaxStateRows)
    throw Refusal{QStringLiteral("the editor state holds %1 rows of other programs, more than %2")
                      .arg(count)
                      .arg(project::kMaxStateRows)};
  QMap<QString, QString> rows;
  const int limit = project::kMaxStateTextLength;
  Rows row(db,
           QStringLiteral("SELECT typeof(key), typeof(value), substr(key, 1, ?), "
                          "substr(value, 1, ?) FROM editor_state"),
           {limit + 1, limit + 1});
  while (row.next()) {
    const QString key = row.text(2);
    const QString value = row.text(3);
    if (row.text(0) != QLatin1String("text") || row.text(1) != QLatin1String("text") ||
        key.size() > limit || value.size() > limit)
      throw Refusal{
          QStringLiteral("the editor state %1 is not a short text").arg(quoted(key.left(40)))};
    rows.insert(key, value);
  }
  QString problem;
  std::optional<ProjectEditorState> state = project::fromRows(rows, &problem);
  if (!state) throw Refusal{problem};
  content.state = std::move(*state);
}

// An SQLite variable-length number at `at` (moved past it); nothing when the page ends first.
std::optional<quint64> varint(const QByteArray &page, qsizetype &at) {
  quint64 value = 0;
  for (int i = 0; i < 9; ++i) {
    if (at >= page.size()) return std::nullopt;
    const auto byte = quint8(page[at++]);
    if (i == 8) return (value << 8) | byte;
    value = (value << 7) | (byte & 0x7F);
    if ((byte & 0x80) == 0) return value;
  }
  return value;
}

// SQLite parses a file's whole schema before it runs any statement, whatever it is asked:
// 80000 views took 7 seconds, ten triggers with million-item lists 1.2 GB. So the schema is
// looked at in the file itself first. It lives in the table on the first page; a project's
// fits there with room to spare, so a schema spread over more pages, one with more entries
// than kMaxSchemaEntries, or an entry spilling onto further pages is refused, and SQLite
// never parses more than one page of it.
void checkSchemaSize(QFile &file) {
  constexpr int kMaxSchemaEntries = 64;
  const QByteArray header = file.read(100);
  if (header.size() < 100) throw Refusal{QStringLiteral("the file is damaged")};
  const int pageSizeField = qFromBigEndian<quint16>(header.constData() + 16);
  const int pageSize = pageSizeField == 1 ? 65536 : pageSizeField;
  const int usable = pageSize - quint8(header[20]);
  if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0 || usable < 480)
    throw Refusal{QStringLiteral("the file is damaged (page size %1)").arg(pageSizeField)};
  const QByteArray page = header + file.read(pageSize - 100);
  if (page.size() < pageSize) throw Refusal{QStringLiteral("the file is damaged")};
  const QString tooLarge =
      QStringLiteral("its schema is larger than a project's (more than one page or %1 entries)")
          .arg(kMaxSchemaEntries);
  constexpr char kTableLeaf = 0x0D;
  constexpr char kTableInterior = 0x05;  // the schema goes on over further pages
  if (page[100] == kTableInterior) throw Refusal{tooLarge};
  if (page[100] != kTableLeaf) throw Refusal{QStringLiteral("the file is damaged")};
  const int entries = qFromBigEndian<quint16>(page.constData() + 103);
  if (entries > kMaxSchemaEntries) throw Refusal{tooLarge};
  for (int i = 0; i < entries; ++i) {
    qsizetype at = qFromBigEndian<quint16>(page.constData() + 108 + 2 * i);
    const std::optional<quint64> payload = varint(page, at);
    const std::optional<quint64> rowid = payload ? varint(page, at) : std::nullopt;
    // A payload of more than usable - 35 bytes continues on overflow pages.
    if (!rowid || *payload > quint64(usable - 35) || at + qsizetype(*payload) > usable)
      throw Refusal{tooLarge};
  }
}

// The checks that need no database: a regular file of a size a project can have, with a
// schema SQLite can read in bounded time and memory.
qint64 checkFile(const QString &path) {
  if (!QFileInfo::exists(path)) throw Refusal{QStringLiteral("the file does not exist")};
  InputFile input;
  if (!input.open(path)) throw Refusal{input.errorString()};
  if (input.size() > kMaxProjectBytes)
    throw Refusal{QStringLiteral("it is larger than any project (%1 MiB)")
                      .arg(kMaxProjectBytes / (1024 * 1024))};
  if (input.file().peek(kSqliteSignature.size()) != kSqliteSignature)
    throw Refusal{QStringLiteral("it is not a Varga Map Maker project (not an SQLite database)")};
  checkSchemaSize(input.file());
  // Read as it stands (immutable), the file would silently lose what another program left in
  // its log or rollback journal: the changes of the one, the half-made change of the other.
  for (const QString &suffix : {QStringLiteral("-wal"), QStringLiteral("-journal")}) {
    const QFileInfo beside(path + suffix);
    if (beside.exists() && (!beside.isFile() || beside.size() > 0))
      throw Refusal{QStringLiteral("another program left changes to it in \"%1\" that were "
                                   "never written into it")
                        .arg(QDir::toNativeSeparators(beside.filePath()))};
  }
  return input.size();
}

// Besides tables (ours, and those a later version may add) and the indexes SQLite makes
// for their keys, a schema holds nothing: no view or trigger, whose code SQLite would run.
void checkSchemaEntries(const QSqlDatabase &db) {
  Rows entry(db, QStringLiteral("SELECT type, name, sql IS NULL FROM sqlite_schema"));
  while (entry.next()) {
    const QString type = entry.text(0);
    if (type == QLatin1String("table") || (type == QLatin1String("index") && entry.number(2) != 0))
      continue;
    throw Refusal{QStringLiteral("it holds the %1 %2, which a project does not hold")
                      .arg(type.left(20), quoted(entry.text(1).left(40)))};
  }
}

}  // namespace

QString ProjectReadResult::messageText(const QString &path) const {
  return QStringLiteral("The map project \"%1\" cannot be opened: %2")
      .arg(QDir::toNativeSeparators(path), problem);
}

ProjectReadResult readProject(const QString &path) {
  ProjectReadResult result;
  try {
    const qint64 fileSize = checkFile(path);
    const ScopedConnection connection({path, false}, ScopedConnection::Access::Snapshot);
    if (!connection.isOpen()) throw Refusal{connection.errorText()};
    const QSqlDatabase db = connection.database();
    ProjectContent content;
    checkVersion(db);
    checkSchemaEntries(db);
    checkTables(db);
    readMap(db, content);
    readPlanes(db, fileSize, content);
    readEditorState(db, content);
    readPicture(db, fileSize, content);
    result.content = std::move(content);
  } catch (const Refusal &refusal) {
    result.problem = refusal.reason;
  }
  return result;
}

bool looksLikeProject(const QString &path) {
  InputFile input;
  return input.open(path) && input.file().read(kSqliteSignature.size()) == kSqliteSignature;
}

}  // namespace vmm
