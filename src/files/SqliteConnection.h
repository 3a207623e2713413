// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

namespace vmm {

// The longest full path of a database SQLite opens: its Unix layer takes paths of 512 bytes
// at most, and keeps room for the "-journal" it may add. A connection to a longer one is
// refused with a message instead of SQLite's "unable to open database file".
inline constexpr qsizetype kMaxSqlitePathBytes = 504;

// The database one operation talks to: a file, or an in-memory database shared by
// name (the catalogue's built-in default).
struct DatabaseTarget {
  QString databaseName;  // a file path, or the URI of the in-memory database
  bool inMemory = false;
};

// One short-lived SQLite connection under a name of its own, opened for a single
// operation and closed and removed when it goes out of scope, so nothing stays open
// between operations and no other connection of the program is touched. The catalogue
// and the map project files both use it. Queries on it must be destroyed first
// (declare them after it).
class ScopedConnection {
 public:
  enum class Access {
    Read,      // an existing database, read only
    Snapshot,  // an existing file read as it stands: never locked, no journal looked for
               // or created beside it (a file from elsewhere)
    Write,     // an existing database, never created by the open
    Create     // a new file
  };

  ScopedConnection(const DatabaseTarget &target, Access access);
  ~ScopedConnection();
  ScopedConnection(const ScopedConnection &) = delete;
  ScopedConnection &operator=(const ScopedConnection &) = delete;

  bool isOpen() const { return open_; }
  QString errorText() const { return error_; }
  QSqlDatabase database() const;

 private:
  QString name_;
  QString error_;
  bool open_ = false;
};

// Whether a query failed because another program holds a lock on the database.
bool isLockedError(const QSqlError &error);

// Runs every statement of an SQL script in one transaction. Returns the error text of
// the first failing statement, or an empty string.
QString executeScript(const QSqlDatabase &db, const QString &script);

}  // namespace vmm
