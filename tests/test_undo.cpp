#include "app/MapHistory.h"
#include "app/widgets/MDIfrmMain.h"
#include "edits/RandomSource.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/widgets/SurfaceWidget.h"
#include "mapview/widgets/frmMapView.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

namespace {

QPoint cellCentre(int quad, int sector) {
  return {40 * (quad % 6) + 10 * (sector % 4) + 5, 40 * (quad / 6) + 10 * (sector / 4) + 5};
}

// Always the top of the range: every variant family ends on its last member.
class TopRandom : public RandomSource {
 public:
  float next() override { return 0.99f; }
};

// Every Sector value of a 6 x 3 map, both planes, plus TotalQuads.
QList<qint16> snapshot(const MapDocument &doc) {
  QList<qint16> values{doc.TotalQuads};
  for (int quad = 0; quad < 18; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector)
      values << doc.value(quad, sector, Plane::Element) << doc.value(quad, sector, Plane::Height);
  return values;
}

// The map and the pixels of both coloured views.
struct MapState {
  QList<qint16> values;
  QImage terrain;
  QImage elevation;
  bool operator==(const MapState &) const = default;
};

}  // namespace

class TestUndo : public QObject {
  Q_OBJECT

  QTemporaryDir home_;
  QString picture_;

  static MapState state(MDIfrmMain &main) {
    const MapSurfaces &s = main.mapView()->surfaces();
    return {snapshot(main.document()), s.surface(MapView::Terrain).copy(),
            s.surface(MapView::Elevation).copy()};
  }

  static void trigger(MDIfrmMain &main, const char *name) {
    QAction *action = main.findChild<QAction *>(name);
    QVERIFY2(action, name);
    action->trigger();
  }

  static QString actionText(MDIfrmMain &main, const char *name) {
    return main.findChild<QAction *>(name)->text();
  }

