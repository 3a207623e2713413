#include "catalogue/widgets/ElementPicker.h"

#include "app/widgets/MDIfrmMain.h"
#include "catalogue/ElementCategories.h"

#include <QComboBox>

namespace vmm {

ElementPicker::ElementPicker(QComboBox &categories, QComboBox &elements, MDIfrmMain &main)
    : QObject(&main), categories_(categories), elements_(elements), main_(main) {
  connect(&categories_, &QComboBox::activated, this, &ElementPicker::cboTerainCategoryClick);
  connect(&elements_, &QComboBox::activated, this, &ElementPicker::cboElementListClick);
}

void ElementPicker::cboTerainCategoryClick() {
  elements_.clear();
  // The list keeps its names sorted, duplicates side by side.
  elements_.addItems(ElementCategories::sortedElementsOf(categories_.currentText()));
  elements_.setCurrentIndex(elements_.count() > 0 ? 0 : -1);
  selectElementByName(elements_.currentText());
}

void ElementPicker::cboElementListClick() {
  selectElementByName(elements_.currentText());
}

void ElementPicker::selectElementByName(const QString &name) {
  if (name.isEmpty()) return;
  const auto record = main_.catalogue().elementByName(name);
  if (!record) return;
  main_.document().CurrentDrawElement = record->elementid;
  main_.setPanelText(4, QStringLiteral("Sel. : ") + record->ElementType);
}

}  // namespace vmm
