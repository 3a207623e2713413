// SPDX-License-Identifier: GPL-3.0-or-later
// Fill, clear, replace and randomise: the edit runs in the core, the window guards,
// asks and repaints.
#include "ui/main/MainWindow.h"

#include "catalogue/ElementRecord.h"

namespace vmm {

void MainWindow::runEditCommand(EditCommand command) {
  if (!requireMap()) return;
  session_.runEditCommand(command);
  // Both views are repainted even when nothing changed.
  repaintWholeMap();
}

void MainWindow::replaceValue(Plane plane) {
  if (!requireMap()) return;
  const bool elements = plane == Plane::Element;
  const QString title = EditorSession::replaceCaption(plane);
  const qint16 to = drawValue(session_.document(), plane);
  if (to == kUnassigned) {
    dialogs_->message(elements ? tr("Choose the element to paint with first: it replaces the "
                                    "element you pick next.")
                               : tr("Choose the height to paint with first: it replaces the "
                                    "height you pick next."),
                      title, MessageIcon::Information);
    return;
  }
  const std::optional<QString> chosen = dialogs_->chooseValueToReplace(
      plane, elements ? session_.elementName(to) : QString::number(to));
  if (!chosen) return;
  std::optional<qint16> from;
  if (elements) {
    if (const std::optional<ElementRecord> record = session_.catalogue().elementByName(*chosen))
      from = record->elementid;
  } else {
    bool ok = false;
    const int height = chosen->toInt(&ok);
    if (ok && HeightColours::inRange(height)) from = qint16(height);
  }
  if (!from) {
    dialogs_->message(elements ? tr("The catalogue holds no element named \"%1\".").arg(*chosen)
                               : tr("\"%1\" is not a height from 0 to 100.").arg(*chosen),
                      title, MessageIcon::Warning);
    return;
  }
  session_.replaceValue(plane, *from, to);
  // Both views are repainted, as after the other whole-map commands.
  repaintWholeMap();
}

}  // namespace vmm
