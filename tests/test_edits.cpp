// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MapDocument.h"
#include "edits/EditCommand.h"
#include "edits/RandomSource.h"
#include "edits/Randomise.h"
#include "support/TestSupport.h"

#include <QtTest>

#include <cmath>
#include <map>
#include <set>

using namespace vmm;
using test::ScriptedRandom;

Q_DECLARE_METATYPE(vmm::Plane)
Q_DECLARE_METATYPE(vmm::EditCommand)

namespace {

struct ChangeCounter : ChangeObserver {
  int changes = 0;
  void sectorChanged(const SectorChange &) override { ++changes; }
};

// Every Sector value of one plane, Quad-major, for whole-array comparisons.
QList<qint16> snapshot(const MapDocument &doc, Plane plane) {
  QList<qint16> values;
  for (int quad = 0; quad < kQuadCapacity; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      values.append(doc.value(quad, sector, plane));
  return values;
}

constexpr int kAllSectors = kQuadCapacity * kSectorsPerQuad;

// Every family as the menus define them, written out here on their own. A member ends
// as any member of its family; brush members may also end as 1 (bare ground).
// clang-format off
const QList<std::pair<EditCommand, QList<QList<int>>>> kFamilies{
    {EditCommand::RandomiseTrees, {{173, 174, 175}, {169, 170, 171, 172, 127},
        {142, 143, 144, 145, 126}, {159, 160, 161, 162, 163}, {149, 150, 151, 152, 153},
        {156, 157, 158, 9, 124}, {146, 147, 148}, {167, 168, 183}, {187, 188, 180, 128},
        {185, 186}, {181, 182}, {125, 184}, {154, 155}, {164, 165, 166}}},
    {EditCommand::RandomiseLeaves, {{10, 11}}},
    {EditCommand::RandomiseBrush, {{8, 190}}}};
// clang-format on

}  // namespace

class TestEdits : public QObject {
  Q_OBJECT

 private slots:
  void fillAndClearTouchOnlyTheirSectors_data() {
    QTest::addColumn<Plane>("plane");
    QTest::addColumn<EditCommand>("fill");
    QTest::addColumn<EditCommand>("clear");
    QTest::newRow("element") << Plane::Element << EditCommand::FillElement
                             << EditCommand::ClearElement;
    QTest::newRow("height") << Plane::Height << EditCommand::FillHeight << EditCommand::ClearHeight;
  }

  void fillAndClearTouchOnlyTheirSectors() {
    QFETCH(Plane, plane);
    QFETCH(EditCommand, fill);
    QFETCH(EditCommand, clear);
    const Plane other = plane == Plane::Element ? Plane::Height : Plane::Element;
    MapDocument doc;
    doc.TotalQuads = 9;
    // Each command uses the current choice of its own plane.
    doc.CurrentDrawElement = plane == Plane::Element ? 12 : 30;
    doc.CurrentDrawHeight = plane == Plane::Height ? 12 : 30;
    doc.setValue(0, 0, plane, 12);
    doc.setValue(3, 7, plane, 40);
    doc.setValue(5000, 15, plane, 41);  // far beyond TotalQuads
    doc.setValue(4000, 1, other, 7);
    const QList<qint16> otherBefore = snapshot(doc, other);
    ChangeCounter counter;
    doc.addChangeObserver(&counter);
    ScriptedRandom random({0.0f});

    QCOMPARE(applyEditCommand(doc, fill, random), kAllSectors - 3);
    QCOMPARE(counter.changes, kAllSectors - 3);
    QList<qint16> expected(kAllSectors, 12);
    expected[3 * kSectorsPerQuad + 7] = 40;
    expected.last() = 41;
    QCOMPARE(snapshot(doc, plane), expected);

    // Clearing empties every Sector holding the value, painted before the fill or by it.
    QCOMPARE(applyEditCommand(doc, clear, random), kAllSectors - 2);
    for (qint16 &value : expected)
      if (value == 12) value = kUnassigned;
    QCOMPARE(snapshot(doc, plane), expected);
    QCOMPARE(snapshot(doc, other), otherBefore);
    QCOMPARE(random.draws, 0);

    // With nothing chosen, the commands change nothing at all.
    doc.CurrentDrawElement = kUnassigned;
    doc.CurrentDrawHeight = kUnassigned;
    counter.changes = 0;
    QCOMPARE(applyEditCommand(doc, fill, random) + applyEditCommand(doc, clear, random), 0);
    QCOMPARE(counter.changes, 0);
  }

