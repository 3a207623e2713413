#include "catalogue/CatalogueConnection.h"
#include "catalogue/CatalogueDatabase.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

namespace {

// A small catalogue: element i is "<prefix><i>" with colour 100 + i, height i has colours
// 1000 + i and 2000 + i. Options let a test break it in one specific way.
struct TestCatalogue {
  int elements = 5;
  int heights = 10;
  QString droppedField;      // a tblElements or tblheights field left out
  QString droppedTable;      // a table left out
  int swappedId = -1;        // record with this index gets the id of the next one
  QStringList extraNames;    // appended after the numbered elements
  QString namePrefix = "E";  // lets a second catalogue differ in its names

  QString script() const {
    QStringList fields, heightFields, sql;
    for (const QString &field : ElementRecord::fieldNames())
      if (field != droppedField)
        fields << (field == "ElementType" ? "ElementType TEXT" : "\"" + field + "\" INTEGER");
    for (const QString &field : {QString("Heightcolour"), QString("Heightcolour2")})
      if (field != droppedField) heightFields << field + " INTEGER";
    if (droppedTable != "tblElements")
      sql << "CREATE TABLE tblElements (" + fields.join(", ") + ")";
    if (droppedTable != "tblheights")
      sql << "CREATE TABLE tblheights (" + heightFields.join(", ") + ")";
    for (int i = 0; i < elements + extraNames.size() && droppedTable != "tblElements"; ++i) {
      const int id = i == swappedId ? i + 1 : (swappedId >= 0 && i == swappedId + 1 ? i - 1 : i);
      const QString name =
          i < elements ? namePrefix + QString::number(i) : extraNames[i - elements];
      QStringList values;
      for (const QString &field : ElementRecord::fieldNames()) {
        if (field == droppedField) continue;
        if (field == "elementid")
          values << QString::number(id);
        else if (field == "ElementType")
          values << "'" + QString(name).replace("'", "''") + "'";
        else if (field == "elementcolour")
          values << QString::number(100 + i);
        else
          values << (field.endsWith("To") ? "-1" : "1");
      }
      sql << "INSERT INTO tblElements VALUES (" + values.join(", ") + ")";
    }
    for (int h = 0; h < heights && droppedTable != "tblheights"; ++h) {
      QStringList values;
      if (droppedField != "Heightcolour") values << QString::number(1000 + h);
      if (droppedField != "Heightcolour2") values << QString::number(2000 + h);
      sql << "INSERT INTO tblheights VALUES (" + values.join(", ") + ")";
    }
    return sql.join(";\n") + ";";
  }

  void writeTo(const QString &path) const {
    QFile::remove(path);
    ScopedConnection connection({path, false}, ScopedConnection::Access::Create);
    QVERIFY2(connection.isOpen(), qPrintable(connection.errorText()));
    const QString error = executeScript(connection.database(), script());
    QVERIFY2(error.isEmpty(), qPrintable(error));
  }
};

QByteArray fileHash(const QString &path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

// elementcolour of one element read through a connection of the test's own.
qint64 colourInFile(const QString &path, const QString &name) {
  qint64 colour = -1;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "test-reader");
    db.setDatabaseName(path);
    if (db.open()) {
      QSqlQuery query(db);
      query.prepare("SELECT elementcolour FROM tblElements WHERE ElementType = ?");
      query.addBindValue(name);
      if (query.exec() && query.next()) colour = query.value(0).toLongLong();
    }
  }
  QSqlDatabase::removeDatabase("test-reader");
  return colour;
}

}  // namespace

