// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MapHistory.h"
#include "mapfiles/MapTextWriter.h"
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QtTest>

using namespace vmm;
using test::sectorCentre;
using test::trigger;

namespace {

QString undoText(MainWindow &main) {
  return main.findChild<QAction *>("mnuUndo")->text();
}

bool titleMarksUnsaved(MainWindow &main) {
  return main.windowTitle().startsWith('*');
}

}  // namespace

class TestUndo : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  std::unique_ptr<test::ScriptedDialogs> dialogs_;
  std::unique_ptr<MainWindow> main_;  // a shown window with the 240 x 120 picture imported

 private slots:
  void init() {
    dialogs_ = std::make_unique<test::ScriptedDialogs>();
    main_ = test::openShownMap(*dialogs_, home_.picture);
    QVERIFY(main_);
  }

  void cleanup() { main_.reset(); }

  void strokeAndFillAreOneStepEach() {
    QVERIFY(!main_->findChild<QAction *>("mnuUndo")->isEnabled());
    main_->session().document().CurrentDrawElement = 4;
    const test::MapState before = test::mapState(*main_);
    QList<QPoint> points;
    for (int x = 5; x < 200; x += 10) points << QPoint(x, 15);  // 20 Sectors over 5 Quads
    test::dragLeft(main_->mapView()->surfaceWidget(MapView::Terrain), points);
    QCOMPARE(main_->session().history().stack().count(), 1);
    QCOMPARE(undoText(*main_), QStringLiteral("Undo Paint"));
    QVERIFY(titleMarksUnsaved(*main_));
    QVERIFY(test::undoRedoRestores(*main_, before, test::mapState(*main_)));
    trigger(main_.get(), "mnuUndo");
    QVERIFY(!titleMarksUnsaved(*main_));
    QVERIFY(!main_->findChild<QAction *>("mnuUndo")->isEnabled());

    // The next press starts a new step, and a fill of the whole map is one step as well.
    trigger(main_.get(), "mnuRedo");
    test::dragLeft(main_->mapView()->surfaceWidget(MapView::Terrain), {sectorCentre(10, 0)});
    QCOMPARE(main_->session().history().stack().count(), 2);
    const test::MapState painted = test::mapState(*main_);
    trigger(main_.get(), "mnuFill");
    QCOMPARE(main_->session().history().stack().count(), 3);
    QCOMPARE(undoText(*main_), "Undo " + editCommandCaption(EditCommand::FillElement));
    QVERIFY(test::undoRedoRestores(*main_, painted, test::mapState(*main_)));
  }

  void mapDataImportIsOneCleanStep() {
    // A map file of 4 Quads, Quad 2 full of element 9.
    MapDocument other;
    other.TotalQuads = 4;
    for (int s = 0; s < kSectorsPerQuad; ++s) other.setValue(2, s, Plane::Element, 9);
    const QString file = home_.filePath("four.txt");
    QVERIFY(SaveAsVargaTXT(other, file).ok);

    main_->session().document().CurrentDrawElement = 4;
    test::dragLeft(main_->mapView()->surfaceWidget(MapView::Terrain),
                   {sectorCentre(2, 0), sectorCentre(3, 0)});
    const test::MapState painted = test::mapState(*main_);
    dialogs_->openNames.push_back(file);
    trigger(main_.get(), "mnuImportMapData");
    QCOMPARE(undoText(*main_), QStringLiteral("Undo Import Map Data"));
    QVERIFY(!titleMarksUnsaved(*main_));  // clean after the import
    // TotalQuads back to 18 as well.
    QVERIFY(test::undoRedoRestores(*main_, painted, test::mapState(*main_)));
    QVERIFY(main_->session().history().isClean());
  }

  // The question's other answers: test_projects (unsavedWorkQuestions).
  void closeBoxAsksOnlyWhenUnsaved() {
    main_->session().document().CurrentDrawElement = 4;
    test::dragLeft(main_->mapView()->surfaceWidget(MapView::Terrain), {sectorCentre(0, 0)});
    dialogs_->answers.push_back(MessageAnswer::Save);  // and the save dialog it opens is cancelled
    QVERIFY(!main_->close());
    QCOMPARE(dialogs_->messages.size(), 1);
    QCOMPARE(main_->session().document().value(0, 0, Plane::Element), qint16(4));
    trigger(main_.get(), "mnuUndo");  // back to the start: nothing to ask
    QVERIFY(main_->close());
    QCOMPARE(dialogs_->messages.size(), 1);
  }
};

QTEST_MAIN(TestUndo)
#include "test_undo.moc"
