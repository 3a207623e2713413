// What lies under the mouse, picking a Sector up, and the height to paint.
#include "app/widgets/MDIfrmMain.h"

#include "mapview/EditDispatch.h"
#include "mapview/widgets/frmMapView.h"

#include <QComboBox>

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

QString MDIfrmMain::elementName(qint16 id) const {
  // An id the catalogue does not hold shows as its number rather than reading past the table.
  return elementTable_.hasElement(id) ? elementTable_.row(id).name : QString::number(id);
}

void MDIfrmMain::DisplaySectorInfo(qint16 quad, qint16 sect, qint16 reassign) {
  const qint16 element = document_.value(quad, sect, Plane::Element);
  const qint16 height = document_.value(quad, sect, Plane::Height);
  setPanelText(1, element != kUnassigned ? QStringLiteral("Element : ") + elementName(element)
                                         : QStringLiteral("Element : Unassigned"));
  setPanelText(2, QStringLiteral("Height : ") + QString::number(height));
  if (reassign != 1) return;

  const bool terrainShown = mapView_ && mapView_->isSurfaceVisible(MapView::Terrain);
  const bool elevationShown = mapView_ && mapView_->isSurfaceVisible(MapView::Elevation);
  document_.CurrentDrawElement = element;
  if (terrainShown) {
    if (element == kUnassigned) {
      setPanelText(4, QStringLiteral("Selected : Unassigned"));
      setEditMode(static_cast<int>(EditMode::EraseSector));
    } else {
      setPanelText(4, QStringLiteral("Selected : ") + elementName(element));
    }
  }
  document_.CurrentDrawHeight = height;
  if (elevationShown) {
    if (height != kUnassigned) {
      setPanelText(4, QStringLiteral(" SelectedHeight : ") + QString::number(height));
    } else {
      setPanelText(4, QStringLiteral("Selected : Unassigned"));
      setEditMode(static_cast<int>(EditMode::EraseSector));
    }
  }
}

void MDIfrmMain::cboheightClick() {
  const QString text = cboheight_->currentText();
  if (const auto height = paintableHeight(text)) document_.CurrentDrawHeight = *height;
  setPanelText(2, QStringLiteral("Height : ") + text);
}

void MDIfrmMain::Command1Click() {
  const auto height = paintableHeight(cboheight_->currentText());
  if (!height) return;
  // Heights stop at 100: the colour tables have no entry above it.
  const QString text = QString::number(std::min<int>(*height + 1, 100));
  cboheight_->setEditText(text);
  document_.CurrentDrawHeight = static_cast<qint16>(text.toInt());
  setPanelText(2, QStringLiteral("Height : ") + text);
}

void MDIfrmMain::Command2Click() {
  const auto height = paintableHeight(cboheight_->currentText());
  if (!height || *height == 0) return;
  const QString text = QString::number(*height - 1);
  cboheight_->setEditText(text);
  document_.CurrentDrawHeight = static_cast<qint16>(text.toInt());
  setPanelText(2, QStringLiteral("Height : ") + text);
}

}  // namespace vmm