class TestCatalogue_ : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString location() const { return dir_.path(); }
  QString path() const { return catalogueFilePath(location()); }

  // Loads the catalogue into the tables; false when refused.
  static bool load(const CatalogueDatabase &catalogue, ElementTable &table, HeightColours &heights,
                   int mode = 1) {
    return catalogue.LoadElements(table, heights, mode).ok;
  }

 private slots:
  void init() {
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path());
    QDir(path()).removeRecursively();
  }

  void missingFileIsCreatedFromTheDefaultOnce() {
    CatalogueDatabase created = CatalogueDatabase::open(location());
    QCOMPARE(created.origin(), CatalogueOrigin::CreatedFromDefault);
    QVERIFY(created.openMessage().contains(QDir::toNativeSeparators(path())));
    QCOMPARE(QDir(location()).entryList(QDir::Files), QStringList{"Ostrel.db"});
    ElementTable table;
    HeightColours heights;
    QVERIFY(load(created, table, heights));
    QCOMPARE(table.loadedCount(), 260);
    QCOMPARE(heights.loadedCount(), 101);
    QCOMPARE(CatalogueDatabase::open(location()).origin(), CatalogueOrigin::UserFile);
  }

  void existingFileIsNeverOverwritten() {
    TestCatalogue{}.writeTo(path());
    const QByteArray before = fileHash(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QCOMPARE(catalogue.origin(), CatalogueOrigin::UserFile);
    QVERIFY(!CatalogueDatabase::createDefaultFile(path()).ok);
    ElementTable table;
    HeightColours heights;
    QVERIFY(load(catalogue, table, heights));
    QCOMPARE(table.loadedCount(), 5);
    QCOMPARE(ReturnElementName(table, 4), QString("E4"));
    QCOMPARE(ReturnElementName(table, -1), QString("-----"));
    QCOMPARE(ReturnElementName(table, 5), QString());
    QCOMPARE(fileHash(path()), before);
  }

  void unusableCatalogueIsRefused_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("problem");
    QTest::newRow("not a database") << "garbage"
                                    << "not an SQLite database";
    QTest::newRow("zero bytes") << "empty file"
                                << "empty (0 bytes)";
    QTest::newRow("unreadable") << "directory"
                                << "not a readable file";
    QTest::newRow("tblElements missing") << "no tblElements"
                                         << "table tblElements is missing";
    QTest::newRow("353 elements") << "353 elements"
                                  << "holds 353 records, more than 352";
    QTest::newRow("no heights") << "0 heights"
                                << "tblheights holds no records";
    QTest::newRow("ids out of order") << "swapped ids"
                                      << "record 2 of tblElements has elementid 3";
    QTest::newRow("element field missing") << "no CrushTo"
                                           << "the field CrushTo is missing";
    QTest::newRow("height field missing") << "no Heightcolour2"
                                          << "the field Heightcolour2 is missing";
  }

  void unusableCatalogueIsRefused() {
    QFETCH(QString, kind);
    QFETCH(QString, problem);
    TestCatalogue shape;
    if (kind == "garbage" || kind == "empty file") {
      QFile file(path());
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(kind == "garbage" ? 4096 : 0, 'x'));
    } else if (kind == "directory") {
      QVERIFY(QDir().mkpath(path()));
    } else {
      if (kind == "no tblElements") shape.droppedTable = "tblElements";
      if (kind == "353 elements") shape.elements = 353;
      if (kind == "0 heights") shape.heights = 0;
      if (kind == "swapped ids") shape.swappedId = 2;
      if (kind.startsWith("no ")) shape.droppedField = kind.mid(3);
      shape.writeTo(path());
    }
    const QByteArray before = fileHash(path());

    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QCOMPARE(catalogue.origin(), CatalogueOrigin::BuiltInDefault);
    QVERIFY2(catalogue.openMessage().contains(QDir::toNativeSeparators(path())),
             qPrintable(catalogue.openMessage()));
    QVERIFY2(catalogue.openMessage().contains(problem), qPrintable(catalogue.openMessage()));

    // The editor carries on with the default catalogue and the user's file is untouched.
    ElementTable table;
    HeightColours heights;
    QVERIFY(load(catalogue, table, heights, 0));
    QCOMPARE(table.loadedCount(), 260);
    QVERIFY(catalogue.writeElementColour("Brick Wall", 0x00AA00).ok);
    QCOMPARE(catalogue.elementByName("Brick Wall")->elementcolour, 0x00AA00u);
    QCOMPARE(fileHash(path()), before);
  }

  void fieldNamesMatchWithoutRegardToCase() {
    QString script = TestCatalogue{}.script().replace("\"TypeFlagsinterior\"", "TYPEFLAGSINTERIOR");
    {
      ScopedConnection connection({path(), false}, ScopedConnection::Access::Create);
      QVERIFY(executeScript(connection.database(), script).isEmpty());
    }
    QCOMPARE(CatalogueDatabase::open(location()).origin(), CatalogueOrigin::UserFile);
  }

  void heightColourSetsAndReloads() {
    TestCatalogue{}.writeTo(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    ElementTable table;
    HeightColours heights;
    QVERIFY(load(catalogue, table, heights, 0));
    QCOMPARE(heights.colour(9), quint32(2009));
    QVERIFY(!heights.hasHeight(10));
    QVERIFY(load(catalogue, table, heights, -3));  // any non-zero mode: the first set
    QCOMPARE(heights.colour(9), quint32(1009));

    // A catalogue that cannot be used changes nothing.
    TestCatalogue broken;
    broken.swappedId = 0;
    broken.namePrefix = "Bad";
    broken.writeTo(path());
    const CatalogueResult refused = catalogue.LoadElements(table, heights, 0);
    QVERIFY(!refused.ok);
    QVERIFY(refused.error.contains(QDir::toNativeSeparators(path())));
    QCOMPARE(ReturnElementName(table, 0), QString("E0"));
    QCOMPARE(heights.colour(0), quint32(1000));

    // Fewer records overwrite the rows they reach and leave the rows above as they were.
    TestCatalogue smaller;
    smaller.elements = 3;
    smaller.heights = 4;
    smaller.namePrefix = "New";
    smaller.writeTo(path());
    QVERIFY(load(catalogue, table, heights, 0));
    QCOMPARE(table.loadedCount(), 3);
    QCOMPARE(ReturnElementName(table, 2), QString("New2"));
    QCOMPARE(ReturnElementName(table, 3), QString("E3"));
    QCOMPARE(heights.colour(3), quint32(2003));
    QCOMPARE(heights.colour(4), quint32(1004));
  }

  void colourWriteReachesTheFileOnly() {
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    const ColourWriteResult written = catalogue.writeElementColour("Brick Wall", 0x80FF20);
    QVERIFY2(written.ok, qPrintable(written.error));
    QCOMPARE(written.elementid, catalogue.elementByName("Brick Wall")->elementid);
    QCOMPARE(colourInFile(path(), "Brick Wall"), qint64(0x80FF20));
    QCOMPARE(colourInFile(path(), "Stone Wall"),
             qint64(catalogue.elementByName("Stone Wall")->elementcolour));
    QVERIFY(!catalogue.writeElementColour("No Such Element", 1).ok);
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());  // nothing stays open

    // A change in the table in memory does not reach the file.
    ElementTable table;
    HeightColours heights;
    QVERIFY(load(catalogue, table, heights));
    const quint32 before = table.colour(4);
    ChangeElementColour(table, 4, 0x123456);
    ChangeElementColour(table, -1, 1);  // ignored: no row -1
    QCOMPARE(table.colour(4), 0x123456u);
    QCOMPARE(colourInFile(path(), ReturnElementName(table, 4)), qint64(before));
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

    {
      QSqlDatabase locker = QSqlDatabase::addDatabase("QSQLITE", "test-locker");
      locker.setDatabaseName(path());
      QVERIFY(locker.open());
      QSqlQuery lock(locker);
      QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
      result = catalogue.writeElementColour("Gate", 0x0000FF);
      QVERIFY(lock.exec("ROLLBACK"));
    }
    QSqlDatabase::removeDatabase("test-locker");
    QVERIFY2(!result.ok && result.error.contains(shown) && result.error.contains("locked"),
             qPrintable(result.error));
    QCOMPARE(colourInFile(path(), "Gate"), original);

    QVERIFY(QFile::remove(path()));
    result = catalogue.writeElementColour("Gate", 0x0000FF);
    QVERIFY2(!result.ok && result.error.contains(shown), qPrintable(result.error));
    QVERIFY(!QFileInfo::exists(path()));  // a write never creates the file again
  }

  void namesWithQuotesAreLookedUpLiterally() {
    const QString odd = "Jack's \"Big\"; DROP TABLE tblElements; --";
    TestCatalogue shape;
    shape.extraNames = {odd, "x' OR '1'='1"};
    shape.writeTo(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    const std::optional<ElementRecord> found = catalogue.elementByName(odd);
    QVERIFY(found.has_value());
    QCOMPARE(found->elementid, qint16(5));
    QVERIFY(!catalogue.elementByName("' OR '1'='1").has_value());
    QVERIFY(catalogue.writeElementColour(odd, 0x010203).ok);
    QCOMPARE(colourInFile(path(), odd), qint64(0x010203));
    QCOMPARE(colourInFile(path(), "E0"), qint64(100));
    ElementTable table;
    HeightColours heights;
    QVERIFY(load(catalogue, table, heights));  // the table is still there
    QCOMPARE(table.loadedCount(), 7);
  }
};

QTEST_GUILESS_MAIN(TestCatalogue_)
#include "test_catalogue.moc"
