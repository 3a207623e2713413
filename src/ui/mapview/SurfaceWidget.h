// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"
#include "mapview/ZoomedSurface.h"

#include <QImage>
#include <QPointF>
#include <QWidget>

namespace vmm {

class SelectionOverlay;
class TracePreview;

// Shows one view surface (a picture the colouring routines draw into) at the
// map view's zoom level, and reports mouse events in picture pixels, whatever
// the level. A middle-button drag, or a left drag with Space held, pans the
// view instead: it is reported as a pan and never as a mouse event to edit with.
class SurfaceWidget : public QWidget {
  Q_OBJECT

 public:
  SurfaceWidget(const QImage *image, QWidget *parent);
  ~SurfaceWidget() override;

  // The image was replaced or changed as a whole: take its size again and repaint everything.
  void imageReplaced();
  // The image's `area` changed: the zoomed picture follows and that part is repainted.
  void imageChanged(const QRect &area);

  // 1 shows one picture pixel per logical pixel; the widget takes the zoomed size.
  void setZoomLevel(double level);
  double zoomLevel() const { return zoomed_.level(); }
  const ZoomedSurface &zoomedSurface() const { return zoomed_; }
  // Paint from Picture's suggestions for `plane` are drawn over this surface while shown.
  void setPreview(const TracePreview *preview, Plane plane);
  // The selection's outline and a floating stamp are drawn over this surface.
  void setSelectionOverlay(const SelectionOverlay *overlay, Plane plane);

 signals:
  // Buttons as bits: 1 left, 2 right, 4 middle; positions in picture pixels.
  void mouseMoved(int buttons, double x, double y);
  void mousePressed(int buttons, double x, double y);
  void mouseReleased(int buttons);
  void keyPressed(int key);
  // A pan moved the pointer by `delta` logical pixels: the view should follow it.
  void panned(QPoint delta);

 protected:
  void paintEvent(QPaintEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  void keyReleaseEvent(QKeyEvent *event) override;
  void focusOutEvent(QFocusEvent *event) override;
  void hideEvent(QHideEvent *event) override;

 private:
  QPointF picturePosition(const QMouseEvent *event);
  void reportMove(int buttons, QPointF at);
  void followDevicePixelRatio();
  void startPan(QPointF globalPosition, Qt::MouseButton button);
  void endPan();
  void setSpaceHeld(bool held);
  void showHandCursor(Qt::CursorShape shape);
  void restoreCursor();

  const QImage *image_;
  ZoomedSurface zoomed_;
  const TracePreview *preview_ = nullptr;
  Plane previewPlane_ = Plane::Element;
  const SelectionOverlay *overlay_ = nullptr;
  bool spaceHeld_ = false;
  bool panning_ = false;
  Qt::MouseButton panButton_ = Qt::NoButton;
  QPointF panFrom_;       // global position of the last pan step
  QPointF panRemainder_;  // the part of a pan step smaller than a pixel
  // Where the widget sat, and at which level, when the pointer's position was last reported.
  QPoint reportedAt_;
  double reportedLevel_ = 1.0;
  bool handCursor_ = false;
};

// Mouse buttons as the editing rules count them: 1 left, 2 right, 4 middle.
int buttonBits(Qt::MouseButtons buttons);

}  // namespace vmm
