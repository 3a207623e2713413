#pragma once

#include "mapview/MapSurfaces.h"

#include <QWidget>

#include <array>

class QScrollBar;

namespace vmm {

class MapDocument;
class SectorHighlight;
class SurfaceWidget;

// The map view window: a viewport with two scroll bars and the three view
// surfaces stacked inside it, one of them visible. Scrolling moves the
// surfaces; it never redraws their pictures.
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

  // Draws the Quad and Sector grid on the Terrain and Elevation views and shows it.
  void AddGrid();
  // Shows what changed on a surface: a pixel area, or the whole surface.
  void refresh(MapView view, const QRect &area);
  void refresh(MapView view);

  // The arrow keys scroll by 100 pixels.
  void scrollByKey(int key);

  // Scrolls the visible view to put the Sector in the middle (as far as the scroll
  // bars go) and outlines it for a moment. False for a Sector outside the picture.
  bool showSector(int quad, int sector);
  SectorHighlight *sectorHighlight() const { return highlight_; }

 signals:
  void surfaceMouseMoved(MapView view, int buttons, double x, double y);
  void surfaceMousePressed(MapView view, int buttons, double x, double y);
  void surfaceMouseReleased(MapView view, int buttons);

 protected:
  void resizeEvent(QResizeEvent *event) override;

 private:
  void layoutViewport(bool withFloor);
  void moveSurfaces();

  MapDocument &document_;
  MapSurfaces &surfaces_;
  QWidget *viewport_ = nullptr;
  std::array<SurfaceWidget *, 3> widgets_{};
  QScrollBar *hScroll_ = nullptr;
  QScrollBar *vScroll_ = nullptr;
  SectorHighlight *highlight_ = nullptr;
};

}  // namespace vmm
