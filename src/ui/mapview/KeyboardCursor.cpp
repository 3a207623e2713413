// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/KeyboardCursor.h"

#include "edits/AreaShapes.h"
#include "mapview/ViewZoom.h"
#include "session/EditorSession.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/MouseEditor.h"
#include "ui/mapview/SectorHighlight.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QKeyEvent>

#include <algorithm>
#include <array>

namespace vmm {

namespace {

constexpr std::array kViews{MapView::Terrain, MapView::Image, MapView::Elevation};

QString viewName(MapView view) {
  switch (view) {
    case MapView::Image:
      return QStringLiteral("Image map");
    case MapView::Elevation:
      return QStringLiteral("Elevation map");
    default:
      return QStringLiteral("Terrain map");
  }
}

}  // namespace

KeyboardCursor::KeyboardCursor(EditorSession &session, MapViewWindow &view, MouseEditor &mouse)
    : QObject(&view), session_(session), view_(view), mouse_(mouse) {
  marker_ = new SectorHighlight(&view);
  marker_->setObjectName(QStringLiteral("sectorCursor"));
  marker_->setRingColour(QColor(0, 220, 255));
  for (const MapView surface : kViews) {
    SurfaceWidget *widget = view_.surfaceWidget(surface);
    widget->installEventFilter(this);
    widget->setAccessibleName(viewName(surface));
    widget->setAccessibleDescription(
        QStringLiteral("Arrow keys move the Sector cursor, Shift with them by a Quad; Space "
                       "paints the cursor's Sector"));
  }
  connect(&view_, &MapViewWindow::zoomChanged, this, &KeyboardCursor::place);
  connect(&view_, &MapViewWindow::shownViewChanged, this, [this] {
    place();
    describe();
  });
  connect(&view_, &MapViewWindow::surfaceMousePressed, this, &KeyboardCursor::hide);
}

QList<std::pair<QString, QList<QKeySequence>>> KeyboardCursor::keyList() {
  const auto arrows = [](Qt::KeyboardModifiers modifiers) {
    QList<QKeySequence> keys;
    for (const Qt::Key key : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down})
      keys << QKeySequence(modifiers | key);
    return keys;
  };
  return {{QStringLiteral("Move the Sector cursor"), arrows(Qt::NoModifier)},
          {QStringLiteral("Move the Sector cursor by a Quad"), arrows(Qt::ShiftModifier)},
          {QStringLiteral("Paint the cursor's Sector"), {QKeySequence(Qt::Key_Space)}},
          {QStringLiteral("Scroll the map"), arrows(Qt::ControlModifier)}};
}

bool KeyboardCursor::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::KeyPress) return QObject::eventFilter(watched, event);
  const auto *key = static_cast<QKeyEvent *>(event);
  // Ctrl with an arrow key scrolls the view, as the arrow keys alone did before.
  if (key->modifiers() & Qt::ControlModifier) return false;
  // A floating paste or Select Area's selection takes the arrows before the cursor does.
  if (mouse_.arrowsMoveSelection()) return false;
  if (moveByArrowKey(key->key(), key->modifiers())) return true;
  if (key->key() == Qt::Key_Space && sector_) {
    // A held Space paints once: every stroke is a step of the undo history.
    if (!key->isAutoRepeat()) paintAtCursor();
    return true;
  }
  return false;
}

bool KeyboardCursor::moveByArrowKey(int key, Qt::KeyboardModifiers modifiers) {
  QPoint step;
  switch (key) {
    case Qt::Key_Left:
      step = {-1, 0};
      break;
    case Qt::Key_Right:
      step = {1, 0};
      break;
    case Qt::Key_Up:
      step = {0, -1};
      break;
    case Qt::Key_Down:
      step = {0, 1};
      break;
    default:
      return false;
  }
  const MapDocument &doc = session_.document();
  const SectorGrid grid(doc);
  if (grid.columns() == 0 || grid.rows() == 0) return true;
  if (!sector_) {
    // The cursor starts on the Sector the pointer was last over, without a step.
    const SectorAddress current{doc.CurrentQuad, doc.CurrentSect};
    const bool onMap = MapDocument::isValidSector(current.sector) && current.quad >= 0 &&
                       current.quad < doc.XQuads * doc.YQuads;
    sector_ = onMap ? current : SectorAddress{0, 0};
  } else {
    const int stride = modifiers & Qt::ShiftModifier ? 4 : 1;
    const SectorCell from = grid.cell(*sector_);
    const SectorCell to{std::clamp(from.column + step.x() * stride, 0, grid.columns() - 1),
                        std::clamp(from.row + step.y() * stride, 0, grid.rows() - 1)};
    sector_ = grid.address(to);
  }
  const MapDocument::Origin origin = doc.sectorOrigin(sector_->quad, sector_->sector);
  const QRectF cell(origin.x, origin.y, kSectorPixels, kSectorPixels);
  if (!view_.visibleArea().contains(cell)) view_.centreOn(cell.center());
  mouse_.pointAt(view_.shownView(), *sector_);
  place();
  describe();
  return true;
}

void KeyboardCursor::paintAtCursor() {
  if (!sector_) return;
  mouse_.clickAt(view_.shownView(), *sector_);
  describe();
}

void KeyboardCursor::hide() {
  sector_.reset();
  marker_->hide();
}

void KeyboardCursor::place() {
  if (!sector_) return;
  const MapDocument::Origin origin =
      session_.document().sectorOrigin(sector_->quad, sector_->sector);
  const QRect cell(origin.x, origin.y, kSectorPixels, kSectorPixels);
  marker_->hold(view_.surfaceWidget(view_.shownView()),
                ViewZoom::zoomedArea(cell, view_.zoomLevel()));
}

void KeyboardCursor::describe() {
  if (!sector_) return;
  const MapDocument &doc = session_.document();
  const qint16 element = doc.value(sector_->quad, sector_->sector, Plane::Element);
  const qint16 height = doc.value(sector_->quad, sector_->sector, Plane::Height);
  const MapView shown = view_.shownView();
  view_.surfaceWidget(shown)->setAccessibleName(
      QStringLiteral("%1, Quad %2 Sector %3: %4, height %5")
          .arg(viewName(shown))
          .arg(sector_->quad)
          .arg(sector_->sector)
          .arg(element == kUnassigned ? QStringLiteral("Unassigned")
                                      : session_.elementName(element))
          .arg(height == kUnassigned ? QStringLiteral("unassigned") : QString::number(height)));
}

}  // namespace vmm
