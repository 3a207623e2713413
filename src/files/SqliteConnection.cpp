// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SqliteConnection.h"

#include "files/InputFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUrl>

#include <atomic>

namespace vmm {
namespace {

// How long a write waits for another program's lock before it reports the file as locked.
constexpr int kBusyTimeoutMs = 1000;

QString uniqueConnectionName() {
  static std::atomic<quint64> counter{0};
  return QStringLiteral("vmm-sqlite-%1").arg(counter.fetch_add(1));
}

// SQLite URI of a file: "mode=ro" and "mode=rw" never create a missing file.
QString fileUri(const QString &path, const char *parameters) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  return QUrl::fromLocalFile(absolute).toString(QUrl::FullyEncoded) + QLatin1Char('?') +
         QLatin1String(parameters);
}

// Whether the database file's header says it keeps a write-ahead log (file format
// versions 2 at offsets 18 and 19).
bool isWriteAheadLogged(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray header = file.read(20);
  return header.size() == 20 && header[18] == 2 && header[19] == 2;
}

// Splits a script into statements at semicolons outside quotes; "--" starts a comment.
QStringList splitStatements(const QString &script) {
  QStringList statements;
  QString current;
  QChar quote;
  for (qsizetype i = 0; i < script.size(); ++i) {
    const QChar c = script[i];
    if (quote.isNull() && c == u'-' && i + 1 < script.size() && script[i + 1] == u'-') {
      while (i < script.size() && script[i] != u'\n') ++i;
      continue;
    }
    if (quote.isNull() && (c == u'\'' || c == u'"')) {
      quote = c;
    } else if (c == quote) {
      quote = QChar();  // a doubled quote closes and reopens, which keeps the text intact
    } else if (quote.isNull() && c == u';') {
      if (!current.trimmed().isEmpty()) statements.append(current.trimmed());
      current.clear();
      continue;
    }
    current.append(c);
  }
  if (!current.trimmed().isEmpty()) statements.append(current.trimmed());
  return statements;
}

}  // namespace

ScopedConnection::ScopedConnection(const DatabaseTarget &target, Access access)
    : name_(uniqueConnectionName()) {
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
  // SQLite opens no file whose full path is longer than its limit and then says only
  // "unable to open database file".
  if (const qsizetype bytes =
          QFile::encodeName(QFileInfo(target.databaseName).absoluteFilePath()).size();
      !target.inMemory && bytes > kMaxSqlitePathBytes) {
    error_ = QStringLiteral(
                 "its path is %1 bytes long, and SQLite opens no file whose path is "
                 "longer than %2 bytes")
                 .arg(bytes)
                 .arg(kMaxSqlitePathBytes);
    return;
  }
  if (target.inMemory) {
    db.setDatabaseName(target.databaseName);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
  } else if (access == Access::Create) {
    db.setDatabaseName(target.databaseName);
  } else if (access == Access::Snapshot) {
    db.setDatabaseName(fileUri(target.databaseName, "mode=ro&immutable=1"));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI"));
  } else {
    // SQLite opens the file itself: a pipe or a device in its place would block it or feed
    // it without end, so only a regular file is handed over.
    if (const QString kind = nonFileKind(target.databaseName); !kind.isEmpty()) {
      error_ = QStringLiteral("it is %1, not a file").arg(kind);
      return;
    }
    // A read-only connection to a database kept in write-ahead-log mode creates the "-wal"
    // and "-shm" files beside it and, not allowed to write, cannot remove them when it
    // closes. When no other program has the database open (no "-shm" file yet), a read goes
    // through a connection that may write, runs only queries, and as the last one to close
    // removes both (the log is empty: the file itself is not touched).
    const bool readOnly = access == Access::Read &&
                          !(isWriteAheadLogged(target.databaseName) &&
                            !QFileInfo::exists(target.databaseName + QStringLiteral("-shm")));
    db.setDatabaseName(fileUri(target.databaseName, readOnly ? "mode=ro" : "mode=rw"));
    db.setConnectOptions(
        QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(kBusyTimeoutMs));
  }
  open_ = db.open();
  if (!open_) error_ = db.lastError().text();
}

bool isLockedError(const QSqlError &error) {
  // SQLITE_BUSY (5) and SQLITE_LOCKED (6), with or without an extended code.
  bool ok = false;
  const int code = error.nativeErrorCode().toInt(&ok);
  return ok && ((code & 0xFF) == 5 || (code & 0xFF) == 6);
}

ScopedConnection::~ScopedConnection() {
  {
    QSqlDatabase db = QSqlDatabase::database(name_, false);
    db.close();
  }
  QSqlDatabase::removeDatabase(name_);
}

QSqlDatabase ScopedConnection::database() const {
  return QSqlDatabase::database(name_, false);
}

QString executeScript(const QSqlDatabase &db, const QString &script) {
  QSqlDatabase connection = db;
  if (!connection.transaction()) return connection.lastError().text();
  QSqlQuery query(connection);
  for (const QString &statement : splitStatements(script)) {
    if (!query.exec(statement)) {
      const QString error = query.lastError().text();
      query.finish();
      connection.rollback();
      return error;
    }
  }
  query.finish();
  if (!connection.commit()) return connection.lastError().text();
  return {};
}

}  // namespace vmm
