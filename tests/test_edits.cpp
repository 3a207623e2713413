#include "app/MapDocument.h"
#include "edits/EditCommand.h"
#include "edits/FillClear.h"
#include "edits/RandomSource.h"
#include "edits/Randomise.h"

#include <QtTest>

#include <cmath>
#include <map>
#include <set>

using namespace vmm;

Q_DECLARE_METATYPE(vmm::Plane)
Q_DECLARE_METATYPE(vmm::EditCommand)

namespace {

// Returns the given values in turn (cycling) and counts the draws.
class ScriptedRandom : public RandomSource {
 public:
  explicit ScriptedRandom(QList<float> values) : values_(std::move(values)) {}
  float next() override { return values_[draws++ % values_.size()]; }
  int draws = 0;

 private:
  QList<float> values_;
};

struct ChangeCounter : ChangeObserver {
  int changes = 0;
  void sectorChanged(const SectorChange &) override { ++changes; }
};

// Every Sector value of one plane, Quad-major, for whole-array comparisons.
QList<qint16> snapshot(const MapDocument &doc, Plane plane) {
  QList<qint16> values;
  values.reserve(kQuadCapacity * kSectorsPerQuad);
  for (int quad = 0; quad < kQuadCapacity; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      values.append(doc.value(quad, sector, plane));
  return values;
}

qsizetype at(int quad, int sector) {
  return qsizetype(quad) * kSectorsPerQuad + sector;
}

Plane otherPlane(Plane plane) {
  return plane == Plane::Element ? Plane::Height : Plane::Element;
}

// The families as the menus define them, written out here on their own: the
// ids a member may end as, the result of a draw of 0 and of the last draw below 1.
struct Family {
  EditCommand command;
  QList<int> members;
  QList<int> outcomes;
  int atZero;
  int atTop;
};

const QList<Family> &families() {
  static const QList<Family> all{
      {EditCommand::RandomiseTrees, {173, 174, 175}, {173, 174, 175}, 173, 175},
      {EditCommand::RandomiseTrees, {169, 170, 171, 172, 127}, {169, 170, 171, 172, 127}, 169, 127},
      {EditCommand::RandomiseTrees, {142, 143, 144, 145, 126}, {142, 143, 144, 145, 126}, 142, 126},
      {EditCommand::RandomiseTrees, {159, 160, 161, 162, 163}, {159, 160, 161, 162, 163}, 159, 163},
      {EditCommand::RandomiseTrees, {149, 150, 151, 152, 153}, {149, 150, 151, 152, 153}, 149, 153},
      {EditCommand::RandomiseTrees, {156, 157, 158, 9, 124}, {156, 157, 158, 9, 124}, 156, 124},
      {EditCommand::RandomiseTrees, {146, 147, 148}, {146, 147, 148}, 146, 148},
      {EditCommand::RandomiseTrees, {167, 168, 183}, {167, 168, 183}, 167, 183},
      {EditCommand::RandomiseTrees, {187, 188, 180, 128}, {187, 188, 180, 128}, 187, 128},
      {EditCommand::RandomiseTrees, {185, 186}, {185, 186}, 185, 186},
      {EditCommand::RandomiseTrees, {181, 182}, {181, 182}, 181, 182},
      {EditCommand::RandomiseTrees, {125, 184}, {125, 184}, 125, 184},
      {EditCommand::RandomiseTrees, {154, 155}, {154, 155}, 154, 155},
      {EditCommand::RandomiseTrees, {164, 165, 166}, {164, 165, 166}, 164, 166},
      {EditCommand::RandomiseLeaves, {10, 11}, {10, 11}, 10, 11},
      {EditCommand::RandomiseBrush, {8, 190}, {8, 190, 1}, 8, 1},
  };
  return all;
}

QList<int> membersOf(EditCommand command) {
  QList<int> ids;
  for (const Family &family : families())
    if (family.command == command) ids += family.members;
  return ids;
}

}  // namespace

class TestEdits : public QObject {
  Q_OBJECT

