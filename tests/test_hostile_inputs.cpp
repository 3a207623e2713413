// Files a user can throw at the editor: damaged and oversized pictures, hostile map text
// files and broken catalogues. Each case states the exact outcome: the message, and that
// the map, the document's state and the user's files are otherwise unchanged.
#include "app/MapDocument.h"
#include "catalogue/CatalogueConnection.h"
#include "catalogue/CatalogueDatabase.h"
#include "mapfiles/MapTextImport.h"
#include "mapview/PictureLoader.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QtTest>

#include <random>

using namespace vmm;

namespace {

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray hashOf(const QString &path) {
  return QCryptographicHash::hash(readAll(path), QCryptographicHash::Sha256);
}

void writeBytes(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    qFatal("cannot write %s", qPrintable(path));
}

// Peak resident memory of this process in kB; resetPeakMemory() starts a new peak.
qint64 peakMemoryKb() {
  const QByteArray status = readAll(QStringLiteral("/proc/self/status"));
  const qsizetype at = status.indexOf("VmHWM:");
  if (at < 0) return -1;
  return status.mid(at + 6, status.indexOf('\n', at) - at - 6).trimmed().split(' ')[0].toLongLong();
}
bool resetPeakMemory() {
  QFile clear(QStringLiteral("/proc/self/clear_refs"));
  return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

QByteArray encoded(const QImage &image, const char *format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, format)) qFatal("cannot encode %s", format);
  return bytes;
}

QImage testPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 90));
  return image;
}

// A real JPEG whose frame header (SOF0) is rewritten to declare another size.
QByteArray jpegDeclaring(int width, int height) {
  QByteArray bytes = encoded(testPicture(120, 120), "JPG");
  const qsizetype frame = bytes.indexOf("\xFF\xC0");
  if (frame < 0) qFatal("no baseline frame header");
  // FF C0, length (2), precision (1), then height and width, big-endian.
  bytes[frame + 5] = char(height >> 8);
  bytes[frame + 6] = char(height & 0xFF);
  bytes[frame + 7] = char(width >> 8);
  bytes[frame + 8] = char(width & 0xFF);
  return bytes;
}

// A Windows bitmap header declaring a size, with no pixel data behind it.
QByteArray bitmapHeaderDeclaring(int width, int height) {
  QByteArray bytes = encoded(QImage(120, 120, QImage::Format_RGB888), "BMP").left(54);
  qToLittleEndian<qint32>(width, bytes.data() + 18);
  qToLittleEndian<qint32>(height, bytes.data() + 22);
  return bytes;
}

const QByteArray kHeader =
    "10\r\n \r\n3 X Max \r\n3 Y Max \r\n0\r\n0\r\n"
    "Id\tE0\tE1\tE2\tE3\tE4\tE5\tE6\tE7\tE8\tE9\tE10\tE11\tE12\tE13\tE14\tE15\tElev\r\n&\r\n";

// `count` Quad rows of 32 times `value`, numbered from `first`, CR LF after each.
QByteArray rows(int count, int value = 4, int first = 0) {
  QByteArray values;
  for (int i = 0; i < kValuesPerRow; ++i) values += QByteArray::number(value) + '\t';
  QByteArray text;
  text.reserve(count * (values.size() + 8));
  for (int quad = first; quad < first + count; ++quad)
    text += QByteArray::number(quad) + '\t' + values + "\r\n";
  return text;
}

constexpr qint16 kElementBefore = 7;
constexpr qint16 kHeightBefore = 9;
constexpr qint16 kTotalQuadsBefore = 630;

// Counts the Sectors an import changes and the highest Quad it touched.
struct ChangeCounter : ChangeObserver {
  int changes = 0;
  int highestQuad = -1;
  void sectorChanged(const SectorChange &change) override {
    ++changes;
    highestQuad = std::max(highestQuad, change.quad);
  }
};

}  // namespace

