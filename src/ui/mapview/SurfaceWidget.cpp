// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/SurfaceWidget.h"

#include "mapview/ViewZoom.h"
#include "ui/mapview/SelectionOverlay.h"
#include "ui/mapview/TracePreview.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>

namespace vmm {

int buttonBits(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= 1;
  if (buttons & Qt::RightButton) bits |= 2;
  if (buttons & Qt::MiddleButton) bits |= 4;
  return bits;
}

SurfaceWidget::SurfaceWidget(const QImage *image, QWidget *parent)
    : QWidget(parent), image_(image), zoomed_(image) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  zoomed_.setZoom(1.0, devicePixelRatioF());
  imageReplaced();
}

SurfaceWidget::~SurfaceWidget() {
  restoreCursor();
}

void SurfaceWidget::imageReplaced() {
  zoomed_.pictureReplaced();
  resize(zoomed_.size());
  update();
}

void SurfaceWidget::imageChanged(const QRect &area) {
  const QRect shown = zoomed_.pictureChanged(area);
  if (!shown.isEmpty()) update(shown);
}

void SurfaceWidget::setZoomLevel(double level) {
  zoomed_.setZoom(level, devicePixelRatioF());
  resize(zoomed_.size());
  update();
}

void SurfaceWidget::followDevicePixelRatio() {
  // The window may have moved to a screen of another resolution.
  if (devicePixelRatioF() != zoomed_.devicePixelRatio())
    zoomed_.setZoom(zoomed_.level(), devicePixelRatioF());
}

void SurfaceWidget::paintEvent(QPaintEvent *event) {
  followDevicePixelRatio();
  QPainter painter(this);
  // Only the exposed part is drawn: painting a Sector repaints its few pixels.
  for (const QRect &r : event->region()) zoomed_.paint(painter, r, palette().window().color());
  if (preview_ && preview_->isShown() && preview_->plane() == previewPlane_)
    for (const QRect &r : event->region()) preview_->paint(painter, zoomed_.level(), r);
  if (overlay_)
    for (const QRect &r : event->region())
      overlay_->paint(painter, zoomed_.level(), r, previewPlane_);
}

void SurfaceWidget::setSelectionOverlay(const SelectionOverlay *overlay, Plane plane) {
  overlay_ = overlay;
  previewPlane_ = plane;
  connect(overlay_, &SelectionOverlay::changed, this, [this](const QRegion &area) {
    if (!isVisible()) return;
    QRegion shown;
    for (const QRect &r : area) shown += ViewZoom::zoomedArea(r, zoomed_.level());
    update(shown);
  });
}

void SurfaceWidget::setPreview(const TracePreview *preview, Plane plane) {
  if (preview_) disconnect(preview_, nullptr, this, nullptr);
  preview_ = preview;
  previewPlane_ = plane;
  if (preview_) connect(preview_, &TracePreview::changed, this, qOverload<>(&QWidget::update));
}

void SurfaceWidget::hideEvent(QHideEvent *event) {
  QWidget::hideEvent(event);
  // A view switched away from needs no reduced copy until it is shown again.
  if (isHidden()) zoomed_.release();
}

QPointF SurfaceWidget::picturePosition(const QMouseEvent *event) {
  followDevicePixelRatio();
  return zoomed_.picturePixelAt(event->position());
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent *event) {
  if (panning_) {
    const QPointF step = event->globalPosition() - panFrom_ + panRemainder_;
    panFrom_ = event->globalPosition();
    const QPoint whole(int(std::trunc(step.x())), int(std::trunc(step.y())));
    panRemainder_ = step - QPointF(whole);
    if (!whole.isNull()) emit panned(whole);
    return;
  }
  reportMove(buttonBits(event->buttons()), picturePosition(event));
}

void SurfaceWidget::reportMove(int buttons, QPointF at) {
  reportedAt_ = pos();
  reportedLevel_ = zoomed_.level();
  emit mouseMoved(buttons, at.x(), at.y());
}

void SurfaceWidget::mousePressEvent(QMouseEvent *event) {
  setFocus(Qt::MouseFocusReason);
  if (panning_) return;
  if (event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && spaceHeld_)) {
    startPan(event->globalPosition(), event->button());
    return;
  }
  const QPointF at = picturePosition(event);
  // A click paints the Sector of the last reported position: once the view has
  // scrolled, panned or zoomed under a still pointer, that is reported afresh first.
  if (pos() != reportedAt_ || zoomed_.level() != reportedLevel_) reportMove(0, at);
  emit mousePressed(buttonBits(event->button()), at.x(), at.y());
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent *event) {
  if (panning_) {
    if (event->button() == panButton_) endPan();
    return;
  }
  emit mouseReleased(buttonBits(event->button()));
}

void SurfaceWidget::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Space) {
    if (!event->isAutoRepeat()) setSpaceHeld(true);
    return;
  }
  emit keyPressed(event->key());
}

void SurfaceWidget::keyReleaseEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) {
    setSpaceHeld(false);
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void SurfaceWidget::focusOutEvent(QFocusEvent *event) {
  // The release of a Space held while the focus left would never arrive here.
  setSpaceHeld(false);
  QWidget::focusOutEvent(event);
}

void SurfaceWidget::setSpaceHeld(bool held) {
  spaceHeld_ = held;
  if (panning_) return;
  if (held)
    showHandCursor(Qt::OpenHandCursor);
  else
    restoreCursor();
}

void SurfaceWidget::startPan(QPointF globalPosition, Qt::MouseButton button) {
  panning_ = true;
  panButton_ = button;
  panFrom_ = globalPosition;
  panRemainder_ = {};
  showHandCursor(Qt::ClosedHandCursor);
}

void SurfaceWidget::endPan() {
  panning_ = false;
  panButton_ = Qt::NoButton;
  if (spaceHeld_)
    showHandCursor(Qt::OpenHandCursor);
  else
    restoreCursor();
}

void SurfaceWidget::showHandCursor(Qt::CursorShape shape) {
  // Over the edit mode's own cursor, which stays set on the widget.
  if (handCursor_) {
    QGuiApplication::changeOverrideCursor(QCursor(shape));
  } else {
    QGuiApplication::setOverrideCursor(QCursor(shape));
    handCursor_ = true;
  }
}

void SurfaceWidget::restoreCursor() {
  if (!handCursor_) return;
  QGuiApplication::restoreOverrideCursor();
  handCursor_ = false;
}

}  // namespace vmm
