// SPDX-License-Identifier: GPL-3.0-or-later
// The menu bar. Every item keeps the object name tests and the accessibility tree know it by.
#include "ui/main/MainWindow.h"

#include <QAction>
#include <QMenuBar>

namespace vmm {

QAction *MainWindow::addMenuItem(QMenu *menu, const QString &caption,
                                 std::function<void()> handler) {
  QAction *action = menu->addAction(caption);
  if (handler) connect(action, &QAction::triggered, this, std::move(handler));
  return action;
}

void MainWindow::buildMenus() {
  buildFileMenu();
  buildEditMenu();

  QMenu *randomise = menuBar()->addMenu(QStringLiteral("&Randomise"));
  randomise->setObjectName(QStringLiteral("MnuR0"));
  addMenuItem(randomise, QStringLiteral("Randomise Trees"), [this] {
    runEditCommand(EditCommand::RandomiseTrees);
  })->setObjectName(QStringLiteral("R1"));
  addMenuItem(randomise, QStringLiteral("Randomise Leaves"), [this] {
    runEditCommand(EditCommand::RandomiseLeaves);
  })->setObjectName(QStringLiteral("R2"));
  addMenuItem(randomise, QStringLiteral("Randomise Brush"), [this] {
    runEditCommand(EditCommand::RandomiseBrush);
  })->setObjectName(QStringLiteral("R3"));

  buildViewMenu();

  QMenu *options = menuBar()->addMenu(QStringLiteral("Options"));
  options->setObjectName(QStringLiteral("mnuOptions"));
  addMenuItem(options, QStringLiteral("Redraw Grid"), [this] {
    redrawGrid();
  })->setObjectName(QStringLiteral("mnuO1"));
  addMenuItem(options, QStringLiteral("Refresh Screen"), [this] {
    refreshScreen();
  })->setObjectName(QStringLiteral("mnuO2"));

  QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
  help->setObjectName(QStringLiteral("mnuHelp"));
  addHelpItems(help);
  addMenuItem(help, QStringLiteral("&About"), [this] {
    showAbout();
  })->setObjectName(QStringLiteral("mnuAbout"));
}

void MainWindow::buildFileMenu() {
  QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
  file->setObjectName(QStringLiteral("mnuFile"));
  addProjectItems(file);
  addMenuItem(file, QStringLiteral("&Import Map Image"), [this] {
    importMapImage();
  })->setObjectName(QStringLiteral("mnuImportMapImage"));
  addMenuItem(file, QStringLiteral("&Import Map Data"), [this] {
    importMapData();
  })->setObjectName(QStringLiteral("mnuImportMapData"));
  file->addSeparator()->setObjectName(QStringLiteral("mnua"));
  addMenuItem(file, QStringLiteral("&Export Varga File"), [this] {
    exportVargaFile();
  })->setObjectName(QStringLiteral("mnuSave"));
  addMenuItem(file, QStringLiteral("&Export Tolle File"), [this] {
    exportTolleFile();
  })->setObjectName(QStringLiteral("MnuTolle"));
  file->addSeparator()->setObjectName(QStringLiteral("mnuSep3"));
  addMenuItem(file, QStringLiteral("Export Terrain Image"), [this] {
    exportTerrainImage();
  })->setObjectName(QStringLiteral("mnuExT"));
  addMenuItem(file, QStringLiteral("Export Elevation Image"), [this] {
    exportElevationImage();
  })->setObjectName(QStringLiteral("mnuExE"));
  file->addSeparator()->setObjectName(QStringLiteral("b"));
  addMenuItem(file, QStringLiteral("&Exit"), [this] {
    exitEditor();
  })->setObjectName(QStringLiteral("mnuExit"));
}

void MainWindow::buildEditMenu() {
  QMenu *edit = menuBar()->addMenu(QStringLiteral("&Edit Options"));
  edit->setObjectName(QStringLiteral("mnuSearch1"));
  addUndoActions(edit);
  auto modeItem = [this, edit](const QString &caption, EditMode mode) {
    return addMenuItem(edit, caption, [this, mode] { session_.setEditMode(mode); });
  };
  modeItem(QStringLiteral("Draw Sector"), EditMode::DrawSector)
      ->setObjectName(QStringLiteral("mnuE1"));
  modeItem(QStringLiteral("Draw Quadrent"), EditMode::DrawQuad)
      ->setObjectName(QStringLiteral("mnuE2"));
  modeItem(QStringLiteral("Erase Sector"), EditMode::EraseSector)
      ->setObjectName(QStringLiteral("mnuE3"));
  modeItem(QStringLiteral("Erase Quadrent"), EditMode::EraseQuad)
      ->setObjectName(QStringLiteral("mnuE4"));
  modeItem(QStringLiteral("Fill &Area"), EditMode::FillArea)
      ->setObjectName(QStringLiteral("mnuFillArea"));
  modeItem(QStringLiteral("&Select Area"), EditMode::SelectArea)
      ->setObjectName(QStringLiteral("mnuSelectArea"));
  addSelectionItems(edit);

  auto bulkItem = [this, edit](const QString &caption, EditCommand command) {
    return addMenuItem(edit, caption, [this, command] { runEditCommand(command); });
  };
  edit->addSeparator()->setObjectName(QStringLiteral("abv"));
  bulkItem(QStringLiteral("Fill Clear Element with Selected"), EditCommand::FillElement)
      ->setObjectName(QStringLiteral("mnuFill"));
  bulkItem(QStringLiteral("Clear Selected Element Type"), EditCommand::ClearElement)
      ->setObjectName(QStringLiteral("mnuClear"));
  edit->addSeparator()->setObjectName(QStringLiteral("gh"));
  bulkItem(QStringLiteral("Fill Clear Height with Selected"), EditCommand::FillHeight)
      ->setObjectName(QStringLiteral("Fillheight"));
  bulkItem(QStringLiteral("Clear Selected Height Type"), EditCommand::ClearHeight)
      ->setObjectName(QStringLiteral("ClearHeight"));
  edit->addSeparator()->setObjectName(QStringLiteral("mnuReplaceSep"));
  addMenuItem(edit, QStringLiteral("&Replace Element..."), [this] {
    replaceValue(Plane::Element);
  })->setObjectName(QStringLiteral("mnuReplaceElement"));
  addMenuItem(edit, QStringLiteral("Replace &Height..."), [this] {
    replaceValue(Plane::Height);
  })->setObjectName(QStringLiteral("mnuReplaceHeight"));
  edit->addSeparator()->setObjectName(QStringLiteral("mnuTraceSep"));
  addMenuItem(edit, QStringLiteral("Paint from &Picture..."), [this] {
    showPaintFromPicture();
  })->setObjectName(QStringLiteral("mnuPaintFromPicture"));
}

void MainWindow::buildViewMenu() {
  QMenu *view = menuBar()->addMenu(QStringLiteral("&View Options"));
  view->setObjectName(QStringLiteral("mnuOperations2"));
  addMenuItem(view, QStringLiteral("Image Map"), [this] {
    showImageMap();
  })->setObjectName(QStringLiteral("mnuV1"));
  addMenuItem(view, QStringLiteral("Terrain Map"), [this] {
    showTerrainMap();
  })->setObjectName(QStringLiteral("mnuV2"));
  addMenuItem(view, QStringLiteral("Elevation Map"), [this] {
    showElevationMap();
  })->setObjectName(QStringLiteral("mnuV3"));
  view->addSeparator()->setObjectName(QStringLiteral("mnuV4"));
  auto styleItem = [this, view](const QString &caption, DrawStyle style) {
    return addMenuItem(view, caption, [this, style] { session_.setDrawStyle(style); });
  };
  styleItem(QStringLiteral("Draw Solid"), DrawStyle::Solid)->setObjectName(QStringLiteral("mnuV5"));
  styleItem(QStringLiteral("Draw Transparent"), DrawStyle::Transparent)
      ->setObjectName(QStringLiteral("mnuV6"));
  styleItem(QStringLiteral("Draw Hollow"), DrawStyle::Hollow)
      ->setObjectName(QStringLiteral("mnuHollow"));
  view->addSeparator()->setObjectName(QStringLiteral("mnuZoomSep"));
  buildZoomMenuItems(view);
  // The docks themselves are built with the map contents (MapContents.cpp).
  view->addSeparator()->setObjectName(QStringLiteral("mnuContentsSep"));
  legendItem_ = addMenuItem(view, QStringLiteral("&Legend"), {});
  legendItem_->setObjectName(QStringLiteral("mnuLegend"));
  legendItem_->setShortcut(Qt::Key_F9);
  problemsItem_ = addMenuItem(view, QStringLiteral("&Problems"), {});
  problemsItem_->setObjectName(QStringLiteral("mnuProblems"));
}

}  // namespace vmm
