// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edits/SectorBlock.h"
#include "mapview/MapSurfaces.h"

#include <QObject>
#include <QPointF>
#include <QPointer>

#include <functional>
#include <optional>

class QRubberBand;

namespace vmm {

class EditorSession;
class MapViewWindow;

// Turns mouse events on the three view surfaces into edits: tracks the Sector
// under the pointer, paints with the left button in the current edit mode (with
// the brush in the Sector modes, a bucket fill on a click in Fill Area) and picks
// up a Sector's element and height with the right button. With Shift held, a left
// drag shows a rubber band and paints the rectangle on release (Escape drops it),
// and a left click draws a line from the last painted Sector. Positions outside
// the picture neither paint nor pick. Everything one left-button stroke paints,
// from press to release, is one step of the undo history. In Select Area the left button
// selects instead (see MouseSelection.cpp), and a pasted block floats under the pointer
// until a click places it.
class MouseEditor : public QObject {
  Q_OBJECT

 public:
  MouseEditor(EditorSession &session, MapViewWindow &view);

  void mouseMoved(MapView view, int buttons, double x, double y);
  void mousePressed(MapView view, int buttons, double x, double y);
  void mouseReleased(MapView view, int buttons);

  // The keyboard's way into the mouse's path: the pointer coming to rest over a Sector, and
  // a left click on it (no modifier held), each at the Sector's centre.
  void pointAt(MapView view, SectorAddress sector);
  void clickAt(MapView view, SectorAddress sector);

  // The rectangle being dragged is dropped; the held button paints nothing more.
  void cancelRectangle();

  // A pasted block follows the pointer, its top-left Sector under it, until a left click
  // places it; Escape drops it.
  void startFloating(const SectorBlock &block);
  bool isFloating() const;
  void dropFloating();
  // Flips or turns the floating block, else the selection in place.
  void turn(BlockTurn turn);
  // Moves the selection (or the floating block) by whole Sectors.
  void moveSelection(int columns, int rows);
  // Whether the arrow keys move a floating block or Select Area's selection, rather than
  // the keyboard's Sector cursor.
  bool arrowsMoveSelection() const;

  // Fill Similar: asked first at a Fill Area click (with whether Alt was held); a changed
  // area means it filled, nothing means the ordinary fill goes ahead.
  using FillSimilar = std::function<std::optional<QRect>(Plane, SectorAddress, bool altHeld)>;
  void setFillSimilar(FillSimilar fill) { fillSimilar_ = std::move(fill); }

 signals:
  // The pointer is over this Sector of the picture (before it is painted).
  void pointerOverSector(int quad, int sector);
  // A right click picked this Sector's element and height up.
  void sectorPickedUp(int quad, int sector);
  // Escape with nothing to cancel on the map (no rubber band, nothing floating).
  void escapeUnused();

 protected:
  // Watches the surfaces for the Shift key of each mouse event and for Escape.
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  // A Shift + left drag: the Sector pressed on and the one under the pointer now.
  struct RectangleDrag {
    MapView view = MapView::Terrain;
    SectorAddress anchor;
    SectorAddress corner;
  };

  // A left drag in Select Area: a rubber band, or the selection being moved.
  struct SelectDrag {
    MapView view = MapView::Terrain;
    SectorAddress anchor;
    SectorAddress corner;
    SelectionChange how = SelectionChange::Replace;
    bool moving = false;
  };

  FillSimilar fillSimilar_;
  bool altHeld_ = false;
  bool controlHeld_ = false;
  std::optional<SelectDrag> selectDrag_;

  // Select Area's share of the mouse and the keys.
  bool selectPressed(MapView view, SectorAddress at);
  void selectMoved(SectorAddress at);
  void selectReleased();
  bool selectKey(int key, Qt::KeyboardModifiers modifiers);
  void showSelectBand();
  void refreshBoth(const std::array<QRect, 2> &areas);
  SectorCell cellAt(SectorAddress at) const;

  void paint(MapView view);
  void paintAlong(MapView view, QPointF from, QPointF to);
  void fill(MapView view);
  void showRectangle();
  void finishRectangle();
  void refresh(Plane plane, const QRect &area);

  EditorSession &session_;
  MapViewWindow &view_;
  bool lastMoveInside_ = true;
  QPointF lastPosition_;
  int strokeId_ = 0;  // the left-button stroke under way, 0 between strokes
  bool shiftHeld_ = false;
  std::optional<SectorAddress> lastPainted_;  // where a Shift + click line starts
  std::optional<RectangleDrag> band_;
  QPointer<QRubberBand> rubberBand_;
  bool waitingForRelease_ = false;  // a dropped rectangle's button is still held
};

}  // namespace vmm
