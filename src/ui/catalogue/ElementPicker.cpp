// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/catalogue/ElementPicker.h"

#include "catalogue/ElementCategories.h"
#include "catalogue/ElementRecord.h"
#include "session/EditorSession.h"

#include <QComboBox>

namespace vmm {

ElementPicker::ElementPicker(QComboBox &categories, QComboBox &elements, EditorSession &session,
                             QObject *parent)
    : QObject(parent), categories_(categories), elements_(elements), session_(session) {
  connect(&categories_, &QComboBox::activated, this, &ElementPicker::listCategory);
  connect(&elements_, &QComboBox::activated, this, &ElementPicker::chooseListedElement);
}

void ElementPicker::listCategory() {
  fillElementList();
  elements_.setCurrentIndex(elements_.count() > 0 ? 0 : -1);
  selectElementByName(elements_.currentText());
}

void ElementPicker::showFirstElement() {
  categories_.setCurrentIndex(categories_.count() > 0 ? 0 : -1);
  listCategory();
}

void ElementPicker::fillElementList() {
  elements_.clear();
  // The list keeps its names sorted, duplicates side by side.
  elements_.addItems(ElementCategories::sortedElementsOf(categories_.currentText()));
}

bool ElementPicker::chooseElement(const QString &name) {
  if (!session_.selectElementByName(name)) return false;
  // A catalogue name that no category lists leaves the lists as they are.
  const int category = categories_.findText(ElementCategories::firstCategoryOf(name));
  if (category >= 0) {
    categories_.setCurrentIndex(category);
    fillElementList();
    elements_.setCurrentIndex(elements_.findText(name));
  }
  return true;
}

void ElementPicker::chooseListedElement() {
  selectElementByName(elements_.currentText());
}

void ElementPicker::selectElementByName(const QString &name) {
  session_.selectElementByName(name);
}

}  // namespace vmm
