// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QComboBox;

namespace vmm {

class EditorSession;

// The category and element lists of the tool strip: choosing a category lists
// its elements in alphabetical order and selects the first; choosing an
// element makes it the one that drawing puts into Sectors. An element chosen
// elsewhere (search, recent elements, legend) is shown in the lists too.
class ElementPicker : public QObject {
  Q_OBJECT

 public:
  ElementPicker(QComboBox &categories, QComboBox &elements, EditorSession &session,
                QObject *parent = nullptr);

  // The category chosen: its elements listed, the first one selected.
  void listCategory();
  // The first category and its first element shown and chosen, so that the lists always
  // show what a click paints (at start and after the catalogue is read again).
  void showFirstElement();
  // The element chosen in the list.
  void chooseListedElement();
  // Looks the name up in the catalogue; an empty or unknown name changes nothing.
  void selectElementByName(const QString &name);
  // Selects the element as choosing it in the lists does, with the lists following:
  // its first category chosen and listed, its name the list's current entry. False
  // (and nothing changed) for a name the catalogue lacks.
  bool chooseElement(const QString &name);

 private:
  void fillElementList();

  QComboBox &categories_;
  QComboBox &elements_;
  EditorSession &session_;
};

}  // namespace vmm
