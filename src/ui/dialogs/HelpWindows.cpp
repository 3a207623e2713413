// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/HelpWindows.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace vmm {

namespace {

void collectShortcuts(const QList<QAction *> &actions, QList<const QAction *> &found) {
  for (const QAction *action : actions) {
    if (QMenu *submenu = action->menu())
      collectShortcuts(submenu->actions(), found);
    else if (!action->shortcuts().isEmpty() && !found.contains(action))
      found << action;
  }
}

}  // namespace

QUrl UserGuideWindow::source() {
  return QUrl(QStringLiteral("qrc:/help/user-guide.md"));
}

UserGuideWindow::UserGuideWindow(QWidget *parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("userGuide"));
  setWindowTitle(QStringLiteral("Varga Map Maker User Guide"));
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("userGuideText"));
  // Links to the web open in the desktop's browser; the guide's own pictures come from
  // the resources beside it.
  browser_->setOpenExternalLinks(true);
  browser_->document()->setDocumentMargin(12);
  browser_->setSource(source(), QTextDocument::MarkdownResource);
  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  // Wide enough for the guide's pictures (at most 900 pixels).
  resize(980, 760);
}

KeyboardShortcutsDialog::KeyboardShortcutsDialog(const QMenuBar &menus,
                                                 const QList<QAction *> &windowActions,
                                                 const QList<KeyedCommand> &otherKeys,
                                                 QWidget *parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("keyboardShortcuts"));
  setWindowTitle(QStringLiteral("Keyboard Shortcuts"));
  QList<const QAction *> commands;
  collectShortcuts(menus.actions(), commands);
  collectShortcuts(windowActions, commands);

  // The icon text is the caption without mnemonic markers, or the command's plain name
  // where the caption changes (Undo names the step it undoes).
  QList<KeyedCommand> rows;
  for (const QAction *action : commands) rows.append({action->iconText(), action->shortcuts()});
  rows.append(otherKeys);

  table_ = new QTableWidget(static_cast<int>(rows.size()), 2, this);
  table_->setObjectName(QStringLiteral("shortcutTable"));
  table_->setHorizontalHeaderLabels({QStringLiteral("Command"), QStringLiteral("Keys")});
  table_->verticalHeader()->hide();
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::NoSelection);
  for (int row = 0; row < rows.size(); ++row) {
    QStringList keys;
    for (const QKeySequence &key : rows[row].keys) {
      // Qt adds keys of rare keyboards (Undo is F14 on some): list only the ones most have.
      const Qt::Key first = key.isEmpty() ? Qt::Key_unknown : key[0].key();
      if (first >= Qt::Key_F13 && first <= Qt::Key_F35) continue;
      keys << key.toString(QKeySequence::NativeText);
    }
    table_->setItem(row, 0, new QTableWidgetItem(rows[row].name));
    table_->setItem(row, 1, new QTableWidgetItem(keys.join(QStringLiteral(", "))));
  }
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  // Tall enough for every row, so the whole list shows at once.
  table_->setMinimumHeight(table_->horizontalHeader()->sizeHint().height() +
                           table_->verticalHeader()->length() + 2 * table_->frameWidth());

  auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  buttons->button(QDialogButtonBox::Close)->setFocus();
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(table_);
  layout->addWidget(buttons);
  resize(420, sizeHint().height());
}

}  // namespace vmm
