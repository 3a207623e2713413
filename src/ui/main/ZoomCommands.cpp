// SPDX-License-Identifier: GPL-3.0-or-later
// Zoom In, Zoom Out, Actual Size, Fit Map to Window and the Overview: the View
// Options items and the tool strip's zoom box, the overview dock, and the view
// kept in the settings file between runs.
#include "mapview/ViewZoom.h"
#include "ui/docks/MapOverview.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"

#include <QAction>
#include <QComboBox>
#include <QKeySequence>
#include <QMenu>

namespace vmm {

namespace {}  // namespace

void MainWindow::buildZoomMenuItems(QMenu *menu) {
  QAction *in = addMenuItem(menu, QStringLiteral("Zoom &In"), [this] { zoomIn(); });
  in->setObjectName(QStringLiteral("mnuZoomIn"));
  // Ctrl++ needs Shift on most keyboards; Ctrl+= is the same key without it.
  in->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  QAction *out = addMenuItem(menu, QStringLiteral("Zoom &Out"), [this] { zoomOut(); });
  out->setObjectName(QStringLiteral("mnuZoomOut"));
  out->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
  QAction *actual = addMenuItem(menu, QStringLiteral("&Actual Size"), [this] { showActualSize(); });
  actual->setObjectName(QStringLiteral("mnuActualSize"));
  actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
  QAction *fit =
      addMenuItem(menu, QStringLiteral("&Fit Map to Window"), [this] { fitMapToWindow(); });
  fit->setObjectName(QStringLiteral("mnuFitMap"));
  fit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_9));
  overviewAction_ = addMenuItem(menu, QStringLiteral("&Overview"), {});
  overviewAction_->setObjectName(QStringLiteral("mnuOverview"));
  overviewAction_->setCheckable(true);
  overviewAction_->setShortcut(QKeySequence(Qt::Key_F8));
  connect(overviewAction_, &QAction::triggered, this, &MainWindow::toggleOverview);
}

void MainWindow::buildOverview() {
  lastRunView_ = ViewSettings::load(session_.document().DatabaseLocation);
  overview_ = new MapOverview(this);
  addDockWidget(Qt::RightDockWidgetArea, overview_);
  overview_->setVisible(lastRunView_.overviewShown);
  overviewAction_->setChecked(lastRunView_.overviewShown);
  // The dock's own close button hides it too.
  connect(overview_, &QDockWidget::visibilityChanged, this, [this] {
    const bool shown = !overview_->isHidden();
    if (overviewAction_->isChecked() == shown) return;
    overviewAction_->setChecked(shown);
    saveViewSettings();
  });
  connect(toolBar_, &EditToolBar::zoomLevelEntered, this, &MainWindow::applyZoomText);
  // Nothing to zoom before the first picture.
  toolBar_->zoomBox()->setEnabled(false);
}

void MainWindow::attachMapView(MapViewWindow *view) {
  overview_->panel()->setMapView(view);
  toolBar_->showZoomLevel(view->zoomLevel());
  toolBar_->zoomBox()->setEnabled(true);
  connect(view, &MapViewWindow::zoomChanged, toolBar_, &EditToolBar::showZoomLevel);
  // The brush outline is drawn at the level the map is shown at.
  connect(view, &MapViewWindow::zoomChanged, this, [this] { applyCursor(session_.editMode()); });
  connect(view, &QObject::destroyed, toolBar_, [this] {
    toolBar_->zoomBox()->setEnabled(false);
    toolBar_->showZoomLevel(1.0);
  });
}

void MainWindow::zoomIn() {
  if (!requireMap() || !mapView_) return;
  mapView_->zoomIn();
}

void MainWindow::zoomOut() {
  if (!requireMap() || !mapView_) return;
  mapView_->zoomOut();
}

void MainWindow::showActualSize() {
  if (!requireMap() || !mapView_) return;
  mapView_->setZoomLevel(1.0);
}

void MainWindow::fitMapToWindow() {
  if (!requireMap() || !mapView_) return;
  mapView_->fitToWindow();
}

void MainWindow::applyZoomText(const QString &text) {
  const double current = mapView_ ? mapView_->zoomLevel() : 1.0;
  if (!requireMap() || !mapView_) {
    toolBar_->showZoomLevel(current);
    return;
  }
  const std::optional<double> level = ViewZoom::parseLevel(text);
  if (!level) {
    // The typed text is not repeated: the box still shows it until the message is closed.
    dialogs_->message(QStringLiteral("That is not a zoom level the map can be shown at. Type a "
                                     "level between 12.5% and 800%, such as 50% or 200%."),
                      QStringLiteral("Zoom"), MessageIcon::Warning);
    toolBar_->showZoomLevel(current);
    return;
  }
  mapView_->setZoomLevel(*level);
  toolBar_->showZoomLevel(mapView_->zoomLevel());
}

void MainWindow::toggleOverview(bool shown) {
  if (!requireMap()) {
    overviewAction_->setChecked(!shown);
    return;
  }
  overview_->setVisible(shown);
  saveViewSettings();
}

void MainWindow::saveViewSettings() {
  ViewSettings now = lastRunView_;
  now.overviewShown = overviewAction_->isChecked();
  now.windowGeometry = saveGeometry();
  // Losing this is not worth a message: the map itself is untouched.
  now.save(session_.document().DatabaseLocation);
}

}  // namespace vmm
