#include "app/MapHistory.h"
#include "app/widgets/MDIfrmMain.h"
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

  void fillIsOneStep() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    main->document().CurrentDrawElement = 4;
    const MapState before = state(*main);
    trigger(main.get(), "mnuFill");
    QCOMPARE(main->history().stack().count(), 1);
    QCOMPARE(undoText(*main), "Undo " + editCommandCaption(EditCommand::FillElement));
    verifyUndoRedo(*main, before, state(*main));
  }

  void mapDataImportIsOneCleanStep() {
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

    test::dragLeft(main->mapView()->Picture2(), {sectorCentre(5, 0)});
    // The Exit question warns of the unsaved work.
    dialogs.answers = {MessageAnswer::No};
    trigger(main.get(), "mnuExit");
    QVERIFY(dialogs.messages.last().text.startsWith("Are you sure you wish to EXIT ?\n"));
    QVERIFY(dialogs.messages.last().text.contains("lost"));
    QCOMPARE(dialogs.messages.last().title, QStringLiteral("EXIT Database?"));
    QCOMPARE(dialogs.messages.last().buttons, MessageButtons::YesNo);
    QCOMPARE(dialogs.messages.last().defaultAnswer, MessageAnswer::No);
    QVERIFY(main->isVisible());
  }

  void closeBoxAsksWhenUnsaved_data() {
    QTest::addColumn<bool>("undoFirst");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<QString>("saveName");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Export, file dialog cancelled") << false << MessageAnswer::Export << "" << false;
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
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
