// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"

#include <QDialog>

class QComboBox;

namespace vmm {

// Asks which element or height "Replace Element..." and "Replace Height..." look for:
// the tool strip's category and element lists, or its list of heights 0 to 100.
class ReplaceValueDialog : public QDialog {
  Q_OBJECT

 public:
  // `replacement`: the element name or height the chosen one gives way to.
  ReplaceValueDialog(Plane plane, const QString &replacement, QWidget *parent = nullptr);

  // The element name or the height chosen.
  QString chosenValue() const;

 private:
  void listCategory();

  QComboBox *categories_ = nullptr;
  QComboBox *values_ = nullptr;
};

}  // namespace vmm