class TestHostileInputs : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString file(const QString &name, const QByteArray &bytes) {
    const QString path = dir_.filePath(name);
    writeBytes(path, bytes);
    return path;
  }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  // ---- Pictures ----

  void pictures_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");  // %1 is the path; empty when accepted
    QTest::addColumn<QSize>("size");       // of an accepted picture
    const QString unreadable = QStringLiteral("The image (%1) could not be read: ");
    const QByteArray jpeg = encoded(testPicture(240, 120), "JPG");

    QTest::newRow("empty file") << file("empty.jpg", {}) << unreadable + "Unsupported image format"
                                << QSize();
    QTest::newRow("text named .jpg") << file("text.jpg", "10\r\n \r\n3 X Max \r\n")
                                     << unreadable + "Unsupported image format" << QSize();
    QTest::newRow("truncated JPEG")
        << file("cut.jpg", jpeg.left(jpeg.size() / 2))
        << unreadable + "the file ends before the picture does" << QSize();
    QTest::newRow("JPEG cut inside its headers")
        << file("cut-header.jpg", jpeg.left(jpeg.indexOf("\xFF\xC4") + 10))
        << unreadable + "Unable to read image data" << QSize();
    QTest::newRow("JPEG declaring 60000 x 60000")
        << file("huge.jpg", jpegDeclaring(60000, 60000))
        << QStringLiteral(
               "The image (%1) is too large: it makes 2250000 Quads and a map holds at most 5001.")
        << QSize();
    QTest::newRow("JPEG declaring 65535 x 65535")
        << file("odd.jpg", jpegDeclaring(65535, 65535)) << unreadable + "Unable to read image data"
        << QSize();  // beyond the decoder's limit
    QTest::newRow("BMP header of 3000 x 2760, no pixels")
        << file("big.bmp", bitmapHeaderDeclaring(3000, 2760))
        << QStringLiteral(
               "The image (%1) is too large: it makes 5175 Quads and a map holds at most 5001.")
        << QSize();
    QTest::newRow("complete JPEG") << file("whole.jpg", jpeg) << QString() << QSize(240, 120);
    QTest::newRow("PNG") << file("map.png", encoded(testPicture(360, 240), "PNG")) << QString()
                         << QSize(360, 240);
    QTest::newRow("BMP") << file("map.bmp", encoded(testPicture(120, 480), "BMP")) << QString()
                         << QSize(120, 480);
    QTest::newRow("PNG named .jpg")
        << file("png.jpg", encoded(testPicture(120, 120), "PNG")) << QString() << QSize(120, 120);
  }

  void pictures() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    QFETCH(QSize, size);
    const QByteArray before = readAll(path);
    const bool measured = resetPeakMemory();
    const qint64 peakBefore = peakMemoryKb();
    QElapsedTimer timer;
    timer.start();
    const PictureLoadResult result = PictureLoader::load(path);
    const qint64 elapsed = timer.elapsed();
    const qint64 peakGrowthKb = peakMemoryKb() - peakBefore;

    if (message.isEmpty()) {
      QVERIFY2(result.accepted, qPrintable(result.message));
      QCOMPARE(result.picture.size(), size);
      QCOMPARE(result.totalQuads, (size.width() / 40) * (size.height() / 40));
      if (!path.endsWith(QStringLiteral("whole.jpg")))  // lossless formats read back exactly
        QCOMPARE(
            result.picture.pixel(size.width() - 1, size.height() - 1),
            testPicture(size.width(), size.height()).pixel(size.width() - 1, size.height() - 1));
    } else {
      QVERIFY(!result.accepted);
      QVERIFY2(result.message.startsWith(message.arg(path)), qPrintable(result.message));
      QCOMPARE(result.title, QStringLiteral("Invalid Image"));
      QVERIFY(result.picture.isNull());
      QCOMPARE(result.totalQuads, 0);
      // Refused from the header: quickly and without the picture's memory.
      QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
      if (measured) QVERIFY2(peakGrowthKb < 16 * 1024, qPrintable(QString::number(peakGrowthKb)));
    }
    QCOMPARE(readAll(path), before);
  }

  // ---- Map text files ----

  void mapTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");  // %1 is the file's path
    QTest::addColumn<int>("totalQuads");   // after the import
    QTest::addColumn<int>("changes");      // Sector values changed
    QTest::addColumn<int>("highestQuad");  // highest Quad changed, -1 for none
    const int imported = int(MapImportResult::Status::Imported);
    const int stopped = int(MapImportResult::Status::Stopped);
    const QString stop = QStringLiteral(
        "Reading the map data file \"%1\" stopped at line %2: %3. "
        "The values read before it were kept.");

    std::mt19937 random(11);
    QByteArray garbage(256 * 1024, Qt::Uninitialized);
    for (char &c : garbage) c = char(random() % 256);
    garbage.replace('&', '\0');  // no marker anywhere
    QTest::newRow("binary garbage") << garbage << imported << QString() << 0 << 0 << -1;
    QTest::newRow("binary garbage after the marker")
        << QByteArray("&\r\n0\t") + garbage << stopped << QString()  // field depends on bytes
        << int(kTotalQuadsBefore) << 0 << -1;
    QTest::newRow("empty file") << QByteArray() << imported << QString() << 0 << 0 << -1;
    QTest::newRow("50 MB of digits")
        << QByteArray(50 * 1000 * 1000, '7') << imported << QString() << 0 << 0 << -1;
    QTest::newRow("50 MB of digits after the marker")
        << QByteArray("&\r\n0\r\n") + QByteArray(50 * 1000 * 1000, '7') << stopped
        << stop.arg("%1", "3",
                    "\"7777777777777777777777777777777777777777...\" is not a whole number "
                    "from -32768 to 32767")
        << int(kTotalQuadsBefore) << 0 << -1;
    QTest::newRow("32768 beyond 16 bits")
        << kHeader + rows(2) + "2\t4\t32768\t4\r\n#\r\n"
        << stopped << stop.arg("%1", "11", "\"32768\" is not a whole number from -32768 to 32767")
        << int(kTotalQuadsBefore) << 2 * 32 + 1 << 2;
    QTest::newRow("-99999 beyond 16 bits")
        << kHeader + "0\t-99999\r\n"
        << stopped << stop.arg("%1", "9", "\"-99999\" is not a whole number from -32768 to 32767")
        << int(kTotalQuadsBefore) << 0 << -1;
    QTest::newRow("6000 rows") << kHeader + rows(6000) + "#\r\n"
                               << stopped
                               << stop.arg("%1", "5010",
                                           "\"4\" would go past Quad 5000, the last Quad a map "
                                           "can hold")
                               << int(kTotalQuadsBefore) << 5001 * 32 << 5000;
    QTest::newRow("NUL bytes in the header")
        << QByteArray("1\0000\r\n\0\0\0\r\n", 10) + kHeader.mid(4) + rows(3) + "#\r\n"
        << imported << QString() << 3 << 3 * 32 << 2;
    QTest::newRow("NUL byte in a value")
        << kHeader + rows(1) + QByteArray("1\t4\0\t", 5) << stopped
        << stop.arg("%1", "10", "\"4\\x00\" is not a whole number from -32768 to 32767")
        << int(kTotalQuadsBefore) << 32 << 0;
    QTest::newRow("a header line of 4 MB")
        << QByteArray(4 * 1024 * 1024, 'x') + "\r\n" + kHeader + rows(2) << imported << QString()
        << 2 << 64 << 1;
    QTest::newRow("a row spread over 4 MB of separators")
        << kHeader + "0" + QByteArray(4 * 1024 * 1024, '\t') + rows(1).mid(2) << imported
        << QString() << 1 << 32 << 0;
    QTest::newRow("a value of 1 MB")
        << kHeader + "0\t" + QByteArray(1024 * 1024, '1') << stopped
        << stop.arg("%1", "9",
                    "\"1111111111111111111111111111111111111111...\" is not a whole number from "
                    "-32768 to 32767")
        << int(kTotalQuadsBefore) << 0 << -1;
    QTest::newRow("missing \"#\"")
        << kHeader + rows(9) << imported << QString() << 9 << 9 * 32 << 8;
    QTest::newRow("missing \"&\"") << QByteArray(kHeader).replace("&", "") + rows(9) + "#\r\n"
                                   << imported << QString() << 0 << 0 << -1;
    QTest::newRow("\"&\" twice in the header") << kHeader + "&\r\n" + rows(2) + "#\r\n"
                                               << imported << QString() << 2 << 64 << 1;
    QTest::newRow("\"&\" twice, the second among the rows")
        << kHeader + rows(2) + "&\r\n" + rows(1, 4, 2) + "#\r\n"
        << imported << QString() << 3 << 96 << 2;
    QTest::newRow("\"&\" as a value")
        << kHeader + "0\t4\t&\r\n"
        << stopped << stop.arg("%1", "9", "\"&\" is not a whole number from -32768 to 32767")
        << int(kTotalQuadsBefore) << 1 << 0;
  }

  void mapTexts() {
    QFETCH(QByteArray, text);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(int, totalQuads);
    QFETCH(int, changes);
    QFETCH(int, highestQuad);
    const QString path = file(QStringLiteral("map.txt"), text);

    MapDocument doc;
    for (int quad = 0; quad < kQuadCapacity; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
        doc.setValue(quad, sector, Plane::Element, kElementBefore);
        doc.setValue(quad, sector, Plane::Height, kHeightBefore);
      }
    doc.XQuads = 30;
    doc.YQuads = 21;
    doc.TotalQuads = kTotalQuadsBefore;
    ChangeCounter counter;
    doc.setChangeObserver(&counter);
    QElapsedTimer timer;
    timer.start();
    const MapImportResult result = GetFile(doc, path);
    const qint64 elapsed = timer.elapsed();
    doc.setChangeObserver(nullptr);

    QCOMPARE(int(result.status), status);
    if (!message.isEmpty())
      QCOMPARE(result.messageText, message.arg(QDir::toNativeSeparators(path)));
    else if (result.status != MapImportResult::Status::Imported)
      QVERIFY2(result.messageText.contains(QStringLiteral("stopped at line 2")),
               qPrintable(result.messageText));
    else
      QVERIFY(result.messageText.isEmpty());
    QCOMPARE(int(doc.TotalQuads), totalQuads);
    QCOMPARE(counter.changes, changes);
    QCOMPARE(counter.highestQuad, highestQuad);
    QCOMPARE(doc.XQuads, qint16(30));  // the file never changes the map's size
    QCOMPARE(doc.YQuads, qint16(21));
    QCOMPARE(doc.mapData(kQuadCapacity - 1, 16, 0), qint16(0));
    QCOMPARE(doc.mapData(0, 0, 2), qint16(0));
    QCOMPARE(hashOf(path), QCryptographicHash::hash(text, QCryptographicHash::Sha256));
    QVERIFY2(elapsed < 30000, qPrintable(QString::number(elapsed)));
  }

  // ---- Catalogues ----

  void catalogues_data();
  void catalogues();
  void lockedCatalogue();
};

