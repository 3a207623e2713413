// SPDX-License-Identifier: GPL-3.0-or-later
// Finding elements and seeing what the map holds: the search box and recent elements
// on a second row of the tool strip, and the "Legend" and "Problems" docks. The counting and the
// finding live in the core (MapStatistics, findMapProblems); the window wires them
// to the history's changes, the lists and the map view.
#include "ui/main/MainWindow.h"

#include "files/SettingsFile.h"
#include "session/RecentElements.h"
#include "ui/catalogue/ElementFinder.h"
#include "ui/docks/LegendWindow.h"
#include "ui/docks/ProblemsWindow.h"
#include "ui/main/EditToolBar.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QDockWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolBar>

namespace vmm {

void MainWindow::setUpMapContents() {
  recentElements_ =
      new RecentElements(settingsFilePath(session_.document().DatabaseLocation), this);
  // On the tool strip's second row, after the drawing settings: the recent elements at
  // its end are what a narrow window gives up first.
  finder_ = new ElementFinder(session_, *picker_, *recentElements_, findBar_);
  findBar_->addSeparator();
  findBar_->addWidget(finder_);
  // One-letter keys are commands again once a search is done.
  connect(finder_, &ElementFinder::searchFinished, this, [this] {
    if (mapView_)
      mapView_->surfaceWidget(visibleView())->setFocus(Qt::OtherFocusReason);
    else
      setFocus(Qt::OtherFocusReason);
  });

  legend_ = new LegendWindow(session_);
  connect(legend_, &LegendWindow::elementChosen, finder_, &ElementFinder::choose);
  connect(legend_, &LegendWindow::heightChosen, this, &MainWindow::chooseLegendHeight);
  addContentsDock(legend_, QStringLiteral("dockLegend"), legendItem_);

  problems_ = new ProblemsWindow(session_);
  connect(problems_, &ProblemsWindow::sectorRequested, this, &MainWindow::showProblemSector);
  addContentsDock(problems_, QStringLiteral("dockProblems"), problemsItem_);

  // Every change of the map reaches the history as a step (or a step's merge); a new
  // picture clears the planes first.
  auto mapChanged = [this] {
    legend_->scheduleRefresh();
    problems_->scheduleRefresh();
    refreshPointerSector();
  };
  connect(&session_.history(), &MapHistory::documentChanged, this, mapChanged);
  connect(&session_.document(), &MapDocument::planesReset, this, mapChanged);
  // A colour changed in the tree shows in the Legend and the recent elements at once.
  connect(&session_, &EditorSession::elementColourChanged, legend_, &LegendWindow::scheduleRefresh);
  connect(&session_, &EditorSession::elementColourChanged, finder_,
          &ElementFinder::reloadCatalogue);
  // The height colour set changes the Heights tab's swatches.
  connect(toolBar_->heightColourButton(), &QPushButton::clicked, legend_,
          &LegendWindow::scheduleRefresh);
}

int MainWindow::toolStripHeight() const {
  return toolBar_->height() + (findBar_ && !findBar_->isHidden() ? findBar_->height() : 0);
}

QDockWidget *MainWindow::addContentsDock(QWidget *content, const QString &name, QAction *menuItem) {
  auto *dock = new QDockWidget(content->windowTitle(), this);
  dock->setObjectName(name);
  dock->setWidget(content);
  dock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
  addDockWidget(Qt::RightDockWidgetArea, dock);
  dock->hide();
  // The menu item shows and hides the dock, and is ticked while it is shown.
  menuItem->setCheckable(true);
  connect(menuItem, &QAction::triggered, dock, [dock](bool shown) {
    dock->setVisible(shown);
    if (shown) dock->raise();
  });
  connect(dock, &QDockWidget::visibilityChanged, menuItem,
          [dock, menuItem](bool) { menuItem->setChecked(!dock->isHidden()); });
  return dock;
}

void MainWindow::chooseLegendHeight(qint16 height) {
  setDrawHeightText(QString::number(height));
}

void MainWindow::showProblemSector(int quad, int sector) {
  if (!mapView_) return;
  if (mapWindow_) mdiArea_->setActiveSubWindow(mapWindow_);
  mapView_->showSector(quad, sector);
}

}  // namespace vmm
