// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueDatabase.h"

#include "files/InputFile.h"
#include "files/SqliteConnection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <atomic>

namespace vmm {
namespace {

// The text of the built-in default catalogue, an SQL script in the program's resources.
QString defaultCatalogueScript() {
  QFile file(QStringLiteral(":/catalogue/default_catalogue.sql"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QString::fromUtf8(file.readAll());
}

const QString kElementsTable = QStringLiteral("tblElements");
const QString kHeightsTable = QStringLiteral("tblheights");
const QString kElementByName = QStringLiteral("SELECT * FROM tblElements where ElementType = ?");

// Both tables as read in record order, before they are accepted.
struct CatalogueContents {
  QList<ElementRow> elements;
  QList<quint32> heightColour;
  QList<quint32> heightColour2;
};

QString missingField(const QSqlDatabase &db, const QString &table, const QStringList &fields) {
  const QSqlRecord record = db.record(table);
  if (record.isEmpty()) return QStringLiteral("the table %1 is missing").arg(table);
  for (const QString &field : fields)
    if (record.indexOf(field) < 0)
      return QStringLiteral("the field %1 is missing from %2").arg(field, table);
  return {};
}

QString countProblem(const QString &table, int count, int maximum) {
  if (count == 0) return QStringLiteral("%1 holds no records").arg(table);
  if (count > maximum)
    return QStringLiteral("%1 holds %2 records, more than %3").arg(table).arg(count).arg(maximum);
  return {};
}

QString lockedBy(const QSqlError &error) {
  const QString words = error.databaseText().isEmpty() ? error.text() : error.databaseText();
  return QStringLiteral("it is locked by another program (%1)").arg(words);
}

// A table that cannot be read: locked by another program, or damaged.
QString unreadableTable(const QString &table, const QSqlError &error) {
  if (isLockedError(error)) return lockedBy(error);
  return QStringLiteral("%1 cannot be read (%2)").arg(table, error.text());
}

// What is wrong with record `record`'s elementid, which must be the record's own position.
QString idProblem(int record, const QVariant &id, const QVariant &name) {
  const QString shownName = name.toString().left(100);
  if (id.isNull())
    return QStringLiteral("record %1 of tblElements (\"%2\") has no elementid (NULL)")
        .arg(QString::number(record), shownName);
  bool number = false;
  const qlonglong value = id.toLongLong(&number);
  if (number && (value < 0 || value >= kMaxElements))
    return QStringLiteral("record %1 of tblElements (\"%2\") has elementid %3, outside 0 to %4")
        .arg(QString::number(record), shownName, QString::number(value),
             QString::number(kMaxElements - 1));
  if (!number || value != record)
    return QStringLiteral("record %1 of tblElements has elementid %2 instead of %1")
        .arg(QString::number(record), id.toString().left(100));
  return {};
}

QString readElements(const QSqlDatabase &db, QList<ElementRow> &rows) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec(QStringLiteral("SELECT * FROM tblElements")))
    return unreadableTable(kElementsTable, query.lastError());
  const QSqlRecord fields = query.record();
  const int idField = fields.indexOf(QStringLiteral("elementid"));
  const int nameField = fields.indexOf(QStringLiteral("ElementType"));
  const int colourField = fields.indexOf(QStringLiteral("elementcolour"));
  int count = 0;
  QString firstIdProblem;
  for (; query.next(); ++count) {
    if (count >= kMaxElements) continue;  // only counted, reported below
    // Checked as stored, before anything narrows it to 16 bits.
    const QVariant id = query.value(idField);
    if (firstIdProblem.isEmpty()) firstIdProblem = idProblem(count, id, query.value(nameField));
    ElementRow row;
    row.elementid = static_cast<qint16>(count);
    row.name = query.value(nameField).toString();
    row.colour = static_cast<quint32>(query.value(colourField).toLongLong());
    row.filled = true;
    rows.append(row);
  }
  if (query.lastError().isValid()) return unreadableTable(kElementsTable, query.lastError());
  const QString problem = countProblem(kElementsTable, count, kMaxElements);
  return problem.isEmpty() ? firstIdProblem : problem;
}

QString readHeights(const QSqlDatabase &db, CatalogueContents &contents) {
  QSqlQuery query(db);
  query.setForwardOnly(true);
  if (!query.exec(QStringLiteral("SELECT * FROM tblheights")))
    return unreadableTable(kHeightsTable, query.lastError());
  const QSqlRecord fields = query.record();
  const int first = fields.indexOf(QStringLiteral("Heightcolour"));
  const int second = fields.indexOf(QStringLiteral("Heightcolour2"));
  int count = 0;
  for (; query.next(); ++count) {
    if (count >= kMaxHeights) continue;
    contents.heightColour.append(static_cast<quint32>(query.value(first).toLongLong()));
    contents.heightColour2.append(static_cast<quint32>(query.value(second).toLongLong()));
  }
  if (query.lastError().isValid()) return unreadableTable(kHeightsTable, query.lastError());
  return countProblem(kHeightsTable, count, kMaxHeights);
}

// Reads and checks the whole catalogue; returns what makes it unusable, or nothing.
QString readContents(const QSqlDatabase &db, CatalogueContents &contents) {
  QSqlQuery probe(db);
  if (!probe.exec(QStringLiteral("SELECT name FROM sqlite_master"))) {
    // A database another program is writing cannot even be looked at: say so, not "damaged".
    if (isLockedError(probe.lastError())) return lockedBy(probe.lastError());
    return QStringLiteral("it is not an SQLite database (%1)").arg(probe.lastError().text());
  }
  probe.finish();
  QString problem = missingField(db, kElementsTable, ElementRecord::fieldNames());
  if (problem.isEmpty())
    problem = missingField(db, kHeightsTable,
                           {QStringLiteral("Heightcolour"), QStringLiteral("Heightcolour2")});
  if (problem.isEmpty()) problem = readElements(db, contents.elements);
  if (problem.isEmpty()) problem = readHeights(db, contents);
  return problem;
}

// What makes an existing catalogue file unusable, or nothing.
QString fileProblem(const QString &path) {
  if (const QString kind = nonFileKind(path); !kind.isEmpty())
    return QStringLiteral("it is %1, not a readable file").arg(kind);
  const QFileInfo info(path);
  if (!info.isFile()) return QStringLiteral("it is not a readable file");
  if (info.size() == 0) return QStringLiteral("the file is empty (0 bytes)");
  ScopedConnection connection({path, false}, ScopedConnection::Access::Read);
  if (!connection.isOpen())
    return QStringLiteral("the file cannot be opened (%1)").arg(connection.errorText());
  CatalogueContents contents;
  return readContents(connection.database(), contents);
}

bool isMarkedReadOnly(const QFileInfo &info) {
  // Checked on the permission bits so that a file marked read-only is respected
  // even by a user whom the system would let write it.
  return !(info.permissions() &
           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

}  // namespace

// The built-in default catalogue in a shared in-memory database. One connection stays
// open for the life of this object: it is what keeps the in-memory database alive. The
// database is built at its first use, so a session that never reads its catalogue (a
// batch convert) does not pay for it.
class CatalogueDatabase::BuiltIn {
 public:
  BuiltIn() {
    static std::atomic<quint64> counter{0};
    uri_ = QStringLiteral("file:vmm-builtin-catalogue-%1?mode=memory&cache=shared")
               .arg(counter.fetch_add(1));
    anchorName_ = uri_ + QStringLiteral("-anchor");
  }
  ~BuiltIn() {
    if (!built_) return;
    {
      QSqlDatabase anchor = QSqlDatabase::database(anchorName_, false);
      anchor.close();
    }
    QSqlDatabase::removeDatabase(anchorName_);
  }
  BuiltIn(const BuiltIn &) = delete;
  BuiltIn &operator=(const BuiltIn &) = delete;

  QString uri() const {
    if (!built_) build();
    return uri_;
  }

 private:
  void build() const {
    built_ = true;
    QSqlDatabase anchor = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), anchorName_);
    anchor.setDatabaseName(uri_);
    anchor.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
    if (anchor.open()) executeScript(anchor, defaultCatalogueScript());
  }

