#include "mapview/widgets/MouseEditor.h"

#include "app/widgets/MDIfrmMain.h"
#include "mapview/EditDispatch.h"
#include "mapview/SectorLocator.h"
#include "mapview/widgets/frmMapView.h"

#include <cmath>

namespace vmm {

namespace {
constexpr int kLeftOnly = 1;
constexpr int kRightOnly = 2;
}  // namespace

MouseEditor::MouseEditor(MDIfrmMain &main, frmMapView &view)
    : QObject(&view), main_(main), view_(view) {
  connect(&view_, &frmMapView::surfaceMouseMoved, this, &MouseEditor::MouseMove);
  connect(&view_, &frmMapView::surfaceMousePressed, this, &MouseEditor::MouseDown);
  connect(&view_, &frmMapView::surfaceMouseReleased, this, &MouseEditor::MouseUp);
}

void MouseEditor::MouseMove(MapView view, int buttons, double x, double y) {
  MapDocument &doc = main_.document();
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
  main_.DisplaySectorInfo(hit->quad, hit->sector, 0);
  doc.CurrentQuad = hit->quad;
  doc.CurrentSect = hit->sector;
  main_.setPanelText(6, QStringLiteral("Quad : ") + QString::number(hit->quad));
  main_.setPanelText(7, QStringLiteral("Sect : ") + QString::number(hit->sector));
  doc.IsDraw = 1;
  if (buttons == kLeftOnly) paint(view);
  doc.IsDraw = 0;
}

void MouseEditor::MouseDown(MapView view, int buttons, double x, double y) {
  MapDocument &doc = main_.document();
  // Every left press starts a stroke of its own, never merged with the one before.
  strokeId_ = buttons == kLeftOnly ? main_.history().newStrokeId() : 0;
  const auto hit = SectorLocator::locateInside(x, y, doc.XQuads, doc.YQuads);
  if (!hit) return;
  if (buttons == kRightOnly) {
    // Picking turns an eraser back into the matching draw mode first.
    if (main_.editMode() == static_cast<int>(EditMode::EraseQuad))
      main_.setEditMode(static_cast<int>(EditMode::DrawQuad));
    if (main_.editMode() == static_cast<int>(EditMode::EraseSector))
      main_.setEditMode(static_cast<int>(EditMode::DrawSector));
    main_.DisplaySectorInfo(hit->quad, hit->sector, 1);
  }
  lastPosition_ = QPointF(x, y);
  doc.IsDraw = 1;
  if (buttons == kLeftOnly && lastMoveInside_) paint(view);
  doc.IsDraw = 0;
}

void MouseEditor::paintAlong(MapView view, QPointF from, QPointF to) {
  MapDocument &doc = main_.document();
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
    doc.IsDraw = 1;
    paint(view);
    doc.IsDraw = 0;
  }
}

void MouseEditor::MouseUp(MapView, int) {
  strokeId_ = 0;
}

void MouseEditor::paint(MapView view) {
  // Painting on the Image view goes to the (hidden) Terrain view.
  const Plane plane = view == MapView::Elevation ? Plane::Height : Plane::Element;
  const int mode = main_.editMode();
  if (strokeId_ == 0) strokeId_ = main_.history().newStrokeId();
  const bool erasing = mode == static_cast<int>(EditMode::EraseSector) ||
                       mode == static_cast<int>(EditMode::EraseQuad);
  HistoryStep step(&main_.history(), erasing ? tr("Erase") : tr("Paint"), StepRepaint::Sectors,
                   strokeId_);
  const QRect changed = applyEditMode(main_.painter(), main_.document(), plane, mode);
  view_.refresh(MapSurfaces::viewOf(plane), changed);
}

}  // namespace vmm
