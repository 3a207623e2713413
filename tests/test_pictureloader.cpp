// Pictures a user can open, well-formed or hostile: the size rules and their messages,
// refused from the header before anything is decoded, and files that are never changed.
#include "mapview/PictureLoader.h"
#include "support/TestSupport.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

namespace {

// A different colour at nearly every pixel, so a shifted or cropped read shows.
QImage testPicture(int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 90));
  return image;
}

}  // namespace

class TestPictureLoader : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString file(const QString &name, const QByteArray &bytes) {
    const QString path = dir_.filePath(name);
    if (!test::writeFile(path, bytes)) qFatal("cannot write %s", qPrintable(path));
    return path;
  }

 private slots:
  void acceptedPictures_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QByteArray>("format");
    QTest::newRow("1200 x 840 jpeg") << "map.jpg" << QSize(1200, 840) << QByteArray("JPG");
    QTest::newRow("largest square") << "map.png" << QSize(2880, 2760) << QByteArray("PNG");
    QTest::newRow("bitmap") << "map.bmp" << QSize(120, 480) << QByteArray("BMP");
    QTest::newRow("PNG named .jpg") << "png.jpg" << QSize(240, 120) << QByteArray("PNG");
  }

  void acceptedPictures() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(QByteArray, format);
    const QImage picture = testPicture(size.width(), size.height());
    const PictureLoadResult result = PictureLoader::load(file(name, test::encodedPicture(picture, format)));
    QVERIFY2(result.accepted, qPrintable(result.message));
    QCOMPARE(result.xQuads, size.width() / 40);  // a Quad is 40 pixels square
    QCOMPARE(result.yQuads, size.height() / 40);
    QCOMPARE(result.totalQuads, result.xQuads * result.yQuads);
    QCOMPARE(result.picture.format(), QImage::Format_RGB32);
    if (format != "JPG") QCOMPARE(result.picture, picture);
  }

  void refused_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("message");  // how it starts; %1 is the path
    const QString notDivisable =
        "The %1 of this image (%2) is not divisable by 120 and is Invalid.";
    const QString tooLarge =
        "The image (%1) is too large: it makes %2 Quads and a map holds at most 5001.";
    const struct {
      const char *name;
      QSize size;
      QString message;
    } sizes[] = {{"width", {1210, 840}, notDivisable.arg("width", "%1")},
                 {"height", {1200, 850}, notDivisable.arg("height", "%1")},
                 {"too many quads", {3000, 2760}, tooLarge.arg("%1", "5175")}};
    // Decoded and header-only files give the same answer: sizes are refused from the header.
    for (const auto &[name, size, message] : sizes) {
      const QByteArray png = test::encodedPicture(testPicture(size.width(), size.height()), "PNG");
      QTest::addRow("%s", name) << file(QString(name) + ".png", png) << message;
      QTest::addRow("%s, header only", name)
          << file(QString(name) + "-cut.png", png.left(200)) << message;
    }
    const QByteArray jpeg = test::encodedPicture(testPicture(240, 120), "JPG");
    QTest::newRow("truncated JPEG")
        << file("cut.jpg", jpeg.left(jpeg.size() / 2))
        << "The image (%1) could not be read: the file ends before the picture does";
    QTest::newRow("JPEG declaring 60000 x 60000")
        << file("huge.jpg", test::jpegDeclaring(60000, 60000)) << tooLarge.arg("%1", "2250000");
  }

  void refused() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    const QByteArray before = test::readFile(path);
    QElapsedTimer timer;
    timer.start();
    const PictureLoadResult result = PictureLoader::load(path);
    // Refused before decoding: a 60000 x 60000 decode would take far longer.
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!result.accepted);
    QVERIFY2(result.message.startsWith(message.arg(path)), qPrintable(result.message));
    QCOMPARE(result.title, QStringLiteral("Invalid Image"));
    QVERIFY(result.picture.isNull());
    QCOMPARE(test::readFile(path), before);
  }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "test_pictureloader.moc"
