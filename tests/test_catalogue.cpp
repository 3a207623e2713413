// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueDatabase.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

using namespace vmm;

namespace {

qint64 colourInFile(const QString &path, const QString &name) {
  return test::runSql(path, {"SELECT elementcolour FROM tblElements WHERE ElementType = ?"}, name)
      .value_or(QVariant())
      .toLongLong();
}

}  // namespace

class TestCatalogue : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString location() const { return dir_.path(); }
  QString path() const { return catalogueFilePath(location()); }

  // Writes the default catalogue to the folder and changes it with these statements.
  void prepare(const QStringList &statements = {}) {
    QFile::remove(path());
    QVERIFY(CatalogueDatabase::createDefaultFile(path()).ok);
    QVERIFY(test::runSql(path(), statements));
  }

 private slots:
  void init() {
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path());
    QDir(path()).removeRecursively();
  }

  void fileIsCreatedOnceThenUsedAndNeverOverwritten() {
    CatalogueDatabase created = CatalogueDatabase::open(location());
    QCOMPARE(created.origin(), CatalogueOrigin::CreatedFromDefault);
    QVERIFY(created.openMessage().contains(QDir::toNativeSeparators(path())));
    QCOMPARE(QDir(location()).entryList(QDir::Files), QStringList{"Ostrel.db"});
    QVERIFY(
        test::runSql(path(), {"UPDATE tblElements SET ElementType = 'Mine' WHERE elementid = 4"}));
    const QByteArray before = test::readFile(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QCOMPARE(catalogue.origin(), CatalogueOrigin::UserFile);
    QVERIFY(!CatalogueDatabase::createDefaultFile(path()).ok);
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    QCOMPARE(table.loadedCount(), 260);
    QCOMPARE(heights.loadedCount(), 101);
    QCOMPARE(ReturnElementName(table, 4), QString("Mine"));
    QCOMPARE(ReturnElementName(table, -1), QString("-----"));
    QCOMPARE(ReturnElementName(table, 260), QString());
    QCOMPARE(test::readFile(path()), before);
  }

  void unusableCatalogueIsRefused_data() {
    QTest::addColumn<QStringList>("damage");
    QTest::addColumn<QString>("problem");
    QTest::newRow("a directory") << QStringList() << "it is a folder, not a readable file";
    QTest::newRow("a pipe") << QStringList{"pipe"} << "it is a pipe, not a readable file";
    // An elementid is checked as stored, before anything narrows it to 16 bits.
    const QStringList withoutConstraints{"CREATE TABLE loose AS SELECT * FROM tblElements",
                                         "DROP TABLE tblElements",
                                         "ALTER TABLE loose RENAME TO tblElements"};
    QTest::newRow("id NULL") << withoutConstraints +
                                    QStringList{
                                        "UPDATE tblElements SET elementid = NULL "
                                        "WHERE ElementType = 'Brick Wall'"}
                             << "(\"Brick Wall\") has no elementid (NULL)";
    QTest::newRow("id that wraps to its record")
        << QStringList{"UPDATE tblElements SET elementid = 65539 WHERE elementid = 3"}
        << "has elementid 65539, outside 0 to 351";
    QTest::newRow("garbage pages") << QStringList{"garbage"} << "it is not an SQLite database";
    QTest::newRow("tblElements missing")
        << QStringList{"DROP TABLE tblElements"} << "table tblElements is missing";
    QTest::newRow("height field missing")
        << QStringList{"ALTER TABLE tblheights DROP COLUMN Heightcolour2"}
        << "the field Heightcolour2 is missing";
    QTest::newRow("id as text")
        << QStringList{"UPDATE tblElements SET elementid = 'x3' WHERE elementid = 3"}
        << "record 3 of tblElements has elementid x3";
  }

  void unusableCatalogueIsRefused() {
    QFETCH(QStringList, damage);
    QFETCH(QString, problem);
    if (damage.isEmpty()) {
      QVERIFY(QDir().mkpath(path()));
    } else if (damage.first() == "pipe") {
      QVERIFY(::mkfifo(QFile::encodeName(path()).constData(), 0600) == 0);
    } else if (damage.first() == "garbage") {
      prepare();
      QFile file(path());
      QVERIFY(file.open(QIODevice::ReadWrite));
      QByteArray bytes = file.readAll();
      for (qsizetype i = 100; i < bytes.size(); ++i) bytes[i] = char(i * 31);
      QVERIFY(file.seek(0) && file.write(bytes) == bytes.size());
    } else {
      prepare(damage);
    }
    const QByteArray before = QFileInfo(path()).isFile() ? test::readFile(path()) : QByteArray();

    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QCOMPARE(catalogue.origin(), CatalogueOrigin::BuiltInDefault);
    QVERIFY(catalogue.refusedFile());
    const QString shown = catalogue.openMessage();
    QVERIFY2(shown.startsWith("The catalogue \"" + QDir::toNativeSeparators(path()) +
                              "\" cannot be used: ") &&
                 shown.contains(problem) &&
                 shown.endsWith("The editor runs on its built-in default catalogue and leaves "
                                "the file unchanged."),
             qPrintable(shown));
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    QVERIFY(catalogue.writeElementColour("Brick Wall", 0x00AA00).ok);  // to the default only
    if (QFileInfo(path()).isFile()) QCOMPARE(test::readFile(path()), before);
  }

  void lockedCatalogueIsRefusedUntilReleased() {
    prepare();
    const CatalogueDatabase beforeLock = CatalogueDatabase::open(location());
    QCOMPARE(beforeLock.origin(), CatalogueOrigin::UserFile);
    const QByteArray before = test::readFile(path());
    {
      QSqlDatabase locker = QSqlDatabase::addDatabase("QSQLITE", "locker");
      locker.setDatabaseName(path());
      QVERIFY(locker.open());
      QSqlQuery lock(locker);
      QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
      QVERIFY(lock.exec("UPDATE tblElements SET elementcolour = 1 WHERE elementid = 0"));
      const CatalogueDatabase catalogue = CatalogueDatabase::open(location());
      QVERIFY(catalogue.usesBuiltInDefault());
      // Locked, with SQLite's own words, and not taken for a damaged file.
      QVERIFY2(catalogue.problem() == "it is locked by another program (database is locked)",
               qPrintable(catalogue.openMessage()));
      QVERIFY(lock.exec("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase("locker");
    QCOMPARE(test::readFile(path()), before);
    ElementTable table;
    HeightColours heights;
    QVERIFY(beforeLock.LoadElements(table, heights, 1).ok);  // usable again once released
  }

  // A catalogue another program keeps a write-ahead log for: reading it leaves no "-wal" or
  // "-shm" file behind, and leaves the file as it was. Its field names match in any case.
  void readingLeavesNoLogFiles() {
    prepare({"PRAGMA journal_mode = WAL",
             "ALTER TABLE tblElements RENAME COLUMN TypeFlagsinterior TO TYPEFLAGSINTERIOR"});
    QVERIFY(!QFileInfo::exists(path() + "-wal"));  // removed by the closing writer
    const QByteArray before = test::readFile(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QVERIFY2(catalogue.origin() == CatalogueOrigin::UserFile, qPrintable(catalogue.openMessage()));
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    QVERIFY(catalogue.elementByName("Gate").has_value());
    QCOMPARE(QDir(location()).entryList(QDir::Files), QStringList{"Ostrel.db"});
    QCOMPARE(test::readFile(path()), before);
  }

  void heightColourSetsAndReloads() {
    prepare({"UPDATE tblheights SET Heightcolour = 1000 + rowid, Heightcolour2 = 2000 + rowid"});
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 0).ok);
    QCOMPARE(heights.colour(9), quint32(2010));
    QVERIFY(catalogue.LoadElements(table, heights, -3).ok);  // any non-zero mode: the first set
    QCOMPARE(heights.colour(9), quint32(1010));
    const QString fourth = ReturnElementName(table, 4);

    // Fewer records overwrite the rows they reach and leave the rows above as they were.
    prepare({"DELETE FROM tblElements WHERE elementid >= 3",
             "UPDATE tblElements SET ElementType = 'New' || elementid",
             "DELETE FROM tblheights WHERE rowid > 4", "UPDATE tblheights SET Heightcolour2 = 7"});
    QVERIFY(catalogue.LoadElements(table, heights, 0).ok);
    QCOMPARE(table.loadedCount(), 3);
    QCOMPARE(ReturnElementName(table, 2), QString("New2"));
    QCOMPARE(ReturnElementName(table, 4), fourth);
    QCOMPARE(heights.colour(3), quint32(7));
    QCOMPARE(heights.colour(4), quint32(1005));
  }

  void colourWriteReachesTheFileOnly() {
    // A name with quotes is looked up literally, never as part of the statement.
    const QString odd = "Jack's \"Big\"; DROP TABLE tblElements; --";
    prepare();
    QVERIFY(
        test::runSql(path(), {"UPDATE tblElements SET ElementType = ? WHERE elementid = 5"}, odd));
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QVERIFY(!catalogue.elementByName("' OR '1'='1").has_value());
    const ColourWriteResult written = catalogue.writeElementColour(odd, 0x80FF20);
    QVERIFY2(written.ok, qPrintable(written.error));
    QCOMPARE(written.elementid, qint16(5));
    QCOMPARE(colourInFile(path(), odd), qint64(0x80FF20));
    QCOMPARE(colourInFile(path(), "Stone Wall"),
             qint64(catalogue.elementByName("Stone Wall")->elementcolour));
    QVERIFY(!catalogue.writeElementColour("No Such Element", 1).ok);
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());  // nothing stays open
  }

  void colourWriteFailuresNameTheFileAndTheReason() {
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    const qint64 original = colourInFile(path(), "Gate");
    const QString shown = QDir::toNativeSeparators(path());

    QVERIFY(QFile::setPermissions(path(), QFile::ReadOwner | QFile::ReadGroup));
    ColourWriteResult result = catalogue.writeElementColour("Gate", 0x0000FF);
    QVERIFY2(!result.ok && result.error.contains(shown) && result.error.contains("read-only"),
             qPrintable(result.error));
    QVERIFY(QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner));

    QCOMPARE(colourInFile(path(), "Gate"), original);

    QVERIFY(QFile::remove(path()));
    result = catalogue.writeElementColour("Gate", 0x0000FF);
    QVERIFY2(!result.ok && result.error.contains(shown), qPrintable(result.error));
    QVERIFY(!QFileInfo::exists(path()));  // a write never creates the file again
  }
};

QTEST_GUILESS_MAIN(TestCatalogue)
#include "test_catalogue.moc"
