#include "app/MapHistory.h"
#include "app/widgets/MDIfrmMain.h"
#include "edits/RandomSource.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/widgets/SurfaceWidget.h"
#include "mapview/widgets/frmMapView.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QtTest>

using namespace vmm;
using test::sectorCentre;
using test::trigger;

namespace {

// Always the top of the range: every variant family ends on its last member.
class TopRandom : public RandomSource {
 public:
  float next() override { return 0.99f; }
};

// The map (every Sector of a 6 x 3 map, both planes, and TotalQuads) and both coloured views.
struct MapState {
  QList<qint16> values;
  QImage terrain;
  QImage elevation;
  bool operator==(const MapState &) const = default;
};

MapState state(MDIfrmMain &main) {
  const MapDocument &doc = main.document();
  MapState s{{doc.TotalQuads},
             main.mapView()->surfaces().surface(MapView::Terrain).copy(),
             main.mapView()->surfaces().surface(MapView::Elevation).copy()};
  for (int quad = 0; quad < 18; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      s.values << doc.value(quad, sector, Plane::Element) << doc.value(quad, sector, Plane::Height);
  return s;
}

QString undoText(MDIfrmMain &main) {
  return main.findChild<QAction *>("mnuUndo")->text();
}

bool titleMarksUnsaved(MDIfrmMain &main) {
  return main.windowTitle().startsWith('*');
}

}  // namespace

class TestUndo : public QObject {
  Q_OBJECT

  test::EditorHome home_;

  // Undo restores the state before, redo the state after, exactly.
  static void verifyUndoRedo(MDIfrmMain &main, const MapState &before, const MapState &after) {
    QVERIFY(!(after == before));
    trigger(&main, "mnuUndo");
    QVERIFY(state(main) == before);
    trigger(&main, "mnuRedo");
    QVERIFY(state(main) == after);
  }

 private slots:
  void strokeOfTwentySectorsIsOneStep() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    QVERIFY(!main->findChild<QAction *>("mnuUndo")->isEnabled());
    main->document().CurrentDrawElement = 4;
    const MapState before = state(*main);
    QList<QPoint> points;
    for (int x = 5; x < 200; x += 10) points << QPoint(x, 15);  // 20 Sectors over 5 Quads
    test::dragLeft(main->mapView()->Picture2(), points);
    QCOMPARE(main->history().stack().count(), 1);
    QCOMPARE(undoText(*main), QStringLiteral("Undo Paint"));
    QVERIFY(titleMarksUnsaved(*main));
    verifyUndoRedo(*main, before, state(*main));
    trigger(main.get(), "mnuUndo");
    QVERIFY(!titleMarksUnsaved(*main));
    QVERIFY(!main->findChild<QAction *>("mnuUndo")->isEnabled());