 private slots:
  void fillAndClearTouchOnlyTheirSectors_data() {
    QTest::addColumn<Plane>("plane");
    QTest::addColumn<qint16>("value");
    QTest::newRow("element 12") << Plane::Element << qint16(12);
    QTest::newRow("height 0") << Plane::Height << qint16(0);
  }
  void fillAndClearTouchOnlyTheirSectors() {
    QFETCH(Plane, plane);
    QFETCH(qint16, value);
    const Plane other = otherPlane(plane);
    MapDocument doc;
    doc.TotalQuads = 9;
    doc.setValue(0, 0, plane, value);
    doc.setValue(3, 7, plane, 40);
    doc.setValue(5000, 15, plane, 41);  // far beyond TotalQuads
    doc.setValue(2, 2, other, value);
    doc.setValue(4000, 1, other, 7);
    const QList<qint16> otherBefore = snapshot(doc, other);
    ChangeCounter counter;
    doc.setChangeObserver(&counter);

    const int filled = fillUnassigned(doc, plane, value);
    QCOMPARE(filled, kQuadCapacity * kSectorsPerQuad - 3);
    QCOMPARE(counter.changes, filled);
    QList<qint16> expected(kQuadCapacity * kSectorsPerQuad, value);
    expected[at(3, 7)] = 40;
    expected[at(5000, 15)] = 41;
    QCOMPARE(snapshot(doc, plane), expected);
    QCOMPARE(snapshot(doc, other), otherBefore);

    // Clearing the value empties every Sector holding it, painted before the
    // fill or by it, and nothing else.
    const int cleared = clearValue(doc, plane, value);
    QCOMPARE(cleared, kQuadCapacity * kSectorsPerQuad - 2);
    expected.fill(kUnassigned);
    expected[at(3, 7)] = 40;
    expected[at(5000, 15)] = 41;
    QCOMPARE(snapshot(doc, plane), expected);
    QCOMPARE(snapshot(doc, other), otherBefore);

    QCOMPARE(clearValue(doc, plane, 41), 1);
    QCOMPARE(doc.value(5000, 15, plane), kUnassigned);
    QCOMPARE(doc.value(3, 7, plane), qint16(40));
  }

