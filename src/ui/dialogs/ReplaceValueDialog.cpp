// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/ReplaceValueDialog.h"

#include "catalogue/ElementCategories.h"
#include "session/EditorSession.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>

namespace vmm {

ReplaceValueDialog::ReplaceValueDialog(Plane plane, const QString &replacement, QWidget *parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("dlgReplaceValue"));
  setWindowTitle(EditorSession::replaceCaption(plane));
  auto *form = new QFormLayout(this);
  const bool elements = plane == Plane::Element;
  auto *note = new QLabel(elements ? tr("Every Sector holding the element chosen here becomes "
                                        "\"%1\".")
                                         .arg(replacement)
                                   : tr("Every Sector with the height chosen here gets the "
                                        "height %1.")
                                         .arg(replacement),
                          this);
  note->setTextFormat(Qt::PlainText);
  form->addRow(note);
  values_ = new QComboBox(this);
  values_->setObjectName(QStringLiteral("cboReplaceValue"));
  if (elements) {
    categories_ = new QComboBox(this);
    categories_->setObjectName(QStringLiteral("cboReplaceCategory"));
    categories_->addItems(ElementCategories::pickerCategoryNames());
    values_->setMinimumContentsLength(22);
    connect(categories_, &QComboBox::currentIndexChanged, this, &ReplaceValueDialog::listCategory);
    form->addRow(tr("Category"), categories_);
    form->addRow(tr("Element"), values_);
    listCategory();
  } else {
    for (int height = 0; height <= 100; ++height) values_->addItem(QString::number(height));
    form->addRow(tr("Height"), values_);
  }
  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  form->addRow(buttons);
}

QString ReplaceValueDialog::chosenValue() const {
  return values_->currentText();
}

void ReplaceValueDialog::listCategory() {
  values_->clear();
  values_->addItems(ElementCategories::sortedElementsOf(categories_->currentText()));
}

}  // namespace vmm