// A catalogue folder of its own for each case; the file is broken in one way by `damage`.
struct CatalogueCase {
  QString damage;
  bool userFileUsed = false;   // the editor runs on the user's file
  QString openMessage;         // a part of the message when it is refused
  bool colourWritten = false;  // a colour write on the file succeeds
  QString colourError;         // a part of the refusal of the colour write
};
Q_DECLARE_METATYPE(CatalogueCase)

namespace {

// Runs SQL on the catalogue file through a connection of the test's own.
void runSql(const QString &path, const QStringList &statements) {
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "hostile-sql");
    db.setDatabaseName(path);
    QVERIFY(db.open());
    QSqlQuery query(db);
    for (const QString &statement : statements)
      QVERIFY2(query.exec(statement), qPrintable(statement + ": " + query.lastError().text()));
  }
  QSqlDatabase::removeDatabase("hostile-sql");
}

const QString kOddName = QStringLiteral("Jack's \"Big\"; DROP TABLE tblElements; --");

}  // namespace

void TestHostileInputs::catalogues_data() {
  QTest::addColumn<CatalogueCase>("expected");
  const auto row = [](const char *name, CatalogueCase c) { QTest::newRow(name) << c; };
  row("intact", {"", true, "", true, ""});
  row("zero bytes", {"zero bytes", false, "the file is empty (0 bytes)", false, ""});
  row("not a database", {"text", false, "it is not an SQLite database", false, ""});
  row("database header, garbage pages",
      {"garbage pages", false, "it is not an SQLite database", false, ""});
  row("cut to its first page", {"first page", false, "cannot be used", false, ""});
  row("tblheights missing",
      {"drop tblheights", false, "the table tblheights is missing", false, ""});
  row("field BurnTo missing",
      {"drop BurnTo", false, "the field BurnTo is missing from tblElements", false, ""});
  row("353 elements",
      {"353 elements", false, "tblElements holds 353 records, more than 352", false, ""});
  row("102 heights",
      {"102 heights", false, "tblheights holds 102 records, more than 101", false, ""});
  row("ids out of order",
      {"swap ids", false, "record 10 of tblElements has elementid 11", false, ""});
  row("id as text", {"text id", false, "record 3 of tblElements has elementid x3", false, ""});
  row("read-only file", {"read-only", true, "", false, "the file is read-only"});
  row("name with ' \" ;", {"odd name", true, "", true, ""});
}