  void commandsUseTheCurrentChoiceOfTheirPlane() {
    MapDocument doc;
    ScriptedRandom random({0.0f});
    doc.CurrentDrawElement = 12;
    doc.CurrentDrawHeight = 30;
    doc.setValue(1, 1, Plane::Element, 5);
    doc.setValue(1, 2, Plane::Height, 6);

    applyEditCommand(doc, EditCommand::FillElement, random);
    QCOMPARE(doc.value(1, 1, Plane::Element), qint16(5));
    QCOMPARE(doc.value(1, 2, Plane::Element), qint16(12));
    QCOMPARE(doc.value(1, 1, Plane::Height), kUnassigned);

    applyEditCommand(doc, EditCommand::FillHeight, random);
    QCOMPARE(doc.value(1, 2, Plane::Height), qint16(6));
    QCOMPARE(doc.value(1, 1, Plane::Height), qint16(30));

    QCOMPARE(applyEditCommand(doc, EditCommand::ClearElement, random),
             kQuadCapacity * kSectorsPerQuad - 1);
    QCOMPARE(doc.value(1, 1, Plane::Element), qint16(5));
    QCOMPARE(doc.value(1, 2, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(1, 1, Plane::Height), qint16(30));

    doc.CurrentDrawHeight = 6;
    QCOMPARE(applyEditCommand(doc, EditCommand::ClearHeight, random), 1);
    QCOMPARE(doc.value(1, 2, Plane::Height), kUnassigned);
    QCOMPARE(random.draws, 0);
  }

  void unassignedChoiceChangesNothing_data() {
    QTest::addColumn<EditCommand>("command");
    QTest::newRow("fill element") << EditCommand::FillElement;
    QTest::newRow("clear element") << EditCommand::ClearElement;
    QTest::newRow("fill height") << EditCommand::FillHeight;
    QTest::newRow("clear height") << EditCommand::ClearHeight;
  }
  void unassignedChoiceChangesNothing() {
    QFETCH(EditCommand, command);
    MapDocument doc;
    doc.CurrentDrawElement = kUnassigned;
    doc.CurrentDrawHeight = kUnassigned;
    doc.setValue(0, 0, Plane::Element, 3);
    doc.setValue(4999, 9, Plane::Height, 50);
    const QList<qint16> elements = snapshot(doc, Plane::Element);
    const QList<qint16> heights = snapshot(doc, Plane::Height);
    ChangeCounter counter;
    doc.setChangeObserver(&counter);
    ScriptedRandom random({0.0f});

    QCOMPARE(applyEditCommand(doc, command, random), 0);
    QCOMPARE(counter.changes, 0);
    QCOMPARE(snapshot(doc, Plane::Element), elements);
    QCOMPARE(snapshot(doc, Plane::Height), heights);
  }

  void extremeDrawsGiveFirstAndLastVariant_data() {
    QTest::addColumn<EditCommand>("command");
    QTest::addColumn<QList<int>>("members");
    QTest::addColumn<int>("atZero");
    QTest::addColumn<int>("atTop");
    int n = 0;
    for (const Family &f : families())
      QTest::addRow("family %d from %d", ++n, f.members.first())
          << f.command << f.members << f.atZero << f.atTop;
  }
  void extremeDrawsGiveFirstAndLastVariant() {
    QFETCH(EditCommand, command);
    QFETCH(QList<int>, members);
    QFETCH(int, atZero);
    QFETCH(int, atTop);
    const float lastBelowOne = std::nextafter(1.0f, 0.0f);
    for (const auto &[draw, want] : {std::pair{0.0f, atZero}, std::pair{lastBelowOne, atTop}}) {
      MapDocument doc;
      for (int i = 0; i < members.size(); ++i)
        doc.setValue(4990 + i, 15 - i, Plane::Element, qint16(members[i]));
      ScriptedRandom random({draw});
      applyEditCommand(doc, command, random);
      QCOMPARE(random.draws, members.size());
      for (int i = 0; i < members.size(); ++i)
        QCOMPARE(doc.value(4990 + i, 15 - i, Plane::Element), qint16(want));
    }
  }

  void eachMemberDrawsOnceInQuadThenSectorOrder() {
    // Leaves alternate between their two ids on alternating draws, so the
    // result shows the order of the draws; everything else must draw nothing.
    MapDocument doc;
    doc.TotalQuads = 4;
    const QList<std::pair<int, int>> leafSectors{{0, 3}, {0, 12}, {1, 0}, {7, 15}, {5000, 0}};
    for (auto [quad, sector] : leafSectors) doc.setValue(quad, sector, Plane::Element, 10);
    const QList<int> strangers{-1, 0, 1, 8, 9, 12, 127, 173, 190, 351};
    for (int i = 0; i < strangers.size(); ++i)
      doc.setValue(2, i, Plane::Element, qint16(strangers[i]));
    doc.setValue(2, 1, Plane::Height, 10);
    ScriptedRandom leaves({0.0f, 0.5f});
    QCOMPARE(randomiseLeaves(doc, leaves), 2);
    QCOMPARE(leaves.draws, leafSectors.size());
    QList<qint16> got;
    for (auto [quad, sector] : leafSectors) got.append(doc.value(quad, sector, Plane::Element));
    QCOMPARE(got, (QList<qint16>{10, 11, 10, 11, 10}));
    QCOMPARE(doc.value(2, 1, Plane::Height), qint16(10));

    // A map holding every member of every family once: one draw each.
    for (EditCommand command :
         {EditCommand::RandomiseTrees, EditCommand::RandomiseLeaves, EditCommand::RandomiseBrush}) {
      MapDocument all;
      const QList<int> ids = membersOf(command);
      for (int i = 0; i < ids.size(); ++i)
        all.setValue(100 + i / kSectorsPerQuad, i % kSectorsPerQuad, Plane::Element,
                     qint16(ids[i]));
      const QList<int> inNoFamily{-1, 1, 176, 177, 178, 179, 189, 191, 300};
      for (int i = 0; i < inNoFamily.size(); ++i)
        all.setValue(4000, i, Plane::Element, qint16(inNoFamily[i]));
      ScriptedRandom counting({0.25f, 0.75f, 0.5f});
      applyEditCommand(all, command, counting);
      QCOMPARE(counting.draws, ids.size());
    }
  }

  void manyDrawsStayInsideTheFamily_data() {
    QTest::addColumn<EditCommand>("command");
    QTest::addColumn<QList<int>>("members");
    QTest::addColumn<QList<int>>("outcomes");
    int n = 0;
    for (const Family &f : families())
      QTest::addRow("family %d from %d", ++n, f.members.first())
          << f.command << f.members << f.outcomes;
  }
  void manyDrawsStayInsideTheFamily() {
    QFETCH(EditCommand, command);
    QFETCH(QList<int>, members);
    QFETCH(QList<int>, outcomes);
    constexpr int kQuadsPerMember = 40;  // 640 Sectors start from each member
    MapDocument doc;
    for (int m = 0; m < members.size(); ++m)
      for (int q = 0; q < kQuadsPerMember; ++q)
        for (int s = 0; s < kSectorsPerQuad; ++s)
          doc.setValue(m * kQuadsPerMember + q, s, Plane::Element, qint16(members[m]));
    MersenneRandomSource random(20240605u);
    applyEditCommand(doc, command, random);

    const int perMember = kQuadsPerMember * kSectorsPerQuad;
    std::map<int, int> total;
    for (int m = 0; m < members.size(); ++m) {
      std::set<int> seen;
      for (int q = 0; q < kQuadsPerMember; ++q)
        for (int s = 0; s < kSectorsPerQuad; ++s) {
          const int id = doc.value(m * kQuadsPerMember + q, s, Plane::Element);
          seen.insert(id);
          ++total[id];
        }
      // Every start reaches every outcome, and nothing outside the family.
      QCOMPARE(seen, std::set<int>(outcomes.begin(), outcomes.end()));
    }
    // Members are equally likely (brush: 8 and 190 two in five, 1 one in five).
    const bool brush = command == EditCommand::RandomiseBrush;
    const double draws = double(perMember) * members.size();
    for (int id : outcomes) {
      const double share = brush ? (id == 1 ? 0.2 : 0.4) : 1.0 / outcomes.size();
      QVERIFY2(std::abs(total[id] / draws - share) < 0.05, qPrintable(QString::number(id)));
    }
  }

  void commandsKeepToTheirOwnIds() {
    const QList<int> every = membersOf(EditCommand::RandomiseTrees) +
                             membersOf(EditCommand::RandomiseLeaves) +
                             membersOf(EditCommand::RandomiseBrush);
    for (EditCommand command :
         {EditCommand::RandomiseTrees, EditCommand::RandomiseLeaves, EditCommand::RandomiseBrush}) {
      MapDocument doc;
      for (int i = 0; i < every.size(); ++i)
        for (int s = 0; s < kSectorsPerQuad; ++s) {
          doc.setValue(i, s, Plane::Element, qint16(every[i]));
          doc.setValue(i, s, Plane::Height, 77);
        }
      const QList<qint16> heights = snapshot(doc, Plane::Height);
      MersenneRandomSource random(7u);
      applyEditCommand(doc, command, random);
      const QList<int> own = membersOf(command);
      for (int i = 0; i < every.size(); ++i)
        if (!own.contains(every[i]))
          for (int s = 0; s < kSectorsPerQuad; ++s)
            QCOMPARE(doc.value(i, s, Plane::Element), qint16(every[i]));
      QCOMPARE(snapshot(doc, Plane::Height), heights);
    }
  }

  void seededSourcesRepeat() {
    MersenneRandomSource a(42u), b(42u), c(43u);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
      const float r = a.next();
      QVERIFY(r >= 0.0f && r < 1.0f);
      QCOMPARE(b.next(), r);
      differs = differs || c.next() != r;
    }
    QVERIFY(differs);
  }
};

QTEST_GUILESS_MAIN(TestEdits)
#include "test_edits.moc"
