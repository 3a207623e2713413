// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/GdiTypes.h"
#include "ui/catalogue/ElementDataWindow.h"
#include "ui/catalogue/TreeIcons.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>
#include <utility>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace vmm {

class EditorSession;
class UserDialogs;

// The element catalogue as a tree beside the map: a root, "All Elements" and one
// branch per category. Clicking an element makes it the drawing element and shows
// its main values; the colour swatch recolours it in the catalogue; a double click
// opens its full data in the "Element Data" window.
class ElementTreeWindow : public QWidget {
  Q_OBJECT

 public:
  ElementTreeWindow(EditorSession &session, UserDialogs &dialogs, QWidget *parent = nullptr);
  ~ElementTreeWindow() override;

  QTreeWidget *tree() const { return tree_; }
  // The name of the last element node clicked; empty until one was.
  const QString &selectedElementName() const { return selectedElementName_; }
  // The colour the swatch shows (a GDI colour value).
  ColorRef swatchColour() const { return swatchColour_; }
  // The data window opened by the last double click, while it is open.
  ElementDataWindow *elementDataWindow() const { return dataWindow_; }

  // Adds the 282 element nodes under "All Elements".
  void addAllElements();

  // Event handlers, public so that the tests and tools can drive them.
  void selectNode(QTreeWidgetItem *node);
  void openElementData(QTreeWidgetItem *node);
  void chooseSwatchColour();

 protected:
  void resizeEvent(QResizeEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void buildTree();
  void buildBoxes();
  QGroupBox *valueFrame(const QString &name, const QString &caption,
                        const std::array<std::pair<const char *, const char *>, 4> &labelsAndBoxes,
                        std::array<QLineEdit *, 4> &boxes);
  void layoutControls();
  void setSwatchColour(ColorRef colour);
  QIcon picture(int number) const;

  EditorSession &session_;
  UserDialogs &dialogs_;
  QTreeWidget *tree_ = nullptr;
  QTreeWidgetItem *allNode_ = nullptr;
  QLabel *swatch_ = nullptr;
  QLabel *swatchCaption_ = nullptr;
  QGroupBox *coverFrame_ = nullptr;
  QGroupBox *protectionFrame_ = nullptr;
  QLabel *idLabel_ = nullptr;
  QLabel *heightLabel_ = nullptr;
  QLineEdit *idBox_ = nullptr;
  QLineEdit *heightBox_ = nullptr;
  std::array<QLineEdit *, 4> coverBoxes_{};       // Prone, Low, Medium, High
  std::array<QLineEdit *, 4> protectionBoxes_{};  // Prone, Low, Medium, High
  QString selectedElementName_;
  ColorRef swatchColour_ = 0;
  QPointer<ElementDataWindow> dataWindow_;
  std::array<QIcon, TreeIcons::kCount + 1> pictures_;  // by picture number, 1 to 14
};

}  // namespace vmm
