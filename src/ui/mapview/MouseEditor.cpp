// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/MouseEditor.h"

#include "mapview/SectorLocator.h"
#include "mapview/ViewZoom.h"
#include "session/EditorSession.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SelectionOverlay.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRubberBand>

#include <cmath>

namespace vmm {

namespace {
constexpr int kLeftOnly = 1;
constexpr int kRightOnly = 2;

// Painting on the Image view goes to the (hidden) Terrain view.
Plane planeOf(MapView view) {
  return view == MapView::Elevation ? Plane::Height : Plane::Element;
}
}  // namespace

MouseEditor::MouseEditor(EditorSession &session, MapViewWindow &view)
    : QObject(&view), session_(session), view_(view) {
  connect(&view_, &MapViewWindow::surfaceMouseMoved, this, &MouseEditor::mouseMoved);
  connect(&view_, &MapViewWindow::surfaceMousePressed, this, &MouseEditor::mousePressed);
  connect(&view_, &MapViewWindow::surfaceMouseReleased, this, &MouseEditor::mouseReleased);
  for (const MapView surface : {MapView::Terrain, MapView::Image, MapView::Elevation})
    view_.surfaceWidget(surface)->installEventFilter(this);
}

bool MouseEditor::eventFilter(QObject *watched, QEvent *event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
      shiftHeld_ = static_cast<QMouseEvent *>(event)->modifiers().testFlag(Qt::ShiftModifier);
      altHeld_ = static_cast<QMouseEvent *>(event)->modifiers().testFlag(Qt::AltModifier);
      controlHeld_ = static_cast<QMouseEvent *>(event)->modifiers().testFlag(Qt::ControlModifier);
      break;
    case QEvent::KeyPress: {
      const auto *key = static_cast<QKeyEvent *>(event);
      if (selectKey(key->key(), key->modifiers())) return true;
      break;
    }
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void MouseEditor::mouseMoved(MapView view, int buttons, double x, double y) {
  MapDocument &doc = session_.document();
  // A move without the left button alone ends any stroke whose release went elsewhere.
  if (buttons != kLeftOnly) {
    strokeId_ = 0;
    cancelRectangle();
    waitingForRelease_ = false;
  }
  const auto hit = SectorLocator::locateInside(x, y, doc.XQuads, doc.YQuads);
  const QPointF from = lastPosition_;
  const bool wasInside = lastMoveInside_;
  lastPosition_ = QPointF(x, y);
  lastMoveInside_ = hit.has_value();
  if (!hit) return;  // the panels keep showing the last Sector inside the picture
  if (isFloating() || selectDrag_) {
    doc.CurrentQuad = hit->quad;
    doc.CurrentSect = hit->sector;
    emit pointerOverSector(hit->quad, hit->sector);
    selectMoved({hit->quad, hit->sector});
    return;
  }
  // A rectangle being dragged, a dropped one and the bucket fill paint nothing on the way.
  const bool painting = buttons == kLeftOnly && !band_ && !waitingForRelease_ &&
                        session_.editMode() != EditMode::FillArea &&
                        session_.editMode() != EditMode::SelectArea;
  // The system may merge quick mouse moves; the Sectors between two reported
  // positions are painted too, so a fast stroke leaves no gaps.
  if (painting && wasInside) paintAlong(view, from, QPointF(x, y));
  doc.CurrentQuad = hit->quad;
  doc.CurrentSect = hit->sector;
  emit pointerOverSector(hit->quad, hit->sector);
  if (band_) {
    band_->corner = {hit->quad, hit->sector};
    showRectangle();
  }
  doc.mousePainting = true;
  if (painting) paint(view);
  doc.mousePainting = false;
}

void MouseEditor::mousePressed(MapView view, int buttons, double x, double y) {
  MapDocument &doc = session_.document();
  // Every left press starts a stroke of its own, never merged with the one before.
  strokeId_ = buttons == kLeftOnly ? session_.history().newStrokeId() : 0;
  waitingForRelease_ = false;
  const auto hit = SectorLocator::locateInside(x, y, doc.XQuads, doc.YQuads);
  if (!hit) return;
  if (buttons == kRightOnly) {
    // Picking turns an eraser back into the matching draw mode first.
    if (session_.editMode() == EditMode::EraseQuad) session_.setEditMode(EditMode::DrawQuad);
    if (session_.editMode() == EditMode::EraseSector) session_.setEditMode(EditMode::DrawSector);
    emit sectorPickedUp(hit->quad, hit->sector);
  }
  lastPosition_ = QPointF(x, y);
  if (buttons != kLeftOnly) return;
  if (selectPressed(view, {hit->quad, hit->sector})) return;
  if (shiftHeld_) {
    band_ = RectangleDrag{view, {hit->quad, hit->sector}, {hit->quad, hit->sector}};
    showRectangle();
    return;
  }
  if (!lastMoveInside_) return;
  if (session_.editMode() == EditMode::FillArea) {
    fill(view);
    return;
  }
  doc.mousePainting = true;
  paint(view);
  doc.mousePainting = false;
}

void MouseEditor::pointAt(MapView view, SectorAddress sector) {
  const MapDocument::Origin origin = session_.document().sectorOrigin(sector.quad, sector.sector);
  const QPointF centre = QRectF(origin.x, origin.y, kSectorPixels, kSectorPixels).center();
  mouseMoved(view, 0, centre.x(), centre.y());
}

void MouseEditor::clickAt(MapView view, SectorAddress sector) {
  // Shift would start a rectangle and Alt ask for Fill Similar, as on the last mouse event.
  shiftHeld_ = false;
  altHeld_ = false;
  pointAt(view, sector);
  mousePressed(view, kLeftOnly, lastPosition_.x(), lastPosition_.y());
  mouseReleased(view, kLeftOnly);
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

void MouseEditor::mouseReleased(MapView, int buttons) {
  if (selectDrag_ && (buttons & kLeftOnly)) selectReleased();
  if (band_ && (buttons & kLeftOnly)) finishRectangle();
  strokeId_ = 0;
  waitingForRelease_ = false;
}

void MouseEditor::cancelRectangle() {
  if (!band_ && !selectDrag_) return;
  band_.reset();
  if (selectDrag_ && selectDrag_->moving) view_.selectionOverlay()->setDragOffset({});
  selectDrag_.reset();
  if (rubberBand_) rubberBand_->hide();
  waitingForRelease_ = true;
}

void MouseEditor::paint(MapView view) {
  const Plane plane = planeOf(view);
  if (strokeId_ == 0) strokeId_ = session_.history().newStrokeId();
  const MapDocument &doc = session_.document();
  refresh(plane, session_.paintCurrentSector(plane, strokeId_));
  lastPainted_ = SectorAddress{doc.CurrentQuad, doc.CurrentSect};
}

void MouseEditor::fill(MapView view) {
  const MapDocument &doc = session_.document();
  const SectorAddress at{doc.CurrentQuad, doc.CurrentSect};
  if (fillSimilar_)
    if (const std::optional<QRect> filled = fillSimilar_(planeOf(view), at, altHeld_)) {
      refresh(planeOf(view), *filled);
      lastPainted_ = at;
      return;
    }
  refresh(planeOf(view), session_.fillArea(planeOf(view), at));
  lastPainted_ = at;
}

void MouseEditor::showRectangle() {
  SurfaceWidget *surface = view_.surfaceWidget(band_->view);
  if (!rubberBand_ || rubberBand_->parentWidget() != surface) {
    delete rubberBand_.data();
    rubberBand_ = new QRubberBand(QRubberBand::Rectangle, surface);
    rubberBand_->setObjectName(QStringLiteral("rectangleBand"));
  }
  rubberBand_->setGeometry(ViewZoom::zoomedArea(
      session_.rectangleOutline(band_->anchor, band_->corner), surface->zoomLevel()));
  rubberBand_->show();
}

void MouseEditor::finishRectangle() {
  const RectangleDrag drag = *band_;
  band_.reset();
  if (rubberBand_) rubberBand_->hide();
  const Plane plane = planeOf(drag.view);
  const bool click = drag.anchor == drag.corner;
  MapDocument &doc = session_.document();
  doc.CurrentQuad = qint16(drag.corner.quad);
  doc.CurrentSect = qint16(drag.corner.sector);
  if (click && session_.editMode() == EditMode::FillArea) {
    fill(drag.view);
  } else if (click && !lastPainted_) {
    // No line to draw yet: a Shift + click paints as a plain click does.
    doc.mousePainting = true;
    paint(drag.view);
    doc.mousePainting = false;
  } else {
    refresh(plane, click ? session_.paintLine(plane, *lastPainted_, drag.corner)
                         : session_.paintRectangle(plane, drag.anchor, drag.corner));
    lastPainted_ = drag.corner;
  }
}

void MouseEditor::refresh(Plane plane, const QRect &area) {
  view_.refresh(MapSurfaces::viewOf(plane), area);
}

}  // namespace vmm
