#include "mapview/PictureLoader.h"

#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

class TestPictureLoader : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString picture(int w, int h, const char *format = "PNG") {
    const QString path =
        dir_.filePath(QStringLiteral("map%1x%2.%3").arg(w).arg(h).arg(QString(format).toLower()));
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(40, 120, 30));
    image.setPixel(w - 1, h - 1, qRgb(200, 10, 10));
    if (!image.save(path, format)) qFatal("cannot write a test picture");
    return path;
  }

  // A file holding only the first bytes of a picture: its header declares the
  // size but nothing can be decoded from it.
  QString headerOnly(int w, int h) {
    const QString path = picture(w, h);
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.resize(200)) qFatal("cannot truncate");
    return path;
  }

 private slots:
  void acceptedPictures_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QByteArray>("format");
    QTest::addColumn<int>("xQuads");
    QTest::addColumn<int>("yQuads");
    QTest::newRow("1200 x 840 jpeg") << 1200 << 840 << QByteArray("JPG") << 30 << 21;
    QTest::newRow("largest square") << 2880 << 2760 << QByteArray("PNG") << 72 << 69;
  }

  void acceptedPictures() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QByteArray, format);
    QFETCH(int, xQuads);
    QFETCH(int, yQuads);
    const PictureLoadResult result = PictureLoader::load(picture(width, height, format.data()));
    QVERIFY2(result.accepted, qPrintable(result.message));
    QCOMPARE(result.xQuads, xQuads);
    QCOMPARE(result.yQuads, yQuads);
    QCOMPARE(result.totalQuads, xQuads * yQuads);
    QCOMPARE(result.picture.format(), QImage::Format_RGB32);
    if (format != "JPG") QCOMPARE(result.picture.pixel(width - 1, height - 1), qRgb(200, 10, 10));
  }

  void refusedSizes_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QString>("message");
    const QString width = "The width of this image (%1) is not divisable by 120 and is Invalid.";
    const QString height = "The height of this image (%1) is not divisable by 120 and is Invalid.";
    QTest::newRow("width") << 1210 << 840 << width;
    QTest::newRow("height") << 1200 << 850 << height;
    QTest::newRow("too many quads")
        << 3000 << 2760
        << QStringLiteral(
               "The image (%1) is too large: it makes 5175 Quads and a map holds at most 5001.");
  }

  void refusedSizes() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QString, message);
    // Decoded and header-only files give the same answer: sizes are refused
    // from the header, before anything is decoded.
    for (const QString &path : {picture(width, height), headerOnly(width, height)}) {
      const PictureLoadResult result = PictureLoader::load(path);
      QVERIFY(!result.accepted);
      QCOMPARE(result.message, message.arg(path));
      QCOMPARE(result.title, QStringLiteral("Invalid Image"));
      QVERIFY(result.picture.isNull());
    }
  }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "test_pictureloader.moc"
