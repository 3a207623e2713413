#pragma once

#include "mapview/MapSurfaces.h"

#include <QObject>
#include <QPointF>

namespace vmm {

class MDIfrmMain;
class frmMapView;

// Turns mouse events on the three view surfaces into edits: tracks the Sector
// under the pointer, paints with the left button in the current edit mode and
// picks up a Sector's element and height with the right button. Positions
// outside the picture neither paint nor pick. Everything one left-button
// stroke paints, from press to release, is one step of the undo history.
class MouseEditor : public QObject {
  Q_OBJECT

 public:
  MouseEditor(MDIfrmMain &main, frmMapView &view);

  void MouseMove(MapView view, int buttons, double x, double y);
  void MouseDown(MapView view, int buttons, double x, double y);
  void MouseUp(MapView view, int buttons);

 private:
  void paint(MapView view);
  void paintAlong(MapView view, QPointF from, QPointF to);

  MDIfrmMain &main_;
  frmMapView &view_;
  bool lastMoveInside_ = true;
  QPointF lastPosition_;
  int strokeId_ = 0;  // the left-button stroke under way, 0 between strokes
};

}  // namespace vmm
