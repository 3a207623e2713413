// The File menu's map text and picture commands: the formats live in the core,
// the window asks for the file name, shows the messages and repaints.
#include "app/widgets/MDIfrmMain.h"

#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureExport.h"
#include "mapview/widgets/frmMapView.h"

#include <QApplication>

namespace vmm {

namespace {
const QString kVargaFilter = QStringLiteral("Varga Map Files (*.Txt)|*.txt");
const QString kTolleFilter = QStringLiteral("Tolle Map Files (*.Txt)|*.txt");
const QString kBitmapFilter = QStringLiteral("BMP File (*.bmp)|*.bmp");
}  // namespace

void MDIfrmMain::mnuSave() {
  exportMapText(MapEdition::Varga);
}

void MDIfrmMain::MnuTolle() {
  exportMapText(MapEdition::Tolle);
}

bool MDIfrmMain::exportMapText(MapEdition edition) {
  if (!requireMap()) return false;
  const QString path =
      dialogs_->saveFileName(edition == MapEdition::Varga ? kVargaFilter : kTolleFilter);
  if (path.isEmpty()) return false;
  // The file is replaced atomically: a failed export leaves any earlier file as it was.
  const FileWriteResult result = edition == MapEdition::Varga ? SaveAsVargaTXT(document_, path)
                                                              : SaveAsTolleTXT(document_, path);
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

void MDIfrmMain::mnuImportMapData() {
  if (!requireMap()) return;
  const QString path = dialogs_->openFileName(kVargaFilter);
  if (path.isEmpty()) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  MapImportResult result;
  {
    HistoryStep step(history_.get(), QStringLiteral("Import Map Data"));
    result = GetFile(document_, path);
  }
  QApplication::restoreOverrideCursor();
  if (result.status == MapImportResult::Status::Unreadable) {
    // Nothing was read, so the views still show what the array holds.
    dialogs_->message(result.messageText, MapImportResult::messageTitle(), MessageIcon::Warning);
    return;
  }
  if (!result.ok())
    dialogs_->message(result.messageText, MapImportResult::messageTitle(), MessageIcon::Warning);
  // Repainted over a fresh copy of the picture, so the views show exactly what the array holds.
  repaintWholeMap();
  if (result.ok()) {
    emit mapDataImported(path);
    const QString note = quadCountNote(result.rowsRead, document_.XQuads * document_.YQuads);
    if (!note.isEmpty()) showNotice(note);
  }
}

void MDIfrmMain::mnuExT() {
  exportSurface(MapView::Terrain);
}

void MDIfrmMain::mnuExE() {
  exportSurface(MapView::Elevation);
}

void MDIfrmMain::exportSurface(MapView view) {
  if (!requireMap() || !mapView_) return;
  const QString path = dialogs_->saveFileName(kBitmapFilter);
  if (path.isEmpty()) return;
  const FileWriteResult result = saveSurfaceBitmap(mapView_->surfaces().surface(view), path);
  if (!result.ok)
    dialogs_->message(
        QStringLiteral("The picture could not be saved as \"%1\": %2").arg(path, result.errorText),
        view == MapView::Terrain ? QStringLiteral("Export Terrain Image")
                                 : QStringLiteral("Export Elevation Image"),
        MessageIcon::Warning);
}

}  // namespace vmm
