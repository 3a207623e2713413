// SPDX-License-Identifier: GPL-3.0-or-later
// The selection and what acts on it: selecting, copy, cut, delete, paste, move, flip and
// rotate, each change one step of the history that repaints only the Sectors it wrote.
#include "session/EditorSession.h"

#include "edits/FloodFill.h"

#include <algorithm>

namespace vmm {

namespace {

// Notes every Sector a change writes, each once, for the repaint after it. Past a quarter of
// the picture's Sectors the list stops growing: the whole-map repaint (one pass per Quad row)
// is then as quick as drawing them cell by cell.
class ChangedSectors : public ChangeObserver {
 public:
  explicit ChangedSectors(MapDocument &document)
      : document_(document),
        grid_(document),
        noted_(std::size_t(grid_.columns()) * std::size_t(grid_.rows()) * 2, 0),
        listLimit_(noted_.size() / 4) {
    document_.addChangeObserver(this);
  }
  ~ChangedSectors() override { document_.removeChangeObserver(this); }
  ChangedSectors(const ChangedSectors &) = delete;
  ChangedSectors &operator=(const ChangedSectors &) = delete;

  void sectorChanged(const SectorChange &change) override {
    const SectorCell cell = grid_.cell({change.quad, change.sector});
    if (grid_.contains(cell)) {
      quint8 &noted = noted_[std::size_t(grid_.index(cell)) * 2 + std::size_t(change.plane)];
      if (noted) return;
      noted = 1;
    }
    if (edits.size() >= listLimit_) {
      tooMany = true;
      return;
    }
    edits.push_back({qint16(change.quad), quint8(change.sector), quint8(change.plane), kUnassigned,
                     kUnassigned});
  }

  std::vector<SectorEdit> edits;
  bool tooMany = false;

 private:
  MapDocument &document_;
  SectorGrid grid_;
  std::vector<quint8> noted_;
  std::size_t listLimit_;
};

}  // namespace

SectorSelection &EditorSession::fittedSelection() {
  const SectorGrid grid(document_);
  if (!selection_.isOn(grid)) selection_ = SectorSelection(grid);
  return selection_;
}

const SectorSelection *EditorSession::activeSelection() const {
  if (selection_.isEmpty() || !selection_.isOn(SectorGrid(document_))) return nullptr;
  return &selection_;
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
  const SectorSelection *selection = activeSelection();
  return selection ? copyBlock(document_, *selection) : SectorBlock();
}

std::array<QRect, 2> EditorSession::changeAndRepaint(const QString &name,
                                                     const std::function<void()> &change) {
  ChangedSectors changed(document_);
  {
    HistoryStep step(history_.get(), name, StepRepaint::Sectors);
    change();
  }
  std::vector<SectorEdit> &edits = changed.edits;
  if (changed.tooMany) {
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
  const SectorSelection &selection = fittedSelection();
  const SectorSpan bounds = selection.bounds();
  if (bounds.isEmpty()) return {};
  // The selected Sectors stay on the picture: a move stops at its edges.
  columns = std::clamp(columns, -bounds.left, selection.grid().columns() - 1 - bounds.right);
  rows = std::clamp(rows, -bounds.top, selection.grid().rows() - 1 - bounds.bottom);
  if (columns == 0 && rows == 0) return {};
  return restampSelection(QStringLiteral("Move"), copyBlock(document_, selection),
                          {bounds.left + columns, bounds.top + rows});
}

std::array<QRect, 2> EditorSession::turnSelection(BlockTurn turn) {
  const SectorSelection &selection = fittedSelection();
  const SectorSpan bounds = selection.bounds();
  if (bounds.isEmpty()) return {};
  const bool flip = turn == BlockTurn::FlipHorizontally || turn == BlockTurn::FlipVertically;
  return restampSelection(flip ? QStringLiteral("Flip") : QStringLiteral("Rotate"),
                          turned(copyBlock(document_, selection), turn), {bounds.left, bounds.top});
}

std::array<QRect, 2> EditorSession::restampSelection(const QString &name, const SectorBlock &block,
                                                     SectorCell topLeft) {
  SectorSelection &selection = fittedSelection();
  std::vector<SectorCell> stamped;
  const std::array<QRect, 2> changed = changeAndRepaint(name, [&] {
    unassignSectors(document_, selection.sectors());
    stamped = stampBlock(document_, selection.grid(), block, topLeft);
  });
  selection.change(stamped, SelectionChange::Replace);
  emit selectionChanged();
  return changed;
}

}  // namespace vmm
