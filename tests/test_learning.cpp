// SPDX-License-Identifier: GPL-3.0-or-later
// Painting from the picture, without a window: the features of each Sector and the
// classifier's suggestions on generated pictures whose terrain is known.
#include "catalogue/CatalogueDatabase.h"
#include "document/MapDocument.h"
#include "learning/PictureClassifier.h"
#include "learning/SectorFeatures.h"
#include "mapfiles/PictureLoader.h"
#include "session/EditorSession.h"
#include "session/PictureTracing.h"
#include "support/TerrainPicture.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace vmm;
using test::TerrainPicture;

namespace {

// Share of the cells without an example whose suggestion is the true terrain.
double shareRight(const TraceSuggestions &suggestions, const TerrainPicture &made,
                  const std::vector<qint16> &examples) {
  int open = 0, right = 0;
  for (std::size_t cell = 0; cell < examples.size(); ++cell) {
    if (examples[cell] != kUnassigned) continue;
    ++open;
    right += suggestions.cells[cell].value == made.truth[cell];
  }
  return open ? double(right) / open : 0.0;
}

}  // namespace

class LearningTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { made_ = TerrainPicture::generate(12, 9, 7); }

  void cellsFollowTheMapGrid() {
    MapDocument document;
    document.XQuads = 5;
    document.YQuads = 3;
    const SectorFeatures features =
        SectorFeatures::measure(QImage(200, 120, QImage::Format_RGB32), 5, 3);
    QCOMPARE(features.cellCount(), 5 * 3 * kSectorsPerQuad);
    for (int cell = 0; cell < features.cellCount(); ++cell) {
      const SectorAddress address = addressOf(cell, 5);
      const MapDocument::Origin origin = document.sectorOrigin(address.quad, address.sector);
      QCOMPARE(QPoint(origin.x, origin.y),
               QPoint(cell % features.columns() * 10, cell / features.columns() * 10));
      QCOMPARE(cellOf(address, 5), cell);
    }
  }

  void featuresTellColoursApartAndStaySmall() {
    QImage halves(80, 40, QImage::Format_RGB32);
    halves.fill(QColor(200, 40, 40));
    for (int y = 0; y < 40; ++y)
      for (int x = 40; x < 80; ++x) halves.setPixel(x, y, qRgb(40, 200, 40));
    const SectorFeatures features = SectorFeatures::measure(halves, 2, 1);
    QVERIFY(!features.isFlat());
    // The red Quad's first cell and the green Quad's: their own mean colours.
    QCOMPARE(features.cell(0)[0], 200.0f);
    QCOMPARE(features.cell(4)[1], 200.0f);
    // A border 7 pixels into a cell: 3 of its 10 pixel columns are greener than the cells
    // around it, so the cell is told mostly red wherever in it the border lies.
    QImage crossed = halves;
    for (int y = 0; y < 40; ++y)
      for (int x = 37; x < 40; ++x) crossed.setPixel(x, y, qRgb(40, 200, 40));
    const SectorFeatures border = SectorFeatures::measure(crossed, 2, 1);
    QCOMPARE(border.cell(3)[SectorFeatures::kSideShares + 2], 0.3f);
    QCOMPARE(border.cell(2)[SectorFeatures::kSideShares + 2], 0.0f);
    // A maximum map's features within 64 MiB.
    const SectorFeatures largest =
        SectorFeatures::measure(QImage(2880, 2760, QImage::Format_RGB32), 72, 69);
    QCOMPARE(largest.cellCount(), 79488);
    QVERIFY(largest.byteSize() <= 64 * 1024 * 1024);
  }

  void suggestsTheRestFromExamples() {
    const std::vector<qint16> examples = made_.examples(0.02, 3);
    const SectorFeatures features =
        SectorFeatures::measure(made_.picture, made_.xQuads, made_.yQuads);
    const TraceSuggestions first = suggestFromExamples(features, examples);
    QVERIFY(first.ok());
    for (std::size_t cell = 0; cell < examples.size(); ++cell) {
      const CellSuggestion &suggestion = first.cells[cell];
      if (examples[cell] != kUnassigned) {
        QCOMPARE(suggestion.value, kUnassigned);  // an example is never suggested over
        continue;
      }
      QVERIFY(suggestion.value >= TerrainPicture::Meadow &&
              suggestion.value <= TerrainPicture::River);
      QVERIFY(suggestion.confidence > 0.0f && suggestion.confidence <= 1.0f);
    }
    QVERIFY2(shareRight(first, made_, examples) > 0.9,
             qPrintable(QString::number(shareRight(first, made_, examples))));
    // Same picture, same examples: the same suggestions, confidence included.
    const TraceSuggestions second = suggestFromExamples(features, examples);
    for (std::size_t cell = 0; cell < examples.size(); ++cell) {
      QCOMPARE(second.cells[cell].value, first.cells[cell].value);
      QCOMPARE(second.cells[cell].confidence, first.cells[cell].confidence);
    }
    const int open = int(std::count(examples.begin(), examples.end(), kUnassigned));
    QCOMPARE(first.countSure(0.6f) + first.countUnsure(0.6f), open);
    QVERIFY(first.countSure(0.9f) < first.countSure(0.6f));

    // No example of the river: its Sectors look like nothing painted, so few of them are
    // painted at the default minimum.
    std::vector<qint16> noRiver = examples;
    std::replace(noRiver.begin(), noRiver.end(), qint16(TerrainPicture::River), kUnassigned);
    const TraceSuggestions unknown = suggestFromExamples(features, noRiver);
    int river = 0, sure = 0;
    for (std::size_t cell = 0; cell < noRiver.size(); ++cell) {
      if (made_.truth[cell] != TerrainPicture::River || examples[cell] != kUnassigned) continue;
      ++river;
      sure += unknown.cells[cell].confidence >= 0.6f;
    }
    QVERIFY(river > 0);
    QVERIFY2(sure * 5 < river, qPrintable(QStringLiteral("%1 of %2").arg(sure).arg(river)));
  }

  void refusesWhatCannotBeLearnt_data() {
    QTest::addColumn<bool>("flat");
    QTest::addColumn<QString>("examples");  // "one", "every", "none", "two"
    QTest::addColumn<int>("refusal");
    QTest::newRow("one flat colour") << true << "two" << int(TraceRefusal::FlatPicture);
    QTest::newRow("one value only") << false << "one" << int(TraceRefusal::TooFewValues);
    QTest::newRow("no examples") << false << "none" << int(TraceRefusal::TooFewValues);
    QTest::newRow("every Sector painted") << false << "every" << int(TraceRefusal::NothingToDo);
  }
  void refusesWhatCannotBeLearnt() {
    QFETCH(bool, flat);
    QFETCH(QString, examples);
    QFETCH(int, refusal);
    QImage picture = made_.picture;
    if (flat) picture.fill(QColor(90, 140, 60));
    const SectorFeatures features = SectorFeatures::measure(picture, made_.xQuads, made_.yQuads);
    std::vector<qint16> values(made_.truth.size(), kUnassigned);
    if (examples == QLatin1String("every")) values = made_.truth;
    if (examples != QLatin1String("none")) values[0] = 3;
    if (examples == QLatin1String("two")) values[1] = 4;
    const TraceSuggestions suggestions = suggestFromExamples(features, values);
    QCOMPARE(int(suggestions.refusal), refusal);
    QVERIFY(suggestions.cells.empty());
    QVERIFY(!traceRefusalText(suggestions.refusal, Plane::Element).isEmpty());
  }

  void refusesAMapWithoutPicture() {
    const std::vector<qint16> values{1, 2};
    QCOMPARE(suggestFromExamples(SectorFeatures(), values).refusal, TraceRefusal::NoPicture);
    // Fewer values than cells: nothing is read past them.
    const SectorFeatures features =
        SectorFeatures::measure(made_.picture, made_.xQuads, made_.yQuads);
    QCOMPARE(suggestFromExamples(features, values).refusal, TraceRefusal::NoPicture);
    QCOMPARE(traceRefusalText(TraceRefusal::TooFewValues, Plane::Element),
             QStringLiteral("Paint a few Sectors of at least two different elements first"));
  }

  // Apply paints the sure suggestions into unassigned Sectors only, as one undo step.
  void applyIsOneUndoStep() {
    EditorSession session;
    startTerrainMap(session, 0.02);
    PictureTracer tracer(session);
    const TraceSuggestions suggestions = tracer.suggest(Plane::Element);
    QVERIFY(suggestions.ok());
    const std::vector<qint16> before = cellValues(session.document(), Plane::Element);
    // A Sector painted by hand after the suggestions were made keeps its value.
    const int handPainted =
        int(std::find(before.begin(), before.end(), kUnassigned) - before.begin());
    const SectorAddress hand = addressOf(handPainted, made_.xQuads);
    session.document().setValue(hand.quad, hand.sector, Plane::Element, TerrainPicture::River);
    const int steps = session.history().stack().count();

    const TraceOutcome outcome = tracer.apply(Plane::Element, suggestions, 0.6f);
    const std::vector<qint16> after = cellValues(session.document(), Plane::Element);
    int painted = 0, unsure = 0;
    for (std::size_t cell = 0; cell < before.size(); ++cell) {
      const CellSuggestion &suggestion = suggestions.cells[cell];
      if (int(cell) == handPainted) {
        QCOMPARE(after[cell], qint16(TerrainPicture::River));
      } else if (before[cell] != kUnassigned) {
        QCOMPARE(after[cell], before[cell]);
      } else if (suggestion.confidence >= 0.6f) {
        QCOMPARE(after[cell], suggestion.value);
        ++painted;
      } else {
        QCOMPARE(after[cell], kUnassigned);
        ++unsure;
      }
    }
    QCOMPARE(outcome.painted, painted);
    QCOMPARE(outcome.unsure, unsure);
    QCOMPARE(int(outcome.unsureSectors.size()), unsure);
    QVERIFY(painted > 0 && unsure > 0);
    QCOMPARE(session.history().stack().count(), steps + 1);
    QCOMPARE(session.history().stack().undoText(), QStringLiteral("Paint from Picture"));
    session.history().undo();
    std::vector<qint16> undone = before;
    undone[std::size_t(handPainted)] = TerrainPicture::River;
    QVERIFY(cellValues(session.document(), Plane::Element) == undone);
    session.history().redo();
    QVERIFY(cellValues(session.document(), Plane::Element) == after);
  }

  // Fill Similar paints the joined unassigned Sectors suggested as the clicked one's
  // value, and no further.
  void fillSimilarStopsAtAnotherTerrain() {
    EditorSession session;
    startTerrainMap(session, 0.02);
    PictureTracer tracer(session);
    const TraceSuggestions suggestions = tracer.suggest(Plane::Element);
    const std::vector<qint16> before = cellValues(session.document(), Plane::Element);
    const int start = int(std::find(before.begin(), before.end(), kUnassigned) - before.begin());
    session.document().CurrentDrawElement = 12;
    QVERIFY(
        !tracer.fillSimilar(Plane::Element, addressOf(start, made_.xQuads), suggestions).isEmpty());
    QCOMPARE(session.history().stack().undoText(), QStringLiteral("Fill Similar"));
    const std::vector<qint16> after = cellValues(session.document(), Plane::Element);
    const qint16 similar = suggestions.cells[std::size_t(start)].value;
    const int columns = made_.xQuads * 4;
    int filled = 0, stops = 0;
    for (std::size_t cell = 0; cell < after.size(); ++cell) {
      if (after[cell] == before[cell]) continue;
      ++filled;
      QCOMPARE(before[cell], kUnassigned);
      QCOMPARE(suggestions.cells[cell].value, similar);
      // Each unassigned neighbour is either filled too or suggested as something else.
      const int row = int(cell) / columns, column = int(cell) % columns;
      for (const auto &[r, c] :
           {std::pair{row - 1, column}, {row + 1, column}, {row, column - 1}, {row, column + 1}}) {
        if (r < 0 || c < 0 || c >= columns || r >= made_.yQuads * 4) continue;
        const std::size_t next = std::size_t(r * columns + c);
        if (before[next] != kUnassigned) continue;
        if (suggestions.cells[next].value == similar)
          QCOMPARE(after[next], qint16(12));
        else
          ++stops;
      }
    }
    QVERIFY(filled > 0);
    QVERIFY(stops > 0);
    QVERIFY(filled < int(std::count(before.begin(), before.end(), kUnassigned)));
  }

 private:
  void startTerrainMap(EditorSession &session, double share) {
    QVERIFY(session.useCatalogue(CatalogueDatabase()).ok);
    session.startMap(PictureLoader::loadData(test::encodedPicture(made_.picture, "PNG"),
                                             QStringLiteral("battle.png"),
                                             QStringLiteral("battle.png")));
    const std::vector<qint16> examples = made_.examples(share, 11);
    for (std::size_t cell = 0; cell < examples.size(); ++cell) {
      const SectorAddress at = addressOf(int(cell), made_.xQuads);
      session.document().setValue(at.quad, at.sector, Plane::Element, examples[cell]);
    }
  }

  TerrainPicture made_;
};

QTEST_MAIN(LearningTest)
#include "test_learning.moc"
