// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures a user can open, well-formed or hostile: the size rules and their messages,
// refused from the header before anything is decoded, and files that are never changed.
#include "files/InputFile.h"
#include "mapfiles/JpegIntegrity.h"
#include "mapfiles/PictureLoader.h"
#include "support/HostileJpeg.h"
#include "support/TestSupport.h"

#include <QBuffer>
#include <QImageReader>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <thread>

#include <sys/stat.h>
#include <unistd.h>

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
    const PictureLoadResult result =
        PictureLoader::load(file(name, test::encodedPicture(picture, format)));
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
    const QString unreadable = "The image (%1) could not be read: ";
    const QString beyond = unreadable +
                           "the file holds more than %2, more than any camera or paint "
                           "program writes";
    // Structures that cost the decoder far more than their size, refused from the walk.
    QTest::newRow("1001 comments") << file("comments.jpg", test::withComments(jpeg, 1001, 6))
                                   << beyond.arg("%1", "1000 marker segments");
    // 41 scans of little work each (the second component's, a quarter of the picture)...
    QTest::newRow("41 scans") << file("scans.jpg",
                                      test::encodeJpeg(testPicture(240, 120),
                                                       {kJpegMaxScans + 1, false, 85, 1, 1}))
                              << beyond.arg("%1", "40 scans");
    // ... and few scans of much work: 7 over all three full-resolution components.
    QTest::newRow("21 passes") << file("passes.jpg",
                                       test::encodeJpeg(testPicture(240, 120), {7, true, 85, 7}))
                               << beyond.arg("%1", "20 passes of its scans over the picture");
    QTest::newRow("metadata beyond 16 MiB")
        << file("metadata.jpg", test::withComments(jpeg, 257, 65533))
        << beyond.arg("%1", "16 MiB of comments and application data");
    // Data missing under a complete-looking structure: the decoder's word refuses it.
    QTest::newRow("cut in half, end appended")
        << file("half.jpg", test::cutWithEnd(jpeg, jpeg.size() / 2))
        << unreadable + "Corrupt JPEG data";
    QTest::newRow("frame taller than its data")
        << file("tall.jpg", test::declaringHeight(jpeg, 240))
        << unreadable + "Corrupt JPEG data: premature end of data segment";
    QTest::newRow("stray bytes between segments")
        << file("stray.jpg", jpeg.first(2) + "xx" + jpeg.sliced(2))
        << unreadable + "Corrupt JPEG data: stray bytes where a marker belongs";
    // Special files are refused without being opened, let alone read.
    const QString pipe = dir_.filePath("pipe.jpg");
    if (::mkfifo(QFile::encodeName(pipe).constData(), 0600) != 0) qFatal("cannot make a pipe");
    QTest::newRow("pipe") << pipe << unreadable + "it is a pipe, not a file";
    QTest::newRow("folder") << dir_.path() << unreadable + "it is a folder, not a file";
    QTest::newRow("truncated JPEG")
        << file("cut.jpg", jpeg.left(jpeg.size() / 2))
        << "The image (%1) could not be read: the file ends before the picture does";
    QTest::newRow("JPEG declaring 60000 x 60000")
        << file("huge.jpg", test::jpegDeclaring(60000, 60000)) << tooLarge.arg("%1", "2250000");
  }

  void refused() {
    QFETCH(QString, path);
    QFETCH(QString, message);
    const QByteArray before = QFileInfo(path).isFile() ? test::readFile(path) : QByteArray();
    const PictureLoadResult result = PictureLoader::load(path);
    QVERIFY(!result.accepted);
    QVERIFY2(result.message.startsWith(message.arg(path)), qPrintable(result.message));
    QCOMPARE(result.title, QStringLiteral("Invalid Image"));
    QVERIFY(result.picture.isNull());
    if (QFileInfo(path).isFile()) QCOMPARE(test::readFile(path), before);
  }

  // Another program cuts the picture short while it is imported: the import reads it whole
  // or refuses it, and never dies of it (a mapped file once ended the process with SIGBUS).
  void cutShortWhileRead() {
    const QString path = dir_.filePath(QStringLiteral("cut.bmp"));
    QByteArray bytes;
    {
      QBuffer buffer(&bytes);
      QVERIFY(buffer.open(QIODevice::WriteOnly) && testPicture(2880, 2760).save(&buffer, "BMP"));
    }
    for (int run = 0; run < 20; ++run) {
      QVERIFY(test::writeFile(path, bytes));
      bool cut = false;
      std::thread cutter([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(run * 2));
        cut = ::truncate(QFile::encodeName(path).constData(), bytes.size() / 3) == 0;
      });
      const PictureLoadResult result = PictureLoader::load(path);
      cutter.join();
      QVERIFY(cut);
      if (result.accepted)
        QCOMPARE(result.picture.size(), QSize(2880, 2760));
      else
        QVERIFY2(result.message.startsWith(QStringLiteral("The image (%1) ").arg(path)),
                 qPrintable(result.message));
    }
  }

  // Whole files are read byte for byte up to the limit, whatever size the file claimed
  // when it was opened; one byte over the limit is refused.
  void readAllWithinALimit_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("grownBy");
    QTest::addColumn<int>("limit");
    QTest::addColumn<bool>("read");
    const int mib = 1 << 20;
    QTest::newRow("empty") << 0 << 0 << 10 << true;
    QTest::newRow("at the limit") << 3 * mib + 5 << 0 << 3 * mib + 5 << true;
    QTest::newRow("one byte over") << 3 * mib + 6 << 0 << 3 * mib + 5 << false;
    QTest::newRow("grown after opening") << mib - 7 << 2 * mib + 3 << 4 * mib << true;
    QTest::newRow("grown past the limit") << 100 << 2 * mib << 2 * mib << false;
  }
  void readAllWithinALimit() {
    QFETCH(int, size);
    QFETCH(int, grownBy);
    QFETCH(int, limit);
    QFETCH(bool, read);
    QByteArray bytes(size + grownBy, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = char(i * 7 + i / 251);
    const QString path = file(QStringLiteral("whole.bin"), bytes.left(size));
    InputFile input;
    QVERIFY(input.open(path));
    if (grownBy > 0) {
      QFile grow(path);
      QVERIFY(grow.open(QIODevice::Append) && grow.write(bytes.mid(size)) == grownBy);
    }
    const std::optional<QByteArray> got = input.readAll(limit);
    QCOMPARE(got.has_value(), read);
    if (read)
      QVERIFY(*got == bytes);
    else
      QVERIFY(input.errorString().contains(QString::number(limit)));
  }

  // The limits leave room for every real picture: at them, a picture is read.
  void acceptedAtTheLimits_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QImage picture = test::detailedPicture(240, 120);
    const QByteArray jpeg = test::encodeJpeg(picture);
    const JpegStructure own = inspectJpeg(jpeg);
    QVERIFY(own.problem.isEmpty());
    QTest::newRow("1000 segments") << test::withComments(jpeg, kJpegMaxSegments - own.segments, 6);
    QTest::newRow("16 MiB of comments") << test::withComments(jpeg, 256, 65535 - 3);
    QTest::newRow("40 scans") << test::encodeJpeg(picture, {kJpegMaxScans, false, 85, 1, 1});
    QTest::newRow("20 passes, 4:4:4") << test::encodeJpeg(picture, {8, true, 85, 6});
    QTest::newRow("bytes after the end") << jpeg + QByteArray(5000, '\x55');
  }

  void acceptedAtTheLimits() {
    QFETCH(QByteArray, bytes);
    const PictureLoadResult result = PictureLoader::load(file("limit.jpg", bytes));
    QVERIFY2(result.accepted, qPrintable(result.message));
    QCOMPARE(result.picture.size(), QSize(240, 120));
  }

  // The loader decodes JPEGs itself, strictly; the pixels are those of Qt's own reader.
  void jpegPixelsAsQtReadsThem_data() {
    QTest::addColumn<QByteArray>("bytes");
    const QImage picture = test::detailedPicture(360, 240);
    QTest::newRow("baseline 4:2:0") << test::encodeJpeg(picture);
    QTest::newRow("baseline 4:4:4") << test::encodeJpeg(picture, {1, true, 95});
    QTest::newRow("progressive") << test::encodeJpeg(picture, {12, false, 70});
    QTest::newRow("grey") << test::encodedPicture(
        picture.convertToFormat(QImage::Format_Grayscale8), "JPG");
  }

  void jpegPixelsAsQtReadsThem() {
    QFETCH(QByteArray, bytes);
    const QString path = file("pixels.jpg", bytes);
    const PictureLoadResult result = PictureLoader::load(path);
    QVERIFY2(result.accepted, qPrintable(result.message));
    QImageReader reader(path);
    const QImage qt = reader.read().convertToFormat(QImage::Format_RGB32);
    QVERIFY(!qt.isNull());
    QCOMPARE(result.picture, qt);
  }
};

QTEST_GUILESS_MAIN(TestPictureLoader)
#include "test_pictureloader.moc"
