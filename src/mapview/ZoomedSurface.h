// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mapview/ReducedCopy.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>

class QPainter;

namespace vmm {

// A picture as a view shows it at a zoom level. At one device pixel per
// picture pixel and more it is the picture itself scaled nearest-neighbour
// (crisp cell edges); below that it is an area-averaged reduced copy at the
// device's resolution, kept up to date area by area instead of being rescaled
// at every repaint. Positions are the zoomed picture's logical pixels.
class ZoomedSurface {
 public:
  // Shows `picture` (which must outlive this or be replaced) at 100%.
  explicit ZoomedSurface(const QImage *picture = nullptr);

  void setPicture(const QImage *picture);
  const QImage *picture() const { return picture_; }
  // The level (1 is 100%) and the screen's device pixels per logical pixel.
  void setZoom(double level, double devicePixelRatio);
  double level() const { return level_; }
  double devicePixelRatio() const { return devicePixelRatio_; }
  // True when a reduced copy is shown rather than the picture itself.
  bool isReduced() const { return level_ * devicePixelRatio_ < 1.0; }

  // The zoomed picture's size.
  QSize size() const;
  // The picture pixel shown at a logical position (see ViewZoom::picturePixelAt).
  QPointF picturePixelAt(QPointF position) const;

  // The picture's `area` changed: a built reduced copy follows at once. Returns
  // the logical area that shows it, for the widget to repaint.
  QRect pictureChanged(const QRect &area);
  // The whole picture changed: the reduced copy is rebuilt when next painted.
  void pictureReplaced();
  // Frees the reduced copy while nothing shows it; it is rebuilt when next painted.
  void release();

  // Paints the logical area `exposed` of the zoomed picture at the painter's
  // origin; what lies beyond the picture is filled with `background`.
  void paint(QPainter &painter, const QRect &exposed, const QColor &background);

 private:
  void resetCopy();

  const QImage *picture_ = nullptr;
  double level_ = 1.0;
  double devicePixelRatio_ = 1.0;
  ReducedCopy copy_;
};

}  // namespace vmm