void TestHostileInputs::catalogues() {
  QFETCH(CatalogueCase, expected);
  QTemporaryDir folder;
  const QString path = catalogueFilePath(folder.path());
  QVERIFY(CatalogueDatabase::createDefaultFile(path).ok);
  const QString &damage = expected.damage;
  if (damage == "zero bytes") writeBytes(path, {});
  if (damage == "text") writeBytes(path, "tblElements;tblheights\n");
  if (damage == "garbage pages") {
    QByteArray bytes = readAll(path);
    for (qsizetype i = 100; i < bytes.size(); ++i) bytes[i] = char(i * 31);
    writeBytes(path, bytes);
  }
  if (damage == "first page") writeBytes(path, readAll(path).left(4096));
  if (damage == "drop tblheights") runSql(path, {"DROP TABLE tblheights"});
  if (damage == "drop BurnTo") runSql(path, {"ALTER TABLE tblElements DROP COLUMN BurnTo"});
  if (damage == "353 elements")
    runSql(path, {"INSERT INTO tblElements SELECT * FROM tblElements LIMIT 93"});
  if (damage == "102 heights")
    runSql(path, {"INSERT INTO tblheights SELECT * FROM tblheights LIMIT 1"});
  if (damage == "swap ids")
    runSql(path, {"UPDATE tblElements SET elementid = 1000 WHERE elementid = 10",
                  "UPDATE tblElements SET elementid = 10 WHERE elementid = 11",
                  "UPDATE tblElements SET elementid = 11 WHERE elementid = 1000"});
  if (damage == "text id")
    runSql(path, {"UPDATE tblElements SET elementid = 'x3' WHERE elementid = 3"});
  if (damage == "odd name")
    runSql(path, {"UPDATE tblElements SET ElementType = '" + QString(kOddName).replace("'", "''") +
                  "' WHERE elementid = 5"});
  if (damage == "read-only")
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
  const QByteArray before = readAll(path);

  const CatalogueDatabase catalogue = CatalogueDatabase::open(folder.path());
  QCOMPARE(catalogue.usesBuiltInDefault(), !expected.userFileUsed);
  if (expected.userFileUsed) {
    QCOMPARE(catalogue.origin(), CatalogueOrigin::UserFile);
    QVERIFY(catalogue.openMessage().isEmpty());
  } else {
    QCOMPARE(catalogue.origin(), CatalogueOrigin::BuiltInDefault);
    const QString message = catalogue.openMessage();
    QVERIFY2(message.startsWith("The catalogue \"" + QDir::toNativeSeparators(path) +
                                "\" cannot be used: ") &&
                 message.contains(expected.openMessage) &&
                 message.endsWith("The editor runs on its built-in default catalogue and leaves "
                                  "the file unchanged."),
             qPrintable(message));
  }

  // Loading and looking up, on whichever catalogue is in use, always work.
  ElementTable table;
  HeightColours heights;
  const CatalogueResult loaded = catalogue.LoadElements(table, heights, 1);
  QVERIFY2(loaded.ok, qPrintable(loaded.error));
  QVERIFY(table.loadedCount() > 0 && table.loadedCount() <= 352);
  QVERIFY(catalogue.elementByName(QStringLiteral("Brick Wall")).has_value());
  QVERIFY(!catalogue.elementByName(QStringLiteral("' OR '1'='1")).has_value());
  if (damage == "odd name") {
    QCOMPARE(ReturnElementName(table, 5), kOddName);
    QCOMPARE(catalogue.elementByName(kOddName)->elementid, qint16(5));
  }
  QCOMPARE(readAll(path), before);  // reading never changes the file

  // Only a colour write may change the user's file, and only when it is in use.
  const QString name = damage == "odd name" ? kOddName : QStringLiteral("Brick Wall");
  const ColourWriteResult written = catalogue.writeElementColour(name, 0x00ABCDEF);
  if (expected.userFileUsed) {
    QCOMPARE(written.ok, expected.colourWritten);
    if (!written.ok)
      QVERIFY2(written.error.contains(expected.colourError), qPrintable(written.error));
  }
  if (!expected.colourWritten || !expected.userFileUsed) QCOMPARE(readAll(path), before);
  if (written.ok && expected.userFileUsed) {
    ElementTable again;
    QVERIFY(catalogue.LoadElements(again, heights, 1).ok);
    for (int id = 0; id < again.loadedCount(); ++id)  // exactly one record changed
      QCOMPARE(again.colour(id), id == written.elementid ? 0x00ABCDEFu : table.colour(id));
  }
  if (expected.userFileUsed)  // the built-in default keeps its in-memory database open
    QVERIFY(QSqlDatabase::connectionNames().isEmpty());
  QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
}

