// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/docks/MapOverview.h"

#include "ui/mapview/SelectionOverlay.h"
#include "ui/mapview/TracePreview.h"

#include "ui/mapview/MapViewWindow.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace vmm {

namespace {
const QColor kBackground(96, 96, 96);
constexpr int kOutlineMargin = 2;  // the outline is drawn this far around the visible area
}  // namespace

OverviewPanel::OverviewPanel(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("overviewPanel"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(120, 120);
  setCursor(Qt::PointingHandCursor);
}

QSize OverviewPanel::sizeHint() const {
  return {260, 250};
}

void OverviewPanel::setMapView(MapViewWindow *view) {
  for (const auto &connection : connections_) disconnect(connection);
  connections_.clear();
  view_ = view;
  picture_.setPicture(nullptr);
  visible_ = {};
  setStale();
  if (!view) return;
  connections_ = {
      connect(view, &MapViewWindow::surfaceChanged, this, &OverviewPanel::surfaceChanged),
      connect(view, &MapViewWindow::surfaceReplaced, this,
              [this](MapView changed) {
                if (changed == shown_) setStale();
              }),
      connect(view, &MapViewWindow::shownViewChanged, this, &OverviewPanel::setStale),
      connect(view, &MapViewWindow::visibleAreaChanged, this, &OverviewPanel::visibleAreaChanged),
      connect(view->tracePreview(), &TracePreview::changed, this, qOverload<>(&QWidget::update)),
      connect(view->selectionOverlay(), &SelectionOverlay::changed, this,
              [this](const QRegion &area) {
                // The outline shows at the overview's scale: a pixel's margin around each strip.
                const double level = picture_.level();
                const QPoint origin = pictureOrigin();
                for (const QRect &r : area)
                  update(QRect(QPoint(int(r.left() * level), int(r.top() * level)),
                               QPoint(int(r.right() * level) + 1, int(r.bottom() * level) + 1))
                             .adjusted(-1, -1, 1, 1)
                             .translated(origin));
              }),
      connect(view, &QObject::destroyed, this, [this] { setMapView(nullptr); }),
  };
  visible_ = view->visibleArea();
}

void OverviewPanel::setStale() {
  stale_ = true;
  update();
}

void OverviewPanel::bringUpToDate() {
  if (!stale_) return;
  stale_ = false;
  if (!view_ || !view_->surfaces().isLoaded()) {
    picture_.setPicture(nullptr);
    return;
  }
  shown_ = view_->shownView();
  const QSize size = view_->surfaces().size();
  // Reduced to fit, never enlarged.
  const double level =
      std::min({1.0, double(width()) / size.width(), double(height()) / size.height()});
  picture_.setPicture(&view_->surfaces().surface(shown_));
  picture_.setZoom(level, devicePixelRatioF());
  picture_.pictureReplaced();
}

double OverviewPanel::level() {
  bringUpToDate();
  return picture_.level();
}

QPoint OverviewPanel::pictureOrigin() {
  bringUpToDate();
  const QSize shown = picture_.size();
  return {(width() - shown.width()) / 2, (height() - shown.height()) / 2};
}

QRect OverviewPanel::outlineRect() {
  if (visible_.isEmpty() || !picture_.picture()) return {};
  const double scale = level();
  const QPointF origin = pictureOrigin();
  const QRectF area(origin + visible_.topLeft() * scale, visible_.size() * scale);
  return area.toAlignedRect();
}

void OverviewPanel::surfaceChanged(MapView view, const QRect &area) {
  // Only the part that changed is reduced again; a hidden overview waits until it is shown.
  if (view != shown_ || stale_ || !isVisible()) return;
  const QRect changed = picture_.pictureChanged(area);
  if (!changed.isEmpty()) update(changed.translated(pictureOrigin()));
}

void OverviewPanel::visibleAreaChanged(const QRectF &area) {
  const int margin = kOutlineMargin + 1;
  update(outlineRect().adjusted(-margin, -margin, margin, margin));
  visible_ = area;
  update(outlineRect().adjusted(-margin, -margin, margin, margin));
}

void OverviewPanel::paintEvent(QPaintEvent *event) {
  bringUpToDate();
  QPainter painter(this);
  const QPoint origin = pictureOrigin();
  for (const QRect &exposed : event->region()) {
    painter.save();
    painter.translate(origin);
    picture_.paint(painter, exposed.translated(-origin), kBackground);
    // Paint from Picture's suggestions, over the view of their plane.
    const TracePreview *preview = view_ ? view_->tracePreview() : nullptr;
    if (preview && preview->isShown() &&
        MapSurfaces::viewOf(preview->plane()) ==
            (shown_ == MapView::Image ? MapView::Terrain : shown_))
      preview->paint(painter, picture_.level(), exposed.translated(-origin));
    if (view_)
      view_->selectionOverlay()->paint(
          painter, picture_.level(), exposed.translated(-origin),
          shown_ == MapView::Elevation ? Plane::Height : Plane::Element);
    painter.restore();
  }
  const QRect outline = outlineRect();
  if (outline.isEmpty()) return;
  // Dark around light, so the outline shows over any colour.
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 3));
  painter.drawRect(outline.adjusted(-1, -1, 0, 0));
  painter.setPen(QPen(Qt::white, 1));
  painter.drawRect(outline.adjusted(-1, -1, 0, 0));
}

void OverviewPanel::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  setStale();
}

void OverviewPanel::hideEvent(QHideEvent *event) {
  QWidget::hideEvent(event);
  picture_.release();
  stale_ = true;
}

void OverviewPanel::mousePressEvent(QMouseEvent *event) {
  if (event->button() == Qt::LeftButton) moveMapViewTo(event->position());
}

void OverviewPanel::mouseMoveEvent(QMouseEvent *event) {
  if (event->buttons() & Qt::LeftButton) moveMapViewTo(event->position());
}

void OverviewPanel::moveMapViewTo(QPointF position) {
  if (!view_ || !picture_.picture()) return;
  const double scale = level();
  if (scale <= 0) return;
  view_->centreOn((position - QPointF(pictureOrigin())) / scale);
}

MapOverview::MapOverview(QWidget *parent) : QDockWidget(tr("Overview"), parent) {
  setObjectName(QStringLiteral("dockOverview"));
  setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  panel_ = new OverviewPanel(this);
  setWidget(panel_);
}

}  // namespace vmm
