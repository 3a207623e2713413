// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/catalogue/ElementDataWindow.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/ElementRecord.h"
#include "gdi/Twips.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

namespace vmm {

namespace {

constexpr int kClientWidthTwips = 8475;
constexpr int kClientHeightTwips = 7275;

// The "Type Flags" buttons in their three rows; "Building" has no field.
const std::array<std::array<const char *, 4>, 3> kFlagRows{
    {{"Wall", "Building", "Sunken", "Crushable"},
     {"Covered", "Bridge", "Snow", "Interior"},
     {"Road", "Minefield", nullptr, nullptr}}};

// Flag fields in the order they are applied: with one group of buttons the last set flag wins.
const std::array<std::pair<const char *, double ElementRecord::*>, 9> kFlagFields{{
    {"Wall", &ElementRecord::TypeFlagsWall},
    {"Sunken", &ElementRecord::TypeFlagsSunken},
    {"Crushable", &ElementRecord::TypeFlagsCrushable},
    {"Covered", &ElementRecord::TypeFlagsCovered},
    {"Bridge", &ElementRecord::TypeFlagsBridge},
    {"Snow", &ElementRecord::TypeFlagsSnow},
    {"Interior", &ElementRecord::TypeFlagsinterior},
    {"Road", &ElementRecord::TypeFlagsRoad},
    {"Minefield", &ElementRecord::TypeFlagsMinefield},
}};

// The plain number boxes: field name and the record member it shows.
const std::array<std::pair<const char *, double ElementRecord::*>, 29> kNumberFields{{
    {"CoverProne", &ElementRecord::CoverProne},
    {"CoverLow", &ElementRecord::CoverLow},
    {"CoverMedium", &ElementRecord::CoverMedium},
    {"CoverHigh", &ElementRecord::CoverHigh},
    {"ProtectionProne", &ElementRecord::ProtectionProne},
    {"ProtectionLow", &ElementRecord::ProtectionLow},
    {"ProtectionMedium", &ElementRecord::ProtectionMedium},
    {"ProtectionHigh", &ElementRecord::ProtectionHigh},
    {"HindranceProne", &ElementRecord::HindranceProne},
    {"HindranceLow", &ElementRecord::HindranceLow},
    {"HindranceMedium", &ElementRecord::HindranceMedium},
    {"HindranceHigh", &ElementRecord::HindranceHigh},
    {"BlockHeight", &ElementRecord::BlockHeight},
    {"All", &ElementRecord::All},
    {"TopProtection", &ElementRecord::TopProtection},
    {"HEEffect", &ElementRecord::HEEffect},
    {"SoldierMoveRateProne", &ElementRecord::SoldierMoveRateProne},
    {"SoldierMoveRateCrouch", &ElementRecord::SoldierMoveRateCrouch},
    {"SoldierMoveRateStanding", &ElementRecord::SoldierMoveRateStanding},
    {"VehicleMoveRatePushed", &ElementRecord::VehicleMoveRatePushed},
    {"VehicleMoveRateTruck", &ElementRecord::VehicleMoveRateTruck},
    {"VehicleMoveRateArmCar", &ElementRecord::VehicleMoveRateArmCar},
    {"VehicleMoveRateHalftrack", &ElementRecord::VehicleMoveRateHalftrack},
    {"VehicleMoveRateTracked", &ElementRecord::VehicleMoveRateTracked},
    {"BogChance", &ElementRecord::BogChance},
    {"ImmobilizeChance", &ElementRecord::ImmobilizeChance},
    {"HowFlamable", &ElementRecord::HowFlamable},
    {"Level", &ElementRecord::Level},
    {"TreeType", &ElementRecord::TreeType},
}};

}  // namespace

ElementDataWindow::ElementDataWindow(const CatalogueDatabase &catalogue, const ElementTable &table,
                                     QWidget *parent)
    : QWidget(parent, Qt::Tool), catalogue_(catalogue), table_(table) {
  setObjectName(QStringLiteral("frmElementType"));
  setWindowTitle(QStringLiteral("Element Data"));
  setAttribute(Qt::WA_DeleteOnClose);

  auto *outer = new QVBoxLayout(this);
  auto *identity = new QGridLayout;
  buildIdentity(*identity);
  outer->addLayout(identity);

  auto *left = new QVBoxLayout;
  left->addWidget(valueFrame(QStringLiteral("Cover  (0 - 512)"), {"Prone", "Low", "Medium", "High"},
                             {"CoverProne", "CoverLow", "CoverMedium", "CoverHigh"}));
  left->addWidget(
      valueFrame(QStringLiteral("Protection  (mm of steel)"), {"Prone", "Low", "Medium", "High"},
                 {"ProtectionProne", "ProtectionLow", "ProtectionMedium", "ProtectionHigh"}));
  left->addWidget(
      valueFrame(QStringLiteral("Hindrance"), {"Prone", "Low", "Medium", "High"},
                 {"HindranceProne", "HindranceLow", "HindranceMedium", "HindranceHigh"}));
  left->addWidget(valueList({{"Block Height", "BlockHeight", ""},
                             {"Block All", "All", ""},
                             {"Rubble To", "RubbleTo", ""},
                             {"Crush To", "CrushTo", ""},
                             {"Burn To", "BurnTo", ""},
                             {"How Flamable", "HowFlamable", ""},
                             {"Level", "Level", ""},
                             {"Tree Type", "TreeType", ""}}));
  left->addStretch(1);

  auto *right = new QVBoxLayout;
  right->addWidget(valueFrame(
      QStringLiteral("Soldier Move Rate  (secs per 2 m)"), {"Prone", "Crouch", "Standing"},
      {"SoldierMoveRateProne", "SoldierMoveRateCrouch", "SoldierMoveRateStanding"}));
  right->addWidget(
      valueFrame(QStringLiteral("Vehicle Move Rate (secs per 2 m)"),
                 {"Push", "Truck", "Arm Car", "HalfTrack", "Tracked"},
                 {"VehicleMoveRatePushed", "VehicleMoveRateTruck", "VehicleMoveRateArmCar",
                  "VehicleMoveRateHalftrack", "VehicleMoveRateTracked"}));
  right->addWidget(typeFlagsFrame());
  right->addWidget(valueList({{"Bog Chance", "BogChance", "(out of 128)"},
                              {"Immob. Chance", "ImmobilizeChance", "(out of 128)"},
                              {"HE Effect", "HEEffect", "Divisor"},
                              {"Top Protection", "TopProtection", "(mm of Steel)"},
                              {"Element Protection Flag", "InElemProtFlag", ""},
                              {"Explode", "explode", ""}}));
  right->addStretch(1);

  auto *columns = new QHBoxLayout;
  columns->addLayout(left, 1);
  columns->addLayout(right, 1);
  outer->addLayout(columns, 1);

  resize(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
}

QLineEdit *ElementDataWindow::addBox(const QString &field, int minimumChars) {
  auto *box = new QLineEdit(this);
  box->setObjectName(field);
  box->setReadOnly(true);
  box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QLatin1Char('0')) * minimumChars + 12);
  boxes_.insert(field, box);
  return box;
}

