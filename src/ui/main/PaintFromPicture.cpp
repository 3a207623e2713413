// SPDX-License-Identifier: GPL-3.0-or-later
// Paint from Picture: the dock of suggestions beside the map, its preview on the map
// view, its Apply, and Fill Similar in Fill Area. The learning and the painting live in
// the core (PictureTracer); the window wires them to the map view and the docks.
#include "ui/main/MainWindow.h"

#include "ui/docks/PaintFromPictureWindow.h"
#include "ui/docks/ProblemsWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/MouseEditor.h"

#include <QAction>
#include <QDockWidget>

namespace vmm {

void MainWindow::setUpPaintFromPicture() {
  paintFromPicture_ = new PaintFromPictureWindow(session_);
  traceDock_ = new QDockWidget(paintFromPicture_->windowTitle(), this);
  traceDock_->setObjectName(QStringLiteral("dockPaintFromPicture"));
  traceDock_->setWidget(paintFromPicture_);
  traceDock_->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  addDockWidget(Qt::RightDockWidgetArea, traceDock_);
  traceDock_->hide();
  connect(&session_.history(), &MapHistory::documentChanged, paintFromPicture_,
          &RefreshingPanel::scheduleRefresh);
  connect(&session_.document(), &MapDocument::planesReset, paintFromPicture_,
          &RefreshingPanel::scheduleRefresh);
  connect(paintFromPicture_, &PaintFromPictureWindow::closeRequested, traceDock_,
          &QDockWidget::hide);
  connect(paintFromPicture_, &PaintFromPictureWindow::applied, this,
          [this](const TraceOutcome &outcome, Plane plane) {
            if (mapView_) mapView_->refresh(MapSurfaces::viewOf(plane), outcome.changed);
            // The Sectors left below the minimum, for the map maker to finish by hand.
            problems_->setUnsureSectors(plane, outcome.unsureSectors);
            if (auto *dock = qobject_cast<QDockWidget *>(problems_->parentWidget());
                dock && !outcome.unsureSectors.empty())
              dock->show();
          });
}

void MainWindow::showPaintFromPicture() {
  if (!requireMap()) return;
  traceDock_->show();
  traceDock_->raise();
}

void MainWindow::attachPaintFromPicture(MapViewWindow *view, MouseEditor *mouse) {
  const auto planeShown = [view] {
    return view->shownView() == MapView::Elevation ? Plane::Height : Plane::Element;
  };
  paintFromPicture_->setMapView(view);
  paintFromPicture_->setPlane(planeShown());
  connect(view, &MapViewWindow::shownViewChanged, paintFromPicture_,
          [this, planeShown] { paintFromPicture_->setPlane(planeShown()); });
  // Alt + click in Fill Area, or any Fill Area click while the dock follows the picture.
  mouse->setFillSimilar(
      [this](Plane plane, SectorAddress at, bool altHeld) -> std::optional<QRect> {
        const bool following = !traceDock_->isHidden() && paintFromPicture_->followsPicture();
        if (!altHeld && !following) return std::nullopt;
        return paintFromPicture_->fillSimilar(plane, at);
      });
}

}  // namespace vmm
