// SPDX-License-Identifier: GPL-3.0-or-later
// Selections in the core: the gestures on both planes, copy and paste across Quad borders and
// the picture's edges, flips and turns, moving, the clipboard's format as outside input, and
// the tools kept inside a selection. Every change is one named step that undo and redo take
// back and bring again with both views' pixels, and repaints exactly what a whole repaint shows.
#include "edits/SectorClipboard.h"
#include "support/AreaDriver.h"
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"

#include <QAction>
#include <QtEndian>
#include <QtTest>

using namespace vmm;
using test::block;
using test::Cells;
using test::cellsOf;
using test::joined;

Q_DECLARE_METATYPE(vmm::BlockTurn)
Q_DECLARE_METATYPE(vmm::Plane)
Q_DECLARE_METATYPE(vmm::DrawStyle)

namespace {

// The map every test starts from, 24 x 12 Sectors: element 2 on the left half and 3 on the
// right with islands of 4 (3 x 3 at (2, 2) and 2 x 2 at (20, 8)); height 10 on the top half and
// 20 below with an island of 30 (3 x 2 at (14, 1)); column 23 is unassigned on both planes.
qint16 patternElement(int column, int row) {
  if (column == 23) return kUnassigned;
  if ((column >= 2 && column <= 4 && row >= 2 && row <= 4) ||
      (column >= 20 && column <= 21 && row >= 8 && row <= 9))
    return 4;
  return column < 12 ? 2 : 3;
}
qint16 patternHeight(int column, int row) {
  if (column == 23) return kUnassigned;
  if (column >= 14 && column <= 16 && row >= 1 && row <= 2) return 30;
  return row < 6 ? 10 : 20;
}

// The values of both planes cell by cell, row by row.
QList<qint16> valuesOf(const MapDocument &doc) {
  const SectorGrid grid(doc);
  QList<qint16> values;
  for (int row = 0; row < grid.rows(); ++row)
    for (int column = 0; column < grid.columns(); ++column) {
      const SectorAddress at = grid.address({column, row});
      values << doc.value(at.quad, at.sector, Plane::Element)
             << doc.value(at.quad, at.sector, Plane::Height);
    }
  return values;
}

}  // namespace

