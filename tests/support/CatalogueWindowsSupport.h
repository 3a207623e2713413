#pragma once

#include "support/TestSupport.h"

#include <QString>
#include <QTemporaryDir>
#include <QVariant>

#include <memory>

class QTreeWidget;
class QTreeWidgetItem;

namespace vmm {
class MDIfrmMain;
class frmTreeView;
}  // namespace vmm

namespace vmm::test {

// An editor on its own data folder, for the tests of the catalogue windows: the
// catalogue file can be prepared before the editor starts and read back after.
class EditorFixture {
 public:
  EditorFixture();
  ~EditorFixture();

  QString home() const { return home_.path(); }
  QString cataloguePath() const;
  // Runs one statement on the catalogue file in a connection of its own.
  void execOnCatalogue(const QString &sql) const;
  // First value of a query on the catalogue file, read in a fresh connection.
  QVariant queryCatalogue(const QString &sql) const;

  // Starts the editor (after any preparation of the catalogue).
  MDIfrmMain &start();
  MDIfrmMain &main() { return *main_; }
  // Saves a plain picture of this size and imports it; true when accepted.
  bool loadMap(int width, int height);
  // Clicks the status bar panel with this key as the user would.
  void clickPanel(const QString &key);
  frmTreeView *tree() const;

  ScriptedDialogs dialogs;

 private:
  QTemporaryDir home_;
  std::unique_ptr<MDIfrmMain> main_;
};

// The node with this text under a parent node, or null.
QTreeWidgetItem *childNamed(QTreeWidgetItem *parent, const QString &text);
// The node of a category (or "All Elements") under the root.
QTreeWidgetItem *branch(QTreeWidget *tree, const QString &text);
// Mouse clicks on a node, scrolled into view first.
void clickNode(QTreeWidget *tree, QTreeWidgetItem *node);
void doubleClickNode(QTreeWidget *tree, QTreeWidgetItem *node);

}  // namespace vmm::test
