// SPDX-License-Identifier: GPL-3.0-or-later
// The counts behind the Legend, the problems behind the Problems list and check, and
// the recent elements: all without a window.
#include "catalogue/CatalogueDatabase.h"
#include "files/SettingsFile.h"
#include "mapfiles/PictureLoader.h"
#include "session/EditorSession.h"
#include "session/MapProblems.h"
#include "session/MapStatistics.h"
#include "session/RecentElements.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <random>

using namespace vmm;

namespace {

// The counts worked out the slow way, straight from the array.
std::map<qint16, int> scan(const MapDocument &doc, Plane plane) {
  std::map<qint16, int> counts;
  for (int quad = 0; quad < std::max<int>(0, doc.TotalQuads); ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      ++counts[doc.value(quad, sector, plane)];
  return counts;
}

// Compares every count of both planes with a scan; empty when they agree.
QString differences(const MapStatistics &statistics, const MapDocument &doc) {
  for (const Plane plane : {Plane::Element, Plane::Height}) {
    const std::map<qint16, int> expected = scan(doc, plane);
    std::vector<qint16> present;
    for (const auto &[value, count] : expected) {
      if (value != kUnassigned) present.push_back(value);
      if (statistics.count(plane, value) != count)
        return QStringLiteral("plane %1 value %2: %3 counted, %4 on the map")
            .arg(int(plane))
            .arg(value)
            .arg(statistics.count(plane, value))
            .arg(count);
    }
    if (statistics.presentValues(plane) != present) return QStringLiteral("other values present");
  }
  if (statistics.sectors() != std::max<int>(0, doc.TotalQuads) * kSectorsPerQuad)
    return QStringLiteral("wrong Sector total");
  return {};
}

// An accepted picture of xQuads x yQuads.
PictureLoadResult pictureOf(int xQuads, int yQuads) {
  PictureLoadResult picture;
  picture.accepted = true;
  picture.picture = QImage(xQuads * 40, yQuads * 40, QImage::Format_RGB32);
  picture.picture.fill(Qt::darkGreen);
  picture.xQuads = xQuads;
  picture.yQuads = yQuads;
  picture.totalQuads = xQuads * yQuads;
  return picture;
}

// A session with the built-in catalogue and a fresh 6 x 3 Quad map.
std::unique_ptr<EditorSession> sessionWithMap() {
  auto session = std::make_unique<EditorSession>();
  session->useCatalogue(CatalogueDatabase());
  session->startMap(pictureOf(6, 3));
  return session;
}

}  // namespace

class TestMapStatistics : public QObject {
  Q_OBJECT

 private slots:
  // Single Sector writes, whatever the edit: incrementalCountsMatchARecount; a map data
  // import and its undo: test_mapcontents (legendCountsFollowEveryEdit). Here the edits
  // that go past both: undo and redo of a stroke, and a new picture.
  void countsFollowEveryEdit() {
    auto session = sessionWithMap();
    MapDocument &doc = session->document();
    const MapStatistics &statistics = session->statistics();
    QCOMPARE(statistics.unassigned(Plane::Element), 288);
    doc.setValue(0, 0, Plane::Element, 12);
    doc.setValue(4, 4, Plane::Element, 27);
    doc.CurrentDrawElement = 27;
    doc.CurrentQuad = 1;
    doc.CurrentSect = 6;
    session->setEditMode(EditMode::DrawQuad);
    session->paintCurrentSector(Plane::Element, session->history().newStrokeId());
    QCOMPARE(statistics.count(Plane::Element, 27), 17);
    session->history().undo();
    QCOMPARE(statistics.count(Plane::Element, 27), 1);
    session->history().redo();
    QCOMPARE(statistics.count(Plane::Element, 27), 17);
    QString problem = differences(statistics, doc);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    session->startMap(pictureOf(3, 3));
    QCOMPARE(statistics.unassigned(Plane::Element), 9 * 16);
    QCOMPARE(statistics.count(Plane::Element, 12), 0);
    problem = differences(statistics, doc);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
  }

