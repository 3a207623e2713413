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

// A small catalogue: element i is "E<i>" with colour 100 + i, height i has colours
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
    QStringList fields;
    for (const QString &field : ElementRecord::fieldNames())
      if (field != droppedField)
        fields << (field == "ElementType" ? "ElementType TEXT" : "\"" + field + "\" INTEGER");
    QStringList sql;
    if (droppedTable != "tblElements")
      sql << "CREATE TABLE tblElements (" + fields.join(", ") + ")";
    QStringList heightFields;
    for (const QString &field : {QString("Heightcolour"), QString("Heightcolour2")})
      if (field != droppedField) heightFields << field + " INTEGER";
    if (droppedTable != "tblheights")
      sql << "CREATE TABLE tblheights (" + heightFields.join(", ") + ")";
    const int total = elements + int(extraNames.size());
    for (int i = 0; i < total && droppedTable != "tblElements"; ++i) {
      int id = i;
      if (i == swappedId) id = i + 1;
      if (i == swappedId + 1 && swappedId >= 0) id = swappedId;
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
        else if (field.endsWith("To"))
          values << "-1";
        else
          values << "1";
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
    db.close();
  }
  QSqlDatabase::removeDatabase("test-reader");
  return colour;
}

}  // namespace

class TestCatalogue_ : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  QString location() const { return dir_.path(); }
  QString path() const { return catalogueFilePath(location()); }

 private slots:
  void init() {
    QVERIFY(dir_.isValid());
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(path());
    QDir(path()).removeRecursively();
  }

  void databaseLocationHasNoTrailingSeparatorAndExists() {
    const QString folder = location() + "/home/sub/";
    qputenv("VARGA_MAP_MAKER_HOME", folder.toUtf8());
    const QString resolved = resolveDatabaseLocation();
    qunsetenv("VARGA_MAP_MAKER_HOME");
    QCOMPARE(resolved, location() + "/home/sub");
    QVERIFY(QFileInfo(resolved).isDir());
    QCOMPARE(catalogueFilePath(resolved), location() + "/home/sub/Ostrel.db");
  }

  void missingFileIsCreatedFromTheDefaultOnce() {
    CatalogueDatabase created = CatalogueDatabase::open(location());
    QCOMPARE(created.origin(), CatalogueOrigin::CreatedFromDefault);
    QVERIFY(created.openMessage().contains(QDir::toNativeSeparators(path())));
    QVERIFY(QFileInfo(path()).size() > 0);
    QVERIFY(!created.usesBuiltInDefault());
    QCOMPARE(QDir(location()).entryList(QDir::Files), QStringList{"Ostrel.db"});

    ElementTable table;
    HeightColours heights;
    QVERIFY(created.LoadElements(table, heights, 1).ok);
    QCOMPARE(table.loadedCount(), 260);
    QCOMPARE(heights.loadedCount(), 101);

    CatalogueDatabase reopened = CatalogueDatabase::open(location());
    QCOMPARE(reopened.origin(), CatalogueOrigin::UserFile);
    QVERIFY(reopened.openMessage().isEmpty());
  }

  void existingFileIsNeverOverwritten() {
    TestCatalogue{}.writeTo(path());
    const QByteArray before = fileHash(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QCOMPARE(catalogue.origin(), CatalogueOrigin::UserFile);
    QVERIFY(!CatalogueDatabase::createDefaultFile(path()).ok);
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    QCOMPARE(table.loadedCount(), 5);
    QCOMPARE(ReturnElementName(table, 4), QString("E4"));
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
    QTest::newRow("tblheights missing") << "no tblheights"
                                        << "table tblheights is missing";
    QTest::newRow("no elements") << "0 elements"
                                 << "tblElements holds no records";
    QTest::newRow("353 elements") << "353 elements"
                                  << "holds 353 records, more than 352";
    QTest::newRow("no heights") << "0 heights"
                                << "tblheights holds no records";
    QTest::newRow("102 heights") << "102 heights"
                                 << "holds 102 records, more than 101";
    QTest::newRow("ids out of order") << "swapped ids"
                                      << "record 2 of tblElements has elementid 3";
  }

  void unusableCatalogueIsRefused() {
    QFETCH(QString, kind);
    QFETCH(QString, problem);
    TestCatalogue shape;
    if (kind == "garbage") {
      QFile file(path());
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(QByteArray(4096, 'x'));
    } else if (kind == "empty file") {
      QFile file(path());
      QVERIFY(file.open(QIODevice::WriteOnly));
    } else if (kind == "directory") {
      QVERIFY(QDir().mkpath(path()));
    } else {
      if (kind == "no tblElements") shape.droppedTable = "tblElements";
      if (kind == "no tblheights") shape.droppedTable = "tblheights";
      if (kind == "0 elements") shape.elements = 0;
      if (kind == "353 elements") shape.elements = 353;
      if (kind == "0 heights") shape.heights = 0;
      if (kind == "102 heights") shape.heights = 102;
      if (kind == "swapped ids") shape.swappedId = 2;
      shape.writeTo(path());
    }
    const QByteArray before = fileHash(path());

    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    QCOMPARE(catalogue.origin(), CatalogueOrigin::BuiltInDefault);
    QVERIFY(catalogue.usesBuiltInDefault());
    QVERIFY2(catalogue.openMessage().contains(QDir::toNativeSeparators(path())),
             qPrintable(catalogue.openMessage()));
    QVERIFY2(catalogue.openMessage().contains(problem), qPrintable(catalogue.openMessage()));

    // The editor carries on with the default catalogue and the user's file is untouched.
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 0).ok);
    QCOMPARE(table.loadedCount(), 260);
    QVERIFY(catalogue.elementByName("Brick Wall").has_value());
    QVERIFY(catalogue.writeElementColour("Brick Wall", 0x00AA00).ok);
    QCOMPARE(catalogue.elementByName("Brick Wall")->elementcolour, 0x00AA00u);
    QCOMPARE(fileHash(path()), before);
  }

  void everyMissingFieldIsRefusedByName() {
    QStringList fields = ElementRecord::fieldNames();
    fields << "Heightcolour"
           << "Heightcolour2";
    for (const QString &field : fields) {
      TestCatalogue shape;
      shape.droppedField = field;
      shape.writeTo(path());
      CatalogueDatabase catalogue = CatalogueDatabase::open(location());
      QVERIFY2(catalogue.usesBuiltInDefault(), qPrintable(field));
      QVERIFY2(catalogue.openMessage().contains("the field " + field + " is missing"),
               qPrintable(catalogue.openMessage()));
    }
  }

  void fieldNamesMatchWithoutRegardToCase() {
    TestCatalogue shape;
    QString script = shape.script().replace("\"TypeFlagsinterior\"", "\"TYPEFLAGSINTERIOR\"");
    ScopedConnection connection({path(), false}, ScopedConnection::Access::Create);
    QVERIFY(executeScript(connection.database(), script).isEmpty());
    QCOMPARE(CatalogueDatabase::open(location()).origin(), CatalogueOrigin::UserFile);
  }

  void bothHeightColourSets() {
    TestCatalogue{}.writeTo(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    for (int h = 0; h < 10; ++h) QCOMPARE(heights.colour(h), quint32(1000 + h));
    QVERIFY(!heights.hasHeight(10));
    QVERIFY(catalogue.LoadElements(table, heights, 0).ok);
    for (int h = 0; h < 10; ++h) QCOMPARE(heights.colour(h), quint32(2000 + h));
    QVERIFY(catalogue.LoadElements(table, heights, -3).ok);  // any non-zero mode
    QCOMPARE(heights.colour(9), quint32(1009));
  }

  void reloadWithFewerRecordsKeepsTheRowsAbove() {
    TestCatalogue{}.writeTo(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);

    TestCatalogue smaller;
    smaller.elements = 3;
    smaller.heights = 4;
    smaller.namePrefix = "New";
    smaller.writeTo(path());
    QVERIFY(catalogue.LoadElements(table, heights, 0).ok);
    QCOMPARE(table.loadedCount(), 3);
    QCOMPARE(ReturnElementName(table, 2), QString("New2"));
    QCOMPARE(ReturnElementName(table, 3), QString("E3"));
    QCOMPARE(ReturnElementName(table, 4), QString("E4"));
    QCOMPARE(heights.colour(3), quint32(2003));
    QCOMPARE(heights.colour(4), quint32(1004));
    QCOMPARE(heights.colour(9), quint32(1009));
  }

  void loadOfAnUnusableFileChangesNothing() {
    TestCatalogue{}.writeTo(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    TestCatalogue broken;
    broken.elements = 2;
    broken.swappedId = 0;
    broken.namePrefix = "Bad";
    broken.writeTo(path());
    const CatalogueResult result = catalogue.LoadElements(table, heights, 0);
    QVERIFY(!result.ok);
    QVERIFY(result.error.contains(QDir::toNativeSeparators(path())));
    QCOMPARE(ReturnElementName(table, 0), QString("E0"));
    QCOMPARE(heights.colour(0), quint32(1000));
  }

  void changeElementColourIsSeenWithoutAReload() {
    TestCatalogue{}.writeTo(path());
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    ChangeElementColour(table, 4, 0x123456);
    QCOMPARE(table.colour(4), 0x123456u);
    QCOMPARE(table.colour(3), 103u);
    ChangeElementColour(table, -1, 1);  // ignored, no row -1
    ChangeElementColour(table, 352, 1);
    QCOMPARE(colourInFile(path(), "E4"), qint64(104));  // memory only
  }

  void returnElementNameCoversEveryId() {
    TestCatalogue{}.writeTo(path());
    ElementTable table;
    HeightColours heights;
    QVERIFY(CatalogueDatabase::open(location()).LoadElements(table, heights, 1).ok);
    for (qint16 k = 0; k < 5; ++k) QCOMPARE(ReturnElementName(table, k), "E" + QString::number(k));
    QCOMPARE(ReturnElementName(table, -1), QString("-----"));
    QCOMPARE(ReturnElementName(table, 5), QString());
    QCOMPARE(ReturnElementName(table, -7), QString());
    QCOMPARE(ReturnElementName(table, 400), QString());
  }

  void colourWriteReachesTheFile() {
    CatalogueDatabase catalogue = CatalogueDatabase::open(location());
    const std::optional<ElementRecord> wall = catalogue.elementByName("Brick Wall");
    QVERIFY(wall.has_value());
    const ColourWriteResult written = catalogue.writeElementColour("Brick Wall", 0x80FF20);
    QVERIFY2(written.ok, qPrintable(written.error));
    QCOMPARE(written.elementid, wall->elementid);
    QCOMPARE(colourInFile(path(), "Brick Wall"), qint64(0x80FF20));
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
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(shown) && result.error.contains("read-only"),
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
      locker.close();
    }
    QSqlDatabase::removeDatabase("test-locker");
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(shown) && result.error.contains("locked"),
             qPrintable(result.error));
    QCOMPARE(colourInFile(path(), "Gate"), original);

    QVERIFY(QFile::remove(path()));
    result = catalogue.writeElementColour("Gate", 0x0000FF);
    QVERIFY(!result.ok);
    QVERIFY2(result.error.contains(shown), qPrintable(result.error));
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
    QCOMPARE(found->ElementType, odd);
    QVERIFY(!catalogue.elementByName("' OR '1'='1").has_value());
    QVERIFY(!catalogue.elementByName(QString()).has_value());
    QVERIFY(catalogue.writeElementColour(odd, 0x010203).ok);
    QCOMPARE(colourInFile(path(), odd), qint64(0x010203));
    QCOMPARE(colourInFile(path(), "E0"), qint64(100));
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);  // the table is still there
    QCOMPARE(table.loadedCount(), 7);
  }

  void recordCarriesEveryField() {
    CatalogueDatabase catalogue;  // built-in default
    const std::optional<ElementRecord> fence = catalogue.elementByName("Wood Fence");
    QVERIFY(fence.has_value());
    QCOMPARE(fence->ElementType, QString("Wood Fence"));
    QCOMPARE(fence->TypeFlagsWall, 1.0);
    QVERIFY(fence->Height > 0);
    QVERIFY(fence->RubbleTo >= 0);
    QCOMPARE(*protectionFlagText(4), QString("partial prot (better if behind)"));
    QVERIFY(!protectionFlagText(7).has_value());
    QCOMPARE(*explodeText(0), QString("None"));
    QCOMPARE(*explodeText(6), QString("Pavement"));
    QVERIFY(!explodeText(-1).has_value());
    QCOMPARE(heightMetresText(5), QString("2.5"));
    QCOMPARE(heightMetresText(4), QString("2"));
  }
};

QTEST_GUILESS_MAIN(TestCatalogue_)
#include "test_catalogue.moc"