void ElementDataWindow::buildIdentity(QGridLayout &grid) {
  grid.addWidget(new QLabel(QStringLiteral("Element ID "), this), 0, 0);
  grid.addWidget(addBox(QStringLiteral("elementid"), 5), 0, 1);
  grid.setColumnStretch(2, 1);
  grid.addWidget(new QLabel(QStringLiteral("Height (m)"), this), 0, 3, Qt::AlignRight);
  grid.addWidget(addBox(QStringLiteral("Height"), 5), 0, 4);
  grid.addWidget(new QLabel(QStringLiteral("Element Type"), this), 1, 0);
  grid.addWidget(addBox(QStringLiteral("ElementType"), 24), 1, 1, 1, 4);
}

QGroupBox *ElementDataWindow::valueFrame(const QString &caption, const QStringList &labels,
                                         const QStringList &fields) {
  auto *frame = new QGroupBox(caption, this);
  auto *grid = new QGridLayout(frame);
  grid->setVerticalSpacing(2);
  for (qsizetype i = 0; i < fields.size(); ++i) {
    const int column = static_cast<int>(i);
    grid->addWidget(new QLabel(labels[i], frame), 0, column);
    grid->addWidget(addBox(fields[i], 4), 1, column);
  }
  return frame;
}

QGroupBox *ElementDataWindow::typeFlagsFrame() {
  auto *frame = new QGroupBox(QStringLiteral("Type Flags"), this);
  auto *grid = new QGridLayout(frame);
  typeFlags_ = new QButtonGroup(frame);
  typeFlags_->setExclusive(true);
  for (std::size_t row = 0; row < kFlagRows.size(); ++row)
    for (std::size_t column = 0; column < kFlagRows[row].size(); ++column) {
      const char *caption = kFlagRows[row][column];
      if (!caption) continue;
      auto *button = new QRadioButton(QString::fromLatin1(caption), frame);
      button->setObjectName(QStringLiteral("opt") + QString::fromLatin1(caption));
      // The window is read-only: the buttons show the flags but do not take clicks.
      button->setAttribute(Qt::WA_TransparentForMouseEvents);
      button->setFocusPolicy(Qt::NoFocus);
      typeFlags_->addButton(button);
      flagButtons_.insert(button->text(), button);
      grid->addWidget(button, static_cast<int>(row), static_cast<int>(column));
    }
  return frame;
}