class TestSelection : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  std::unique_ptr<test::ScriptedDialogs> dialogs_;
  std::unique_ptr<MainWindow> main_;

  EditorSession &session() { return main_->session(); }
  MapDocument &doc() { return session().document(); }
  SectorAddress at(int column, int row) { return SectorGrid(doc()).address({column, row}); }
  qint16 value(int column, int row, Plane plane) {
    const SectorAddress address = at(column, row);
    return doc().value(address.quad, address.sector, plane);
  }
  QString undoText() { return main_->findChild<QAction *>("mnuUndo")->text(); }

  // True when the views show what a whole repaint of the map shows: the change repainted
  // every Sector it wrote, and no more was needed.
  bool viewsMatchWholeRepaint() {
    const test::MapState shown = test::mapState(*main_);
    session().repaintWholeMap();
    return shown == test::mapState(*main_);
  }

  // Runs the change and checks it as every selection edit is checked: one step of that name,
  // the repaint, undo and redo with both views' pixels.
  void checkStep(const QString &name, const std::function<void()> &change) {
    const test::MapState before = test::mapState(*main_);
    const int steps = session().history().stack().count();
    change();
    QCOMPARE(session().history().stack().count(), steps + 1);
    QCOMPARE(undoText(), QStringLiteral("Undo ") + name);
    QVERIFY(viewsMatchWholeRepaint());
    QVERIFY(test::undoRedoRestores(*main_, before, test::mapState(*main_)));
  }

 private slots:
  void init() {
    dialogs_ = std::make_unique<test::ScriptedDialogs>();
    main_ = test::openShownMap(*dialogs_, home_.picture);
    QVERIFY(main_);
    session().history().restart([this] {
      const SectorGrid grid(doc());
      for (int row = 0; row < grid.rows(); ++row)
        for (int column = 0; column < grid.columns(); ++column) {
          const SectorAddress address = grid.address({column, row});
          doc().setValue(address.quad, address.sector, Plane::Element, patternElement(column, row));
          doc().setValue(address.quad, address.sector, Plane::Height, patternHeight(column, row));
        }
    });
    session().repaintWholeMap();
  }

  void cleanup() { main_.reset(); }

  void gesturesSelectWithoutChangingTheMap_data() {
    // Each gesture: "=", "+" or "-" with a rectangle's corners (replace, add, take away), "w"
    // with a plane letter and a cell (magic wand), "s" with a plane letter and a value.
    QTest::addColumn<QStringList>("gestures");
    QTest::addColumn<Cells>("expected");
    QTest::newRow("rectangle, corners either way") << QStringList{"=3 2 1 1"} << block(1, 1, 3, 2);
    QTest::newRow("add across a Quad border")
        << QStringList{"=0 0 1 1", "+3 3 4 4"} << joined(block(0, 0, 1, 1), block(3, 3, 4, 4));
    QTest::newRow("take away") << QStringList{"=0 0 2 2", "-1 0 2 2"} << block(0, 0, 0, 2);
    QTest::newRow("wand on elements") << QStringList{"wE 3 3"} << block(2, 2, 4, 4);
    QTest::newRow("wand on heights") << QStringList{"wH 15 1"} << block(14, 1, 16, 2);
    QTest::newRow("wand adds") << QStringList{"=0 0 0 0", "w+E 20 8"}
                               << joined(block(0, 0, 0, 0), block(20, 8, 21, 9));
    QTest::newRow("same element") << QStringList{"sE 4"}
                                  << joined(block(2, 2, 4, 4), block(20, 8, 21, 9));
    QTest::newRow("same height") << QStringList{"sH 30"} << block(14, 1, 16, 2);
    QTest::newRow("same: unassigned") << QStringList{"sE -1"} << block(23, 0, 23, 11);
    QTest::newRow("rectangle off the picture is clipped")
        << QStringList{"=22 10 22 10", "+23 11 23 11"}
        << joined(block(22, 10, 22, 10), block(23, 11, 23, 11));
  }

  void gesturesSelectWithoutChangingTheMap() {
    QFETCH(QStringList, gestures);
    QFETCH(Cells, expected);
    const test::MapState before = test::mapState(*main_);
    for (const QString &gesture : gestures) {
      QStringList words = gesture.mid(1).split(' ');
      const QChar kind = gesture.at(0);
      SelectionChange how = SelectionChange::Replace;
      if (words.first().startsWith('+')) {
        how = SelectionChange::Add;
        words.first().remove(0, 1);
      }
      const Plane plane = words.first() == "H" ? Plane::Height : Plane::Element;
      QList<int> n;
      for (const QString &word : words.mid(kind == '=' || kind == '+' || kind == '-' ? 0 : 1))
        n << word.toInt();
      if (kind == 'w') session().selectJoined(plane, at(n[0], n[1]), how);
      if (kind == 's') session().selectSame(plane, qint16(n[0]), how);
      if (kind == '=' || kind == '+' || kind == '-')
        session().selectRectangle(at(n[0], n[1]), at(n[2], n[3]),
                                  kind == '='   ? SelectionChange::Replace
                                  : kind == '+' ? SelectionChange::Add
                                                : SelectionChange::Subtract);
    }
    QCOMPARE(cellsOf(session().selection()), expected);
    QCOMPARE(session().selection().count(), int(expected.size()));
    const SectorSpan bounds = session().selection().bounds();
    QCOMPARE(bounds.left, expected.begin()->first);
    QCOMPARE(bounds.top, std::min_element(expected.begin(), expected.end(), [](auto a, auto b) {
                           return a.second < b.second;
                         })->second);
    QCOMPARE(bounds.right, expected.rbegin()->first);
    QVERIFY(test::mapState(*main_) == before);
    QCOMPARE(session().history().stack().count(), 0);
    session().selectNone();
    QVERIFY(session().selection().isEmpty());
  }

  void turnsOfAnOddSelection_data() {
    QTest::addColumn<BlockTurn>("turn");
    QTest::addColumn<int>("roundTrip");  // turns that bring the block back
    QTest::addColumn<QString>("name");
    QTest::newRow("flip horizontally") << BlockTurn::FlipHorizontally << 2 << "Flip";
    QTest::newRow("flip vertically") << BlockTurn::FlipVertically << 2 << "Flip";
    QTest::newRow("rotate clockwise") << BlockTurn::RotateClockwise << 4 << "Rotate";
    QTest::newRow("rotate anticlockwise") << BlockTurn::RotateAnticlockwise << 4 << "Rotate";
  }

  void turnsOfAnOddSelection() {
    QFETCH(BlockTurn, turn);
    QFETCH(int, roundTrip);
    QFETCH(QString, name);
    // 3 x 5 Sectors from (3, 3): across a Quad border each way, with the island's corner and
    // two heights. The two columns a quarter turn sweeps start unassigned, as it leaves them.
    session().selectRectangle(at(6, 3), at(7, 7), SelectionChange::Replace);
    session().deleteSelection();
    session().selectRectangle(at(3, 3), at(5, 7), SelectionChange::Replace);
    const QList<qint16> start = valuesOf(doc());
    QList<std::array<qint16, 2>> source;
    for (int row = 3; row <= 7; ++row)
      for (int column = 3; column <= 5; ++column)
        source << std::array{value(column, row, Plane::Element), value(column, row, Plane::Height)};
    checkStep(name, [&] { session().turnSelection(turn); });

    // Each source cell (c, r) of the 3 x 5 block lands where the turn takes it, about (3, 3).
    const bool quarter = roundTrip == 4;
    for (int r = 0; r < 5; ++r)
      for (int c = 0; c < 3; ++c) {
        QPoint to(c, r);
        if (turn == BlockTurn::FlipHorizontally) to = {2 - c, r};
        if (turn == BlockTurn::FlipVertically) to = {c, 4 - r};
        if (turn == BlockTurn::RotateClockwise) to = {4 - r, c};
        if (turn == BlockTurn::RotateAnticlockwise) to = {r, 2 - c};
        QCOMPARE(value(3 + to.x(), 3 + to.y(), Plane::Element), source[r * 3 + c][0]);
        QCOMPARE(value(3 + to.x(), 3 + to.y(), Plane::Height), source[r * 3 + c][1]);
      }
    const SectorSpan bounds = session().selection().bounds();
    QCOMPARE(QRect(bounds.left, bounds.top, bounds.right - bounds.left + 1,
                   bounds.bottom - bounds.top + 1),
             QRect(3, 3, quarter ? 5 : 3, quarter ? 3 : 5));
    // The part of the old box the turned block leaves is unassigned on both planes.
    if (quarter) QCOMPARE(value(3, 7, Plane::Height), kUnassigned);
    for (int i = 1; i < roundTrip; ++i) session().turnSelection(turn);
    QCOMPARE(valuesOf(doc()), start);
    QCOMPARE(cellsOf(session().selection()), block(3, 3, 5, 7));
    QVERIFY(viewsMatchWholeRepaint());
  }

  void pasteAcrossQuadBordersAndEdges_data() {
    QTest::addColumn<QPoint>("target");
    QTest::addColumn<Cells>("pasted");
    QTest::addColumn<DrawStyle>("style");
    // The copy: 4 x 3 Sectors from (1, 1), across the Quad border at column 4. Tinted, a pasted
    // Sector shows its new colour over the picture, not over the colour it replaced.
    QTest::newRow("inside, across Quad borders")
        << QPoint(6, 6) << block(6, 6, 9, 8) << DrawStyle::Solid;
    QTest::newRow("tinted") << QPoint(6, 6) << block(6, 6, 9, 8) << DrawStyle::Transparent;
    QTest::newRow("cut at the right and bottom edges")
        << QPoint(22, 10) << block(22, 10, 23, 11) << DrawStyle::Solid;
    QTest::newRow("cut at the top and left edges")
        << QPoint(-2, -1) << block(0, 0, 1, 1) << DrawStyle::Solid;
  }

  void pasteAcrossQuadBordersAndEdges() {
    QFETCH(QPoint, target);
    QFETCH(Cells, pasted);
    QFETCH(DrawStyle, style);
    session().setDrawStyle(style);
    session().repaintWholeMap();
    session().selectRectangle(at(1, 1), at(4, 3), SelectionChange::Replace);
    const SectorBlock copied = session().copySelection();
    QCOMPARE(copied.width, 4);
    QCOMPARE(copied.height, 3);
    // Copying changes nothing and is no step.
    QCOMPARE(session().history().stack().count(), 0);
    checkStep("Paste", [&] { session().pasteBlock(copied, {target.x(), target.y()}); });
    QCOMPARE(cellsOf(session().selection()), pasted);
    for (const auto &[column, row] : pasted)
      for (const Plane plane : {Plane::Element, Plane::Height})
        QCOMPARE(value(column, row, plane),
                 copied.value(column - target.x(), row - target.y(), plane));
  }

  void unassignedSectorsPasteTransparently() {
    // A shape holding unassigned Sectors (column 23, element 4 over an unassigned height).
    doc().setValue(at(22, 0).quad, at(22, 0).sector, Plane::Height, kUnassigned);
    session().repaintWholeMap();
    session().selectRectangle(at(22, 0), at(23, 1), SelectionChange::Replace);
    const SectorBlock copied = session().copySelection();
    checkStep("Paste", [&] { session().pasteBlock(copied, {0, 0}); });
    QCOMPARE(value(0, 0, Plane::Element), qint16(3));
    QCOMPARE(value(0, 0, Plane::Height), patternHeight(0, 0));  // left as it was
    QCOMPARE(value(1, 0, Plane::Element), patternElement(1, 0));
    QCOMPARE(value(1, 1, Plane::Height), patternHeight(1, 1));
    QCOMPARE(value(0, 1, Plane::Height), qint16(10));
  }

  void deleteCutAndMove() {
    session().selectRectangle(at(2, 2), at(4, 4), SelectionChange::Replace);  // the island of 4
    checkStep("Move", [&] { session().moveSelection(1, -1); });
    QCOMPARE(cellsOf(session().selection()), block(3, 1, 5, 3));
    QCOMPARE(value(3, 1, Plane::Element), qint16(4));
    QCOMPARE(value(2, 4, Plane::Element), kUnassigned);
    QCOMPARE(value(2, 4, Plane::Height), kUnassigned);
    // A move stops at the picture's edge, and one that cannot move is no step.
    checkStep("Move", [&] { session().moveSelection(-10, 0); });
    QCOMPARE(session().selection().bounds().left, 0);
    const int steps = session().history().stack().count();
    session().moveSelection(-1, 0);
    QCOMPARE(session().history().stack().count(), steps);

    checkStep("Delete", [&] { session().deleteSelection(); });
    QCOMPARE(value(0, 1, Plane::Element), kUnassigned);
    QCOMPARE(value(2, 3, Plane::Height), kUnassigned);
    session().selectRectangle(at(14, 1), at(16, 2), SelectionChange::Replace);
    SectorBlock taken;
    checkStep("Cut", [&] { session().cutSelection(taken); });
    QCOMPARE(taken.value(0, 0, Plane::Height), qint16(30));
    QCOMPARE(value(15, 2, Plane::Height), kUnassigned);
  }

  void toolsKeepInsideTheSelection_data() {
    QTest::addColumn<QString>("tool");
    QTest::newRow("rectangle") << "rectangle";
    QTest::newRow("line") << "line";
    QTest::newRow("brush") << "brush";
    QTest::newRow("Draw Quad") << "quad";
    QTest::newRow("Fill Area") << "fill";
    QTest::newRow("Replace Element") << "replace";
  }

  void toolsKeepInsideTheSelection() {
    QFETCH(QString, tool);
    // The selection: columns 4 to 6 of rows 0 to 7, across the element 2 / island border.
    session().selectRectangle(at(4, 0), at(6, 7), SelectionChange::Replace);
    doc().CurrentDrawElement = 5;
    session().setBrushSize(5);
    doc().CurrentQuad = qint16(at(5, 5).quad);
    doc().CurrentSect = qint16(at(5, 5).sector);
    if (tool == "rectangle") session().paintRectangle(Plane::Element, at(0, 0), at(10, 10));
    if (tool == "line") session().paintLine(Plane::Element, at(0, 5), at(12, 5));
    if (tool == "brush") session().paintCurrentSector(Plane::Element, 1);
    if (tool == "quad") {
      session().setEditMode(EditMode::DrawQuad);
      session().paintCurrentSector(Plane::Element, 1);
    }
    if (tool == "fill") session().fillArea(Plane::Element, at(5, 6));
    if (tool == "replace") session().replaceValue(Plane::Element, 2, 5);
    test::AreaDriver hand(*main_);
    const Cells painted = hand.cellsHolding(Plane::Element, 5);
    QVERIFY(!painted.empty());
    for (const auto &[column, row] : painted)
      QVERIFY2(column >= 4 && column <= 6 && row <= 7, qPrintable(QString::number(column)));
    // The replace commands leave the repaint to the window, as on the whole map.
    if (tool != "replace") QVERIFY(viewsMatchWholeRepaint());
  }

  void clipboardFormatRoundTrips() {
    session().selectRectangle(at(21, 9), at(23, 10), SelectionChange::Replace);
    session().selectRectangle(at(21, 9), at(21, 9), SelectionChange::Subtract);
    const SectorBlock copied = session().copySelection();
    const DecodedSectors decoded = decodeSectors(encodeSectors(copied));
    QVERIFY2(decoded.block, qPrintable(decoded.error));
    // Outside the shape and unassigned both travel as none; the shape is what holds a value.
    QCOMPARE(decoded.block->elements, copied.elements);
    QCOMPARE(decoded.block->heights, copied.heights);
    QCOMPARE(decoded.block->shape, (std::vector<quint8>{0, 1, 0, 1, 1, 0}));
    QCOMPARE(sectorsAsText(copied), QStringLiteral("\t3\t\n3\t3\t\n"));
    QCOMPARE(missingElements(copied, [](qint16 id) { return id != 3; }), (std::vector<qint16>{3}));
  }

  void clipboardDataIsCheckedBeforeUse_data() {
    QTest::addColumn<QByteArray>("data");
    const auto header = [](quint32 width, quint32 height) {
      QByteArray out("VMS1");
      for (const quint32 n : {width, height}) {
        const quint32 big = qToBigEndian(n);
        out.append(reinterpret_cast<const char *>(&big), 4);
      }
      return out;
    };
    const QByteArray cell("\x00\x02\x00\x0a", 4);
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("another format") << QByteArray("VMS2").append(header(1, 1).mid(4)) + cell;
    QTest::newRow("no cells") << header(0, 5);
    QTest::newRow("more than one map") << header(80017, 1);
    QTest::newRow("sides whose product wraps") << header(0x10000, 0x10000) + cell;
    QTest::newRow("cut short") << header(2, 1) + cell;
    QTest::newRow("bytes left over") << header(1, 1) + cell + cell;
    QTest::newRow("height over 100") << header(1, 1) + QByteArray("\x00\x02\x00\x65", 4);
    QTest::newRow("element below -1") << header(1, 1) + QByteArray("\xff\xfe\x00\x01", 4);
  }

  void clipboardDataIsCheckedBeforeUse() {
    QFETCH(QByteArray, data);
    const DecodedSectors decoded = decodeSectors(data);
    QVERIFY(!decoded.block);
    QVERIFY(!decoded.error.isEmpty());
  }
};

QTEST_MAIN(TestSelection)
#include "test_selection.moc"
