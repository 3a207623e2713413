// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/ZoomedSurface.h"

#include "mapview/ViewZoom.h"

#include <QPainter>
#include <QRegion>

#include <cmath>

namespace vmm {

ZoomedSurface::ZoomedSurface(const QImage *picture) : picture_(picture) {}

void ZoomedSurface::setPicture(const QImage *picture) {
  picture_ = picture;
  resetCopy();
}

void ZoomedSurface::setZoom(double level, double devicePixelRatio) {
  if (level == level_ && devicePixelRatio == devicePixelRatio_) return;
  level_ = level;
  devicePixelRatio_ = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
  resetCopy();
}

void ZoomedSurface::resetCopy() {
  if (isReduced())
    copy_.reset(picture_, level_ * devicePixelRatio_, devicePixelRatio_);
  else
    copy_.reset(nullptr, 1.0);
}

QSize ZoomedSurface::size() const {
  return picture_ ? ViewZoom::zoomedSize(picture_->size(), level_) : QSize();
}

QPointF ZoomedSurface::picturePixelAt(QPointF position) const {
  return ViewZoom::picturePixelAt(position, level_, devicePixelRatio_);
}

QRect ZoomedSurface::pictureChanged(const QRect &area) {
  if (!picture_ || area.isEmpty()) return {};
  QRect shown;
  if (isReduced()) {
    // The copy's pixels are device pixels: back to logical ones, widened to whole pixels.
    const QRect copied = copy_.update(area);
    if (copied.isEmpty()) return {};
    const double ratio = devicePixelRatio_;
    shown =
        QRect(QPoint(int(std::floor(copied.left() / ratio)), int(std::floor(copied.top() / ratio))),
              QPoint(int(std::ceil((copied.right() + 1) / ratio)) - 1,
                     int(std::ceil((copied.bottom() + 1) / ratio)) - 1));
  } else {
    shown = ViewZoom::zoomedArea(area & picture_->rect(), level_);
  }
  // At fractional scales the painter may round a pixel's edge either way.
  const double devicePixels = level_ * devicePixelRatio_;
  if (devicePixels != std::floor(devicePixels) ||
      devicePixelRatio_ != std::floor(devicePixelRatio_))
    shown.adjust(-1, -1, 1, 1);
  return shown & QRect(QPoint(0, 0), size());
}

void ZoomedSurface::pictureReplaced() {
  resetCopy();
}

void ZoomedSurface::release() {
  copy_.release();
}

void ZoomedSurface::paint(QPainter &painter, const QRect &exposed, const QColor &background) {
  const QRect shown = exposed & QRect(QPoint(0, 0), size());
  if (shown != exposed) {
    for (const QRect &rest : QRegion(exposed).subtracted(QRegion(shown)))
      painter.fillRect(rest, background);
  }
  if (shown.isEmpty() || !picture_ || picture_->isNull()) return;
  painter.save();
  painter.setClipRect(shown, Qt::IntersectClip);
  // Nearest-neighbour enlargement: cell edges stay crisp.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  if (isReduced()) {
    painter.drawImage(QPoint(0, 0), copy_.image());
  } else if (level_ == 1.0) {
    painter.drawImage(shown.topLeft(), *picture_, shown);
  } else {
    // The whole picture's rectangle, clipped: every repaint maps pixels to the
    // screen the same way, so a partial repaint never shifts an edge.
    painter.drawImage(QRectF(0, 0, picture_->width() * level_, picture_->height() * level_),
                      *picture_, QRectF(picture_->rect()));
  }
  painter.restore();
}

}  // namespace vmm
