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

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    QCOMPARE(quadCountNote(30, 630), QStringLiteral("Map data: 30 Quads, picture: 630 Quads"));
    QVERIFY(quadCountNote(630, 630).isEmpty());
  }

  void imports_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("stopLine");  // 0: read to the end
    QTest::addColumn<int>("totalQuads");
    QTest::addColumn<QList<QList<int>>>("quads");  // Quads 0, 1, 2 afterwards
    const QList<int> v1 = valuesFor(1), v2 = valuesFor(2);
    QTest::newRow("rows placed by position, not by their number")
        << kHeader + row(7, v1) + row(3, v2) + "#\r\n"
        << 0 << 2 << QList<QList<int>>{v1, v2, kKept};
    QByteArray unfinished = kHeader + row(0, v1) + "1";
    QList<int> partRow;
    for (int i = 0; i < 20; ++i) {
      unfinished += "\t" + QByteArray::number(500 + i);  // no separator at the end
      partRow.append(500 + i);
    }
    QTest::newRow("file ending inside a row: values kept, row not counted")
        << unfinished << 0 << 1 << QList<QList<int>>{v1, partRow + QList<int>(12, 9)};
    // Fields are counted, not lines: the surplus number is taken as the next row's Quad
    // number, that row's own number becomes its first value, its last value opens a third
    // row and the closing "#" arrives as a value, where reading stops.
    QTest::newRow("extra number shifts later fields")
        << kHeader + row(0, v1).replace("\r\n", "99\t\r\n") + row(1, v2) + "#\r\n"
        << 11 << int(kTotalQuadsBefore)
        << QList<QList<int>>{v1, QList<int>{1} + v2.first(31), kKept};
  }

  void imports() {
    QFETCH(QByteArray, text);
    QFETCH(int, stopLine);
    QFETCH(int, totalQuads);
    QFETCH(QList<QList<int>>, quads);
    MapDocument doc;
    prepare(doc);
    const MapImportResult result = applyMapText(parseMapText(text), doc, "map.txt");
    QCOMPARE(result.ok(), stopLine == 0);
    if (stopLine)
      QVERIFY2(result.messageText.contains(QStringLiteral("line %1").arg(stopLine)),
               qPrintable(result.messageText));
    QCOMPARE(int(doc.TotalQuads), totalQuads);
    for (int quad = 0; quad < quads.size(); ++quad) QCOMPARE(quadValues(doc, quad), quads[quad]);
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
    QTest::newRow("NUL byte") << QByteArray("1\0002", 3) << "\"1\\x002\"";
    QTest::newRow("placeholder text") << QByteArray("%1%2") << "\"%1%2\"";
  }

  void refusedFieldStopsTheImport() {
    QFETCH(QByteArray, field);
    QFETCH(QString, shown);
    MapDocument doc;
    prepare(doc);
    QByteArray bad = row(1, valuesFor(2));
    bad.replace("\t202\t", "\t" + field + "\t");  // element of Sector 2, on line 10
    const QByteArray text = kHeader + row(0, valuesFor(1)) + bad + "#\r\n";
    const QString path = writeFile(QStringLiteral("bad.txt"), text);
    const MapImportResult result = GetFile(doc, path);
    QCOMPARE(result.status, MapImportResult::Status::Stopped);
    QCOMPARE(MapImportResult::messageTitle(), QStringLiteral("Map Data Import"));
    QCOMPARE(result.messageText,
             stopMessage(path, 10, shown + " is not a whole number from -32768 to 32767"));
    QCOMPARE(readAll(path), text);
    QCOMPARE(doc.TotalQuads, kTotalQuadsBefore);
    QCOMPARE(quadValues(doc, 0), valuesFor(1));
    // The values before the refused field are kept; it and everything after: untouched.
    QCOMPARE(quadValues(doc, 1), (QList<int>{200, 201} + kKept.mid(2)));
  }

  void rowsPastTheLastQuad_data() {
    QTest::addColumn<int>("rows");
    QTest::newRow("5001 rows fit") << 5001;
    QTest::newRow("5002 rows") << 5002;
  }

  void rowsPastTheLastQuad() {
    QFETCH(int, rows);
    QByteArray text = kHeader;
    const QByteArray values = row(0, QList<int>(kValuesPerRow, 4)).mid(2);
    for (int quad = 0; quad < rows; ++quad) text += QByteArray::number(quad) + '\t' + values;
    MapDocument doc;
    prepare(doc);
    const MapImportResult result = applyMapText(parseMapText(text + "#"), doc, "map.txt");
    const bool refused = rows > kQuadCapacity;
    QCOMPARE(result.ok(), !refused);
    QCOMPARE(doc.TotalQuads, refused ? kTotalQuadsBefore : qint16(5001));
    QCOMPARE(doc.value(5000, 15, Plane::Height), qint16(4));
    if (refused)
      QCOMPARE(result.messageText,
               stopMessage("map.txt", 9 + 5001,
                           "\"4\" would go past Quad 5000, the last Quad a map can hold"));
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

  void unreadableFileLeavesMapAlone() {
    MapDocument doc;
    prepare(doc);
    const QString missing = dir_.filePath(QStringLiteral("missing.txt"));
    for (const QString &path : {missing, dir_.path()}) {
      const MapImportResult result = GetFile(doc, path);
      QCOMPARE(result.status, MapImportResult::Status::Unreadable);
      QVERIFY(result.messageText.contains(QDir::toNativeSeparators(path)));
      QCOMPARE(doc.TotalQuads, kTotalQuadsBefore);
      QCOMPARE(quadValues(doc, 0), kKept);
    }
    QVERIFY(GetFile(doc, missing).messageText.contains(QStringLiteral("No such file")));
  }

  void headerQuadCounts() {
    const HeaderQuadCounts counts = readHeaderQuadCounts(
        "\xEF\xBB\xBF"
        "41\n \n72 X Max \n69 Y Max \n");
    QVERIFY(counts.ok);
    QCOMPARE(counts.XQuads, qint16(72));
    QCOMPARE(counts.YQuads, qint16(69));
    QCOMPARE(readHeaderQuadCounts("10\r\n \r\nab X Max \r\n6 Y Max \r\n").problemLine, 3);
    QCOMPARE(readHeaderQuadCounts("10\r\n \r\n99999 X Max \r\n3 Y Max").problemLine, 3);
  }
};

QTEST_GUILESS_MAIN(TestMapFilesReader)
#include "test_mapfiles_reader.moc"
