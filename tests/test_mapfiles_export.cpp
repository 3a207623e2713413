#include "app/MapDocument.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureExport.h"

#include <QtTest>

using namespace vmm;

namespace {

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeBytes(const QString &path, const QByteArray &bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The failure message reads "Error: <number>. <description>" on one line.
void verifyFailureMessage(const FileWriteResult &result) {
  QVERIFY(!result.ok);
  const QString expectedStart = QStringLiteral("Error: %1. ").arg(result.errorCode);
  QVERIFY2(result.messageText().startsWith(expectedStart), qPrintable(result.messageText()));
  QVERIFY(!result.messageText().contains(QLatin1Char('\n')));
  QCOMPARE(FileWriteResult::messageTitle(), QStringLiteral("AppendToTextFile"));
}

const QByteArray kEmptyVargaMap =
    "10\r\n \r\n3 X Max \r\n3 Y Max \r\n0\r\n0\r\n"
    "Id\tE0\tE1\tE2\tE3\tE4\tE5\tE6\tE7\tE8\tE9\tE10\tE11\tE12\tE13\tE14\tE15\tElev\r\n&\r\n#\r\n";

}  // namespace

class TestMapFilesExport : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  MapDocument doc_;

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    doc_.XQuads = 3;
    doc_.YQuads = 3;
  }

  void exportReplacesAnEarlierFileCompletely() {
    const QString path = dir_.filePath(QStringLiteral("replace.txt"));
    QVERIFY(writeBytes(path, QByteArray(4000, 'x')));
    const FileWriteResult result = SaveAsVargaTXT(doc_, path);
    QVERIFY(result.ok);
    QCOMPARE(readAll(path), kEmptyVargaMap);
    QVERIFY(SaveAsTolleTXT(doc_, path).ok);
    QCOMPARE(readAll(path), QByteArray("41") + kEmptyVargaMap.mid(2));
  }

  void failedExportKeepsTheEarlierFile() {
    // The replacement needs a temporary name a few characters longer than the target's;
    // a target name at the file system's limit makes the replacement fail even for root.
    const QString path = dir_.filePath(QString(250, QLatin1Char('m')));
    const QByteArray earlier("earlier map\r\n#\r\n");
    QVERIFY(writeBytes(path, earlier));
    verifyFailureMessage(SaveAsVargaTXT(doc_, path));
    QCOMPARE(readAll(path), earlier);
    QVERIFY(!saveSurfaceBitmap(QImage(120, 120, QImage::Format_RGB32), path).ok);
    QCOMPARE(readAll(path), earlier);

    const QString missing = dir_.filePath(QStringLiteral("no such folder/map.txt"));
    verifyFailureMessage(SaveAsTolleTXT(doc_, missing));
    QVERIFY(!saveSurfaceBitmap(QImage(120, 120, QImage::Format_RGB32), missing).ok);
    QVERIFY(!QFileInfo::exists(missing));
  }

  void bitmapReadsBackPixelEqual() {
    QImage surface(240, 120, QImage::Format_RGB32);
    for (int y = 0; y < surface.height(); ++y)
      for (int x = 0; x < surface.width(); ++x)
        surface.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 13) & 0xFF, (x ^ y) & 0xFF));

    const QString path = dir_.filePath(QStringLiteral("terrain"));  // no extension typed
    QVERIFY(writeBytes(path, QByteArray(100000, 'z')));             // an earlier file is replaced
    const FileWriteResult result = saveSurfaceBitmap(surface, path);
    QVERIFY2(result.ok, qPrintable(result.errorText));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".bmp")));

    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));  // bits per pixel
    QImage back;
    QVERIFY(back.loadFromData(bytes, "BMP"));
    QCOMPARE(back.size(), surface.size());
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32), surface);
  }
};

QTEST_GUILESS_MAIN(TestMapFilesExport)
#include "test_mapfiles_export.moc"