QWidget *ElementDataWindow::valueList(const QList<std::array<QString, 3>> &rows) {
  auto *list = new QWidget(this);
  auto *grid = new QGridLayout(list);
  grid->setContentsMargins(0, 4, 0, 0);
  grid->setVerticalSpacing(3);
  for (qsizetype i = 0; i < rows.size(); ++i) {
    const auto &[caption, field, unit] = rows[i];
    const int row = static_cast<int>(i);
    grid->addWidget(new QLabel(caption, list), row, 0);
    // Names and coded texts take the whole width; numbers leave room for their unit.
    const bool text = field.endsWith(QLatin1String("To")) ||
                      field == QLatin1String("InElemProtFlag") || field == QLatin1String("explode");
    if (text) {
      grid->addWidget(addBox(field, 16), row, 1, 1, 2);
    } else {
      grid->addWidget(addBox(field, 5), row, 1);
      if (!unit.isEmpty()) grid->addWidget(new QLabel(unit, list), row, 2);
    }
  }
  grid->setColumnStretch(2, 1);
  return list;
}

void ElementDataWindow::showElement(const QString &elementname) {
  clear();
  const std::optional<ElementRecord> record = catalogue_.elementByName(elementname);
  if (record) fill(*record);
}

void ElementDataWindow::clear() {
  for (QLineEdit *box : std::as_const(boxes_)) box->clear();
  // A refill must not keep the flag of the element shown before.
  typeFlags_->setExclusive(false);
  for (QAbstractButton *button : typeFlags_->buttons()) button->setChecked(false);
  typeFlags_->setExclusive(true);
}

void ElementDataWindow::fill(const ElementRecord &record) {
  setText(QStringLiteral("ElementType"), record.ElementType);
  setText(QStringLiteral("elementid"), QString::number(record.elementid));
  setText(QStringLiteral("Height"), heightMetresText(record.Height));
  for (const auto &[field, member] : kNumberFields)
    setText(QString::fromLatin1(field), QString::number(double(record.*member)));
  // Codes outside their tables leave the box empty.
  setText(QStringLiteral("InElemProtFlag"),
          protectionFlagText(record.InElemProtFlag).value_or(QString()));
  setText(QStringLiteral("explode"), explodeText(record.explode).value_or(QString()));
  for (const auto &[caption, member] : kFlagFields)
    if (record.*member == 1) flagButtons_.value(QString::fromLatin1(caption))->setChecked(true);
  setText(QStringLiteral("RubbleTo"), ReturnElementName(table_, record.RubbleTo));
  setText(QStringLiteral("CrushTo"), ReturnElementName(table_, record.CrushTo));
  setText(QStringLiteral("BurnTo"), ReturnElementName(table_, record.BurnTo));
}

void ElementDataWindow::setText(const QString &field, const QString &text) {
  if (QLineEdit *box = boxes_.value(field)) {
    box->setText(text);
    box->setCursorPosition(0);
  }
}

QString ElementDataWindow::fieldText(const QString &field) const {
  const QLineEdit *box = boxes_.value(field);
  return box ? box->text() : QString();
}

QString ElementDataWindow::selectedTypeFlag() const {
  const QAbstractButton *button = typeFlags_->checkedButton();
  return button ? button->text() : QString();
}

void ElementDataWindow::open(QPointer<ElementDataWindow> &window,
                             const CatalogueDatabase &catalogue, const ElementTable &table,
                             const QString &elementname, QWidget *parent) {
  const bool opening = !window;
  if (opening) window = new ElementDataWindow(catalogue, table, parent);
  window->showElement(elementname);
  window->show();
  if (opening)  // over the middle of the editor, where the eye already is
    window->move(parent->window()->frameGeometry().center() - window->rect().center());
  window->raise();
  window->activateWindow();
}

void ElementDataWindow::changeEvent(QEvent *event) {
  QWidget::changeEvent(event);
  // Losing the focus closes the window; queued, so that it never closes inside
  // the activation change of a window that is itself being torn down.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow())
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

}  // namespace vmm
