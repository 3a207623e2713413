// Switching between the Image, Terrain and Elevation maps, Redraw Grid and Refresh Screen.
#include "app/widgets/MDIfrmMain.h"

#include "app/widgets/StatusPanels.h"
#include "mapview/widgets/frmMapView.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>

namespace vmm {

void MDIfrmMain::MMStatusBarPanelClick(int, const QString &key) {
  if (document_.MapLoaded != 1 || !mapView_) return;
  if (key == QLatin1String("I"))
    switchView(MapView::Image, true);
  else if (key == QLatin1String("T"))
    switchView(MapView::Terrain, true);
  else if (key == QLatin1String("E"))
    switchView(MapView::Elevation, true);
  else if (key == QLatin1String("V"))
    toggleTreeView();
}

void MDIfrmMain::switchView(MapView view, bool includingCommand3) {
  // Surfaces in the order Terrain, Image, Elevation; then the bevels; then the controls.
  mapView_->setSurfaceVisible(MapView::Terrain, view == MapView::Terrain);
  mapView_->setSurfaceVisible(MapView::Image, view == MapView::Image);
  mapView_->setSurfaceVisible(MapView::Elevation, view == MapView::Elevation);
  statusPanels_->setBevel(13,
                          view == MapView::Elevation ? StatusPanels::Inset : StatusPanels::Raised);
  statusPanels_->setBevel(11,
                          view == MapView::Terrain ? StatusPanels::Inset : StatusPanels::Raised);
  statusPanels_->setBevel(9, view == MapView::Image ? StatusPanels::Inset : StatusPanels::Raised);
  const bool heights = view == MapView::Elevation;
  setToolVisible(cboTerainCategory_, !heights);
  setToolVisible(cboElementList_, !heights);
  setToolVisible(command1_, heights);
  setToolVisible(command2_, heights);
  if (includingCommand3) setToolVisible(command3_, heights);
  setToolVisible(cboheight_, heights);
}

void MDIfrmMain::mnuV1() {
  if (!requireMap() || !mapView_) return;
  // Only the surfaces change: panels and tool strip stay as they were.
  mapView_->setSurfaceVisible(MapView::Terrain, false);
  mapView_->setSurfaceVisible(MapView::Image, true);
  mapView_->setSurfaceVisible(MapView::Elevation, false);
}

void MDIfrmMain::mnuV2() {
  if (!requireMap() || !mapView_) return;
  switchView(MapView::Terrain, false);
}

void MDIfrmMain::mnuV3() {
  if (!requireMap() || !mapView_) return;
  switchView(MapView::Elevation, false);
}

void MDIfrmMain::mnuO1() {
  if (!requireMap() || !mapView_) return;
  mapView_->AddGrid();
}

void MDIfrmMain::mnuO2() {
  if (!requireMap() || !mapView_) return;
  document_.MapReady = 0;
  for (const Plane plane : {Plane::Height, Plane::Element}) {
    const MapView view = MapSurfaces::viewOf(plane);
    if (mapView_->isSurfaceVisible(view)) repaintWholePlane(plane);
  }
  document_.MapReady = 1;
}

void MDIfrmMain::repaintWholePlane(Plane plane) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The picture back, the grid, then every assigned Sector of the plane.
  painter_->repaintMap(plane);
  mapView_->refresh(MapSurfaces::viewOf(plane));
  QApplication::restoreOverrideCursor();
}

void MDIfrmMain::repaintWholeMap() {
  if (!mapView_) return;
  document_.MapReady = 0;
  repaintWholePlane(Plane::Height);
  repaintWholePlane(Plane::Element);
  document_.MapReady = 1;
}

MapView MDIfrmMain::visibleView() const {
  if (mapView_) {
    for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation})
      if (mapView_->isSurfaceVisible(view)) return view;
  }
  return MapView::Terrain;
}

}  // namespace vmm
