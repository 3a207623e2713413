// SPDX-License-Identifier: GPL-3.0-or-later
// The File menu's map text and picture commands: the formats live in the core,
// the window asks for the file name, shows the messages and repaints.
#include "ui/main/MainWindow.h"

#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureExport.h"
#include "ui/mapview/MapViewWindow.h"

#include <QApplication>

namespace vmm {

namespace {
const QString kVargaFilter = QStringLiteral("Varga Map Files (*.Txt)|*.txt");
const QString kTolleFilter = QStringLiteral("Tolle Map Files (*.Txt)|*.txt");
const QString kBitmapFilter = QStringLiteral("BMP File (*.bmp)|*.bmp");
}  // namespace

void MainWindow::exportVargaFile() {
  exportMapText(MapEdition::Varga);
}

void MainWindow::exportTolleFile() {
  exportMapText(MapEdition::Tolle);
}

bool MainWindow::exportMapText(MapEdition edition) {
  if (!requireMap()) return false;
  const QString path = dialogs_->saveFileName(
      edition == MapEdition::Varga ? kVargaFilter : kTolleFilter, QStringLiteral("txt"));
  if (path.isEmpty()) return false;
  // The file is replaced atomically: a failed export leaves any earlier file as it was.
  const FileWriteResult result = edition == MapEdition::Varga
                                     ? SaveAsVargaTXT(session_.document(), path)
                                     : SaveAsTolleTXT(session_.document(), path);
  if (!result.ok)
    dialogs_->message(result.messageText(), FileWriteResult::messageTitle());
  else if (edition == MapEdition::Varga)
    emit mapSaved(path);
  if (mapView_) {
    mapView_->refresh(MapView::Terrain);
    mapView_->refresh(MapView::Elevation);
  }
  return result.ok;
}

void MainWindow::importMapData() {
  if (!requireMap()) return;
  const QString path = dialogs_->openFileName(kVargaFilter);
  if (path.isEmpty()) return;
  importMapDataFile(path);
}

bool MainWindow::importMapDataFile(const QString &path) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  MapImportResult result;
  {
    HistoryStep step(&session_.history(), QStringLiteral("Import Map Data"));
    result = GetFile(session_.document(), path);
  }
  QApplication::restoreOverrideCursor();
  if (result.status == MapImportResult::Status::Unreadable) {
    // Nothing was read, so the views still show what the array holds.
    dialogs_->message(result.messageText, MapImportResult::messageTitle(), MessageIcon::Warning);
    return false;
  }
  if (!result.ok())
    dialogs_->message(result.messageText, MapImportResult::messageTitle(), MessageIcon::Warning);
  // Repainted over a fresh copy of the picture, so the views show exactly what the array holds.
  repaintWholeMap();
  if (result.ok()) {
    emit mapDataImported(path);
    const QString note =
        quadCountNote(result.rowsRead, session_.document().XQuads * session_.document().YQuads);
    if (!note.isEmpty()) showNotice(note);
  }
  return result.ok();
}

void MainWindow::exportTerrainImage() {
  exportSurface(MapView::Terrain);
}

void MainWindow::exportElevationImage() {
  exportSurface(MapView::Elevation);
}

void MainWindow::exportSurface(MapView view) {
  if (!requireMap() || !mapView_) return;
  const QString path = dialogs_->saveFileName(kBitmapFilter, QStringLiteral("bmp"));
  if (path.isEmpty()) return;
  const FileWriteResult result = saveSurfaceBitmap(session_.surfaces().surface(view), path);
  if (!result.ok)
    dialogs_->message(
        QStringLiteral("The picture could not be saved as \"%1\": %2").arg(path, result.errorText),
        view == MapView::Terrain ? QStringLiteral("Export Terrain Image")
                                 : QStringLiteral("Export Elevation Image"),
        MessageIcon::Warning);
}

}  // namespace vmm
