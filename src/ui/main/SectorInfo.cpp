// SPDX-License-Identifier: GPL-3.0-or-later
// What lies under the mouse, picking a Sector up, and the height to paint.
#include "ui/main/MainWindow.h"

#include "ui/main/EditToolBar.h"
#include "ui/mapview/MapViewWindow.h"

#include <QComboBox>
#include <QPushButton>

namespace vmm {

namespace {

// A height that may be painted: a whole number 0..100 (the list also holds "HeightValie").
std::optional<qint16> paintableHeight(const QString &text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value < 0 || value > 100) return std::nullopt;
  return static_cast<qint16>(value);
}

}  // namespace

void MainWindow::showSectorInfo(int quad, int sector) {
  const MapDocument &document = session_.document();
  const qint16 element = document.value(quad, sector, Plane::Element);
  const qint16 height = document.value(quad, sector, Plane::Height);
  setPanelText(1, element != kUnassigned
                      ? QStringLiteral("Element : ") + session_.elementName(element)
                      : QStringLiteral("Element : Unassigned"));
  setPanelText(2, QStringLiteral("Height : ") + QString::number(height));
}

void MainWindow::showPointerSector(int quad, int sector) {
  pointerSector_ = {quad, sector};
  showSectorInfo(quad, sector);
  setPanelText(6, QStringLiteral("Quad : ") + QString::number(quad));
  setPanelText(7, QStringLiteral("Sect : ") + QString::number(sector));
}

void MainWindow::refreshPointerSector() {
  // A fill, a replace, an undo or a redo can change the Sector under a still pointer.
  if (pointerSector_ && session_.document().mapReady)
    showSectorInfo(pointerSector_->first, pointerSector_->second);
}

void MainWindow::pickUpSector(int quad, int sector) {
  showSectorInfo(quad, sector);
  MapDocument &document = session_.document();
  const qint16 element = document.value(quad, sector, Plane::Element);
  const qint16 height = document.value(quad, sector, Plane::Height);
  const bool terrainShown = mapView_ && mapView_->isSurfaceVisible(MapView::Terrain);
  const bool elevationShown = mapView_ && mapView_->isSurfaceVisible(MapView::Elevation);
  // Picking an unassigned Sector on the view that shows its plane turns the brush into an eraser.
  document.CurrentDrawElement = element;
  if (terrainShown) {
    if (element == kUnassigned) {
      setPanelText(4, QStringLiteral("Selected : Unassigned"));
      session_.setEditMode(EditMode::EraseSector);
    } else {
      setPanelText(4, QStringLiteral("Selected : ") + session_.elementName(element));
    }
  }
  document.CurrentDrawHeight = height;
  if (elevationShown) {
    if (height != kUnassigned) {
      setPanelText(4, QStringLiteral(" SelectedHeight : ") + QString::number(height));
    } else {
      setPanelText(4, QStringLiteral("Selected : Unassigned"));
      session_.setEditMode(EditMode::EraseSector);
    }
  }
}

void MainWindow::chooseListedHeight() {
  const QString text = toolBar_->heightList()->currentText();
  if (const auto height = paintableHeight(text)) session_.document().CurrentDrawHeight = *height;
  setPanelText(2, QStringLiteral("Height : ") + text);
  showPaintValue();
}

void MainWindow::raiseHeight() {
  const auto height = paintableHeight(toolBar_->heightList()->currentText());
  if (!height) return;
  // Heights stop at 100: the colour tables have no entry above it.
  setDrawHeightText(QString::number(std::min<int>(*height + 1, 100)));
}

void MainWindow::lowerHeight() {
  const auto height = paintableHeight(toolBar_->heightList()->currentText());
  if (!height || *height == 0) return;
  setDrawHeightText(QString::number(*height - 1));
}

void MainWindow::setDrawHeightText(const QString &text) {
  toolBar_->heightList()->setEditText(text);
  session_.document().CurrentDrawHeight = static_cast<qint16>(text.toInt());
  setPanelText(2, QStringLiteral("Height : ") + text);
  showPaintValue();
}

void MainWindow::toggleHeightColours() {
  // The button names the set the next click switches to.
  const bool toColourSet = session_.heightColourMode() != 1;
  reportCatalogueProblem(session_.setHeightColourMode(toColourSet ? 1 : 0));
  toolBar_->heightColourButton()->setText(toColourSet ? QStringLiteral("Draw with Gradient")
                                                      : QStringLiteral("Draw with Colour"));
}

}  // namespace vmm
