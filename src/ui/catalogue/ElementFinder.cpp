// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/catalogue/ElementFinder.h"

#include "session/EditorSession.h"
#include "session/RecentElements.h"
#include "ui/catalogue/ColourSwatch.h"
#include "ui/catalogue/ElementPicker.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCompleter>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStringListModel>
#include <QToolButton>

#include <algorithm>

namespace vmm {

ElementFinder::ElementFinder(EditorSession &session, ElementPicker &picker, RecentElements &recent,
                             QWidget *parent)
    : QWidget(parent), session_(session), picker_(picker), recent_(recent) {
  setObjectName(QStringLiteral("elementFinder"));
  // As wide as its contents: the swatches sit together after the search box.
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  auto *layout = new QHBoxLayout(this);
  layout->setContentsMargins(2, 0, 0, 0);
  layout->setSpacing(2);

  searchBox_ = new QLineEdit(this);
  searchBox_->setObjectName(QStringLiteral("txtFindElement"));
  searchBox_->setPlaceholderText(QStringLiteral("Find element"));
  searchBox_->setClearButtonEnabled(true);
  searchBox_->setMinimumWidth(150);
  searchBox_->setMaximumWidth(190);
  completer_ = new QCompleter(new QStringListModel(this), this);
  completer_->setCaseSensitivity(Qt::CaseInsensitive);
  completer_->setFilterMode(Qt::MatchContains);
  completer_->setCompletionMode(QCompleter::PopupCompletion);
  completer_->setMaxVisibleItems(14);
  completer_->popup()->setMinimumWidth(240);  // the longest names stay whole
  searchBox_->setCompleter(completer_);
  connect(completer_, qOverload<const QString &>(&QCompleter::activated), this,
          [this](const QString &name) {
            choose(name);
            emit searchFinished();
          });
  connect(searchBox_, &QLineEdit::returnPressed, this, [this] {
    chooseTyped();
    emit searchFinished();
  });
  searchBox_->installEventFilter(this);
  layout->addWidget(searchBox_);

  auto *focusSearch = new QAction(QStringLiteral("Find Element"), this);
  focusSearch->setObjectName(QStringLiteral("actFindElement"));
  focusSearch->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  focusSearch->setShortcutContext(Qt::WindowShortcut);
  addAction(focusSearch);
  connect(focusSearch, &QAction::triggered, this, [this] {
    searchBox_->setFocus(Qt::ShortcutFocusReason);
    searchBox_->selectAll();
  });

  recentLabel_ = new QLabel(QStringLiteral("Recent:"), this);
  recentLabel_->setObjectName(QStringLiteral("lblRecentElements"));
  layout->addSpacing(8);
  layout->addWidget(recentLabel_);
  recentStrip_ = new QWidget(this);
  recentStrip_->setObjectName(QStringLiteral("recentElements"));
  auto *strip = new QHBoxLayout(recentStrip_);
  strip->setContentsMargins(0, 0, 0, 0);
  strip->setSpacing(1);
  // The row is as tall as a swatch from the start, so the map below it does not move down
  // when the first recent element appears.
  QToolButton probe;
  probe.setAutoRaise(true);
  probe.setIcon(blankSwatch());
  recentStrip_->setMinimumHeight(probe.sizeHint().height());
  layout->addWidget(recentStrip_);

  connect(&session_, &EditorSession::elementPainted, this, &ElementFinder::notePainted);
  connect(&recent_, &RecentElements::changed, this, &ElementFinder::showRecent);
  reloadCatalogue();
}

void ElementFinder::reloadCatalogue() {
  const ElementTable &table = session_.elementTable();
  idsByFoldedName_.clear();
  QStringList names;
  for (int id = 0; id < kMaxElements; ++id) {
    if (!table.hasElement(id)) continue;
    const QString &name = table.row(id).name;
    // The lowest id answers for a name the catalogue holds twice, as a lookup by name does.
    if (name.isEmpty() || idsByFoldedName_.contains(name.toLower())) continue;
    idsByFoldedName_.insert(name.toLower(), qint16(id));
    names << name;
  }
  std::sort(names.begin(), names.end(), [](const QString &a, const QString &b) {
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
  });
  static_cast<QStringListModel *>(completer_->model())->setStringList(names);
  showRecent();
}

bool ElementFinder::choose(const QString &name) {
  const auto found = idsByFoldedName_.constFind(name.trimmed().toLower());
  if (found == idsByFoldedName_.constEnd()) return false;
  return picker_.chooseElement(session_.elementTable().row(*found).name);
}

void ElementFinder::chooseTyped() {
  // Enter takes the typed name, or the only element the completer still offers.
  if (choose(searchBox_->text())) return;
  if (completer_->completionCount() == 1) {
    completer_->setCurrentRow(0);
    const QString only = completer_->currentCompletion();
    if (choose(only)) searchBox_->setText(only);
  }
}

bool ElementFinder::eventFilter(QObject *watched, QEvent *event) {
  // Escape leaves the search as Enter does (an open completer list takes it first).
  if (watched == searchBox_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
    emit searchFinished();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void ElementFinder::notePainted(qint16 elementid) {
  // A stroke paints with one element many times over: only a new one is news.
  if (elementid == lastPainted_) return;
  const ElementTable &table = session_.elementTable();
  if (!table.hasElement(elementid)) return;
  lastPainted_ = elementid;
  recent_.note(table.row(elementid).name);
}

void ElementFinder::showRecent() {
  qDeleteAll(recentButtons_);
  recentButtons_.clear();
  recentLabel_->setVisible(!recent_.names().isEmpty());
  const ElementTable &table = session_.elementTable();
  for (const QString &name : recent_.names()) {
    const qint16 id = idsByFoldedName_.value(name.toLower(), kNoElement);
    auto *button = new QToolButton(recentStrip_);
    button->setObjectName(QStringLiteral("recentElement%1").arg(recentButtons_.size()));
    button->setAutoRaise(true);
    button->setIcon(id != kNoElement ? colourSwatch(table.colour(id)) : blankSwatch());
    button->setToolTip(name);
    button->setAccessibleName(name);
    connect(button, &QToolButton::clicked, this, [this, name] { choose(name); });
    recentStrip_->layout()->addWidget(button);
    recentButtons_ << button;
  }
}

}  // namespace vmm
