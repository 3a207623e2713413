// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mapview/MapSurfaces.h"

#include <QPointF>
#include <QRectF>
#include <QWidget>

#include <array>

class QScrollBar;

namespace vmm {

class MapDocument;
class SectorHighlight;
class SelectionOverlay;
class TracePreview;
class SurfaceWidget;

// The map view window: a viewport with two scroll bars and the three view
// surfaces stacked inside it, one of them visible, all shown at one zoom level.
// Scrolling moves the surfaces; it never redraws their pictures. The scroll bars
// count logical pixels of the zoomed picture.
class MapViewWindow : public QWidget {
  Q_OBJECT

 public:
  // Shows the three surfaces of the map's picture, which the editor session owns.
  MapViewWindow(MapDocument &document, MapSurfaces &surfaces, QWidget *parent = nullptr);
  ~MapViewWindow() override;

  MapSurfaces &surfaces() { return surfaces_; }
  SurfaceWidget *surfaceWidget(MapView view) const {
    return widgets_[static_cast<std::size_t>(view)];
  }
  QWidget *viewport() const { return viewport_; }
  QScrollBar *horizontalScrollBar() const { return hScroll_; }
  QScrollBar *verticalScrollBar() const { return vScroll_; }

  bool isSurfaceVisible(MapView view) const;
  void setSurfaceVisible(MapView view, bool visible);
  // The view shown (the first visible one; Terrain when none is).
  MapView shownView() const;

  // Draws the Quad and Sector grid on the Terrain and Elevation views and shows it.
  void AddGrid();
  // Shows what changed on a surface: a pixel area, or the whole surface.
  void refresh(MapView view, const QRect &area);
  void refresh(MapView view);

  // Ctrl with the arrow keys scrolls by 100 logical pixels, whatever the zoom level.
  void scrollByKey(int key);

  // The zoom level (1 is 100%), for every view alike. A new window starts at 100%.
  double zoomLevel() const { return zoom_; }
  // Changes the level (within 12.5% to 800%) keeping the picture point at the
  // viewport's centre in place.
  void setZoomLevel(double level);
  // Changes the level keeping the picture point under `anchor` (a viewport position) in place.
  void zoomAround(double level, QPointF anchor);
  void zoomIn();
  void zoomOut();
  // The largest level at which the whole picture fits, scrolled to the top-left corner.
  void fitToWindow();

  // The scroll bars' positions: the logical pixel of the zoomed picture at the
  // viewport's top-left corner. Saved with the zoom level, they restore the view.
  QPoint scrollPosition() const;
  void setScrollPosition(QPoint position);
  // Scrolls so that `picturePoint` (picture pixels) is at the viewport's centre, as far as the bars
  // go.
  void centreOn(QPointF picturePoint);
  // The part of the picture the viewport shows, in picture pixels.
  QRectF visibleArea() const;
  // Scrolls the visible view to put the Sector in the middle (as far as the scroll
  // bars go) and outlines it for a moment. False for a Sector outside the picture.
  bool showSector(int quad, int sector);
  SectorHighlight *sectorHighlight() const { return highlight_; }
  // The suggestions of Paint from Picture, shown over the views of their plane.
  TracePreview *tracePreview() const { return preview_; }
  // The selection's outline and the floating stamp, drawn over every view.
  SelectionOverlay *selectionOverlay() const { return overlay_; }

 signals:
  void surfaceMouseMoved(MapView view, int buttons, double x, double y);
  void surfaceMousePressed(MapView view, int buttons, double x, double y);
  void surfaceMouseReleased(MapView view, int buttons);
  // A surface's pixels changed: an area of the picture, or the whole of it.
  void surfaceChanged(MapView view, const QRect &area);
  void surfaceReplaced(MapView view);
  void shownViewChanged();
  void zoomChanged(double level);
  // The zoom level, the scroll position or the viewport's size changed.
  void visibleAreaChanged(const QRectF &area);

 protected:
  void resizeEvent(QResizeEvent *event) override;
  // The wheel over the viewport and its surfaces zooms (with Ctrl) or scrolls.
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void layoutViewport(bool withFloor);
  void updateScrollRanges();
  void moveSurfaces();
  // Moves the picture by `delta` logical pixels, as far as the scroll bars go.
  void panBy(QPoint delta);
  // A wheel turn at `anchor` (a viewport position).
  void wheelTurned(const QWheelEvent &event, QPointF anchor);

  MapDocument &document_;
  MapSurfaces &surfaces_;
  QWidget *viewport_ = nullptr;
  std::array<SurfaceWidget *, 3> widgets_{};
  QScrollBar *hScroll_ = nullptr;
  QScrollBar *vScroll_ = nullptr;
  double zoom_ = 1.0;
  int wheelZoomRemainder_ = 0;  // Ctrl+wheel turns short of a whole notch, from touchpads
  SectorHighlight *highlight_ = nullptr;
  TracePreview *preview_ = nullptr;
  SelectionOverlay *overlay_ = nullptr;
};

}  // namespace vmm
