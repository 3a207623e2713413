// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"
#include "mapview/MapSurfaces.h"

#include <QPoint>
#include <QRect>
#include <QString>

#include <set>
#include <utility>

class QRubberBand;

namespace vmm {
class MainWindow;
class SectorSelection;
}  // namespace vmm

namespace vmm::test {

// Cells of a picture's grid of Sectors, as (column, row).
using Cells = std::set<std::pair<int, int>>;

// The centre of the Sector in `column` and `row` of the grid, in surface pixels.
QPoint cellCentre(int column, int row);
// Every cell from (left, top) to (right, bottom), both included.
Cells block(int left, int top, int right, int bottom);
Cells blockOf(const QRect &cells);
Cells joined(Cells a, const Cells &b);
// The selected cells.
Cells cellsOf(const SectorSelection &selection);

// Paints areas on the map view of a shown main window with the mouse, as a map maker
// does, and reads back which cells hold a value.
class AreaDriver {
 public:
  explicit AreaDriver(MainWindow &main) : main_(main) {}

  // The cells of the picture whose value on `plane` is `value`.
  Cells cellsHolding(Plane plane, qint16 value) const;
  void click(MapView view, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  // Shift + drag from one cell to another at the view's zoom level. False when the
  // rubber band did not show `outline` (in widget pixels) at the end of the drag or
  // stayed after the release.
  bool dragRectangle(MapView view, QPoint from, QPoint to, const QRect &outline);
  // The rectangle of `cells` dragged from its top-left to its bottom-right cell.
  bool paintRectangle(MapView view, const QRect &cells);
  QRubberBand *band() const;
  int steps() const;
  QString undoText() const;

 private:
  MainWindow &main_;
};

}  // namespace vmm::test
