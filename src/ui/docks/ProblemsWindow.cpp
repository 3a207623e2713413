// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/docks/ProblemsWindow.h"

#include "session/EditorSession.h"

#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <array>

namespace vmm {

namespace {

constexpr int kQuadRole = Qt::UserRole;
constexpr int kSectorRole = Qt::UserRole + 1;

QString groupCaption(MapFinding::Kind kind, int total) {
  switch (kind) {
    case MapFinding::Kind::UnassignedSectors:
      return QStringLiteral("Sectors without an element or a height (%1 Quads)").arg(total);
    case MapFinding::Kind::UnknownElement:
      return QStringLiteral("Element ids the catalogue lacks (%1 Sectors)").arg(total);
    case MapFinding::Kind::HeightOutOfRange:
      return QStringLiteral("Heights outside 0..100 (%1 Sectors)").arg(total);
    case MapFinding::Kind::RowCount:
      break;
  }
  return QStringLiteral("Map rows and picture Quads differ");
}

// A bold heading line of the list.
QTreeWidgetItem *addGroup(QTreeWidget *list, const QString &caption) {
  auto *group = new QTreeWidgetItem(list, {caption});
  group->setToolTip(0, caption);
  QFont bold = group->font(0);
  bold.setBold(true);
  group->setFont(0, bold);
  group->setFlags(Qt::ItemIsEnabled);
  return group;
}

// The kinds in the order the list shows them: what stops the game first.
constexpr std::array<MapFinding::Kind, MapFinding::kKinds> kShownOrder{
    MapFinding::Kind::RowCount, MapFinding::Kind::UnknownElement,
    MapFinding::Kind::HeightOutOfRange, MapFinding::Kind::UnassignedSectors};

}  // namespace

ProblemsWindow::ProblemsWindow(EditorSession &session, QWidget *parent)
    : RefreshingPanel(Timing::Settle, kSettleMs, parent), session_(session) {
  setObjectName(QStringLiteral("frmProblems"));
  setWindowTitle(QStringLiteral("Problems"));
  setMinimumWidth(300);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("lblProblemsSummary"));
  summary_->setTextFormat(Qt::PlainText);
  summary_->setWordWrap(true);
  layout->addWidget(summary_);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("lstProblems"));
  list_->setHeaderHidden(true);
  // A narrow dock shows each line to its width, ending in "..."; the whole line is its tool tip.
  list_->header()->setSectionResizeMode(QHeaderView::Stretch);
  list_->setTextElideMode(Qt::ElideRight);
  list_->setUniformRowHeights(true);
  list_->setToolTip(QStringLiteral("Double-click a line to show its Sector on the map"));
  // A double click, or Enter on the current line (a second flash of the same Sector
  // where a platform reports a double click as both is harmless).
  connect(list_, &QTreeWidget::itemDoubleClicked, this, &ProblemsWindow::lineActivated);
  connect(list_, &QTreeWidget::itemActivated, this, &ProblemsWindow::lineActivated);
  layout->addWidget(list_);
}

void ProblemsWindow::rebuild() {
  const MapDocument &document = session_.document();
  problems_ =
      findMapProblems(document, session_.elementTable(),
                      document.mapReady ? document.XQuads * document.YQuads : 0, kLinesPerKind);
  // Sectors painted since they were left unsure are done.
  std::erase_if(unsure_, [&](const SectorAddress &at) {
    return document.value(at.quad, at.sector, unsurePlane_) != kUnassigned;
  });
  fillList();
}

void ProblemsWindow::setUnsureSectors(Plane plane, std::vector<SectorAddress> sectors) {
  unsurePlane_ = plane;
  unsure_ = std::move(sectors);
  scheduleRefresh();
}

void ProblemsWindow::fillList() {
  list_->setUpdatesEnabled(false);
  list_->clear();
  std::array<QTreeWidgetItem *, MapFinding::kKinds> groups{};
  for (const MapFinding::Kind kind : kShownOrder) {
    const int total = problems_.totalOf(kind);
    if (total == 0) continue;
    QTreeWidgetItem *group = addGroup(list_, groupCaption(kind, total));
    groups[std::size_t(kind)] = group;
  }
  for (const MapFinding &finding : problems_.findings) {
    auto *line = new QTreeWidgetItem(groups[std::size_t(finding.kind)], {finding.text()});
    line->setToolTip(
        0, finding.text() + QStringLiteral("\nDouble-click to show its Sector on the map"));
    line->setData(0, kQuadRole, finding.quad);
    line->setData(0, kSectorRole, finding.sector);
  }
  for (const MapFinding::Kind kind : kShownOrder) {
    QTreeWidgetItem *group = groups[std::size_t(kind)];
    if (!group) continue;
    const int hidden = problems_.totalOf(kind) - group->childCount();
    if (hidden > 0) {
      auto *more = new QTreeWidgetItem(group, {QStringLiteral("... and %1 more").arg(hidden)});
      more->setFlags(Qt::ItemIsEnabled);
    }
    group->setExpanded(true);
  }
  if (!unsure_.empty()) {
    QTreeWidgetItem *group = addGroup(
        list_,
        QStringLiteral("Unsure (%1 Sectors left by Paint from Picture)").arg(unsure_.size()));
    // Ahead of the Sectors without values, which after an Apply can be every Quad of the map:
    // the Sectors left unsure are what the map maker finishes next.
    if (QTreeWidgetItem *unassigned = groups[std::size_t(MapFinding::Kind::UnassignedSectors)]) {
      list_->takeTopLevelItem(list_->indexOfTopLevelItem(group));
      list_->insertTopLevelItem(list_->indexOfTopLevelItem(unassigned), group);
    }
    const std::size_t shown = std::min<std::size_t>(unsure_.size(), kLinesPerKind);
    for (std::size_t i = 0; i < shown; ++i) {
      auto *line = new QTreeWidgetItem(group, {QStringLiteral("Quad %1 Sector %2: left unsure")
                                                   .arg(unsure_[i].quad)
                                                   .arg(unsure_[i].sector)});
      line->setToolTip(0, line->text(0));
      line->setData(0, kQuadRole, unsure_[i].quad);
      line->setData(0, kSectorRole, unsure_[i].sector);
    }
    if (unsure_.size() > shown)
      new QTreeWidgetItem(group, {QStringLiteral("... and %1 more").arg(unsure_.size() - shown)});
    group->setExpanded(true);
  }
  const int total = problems_.total();
  summary_->setText(!session_.document().mapReady ? QStringLiteral("No map loaded")
                    : total == 0                  ? QStringLiteral("No problems found.")
                                                  : QStringLiteral("Problems: %1").arg(total));
  list_->setUpdatesEnabled(true);
}

void ProblemsWindow::lineActivated(QTreeWidgetItem *line) {
  if (!line || !line->data(0, kQuadRole).isValid()) return;
  const int quad = line->data(0, kQuadRole).toInt();
  if (quad >= 0) emit sectorRequested(quad, line->data(0, kSectorRole).toInt());
}

}  // namespace vmm