  QString uri_;
  QString anchorName_;
  mutable bool built_ = false;
};

QString resolveDatabaseLocation() {
  QString location = qEnvironmentVariable("VARGA_MAP_MAKER_HOME");
  if (location.isEmpty())
    location = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  location = QDir::cleanPath(location);
  while (location.size() > 1 && location.endsWith(u'/')) location.chop(1);
  QDir().mkpath(location);
  return location;
}

QString catalogueFilePath(const QString &databaseLocation) {
  return databaseLocation + u'/' + QLatin1String(kCatalogueFileName);
}

CatalogueDatabase::CatalogueDatabase() : builtIn_(std::make_unique<BuiltIn>()) {}
CatalogueDatabase::~CatalogueDatabase() = default;
CatalogueDatabase::CatalogueDatabase(CatalogueDatabase &&) noexcept = default;
CatalogueDatabase &CatalogueDatabase::operator=(CatalogueDatabase &&) noexcept = default;

CatalogueDatabase CatalogueDatabase::open(const QString &databaseLocation) {
  return openFile(catalogueFilePath(databaseLocation));
}

CatalogueDatabase CatalogueDatabase::openFile(const QString &path) {
  const QString shown = QDir::toNativeSeparators(path);
  CatalogueDatabase catalogue;
  catalogue.filePath_ = path;
  if (!QFileInfo::exists(path) && !QFileInfo(path).isSymLink()) {
    const CatalogueResult created = createDefaultFile(path);
    if (created.ok) {
      catalogue.builtIn_.reset();
      catalogue.origin_ = CatalogueOrigin::CreatedFromDefault;
      catalogue.openMessage_ =
          QStringLiteral("Created the catalogue \"%1\" from the built-in default.").arg(shown);
    } else {
      catalogue.problem_ = created.error;
      catalogue.openMessage_ = QStringLiteral(
                                   "The catalogue \"%1\" could not be created: %2. The editor "
                                   "runs on its built-in default catalogue.")
                                   .arg(shown, created.error);
    }
    return catalogue;
  }
  const QString problem = fileProblem(path);
  if (problem.isEmpty()) {
    catalogue.builtIn_.reset();
    catalogue.origin_ = CatalogueOrigin::UserFile;
  } else {
    catalogue.refusedFile_ = true;
    catalogue.problem_ = problem;
    catalogue.openMessage_ =
        QStringLiteral(
            "The catalogue \"%1\" cannot be used: %2. The editor runs on its built-in default "
            "catalogue and leaves the file unchanged.")
            .arg(shown, problem);
  }
  return catalogue;
}

DatabaseTarget CatalogueDatabase::target() const {
  if (builtIn_) return {builtIn_->uri(), true};
  return {filePath_, false};
}

QString CatalogueDatabase::displayName() const {
  if (builtIn_) return QStringLiteral("the built-in default catalogue");
  return QStringLiteral("the catalogue \"%1\"").arg(QDir::toNativeSeparators(filePath_));
}

CatalogueResult CatalogueDatabase::LoadElements(ElementTable &table, HeightColours &heights,
                                                qint16 HeightColourMode) const {
  ScopedConnection connection(target(), ScopedConnection::Access::Read);
  if (!connection.isOpen())
    return CatalogueResult::failure(
        QStringLiteral("%1 cannot be opened: %2").arg(displayName(), connection.errorText()));
  CatalogueContents contents;
  const QString problem = readContents(connection.database(), contents);
  if (!problem.isEmpty())
    return CatalogueResult::failure(
        QStringLiteral("%1 cannot be used: %2").arg(displayName(), problem));

  for (qsizetype i = 0; i < contents.elements.size(); ++i)
    table.row(static_cast<int>(i)) = contents.elements[i];
  table.setLoadedCount(static_cast<int>(contents.elements.size()));
  const QList<quint32> &colours =
      HeightColourMode != 0 ? contents.heightColour : contents.heightColour2;
  for (qsizetype i = 0; i < colours.size(); ++i) heights.setColour(static_cast<int>(i), colours[i]);
  heights.setLoadedCount(static_cast<int>(colours.size()));
  return CatalogueResult::success();
}

std::optional<ElementRecord> CatalogueDatabase::elementByName(const QString &name) const {
  if (name.isEmpty()) return std::nullopt;
  ScopedConnection connection(target(), ScopedConnection::Access::Read);
  if (!connection.isOpen()) return std::nullopt;
  QSqlQuery query(connection.database());
  query.setForwardOnly(true);
  if (!query.prepare(kElementByName)) return std::nullopt;
  query.addBindValue(name);
  if (!query.exec() || !query.next()) return std::nullopt;
  return ElementRecord::fromSqlRecord(query.record());
}

ColourWriteResult CatalogueDatabase::writeElementColour(const QString &name, quint32 colour) const {
  const auto failed = [this](const QString &reason) {
    return ColourWriteResult{
        false, -1,
        QStringLiteral("The colour could not be saved in %1: %2.").arg(displayName(), reason)};
  };
  if (!builtIn_) {
    const QFileInfo info(filePath_);
    if (!info.exists()) return failed(QStringLiteral("the file no longer exists"));
    if (isMarkedReadOnly(info)) return failed(QStringLiteral("the file is read-only"));
  }
  ScopedConnection connection(target(), ScopedConnection::Access::Write);
  if (!connection.isOpen()) return failed(connection.errorText());
  QSqlQuery find(connection.database());
  find.setForwardOnly(true);
  if (!find.prepare(kElementByName)) return failed(find.lastError().text());
  find.addBindValue(name);
  if (!find.exec()) return failed(find.lastError().text());
  if (!find.next()) return failed(QStringLiteral("it holds no element named \"%1\"").arg(name));
  const QVariant id = find.value(QStringLiteral("elementid"));
  find.finish();

  QSqlQuery update(connection.database());
  if (!update.prepare(QStringLiteral(
          "UPDATE tblElements SET elementcolour = ? WHERE elementid = ? AND ElementType = ?")))
    return failed(update.lastError().text());
  update.addBindValue(static_cast<qint64>(colour));
  update.addBindValue(id);
  update.addBindValue(name);
  if (!update.exec()) return failed(update.lastError().text());
  if (update.numRowsAffected() < 1) return failed(QStringLiteral("the record was not changed"));
  return {true, static_cast<qint16>(id.toInt()), {}};
}

CatalogueResult CatalogueDatabase::createDefaultFile(const QString &path) {
  if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
    return CatalogueResult::failure(QStringLiteral("the file already exists"));
  const QString folder = QFileInfo(path).absolutePath();
  if (!QDir().mkpath(folder))
    return CatalogueResult::failure(QStringLiteral("the folder \"%1\" cannot be created")
                                        .arg(QDir::toNativeSeparators(folder)));
  // Build the database under a temporary name beside the target, then move it into
  // place only if no file has appeared there meanwhile.
  QString buildPath;
  {
    QTemporaryFile temporary(path + QStringLiteral(".XXXXXX"));
    temporary.setAutoRemove(false);
    if (!temporary.open())
      return CatalogueResult::failure(
          QStringLiteral("the folder cannot be written (%1)").arg(temporary.errorString()));
    buildPath = temporary.fileName();
  }
  QString error;
  {
    ScopedConnection connection({buildPath, false}, ScopedConnection::Access::Create);
    error = connection.isOpen() ? executeScript(connection.database(), defaultCatalogueScript())
                                : connection.errorText();
  }
  if (error.isEmpty() && !QFile::rename(buildPath, path))
    error = QStringLiteral("the file cannot be put in place");
  if (!error.isEmpty()) {
    QFile::remove(buildPath);
    return CatalogueResult::failure(error);
  }
  return CatalogueResult::success();
}

void ChangeElementColour(ElementTable &table, qint16 elementid, quint32 elementcolour) {
  if (ElementTable::inRange(elementid)) table.row(elementid).colour = elementcolour;
}

QString ReturnElementName(const ElementTable &table, qint16 elementid) {
  if (elementid == -1) return QStringLiteral("-----");
  return table.hasElement(elementid) ? table.row(elementid).name : QString();
}

}  // namespace vmm