  void randomiseStaysInsideTheFamily_data() {
    QTest::addColumn<EditCommand>("command");
    QTest::addColumn<QList<int>>("members");
    for (const auto &[command, families] : kFamilies)
      for (const QList<int> &family : families)
        QTest::addRow("family of %d", family.first()) << command << family;
  }

  void randomiseStaysInsideTheFamily() {
    QFETCH(EditCommand, command);
    QFETCH(QList<int>, members);
    const bool brush = command == EditCommand::RandomiseBrush;
    const QList<int> outcomes = brush ? members + QList<int>{1} : members;
    // Ids in no family of this command, which it must neither draw for nor change.
    QList<int> others{-1, 1, 176, 177, 178, 179, 189, 191, 300};
    for (const auto &[otherCommand, families] : kFamilies)
      for (const QList<int> &family : families)
        if (otherCommand != command) others += family;
    const auto othersAt = [&](MapDocument &doc, bool place) {
      for (int i = 0; i < others.size(); ++i) {
        if (place) doc.setValue(4500 + i, i % kSectorsPerQuad, Plane::Element, qint16(others[i]));
        QCOMPARE(doc.value(4500 + i, i % kSectorsPerQuad, Plane::Element), qint16(others[i]));
      }
    };

    // A draw of 0 gives the first variant, the last draw below 1 the last one.
    const float lastBelowOne = std::nextafter(1.0f, 0.0f);
    for (const auto &[draw, want] :
         {std::pair{0.0f, outcomes.first()}, std::pair{lastBelowOne, outcomes.last()}}) {
      MapDocument doc;
      othersAt(doc, true);
      for (int i = 0; i < members.size(); ++i)
        doc.setValue(4990 + i, 15 - i, Plane::Element, qint16(members[i]));
      ScriptedRandom random({draw});
      applyEditCommand(doc, command, random);
      QCOMPARE(random.draws, members.size());
      for (int i = 0; i < members.size(); ++i)
        QCOMPARE(doc.value(4990 + i, 15 - i, Plane::Element), qint16(want));
      othersAt(doc, false);
    }

    // 640 Sectors start from each member: each start reaches every outcome, nothing else,
    // and the outcomes are equally likely (brush: 8 and 190 two in five, 1 one in five).
    constexpr int kQuadsPerMember = 40;
    MapDocument doc;
    for (int m = 0; m < members.size(); ++m)
      for (int q = 0; q < kQuadsPerMember; ++q)
        for (int s = 0; s < kSectorsPerQuad; ++s)
          doc.setValue(m * kQuadsPerMember + q, s, Plane::Element, qint16(members[m]));
    MersenneRandomSource random(20240605u);
    applyEditCommand(doc, command, random);
    std::map<int, int> total;
    for (int m = 0; m < members.size(); ++m) {
      std::set<int> seen;
      for (int q = 0; q < kQuadsPerMember; ++q)
        for (int s = 0; s < kSectorsPerQuad; ++s) {
          const int id = doc.value(m * kQuadsPerMember + q, s, Plane::Element);
          seen.insert(id);
          ++total[id];
        }
      QCOMPARE(seen, std::set<int>(outcomes.begin(), outcomes.end()));
    }
    const double draws = double(kQuadsPerMember * kSectorsPerQuad) * members.size();
    for (int id : outcomes) {
      const double share = brush ? (id == 1 ? 0.2 : 0.4) : 1.0 / outcomes.size();
      QVERIFY2(std::abs(total[id] / draws - share) < 0.05, qPrintable(QString::number(id)));
    }
  }
};

QTEST_GUILESS_MAIN(TestEdits)
#include "test_edits.moc"
