// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/catalogue/ElementTreeWindow.h"

#include "catalogue/CatalogueDatabase.h"
#include "catalogue/ElementCategories.h"
#include "gdi/SystemColours.h"
#include "gdi/Twips.h"
#include "session/EditorSession.h"
#include "session/UserDialogs.h"
#include "ui/catalogue/ElementDataWindow.h"
#include "ui/catalogue/TreeIcons.h"

#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTreeWidget>

#include <algorithm>

namespace vmm {

namespace {

// Control placement in twips, as the window is designed.
constexpr int kSwatchStripTwips = 300;  // the swatch sits in a strip above the tree
constexpr int kBelowTreeTwips = 2400;   // room under the tree for the boxes and frames
constexpr int kRowTopTwips = 200;       // Elem ID and Height row, below the tree's bottom
constexpr int kFrame1TopTwips = 581;
constexpr int kFrame2TopTwips = 1420;
constexpr std::array<int, 4> kColumnLeftsTwips{120, 960, 1800, 2640};
constexpr int kBoxWidthTwips = 735;
constexpr int kBoxHeight = 20;      // pixels
constexpr int kFrameHeight = 54;    // pixels: caption, label row, box row
constexpr int kFrameLabelTop = 16;  // pixels inside a frame
constexpr int kFrameBoxTop = 31;

// Keys of the fixed nodes; element nodes have none.
constexpr int kKeyRole = Qt::UserRole;

QLineEdit *valueBox(const QString &name, QWidget *parent) {
  auto *box = new QLineEdit(parent);
  box->setObjectName(name);
  box->setReadOnly(true);
  box->setFocusPolicy(Qt::NoFocus);
  box->resize(twipsToPixels(kBoxWidthTwips), kBoxHeight);
  return box;
}

QLabel *caption(const QString &name, const QString &text, QWidget *parent) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(name);
  label->adjustSize();
  return label;
}

}  // namespace

ElementTreeWindow::ElementTreeWindow(EditorSession &session, UserDialogs &dialogs, QWidget *parent)
    : QWidget(parent), session_(session), dialogs_(dialogs) {
  setObjectName(QStringLiteral("frmTreeView"));
  setWindowTitle(QStringLiteral("Element Tree"));
  // Drawn once per window; the nodes share them.
  for (int number = 1; number <= TreeIcons::kCount; ++number)
    pictures_[static_cast<std::size_t>(number)] = TreeIcons::picture(number);
  buildBoxes();
  buildTree();
}

ElementTreeWindow::~ElementTreeWindow() = default;

void ElementTreeWindow::buildBoxes() {
  swatch_ = new QLabel(this);
  swatch_->setObjectName(QStringLiteral("Text11"));
  swatch_->setFrameStyle(QFrame::Box | QFrame::Plain);
  swatch_->setAutoFillBackground(true);
  swatch_->setToolTip(QStringLiteral("Click to change the colour of the selected element"));
  swatch_->setCursor(Qt::PointingHandCursor);
  swatch_->installEventFilter(this);
  swatchCaption_ = caption(QStringLiteral("lblColour"), QStringLiteral("Colour"), this);
  setSwatchColour(0x00FFFFFFu);

  idLabel_ = caption(QStringLiteral("Label10"), QStringLiteral("Elem ID"), this);
  idBox_ = valueBox(QStringLiteral("Text10"), this);
  heightLabel_ = caption(QStringLiteral("Label1"), QStringLiteral("Height (m)"), this);
  heightBox_ = valueBox(QStringLiteral("Text1"), this);
  coverFrame_ = valueFrame(
      QStringLiteral("Frame1"), QStringLiteral("Cover"),
      {{{"Label6", "Text9"}, {"Label7", "Text7"}, {"Label8", "Text8"}, {"Label9", "Text6"}}},
      coverBoxes_);
  protectionFrame_ = valueFrame(
      QStringLiteral("Frame2"), QStringLiteral("Protection"),
      {{{"Label5", "Text2"}, {"Label4", "Text4"}, {"Label3", "Text3"}, {"Label2", "Text5"}}},
      protectionBoxes_);
  // The boxes under the tree stand at fixed places: a compact font keeps every
  // caption clear of the box to its right.
  QFont compact = font();
  compact.setPointSizeF(std::max(6.0, compact.pointSizeF() - 1.5));
  for (QWidget *w : std::initializer_list<QWidget *>{idLabel_, idBox_, heightLabel_, heightBox_,
                                                     coverFrame_, protectionFrame_})
    w->setFont(compact);
  for (QLabel *label : findChildren<QLabel *>())
    if (label != swatch_) label->adjustSize();
}

