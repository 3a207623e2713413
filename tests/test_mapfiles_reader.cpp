#include "app/MapDocument.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"

#include <QtTest>

#include <random>

using namespace vmm;

namespace {

const QByteArray kHeader =
    "10\r\n \r\n6 X Max \r\n5 Y Max \r\n0\r\n0\r\n"
    "Id\tE0\tE1\tE2\tE3\tE4\tE5\tE6\tE7\tE8\tE9\tE10\tE11\tE12\tE13\tE14\tE15\tElev\r\n&\r\n";

// A Quad row: its number, then the given values, each followed by a tab.
QByteArray row(int quad, const QList<int> &values) {
  QByteArray text = QByteArray::number(quad) + '\t';
  for (int v : values) text += QByteArray::number(v) + '\t';
  return text + "\r\n";
}

// 32 distinct values for row `seed`: elements seed*100 + 0..15, heights seed*100 + 16..31.
QList<int> valuesFor(int seed) {
  QList<int> values;
  for (int i = 0; i < kValuesPerRow; ++i) values.append(seed * 100 + i);
  return values;
}

qint16 at(const MapDocument &doc, int quad, int column) {
  return doc.value(quad, column % kSectorsPerQuad,
                   column < kSectorsPerQuad ? Plane::Element : Plane::Height);
}

void fill(MapDocument &doc, int quads, qint16 element, qint16 height) {
  for (int quad = 0; quad < quads; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
      doc.setValue(quad, sector, Plane::Element, element);
      doc.setValue(quad, sector, Plane::Height, height);
    }
}

void compareQuad(const MapDocument &doc, int quad, const QList<int> &expected) {
  for (int column = 0; column < kValuesPerRow; ++column)
    QCOMPARE(int(at(doc, quad, column)), expected[column]);
}

MapImportResult importText(MapDocument &doc, const QByteArray &text) {
  return applyMapText(parseMapText(text), doc, QStringLiteral("map.txt"));
}

}  // namespace

