// The height to paint: the height list and the Raise and Lower buttons.
#include "app/widgets/MDIfrmMain.h"

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
