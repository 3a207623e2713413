#pragma once

#include "app/RecoveryService.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/ViewSettings.h"
#include "session/EditorSession.h"
#include "session/UserDialogs.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QAction;
class QDockWidget;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace vmm {

class EditCursors;
class EditToolBar;
class KeyboardShortcutsDialog;
class UserGuideWindow;
class ElementPicker;
class ElementTreeWindow;
class MapOverview;
class ElementFinder;
class LegendWindow;
class MapViewWindow;
class ProblemsWindow;
class RecentElements;
class StatusPanels;

// The editor's frame window: tool strip, menus and keyed status bar around the map
// view and the element tree. It owns the editor session (document, catalogue,
// surfaces, painter, history) for the whole run and hands the other windows the
// parts they use; its commands guard, ask, call the session and show the result.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // With no dialogs given, the real Qt dialogs are used.
  explicit MainWindow(UserDialogs *dialogs = nullptr, QWidget *parent = nullptr);
  ~MainWindow() override;

  EditorSession &session() { return session_; }
  UserDialogs &dialogs() { return *dialogs_; }
  EditToolBar *toolBar() const { return toolBar_; }
  StatusPanels *statusPanels() const { return statusPanels_; }
  QMdiArea *mdiArea() const { return mdiArea_; }
  // The map view window, or null before the first accepted picture.
  MapViewWindow *mapView() const;
  // The "Overview" dock (hidden until View Options > Overview shows it).
  MapOverview *overview() const { return overview_; }
  // The element tree browser while it is open beside the map, else null.
  ElementTreeWindow *treeView() const;
  // The search box and recent elements on the tool strip, and the two docks.
  ElementFinder *elementFinder() const { return finder_; }
  LegendWindow *legend() const { return legend_; }
  ProblemsWindow *problems() const { return problems_; }
  const EditCursors &cursors() const { return *cursors_; }
  // The keeper of the map's recovery copy.
  RecoveryService &recovery() { return *recovery_; }
  // The picture the map is painted on (absolute), empty before the first import.
  QString picturePath() const { return picturePath_; }

  // At start-up: when an earlier editor left unsaved work behind, offers to restore it.
  void offerRecovery();

  // Loads and checks a picture and, when it is accepted, builds a new map view
  // around it. False when the picture was refused (the earlier map stays).
  bool LoadMapImage(const QString &path);

  // The view surface that is shown (Terrain when there is no map view).
  MapView visibleView() const;
  // The whole-map repaint after a change to the whole array: both coloured views
  // get the picture and grid back and every assigned Sector painted.
  void repaintWholeMap();

  // When the map view shows the picture the editor showed when it last ended,
  // brings back that run's zoom level and scroll position; false otherwise.
  // (A picture imported anew always opens at 100%.)
  bool restoreViewOf(const QString &picturePath);

  // The map-loaded guard: false (after the message) when no map picture is loaded.
  bool requireMap();

  // Status bar text of panel n (numbered from 1).
  void setPanelText(int panel, const QString &text);
  QString panelText(int panel) const;
  // A passing note beside the panels (catalogue created, row counts that differ ...).
  void showNotice(const QString &text);
  QString notice() const;

 signals:
  // The map was written as a Varga file, or a Varga file was read completely.
  void mapSaved(const QString &path);
  void mapDataImported(const QString &path);

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  void buildStatusBar();
  void buildMenus();
  void buildFileMenu();
  void buildEditMenu();
  void buildViewMenu();
  // A menu item running `handler` (none: an item that does nothing).
  QAction *addMenuItem(QMenu *menu, const QString &caption, std::function<void()> handler);
  void loadCatalogue();
  void reportCatalogueProblem(const CatalogueResult &result);
  void reportCatalogueOrigin();

  // File commands.
  void exportVargaFile();
  void exportTolleFile();
  // True when the file was written.
  bool exportMapText(MapEdition edition);
  void importMapData();
  void exportTerrainImage();
  void exportElevationImage();
  void exportSurface(MapView view);
  void importMapImage();
  void exitEditor();

