// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QList>
#include <QUrl>
#include <QWidget>

class QMenuBar;
class QTableWidget;
class QTextBrowser;

namespace vmm {

// The user guide, built into the program, in a window of its own beside the editor.
class UserGuideWindow : public QWidget {
  Q_OBJECT

 public:
  // Where the guide lies among the program's resources; its pictures lie beside it.
  static QUrl source();

  explicit UserGuideWindow(QWidget *parent = nullptr);
  QTextBrowser *browser() const { return browser_; }

 private:
  QTextBrowser *browser_ = nullptr;
};

// Every command that has a keyboard shortcut, in menu order, with its keys.
class KeyboardShortcutsDialog : public QDialog {
  Q_OBJECT

 public:
  // A command that is no action, such as the map view's own keys, and its keys.
  struct KeyedCommand {
    QString name;
    QList<QKeySequence> keys;
  };

  // Lists the commands of `menus`, then `windowActions` (those outside the menus), then
  // `otherKeys`.
  KeyboardShortcutsDialog(const QMenuBar &menus, const QList<QAction *> &windowActions,
                          const QList<KeyedCommand> &otherKeys, QWidget *parent = nullptr);
  QTableWidget *table() const { return table_; }

 private:
  QTableWidget *table_ = nullptr;
};

}  // namespace vmm