QGroupBox *ElementTreeWindow::valueFrame(
    const QString &name, const QString &title,
    const std::array<std::pair<const char *, const char *>, 4> &labelsAndBoxes,
    std::array<QLineEdit *, 4> &boxes) {
  static const std::array<const char *, 4> kPostures{"Prone", "Low", "Medium", "High"};
  auto *frame = new QGroupBox(title, this);
  frame->setObjectName(name);
  for (std::size_t i = 0; i < labelsAndBoxes.size(); ++i) {
    const int left = twipsToPixels(kColumnLeftsTwips[i]);
    QLabel *label = caption(QString::fromLatin1(labelsAndBoxes[i].first),
                            QString::fromLatin1(kPostures[i]), frame);
    label->move(left, kFrameLabelTop);
    boxes[i] = valueBox(QString::fromLatin1(labelsAndBoxes[i].second), frame);
    boxes[i]->move(left, kFrameBoxTop);
  }
  return frame;
}

void ElementTreeWindow::buildTree() {
  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("treElementList"));
  tree_->setHeaderHidden(true);
  tree_->setColumnCount(1);
  tree_->setSortingEnabled(false);
  tree_->setExpandsOnDoubleClick(true);

  QHash<QString, QTreeWidgetItem *> fixedNodes;
  for (const ElementCategories::TreeNode &fixed : ElementCategories::treeNodes()) {
    QTreeWidgetItem *parent = fixedNodes.value(fixed.parentKey);
    auto *node = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(tree_);
    node->setText(0, fixed.text);
    node->setData(0, kKeyRole, fixed.key);
    node->setIcon(0, picture(fixed.picture));
    fixedNodes.insert(fixed.key, node);
  }
  for (const QString &category : ElementCategories::categoryNames()) {
    QTreeWidgetItem *categoryNode = fixedNodes.value(category);
    const QIcon icon = picture(ElementCategories::treePicture(category));
    for (const QString &name : ElementCategories::treeElementsOf(category)) {
      auto *node = new QTreeWidgetItem(categoryNode);
      node->setText(0, name);
      node->setIcon(0, icon);
    }
  }
  // The window opens with the root expanded and every branch closed.
  tree_->topLevelItem(0)->setExpanded(true);
  allNode_ = fixedNodes.value(ElementCategories::kAll);
  addAllElements();

  connect(tree_, &QTreeWidget::itemClicked, this,
          [this](QTreeWidgetItem *node) { selectNode(node); });
  connect(tree_, &QTreeWidget::itemDoubleClicked, this,
          [this](QTreeWidgetItem *node) { openElementData(node); });
  // The swatch never keeps the focus: it hands it on to the tree.
  swatch_->setFocusPolicy(Qt::ClickFocus);
  swatch_->setFocusProxy(tree_);
}

QIcon ElementTreeWindow::picture(int number) const {
  return number >= 1 && number <= TreeIcons::kCount ? pictures_[static_cast<std::size_t>(number)]
                                                    : QIcon();
}

void ElementTreeWindow::addAllElements() {
  for (const ElementCategories::TreeEntry &entry : ElementCategories::allElementsTreeEntries()) {
    auto *node = new QTreeWidgetItem(allNode_);
    node->setText(0, entry.name);
    node->setIcon(0, picture(ElementCategories::treePicture(entry.category)));
  }
}

