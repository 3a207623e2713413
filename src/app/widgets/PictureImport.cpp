// "Import Map Image": choose a picture, check it, and build the map view around it.
#include "app/widgets/MDIfrmMain.h"

#include "mapview/PictureLoader.h"
#include "mapview/widgets/EditCursors.h"
#include "mapview/widgets/MouseEditor.h"
#include "mapview/widgets/SurfaceWidget.h"
#include "mapview/widgets/frmMapView.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace vmm {

void MDIfrmMain::mnuImportMapImage() {
  if (document_.MapReady == 1)
    dialogs_->message(
        QStringLiteral(
            "Warning : Importing a new map image will overwrite currently assigned Map Data"),
        QStringLiteral("Overwrite Warning"), MessageIcon::Information);
  const QString path = dialogs_->openFileName(QStringLiteral("Jpeg Files (*.JPG)|*.Jpg"));
  if (path.isEmpty()) return;
  LoadMapImage(path);
}

int MDIfrmMain::LoadMapImage(const QString &path) {
  // The new picture is checked before anything is replaced, so a refusal never
  // costs the map that is already loaded.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  PictureLoadResult picture = PictureLoader::load(path);
  QApplication::restoreOverrideCursor();
  if (!picture.accepted) {
    dialogs_->message(picture.message, picture.title, MessageIcon::Critical);
    return 1;
  }

  QApplication::setOverrideCursor(Qt::WaitCursor);
  closeMapView();
  // The warning promised it: the new map starts with nothing assigned.
  {
    HistoryStep step(history_.get(), QStringLiteral("Import Map Image"));
    document_.clearPlanes();
  }
  picturePath_ = QFileInfo(path).absoluteFilePath();
  auto *view = new frmMapView(document_, picture.picture);
  painter_->setSurfaces(&view->surfaces());
  new MouseEditor(*this, *view);
  mapView_ = view;
  mapWindow_ = mdiArea_->addSubWindow(view);
  mapWindow_->setAttribute(Qt::WA_DeleteOnClose);
  mapWindow_->setWindowTitle(QFileInfo(path).fileName());
  connect(view, &QObject::destroyed, this, [this] {
    if (painter_) painter_->setSurfaces(nullptr);
  });
  applyCursor(editMode());
  document_.XQuads = static_cast<qint16>(picture.xQuads);
  document_.YQuads = static_cast<qint16>(picture.yQuads);
  mapView_->AddGrid();
  mapWindow_->showMaximized();
  document_.TotalQuads = static_cast<qint16>(document_.YQuads * document_.XQuads);
  document_.MapReady = 1;
  QApplication::restoreOverrideCursor();
  return 0;
}

void MDIfrmMain::closeMapView() {
  if (!mapWindow_) return;
  painter_->setSurfaces(nullptr);
  // Deleting the window at once: the new one must not share the document's MapLoaded with it.
  delete mapWindow_.data();
  mapView_ = nullptr;
}

void MDIfrmMain::applyCursor(int mode) {
  if (!mapView_ || mode < 0) return;
  for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation})
    mapView_->surfaceWidget(view)->setCursor(cursors_->cursor(mode));
}

}  // namespace vmm