  void incrementalCountsMatchARecount() {
    // Random writes, some beyond the map, with the map's extent moving now and then.
    MapDocument doc;
    doc.TotalQuads = 40;
    MapStatistics statistics(doc);
    std::mt19937 random(20);
    for (int round = 0; round < 30; ++round) {
      for (int i = 0; i < 300; ++i) {
        const int quad = int(random() % 60);
        const auto plane = Plane(random() % 2);
        const auto value = qint16(int(random() % 400) - 150);  // unknown ids and heights too
        doc.setValue(quad, int(random() % 16), plane, value);
      }
      if (round % 7 == 3) doc.TotalQuads = qint16(random() % 60);
      const QString problem = differences(statistics, doc);
      QVERIFY2(problem.isEmpty(), qPrintable(QStringLiteral("round %1: ").arg(round) + problem));
    }
  }

  void legendRowsByNameThenUnknownIds() {
    MapDocument doc;
    doc.TotalQuads = 2;
    MapStatistics statistics(doc);
    ElementTable elements;
    const auto define = [&](int id, const char *name) {
      elements.row(id).name = QString::fromLatin1(name);
      elements.row(id).filled = true;
    };
    define(3, "wire Fence");
    define(7, "Bush");
    define(9, "Hedge");
    const qint16 values[] = {9, 9, 3, 400, 7, 300, -5, 7, 7};
    for (int s = 0; s < int(std::size(values)); ++s) doc.setValue(0, s, Plane::Element, values[s]);
    doc.setValue(1, 0, Plane::Height, 101);
    doc.setValue(1, 1, Plane::Height, 0);

    const std::vector<LegendRow> rows = legendRows(statistics, Plane::Element, elements);
    QStringList shown;
    for (const LegendRow &row : rows)
      shown << QStringLiteral("%1 %2 %3")
                   .arg(row.name)
                   .arg(row.sectors)
                   .arg(row.known ? "true" : "false");
    QCOMPARE(shown, (QStringList{"Bush 3 true", "Hedge 2 true", "wire Fence 1 true", "-5 1 false",
                                 "300 1 false", "400 1 false"}));
    QCOMPARE(statistics.unassigned(Plane::Element), 32 - 9);

    const std::vector<LegendRow> heights = legendRows(statistics, Plane::Height, elements);
    QCOMPARE(int(heights.size()), 102);
    QCOMPARE(heights[0].sectors, 1);
    QCOMPARE(heights[100].sectors, 0);
    QCOMPARE(heights[101].value, qint16(101));
    QVERIFY(!heights[101].known && heights[100].known);
  }

  void problemsOfEachKind_data() {
    QTest::addColumn<int>("totalQuads");
    QTest::addColumn<int>("pictureQuads");
    QTest::addColumn<int>("sector");
    QTest::addColumn<int>("element");
    QTest::addColumn<int>("height");
    QTest::addColumn<QStringList>("expected");
    // Quads 0..2 of a 3-Quad map fully painted with element 27 and height 10, except
    // Quad 1's Sector `sector`, which gets `element` and `height`.
    QTest::newRow("clean") << 3 << 3 << 5 << 27 << 10 << QStringList{};
    QTest::newRow("unknown element")
        << 3 << 3 << 5 << 400 << 10
        << QStringList{
               "unknown-element 1 5: Quad 1 Sector 5: element id 400 is not in the catalogue"};
    QTest::newRow("height out of range")
        << 3 << 3 << 15 << 27 << -2
        << QStringList{"height-out-of-range 1 15: Quad 1 Sector 15: height -2 is outside 0..100"};
    QTest::newRow("no element")
        << 3 << 3 << 7 << -1 << 10
        << QStringList{"unassigned-sectors 1 7: Quad 1 Sector 7: 1 Sector without an element"};
    QTest::newRow("neither")
        << 3 << 3 << 2 << -1 << -1
        << QStringList{
               "unassigned-sectors 1 2: Quad 1 Sector 2: 1 Sector without an element, "
               "1 without a height"};
    QTest::newRow("fewer rows")
        << 2 << 3 << 0 << 27 << 10
        << QStringList{
               "row-count 2 0: Quad 2 Sector 0: the map data has 2 Quad rows but the "
               "picture has 3 Quads"};
    QTest::newRow("more rows")
        << 4 << 3 << 0 << 27 << 10
        << QStringList{
               "unassigned-sectors 3 0: Quad 3 Sector 0: 16 Sectors without an element, "
               "16 without a height",
               "row-count 2 0: Quad 2 Sector 0: the map data has 4 Quad rows but the "
               "picture has 3 Quads"};
  }

