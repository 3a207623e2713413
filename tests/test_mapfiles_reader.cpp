// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MapDocument.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <limits>
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

// What the editor holds before each import: element 8 and height 9 in Quads 0 to 2.
const QList<int> kKept = QList<int>(16, 8) + QList<int>(16, 9);
constexpr qint16 kTotalQuadsBefore = 77;

void prepare(MapDocument &doc) {
  doc.TotalQuads = kTotalQuadsBefore;
  for (int quad = 0; quad < 3; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
      doc.setValue(quad, sector, Plane::Element, 8);
      doc.setValue(quad, sector, Plane::Height, 9);
    }
}

QList<int> quadValues(const MapDocument &doc, int quad) {
  QList<int> values;
  for (int column = 0; column < kValuesPerRow; ++column)
    values.append(doc.value(quad, column % kSectorsPerQuad,
                            column < kSectorsPerQuad ? Plane::Element : Plane::Height));
  return values;
}

QString stopMessage(const QString &path, int line, const QString &reason) {
  return QStringLiteral(
             "Reading the map data file \"%1\" stopped at line %2: %3. "
             "The values read before it were kept.")
      .arg(QDir::toNativeSeparators(path))
      .arg(line)
      .arg(reason);
}

}  // namespace

class TestMapFilesReader : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;

  QString writeFile(const QString &name, const QByteArray &bytes) {
    const QString path = dir_.filePath(name);
    return test::writeFile(path, bytes) ? path : QString();
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
    prepare(target);
    const MapImportResult result = GetFile(target, path);
    QVERIFY(result.ok());
    QCOMPARE(result.rowsRead, 30);
    QCOMPARE(target.TotalQuads, qint16(30));
    QCOMPARE(target.XQuads, qint16(0));  // the header's size is not taken over
    for (int quad = 0; quad < 32; ++quad) {
      const QList<int> written = quadValues(source, quad), read = quadValues(target, quad);
      for (int c = 0; c < kValuesPerRow; ++c)  // -1 in the file keeps what the editor holds
        QCOMPARE(read[c], written[c] != -1 ? written[c] : quad < 3 ? kKept[c] : -1);
    }
  }

  // Every import reads the file from disk and leaves it as it was.
  void imports_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("stopLine");  // 0: read to the end
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("totalQuads");
    QTest::addColumn<QMap<int, QList<int>>>("quads");  // Quad: its values afterwards
    const QList<int> v1 = valuesFor(1), v2 = valuesFor(2);
    QTest::newRow("rows placed by position, not by their number")
        << kHeader + row(7, v1) + row(3, v2) + "#\r\n"
        << 0 << QString() << 2 << QMap<int, QList<int>>{{0, v1}, {1, v2}, {2, kKept}};
    QByteArray unfinished = kHeader + row(0, v1) + "1";
    QList<int> partRow;
    for (int i = 0; i < 20; ++i) {
      unfinished += "\t" + QByteArray::number(500 + i);  // no separator at the end
      partRow.append(500 + i);
    }
    QTest::newRow("file ending inside a row: values kept, row not counted")
        << unfinished << 0 << QString() << 1
        << QMap<int, QList<int>>{{0, v1}, {1, partRow + QList<int>(12, 9)}};
    // Fields are counted, not lines: the surplus number is taken as the next row's Quad
    // number, that row's own number becomes its first value, its last value opens a third
    // row and the closing "#" arrives as a value, where reading stops.
    const QString notANumber = "%1 is not a whole number from -32768 to 32767";
    QTest::newRow("extra number shifts later fields")
        << kHeader + row(0, v1).replace("\r\n", "99\t\r\n") + row(1, v2) + "#\r\n"
        << 11 << notANumber.arg("\"#\"") << int(kTotalQuadsBefore)
        << QMap<int, QList<int>>{{0, v1}, {1, QList<int>{1} + v2.first(31)}, {2, kKept}};
    // A refused field in the element of Sector 2, on line 10: the values before it are
    // kept; it and everything after, untouched.
    const QString control =
        "the control character \"%1\" cannot be in a map text, so this "
        "is no map text";
    for (const auto &[name, field, reason] :
         {std::tuple{"above 16 bits", QByteArray("32768"), notANumber.arg("\"32768\"")},
          std::tuple{"longer than any 16-bit number", QByteArray("0000007"),
                     notANumber.arg("\"0000007\"")},
          std::tuple{"NUL byte", QByteArray("1\0002", 3), control.arg("\\x00")},
          std::tuple{"placeholder text", QByteArray("%1%2"), notANumber.arg("\"%1%2\"")}}) {
      QByteArray bad = row(1, v2);
      bad.replace("\t202\t", "\t" + field + "\t");
      QTest::newRow(name) << kHeader + row(0, v1) + bad + "#\r\n"
                          << 10 << reason << int(kTotalQuadsBefore)
                          << QMap<int, QList<int>>{{0, v1},
                                                   {1, QList<int>{200, 201} + kKept.mid(2)}};
    }
    // Bytes that no map text holds stop the reading wherever they are, the header included.
    QTest::newRow("binary file") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) + kHeader +
                                        row(0, v1)
                                 << 2 << control.arg("\\x1a") << int(kTotalQuadsBefore)
                                 << QMap<int, QList<int>>{{0, kKept}};
    QByteArray utf16("\xFF\xFE");
    for (char c : kHeader + row(0, v1)) utf16 += QByteArray(1, c) + '\0';
    QTest::newRow("UTF-16 text") << utf16 << 1
                                 << "the file is UTF-16 text; a map text has one byte per character"
                                 << int(kTotalQuadsBefore) << QMap<int, QList<int>>{{0, kKept}};
    QByteArray crOnly = kHeader + row(0, v1) + row(1, v2) + "#\r\n";
    crOnly.replace("\r\n", "\r");
    QTest::newRow("CR line ends") << crOnly << 0 << QString() << 2
                                  << QMap<int, QList<int>>{{0, v1}, {1, v2}};
    const QByteArray values = row(0, QList<int>(kValuesPerRow, 4)).mid(2);
    QByteArray rows = kHeader;
    for (int quad = 0; quad < kQuadCapacity; ++quad)
      rows += QByteArray::number(quad) + '\t' + values;
    const QMap<int, QList<int>> fours{{0, QList<int>(32, 4)}, {5000, QList<int>(32, 4)}};
    QTest::newRow("5001 rows fit") << rows + "#" << 0 << QString() << 5001 << fours;
    QTest::newRow("5002 rows") << rows + "5001\t" + values + "#" << 9 + 5001
                               << "\"4\" would go past Quad 5000, the last Quad a map can hold"
                               << int(kTotalQuadsBefore) << fours;
  }

  void imports() {
    QFETCH(QByteArray, text);
    QFETCH(int, stopLine);
    QFETCH(QString, reason);
    QFETCH(int, totalQuads);
    using QuadValues = QMap<int, QList<int>>;
    QFETCH(QuadValues, quads);
    MapDocument doc;
    prepare(doc);
    const QString path = writeFile(QStringLiteral("map.txt"), text);
    const MapImportResult result = GetFile(doc, path);
    if (stopLine == 0) {
      QVERIFY2(result.ok(), qPrintable(result.messageText));
    } else {
      QCOMPARE(result.status, MapImportResult::Status::Stopped);
      QCOMPARE(MapImportResult::messageTitle(), QStringLiteral("Map Data Import"));
      QCOMPARE(result.messageText, stopMessage(path, stopLine, reason));
    }
    QCOMPARE(test::readFile(path), text);
    QCOMPARE(int(doc.TotalQuads), totalQuads);
    for (auto it = quads.cbegin(); it != quads.cend(); ++it)
      QCOMPARE(quadValues(doc, it.key()), it.value());
  }

  void acceptedNumbers() {
    const MapTextContent content = parseMapText("& 0 32767 -32768 +5 -0 007 -01");
    QVERIFY(!content.problem);
    QCOMPARE(content.values, (std::vector<qint16>{32767, -32768, 5, 0, 7, -1}));
  }

  void hostileInputStaysBounded() {
    const QByteArray digits(5 * 1024 * 1024, '7');
    QVERIFY(!parseMapText(digits).markerFound);
    const MapTextContent longField = parseMapText("&\n0\n" + digits);
    QVERIFY(longField.problem);
    QVERIFY(longField.problem->fieldCut);
    QVERIFY(longField.problem->shownField().size() < 50);
    QVERIFY(longField.values.empty());
    // A row spread over megabytes of separators is still one row.
    const MapTextContent spread =
        parseMapText("&\n0" + QByteArray(4 * 1024 * 1024, '\t') + row(0, valuesFor(1)).mid(2));
    QCOMPARE(spread.completeRows(), 1);
    QCOMPARE(int(spread.values.back()), valuesFor(1).back());
  }

  // A path that names no regular file is refused before it is read (a device would never
  // end); pipes and folders: test_pictureloader (refused), which shares the check.
  void unreadableFileLeavesMapAlone_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << dir_.filePath(QStringLiteral("missing.txt"))
                             << "No such file or directory";
    QTest::newRow("endless device") << "/dev/zero"
                                    << "it is a device, not a file";
  }

  void unreadableFileLeavesMapAlone() {
    QFETCH(QString, path);
    QFETCH(QString, reason);
    MapDocument doc;
    prepare(doc);
    const MapImportResult result = GetFile(doc, path);
    QCOMPARE(result.status, MapImportResult::Status::Unreadable);
    QCOMPARE(result.messageText, QStringLiteral("Map data file \"%1\" could not be read: %2")
                                     .arg(QDir::toNativeSeparators(path), reason));
    QCOMPARE(doc.TotalQuads, kTotalQuadsBefore);
    QCOMPARE(quadValues(doc, 0), kKept);
  }

  // Line numbers are 64-bit: a text of more than 2^31 line ends still names the right line.
  // The text is fed in pieces of one buffer, so nothing of its size is ever held.
  void lineNumbersBeyond32Bits() {
    MapTextParser parser;
    QVERIFY(parser.feed("10\n&\n0\t"));
    const QByteArray lineEnds(64 * 1024 * 1024, '\n');
    const qint64 pieces = (qint64(1) << 31) / lineEnds.size() + 1;
    for (qint64 i = 0; i < pieces; ++i) QVERIFY(parser.feed(lineEnds));
    QVERIFY(!parser.feed("7\tx\t"));
    const qint64 line = 3 + pieces * lineEnds.size();
    QVERIFY(line > std::numeric_limits<qint32>::max());
    const MapTextContent content = parser.takeContent();
    QCOMPARE(content.values, std::vector<qint16>{7});
    QCOMPARE(content.valueLine(0), line);
    QCOMPARE(content.problem->line, line);
    MapDocument doc;
    QVERIFY(applyMapText(content, doc, QStringLiteral("long.txt"))
                .messageText.contains(QStringLiteral("stopped at line %1:").arg(line)));
  }

  void headerLinesEndAsEveryLineDoes() {
    const QByteArray header = "10\r \r72 X Max \r69 Y Max \r";
    for (const QByteArray &text :
         {header, QByteArray(header).replace('\r', '\n'), QByteArray(header).replace("\r", "\r\n"),
          QByteArray("\xEF\xBB\xBF"
                     "41\n \n72 X Max \n69 Y Max \n")}) {  // a byte order mark, a Tolle text
      const HeaderQuadCounts counts = readHeaderQuadCounts(text);
      QVERIFY2(counts.ok, qPrintable(counts.problem));
      QCOMPARE(counts.XQuads, qint16(72));
      QCOMPARE(counts.YQuads, qint16(69));
    }
    QCOMPARE(readHeaderQuadCounts("10\r\n \r\nab X Max \r\n6 Y Max \r\n").problemLine, 3);
    QCOMPARE(readHeaderQuadCounts("10\r\n \r\n99999 X Max \r\n3 Y Max").problemLine, 3);
    QCOMPARE(textLine("a\r\nb\rc\nd", 3), QByteArrayView("c"));
    QCOMPARE(textLine("a\r\nb\rc\nd", 4), QByteArrayView("d"));
    QVERIFY(textLine("a\n", 3).isEmpty());
    const HeaderQuadCounts utf16 = readHeaderQuadCounts(
        "\xFF\xFE"
        "1\0"
        "0\0");
    QVERIFY(!utf16.ok && utf16.notText);
    QVERIFY(utf16.problem.contains(QStringLiteral("UTF-16 text")));
  }
};

QTEST_GUILESS_MAIN(TestMapFilesReader)
#include "test_mapfiles_reader.moc"
