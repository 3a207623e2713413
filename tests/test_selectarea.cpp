// SPDX-License-Identifier: GPL-3.0-or-later
// Select Area in the editor: the mode's button, item and key, selecting with the mouse (Shift
// adds, Ctrl takes away, Alt + click the wand), the outline and the size in the status bar,
// moving with a drag and the arrows, and the clipboard between two editors: a floating paste
// that turns with the keys and lands on a click, and a refused paste of unknown elements.
#include "edits/SectorClipboard.h"
#include "support/AreaDriver.h"
#include "support/TestSupport.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SelectionOverlay.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QMimeData>
#include <QRadioButton>
#include <QtTest>

using namespace vmm;
using test::block;
using test::cellCentre;
using test::Cells;
using test::cellsOf;
using test::joined;
using test::trigger;

class TestSelectArea : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  std::unique_ptr<test::ScriptedDialogs> dialogs_;
  std::unique_ptr<MainWindow> main_;  // a shown window with the 240 x 120 picture imported
  std::unique_ptr<test::AreaDriver> hand_;

  EditorSession &session() { return main_->session(); }
  SurfaceWidget *terrain() { return main_->mapView()->surfaceWidget(MapView::Terrain); }
  SelectionOverlay *overlay() { return main_->mapView()->selectionOverlay(); }
  void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(terrain(), key, modifiers);
  }
  void drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    test::dragLeft(terrain(), {cellCentre(from.x(), from.y()), cellCentre(to.x(), to.y())},
                   modifiers);
  }

 private slots:
  void init() {
    dialogs_ = std::make_unique<test::ScriptedDialogs>();
    main_ = test::openShownMap(*dialogs_, home_.picture);
    QVERIFY(main_);
    hand_ = std::make_unique<test::AreaDriver>(*main_);
    // Element 2 on the left half of the map, 3 on the right.
    session().document().CurrentDrawElement = 2;
    trigger(main_.get(), "mnuFill");
    const SectorGrid grid(session().document());
    session().selectRectangle(grid.address({12, 0}), grid.address({23, 11}),
                              SelectionChange::Replace);
    session().document().CurrentDrawElement = 3;
    session().replaceValue(Plane::Element, 2, 3);
    session().selectNone();
    session().repaintWholeMap();
    main_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(main_.get()));
    terrain()->setFocus();
  }

  void cleanup() {
    hand_.reset();
    main_.reset();
  }

  void selectingWithTheMouse() {
    // The sixth mode: its button after Fill Area, its item and the key M.
    key(Qt::Key_M);
    QCOMPARE(session().editMode(), EditMode::SelectArea);
    QVERIFY(main_->toolBar()->editModeButton(EditMode::SelectArea)->isChecked());
    QCOMPARE(main_->toolBar()->editModeButton(EditMode::SelectArea)->objectName(),
             QStringLiteral("Option1_5"));
    const test::MapState before = test::mapState(*main_);

    drag({1, 1}, {4, 3});
    QCOMPARE(cellsOf(session().selection()), block(1, 1, 4, 3));
    drag({6, 6}, {7, 7}, Qt::ShiftModifier);
    QCOMPARE(cellsOf(session().selection()), joined(block(1, 1, 4, 3), block(6, 6, 7, 7)));
    drag({1, 1}, {2, 3}, Qt::ControlModifier);
    QCOMPARE(cellsOf(session().selection()), joined(block(3, 1, 4, 3), block(6, 6, 7, 7)));
    QCOMPARE(main_->findChild<QLabel *>("selectionSize")->text(),
             QStringLiteral("Selected: 5 x 7, 10 Sectors"));
    // The outline animates along the selection's edges and repaints only strips along them.
    QVERIFY(overlay()->isAnimating());
    QVERIFY(overlay()->animatedArea().boundingRect().contains(QRect(30, 10, 21, 31)));
    QVERIFY(!overlay()->animatedArea().contains(QPoint(40, 20)));

    // The wand: Sectors joined to the clicked one holding its element.
    hand_->click(MapView::Terrain, cellCentre(20, 5), Qt::AltModifier);
    QCOMPARE(cellsOf(session().selection()), block(12, 0, 23, 11));
    // Select Same Element by its key takes the element under the pointer, from the menu the
    // element painted with.
    test::sendMouseMove(terrain(), cellCentre(2, 2), Qt::NoButton);
    QCursor::setPos(terrain()->mapToGlobal(cellCentre(2, 2)));
    key(Qt::Key_M, Qt::ShiftModifier);
    QCOMPARE(cellsOf(session().selection()), block(0, 0, 11, 11));
    QCursor::setPos(main_->mapToGlobal(QPoint(2, 2)));  // on the menu bar
    trigger(main_.get(), "mnuSelectSame");
    QCOMPARE(cellsOf(session().selection()), block(12, 0, 23, 11));
    // Escape with nothing floating selects nothing; none of it was a change to the map.
    key(Qt::Key_Escape);
    QVERIFY(session().selection().isEmpty());
    QVERIFY(main_->findChild<QLabel *>("selectionSize")->text().isEmpty());
    QVERIFY(!overlay()->isAnimating());
    QVERIFY(test::mapState(*main_) == before);
    QCOMPARE(session().history().stack().count(), 2);  // the fill and replace of init()
  }

  void movingWithADragAndTheArrows() {
    trigger(main_.get(), "mnuSelectArea");
    drag({10, 2}, {13, 4});  // across the 2 / 3 border
    const SectorBlock moved = session().copySelection();
    test::MapState before = test::mapState(*main_);
    // A click inside keeps the selection; a drag inside moves it.
    hand_->click(MapView::Terrain, cellCentre(11, 3));
    QCOMPARE(cellsOf(session().selection()), block(10, 2, 13, 4));
    drag({11, 3}, {13, 6});
    QCOMPARE(cellsOf(session().selection()), block(12, 5, 15, 7));
    QCOMPARE(overlay()->dragOffset(), QPoint());
    QVERIFY(test::undoRedoRestores(*main_, before, test::mapState(*main_)));
    before = test::mapState(*main_);
    key(Qt::Key_Left, Qt::ShiftModifier);
    key(Qt::Key_Down);
    QCOMPARE(cellsOf(session().selection()), block(8, 6, 11, 8));
    QCOMPARE(session().copySelection(), moved);
    QCOMPARE(main_->findChild<QAction *>("mnuUndo")->text(), QStringLiteral("Undo Move"));
    trigger(main_.get(), "mnuUndo");
    trigger(main_.get(), "mnuUndo");
    QVERIFY(test::mapState(*main_) == before);
  }

  void pastingIntoAnotherEditor() {
    trigger(main_.get(), "mnuSelectArea");
    drag({10, 0}, {14, 2});  // 5 x 3 across the border
    trigger(main_.get(), "mnuCopy");
    const QMimeData *copied = QApplication::clipboard()->mimeData();
    QVERIFY(copied->hasFormat(QLatin1String(kSectorsMimeType)));
    QCOMPARE(copied->text().count('\n'), 3);

    // Another editor, another map: the paste floats until a click places it.
    test::ScriptedDialogs otherDialogs;
    auto other = test::openShownMap(otherDialogs, home_.picture);
    QVERIFY(other);
    trigger(other.get(), "mnuPaste");
    SelectionOverlay *floating = other->mapView()->selectionOverlay();
    QVERIFY(floating->isFloating());
    QCOMPARE(other->session().editMode(), EditMode::SelectArea);
    SurfaceWidget *otherTerrain = other->mapView()->surfaceWidget(MapView::Terrain);
    test::sendMouseMove(otherTerrain, cellCentre(2, 4), Qt::NoButton);
    QCOMPARE(floating->floatPosition(), (SectorCell{2, 4}));
    // Z turns the floating block clockwise: 5 x 3 becomes 3 x 5.
    trigger(other.get(), "mnuRotateClockwise");
    QCOMPARE(floating->floatingBlock().width, 3);
    const test::MapState empty = test::mapState(*other);
    test::AreaDriver otherHand(*other);
    otherHand.click(MapView::Terrain, cellCentre(2, 4));
    QVERIFY(!floating->isFloating());
    QCOMPARE(cellsOf(other->session().selection()), block(2, 4, 4, 8));
    QCOMPARE(otherHand.cellsHolding(Plane::Element, 2), block(2, 4, 4, 5));
    QCOMPARE(otherHand.cellsHolding(Plane::Element, 3), block(2, 6, 4, 8));
    QCOMPARE(other->findChild<QAction *>("mnuUndo")->text(), QStringLiteral("Undo Paste"));
    QVERIFY(test::undoRedoRestores(*other, empty, test::mapState(*other)));

    // Escape drops a floating paste without a change.
    trigger(other.get(), "mnuPaste");
    QVERIFY(floating->isFloating());
    other->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(other.get()));
    QTest::keyClick(otherTerrain, Qt::Key_Escape);
    QVERIFY(!floating->isFloating());
    QVERIFY(!other->session().selection().isEmpty());
  }

  void unknownElementsAreRefusedByNumber() {
    SectorBlock foreign = SectorBlock::blank(3, 1);
    foreign.elements = {2, 900, 777};
    auto *data = new QMimeData;
    data->setData(QLatin1String(kSectorsMimeType), encodeSectors(foreign));
    QApplication::clipboard()->setMimeData(data);
    const test::MapState before = test::mapState(*main_);
    trigger(main_.get(), "mnuPaste");
    QCOMPARE(dialogs_->messages.size(), 1);
    QCOMPARE(dialogs_->messages.first().text,
             QStringLiteral("The catalogue has no element numbered 777, 900: nothing was pasted."));
    QVERIFY(!overlay()->isFloating());
    QVERIFY(test::mapState(*main_) == before);

    // Text alone (a spreadsheet's cells) is no map's Sectors.
    QApplication::clipboard()->setText(QStringLiteral("2\t3\n"));
    trigger(main_.get(), "mnuPaste");
    QCOMPARE(dialogs_->messages.last().text,
             QStringLiteral("The clipboard holds no Sectors of a map."));
  }
};

QTEST_MAIN(TestSelectArea)
#include "test_selectarea.moc"