class TestMapFilesReader : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString writeFile(const QString &name, const QByteArray &bytes) {
    const QString path = dir_.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) return {};
    return path;
  }

 private slots:
  void roundTripRestoresAssignedValues() {
    MapDocument source;
    source.XQuads = 6;
    source.YQuads = 5;
    source.TotalQuads = 30;
    std::mt19937 random(4);
    for (int quad = 0; quad < 30; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
        source.setValue(quad, sector, Plane::Element, qint16(int(random() % 353) - 1));
        source.setValue(quad, sector, Plane::Height, qint16(int(random() % 102) - 1));
      }
    const QString path = writeFile("round.txt", vargaMapText(source));
    QVERIFY(!path.isEmpty());

    MapDocument target;
    target.TotalQuads = 99;
    fill(target, 40, 200, 50);
    const MapImportResult result = GetFile(target, path);
    QVERIFY(result.ok());
    QCOMPARE(result.rowsRead, 30);
    QCOMPARE(target.TotalQuads, qint16(30));
    QCOMPARE(target.XQuads, qint16(0));  // the header's size is not taken over
    for (int quad = 0; quad < 40; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
        const qint16 element = quad < 30 ? source.value(quad, sector, Plane::Element) : -1;
        const qint16 height = quad < 30 ? source.value(quad, sector, Plane::Height) : -1;
        QCOMPARE(target.value(quad, sector, Plane::Element), element == -1 ? qint16(200) : element);
        QCOMPARE(target.value(quad, sector, Plane::Height), height == -1 ? qint16(50) : height);
      }
  }

  void rowsArePlacedByPosition() {
    MapDocument doc;
    doc.TotalQuads = 630;
    fill(doc, 10, 5, 6);
    const MapImportResult result =
        importText(doc, kHeader + row(7, valuesFor(1)) + row(3, valuesFor(2)) + "#\r\n");
    QVERIFY(result.ok());
    QCOMPARE(doc.TotalQuads, qint16(2));  // fewer rows than the picture's Quads
    compareQuad(doc, 0, valuesFor(1));
    compareQuad(doc, 1, valuesFor(2));
    for (int quad = 2; quad < 10; ++quad)
      compareQuad(doc, quad, QList<int>(16, 5) + QList<int>(16, 6));
    QCOMPARE(quadCountNote(2, 630), QStringLiteral("Map data: 2 Quads, picture: 630 Quads"));
    QVERIFY(quadCountNote(630, 630).isEmpty());
  }

  void unassignedInFileKeepsEditorValue() {
    MapDocument doc;
    fill(doc, 1, 40, 3);
    QList<int> values = valuesFor(1);
    values[2] = -1;                    // element of Sector 2
    values[kSectorsPerQuad + 9] = -1;  // height of Sector 9
    QVERIFY(importText(doc, kHeader + row(0, values) + "#\r\n").ok());
    values[2] = 40;
    values[kSectorsPerQuad + 9] = 3;
    compareQuad(doc, 0, values);
  }

  void extraNumberShiftsLaterFields() {
    // Fields are counted, not lines: the surplus number is taken as the next row's
    // Quad number, that row's own Quad number becomes its first value, its last value
    // opens a third row and the closing "#" arrives as a value, where reading stops.
    MapDocument doc;
    doc.TotalQuads = 5;
    const QByteArray first = row(0, valuesFor(1)).replace("\r\n", "99\t\r\n");
    const MapImportResult result =
        importText(doc, kHeader + first + row(1, valuesFor(2)) + "#\r\n");
    QCOMPARE(result.status, MapImportResult::Status::Stopped);
    QVERIFY(result.messageText.contains(QStringLiteral("line 11")));
    QVERIFY(result.messageText.contains(QStringLiteral("\"#\"")));
    QCOMPARE(doc.TotalQuads, qint16(5));
    compareQuad(doc, 0, valuesFor(1));
    compareQuad(doc, 1, QList<int>{1} + valuesFor(2).first(31));
  }

  void fileWithoutMarkerChangesNothing() {
    MapDocument doc;
    doc.TotalQuads = 12;
    fill(doc, 2, 8, 9);
    const MapImportResult result = importText(doc, "10\r\n \r\n" + row(0, valuesFor(1)) + "#\r\n");
    QVERIFY(result.ok());
    QCOMPARE(doc.TotalQuads, qint16(0));
    compareQuad(doc, 0, QList<int>(16, 8) + QList<int>(16, 9));
  }

  void headerMayHoldAnythingButTheMarker() {
    MapDocument doc;
    const QByteArray garbage("\x00\xff\x01 abc,,-99999 #\r\n\x80\x81", 22);
    QVERIFY(importText(doc, garbage + "\r\n&\r\n" + row(0, valuesFor(3)) + "#").ok());
    QCOMPARE(doc.TotalQuads, qint16(1));
    compareQuad(doc, 0, valuesFor(3));
  }

  void fileEndingInsideARow() {
    MapDocument doc;
    doc.TotalQuads = 9;
    QByteArray text = kHeader + row(0, valuesFor(1)) + "1";
    for (int i = 0; i < 20; ++i)
      text += "\t" + QByteArray::number(500 + i);  // no separator at the end
    QVERIFY(importText(doc, text).ok());
    QCOMPARE(doc.TotalQuads, qint16(1));  // the unfinished row is not counted
    compareQuad(doc, 0, valuesFor(1));
    for (int column = 0; column < kValuesPerRow; ++column)
      QCOMPARE(int(at(doc, 1, column)), column < 20 ? 500 + column : -1);
  }

  void lineEndsAndByteOrderMark_data() {
    QTest::addColumn<QByteArray>("text");
    const QByteArray crlf = kHeader + row(4, valuesFor(1)) + row(5, valuesFor(2)) + "#\r\n";
    QByteArray lf = crlf;
    lf.replace("\r\n", "\n");
    QByteArray cr = crlf;
    cr.replace("\r\n", "\r");
    QTest::newRow("CR LF") << crlf;
    QTest::newRow("LF") << lf;
    QTest::newRow("CR") << cr;
    QTest::newRow("BOM, CR LF") << QByteArray("\xEF\xBB\xBF") + crlf;
    QTest::newRow("BOM, LF") << QByteArray("\xEF\xBB\xBF") + lf;
    QTest::newRow("commas and runs") << QByteArray(crlf).replace("\t", " ,\t ");
  }
  void lineEndsAndByteOrderMark() {
    QFETCH(QByteArray, text);
    const MapTextContent content = parseMapText(text);
    QVERIFY(!content.problem);
    QCOMPARE(content.markerLine, 8);
    QCOMPARE(content.completeRows(), 2);
    QCOMPARE(content.rowLines, (std::vector<int>{9, 10}));
    QCOMPARE(content.valueLines[MapTextContent::indexOf(1, 15, Plane::Height)], 10);
    for (int i = 0; i < kValuesPerRow; ++i) {
      QCOMPARE(int(content.values[i]), valuesFor(1)[i]);
      QCOMPARE(int(content.values[kValuesPerRow + i]), valuesFor(2)[i]);
    }
  }

  void markerRightAfterByteOrderMarkAndTwice() {
    const MapTextContent afterMark = parseMapText("\xEF\xBB\xBF&\n" + row(0, valuesFor(1)));
    QVERIFY(afterMark.markerFound);
    QCOMPARE(afterMark.completeRows(), 1);
    // A second "&" where a Quad number stands restarts the row: the next field is skipped too.
    const MapTextContent twice = parseMapText("&\r\n&\r\n" + row(0, valuesFor(1)) + "#\r\n");
    QVERIFY(!twice.problem);
    QCOMPARE(twice.completeRows(), 1);
    QCOMPARE(int(twice.values[0]), valuesFor(1)[0]);
  }

  void acceptedNumbers() {
    const MapTextContent content = parseMapText("& 0 32767 -32768 +5 -0 007 -01");
    QVERIFY(!content.problem);
    QCOMPARE(content.values, (std::vector<qint16>{32767, -32768, 5, 0, 7, -1}));
  }

  void refusedFieldStopsTheImport_data() {
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("shown");
    QTest::newRow("word") << QByteArray("abc") << "\"abc\"";
    QTest::newRow("above 16 bits") << QByteArray("32768") << "\"32768\"";
    QTest::newRow("below 16 bits") << QByteArray("-32769") << "\"-32769\"";
    QTest::newRow("huge") << QByteArray("123456789012345678901234567890") << "\"1234567890";
    QTest::newRow("fraction") << QByteArray("1.5") << "\"1.5\"";
    QTest::newRow("digits then letter") << QByteArray("12a") << "\"12a\"";
    QTest::newRow("sign only") << QByteArray("-") << "\"-\"";
    QTest::newRow("NUL byte") << QByteArray("1\0002", 3) << "\"1\\x002\"";
    QTest::newRow("high byte") << QByteArray("\xff") << "\"\\xff\"";
    QTest::newRow("marker as value") << QByteArray("&") << "\"&\"";
    QTest::newRow("placeholder text") << QByteArray("%1%2") << "\"%1%2\"";
  }
  void refusedFieldStopsTheImport() {
    QFETCH(QByteArray, field);
    QFETCH(QString, shown);
    MapDocument doc;
    doc.TotalQuads = 77;
    fill(doc, 3, 1, 2);
    QList<int> second = valuesFor(2);
    QByteArray bad = row(1, second);
    bad.replace("\t202\t", "\t" + field + "\t");  // element of Sector 2, on line 10
    const QString path =
        writeFile(QStringLiteral("bad.txt"), kHeader + row(0, valuesFor(1)) + bad + "#\r\n");
    const MapImportResult result = GetFile(doc, path);
    QCOMPARE(result.status, MapImportResult::Status::Stopped);
    QCOMPARE(MapImportResult::messageTitle(), QStringLiteral("Map Data Import"));
    QVERIFY2(result.messageText.contains(QStringLiteral("bad.txt")),
             qPrintable(result.messageText));
    QVERIFY2(result.messageText.contains(QStringLiteral("line 10")),
             qPrintable(result.messageText));
    QVERIFY2(result.messageText.contains(shown), qPrintable(result.messageText));
    QCOMPARE(doc.TotalQuads, qint16(77));
    compareQuad(doc, 0, valuesFor(1));
    QCOMPARE(int(at(doc, 1, 0)), 200);
    QCOMPARE(int(at(doc, 1, 1)), 201);
    QCOMPARE(int(at(doc, 1, 2)), 1);  // the refused field and everything after it: untouched
    QCOMPARE(int(at(doc, 1, 20)), 2);
  }

  void rowsPastTheLastQuad_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("refused");
    QTest::newRow("5001 rows fit") << 5001 << false;
    QTest::newRow("5002 rows") << 5002 << true;
    QTest::newRow("6000 rows") << 6000 << true;
  }
  void rowsPastTheLastQuad() {
    QFETCH(int, rows);
    QFETCH(bool, refused);
    QByteArray text = kHeader;
    const QByteArray values = row(0, QList<int>(kValuesPerRow, 4)).mid(2);
    for (int quad = 0; quad < rows; ++quad) text += QByteArray::number(quad) + '\t' + values;
    text += "#\r\n";
    MapDocument doc;
    doc.TotalQuads = 630;
    const MapImportResult result = importText(doc, text);
    QCOMPARE(result.ok(), !refused);
    QCOMPARE(doc.TotalQuads, qint16(refused ? 630 : 5001));
    QCOMPARE(doc.value(5000, 15, Plane::Height), qint16(4));
    if (refused) {
      QVERIFY2(result.messageText.contains(QStringLiteral("line %1").arg(9 + 5001)),
               qPrintable(result.messageText));
      QVERIFY(result.messageText.contains(QStringLiteral("Quad 5000")));
    }
  }

  void piecewiseInputReadsLikeWholeInput() {
    const QByteArray text = "\xEF\xBB\xBF" + kHeader + row(0, valuesFor(1)) + "1 2\n3 x4\n";
    const MapTextContent whole = parseMapText(text);
    QVERIFY(whole.problem);
    for (int piece : {1, 2, 3, 7, 64}) {
      MapTextParser parser;
      for (qsizetype at = 0; at < text.size(); at += piece)
        parser.feed(QByteArrayView(text).sliced(at, std::min<qsizetype>(piece, text.size() - at)));
      parser.finish();
      const MapTextContent &content = parser.content();
      QCOMPARE(content.values, whole.values);
      QCOMPARE(content.valueLines, whole.valueLines);
      QCOMPARE(content.rowLines, whole.rowLines);
      QVERIFY(content.problem);
      QCOMPARE(content.problem->line, 11);
      QCOMPARE(content.problem->field, QByteArray("x4"));
    }
  }

  void hostileInputStaysBounded() {
    const QByteArray digits(5 * 1024 * 1024, '7');
    QVERIFY(!parseMapText(digits).markerFound);
    const MapTextContent longField = parseMapText("&\n0\n" + digits);
    QVERIFY(longField.problem);
    QVERIFY(longField.problem->fieldCut);
    QVERIFY(longField.problem->shownField().size() < 50);
    QVERIFY(longField.values.empty());

    std::mt19937 random(10);
    QByteArray garbage(1024 * 1024, Qt::Uninitialized);
    for (char &c : garbage) c = static_cast<char>(random() % 8 == 0 ? '&' : random() % 256);
    const MapTextContent content = parseMapText(garbage);
    QCOMPARE(content.valueLines.size(), content.values.size());
    QVERIFY(content.values.size() <= std::size_t(kQuadCapacity) * kValuesPerRow);
  }

  void unreadableFileLeavesMapAlone() {
    MapDocument doc;
    doc.TotalQuads = 30;
    fill(doc, 1, 3, 4);
    const QString missing = dir_.filePath(QStringLiteral("missing.txt"));
    for (const QString &path : {missing, dir_.path()}) {
      const MapImportResult result = GetFile(doc, path);
      QCOMPARE(result.status, MapImportResult::Status::Unreadable);
      QVERIFY(result.messageText.contains(QDir::toNativeSeparators(path)));
      QCOMPARE(doc.TotalQuads, qint16(30));
      compareQuad(doc, 0, QList<int>(16, 3) + QList<int>(16, 4));
    }
    QVERIFY(GetFile(doc, missing).messageText.contains(QStringLiteral("No such file")));
  }

  void headerQuadCounts() {
    const HeaderQuadCounts counts = readHeaderQuadCounts("10\r\n \r\n72 X Max \r\n69 Y Max \r\n0");
    QVERIFY(counts.ok);
    QCOMPARE(counts.XQuads, qint16(72));
    QCOMPARE(counts.YQuads, qint16(69));
    const HeaderQuadCounts lf = readHeaderQuadCounts(
        "\xEF\xBB\xBF"
        "41\n \n3 X Max \n6 Y Max \n");
    QVERIFY(lf.ok);
    QCOMPARE(lf.XQuads, qint16(3));
    QCOMPARE(lf.YQuads, qint16(6));
    QCOMPARE(readHeaderQuadCounts("10\r\n \r\nab X Max \r\n6 Y Max \r\n").problemLine, 3);
    QCOMPARE(readHeaderQuadCounts("10\r\n \r\n3 X Max \r\n").problemLine, 4);
    QCOMPARE(readHeaderQuadCounts("10\r\n \r\n99999 X Max \r\n3 Y Max").problemLine, 3);
  }
};

QTEST_GUILESS_MAIN(TestMapFilesReader)
#include "test_mapfiles_reader.moc"
