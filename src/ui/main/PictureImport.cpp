// SPDX-License-Identifier: GPL-3.0-or-later
// "Import Map Image": choose a picture, check it, and build the map view around it.
#include "ui/main/MainWindow.h"

#include "mapfiles/PictureLoader.h"
#include "ui/dialogs/WidgetDialogs.h"
#include "ui/mapview/EditCursors.h"
#include "ui/mapview/KeyboardCursor.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/MouseEditor.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace vmm {

namespace {
void warnOfOverwrite(UserDialogs &dialogs) {
  dialogs.message(
      QStringLiteral(
          "Warning : Importing a new map image will overwrite currently assigned Map Data"),
      QStringLiteral("Overwrite Warning"), MessageIcon::Information);
}
}  // namespace

void MainWindow::importMapImage() {
  if (session_.document().mapReady) warnOfOverwrite(*dialogs_);
  const QString path = dialogs_->openFileName(QStringLiteral("Jpeg Files (*.JPG)|*.Jpg"));
  if (path.isEmpty()) return;
  LoadMapImage(path);
}

bool MainWindow::importMapImageFile(const QString &path) {
  // As the menu command, with the file already chosen.
  if (session_.document().mapReady) warnOfOverwrite(*dialogs_);
  return LoadMapImage(path);
}

bool MainWindow::LoadMapImage(const QString &path) {
  // The new picture is checked before anything is replaced, so a refusal never
  // costs the map that is already loaded.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  PictureLoadResult picture = PictureLoader::load(path);
  QApplication::restoreOverrideCursor();
  if (!picture.accepted) {
    dialogs_->message(picture.message, picture.title, MessageIcon::Critical);
    return false;
  }

  QApplication::setOverrideCursor(Qt::WaitCursor);
  closeMapView();
  // The warning promised it: the new map starts with nothing assigned.
  session_.startMap(picture);
  picturePath_ = QFileInfo(path).absoluteFilePath();
  exported_ = false;
  showNewMapView(QFileInfo(path).fileName());
  mapView_->AddGrid();
  mapWindow_->showMaximized();
  QApplication::restoreOverrideCursor();
  updateTitle();
  return true;
}

void MainWindow::showNewMapView(const QString &title) {
  pointerSector_.reset();
  auto *view = new MapViewWindow(session_.document(), session_.surfaces());
  auto *mouse = new MouseEditor(session_, *view);
  connect(mouse, &MouseEditor::pointerOverSector, this, &MainWindow::showPointerSector);
  connect(mouse, &MouseEditor::sectorPickedUp, this, &MainWindow::pickUpSector);
  new KeyboardCursor(session_, *view, *mouse);
  mapView_ = view;
  attachMapView(view);
  attachPaintFromPicture(view, mouse);
  attachSelection(view, mouse);
  mapWindow_ = mdiArea_->addSubWindow(view);
  mapWindow_->setAttribute(Qt::WA_DeleteOnClose);
  mapWindow_->setWindowTitle(WidgetDialogs::shownText(title));
  // A closed map view takes its pictures with it: there is nothing left to draw on.
  connect(view, &QObject::destroyed, this, [this] { session_.surfaces().clear(); });
  applyCursor(session_.editMode());
}

void MainWindow::closeMapView() {
  if (!mapWindow_) return;
  // Deleting the window at once: the new one must not share the document's mapViewOpen with it.
  delete mapWindow_.data();
  mapView_ = nullptr;
}

void MainWindow::applyCursor(EditMode mode) {
  if (!mapView_) return;
  const QCursor cursor =
      cursors_->cursor(static_cast<int>(mode), session_.brushSize(), mapView_->zoomLevel());
  for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation})
    mapView_->surfaceWidget(view)->setCursor(cursor);
}

}  // namespace vmm
