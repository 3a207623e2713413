// SPDX-License-Identifier: GPL-3.0-or-later
// Moving around the map view: zoom levels, the mouse wheel, panning, the arrow
// keys and the scroll position. The picture's pixels are never touched here.
#include "mapview/ViewZoom.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QApplication>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace vmm {

namespace {
constexpr int kKeyScrollStep = 100;
constexpr int kWheelNotch = 120;  // angle delta of one wheel notch, in eighths of a degree
}  // namespace

void MapViewWindow::setZoomLevel(double level) {
  zoomAround(level, QPointF(viewport_->width() / 2.0, viewport_->height() / 2.0));
}

void MapViewWindow::zoomAround(double level, QPointF anchor) {
  level = std::clamp(level, ViewZoom::kMinimum, ViewZoom::kMaximum);
  if (level == zoom_) return;
  const QPointF scroll(hScroll_->value(), vScroll_->value());
  const QPointF target = ViewZoom::scrollKeeping(scroll, anchor, zoom_, level);
  zoom_ = level;
  for (SurfaceWidget *widget : widgets_) widget->setZoomLevel(level);
  updateScrollRanges();
  hScroll_->setValue(int(std::lround(target.x())));
  vScroll_->setValue(int(std::lround(target.y())));
  emit zoomChanged(level);
  emit visibleAreaChanged(visibleArea());
}

void MapViewWindow::zoomIn() {
  setZoomLevel(ViewZoom::zoomedIn(zoom_));
}

void MapViewWindow::zoomOut() {
  setZoomLevel(ViewZoom::zoomedOut(zoom_));
}

void MapViewWindow::fitToWindow() {
  setZoomLevel(ViewZoom::fitLevel(surfaces_.size(), viewport_->size()));
  setScrollPosition(QPoint(0, 0));
}

QPoint MapViewWindow::scrollPosition() const {
  return {hScroll_->value(), vScroll_->value()};
}

void MapViewWindow::setScrollPosition(QPoint position) {
  hScroll_->setValue(position.x());
  vScroll_->setValue(position.y());
}

void MapViewWindow::centreOn(QPointF picturePoint) {
  const QPointF centre = picturePoint * zoom_;
  setScrollPosition(QPoint(int(std::lround(centre.x() - viewport_->width() / 2.0)),
                           int(std::lround(centre.y() - viewport_->height() / 2.0))));
}

QRectF MapViewWindow::visibleArea() const {
  const QRectF shown(QPointF(hScroll_->value(), vScroll_->value()) / zoom_,
                     QSizeF(viewport_->size()) / zoom_);
  return shown & QRectF(QPointF(0, 0), QSizeF(surfaces_.size()));
}

void MapViewWindow::panBy(QPoint delta) {
  // The picture moves with the pointer: dragging right shows what lies to the left.
  setScrollPosition(scrollPosition() - delta);
}

bool MapViewWindow::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::Wheel || !surfaces_.isLoaded()) return false;
  const auto *wheel = static_cast<const QWheelEvent *>(event);
  const auto *over = static_cast<const QWidget *>(watched);
  wheelTurned(*wheel,
              over == viewport_ ? wheel->position() : over->mapTo(viewport_, wheel->position()));
  return true;
}

void MapViewWindow::wheelTurned(const QWheelEvent &event, QPointF anchor) {
  const QPoint angle = event.angleDelta();
  if (event.modifiers() & Qt::ControlModifier) {
    // One level per notch; a touchpad's small steps add up to notches.
    wheelZoomRemainder_ += angle.y() != 0 ? angle.y() : angle.x();
    while (wheelZoomRemainder_ >= kWheelNotch) {
      wheelZoomRemainder_ -= kWheelNotch;
      zoomAround(ViewZoom::zoomedIn(zoom_), anchor);
    }
    while (wheelZoomRemainder_ <= -kWheelNotch) {
      wheelZoomRemainder_ += kWheelNotch;
      zoomAround(ViewZoom::zoomedOut(zoom_), anchor);
    }
    return;
  }
  // Touchpads report pixels; wheels report notches, each the usual number of lines.
  QPoint step = event.pixelDelta();
  if (step.isNull())
    step = angle * QApplication::wheelScrollLines() * hScroll_->singleStep() / kWheelNotch;
  // Shift turns an up-and-down wheel sideways.
  if ((event.modifiers() & Qt::ShiftModifier) && step.x() == 0) step = QPoint(step.y(), 0);
  // Turning the wheel away from the user moves the picture down, showing what lies above.
  panBy(step);
}

void MapViewWindow::scrollByKey(int key) {
  auto forward = [](QScrollBar *bar) {
    bar->setValue(bar->value() <= bar->maximum() - kKeyScrollStep ? bar->value() + kKeyScrollStep
                                                                  : bar->maximum());
  };
  auto back = [](QScrollBar *bar) {
    bar->setValue(bar->value() >= kKeyScrollStep ? bar->value() - kKeyScrollStep : 0);
  };
  switch (key) {
    case Qt::Key_Down:
      forward(vScroll_);
      break;
    case Qt::Key_Up:
      back(vScroll_);
      break;
    case Qt::Key_Right:
      forward(hScroll_);
      break;
    case Qt::Key_Left:
      back(hScroll_);
      break;
    default:
      break;
  }
}

}  // namespace vmm
