#pragma once

#include "mapview/MapSurfaces.h"

#include <QObject>
#include <QPointF>

namespace vmm {

class EditorSession;
class MapViewWindow;

// Turns mouse events on the three view surfaces into edits: tracks the Sector
// under the pointer, paints with the left button in the current edit mode and
// picks up a Sector's element and height with the right button. Positions
// outside the picture neither paint nor pick. Everything one left-button
// stroke paints, from press to release, is one step of the undo history.
class MouseEditor : public QObject {
  Q_OBJECT

 public:
  MouseEditor(EditorSession &session, MapViewWindow &view);

  void mouseMoved(MapView view, int buttons, double x, double y);
  void mousePressed(MapView view, int buttons, double x, double y);
  void mouseReleased(MapView view, int buttons);

 signals:
  // The pointer is over this Sector of the picture (before it is painted).
  void pointerOverSector(int quad, int sector);
  // A right click picked this Sector's element and height up.
  void sectorPickedUp(int quad, int sector);

 private:
  void paint(MapView view);
  void paintAlong(MapView view, QPointF from, QPointF to);

  EditorSession &session_;
  MapViewWindow &view_;
  bool lastMoveInside_ = true;
  QPointF lastPosition_;
  int strokeId_ = 0;  // the left-button stroke under way, 0 between strokes
};

}  // namespace vmm