  // View switching and the screen commands.
  void statusPanelClicked(int panel, const QString &key);
  void switchView(MapView view, bool includingColourButton);
  void showImageMap();
  void showTerrainMap();
  void showElevationMap();
  void redrawGrid();
  void refreshScreen();
  void repaintWholePlane(Plane plane);
  // The "Tree View" panel: opens the tree browser beside the map view, or closes it.
  void toggleTreeView();
  void openTreeView(int panel);
  void closeTreeView(int panel);

  // Zoom, fit to window and the overview.
  void buildZoomMenuItems(QMenu *menu);
  void buildOverview();
  void attachMapView(MapViewWindow *view);
  void zoomIn();
  void zoomOut();
  void showActualSize();
  void fitMapToWindow();
  void applyZoomText(const QString &text);
  void toggleOverview(bool shown);
  void saveViewSettings();

  // Undo, redo, unsaved changes and recovery.
  void setUpHistory();
  void addUndoActions(QMenu *menu);
  void repaintRestored(const std::vector<SectorEdit> &edits, StepRepaint repaint);
  void updateTitle();
  void historyCleanChanged(bool clean);
  bool confirmClose();
  QString exitQuestion() const;
  void endSession();
  bool restoreRecovered(const RecoveryContent &content);

  // Element search, recent elements, and the Legend and Problems docks.
  void setUpMapContents();
  QDockWidget *addContentsDock(QWidget *content, const QString &name, QAction *menuItem);
  // Both rows of the tool strip: the controls and the element search.
  int toolStripHeight() const;
  void chooseLegendHeight(qint16 height);
  void showProblemSector(int quad, int sector);

  void runEditCommand(EditCommand command);
  // "Replace Element..." and "Replace Height...": asks which value to look for and
  // writes the current element or height in its place everywhere.
  void replaceValue(Plane plane);
  void closeMapView();
  void applyCursor(EditMode mode);

  // Keyboard shortcuts, tool tips and help.
  QAction *commandAction(const QString &name) const;
  void addHeightStepActions();
  void applyShortcutsAndTips();
  void addHelpItems(QMenu *help);
  void showUserGuide();
  void showKeyboardShortcuts();

  // What lies under the pointer, and picking a Sector's element and height up.
  void showSectorInfo(int quad, int sector);
  void pickUpSector(int quad, int sector);
  void showPointerSector(int quad, int sector);

  // Height selection.
  void chooseListedHeight();
  void raiseHeight();
  void lowerHeight();
  void setDrawHeightText(const QString &text);
  void toggleHeightColours();

  std::unique_ptr<UserDialogs> ownedDialogs_;
  UserDialogs *dialogs_ = nullptr;
  EditorSession session_;
  std::unique_ptr<RecoveryService> recovery_;
  QString picturePath_;
  QAction *undoAction_ = nullptr;
  QAction *redoAction_ = nullptr;
  std::unique_ptr<EditCursors> cursors_;
  ElementPicker *picker_ = nullptr;
  RecentElements *recentElements_ = nullptr;
  ElementFinder *finder_ = nullptr;
  QToolBar *findBar_ = nullptr;
  LegendWindow *legend_ = nullptr;
  ProblemsWindow *problems_ = nullptr;
  QAction *legendItem_ = nullptr;
  QAction *problemsItem_ = nullptr;
  QMdiArea *mdiArea_ = nullptr;
  QPointer<QMdiSubWindow> mapWindow_;
  QPointer<MapViewWindow> mapView_;
  QPointer<QMdiSubWindow> treeWindow_;
  EditToolBar *toolBar_ = nullptr;
  StatusPanels *statusPanels_ = nullptr;
  MapOverview *overview_ = nullptr;
  QAction *overviewAction_ = nullptr;
  ViewSettings lastRunView_;  // as the settings file had it when this window opened
  QTimer viewSaveTimer_;
  QLabel *notice_ = nullptr;
  QTimer noticeTimer_;
  QPointer<UserGuideWindow> userGuide_;
  QPointer<KeyboardShortcutsDialog> shortcutsDialog_;
};

}  // namespace vmm