    // The next press starts a new step.
    trigger(main.get(), "mnuRedo");
    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(10, 0)});
    QCOMPARE(main->history().stack().count(), 2);
  }

  void strokesInModesAndViews_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("elevation");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Draw Quad on Elevation") << 1 << true << "Paint";
    QTest::newRow("Erase Sector on Elevation") << 2 << true << "Erase";
  }

  void strokesInModesAndViews() {
    QFETCH(int, mode);
    QFETCH(bool, elevation);
    QFETCH(QString, caption);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    MapDocument &doc = main->document();
    // Two Quads painted on both planes beforehand, so that every mode has something to change.
    doc.CurrentDrawElement = 4;
    doc.CurrentDrawHeight = 30;
    trigger(main.get(), "mnuE2");
    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(0, 0), sectorCentre(1, 0)});
    trigger(main.get(), "mnuV3");
    test::dragLeft(main->mapView()->Picture4(), {sectorCentre(0, 0), sectorCentre(1, 0)});
    if (!elevation) trigger(main.get(), "mnuV2");
    doc.CurrentDrawElement = 7;
    doc.CurrentDrawHeight = 60;
    const int steps = main->history().stack().count();
    const MapState before = state(*main);

    main->setEditMode(mode);
    SurfaceWidget *surface = elevation ? main->mapView()->Picture4() : main->mapView()->Picture2();
    test::dragLeft(surface, {sectorCentre(0, 5), sectorCentre(1, 6), sectorCentre(2, 7)});
    QCOMPARE(main->history().stack().count(), steps + 1);
    QCOMPARE(undoText(*main), "Undo " + caption);
    verifyUndoRedo(*main, before, state(*main));
  }

  void bulkEditsAreOneStepEach_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Fill") << "mnuFill" << editCommandCaption(EditCommand::FillElement);
    QTest::newRow("Clear heights") << "ClearHeight" << editCommandCaption(EditCommand::ClearHeight);
    QTest::newRow("Randomise trees") << "R1" << editCommandCaption(EditCommand::RandomiseTrees);
  }

  void bulkEditsAreOneStepEach() {
    QFETCH(QString, action);
    QFETCH(QString, caption);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    main->setRandomSource(std::make_unique<TopRandom>());
    MapDocument &doc = main->document();
    // A tree Sector for the randomiser and a height to clear.
    doc.CurrentDrawElement = 173;
    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(0, 0)});
    trigger(main.get(), "mnuV3");
    doc.CurrentDrawHeight = 20;
    test::dragLeft(main->mapView()->Picture4(), {sectorCentre(3, 0)});
    doc.CurrentDrawElement = 4;
    const int steps = main->history().stack().count();
    const MapState before = state(*main);

    trigger(main.get(), qPrintable(action));
    QCOMPARE(main->history().stack().count(), steps + 1);
    QCOMPARE(undoText(*main), "Undo " + caption);
    verifyUndoRedo(*main, before, state(*main));
  }

  void mapDataImportAndExportSetTheCleanState() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    MapDocument &doc = main->document();

    // A map file of 4 Quads, Quad 2 full of element 9.
    MapDocument other;
    other.TotalQuads = 4;
    for (int s = 0; s < kSectorsPerQuad; ++s) other.setValue(2, s, Plane::Element, 9);
    const QString file = home_.filePath("four.txt");
    QVERIFY(SaveAsVargaTXT(other, file).ok);

    doc.CurrentDrawElement = 4;
    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(2, 0), sectorCentre(3, 0)});
    const MapState painted = state(*main);
    dialogs.openNames.push_back(file);
    trigger(main.get(), "mnuImportMapData");
    QCOMPARE(doc.value(2, 15, Plane::Element), qint16(9));
    QCOMPARE(doc.value(3, 0, Plane::Element), qint16(4));  // -1 in the file keeps the value
    QCOMPARE(doc.TotalQuads, qint16(4));
    QCOMPARE(undoText(*main), QStringLiteral("Undo Import Map Data"));
    QVERIFY(!titleMarksUnsaved(*main));            // clean after the import
    verifyUndoRedo(*main, painted, state(*main));  // TotalQuads back to 18 as well
    QVERIFY(main->history().isClean());

    // Export marks the point; undoing away and redoing back returns to it.
    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(5, 0)});
    dialogs.saveNames.push_back(home_.filePath("saved.txt"));
    trigger(main.get(), "mnuSave");
    QVERIFY(main->history().isClean());
    trigger(main.get(), "mnuUndo");
    QVERIFY(titleMarksUnsaved(*main));
    trigger(main.get(), "mnuRedo");
    QVERIFY(main->history().isClean());
    // A cancelled export marks nothing, nor does a Tolle export: it is not the map's own format.
    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(6, 0)});
    dialogs.saveNames = {QString(), home_.filePath("tolle.txt")};
    trigger(main.get(), "mnuSave");
    trigger(main.get(), "MnuTolle");
    QVERIFY(QFile::exists(home_.filePath("tolle.txt")));
    QVERIFY(!main->history().isClean());
    // The Exit question warns of the unsaved work.
    dialogs.answers = {MessageAnswer::No};
    trigger(main.get(), "mnuExit");
    QVERIFY(dialogs.messages.last().text.startsWith("Are you sure you wish to EXIT ?\n"));
    QVERIFY(dialogs.messages.last().text.contains("lost"));
  }

  void closeBoxAsksWhenUnsaved_data() {
    QTest::addColumn<bool>("undoFirst");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QString>("saveName");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Export") << false << MessageAnswer::Export << "closing.txt" << true;
    QTest::newRow("Export, file dialog cancelled") << false << MessageAnswer::Export << "" << false;
    QTest::newRow("Cancel") << false << MessageAnswer::Cancel << "" << false;
    QTest::newRow("undone to the start: no question")
        << true << MessageAnswer::Cancel << "" << true;
  }

  void closeBoxAsksWhenUnsaved() {
    QFETCH(bool, undoFirst);
    QFETCH(MessageAnswer, answer);
    QFETCH(QString, saveName);
    QFETCH(bool, closes);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    main->document().CurrentDrawElement = 4;
    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(0, 0)});
    if (undoFirst) trigger(main.get(), "mnuUndo");
    const QString path = saveName.isEmpty() ? QString() : home_.filePath(saveName);
    dialogs.answers.push_back(answer);
    dialogs.saveNames.push_back(path);
    QCOMPARE(main->close(), closes);
    QCOMPARE(dialogs.messages.size(), undoFirst ? 0 : 1);
    if (!undoFirst) QCOMPARE(dialogs.messages[0].buttons, MessageButtons::ExportDiscardCancel);
    QCOMPARE(QFile::exists(path), !path.isEmpty());
    if (!closes) QCOMPARE(main->document().value(0, 0, Plane::Element), qint16(4));
  }

  void historyStaysWithinItsBound() {
    MapDocument doc;
    MapHistory small(doc, 10);
    for (int step = 1; step <= 25; ++step) {
      HistoryStep s(&small, QString::number(step), StepRepaint::Sectors);
      for (int sector = 0; sector < kSectorsPerQuad; ++sector)
        doc.setValue(step, sector, Plane::Element, qint16(step));
    }
    QCOMPARE(small.stack().count(), 10);
    while (small.canUndo()) small.undo();
    QCOMPARE(doc.value(15, 0, Plane::Element), qint16(15));  // beyond the bound: kept
    QCOMPARE(doc.value(16, 0, Plane::Element), kUnassigned);

    // The default bound, passed by a long session of whole-map steps.
    MapDocument big;
    big.TotalQuads = 5001;
    MapHistory history(big);
    for (int step = 0; step < MapHistory::kDefaultStepLimit + 20; ++step) {
      HistoryStep s(&history, "Fill");
      for (int quad = 0; quad < kQuadCapacity; quad += step % 2 == 0 ? 1 : 50)
        big.setValue(quad, step % kSectorsPerQuad, Plane::Height, qint16(step % 100));
    }
    QCOMPARE(history.stack().count(), MapHistory::kDefaultStepLimit);
    // 8 bytes for each Sector of each step kept, and little more.
    const qsizetype sectors = qsizetype(MapHistory::kDefaultStepLimit / 2) * (kQuadCapacity + 101);
    QVERIFY2(history.byteSize() < sectors * 8 + MapHistory::kDefaultStepLimit * 256,
             qPrintable(QString::number(history.byteSize())));
  }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
