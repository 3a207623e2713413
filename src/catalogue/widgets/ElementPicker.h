#pragma once

#include <QObject>
#include <QString>

class QComboBox;

namespace vmm {

class EditorSession;

// The category and element lists of the tool strip: choosing a category lists
// its elements in alphabetical order and selects the first; choosing an
// element makes it the one that drawing puts into Sectors.
class ElementPicker : public QObject {
  Q_OBJECT

 public:
  ElementPicker(QComboBox &categories, QComboBox &elements, EditorSession &session,
                QObject *parent = nullptr);

  // The category chosen: its elements listed, the first one selected.
  void listCategory();
  // The element chosen in the list.
  void chooseListedElement();
  // Looks the name up in the catalogue; an empty or unknown name changes nothing.
  void selectElementByName(const QString &name);

 private:
  QComboBox &categories_;
  QComboBox &elements_;
  EditorSession &session_;
};

}  // namespace vmm
