// SPDX-License-Identifier: GPL-3.0-or-later
// The "Tree View" status bar panel: the element tree browser opens beside the map
// view and closes again, the panel's bevel telling which state is current.
#include "ui/main/MainWindow.h"

#include "gdi/Twips.h"
#include "ui/catalogue/ElementTreeWindow.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/StatusPanels.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>
#include <QToolBar>

namespace vmm {

namespace {

constexpr int kTreeWidthTwips = 3555;
constexpr int kHeightAllowanceTwips = 700;  // menu bar and frame edges
constexpr int kMapRightMarginTwips = 150;

}  // namespace

ElementTreeWindow *MainWindow::treeView() const {
  return treeWindow_ ? qobject_cast<ElementTreeWindow *>(treeWindow_->widget()) : nullptr;
}

void MainWindow::toggleTreeView() {
  const int panel = statusPanels_->panelWithKey(QStringLiteral("V"));
  if (statusPanels_->bevel(panel) == StatusPanels::Raised)
    openTreeView(panel);
  else
    closeTreeView(panel);
}

void MainWindow::openTreeView(int panel) {
  const int height = this->height() - statusBar()->height() - toolStripHeight() -
                     twipsToPixels(kHeightAllowanceTwips);
  const int treeWidth = twipsToPixels(kTreeWidthTwips);

  // A maximized map view would ignore its new place (and cover the tree): bring it back
  // to the normal state first.
  if (mapWindow_ && mapWindow_->isMaximized()) mapWindow_->showNormal();

  auto *tree = new ElementTreeWindow(session_, *dialogs_);
  // Opened and closed through the panel only, so the frame offers no buttons of its own.
  treeWindow_ =
      mdiArea_->addSubWindow(tree, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  treeWindow_->setAttribute(Qt::WA_DeleteOnClose);
  treeWindow_->setGeometry(0, 0, treeWidth, height);
  treeWindow_->show();
  if (mapWindow_)
    mapWindow_->setGeometry(treeWindow_->x() + treeWidth, 0,
                            mdiArea_->width() - treeWidth - twipsToPixels(kMapRightMarginTwips),
                            height);
  statusPanels_->setBevel(panel, StatusPanels::Inset);
}

void MainWindow::closeTreeView(int panel) {
  delete treeWindow_.data();
  if (mapWindow_) mapWindow_->showMaximized();
  statusPanels_->setBevel(panel, StatusPanels::Raised);
}

}  // namespace vmm
