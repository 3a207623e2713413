// SPDX-License-Identifier: GPL-3.0-or-later
// The selection and what acts on it: selecting, copy, cut, delete, paste, move, flip and
// rotate, each change one step of the history that repaints only the Sectors it wrote.
#include "session/EditorSession.h"

#include "edits/FloodFill.h"

#include <algorithm>

namespace vmm {

namespace {

// Notes every Sector a change writes, for the repaint after it.
class ChangedSectors : public ChangeObserver {
 public:
  explicit ChangedSectors(MapDocument &document) : document_(document) {
    document_.addChangeObserver(this);
  }
  ~ChangedSectors() override { document_.removeChangeObserver(this); }
  ChangedSectors(const ChangedSectors &) = delete;
  ChangedSectors &operator=(const ChangedSectors &) = delete;

  void sectorChanged(const SectorChange &change) override {
    edits.push_back({qint16(change.quad), quint8(change.sector), quint8(change.plane), kUnassigned,
                     kUnassigned});
  }

  std::vector<SectorEdit> edits;

 private:
  MapDocument &document_;
};

}  // namespace

SectorSelection &EditorSession::fittedSelection() {
  const SectorGrid grid(document_);
  if (selection_.grid().columns() != grid.columns() || selection_.grid().rows() != grid.rows())
    selection_ = SectorSelection(grid);
  return selection_;
}

void EditorSession::setSelection(const SectorSelection &selection) {
  selection_ = selection;
  fittedSelection();
  emit selectionChanged();
}

void EditorSession::selectRectangle(SectorAddress corner, SectorAddress opposite,
                                    SelectionChange how) {
  SectorSelection &selection = fittedSelection();
  const SectorGrid &grid = selection.grid();
  selection.change(rectangleSpan(grid.cell(corner), grid.cell(opposite), false), how);
  emit selectionChanged();
}

void EditorSession::selectAll() {
  fittedSelection().selectAll();
  emit selectionChanged();
}

void EditorSession::selectNone() {
  if (fittedSelection().isEmpty()) return;
  selection_.clear();
  emit selectionChanged();
}

void EditorSession::selectSame(Plane plane, qint16 value, SelectionChange how) {
  fittedSelection().change(sectorsHolding(document_, plane, value), how);
  emit selectionChanged();
}

void EditorSession::selectJoined(Plane plane, SectorAddress start, SelectionChange how) {
  fittedSelection().change(floodRegion(document_, plane, start), how);
  emit selectionChanged();
}

SectorBlock EditorSession::copySelection() const {
  const SectorGrid grid(document_);
  if (selection_.grid().columns() != grid.columns() || selection_.grid().rows() != grid.rows())
    return {};
  return copyBlock(document_, selection_);
}

std::array<QRect, 2> EditorSession::changeAndRepaint(const QString &name,
                                                     const std::function<void()> &change) {
  ChangedSectors changed(document_);
  {
    HistoryStep step(history_.get(), name, StepRepaint::Sectors);
    change();
  }
  std::vector<SectorEdit> &edits = changed.edits;
  const auto byKey = [](const SectorEdit &a, const SectorEdit &b) { return a.key() < b.key(); };
  const auto sameKey = [](const SectorEdit &a, const SectorEdit &b) { return a.key() == b.key(); };
  std::sort(edits.begin(), edits.end(), byKey);
  edits.erase(std::unique(edits.begin(), edits.end(), sameKey), edits.end());
  // Past half the map's Sectors, the whole-map repaint (one pass per Quad row) is faster.
  const SectorGrid grid(document_);
  if (edits.size() > std::size_t(grid.columns()) * std::size_t(grid.rows())) {
    const bool ready = document_.mapReady;
    document_.mapReady = false;
    const QRect heights = repaintWholePlane(Plane::Height);
    const QRect elements = repaintWholePlane(Plane::Element);
    document_.mapReady = ready;
    return {elements, heights};
  }
  // Each cell drawn afresh: the picture back, then the value it holds now.
  for (SectorEdit &edit : edits)
    edit.newValue = document_.value(edit.quad, edit.sector, edit.planeValue());
  return repaintSectors(edits);
}

std::array<QRect, 2> EditorSession::deleteSelection() {
  const std::vector<SectorAddress> sectors = fittedSelection().sectors();
  if (sectors.empty()) return {};
  return changeAndRepaint(QStringLiteral("Delete"), [&] { unassignSectors(document_, sectors); });
}

std::array<QRect, 2> EditorSession::cutSelection(SectorBlock &taken) {
  taken = copySelection();
  const std::vector<SectorAddress> sectors = fittedSelection().sectors();
  if (sectors.empty()) return {};
  return changeAndRepaint(QStringLiteral("Cut"), [&] { unassignSectors(document_, sectors); });
}

std::array<QRect, 2> EditorSession::pasteBlock(const SectorBlock &block, SectorCell topLeft) {
  SectorSelection &selection = fittedSelection();
  if (block.isEmpty()) return {};
  std::vector<SectorCell> stamped;
  const std::array<QRect, 2> changed = changeAndRepaint(QStringLiteral("Paste"), [&] {
    stamped = stampBlock(document_, selection.grid(), block, topLeft);
  });
  selection.change(stamped, SelectionChange::Replace);
  emit selectionChanged();
  return changed;
}

std::array<QRect, 2> EditorSession::moveSelection(int columns, int rows) {
  SectorSelection &selection = fittedSelection();
  const SectorSpan bounds = selection.bounds();
  if (bounds.isEmpty()) return {};
  // The selected Sectors stay on the picture: a move stops at its edges.
  columns = std::clamp(columns, -bounds.left, selection.grid().columns() - 1 - bounds.right);
  rows = std::clamp(rows, -bounds.top, selection.grid().rows() - 1 - bounds.bottom);
  if (columns == 0 && rows == 0) return {};
  const SectorBlock block = copyBlock(document_, selection);
  std::vector<SectorCell> stamped;
  const std::array<QRect, 2> changed = changeAndRepaint(QStringLiteral("Move"), [&] {
    unassignSectors(document_, selection.sectors());
    stamped =
        stampBlock(document_, selection.grid(), block, {bounds.left + columns, bounds.top + rows});
  });
  selection.change(stamped, SelectionChange::Replace);
  emit selectionChanged();
  return changed;
}

std::array<QRect, 2> EditorSession::turnSelection(BlockTurn turn) {
  SectorSelection &selection = fittedSelection();
  const SectorSpan bounds = selection.bounds();
  if (bounds.isEmpty()) return {};
  const bool flip = turn == BlockTurn::FlipHorizontally || turn == BlockTurn::FlipVertically;
  const SectorBlock block = turned(copyBlock(document_, selection), turn);
  std::vector<SectorCell> stamped;
  const std::array<QRect, 2> changed =
      changeAndRepaint(flip ? QStringLiteral("Flip") : QStringLiteral("Rotate"), [&] {
        unassignSectors(document_, selection.sectors());
        stamped = stampBlock(document_, selection.grid(), block, {bounds.left, bounds.top});
      });
  selection.change(stamped, SelectionChange::Replace);
  emit selectionChanged();
  return changed;
}

}  // namespace vmm