  void problemsOfEachKind() {
    QFETCH(int, totalQuads);
    QFETCH(int, pictureQuads);
    QFETCH(int, sector);
    QFETCH(int, element);
    QFETCH(int, height);
    QFETCH(QStringList, expected);
    ElementTable elements;
    elements.row(27).filled = true;
    MapDocument doc;
    for (int quad = 0; quad < 3; ++quad)
      for (int s = 0; s < kSectorsPerQuad; ++s) {
        doc.setValue(quad, s, Plane::Element, 27);
        doc.setValue(quad, s, Plane::Height, 10);
      }
    doc.setValue(1, sector, Plane::Element, qint16(element));
    doc.setValue(1, sector, Plane::Height, qint16(height));
    doc.TotalQuads = qint16(totalQuads);
    const MapProblemList problems = findMapProblems(doc, elements, pictureQuads);
    QStringList found;
    for (const MapFinding &f : problems.findings)
      found << QStringLiteral("%1 %2 %3: %4")
                   .arg(MapFinding::kindName(f.kind))
                   .arg(f.quad)
                   .arg(f.sector)
                   .arg(f.text());
    QCOMPARE(found, expected);
    QCOMPARE(problems.total(), expected.size());
  }

  void problemsAreCappedButCounted() {
    // A fresh map: every Quad lacks everything. Three lines are kept, all 18 counted.
    ElementTable elements;
    MapDocument doc;
    doc.TotalQuads = 18;
    doc.setValue(17, 3, Plane::Element, 999);
    const MapProblemList problems = findMapProblems(doc, elements, 18, 3);
    QCOMPARE(problems.totalOf(MapFinding::Kind::UnassignedSectors), 18);
    QCOMPARE(problems.totalOf(MapFinding::Kind::UnknownElement), 1);
    QCOMPARE(problems.findings.size(), 4);
    QCOMPARE(problems.findings.last().text(),
             QStringLiteral("Quad 17 Sector 3: element id 999 is not in the catalogue"));
    QCOMPARE(problems.findings[0].text(),
             QStringLiteral("Quad 0 Sector 0: 16 Sectors without an element, 16 without a height"));
  }

  // Order, limit and the next run: test_mapcontents (recentElementsOrderLimitAndPersistence).
  void recentElementsSkipRepeatsAndOddFiles() {
    QTemporaryDir dir;
    const QString file = settingsFilePath(dir.path());
    {
      RecentElements recent(file);
      QSignalSpy changed(&recent, &RecentElements::changed);
      recent.note(QStringLiteral("E1"));
      recent.note(QStringLiteral("E1"));  // already there: no news
      recent.note(QString());
      QCOMPARE(changed.count(), 1);
    }
    // A hand-edited file with repeats, blanks and too many names keeps the usable ones.
    {
      QSettings settings(file, QSettings::IniFormat);
      settings.setValue("RecentElements/names",
                        QStringList{"A", "", "A", "B", "C", "D", "E", "F", "G", "H", "I"});
    }
    QCOMPARE(RecentElements(file).names(), (QStringList{"A", "B", "C", "D", "E", "F", "G", "H"}));
    // Something that is no settings file is neither read nor replaced.
    const QString folder = dir.filePath(QStringLiteral("folder.ini"));
    QVERIFY(QDir().mkpath(folder));
    RecentElements odd(folder);
    odd.note(QStringLiteral("X"));
    QCOMPARE(odd.names(), QStringList{"X"});
    QVERIFY(QFileInfo(folder).isDir());
  }
};

QTEST_MAIN(TestMapStatistics)
#include "test_mapstatistics.moc"