void TestHostileInputs::lockedCatalogue() {
  // Another program holding the file: reading waits briefly, then the editor carries on
  // with the built-in default; nothing is written and the file is the same afterwards.
  QTemporaryDir folder;
  const QString path = catalogueFilePath(folder.path());
  QVERIFY(CatalogueDatabase::createDefaultFile(path).ok);
  const CatalogueDatabase beforeLock = CatalogueDatabase::open(folder.path());
  QCOMPARE(beforeLock.origin(), CatalogueOrigin::UserFile);
  const QByteArray before = readAll(path);
  {
    QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "locker");
    locker.setDatabaseName(path);
    QVERIFY(locker.open());
    QSqlQuery lock(locker);
    QVERIFY(lock.exec("BEGIN EXCLUSIVE"));
    QVERIFY(lock.exec("UPDATE tblElements SET elementcolour = 1 WHERE elementid = 0"));

    const CatalogueDatabase catalogue = CatalogueDatabase::open(folder.path());
    QVERIFY(catalogue.usesBuiltInDefault());
    QVERIFY2(catalogue.openMessage().contains(QStringLiteral("locked")),
             qPrintable(catalogue.openMessage()));
    ElementTable table;
    HeightColours heights;
    const CatalogueResult loaded = beforeLock.LoadElements(table, heights, 1);
    QVERIFY(!loaded.ok);
    QVERIFY2(loaded.error.contains(QStringLiteral("locked")), qPrintable(loaded.error));
    QCOMPARE(table.loadedCount(), 0);
    const ColourWriteResult written = beforeLock.writeElementColour("Brick Wall", 0x123456);
    QVERIFY(!written.ok);
    QVERIFY2(written.error.contains(QStringLiteral("locked")), qPrintable(written.error));
    QVERIFY(lock.exec("ROLLBACK"));
    locker.close();
  }
  QSqlDatabase::removeDatabase("locker");
  QCOMPARE(readAll(path), before);
  ElementTable table;
  HeightColours heights;
  QVERIFY(beforeLock.LoadElements(table, heights, 1).ok);  // usable again once released
}

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "test_hostile_inputs.moc"
