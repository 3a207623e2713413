// SPDX-License-Identifier: GPL-3.0-or-later
// Select Area's commands in Edit Options: select all, none and the same element, copy, cut,
// paste through the system clipboard, delete, flip and rotate, and the selection's size in
// the status bar.
#include "ui/main/MainWindow.h"

#include "edits/SectorClipboard.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/MouseEditor.h"
#include "ui/mapview/SelectionOverlay.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>

namespace vmm {

namespace {
const QString kPasteTitle = QStringLiteral("Paste");
}  // namespace

void MainWindow::addSelectionItems(QMenu *edit) {
  edit->addSeparator()->setObjectName(QStringLiteral("mnuSelectSep"));
  addMenuItem(edit, QStringLiteral("Select &All"), [this] {
    if (requireMap()) session_.selectAll();
  })->setObjectName(QStringLiteral("mnuSelectAll"));
  addMenuItem(edit, QStringLiteral("Select &None"), [this] {
    if (mouse_) mouse_->dropFloating();
    session_.selectNone();
  })->setObjectName(QStringLiteral("mnuSelectNone"));
  addMenuItem(edit, QStringLiteral("Select Same &Element"), [this] {
    if (!requireMap()) return;
    const Plane plane = visibleView() == MapView::Elevation ? Plane::Height : Plane::Element;
    // By its key with the pointer on the map: the value of the Sector under it; from the
    // menu (the pointer is on the menu then): the value painted with.
    const SurfaceWidget *surface = mapView_ ? mapView_->surfaceWidget(visibleView()) : nullptr;
    const bool overMap = surface && pointerSector_ &&
                         surface->rect().contains(surface->mapFromGlobal(QCursor::pos()));
    const qint16 value =
        overMap ? session_.document().value(pointerSector_->first, pointerSector_->second, plane)
                : drawValue(session_.document(), plane);
    session_.selectSame(plane, value, SelectionChange::Replace);
  })->setObjectName(QStringLiteral("mnuSelectSame"));
  edit->addSeparator()->setObjectName(QStringLiteral("mnuClipboardSep"));
  addMenuItem(edit, QStringLiteral("&Copy"), [this] {
    copySelection();
  })->setObjectName(QStringLiteral("mnuCopy"));
  addMenuItem(edit, QStringLiteral("Cu&t"), [this] {
    if (!copySelection()) return;
    SectorBlock taken;
    refreshPlanes(session_.cutSelection(taken));
  })->setObjectName(QStringLiteral("mnuCut"));
  addMenuItem(edit, QStringLiteral("&Paste"), [this] {
    pasteFromClipboard();
  })->setObjectName(QStringLiteral("mnuPaste"));
  addMenuItem(edit, QStringLiteral("&Delete"), [this] {
    if (requireMap()) refreshPlanes(session_.deleteSelection());
  })->setObjectName(QStringLiteral("mnuDelete"));
  struct TurnItem {
    const char *caption;
    BlockTurn turn;
    const char *objectName;
  };
  for (const TurnItem &item :
       {TurnItem{"Flip &Horizontally", BlockTurn::FlipHorizontally, "mnuFlipHorizontally"},
        TurnItem{"Flip &Vertically", BlockTurn::FlipVertically, "mnuFlipVertically"},
        TurnItem{"Rotate Clock&wise", BlockTurn::RotateClockwise, "mnuRotateClockwise"},
        TurnItem{"Rotate A&nticlockwise", BlockTurn::RotateAnticlockwise,
                 "mnuRotateAnticlockwise"}})
    addMenuItem(edit, QLatin1String(item.caption), [this, turn = item.turn] {
      if (requireMap() && mouse_) mouse_->turn(turn);
    })->setObjectName(QLatin1String(item.objectName));

  selectionSize_ = new QLabel(this);
  selectionSize_->setObjectName(QStringLiteral("selectionSize"));
  statusBar()->addPermanentWidget(selectionSize_);
  connect(&session_, &EditorSession::selectionChanged, this, &MainWindow::showSelection);
}

void MainWindow::attachSelection(MapViewWindow *view, MouseEditor *mouse) {
  mouse_ = mouse;
  connect(mouse, &MouseEditor::escapeUnused, &session_, &EditorSession::selectNone);
  view->selectionOverlay()->showSelection(session_.selection());
}

void MainWindow::showSelection() {
  const SectorSelection &selection = session_.selection();
  if (mapView_) mapView_->selectionOverlay()->showSelection(selection);
  const SectorSpan bounds = selection.bounds();
  selectionSize_->setText(selection.isEmpty() ? QString()
                                              : QStringLiteral("Selected: %1 x %2, %3 Sectors")
                                                    .arg(bounds.right - bounds.left + 1)
                                                    .arg(bounds.bottom - bounds.top + 1)
                                                    .arg(selection.count()));
}

void MainWindow::refreshPlanes(const std::array<QRect, 2> &areas) {
  if (!mapView_) return;
  for (const Plane plane : {Plane::Element, Plane::Height})
    if (!areas[std::size_t(plane)].isEmpty())
      mapView_->refresh(MapSurfaces::viewOf(plane), areas[std::size_t(plane)]);
}

bool MainWindow::copySelection() {
  if (!requireMap()) return false;
  const SectorBlock block = session_.copySelection();
  if (block.isEmpty()) return false;
  auto *data = new QMimeData;
  data->setData(QLatin1String(kSectorsMimeType), encodeSectors(block));
  data->setText(sectorsAsText(block));
  QApplication::clipboard()->setMimeData(data);
  return true;
}

void MainWindow::pasteFromClipboard() {
  if (!requireMap() || !mouse_) return;
  const QMimeData *data = QApplication::clipboard()->mimeData();
  if (!data || !data->hasFormat(QLatin1String(kSectorsMimeType))) {
    dialogs_->message(QStringLiteral("The clipboard holds no Sectors of a map."), kPasteTitle,
                      MessageIcon::Information, MessageButtons::Ok);
    return;
  }
  const DecodedSectors decoded = decodeSectors(data->data(QLatin1String(kSectorsMimeType)));
  if (!decoded.block) {
    dialogs_->message(decoded.error, kPasteTitle, MessageIcon::Warning, MessageButtons::Ok);
    return;
  }
  const ElementTable &elements = session_.elementTable();
  const std::vector<qint16> missing =
      missingElements(*decoded.block, [&elements](qint16 id) { return elements.hasElement(id); });
  if (!missing.empty()) {
    QStringList numbers;
    for (const qint16 id : missing) numbers << QString::number(id);
    dialogs_->message(QStringLiteral("The catalogue has no element numbered %1: nothing was "
                                     "pasted.")
                          .arg(numbers.join(QStringLiteral(", "))),
                      kPasteTitle, MessageIcon::Warning, MessageButtons::Ok);
    return;
  }
  session_.setEditMode(EditMode::SelectArea);
  mouse_->startFloating(*decoded.block);
}

}  // namespace vmm
