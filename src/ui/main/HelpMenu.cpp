// SPDX-License-Identifier: GPL-3.0-or-later
// The Help menu: the user guide, the list of keyboard shortcuts and the About box.
#include "ui/main/MainWindow.h"

#include "ui/dialogs/AboutDialog.h"
#include "ui/dialogs/HelpWindows.h"
#include "ui/mapview/KeyboardCursor.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace vmm {

void MainWindow::addHelpItems(QMenu *help) {
  addMenuItem(help, QStringLiteral("&User Guide"), [this] {
    showUserGuide();
  })->setObjectName(QStringLiteral("mnuUserGuide"));
  addMenuItem(help, QStringLiteral("&Keyboard Shortcuts"), [this] {
    showKeyboardShortcuts();
  })->setObjectName(QStringLiteral("mnuKeyboardShortcuts"));
  help->addSeparator()->setObjectName(QStringLiteral("mnuHelpSep"));
}

void MainWindow::showUserGuide() {
  if (!userGuide_) userGuide_ = new UserGuideWindow(this);
  userGuide_->show();
  userGuide_->raise();
  userGuide_->activateWindow();
}

void MainWindow::showKeyboardShortcuts() {
  if (!shortcutsDialog_) {
    QList<KeyboardShortcutsDialog::KeyedCommand> mapKeys;
    for (const auto &[name, keys] : KeyboardCursor::keyList()) mapKeys.append({name, keys});
    shortcutsDialog_ = new KeyboardShortcutsDialog(*menuBar(), actions(), mapKeys, this);
    shortcutsDialog_->setAttribute(Qt::WA_DeleteOnClose);
  }
  shortcutsDialog_->show();
  shortcutsDialog_->raise();
  shortcutsDialog_->activateWindow();
}

void MainWindow::showAbout() {
  if (!aboutDialog_) {
    aboutDialog_ = new AboutDialog(session_.document().DatabaseLocation, this);
    aboutDialog_->setAttribute(Qt::WA_DeleteOnClose);
  }
  aboutDialog_->show();
  aboutDialog_->raise();
  aboutDialog_->activateWindow();
}

}  // namespace vmm
