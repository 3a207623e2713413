// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/MapViewWindow.h"

#include "ui/mapview/SelectionOverlay.h"
#include "ui/mapview/TracePreview.h"

#include "document/MapDocument.h"
#include "mapview/ViewZoom.h"
#include "ui/mapview/SectorHighlight.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QResizeEvent>
#include <QScrollBar>

namespace vmm {

namespace {
constexpr int kMinimumInner = 20;
}  // namespace

MapViewWindow::MapViewWindow(MapDocument &document, MapSurfaces &surfaces, QWidget *parent)
    : QWidget(parent), document_(document), surfaces_(surfaces) {
  setObjectName(QStringLiteral("frmMapView"));
  setWindowTitle(tr("Map"));
  document_.mapViewOpen = true;

  viewport_ = new QWidget(this);
  viewport_->setObjectName(QStringLiteral("Picture1"));
  preview_ = new TracePreview(this);
  overlay_ = new SelectionOverlay(this);
  for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation}) {
    auto *widget = new SurfaceWidget(&surfaces_.surface(view), viewport_);
    widgets_[static_cast<std::size_t>(view)] = widget;
    connect(widget, &SurfaceWidget::mouseMoved, this,
            [this, view](int buttons, double x, double y) {
              emit surfaceMouseMoved(view, buttons, x, y);
            });
    connect(widget, &SurfaceWidget::mousePressed, this,
            [this, view](int buttons, double x, double y) {
              emit surfaceMousePressed(view, buttons, x, y);
            });
    connect(widget, &SurfaceWidget::mouseReleased, this,
            [this, view](int buttons) { emit surfaceMouseReleased(view, buttons); });
    connect(widget, &SurfaceWidget::keyPressed, this, &MapViewWindow::scrollByKey);
    connect(widget, &SurfaceWidget::panned, this, &MapViewWindow::panBy);
    widget->installEventFilter(this);
    widget->setPreview(preview_, view == MapView::Elevation ? Plane::Height : Plane::Element);
    widget->setSelectionOverlay(overlay_,
                                view == MapView::Elevation ? Plane::Height : Plane::Element);
  }
  surfaceWidget(MapView::Terrain)->setObjectName(QStringLiteral("Picture2"));
  surfaceWidget(MapView::Image)->setObjectName(QStringLiteral("Picture3"));
  surfaceWidget(MapView::Elevation)->setObjectName(QStringLiteral("Picture4"));
  viewport_->installEventFilter(this);
  // The Terrain view is the visible one when the window is created.
  setSurfaceVisible(MapView::Image, false);
  setSurfaceVisible(MapView::Elevation, false);

  hScroll_ = new QScrollBar(Qt::Horizontal, this);
  hScroll_->setObjectName(QStringLiteral("HScroll1"));
  vScroll_ = new QScrollBar(Qt::Vertical, this);
  vScroll_->setObjectName(QStringLiteral("VScroll1"));
  for (QScrollBar *bar : {hScroll_, vScroll_}) {
    bar->setSingleStep(kQuadPixels);
    bar->setMinimum(0);
    // valueChanged also fires while the thumb is dragged (tracking is on).
    connect(bar, &QScrollBar::valueChanged, this, &MapViewWindow::moveSurfaces);
  }
  highlight_ = new SectorHighlight(surfaceWidget(MapView::Terrain));
  layoutViewport(false);
}

MapViewWindow::~MapViewWindow() {
  document_.mapViewOpen = false;
}

bool MapViewWindow::isSurfaceVisible(MapView view) const {
  return !surfaceWidget(view)->isHidden();
}

void MapViewWindow::setSurfaceVisible(MapView view, bool visible) {
  if (isSurfaceVisible(view) == visible) return;
  surfaceWidget(view)->setVisible(visible);
  emit shownViewChanged();
}

MapView MapViewWindow::shownView() const {
  for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation})
    if (isSurfaceVisible(view)) return view;
  return MapView::Terrain;
}

void MapViewWindow::AddGrid() {
  const QRect changed = surfaces_.AddGrid();
  refresh(MapView::Terrain, changed);
  refresh(MapView::Elevation, changed);
}

void MapViewWindow::refresh(MapView view, const QRect &area) {
  if (area.isEmpty()) return;
  surfaceWidget(view)->imageChanged(area);
  emit surfaceChanged(view, area);
}

void MapViewWindow::refresh(MapView view) {
  surfaceWidget(view)->imageReplaced();
  emit surfaceReplaced(view);
}

void MapViewWindow::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  layoutViewport(true);
  // The grid goes back over the lines it drew when the picture came in, pixel for
  // pixel, so nothing the views show changes: reduced copies are not rebuilt for it.
  surfaces_.AddGrid();
}

void MapViewWindow::layoutViewport(bool withFloor) {
  int innerWidth = width();
  int innerHeight = height();
  if (withFloor && (innerWidth < kMinimumInner || innerHeight < kMinimumInner)) {
    innerWidth = kMinimumInner;
    innerHeight = kMinimumInner;
  }
  const int barWidth = vScroll_->sizeHint().width();
  const int barHeight = hScroll_->sizeHint().height();
  const int viewWidth = std::max(0, innerWidth - barWidth);
  const int viewHeight = std::max(0, innerHeight - barHeight);
  viewport_->setGeometry(0, 0, viewWidth, viewHeight);
  hScroll_->setGeometry(0, viewHeight, viewWidth, barHeight);
  vScroll_->setGeometry(viewWidth, 0, barWidth, viewHeight);
  updateScrollRanges();
}

void MapViewWindow::updateScrollRanges() {
  const int viewWidth = viewport_->width();
  const int viewHeight = viewport_->height();
  const QSize surface = surfaceWidget(MapView::Terrain)->size();
  hScroll_->setMaximum(std::max(0, surface.width() - viewWidth));
  vScroll_->setMaximum(std::max(0, surface.height() - viewHeight));
  hScroll_->setPageStep(std::max(kQuadPixels, viewWidth));
  vScroll_->setPageStep(std::max(kQuadPixels, viewHeight));
  vScroll_->setVisible(viewHeight < surface.height());
  hScroll_->setVisible(viewWidth < surface.width());
  // Keep the surfaces where the bars say, so the view always matches the bars.
  moveSurfaces();
}

void MapViewWindow::moveSurfaces() {
  // A map smaller than the view sits in its middle; a larger one where the bars say.
  const QSize surface = widgets_[0]->size();
  const QSize view = viewport_->size();
  const QPoint place(
      surface.width() < view.width() ? (view.width() - surface.width()) / 2 : -hScroll_->value(),
      surface.height() < view.height() ? (view.height() - surface.height()) / 2
                                       : -vScroll_->value());
  for (SurfaceWidget *widget : widgets_) widget->move(place);
  emit visibleAreaChanged(visibleArea());
}

bool MapViewWindow::showSector(int quad, int sector) {
  const QSize picture = surfaces_.size();
  const MapDocument::Origin origin = document_.sectorOrigin(quad, sector);
  const QRect cell(origin.x, origin.y, kSectorPixels, kSectorPixels);
  if (!MapDocument::isValidSector(sector) || !QRect(QPoint(), picture).contains(cell)) return false;
  SurfaceWidget *surface = widgets_[0];
  for (SurfaceWidget *widget : widgets_)
    if (!widget->isHidden()) surface = widget;
  centreOn(QRectF(cell).center());
  const QRect shown = ViewZoom::zoomedArea(cell, zoom_);
  highlight_->flash(surface, shown);
  return true;
}

}  // namespace vmm
