// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/AreaDriver.h"

#include "edits/AreaShapes.h"
#include "edits/SectorSelection.h"
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QRubberBand>

namespace vmm::test {

QPoint cellCentre(int column, int row) {
  return {column * kSectorPixels + 5, row * kSectorPixels + 5};
}

Cells block(int left, int top, int right, int bottom) {
  Cells cells;
  for (int column = left; column <= right; ++column)
    for (int row = top; row <= bottom; ++row) cells.insert({column, row});
  return cells;
}

Cells blockOf(const QRect &cells) {
  return block(cells.left(), cells.top(), cells.right(), cells.bottom());
}

Cells joined(Cells a, const Cells &b) {
  a.insert(b.begin(), b.end());
  return a;
}

Cells cellsOf(const SectorSelection &selection) {
  Cells cells;
  for (const SectorCell &cell : selection.cells()) cells.insert({cell.column, cell.row});
  return cells;
}

Cells AreaDriver::cellsHolding(Plane plane, qint16 value) const {
  const MapDocument &doc = main_.session().document();
  const SectorGrid grid(doc);
  Cells cells;
  for (int column = 0; column < grid.columns(); ++column)
    for (int row = 0; row < grid.rows(); ++row) {
      const SectorAddress at = grid.address({column, row});
      if (doc.value(at.quad, at.sector, plane) == value) cells.insert({column, row});
    }
  return cells;
}

void AreaDriver::click(MapView view, QPoint at, Qt::KeyboardModifiers modifiers) {
  dragLeft(main_.mapView()->surfaceWidget(view), {at}, modifiers);
}

bool AreaDriver::dragRectangle(MapView view, QPoint from, QPoint to, const QRect &outline) {
  SurfaceWidget *widget = main_.mapView()->surfaceWidget(view);
  // Where the cells' centres show at the view's zoom level.
  const double level = widget->zoomLevel();
  const QPoint start = (QPointF(cellCentre(from.x(), from.y())) * level).toPoint();
  const QPoint end = (QPointF(cellCentre(to.x(), to.y())) * level).toPoint();
  sendMouseMove(widget, start, Qt::NoButton, Qt::ShiftModifier);
  sendMousePress(widget, start, Qt::LeftButton, Qt::ShiftModifier);
  sendMouseMove(widget, (start + end) / 2, Qt::LeftButton, Qt::ShiftModifier);
  sendMouseMove(widget, end, Qt::LeftButton, Qt::ShiftModifier);
  const bool shown = band() && band()->isVisible() && band()->geometry() == outline;
  sendMouseRelease(widget, end, Qt::LeftButton, Qt::ShiftModifier);
  return shown && !band()->isVisible();
}

bool AreaDriver::paintRectangle(MapView view, const QRect &cells) {
  return dragRectangle(
      view, cells.topLeft(), cells.bottomRight(),
      QRect(cells.left() * kSectorPixels, cells.top() * kSectorPixels,
            cells.width() * kSectorPixels + 1, cells.height() * kSectorPixels + 1));
}

QRubberBand *AreaDriver::band() const {
  return main_.mapView()->findChild<QRubberBand *>(QStringLiteral("rectangleBand"));
}

int AreaDriver::steps() const {
  return main_.session().history().stack().count();
}

QString AreaDriver::undoText() const {
  return main_.findChild<QAction *>(QStringLiteral("mnuUndo"))->text();
}

}  // namespace vmm::test
