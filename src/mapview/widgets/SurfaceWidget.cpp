#include "mapview/widgets/SurfaceWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

namespace vmm {

int buttonBits(Qt::MouseButtons buttons) {
  int bits = 0;
  if (buttons & Qt::LeftButton) bits |= 1;
  if (buttons & Qt::RightButton) bits |= 2;
  if (buttons & Qt::MiddleButton) bits |= 4;
  return bits;
}

SurfaceWidget::SurfaceWidget(const QImage *image, QWidget *parent)
    : QWidget(parent), image_(image) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  imageReplaced();
}

void SurfaceWidget::imageReplaced() {
  resize(image_ ? image_->size() : QSize());
  update();
}

void SurfaceWidget::paintEvent(QPaintEvent *event) {
  QPainter painter(this);
  // Only the exposed part is copied: painting a Sector repaints a 10 x 10 area.
  for (const QRect &r : event->region()) {
    if (image_ && !image_->isNull())
      painter.drawImage(r.topLeft(), *image_, r);
    else
      painter.fillRect(r, palette().window());
  }
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent *event) {
  emit mouseMoved(buttonBits(event->buttons()), event->position().x(), event->position().y());
}

void SurfaceWidget::mousePressEvent(QMouseEvent *event) {
  setFocus(Qt::MouseFocusReason);
  emit mousePressed(buttonBits(event->button()), event->position().x(), event->position().y());
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent *event) {
  emit mouseReleased(buttonBits(event->button()));
}

void SurfaceWidget::keyPressEvent(QKeyEvent *event) {
  emit keyPressed(event->key());
}

}  // namespace vmm
