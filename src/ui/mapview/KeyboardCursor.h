// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"

#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <utility>

namespace vmm {

class EditorSession;
class MapViewWindow;
class MouseEditor;
class SectorHighlight;

// The keyboard's Sector cursor on the map view, so that a map can be made without a
// mouse: the arrow keys move it a Sector at a time (with Shift a Quad, 4 Sectors), Space
// paints its Sector exactly as a left click there does, and the status panels and the
// view follow it. It shows from the first arrow key until the mouse is pressed on the
// map; Ctrl with the arrow keys still scrolls the view. The view's surfaces tell screen
// readers the cursor's Sector, its element and its height.
class KeyboardCursor : public QObject {
  Q_OBJECT

 public:
  KeyboardCursor(EditorSession &session, MapViewWindow &view, MouseEditor &mouse);

  // The map view's own keys and what they do, for the list of keyboard shortcuts.
  static QList<std::pair<QString, QList<QKeySequence>>> keyList();

  // The Sector under the cursor while it shows.
  std::optional<SectorAddress> sector() const { return sector_; }

  // The arrow keys' one handler: shows the cursor or moves it, keeping it on the map.
  // False for any other key.
  bool moveByArrowKey(int key, Qt::KeyboardModifiers modifiers);
  // Space: paints the cursor's Sector with the current mode, as a left click does.
  void paintAtCursor();
  void hide();

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  // Outlines the cursor on the shown view at the zoom level of the moment.
  void place();
  // Names the shown view and the cursor's Sector for screen readers.
  void describe();

  EditorSession &session_;
  MapViewWindow &view_;
  MouseEditor &mouse_;
  SectorHighlight *marker_ = nullptr;
  std::optional<SectorAddress> sector_;
};

}  // namespace vmm
