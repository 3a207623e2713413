// SPDX-License-Identifier: GPL-3.0-or-later
// Select Area with the mouse and the keys: the rubber band (Shift adds, Ctrl takes away),
// the magic wand on Alt, a drag inside the selection that moves it, the floating stamp of
// a paste, and the keys that move, flip and turn.
#include "mapview/ViewZoom.h"
#include "session/EditorSession.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/MouseEditor.h"
#include "ui/mapview/SelectionOverlay.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QRubberBand>

namespace vmm {

namespace {
constexpr int kSectorsPerQuadSide = 4;

Plane planeOfView(MapView view) {
  return view == MapView::Elevation ? Plane::Height : Plane::Element;
}
}  // namespace

SectorCell MouseEditor::cellAt(SectorAddress at) const {
  return SectorGrid(session_.document()).cell(at);
}

void MouseEditor::refreshBoth(const std::array<QRect, 2> &areas) {
  for (const Plane plane : {Plane::Element, Plane::Height})
    if (!areas[std::size_t(plane)].isEmpty())
      view_.refresh(MapSurfaces::viewOf(plane), areas[std::size_t(plane)]);
}

void MouseEditor::startFloating(const SectorBlock &block) {
  const MapDocument &doc = session_.document();
  const SectorPainter &painter = session_.painter();
  view_.selectionOverlay()->startFloating(
      block, cellAt({doc.CurrentQuad, doc.CurrentSect}),
      [&painter](Plane plane, qint16 value) { return painter.screenColourOf(plane, value); });
}

bool MouseEditor::isFloating() const {
  return view_.selectionOverlay()->isFloating();
}

void MouseEditor::dropFloating() {
  view_.selectionOverlay()->dropFloat();
}

void MouseEditor::turn(BlockTurn turn) {
  SelectionOverlay *overlay = view_.selectionOverlay();
  if (overlay->isFloating()) {
    const SectorPainter &painter = session_.painter();
    overlay->startFloating(
        turned(overlay->floatingBlock(), turn), overlay->floatPosition(),
        [&painter](Plane plane, qint16 value) { return painter.screenColourOf(plane, value); });
    return;
  }
  refreshBoth(session_.turnSelection(turn));
}

void MouseEditor::moveSelection(int columns, int rows) {
  SelectionOverlay *overlay = view_.selectionOverlay();
  if (overlay->isFloating()) {
    const SectorCell at = overlay->floatPosition();
    overlay->moveFloat({at.column + columns, at.row + rows});
    return;
  }
  refreshBoth(session_.moveSelection(columns, rows));
}

bool MouseEditor::selectPressed(MapView view, SectorAddress at) {
  if (isFloating()) {
    // The click places the stamp; the pasted Sectors become the selection.
    SelectionOverlay *overlay = view_.selectionOverlay();
    const SectorBlock block = overlay->floatingBlock();
    const SectorCell topLeft = overlay->floatPosition();
    overlay->dropFloat();
    refreshBoth(session_.pasteBlock(block, topLeft));
    waitingForRelease_ = true;
    return true;
  }
  if (session_.editMode() != EditMode::SelectArea) return false;
  const SelectionChange how = shiftHeld_     ? SelectionChange::Add
                              : controlHeld_ ? SelectionChange::Subtract
                                             : SelectionChange::Replace;
  if (altHeld_) {
    session_.selectJoined(planeOfView(view), at, how);
    waitingForRelease_ = true;
    return true;
  }
  const bool moving = how == SelectionChange::Replace && session_.selection().contains(cellAt(at));
  selectDrag_ = SelectDrag{view, at, at, how, moving};
  if (!moving) showSelectBand();
  return true;
}

void MouseEditor::selectMoved(SectorAddress at) {
  if (isFloating()) {
    view_.selectionOverlay()->moveFloat(cellAt(at));
    return;
  }
  if (!selectDrag_) return;
  selectDrag_->corner = at;
  if (selectDrag_->moving) {
    const SectorCell from = cellAt(selectDrag_->anchor);
    const SectorCell to = cellAt(at);
    view_.selectionOverlay()->setDragOffset({to.column - from.column, to.row - from.row});
  } else {
    showSelectBand();
  }
}

void MouseEditor::selectReleased() {
  const SelectDrag drag = *selectDrag_;
  selectDrag_.reset();
  if (rubberBand_) rubberBand_->hide();
  if (!drag.moving) {
    session_.selectRectangle(drag.anchor, drag.corner, drag.how);
    return;
  }
  // A click inside the selection without a drag keeps it as it is.
  const QPoint offset = view_.selectionOverlay()->dragOffset();
  view_.selectionOverlay()->setDragOffset({});
  if (!offset.isNull()) refreshBoth(session_.moveSelection(offset.x(), offset.y()));
}

void MouseEditor::showSelectBand() {
  band_ = RectangleDrag{selectDrag_->view, selectDrag_->anchor, selectDrag_->corner};
  showRectangle();
  band_.reset();
}

bool MouseEditor::arrowsMoveSelection() const {
  return isFloating() ||
         (session_.editMode() == EditMode::SelectArea && !session_.selection().isEmpty());
}

bool MouseEditor::selectKey(int key, Qt::KeyboardModifiers modifiers) {
  if (key == Qt::Key_Escape) {
    if (band_ || selectDrag_)
      cancelRectangle();
    else if (isFloating())
      dropFloating();
    else
      emit escapeUnused();
    return true;
  }
  if (!arrowsMoveSelection()) return false;
  const int step = modifiers.testFlag(Qt::ShiftModifier) ? kSectorsPerQuadSide : 1;
  switch (key) {
    case Qt::Key_Left:
      moveSelection(-step, 0);
      return true;
    case Qt::Key_Right:
      moveSelection(step, 0);
      return true;
    case Qt::Key_Up:
      moveSelection(0, -step);
      return true;
    case Qt::Key_Down:
      moveSelection(0, step);
      return true;
    default:
      return false;
  }
}

}  // namespace vmm
