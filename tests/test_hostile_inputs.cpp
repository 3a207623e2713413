// Damaged pictures and catalogues a user can throw at the editor, beyond the loader's and
// the catalogue's own tests: each is refused quickly, with its message, leaving the file as
// it was. Hostile map text files are read in test_mapfiles_reader and the fuzz replay.
#include "catalogue/CatalogueConnection.h"
#include "catalogue/CatalogueDatabase.h"
#include "mapview/PictureLoader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QtTest>

using namespace vmm;

namespace {

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
    qFatal("cannot write %s", qPrintable(path));
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

  void refusedPictures_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");  // %1 is the path
    const QString unreadable = QStringLiteral("The image (%1) could not be read: ");
    const QByteArray jpeg = encoded(testPicture(240, 120), "JPG");
    QTest::newRow("truncated JPEG") << file("cut.jpg", jpeg.left(jpeg.size() / 2))
                                    << unreadable + "the file ends before the picture does";
    QTest::newRow("JPEG declaring 60000 x 60000")
        << file("huge.jpg", jpegDeclaring(60000, 60000))
        << QStringLiteral(
               "The image (%1) is too large: it makes 2250000 Quads and a map holds at most 5001.");
  }

  void refusedPictures() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    const QByteArray before = readAll(path);
    QElapsedTimer timer;
    timer.start();
    const PictureLoadResult result = PictureLoader::load(path);
    const qint64 elapsed = timer.elapsed();
    QVERIFY(!result.accepted);
    QVERIFY2(result.message.startsWith(message.arg(path)), qPrintable(result.message));
    QCOMPARE(result.title, QStringLiteral("Invalid Image"));
    QVERIFY(result.picture.isNull());
    // Refused from the header, before decoding: a 60000 x 60000 decode would take far longer.
    QVERIFY2(elapsed < 2000, qPrintable(QString::number(elapsed)));
    QCOMPARE(readAll(path), before);
  }

  void bitmapsAndPicturesUnderAnotherNameAreRead() {
    const QImage picture = testPicture(120, 480);
    for (const auto &[name, format] : {std::pair{"map.bmp", "BMP"}, std::pair{"png.jpg", "PNG"}}) {
      const PictureLoadResult result = PictureLoader::load(file(name, encoded(picture, format)));
      QVERIFY2(result.accepted, qPrintable(result.message));
      QCOMPARE(result.picture.convertToFormat(QImage::Format_RGB32), picture);
    }
  }

  // ---- Catalogues ----

  void damagedCatalogues_data() {
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message");  // a part of the refusal
    QTest::newRow("database header, garbage pages") << "garbage pages"
                                                    << "it is not an SQLite database";
    QTest::newRow("id as text") << "UPDATE tblElements SET elementid = 'x3' WHERE elementid = 3"
                                << "record 3 of tblElements has elementid x3";
  }

  void damagedCatalogues() {
    QFETCH(QString, damage);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString path = catalogueFilePath(folder.path());
    QVERIFY(CatalogueDatabase::createDefaultFile(path).ok);
    QByteArray bytes = readAll(path);
    if (damage == "garbage pages") {
      for (qsizetype i = 100; i < bytes.size(); ++i) bytes[i] = char(i * 31);
      writeBytes(path, bytes);
    }
    if (damage.startsWith("UPDATE")) {
      QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "hostile-sql");
      db.setDatabaseName(path);
      QVERIFY(db.open());
      QVERIFY(QSqlQuery(db).exec(damage));
      db.close();
    }
    QSqlDatabase::removeDatabase("hostile-sql");
    const QByteArray before = readAll(path);

    const CatalogueDatabase catalogue = CatalogueDatabase::open(folder.path());
    QCOMPARE(catalogue.origin(), CatalogueOrigin::BuiltInDefault);
    const QString shown = catalogue.openMessage();
    QVERIFY2(shown.startsWith("The catalogue \"" + QDir::toNativeSeparators(path) +
                              "\" cannot be used: ") &&
                 shown.contains(message) &&
                 shown.endsWith("The editor runs on its built-in default catalogue and leaves "
                                "the file unchanged."),
             qPrintable(shown));
    // The editor carries on with the built-in default; the user's file stays as it was.
    ElementTable table;
    HeightColours heights;
    QVERIFY(catalogue.LoadElements(table, heights, 1).ok);
    QVERIFY(catalogue.writeElementColour(QStringLiteral("Brick Wall"), 0x00ABCDEF).ok);
    QCOMPARE(readAll(path), before);
  }

  void lockedCatalogue() {
    // Another program holding the file: reading waits briefly, then the editor carries on
    // with the built-in default; the file is the same afterwards.
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
      QVERIFY(lock.exec("ROLLBACK"));
      locker.close();
    }
    QSqlDatabase::removeDatabase("locker");
    QCOMPARE(readAll(path), before);
    ElementTable table;
    HeightColours heights;
    QVERIFY(beforeLock.LoadElements(table, heights, 1).ok);  // usable again once released
  }
};

QTEST_GUILESS_MAIN(TestHostileInputs)
#include "test_hostile_inputs.moc"
