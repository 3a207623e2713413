// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mapview/EditDispatch.h"
#include "mapview/SectorPainter.h"

#include <QToolBar>

#include <array>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vmm {

class EditorSession;

// The main window's tool strip. Its first row: the category and element lists
// (Terrain), the height list with Raise, Lower and the height colour set button
// (Elevation), the edit mode buttons and the element text box. On `secondRow`, a tool
// bar of the window's under it: the brush size, the draw style buttons and the zoom
// box, so that on a 1024-pixel screen none of them hides in an overflow menu. The
// mode, brush and style controls follow the session and set it (the keys [ and ] step
// the brush size); everything else is wired by the window.
class EditToolBar : public QToolBar {
  Q_OBJECT

 public:
  EditToolBar(EditorSession &session, QToolBar &secondRow, QWidget *parent = nullptr);

  QComboBox *categoryList() const { return categoryList_; }
  QComboBox *elementList() const { return elementList_; }
  QComboBox *heightList() const { return heightList_; }
  QPushButton *raiseButton() const { return raiseButton_; }
  QPushButton *lowerButton() const { return lowerButton_; }
  QPushButton *heightColourButton() const { return heightColourButton_; }
  QRadioButton *editModeButton(EditMode mode) const;
  QRadioButton *drawStyleButton(DrawStyle style) const;
  // The map view's zoom level as text ("100%"); a level typed or chosen there is
  // reported by zoomLevelEntered.
  QComboBox *zoomBox() const { return zoomBox_; }
  void showZoomLevel(double level);

  // The element lists for the Terrain and Image views, the height controls (the colour
  // set button among them) for the Elevation view.
  void showControlsFor(bool heights);

  // Shows or hides a control (tool bar widgets hide through their actions).
  void setToolVisible(QWidget *control, bool visible);
  bool isToolVisible(QWidget *control) const;

 signals:
  // The text of the zoom box, typed (and confirmed with Return) or chosen from its list.
  void zoomLevelEntered(const QString &text);

 private:
  void buildElementControls();
  void buildHeightControls();
  void buildEditModeButtons();
  void buildBrushSizeControl();
  void buildDrawStyleButtons();
  void buildZoomBox();

  QAction *actionOf(QWidget *control) const;

  EditorSession &session_;
  QToolBar &secondRow_;
  QComboBox *categoryList_ = nullptr;
  QComboBox *elementList_ = nullptr;
  QComboBox *heightList_ = nullptr;
  QPushButton *raiseButton_ = nullptr;
  QPushButton *lowerButton_ = nullptr;
  QPushButton *heightColourButton_ = nullptr;
  std::array<QRadioButton *, kEditModeCount> editModeButtons_{};
  QComboBox *brushSizeList_ = nullptr;
  std::array<QRadioButton *, 3> drawStyleButtons_{};
  QLineEdit *elementText_ = nullptr;
  QComboBox *zoomBox_ = nullptr;
};

}  // namespace vmm
