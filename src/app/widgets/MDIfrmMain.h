#pragma once

#include "app/MapDocument.h"
#include "app/MapHistory.h"
#include "app/RecoveryService.h"
#include "app/UserDialogs.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/CatalogueTables.h"
#include "edits/EditCommand.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/MapSurfaces.h"
#include "mapview/SectorPainter.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMdiSubWindow;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace vmm {

class EditCursors;
class ElementPicker;
class RandomSource;
class StatusPanels;
class frmMapView;
class frmTreeView;

// The editor's frame window: tool strip, menus and keyed status bar. It owns the
// map document and the in-memory catalogue for the whole run; the map view and
// the catalogue windows reach the shared state through it.
class MDIfrmMain : public QMainWindow {
  Q_OBJECT

 public:
  // With no dialogs given, the real Qt dialogs are used.
  explicit MDIfrmMain(UserDialogs *dialogs = nullptr, QWidget *parent = nullptr);
  ~MDIfrmMain() override;

  MapDocument &document() { return document_; }
  const MapDocument &document() const { return document_; }
  ElementTable &elementTable() { return elementTable_; }
  HeightColours &heightColours() { return heightColours_; }
  qint16 heightColourMode() const { return heightColourMode_; }
  const CatalogueDatabase &catalogue() const { return catalogue_; }
  ElementPicker &elementPicker() { return *picker_; }
  UserDialogs &dialogs() { return *dialogs_; }
  StatusPanels *statusPanels() const { return statusPanels_; }
  QMdiArea *mdiArea() const { return mdiArea_; }
  // The map view window, or null before the first accepted picture.
  frmMapView *mapView() const;
  SectorPainter &painter() { return *painter_; }
  // The element tree browser while it is open beside the map, else null.
  frmTreeView *treeView() const;
  const EditCursors &cursors() const { return *cursors_; }
  // The undo history of the map and the keeper of its recovery copy.
  MapHistory &history() { return *history_; }
  RecoveryService &recovery() { return *recovery_; }
  // The picture the map is painted on (absolute), empty before the first import.
  QString picturePath() const { return picturePath_; }

  // At start-up: when an earlier editor left unsaved work behind, offers to restore it.
  void offerRecovery();

  // Loads and checks a picture and, when it is accepted, builds a new map view
  // around it. Returns 1 when the picture was refused (the earlier map stays).
  int LoadMapImage(const QString &path);

  // Shows the element and height of a Sector in the status bar; with reassign 1
  // they become the element and height to paint.
  void DisplaySectorInfo(qint16 quad, qint16 sect, qint16 reassign);

  // The generator behind the randomise commands (tests give a predictable one).
  void setRandomSource(std::unique_ptr<RandomSource> random);

  // The view surface that is shown (Terrain when there is no map view).
  MapView visibleView() const;
  // The whole-map repaint after a change to the whole array: both coloured views
  // get the picture and grid back and every assigned Sector painted.
  void repaintWholeMap();

  // Draw style (OptDraw index 0 Solid, 1 Transparent, 2 Hollow) and edit mode
  // (Option1 index 0 Draw Sector, 1 Draw Quad, 2 Erase Sector, 3 Erase Quad); -1 when none is set.
  int drawStyle() const;
  int editMode() const;
  void setEditMode(int index);
  void setDrawStyle(int index);

  // The map-loaded guard: false (after the message) when no map picture is loaded.
  bool requireMap();

  // Reloads ElementTable and HeightColours from the catalogue.
  void LoadElements();

  // Shows or hides a tool strip control (tool bar widgets hide through their actions).
  void setToolVisible(QWidget *control, bool visible);
  bool isToolVisible(QWidget *control) const;

  // Status bar text of panel n (numbered from 1), for the other windows.
  void setPanelText(int panel, const QString &text);
  QString panelText(int panel) const;
  // A passing note beside the panels (catalogue created, row counts that differ ...).
  void showNotice(const QString &text);
  QString notice() const;

 signals:
  // The edit mode changed: surfaces take the cursor of the new mode.
  void editModeChanged(int mode);
  // The map was written as a Varga file, or a Varga file was read completely.
  void mapSaved(const QString &path);
  void mapDataImported(const QString &path);

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  void buildToolStrip();
  void buildStatusBar();
  void buildMenus();
  QAction *addMenuItem(QMenu *menu, const QString &caption, const QString &name,
                       void (MDIfrmMain::*handler)());

  // Menu commands.
  void reportCatalogueOrigin();

  // File commands.
  void mnuSave();
  void MnuTolle();
  // True when the file was written.
  bool exportMapText(MapEdition edition);
  void mnuImportMapData();
  void mnuExT();
  void mnuExE();
  void exportSurface(MapView view);
  void mnuImportMapImage();
  void mnuExit();
  void mnuAbout() {}
  void Command3Click();

  // View switching and the screen commands.
  void MMStatusBarPanelClick(int panel, const QString &key);
  void switchView(MapView view, bool includingCommand3);
  void mnuV1();
  void mnuV2();
  void mnuV3();
  void mnuO1();
  void mnuO2();
  void repaintWholePlane(Plane plane);
  // The "Tree View" panel: opens the tree browser beside the map view, or closes it.
  void toggleTreeView();
  void openTreeView(int panel);
  void closeTreeView(int panel);

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

  void runEditCommand(EditCommand command);
  void closeMapView();
  void applyCursor(int mode);
  QString elementName(qint16 id) const;

  // Height selection.
  void cboheightClick();
  void Command1Click();
  void Command2Click();

  std::unique_ptr<UserDialogs> ownedDialogs_;
  UserDialogs *dialogs_ = nullptr;
  MapDocument document_;
  CatalogueDatabase catalogue_;
  ElementTable elementTable_;
  HeightColours heightColours_;
  qint16 heightColourMode_ = 0;

  std::unique_ptr<MapHistory> history_;
  std::unique_ptr<RecoveryService> recovery_;
  QString picturePath_;
  QAction *mnuUndo_ = nullptr;
  QAction *mnuRedo_ = nullptr;
  std::unique_ptr<SectorPainter> painter_;
  std::unique_ptr<EditCursors> cursors_;
  ElementPicker *picker_ = nullptr;
  std::unique_ptr<RandomSource> random_;
  QMdiArea *mdiArea_ = nullptr;
  QPointer<QMdiSubWindow> mapWindow_;
  QPointer<frmMapView> mapView_;
  QPointer<QMdiSubWindow> treeWindow_;
  QToolBar *toolbar_ = nullptr;
  StatusPanels *statusPanels_ = nullptr;

  QComboBox *cboTerainCategory_ = nullptr;
  QComboBox *cboElementList_ = nullptr;
  QComboBox *cboheight_ = nullptr;
  QPushButton *command1_ = nullptr;  // Raise
  QPushButton *command2_ = nullptr;  // Lower
  QPushButton *command3_ = nullptr;  // height colour set toggle
  QRadioButton *option1_[4] = {};
  QRadioButton *optDraw_[3] = {};
  QLineEdit *txtElement_ = nullptr;
  QLabel *notice_ = nullptr;
  QTimer noticeTimer_;
};

}  // namespace vmm
