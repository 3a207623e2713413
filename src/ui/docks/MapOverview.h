// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mapview/MapSurfaces.h"
#include "mapview/ZoomedSurface.h"

#include <QDockWidget>
#include <QPointer>
#include <QRectF>
#include <QWidget>

#include <vector>

namespace vmm {

class MapViewWindow;

// The whole picture of the map view's shown view, reduced to fit, with the part
// the map view shows outlined; a left click or drag moves the map view there.
// It follows every change of the shown view area by area (a painted Sector
// recomputes a few of its pixels), and rebuilds only when the view, the
// picture or its own size changes.
class OverviewPanel : public QWidget {
  Q_OBJECT

 public:
  explicit OverviewPanel(QWidget *parent = nullptr);

  // Follows `view` from now on; null shows nothing.
  void setMapView(MapViewWindow *view);
  MapViewWindow *mapView() const { return view_; }

  // The overview's scale (picture pixels to logical pixels) and where the picture
  // sits in the panel; brought up to date first.
  double level();
  QPoint pictureOrigin();
  // Where the map view's visible area is outlined, in panel pixels.
  QRect outlineRect();

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent *event) override;
  void resizeEvent(QResizeEvent *event) override;
  void hideEvent(QHideEvent *event) override;
  void mousePressEvent(QMouseEvent *event) override;
  void mouseMoveEvent(QMouseEvent *event) override;

 private:
  void surfaceChanged(MapView view, const QRect &area);
  void setStale();
  void bringUpToDate();
  void visibleAreaChanged(const QRectF &area);
  void moveMapViewTo(QPointF position);

  QPointer<MapViewWindow> view_;
  std::vector<QMetaObject::Connection> connections_;
  ZoomedSurface picture_;
  MapView shown_ = MapView::Terrain;
  QRectF visible_;  // picture pixels
  bool stale_ = true;
};

// The "Overview" dock window around an OverviewPanel.
class MapOverview : public QDockWidget {
  Q_OBJECT

 public:
  explicit MapOverview(QWidget *parent = nullptr);
  OverviewPanel *panel() const { return panel_; }

 private:
  OverviewPanel *panel_;
};

}  // namespace vmm