void ElementTreeWindow::selectNode(QTreeWidgetItem *node) {
  // The root, "All Elements" and the categories carry a key; only element nodes select.
  if (!node || !node->data(0, kKeyRole).toString().isEmpty()) return;
  const QString name = node->text(0);
  const std::optional<ElementRecord> record = session_.selectElementByName(name);
  if (!record) return;  // a name the catalogue does not hold changes nothing
  selectedElementName_ = name;

  const std::array<double, 4> cover{record->CoverProne, record->CoverLow, record->CoverMedium,
                                    record->CoverHigh};
  const std::array<double, 4> protection{record->ProtectionProne, record->ProtectionLow,
                                         record->ProtectionMedium, record->ProtectionHigh};
  for (std::size_t i = 0; i < cover.size(); ++i) {
    coverBoxes_[i]->setText(QString::number(double(cover[i])));
    protectionBoxes_[i]->setText(QString::number(double(protection[i])));
  }
  idBox_->setText(QString::number(record->elementid));
  setSwatchColour(record->elementcolour);
  heightBox_->setText(heightMetresText(record->Height));
}

void ElementTreeWindow::openElementData(QTreeWidgetItem *node) {
  // Only a double click on the element last selected opens its data; a category
  // node just opens or closes, and a name the catalogue lacks was never selected.
  if (selectedElementName_.isEmpty() || !node || node->text(0) != selectedElementName_ ||
      !node->data(0, kKeyRole).toString().isEmpty())
    return;
  ElementDataWindow::open(dataWindow_, session_.catalogue(), session_.elementTable(),
                          selectedElementName_, this);
}

void ElementTreeWindow::chooseSwatchColour() {
  if (selectedElementName_.isEmpty()) return;
  const std::optional<quint32> chosen = dialogs_.chooseColour(swatchColour_);
  // Cancelling writes nothing; black is refused, so an element can never vanish into the grid.
  if (!chosen || *chosen == 0) return;
  const ColourWriteResult written = session_.recolourElement(selectedElementName_, *chosen);
  if (!written.ok) {
    dialogs_.message(written.error, QStringLiteral("Colour not saved"), MessageIcon::Critical);
    return;
  }
  setSwatchColour(*chosen);
}

void ElementTreeWindow::setSwatchColour(ColorRef colour) {
  swatchColour_ = colour;
  QPalette palette = swatch_->palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(toPixel(toRgb(colour))));
  swatch_->setPalette(palette);
}

bool ElementTreeWindow::eventFilter(QObject *watched, QEvent *event) {
  if (watched == swatch_ && event->type() == QEvent::MouseButtonRelease) {
    const auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() == Qt::LeftButton &&
        swatch_->rect().contains(mouse->position().toPoint())) {
      chooseSwatchColour();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void ElementTreeWindow::resizeEvent(QResizeEvent *event) {
  QWidget::resizeEvent(event);
  layoutControls();
}

void ElementTreeWindow::layoutControls() {
  const int strip = twipsToPixels(kSwatchStripTwips);
  swatch_->setGeometry(twipsToPixels(kColumnLeftsTwips[0]), 2, strip - 4, strip - 4);
  swatchCaption_->move(swatch_->geometry().right() + 6, (strip - swatchCaption_->height()) / 2);

  // The tree takes what the boxes and frames below it leave.
  const int treeHeight = std::max(0, height() - strip - twipsToPixels(kBelowTreeTwips));
  tree_->setGeometry(0, strip, width(), treeHeight);
  const int treeBottom = strip + treeHeight;
  const int rowTop = treeBottom + twipsToPixels(kRowTopTwips);
  idLabel_->move(twipsToPixels(120), rowTop + (kBoxHeight - idLabel_->height()) / 2);
  idBox_->move(twipsToPixels(960), rowTop);
  heightLabel_->move(twipsToPixels(1800), rowTop + (kBoxHeight - heightLabel_->height()) / 2);
  heightBox_->move(twipsToPixels(2640), rowTop);
  coverFrame_->setGeometry(0, treeBottom + twipsToPixels(kFrame1TopTwips), width(), kFrameHeight);
  protectionFrame_->setGeometry(0, treeBottom + twipsToPixels(kFrame2TopTwips), width(),
                                kFrameHeight);
}

}  // namespace vmm
