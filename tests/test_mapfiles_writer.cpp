// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MapDocument.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureExport.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace vmm;

namespace {

// One Quad row as the format describes it: every number followed by a tab, then CR LF.
QByteArray row(const QList<int> &numbers) {
  QByteArray text;
  for (int n : numbers) text += QByteArray::number(n) + '\t';
  return text + "\r\n";
}

QList<int> repeated(int count, int value) {
  return QList<int>(count, value);
}

const QByteArray kColumnHeader =
    "Id\tE0\tE1\tE2\tE3\tE4\tE5\tE6\tE7\tE8\tE9\tE10\tE11\tE12\tE13\tE14\tE15\tElev";

QByteArray header(const QByteArray &first, int xQuads, int yQuads) {
  return first + "\r\n \r\n" + QByteArray::number(xQuads) + " X Max \r\n" +
         QByteArray::number(yQuads) + " Y Max \r\n0\r\n0\r\n" + kColumnHeader + "\r\n&\r\n";
}

QList<QByteArray> linesOf(const QByteArray &text) {
  QList<QByteArray> lines = text.split('\n');
  if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
  return lines;
}

}  // namespace

class TestMapFilesWriter : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

 private slots:
  void unpaintedVargaRows() {
    MapDocument doc;
    doc.XQuads = 6;
    doc.YQuads = 3;
    doc.TotalQuads = 18;
    QByteArray rows;
    for (int quad = 0; quad < 18; ++quad) rows += row(QList<int>{quad} + repeated(32, -1));
    QCOMPARE(vargaMapText(doc), header("10", 6, 3) + rows + "#\r\n");
  }

  void paintedVargaRowsUpToTheLastQuad() {
    MapDocument doc;
    doc.TotalQuads = kQuadCapacity;
    for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
      if (sector < 8) doc.setValue(3, sector, Plane::Element, 12);
      doc.setValue(3, sector, Plane::Height, 0);
    }
    doc.setValue(5000, 0, Plane::Element, -32768);
    doc.setValue(5000, 15, Plane::Element, 32767);
    doc.setValue(5000, 7, Plane::Height, 100);
    const QList<QByteArray> lines = linesOf(vargaMapText(doc));
    QCOMPARE(lines[8 + 3] + '\n',
             row(QList<int>{3} + repeated(8, 12) + repeated(8, -1) + repeated(16, 0)));

    QList<int> last = QList<int>{5000} + repeated(32, -1);
    last[1] = -32768;
    last[16] = 32767;
    last[17 + 7] = 100;
    QCOMPARE(lines[8 + 5000] + '\n', row(last));
    QCOMPARE(lines.size(), 8 + 5001 + 1);
  }

  // Every 16-bit value, each number width and sign, written and read back unchanged.
  void everyValueReadsBackAsWritten() {
    MapDocument doc;
    doc.TotalQuads = 65536 / 32;
    std::vector<qint16> written;
    for (int quad = 0, value = -32768; quad < doc.TotalQuads; ++quad)
      for (const Plane plane : {Plane::Element, Plane::Height})
        for (int sector = 0; sector < kSectorsPerQuad; ++sector, ++value) {
          doc.setValue(quad, sector, plane, qint16(value));
          written.push_back(qint16(value));
        }
    const MapTextContent content = parseMapText(vargaMapText(doc));
    QVERIFY(!content.problem);
    QVERIFY(content.values == written);
  }

  void tolleRows() {
    MapDocument doc;
    doc.XQuads = 3;
    doc.YQuads = 3;
    doc.TotalQuads = 3;
    doc.setValue(1, 2, Plane::Element, 7);
    doc.setValue(1, 0, Plane::Height, 32);
    for (int sector = 0; sector < kSectorsPerQuad - 1; ++sector)
      doc.setValue(2, sector, Plane::Height, 0);
    const QByteArray unpainted = row(QList<int>{0} + repeated(17, -1));  // (-16) / 16
    QList<int> quad1 = QList<int>{1} + repeated(16, -1);
    quad1[3] = 7;
    quad1.append(1);  // (32 - 15) / 16
    const QByteArray quad2 = row(QList<int>{2} + repeated(16, -1) + QList<int>{0});  // -1 / 16
    QCOMPARE(tolleMapText(doc), header("41", 3, 3) + unpainted + row(quad1) + quad2 + "#\r\n");
  }

  // Refused exports are in test_failing_disks.
  void exportsReplaceAnEarlierFileCompletely() {
    MapDocument doc;
    doc.XQuads = 3;
    doc.YQuads = 3;
    doc.setValue(0, 4, Plane::Element, 9);
    const QString path = dir_.filePath(QStringLiteral("replace.txt"));
    QVERIFY(test::writeFile(path, QByteArray(400000, 'x')));
    QVERIFY(SaveAsVargaTXT(doc, path).ok);
    QCOMPARE(test::readFile(path), vargaMapText(doc));
    QVERIFY(SaveAsTolleTXT(doc, path).ok);
    QCOMPARE(test::readFile(path), tolleMapText(doc));
  }

  void bitmapReadsBackPixelEqual() {
    QImage surface(240, 120, QImage::Format_RGB32);
    for (int y = 0; y < surface.height(); ++y)
      for (int x = 0; x < surface.width(); ++x)
        surface.setPixel(x, y, qRgb((x * 7) & 0xFF, (y * 13) & 0xFF, (x ^ y) & 0xFF));
    const QString path = dir_.filePath(QStringLiteral("terrain"));  // no extension typed
    QVERIFY(test::writeFile(path, QByteArray(400000, 'z')));        // an earlier file is replaced
    const FileWriteResult result = saveSurfaceBitmap(surface, path);
    QVERIFY2(result.ok, qPrintable(result.errorText));
    QVERIFY(!QFileInfo::exists(path + QStringLiteral(".bmp")));
    const QByteArray bytes = test::readFile(path);
    QVERIFY(bytes.startsWith("BM"));
    QCOMPARE(qFromLittleEndian<quint16>(bytes.constData() + 28), quint16(24));  // bits per pixel
    QImage back;
    QVERIFY(back.loadFromData(bytes, "BMP"));
    QCOMPARE(back.convertToFormat(QImage::Format_RGB32), surface);
  }
};

QTEST_GUILESS_MAIN(TestMapFilesWriter)
#include "test_mapfiles_writer.moc"
