#pragma once

#include "app/MapDocument.h"
#include "app/UserDialogs.h"
#include "catalogue/CatalogueTables.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>
#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace vmm {

class StatusPanels;

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
  UserDialogs &dialogs() { return *dialogs_; }
  StatusPanels *statusPanels() const { return statusPanels_; }
  QMdiArea *mdiArea() const { return mdiArea_; }

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

 signals:
  // The edit mode changed: surfaces take the cursor of the new mode.
  void editModeChanged(int mode);

 protected:
  void closeEvent(QCloseEvent *event) override;

 private:
  void buildToolStrip();
  void buildStatusBar();
  void buildMenus();
  QAction *addMenuItem(QMenu *menu, const QString &caption, const QString &name,
                       void (MDIfrmMain::*handler)());

  // Menu commands.
  void mnuExit();
  void mnuAbout() {}
  void guardedOnly();
  void Command3Click();

  // Height selection.
  void cboheightClick();
  void Command1Click();
  void Command2Click();

  std::unique_ptr<UserDialogs> ownedDialogs_;
  UserDialogs *dialogs_ = nullptr;
  MapDocument document_;
  ElementTable elementTable_;
  HeightColours heightColours_;
  qint16 heightColourMode_ = 0;

  QMdiArea *mdiArea_ = nullptr;
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
};

}  // namespace vmm
