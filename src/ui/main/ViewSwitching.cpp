// SPDX-License-Identifier: GPL-3.0-or-later
// Switching between the Image, Terrain and Elevation maps, Redraw Grid and Refresh Screen.
#include "ui/main/MainWindow.h"

#include "ui/docks/LegendWindow.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/MapViewWindow.h"

#include <QApplication>

namespace vmm {

void MainWindow::statusPanelClicked(int, const QString &key) {
  if (!session_.document().mapViewOpen || !mapView_) return;
  if (key == QLatin1String("I"))
    switchView(MapView::Image);
  else if (key == QLatin1String("T"))
    switchView(MapView::Terrain);
  else if (key == QLatin1String("E"))
    switchView(MapView::Elevation);
  else if (key == QLatin1String("V"))
    toggleTreeView();
}

void MainWindow::switchView(MapView view) {
  // Surfaces in the order Terrain, Image, Elevation; then the bevels; then the controls.
  mapView_->setSurfaceVisible(MapView::Terrain, view == MapView::Terrain);
  mapView_->setSurfaceVisible(MapView::Image, view == MapView::Image);
  mapView_->setSurfaceVisible(MapView::Elevation, view == MapView::Elevation);
  statusPanels_->setBevel(13,
                          view == MapView::Elevation ? StatusPanels::Inset : StatusPanels::Raised);
  statusPanels_->setBevel(11,
                          view == MapView::Terrain ? StatusPanels::Inset : StatusPanels::Raised);
  statusPanels_->setBevel(9, view == MapView::Image ? StatusPanels::Inset : StatusPanels::Raised);
  // Every way of switching leaves the same window: the tool strip, the panel naming what a
  // click paints and the Legend all show the plane the view paints on.
  const bool heights = view == MapView::Elevation;
  toolBar_->showControlsFor(heights);
  showPaintValue();
  if (legend_) legend_->setPlane(heights ? Plane::Height : Plane::Element);
}

void MainWindow::showPaintValue() {
  const MapDocument &document = session_.document();
  if (visibleView() == MapView::Elevation)
    setPanelText(
        4, QStringLiteral(" SelectedHeight : ") + QString::number(document.CurrentDrawHeight));
  else if (session_.elementTable().hasElement(document.CurrentDrawElement))
    setPanelText(4, QStringLiteral("Sel. : ") + session_.elementName(document.CurrentDrawElement));
}

void MainWindow::showImageMap() {
  if (!requireMap() || !mapView_) return;
  switchView(MapView::Image);
}

void MainWindow::showTerrainMap() {
  if (!requireMap() || !mapView_) return;
  switchView(MapView::Terrain);
}

void MainWindow::showElevationMap() {
  if (!requireMap() || !mapView_) return;
  switchView(MapView::Elevation);
}

void MainWindow::redrawGrid() {
  if (!requireMap() || !mapView_) return;
  mapView_->AddGrid();
}

void MainWindow::refreshScreen() {
  if (!requireMap() || !mapView_) return;
  MapDocument &document = session_.document();
  document.mapReady = false;
  for (const Plane plane : {Plane::Height, Plane::Element}) {
    const MapView view = MapSurfaces::viewOf(plane);
    if (mapView_->isSurfaceVisible(view)) repaintWholePlane(plane);
  }
  document.mapReady = true;
}

void MainWindow::repaintWholePlane(Plane plane) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  // The picture back, the grid, then every assigned Sector of the plane.
  session_.repaintWholePlane(plane);
  mapView_->refresh(MapSurfaces::viewOf(plane));
  QApplication::restoreOverrideCursor();
}

void MainWindow::repaintWholeMap() {
  if (!mapView_) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  session_.repaintWholeMap();
  mapView_->refresh(MapView::Elevation);
  mapView_->refresh(MapView::Terrain);
  QApplication::restoreOverrideCursor();
}

MapView MainWindow::visibleView() const {
  if (mapView_) {
    for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation})
      if (mapView_->isSurfaceVisible(view)) return view;
  }
  return MapView::Terrain;
}

}  // namespace vmm
