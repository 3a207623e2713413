// The Help menu: the user guide and the list of keyboard shortcuts ("About" stays as it
// always was, an item that does nothing).
#include "ui/main/MainWindow.h"

#include "ui/dialogs/HelpWindows.h"

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
    shortcutsDialog_ = new KeyboardShortcutsDialog(*menuBar(), actions(), this);
    shortcutsDialog_->setAttribute(Qt::WA_DeleteOnClose);
  }
  shortcutsDialog_->show();
  shortcutsDialog_->raise();
  shortcutsDialog_->activateWindow();
}

}  // namespace vmm
