#include "catalogue/widgets/ElementPicker.h"

#include "catalogue/ElementCategories.h"
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
  elements_.clear();
  // The list keeps its names sorted, duplicates side by side.
  elements_.addItems(ElementCategories::sortedElementsOf(categories_.currentText()));
  elements_.setCurrentIndex(elements_.count() > 0 ? 0 : -1);
  selectElementByName(elements_.currentText());
}

void ElementPicker::chooseListedElement() {
  selectElementByName(elements_.currentText());
}

void ElementPicker::selectElementByName(const QString &name) {
  session_.selectElementByName(name);
}

}  // namespace vmm