 private slots:
  void initTestCase() {
    qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8());
    picture_ = test::writePicture(home_.path(), 240, 120);
  }

  void strokeOfTwentySectorsIsOneStep() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    QAction *undo = main->findChild<QAction *>("mnuUndo");
    QAction *redo = main->findChild<QAction *>("mnuRedo");
    QVERIFY(undo && redo);
    QVERIFY(!undo->isEnabled());
    QVERIFY(!redo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Undo"));
    QVERIFY(undo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Z)));
    QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_Y)));
    QVERIFY(redo->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)));
    QCOMPARE(main->findChild<QMenu *>("mnuSearch1")->actions().first(), undo);

    main->document().CurrentDrawElement = 4;
    const MapState before = state(*main);
    QList<QPoint> points;
    for (int x = 5; x < 200; x += 10) points << QPoint(x, 15);  // 20 Sectors over 5 Quads
    test::dragLeft(main->mapView()->Picture2(), points);
    const MapState after = state(*main);
    QCOMPARE(main->history().stack().count(), 1);
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("Undo Paint"));
    QVERIFY(main->windowTitle().startsWith("*Varga Map Maker"));

    undo->trigger();
    for (int quad = 0; quad < 5; ++quad)
      for (int sector = 4; sector < 8; ++sector)
        QCOMPARE(main->document().value(quad, sector, Plane::Element), kUnassigned);
    QVERIFY(state(*main) == before);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(redo->text(), QStringLiteral("Redo Paint"));
    QVERIFY(main->windowTitle().startsWith("Varga Map Maker"));

    redo->trigger();
    QCOMPARE(main->document().value(4, 7, Plane::Element), qint16(4));
    QVERIFY(state(*main) == after);

    // The next press starts a new step.
    test::dragLeft(main->mapView()->Picture2(), {cellCentre(10, 0)});
    QCOMPARE(main->history().stack().count(), 2);
  }

  void strokesInEveryModeAndView_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("elevation");
    QTest::addColumn<QString>("caption");
    const char *names[4] = {"Draw Sector", "Draw Quad", "Erase Sector", "Erase Quad"};
    const char *captions[4] = {"Paint", "Paint", "Erase", "Erase"};
    for (int mode = 0; mode < 4; ++mode)
      for (const bool elevation : {false, true})
        QTest::addRow("%s on %s", names[mode], elevation ? "Elevation" : "Terrain")
            << mode << elevation << QString::fromLatin1(captions[mode]);
  }

  void strokesInEveryModeAndView() {
    QFETCH(int, mode);
    QFETCH(bool, elevation);
    QFETCH(QString, caption);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    MapDocument &doc = main->document();
    // Half of the map painted beforehand, so that every mode has something to change.
    doc.CurrentDrawElement = 4;
    doc.CurrentDrawHeight = 30;
    trigger(*main, "mnuE2");
    test::dragLeft(main->mapView()->Picture2(), {cellCentre(0, 0), cellCentre(1, 0)});
    trigger(*main, "mnuV3");
    test::dragLeft(main->mapView()->Picture4(), {cellCentre(0, 0), cellCentre(1, 0)});
    if (!elevation) trigger(*main, "mnuV2");
    doc.CurrentDrawElement = 7;
    doc.CurrentDrawHeight = 60;
    const int steps = main->history().stack().count();
    const MapState before = state(*main);

    main->setEditMode(mode);
    SurfaceWidget *surface = elevation ? main->mapView()->Picture4() : main->mapView()->Picture2();
    test::dragLeft(surface, {cellCentre(0, 5), cellCentre(1, 6), cellCentre(2, 7)});
    const MapState after = state(*main);
    QVERIFY(!(after == before));
    QCOMPARE(main->history().stack().count(), steps + 1);
    QCOMPARE(actionText(*main, "mnuUndo"), "Undo " + caption);

    trigger(*main, "mnuUndo");
    QVERIFY(state(*main) == before);
    trigger(*main, "mnuRedo");
    QVERIFY(state(*main) == after);
  }

  void bulkEditsAreOneStepEach_data() {
    QTest::addColumn<EditCommand>("command");
    QTest::addColumn<QString>("action");
    const char *actions[] = {"mnuFill", "mnuClear", "Fillheight", "ClearHeight", "R1", "R2", "R3"};
    for (std::size_t i = 0; i < kEditCommands.size(); ++i)
      QTest::newRow(actions[i]) << kEditCommands[i] << QString::fromLatin1(actions[i]);
  }

  void bulkEditsAreOneStepEach() {
    QFETCH(EditCommand, command);
    QFETCH(QString, action);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    main->setRandomSource(std::make_unique<TopRandom>());
    MapDocument &doc = main->document();
    // A tree, a leaf and a brush Sector for the randomisers, and heights to clear.
    trigger(*main, "mnuE2");
    for (const auto &[quad, element] : {std::pair{0, 173}, {1, 10}, {2, 8}, {3, 4}}) {
      doc.CurrentDrawElement = qint16(element);
      test::dragLeft(main->mapView()->Picture2(), {cellCentre(quad, 0)});
    }
    trigger(*main, "mnuV3");
    doc.CurrentDrawHeight = 20;
    test::dragLeft(main->mapView()->Picture4(), {cellCentre(3, 0)});
    doc.CurrentDrawElement = 4;
    const int steps = main->history().stack().count();
    const MapState before = state(*main);

    main->findChild<QAction *>(action)->trigger();
    const MapState after = state(*main);
    QVERIFY(!(after.values == before.values));
    QCOMPARE(main->history().stack().count(), steps + 1);
    QCOMPARE(actionText(*main, "mnuUndo"), "Undo " + editCommandCaption(command));

    trigger(*main, "mnuUndo");
    QVERIFY(state(*main) == before);
    trigger(*main, "mnuRedo");
    QVERIFY(state(*main) == after);
  }

  void mapDataImportAndExportSetTheCleanState() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    MapDocument &doc = main->document();
    QVERIFY(main->windowTitle().startsWith("Varga Map Maker"));

    // A map file of 4 Quads, Quad 2 full of element 9.
    MapDocument other;
    other.TotalQuads = 4;
    for (int s = 0; s < kSectorsPerQuad; ++s) other.setValue(2, s, Plane::Element, 9);
    const QString file = home_.filePath("four.txt");
    QVERIFY(SaveAsVargaTXT(other, file).ok);

    doc.CurrentDrawElement = 4;
    test::dragLeft(main->mapView()->Picture2(), {cellCentre(2, 0), cellCentre(3, 0)});
    const MapState painted = state(*main);
    QVERIFY(!main->history().isClean());

    dialogs.openNames.push_back(file);
    trigger(*main, "mnuImportMapData");
    QCOMPARE(doc.value(2, 15, Plane::Element), qint16(9));
    QCOMPARE(doc.value(3, 0, Plane::Element), qint16(4));  // -1 in the file keeps the value
    QCOMPARE(doc.TotalQuads, qint16(4));
    QCOMPARE(actionText(*main, "mnuUndo"), QStringLiteral("Undo Import Map Data"));
    QVERIFY(main->windowTitle().startsWith("Varga Map Maker"));  // clean after the import
    const MapState imported = state(*main);

    trigger(*main, "mnuUndo");
    QVERIFY(state(*main) == painted);  // TotalQuads back to 18 as well
    QVERIFY(main->windowTitle().startsWith("*Varga Map Maker"));
    trigger(*main, "mnuRedo");
    QVERIFY(state(*main) == imported);
    QVERIFY(main->history().isClean());

    // Export marks the point; undoing away and redoing back returns to it.
    test::dragLeft(main->mapView()->Picture2(), {cellCentre(5, 0)});
    QVERIFY(!main->history().isClean());
    dialogs.saveNames.push_back(home_.filePath("saved.txt"));
    trigger(*main, "mnuSave");
    QVERIFY(main->history().isClean());
    QVERIFY(main->windowTitle().startsWith("Varga Map Maker"));
    trigger(*main, "mnuUndo");
    QVERIFY(main->windowTitle().startsWith("*Varga Map Maker"));
    trigger(*main, "mnuRedo");
    QVERIFY(main->history().isClean());
    // A failed or cancelled export does not mark anything.
    test::dragLeft(main->mapView()->Picture2(), {cellCentre(6, 0)});
    dialogs.saveNames.push_back(QString());
    trigger(*main, "mnuSave");
    QVERIFY(!main->history().isClean());
    // A Tolle export is not the map's own format.
    dialogs.saveNames.push_back(home_.filePath("tolle.txt"));
    trigger(*main, "MnuTolle");
    QVERIFY(!main->history().isClean());
  }

  void closeBoxAsksWhenUnsaved_data() {
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QString>("saveName");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Export") << MessageAnswer::Export << "closing.txt" << true;
    QTest::newRow("Export, file dialog cancelled") << MessageAnswer::Export << "" << false;
    QTest::newRow("Discard") << MessageAnswer::Discard << "" << true;
    QTest::newRow("Cancel") << MessageAnswer::Cancel << "" << false;
  }

  void closeBoxAsksWhenUnsaved() {
    QFETCH(MessageAnswer, answer);
    QFETCH(QString, saveName);
    QFETCH(bool, closes);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    main->document().CurrentDrawElement = 4;
    test::dragLeft(main->mapView()->Picture2(), {cellCentre(0, 0)});
    const QString path = saveName.isEmpty() ? QString() : home_.filePath(saveName);
    dialogs.answers.push_back(answer);
    dialogs.saveNames.push_back(path);
    QCOMPARE(main->close(), closes);
    QCOMPARE(main->isVisible(), !closes);
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].buttons, MessageButtons::ExportDiscardCancel);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Unsaved Changes"));
    QCOMPARE(QFile::exists(path), !path.isEmpty());
    if (!closes) QCOMPARE(main->document().value(0, 0, Plane::Element), qint16(4));
  }

  void closingSavedWorkAndExitQuestion() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, picture_);
    QVERIFY(main);
    dialogs.answers = {MessageAnswer::No, MessageAnswer::No};
    trigger(*main, "mnuExit");
    QCOMPARE(dialogs.messages.last().text, QStringLiteral("Are you sure you wish to EXIT ?"));
    main->document().CurrentDrawElement = 4;
    test::dragLeft(main->mapView()->Picture2(), {cellCentre(0, 0)});
    trigger(*main, "mnuExit");
    const QStringList lines = dialogs.messages.last().text.split('\n');
    QCOMPARE(lines.first(), QStringLiteral("Are you sure you wish to EXIT ?"));
    QVERIFY(lines.last().contains("lost"));
    QCOMPARE(dialogs.messages.last().title, QStringLiteral("EXIT Database?"));
    // Undone back to the start: nothing unsaved, the close box closes without asking.
    trigger(*main, "mnuUndo");
    QVERIFY(main->close());
    QCOMPARE(dialogs.messages.size(), 2);
  }

  void historyMergesAndRestoresWithoutWindows() {
    MapDocument doc;
    MapHistory history(doc);
    const int stroke = history.newStrokeId();
    for (const qint16 value : {qint16(3), qint16(5)}) {
      history.beginStep("Paint", StepRepaint::Sectors, stroke);
      doc.setValue(1, 2, Plane::Element, value);
      doc.setValue(1, 3, Plane::Height, value);
      history.endStep();
    }
    // A Sector painted and returned to its value within a step leaves no trace.
    history.beginStep("Paint", StepRepaint::Sectors, history.newStrokeId());
    doc.setValue(7, 0, Plane::Element, 1);
    doc.setValue(7, 0, Plane::Element, kUnassigned);
    history.endStep();
    QCOMPARE(history.stack().count(), 1);

    std::vector<SectorEdit> restored;
    connect(&history, &MapHistory::sectorsRestored, this,
            [&restored](const std::vector<SectorEdit> &edits, StepRepaint) { restored = edits; });
    history.undo();
    QCOMPARE(doc.value(1, 2, Plane::Element), kUnassigned);
    QCOMPARE(doc.value(1, 3, Plane::Height), kUnassigned);
    QCOMPARE(restored.size(), std::size_t(2));
    history.redo();
    QCOMPARE(doc.value(1, 2, Plane::Element), qint16(5));
    QCOMPARE(doc.value(1, 3, Plane::Height), qint16(5));

    // Changes made outside any step still count, consecutive ones as one step;
    // a step also carries the Quad count.
    doc.setValue(9, 9, Plane::Element, 2);
    doc.setValue(9, 10, Plane::Element, 2);
    QCOMPARE(history.stack().count(), 2);
    {
      HistoryStep step(&history, "Import Map Data");
      doc.TotalQuads = 40;
    }
    QCOMPARE(history.stack().count(), 3);
    history.undo();
    QCOMPARE(doc.TotalQuads, qint16(0));
    history.undo();
    QCOMPARE(doc.value(9, 10, Plane::Element), kUnassigned);
    QVERIFY(!history.isClean());
    history.undo();
    QVERIFY(history.isClean());
    QVERIFY(!history.canUndo());
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
