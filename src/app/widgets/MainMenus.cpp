// The menu bar: every item keeps the name tests and the accessibility tree know it by.
#include "app/widgets/MainWindow.h"

#include <QAction>
#include <QMenuBar>

namespace vmm {

namespace {

QMenu *addMenu(QMenuBar *bar, const QString &caption, const QString &name) {
  QMenu *menu = bar->addMenu(caption);
  menu->setObjectName(name);
  return menu;
}

void addSeparator(QMenu *menu, const QString &name) {
  menu->addSeparator()->setObjectName(name);
}

}  // namespace

QAction *MainWindow::addMenuItem(QMenu *menu, const QString &caption, const QString &name,
                                 void (MainWindow::*handler)()) {
  QAction *action = menu->addAction(caption);
  action->setObjectName(name);
  if (handler) connect(action, &QAction::triggered, this, handler);
  return action;
}

void MainWindow::buildMenus() {
  buildFileMenu();
  buildEditMenu();

  QMenu *randomise = addMenu(menuBar(), QStringLiteral("&Randomise"), QStringLiteral("MnuR0"));
  const std::array<std::tuple<const char *, const char *, EditCommand>, 3> randomiseItems{
      {{"Randomise Trees", "R1", EditCommand::RandomiseTrees},
       {"Randomise Leaves", "R2", EditCommand::RandomiseLeaves},
       {"Randomise Brush", "R3", EditCommand::RandomiseBrush}}};
  for (const auto &[caption, name, command] : randomiseItems)
    connect(addMenuItem(randomise, QString::fromLatin1(caption), QString::fromLatin1(name), nullptr),
            &QAction::triggered, this, [this, command = command] { runEditCommand(command); });

  buildViewMenu();

  QMenu *options = addMenu(menuBar(), QStringLiteral("Options"), QStringLiteral("mnuOptions"));
  addMenuItem(options, QStringLiteral("Redraw Grid"), QStringLiteral("mnuO1"),
              &MainWindow::redrawGrid);
  addMenuItem(options, QStringLiteral("Refresh Screen"), QStringLiteral("mnuO2"),
              &MainWindow::refreshScreen);

  QMenu *help = addMenu(menuBar(), QStringLiteral("&Help"), QStringLiteral("mnuHelp"));
  // "About" has never shown anything; it stays a menu item that does nothing.
  addMenuItem(help, QStringLiteral("&About"), QStringLiteral("mnuAbout"), nullptr);
}

void MainWindow::buildFileMenu() {
  QMenu *file = addMenu(menuBar(), QStringLiteral("&File"), QStringLiteral("mnuFile"));
  addProjectItems(file);
  addMenuItem(file, QStringLiteral("&Import Map Image"), QStringLiteral("mnuImportMapImage"),
              &MainWindow::importMapImage);
  addMenuItem(file, QStringLiteral("&Import Map Data"), QStringLiteral("mnuImportMapData"),
              &MainWindow::importMapData);
  addSeparator(file, QStringLiteral("mnua"));
  addMenuItem(file, QStringLiteral("&Export Varga File"), QStringLiteral("mnuSave"),
              &MainWindow::exportVargaFile);
  addMenuItem(file, QStringLiteral("&Export Tolle File"), QStringLiteral("MnuTolle"),
              &MainWindow::exportTolleFile);
  addSeparator(file, QStringLiteral("mnuSep3"));
  addMenuItem(file, QStringLiteral("Export Terrain Image"), QStringLiteral("mnuExT"),
              &MainWindow::exportTerrainImage);
  addMenuItem(file, QStringLiteral("Export Elevation Image"), QStringLiteral("mnuExE"),
              &MainWindow::exportElevationImage);
  addSeparator(file, QStringLiteral("b"));
  addMenuItem(file, QStringLiteral("&Exit"), QStringLiteral("mnuExit"), &MainWindow::exitEditor);
}

void MainWindow::buildEditMenu() {
  QMenu *edit = addMenu(menuBar(), QStringLiteral("&Edit Options"), QStringLiteral("mnuSearch1"));
  addUndoActions(edit);
  const std::array<std::tuple<const char *, const char *, EditMode>, 4> modeItems{
      {{"Draw Sector", "mnuE1", EditMode::DrawSector},
       {"Draw Quadrent", "mnuE2", EditMode::DrawQuad},
       {"Erase Sector", "mnuE3", EditMode::EraseSector},
       {"Erase Quadrent", "mnuE4", EditMode::EraseQuad}}};
  for (const auto &[caption, name, mode] : modeItems)
    connect(addMenuItem(edit, QString::fromLatin1(caption), QString::fromLatin1(name), nullptr),
            &QAction::triggered, this, [this, mode = mode] { session_.setEditMode(mode); });

  const std::array<std::tuple<const char *, const char *, EditCommand>, 4> bulkItems{
      {{"Fill Clear Element with Selected", "mnuFill", EditCommand::FillElement},
       {"Clear Selected Element Type", "mnuClear", EditCommand::ClearElement},
       {"Fill Clear Height with Selected", "Fillheight", EditCommand::FillHeight},
       {"Clear Selected Height Type", "ClearHeight", EditCommand::ClearHeight}}};
  for (std::size_t i = 0; i < bulkItems.size(); ++i) {
    if (i % 2 == 0) addSeparator(edit, QLatin1String(i == 0 ? "abv" : "gh"));
    const auto &[caption, name, command] = bulkItems[i];
    connect(addMenuItem(edit, QString::fromLatin1(caption), QString::fromLatin1(name), nullptr),
            &QAction::triggered, this, [this, command = command] { runEditCommand(command); });
  }
}

void MainWindow::buildViewMenu() {
  QMenu *view = addMenu(menuBar(), QStringLiteral("&View Options"), QStringLiteral("mnuOperations2"));
  addMenuItem(view, QStringLiteral("Image Map"), QStringLiteral("mnuV1"), &MainWindow::showImageMap);
  addMenuItem(view, QStringLiteral("Terrain Map"), QStringLiteral("mnuV2"),
              &MainWindow::showTerrainMap);
  addMenuItem(view, QStringLiteral("Elevation Map"), QStringLiteral("mnuV3"),
              &MainWindow::showElevationMap);
  addSeparator(view, QStringLiteral("mnuV4"));
  const std::array<std::tuple<const char *, const char *, DrawStyle>, 3> styleItems{
      {{"Draw Solid", "mnuV5", DrawStyle::Solid},
       {"Draw Transparent", "mnuV6", DrawStyle::Transparent},
       {"Draw Hollow", "mnuHollow", DrawStyle::Hollow}}};
  for (const auto &[caption, name, style] : styleItems)
    connect(addMenuItem(view, QString::fromLatin1(caption), QString::fromLatin1(name), nullptr),
            &QAction::triggered, this, [this, style = style] { session_.setDrawStyle(style); });
}

}  // namespace vmm
