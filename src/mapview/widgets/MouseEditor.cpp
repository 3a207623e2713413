#include "mapview/widgets/MouseEditor.h"

#include "mapview/SectorLocator.h"
#include "mapview/widgets/MapViewWindow.h"
#include "session/EditorSession.h"

#include <cmath>

namespace vmm {

namespace {
constexpr int kLeftOnly = 1;
constexpr int kRightOnly = 2;
}  // namespace

MouseEditor::MouseEditor(EditorSession &session, MapViewWindow &view)
    : QObject(&view), session_(session), view_(view) {
  connect(&view_, &MapViewWindow::surfaceMouseMoved, this, &MouseEditor::mouseMoved);
  connect(&view_, &MapViewWindow::surfaceMousePressed, this, &MouseEditor::mousePressed);
  connect(&view_, &MapViewWindow::surfaceMouseReleased, this, &MouseEditor::mouseReleased);
}

void MouseEditor::mouseMoved(MapView view, int buttons, double x, double y) {
  MapDocument &doc = session_.document();
  // A move without the left button alone ends any stroke whose release went elsewhere.
  if (buttons != kLeftOnly) strokeId_ = 0;
  const auto hit = SectorLocator::locateInside(x, y, doc.XQuads, doc.YQuads);
  const QPointF from = lastPosition_;
  const bool wasInside = lastMoveInside_;
  lastPosition_ = QPointF(x, y);
  lastMoveInside_ = hit.has_value();
  if (!hit) return;  // the panels keep showing the last Sector inside the picture
  // The system may merge quick mouse moves; the Sectors between two reported
  // positions are painted too, so a fast stroke leaves no gaps.
  if (buttons == kLeftOnly && wasInside) paintAlong(view, from, QPointF(x, y));
  doc.CurrentQuad = hit->quad;
  doc.CurrentSect = hit->sector;
  emit pointerOverSector(hit->quad, hit->sector);
  doc.mousePainting = true;
  if (buttons == kLeftOnly) paint(view);
  doc.mousePainting = false;
}

void MouseEditor::mousePressed(MapView view, int buttons, double x, double y) {
  MapDocument &doc = session_.document();
  // Every left press starts a stroke of its own, never merged with the one before.
  strokeId_ = buttons == kLeftOnly ? session_.history().newStrokeId() : 0;
  const auto hit = SectorLocator::locateInside(x, y, doc.XQuads, doc.YQuads);
  if (!hit) return;
  if (buttons == kRightOnly) {
    // Picking turns an eraser back into the matching draw mode first.
    if (session_.editMode() == EditMode::EraseQuad) session_.setEditMode(EditMode::DrawQuad);
    if (session_.editMode() == EditMode::EraseSector) session_.setEditMode(EditMode::DrawSector);
    emit sectorPickedUp(hit->quad, hit->sector);
  }
  lastPosition_ = QPointF(x, y);
  doc.mousePainting = true;
  if (buttons == kLeftOnly && lastMoveInside_) paint(view);
  doc.mousePainting = false;
}

void MouseEditor::paintAlong(MapView view, QPointF from, QPointF to) {
  MapDocument &doc = session_.document();
  constexpr double kStep = 4.0;  // under half a Sector, so no Sector is stepped over
  const QPointF delta = to - from;
  const int steps =
      static_cast<int>(std::ceil(std::max(std::abs(delta.x()), std::abs(delta.y())) / kStep));
  SectorHit previous = SectorLocator::LocateSector(from.x(), from.y(), doc.XQuads);
  // The last point is the move itself, painted by the caller.
  for (int i = 1; i < steps; ++i) {
    const QPointF p = from + delta * (double(i) / steps);
    const auto hit = SectorLocator::locateInside(p.x(), p.y(), doc.XQuads, doc.YQuads);
    if (!hit || (hit->quad == previous.quad && hit->sector == previous.sector)) continue;
    previous = *hit;
    doc.CurrentQuad = hit->quad;
    doc.CurrentSect = hit->sector;
    doc.mousePainting = true;
    paint(view);
    doc.mousePainting = false;
  }
}

void MouseEditor::mouseReleased(MapView, int) {
  strokeId_ = 0;
}

void MouseEditor::paint(MapView view) {
  // Painting on the Image view goes to the (hidden) Terrain view.
  const Plane plane = view == MapView::Elevation ? Plane::Height : Plane::Element;
  if (strokeId_ == 0) strokeId_ = session_.history().newStrokeId();
  const QRect changed = session_.paintCurrentSector(plane, strokeId_);
  view_.refresh(MapSurfaces::viewOf(plane), changed);
}

}  // namespace vmm
