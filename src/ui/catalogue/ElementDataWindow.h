// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

class QButtonGroup;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QRadioButton;

namespace vmm {

class CatalogueDatabase;
class ElementTable;
struct ElementRecord;

// "Element Data": every game value of one catalogue element at once, read-only.
// The tree browser opens it for the element last clicked; it closes itself as
// soon as it loses the focus. Each value box is named after the field it shows.
class ElementDataWindow : public QWidget {
  Q_OBJECT

 public:
  ElementDataWindow(const CatalogueDatabase &catalogue, const ElementTable &table,
                    QWidget *parent = nullptr);

  // Fills the window from the element's record; a name without a record leaves it empty.
  void showElement(const QString &elementname);
  // Shows the element in `window`, which is created over the middle of `parent`'s
  // window when it is not open yet, and brings it to the front.
  static void open(QPointer<ElementDataWindow> &window, const CatalogueDatabase &catalogue,
                   const ElementTable &table, const QString &elementname, QWidget *parent);

  // Text of the box showing a tblElements field (empty for a field without a box).
  QString fieldText(const QString &field) const;
  // Caption of the selected "Type Flags" button, empty when none is selected.
  QString selectedTypeFlag() const;

 protected:
  void changeEvent(QEvent *event) override;

 private:
  void buildIdentity(QGridLayout &grid);
  QGroupBox *valueFrame(const QString &caption, const QStringList &labels,
                        const QStringList &fields);
  QGroupBox *typeFlagsFrame();
  QWidget *valueList(const QList<std::array<QString, 3>> &rows);
  QLineEdit *addBox(const QString &field, int minimumChars);
  void clear();
  void fill(const ElementRecord &record);
  void setText(const QString &field, const QString &text);

  const CatalogueDatabase &catalogue_;
  const ElementTable &table_;
  QHash<QString, QLineEdit *> boxes_;
  QButtonGroup *typeFlags_ = nullptr;
  QHash<QString, QRadioButton *> flagButtons_;
};

}  // namespace vmm
