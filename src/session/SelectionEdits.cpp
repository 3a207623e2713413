// SPDX-License-Identifier: GPL-3.0-or-later
// The selection and what acts on it: selecting, copy, cut, delete, paste, move, flip and
// rotate, each change one step of the history that repaints only the Sectors it wrote.
#include "session/EditorSession.h"

#include "edits/FloodFill.h"

#include <algorithm>

namespace vmm {

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
  {
    HistoryStep step(history_.get(), name, StepRepaint::SectorsOverPicture);
    change();
  }
  const std::vector<SectorEdit> &edits = history_->endedStep();
  // Past a quarter of the picture's Sectors on both planes the whole-map repaint (one pass per
  // Quad row) is as quick as drawing them cell by cell.
  const SectorGrid grid(document_);
  if (edits.size() > std::size_t(grid.columns()) * std::size_t(grid.rows()) * 2 / 4)
    return repaintWholeMap();
  // Each cell drawn afresh over the picture, as the whole-map repaint would draw it.
  return repaintSectors(edits, StepRepaint::SectorsOverPicture);
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
  const std::array<QRect, 2> changed = changeAndRepaint(
      QStringLiteral("Paste"), [&] { stampBlock(document_, selection.grid(), block, topLeft); });
  selection.replaceWithShape(topLeft, block.width, block.shape);
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
  const std::array<QRect, 2> changed = changeAndRepaint(name, [&] {
    unassignSectors(document_, selection.sectors());
    stampBlock(document_, selection.grid(), block, topLeft);
  });
  selection.replaceWithShape(topLeft, block.width, block.shape);
  emit selectionChanged();
  return changed;
}

}  // namespace vmm
