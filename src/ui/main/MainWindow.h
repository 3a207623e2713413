// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/RecentProjects.h"
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
#include <optional>
#include <utility>

class QAction;
class QDockWidget;
class QDragEnterEvent;
class QDropEvent;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace vmm {

class EditCursors;
class EditToolBar;
class AboutDialog;
class KeyboardShortcutsDialog;
class UserGuideWindow;
class ElementPicker;
class ElementTreeWindow;
class MapOverview;
class ElementFinder;
class LegendWindow;
class MapViewWindow;
class ProblemsWindow;
class PaintFromPictureWindow;
class MouseEditor;
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
  // The "Paint from Picture" dock's contents (hidden until Edit Options shows it).
  PaintFromPictureWindow *paintFromPicture() const { return paintFromPicture_; }
  const EditCursors &cursors() const { return *cursors_; }
  // The keeper of the map's recovery copy.
  RecoveryService &recovery() { return *recovery_; }
  // The picture file the map was started from (absolute); empty before the first import
  // and for a map opened from a project.
  QString picturePath() const { return picturePath_; }
  // The projects opened or saved last.
  RecentProjects &recentProjects() { return *recent_; }

  // At start-up: when an earlier editor left unsaved work behind, offers to restore it.
  void offerRecovery();

  // Loads and checks a picture and, when it is accepted, builds a new map view
  // around it. False when the picture was refused (the earlier map stays).
  bool LoadMapImage(const QString &path);

  // Opens the project at `path`, after the question about unsaved changes. False when
  // the answer was Cancel or the project was refused (the map stays as it was).
  bool openProjectFile(const QString &path);
  // The files named on the command line or dropped on the window, in order, each as its
  // command does it: a project is opened, a picture imported, a map text imported onto
  // the picture loaded before it. False when any of them was refused.
  bool openFiles(const QStringList &paths);

  // The view surface that is shown (Terrain when there is no map view).
  MapView visibleView() const;
  // The whole-map repaint after a change to the whole array: both coloured views
  // get the picture and grid back and every assigned Sector painted.
  void repaintWholeMap();

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
  void dragEnterEvent(QDragEnterEvent *event) override;
  void dropEvent(QDropEvent *event) override;

 private:
  void buildStatusBar();
  // The size, place and maximised state of the last run, or a first size that fits the screen.
  void placeOnScreen();
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
  bool importMapDataFile(const QString &path);
  void exportTerrainImage();
  void exportElevationImage();
  void exportSurface(MapView view);
  void importMapImage();
  bool importMapImageFile(const QString &path);
  void exitEditor();

  // Map projects.
  void addProjectItems(QMenu *file);
  void openProject();
  // Saves where the map's project is, or asks where as Save As does; true when saved.
  bool saveProject();
  bool saveProjectAs();
  bool writeProjectTo(const QString &path);
  ProjectEditorState projectEditorState() const;
  // The zoom level and scroll position a project was saved with.
  void restoreProjectView(const ProjectEditorState &state);
  void showOpenedProject(const ProjectContent &content);
  void fillRecentMenu();
  void openRecent(const QString &path);
  // Builds the map view window around the session's surfaces, titled `title`.
  void showNewMapView(const QString &title);

  // View switching and the screen commands.
  void statusPanelClicked(int panel, const QString &key);
  void switchView(MapView view);
  // Status panel 4 names what a click paints on the view shown: the element or the height.
  void showPaintValue();
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
  // Whether the unsaved-changes questions offer Save (the project) rather than Export.
  bool offersProjectSave() const;
  // Asks what becomes of unsaved changes, `lead` opening the question and `when` ending
  // it ("before closing"); true when the work is saved or may go, or nothing is unsaved.
  bool settleUnsavedChanges(const QString &lead, const QString &when, const QString &title,
                            MessageIcon icon, MessageAnswer defaultAnswer);
  void endSession();
  void restoreRecovered(const RecoveryContent &content);

  // Element search, recent elements, and the Legend and Problems docks.
  void setUpMapContents();
  QDockWidget *addContentsDock(QWidget *content, const QString &name, QAction *menuItem);
  // Both rows of the tool strip: the controls and the element search.
  int toolStripHeight() const;
  void chooseLegendHeight(qint16 height);
  // Paint from Picture: the dock, its menu item, and its ties to a new map view.
  void setUpPaintFromPicture();
  void showPaintFromPicture();
  void attachPaintFromPicture(MapViewWindow *view, MouseEditor *mouse);
  void showProblemSector(int quad, int sector);

  // Select Area: its menu items, its ties to a new map view, clipboard and status bar.
  void addSelectionItems(QMenu *edit);
  void attachSelection(MapViewWindow *view, MouseEditor *mouse);
  void showSelection();
  void refreshPlanes(const std::array<QRect, 2> &areas);
  // Puts the selection on the clipboard; false when there was nothing to copy.
  bool copySelection();
  void pasteFromClipboard();

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
  void showAbout();

  // What lies under the pointer, and picking a Sector's element and height up.
  void showSectorInfo(int quad, int sector);
  void pickUpSector(int quad, int sector);
  void showPointerSector(int quad, int sector);
  // The Element and Height panels shown again for the Sector last under the pointer.
  void refreshPointerSector();

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
  std::optional<std::pair<int, int>> pointerSector_;  // Quad and Sector last under the pointer
  std::unique_ptr<RecentProjects> recent_;
  QMenu *recentMenu_ = nullptr;
  // A Varga export was made of this map: the questions offer Export again, unless the
  // map has a project.
  bool exported_ = false;
  QAction *undoAction_ = nullptr;
  QAction *redoAction_ = nullptr;
  std::unique_ptr<EditCursors> cursors_;
  ElementPicker *picker_ = nullptr;
  RecentElements *recentElements_ = nullptr;
  ElementFinder *finder_ = nullptr;
  QToolBar *findBar_ = nullptr;
  LegendWindow *legend_ = nullptr;
  ProblemsWindow *problems_ = nullptr;
  PaintFromPictureWindow *paintFromPicture_ = nullptr;
  QDockWidget *traceDock_ = nullptr;
  QAction *legendItem_ = nullptr;
  QAction *problemsItem_ = nullptr;
  QMdiArea *mdiArea_ = nullptr;
  QPointer<MouseEditor> mouse_;
  QLabel *selectionSize_ = nullptr;
  QPointer<QMdiSubWindow> mapWindow_;
  QPointer<MapViewWindow> mapView_;
  QPointer<QMdiSubWindow> treeWindow_;
  EditToolBar *toolBar_ = nullptr;
  StatusPanels *statusPanels_ = nullptr;
  MapOverview *overview_ = nullptr;
  QAction *overviewAction_ = nullptr;
  ViewSettings lastRunView_;  // as the settings file had it when this window opened
  QLabel *notice_ = nullptr;
  QTimer noticeTimer_;
  QPointer<UserGuideWindow> userGuide_;
  QPointer<KeyboardShortcutsDialog> shortcutsDialog_;
  QPointer<AboutDialog> aboutDialog_;
};

}  // namespace vmm
