// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/docks/LegendWindow.h"

#include "session/EditorSession.h"
#include "session/MapStatistics.h"
#include "ui/catalogue/ColourSwatch.h"
#include "ui/catalogue/ElementDataWindow.h"

#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vmm {

namespace {

constexpr int kRefreshMs = 60;  // often enough to follow a stroke, rare enough to cost nothing
constexpr int kValueRole = Qt::UserRole;
constexpr int kRowKindRole = Qt::UserRole + 1;
enum RowKind { KnownValue, UnknownValue, Unassigned };

QString sectorsText(int count) {
  return QLocale().toString(count);
}

QString rowText(const LegendRow &row, Plane plane) {
  if (row.known) return row.name;
  return plane == Plane::Height
             ? QStringLiteral("%1 (outside 0..100)").arg(row.value)
             : QStringLiteral("Element %1 (not in the catalogue)").arg(row.value);
}

QIcon rowSwatch(const LegendRow &row, Plane plane, const EditorSession &session) {
  if (plane == Plane::Height)
    return session.heightColours().hasHeight(row.value)
               ? colourSwatch(session.heightColours().colour(row.value))
               : blankSwatch();
  return row.known ? colourSwatch(session.elementTable().colour(row.value)) : blankSwatch();
}

}  // namespace

LegendWindow::LegendWindow(EditorSession &session, QWidget *parent)
    : RefreshingPanel(Timing::Gather, kRefreshMs, parent), session_(session) {
  setObjectName(QStringLiteral("frmLegend"));
  setWindowTitle(QStringLiteral("Legend"));
  setMinimumWidth(240);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);

  tabs_ = new QTabBar(this);
  tabs_->setObjectName(QStringLiteral("tabLegendPlane"));
  tabs_->addTab(QStringLiteral("Elements"));
  tabs_->addTab(QStringLiteral("Heights"));
  tabs_->setExpanding(false);
  connect(tabs_, &QTabBar::currentChanged, this, &LegendWindow::refresh);
  layout->addWidget(tabs_);

  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("lblLegendSummary"));
  summary_->setTextFormat(Qt::PlainText);
  layout->addWidget(summary_);

  rows_ = new QTreeWidget(this);
  rows_->setObjectName(QStringLiteral("lstLegend"));
  rows_->setColumnCount(2);
  rows_->setRootIsDecorated(false);
  rows_->setUniformRowHeights(true);
  rows_->setSelectionMode(QAbstractItemView::SingleSelection);
  rows_->header()->setStretchLastSection(false);
  rows_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
  rows_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  connect(rows_, &QTreeWidget::itemClicked, this, &LegendWindow::rowClicked);
  connect(rows_, &QTreeWidget::itemDoubleClicked, this, &LegendWindow::rowDoubleClicked);
  layout->addWidget(rows_);
}

Plane LegendWindow::plane() const {
  return tabs_->currentIndex() == 1 ? Plane::Height : Plane::Element;
}

void LegendWindow::setPlane(Plane plane) {
  tabs_->setCurrentIndex(plane == Plane::Height ? 1 : 0);
}

void LegendWindow::rebuild() {
  const MapStatistics &statistics = session_.statistics();
  const Plane shown = plane();
  rows_->setHeaderLabels(
      {shown == Plane::Height ? QStringLiteral("Height") : QStringLiteral("Element"),
       QStringLiteral("Sectors")});
  const int sectors = statistics.sectors();
  const int unassigned = statistics.unassigned(shown);
  summary_->setText(sectors == 0 ? QStringLiteral("No map loaded")
                                 : QStringLiteral("%1 Sectors, %2 % unassigned")
                                       .arg(sectorsText(sectors))
                                       .arg(100.0 * unassigned / sectors, 0, 'f', 1));

  const std::vector<LegendRow> legend = legendRows(statistics, shown, session_.elementTable());
  const QString selected = rows_->currentItem() ? rows_->currentItem()->text(0) : QString();
  rows_->setUpdatesEnabled(false);
  rows_->clear();
  QList<QTreeWidgetItem *> items;
  items.reserve(qsizetype(legend.size()) + 1);
  for (const LegendRow &row : legend) {
    auto *item = new QTreeWidgetItem({rowText(row, shown), sectorsText(row.sectors)});
    item->setToolTip(0, item->text(0));
    item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
    item->setIcon(0, rowSwatch(row, shown, session_));
    item->setData(0, kValueRole, int(row.value));
    item->setData(0, kRowKindRole, row.known ? KnownValue : UnknownValue);
    items << item;
  }
  auto *gaps = new QTreeWidgetItem({QStringLiteral("Unassigned"), sectorsText(unassigned)});
  gaps->setIcon(0, blankSwatch());
  gaps->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
  gaps->setData(0, kRowKindRole, Unassigned);
  items << gaps;
  rows_->addTopLevelItems(items);
  for (QTreeWidgetItem *item : items)
    if (!selected.isEmpty() && item->text(0) == selected) rows_->setCurrentItem(item);
  rows_->setUpdatesEnabled(true);
}

void LegendWindow::rowClicked(QTreeWidgetItem *row) {
  if (!row || row->data(0, kRowKindRole).toInt() != KnownValue) return;
  const auto value = qint16(row->data(0, kValueRole).toInt());
  if (plane() == Plane::Height)
    emit heightChosen(value);
  else
    emit elementChosen(session_.elementTable().row(value).name);
}

void LegendWindow::rowDoubleClicked(QTreeWidgetItem *row) {
  if (!row || plane() != Plane::Element || row->data(0, kRowKindRole).toInt() != KnownValue) return;
  const QString name = session_.elementTable().row(row->data(0, kValueRole).toInt()).name;
  ElementDataWindow::open(dataWindow_, session_.catalogue(), session_.elementTable(), name, this);
}

}  // namespace vmm
