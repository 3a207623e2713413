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

  // Runs one statement on the catalogue file in a connection of its own.
  void execOnCatalogue(const QString &sql) const;
  // The elementcolour of an element, read from the file in a fresh connection.
  quint32 colourInFile(const QString &element) const;

  // Starts the editor (after any preparation of the catalogue).
  MDIfrmMain &start();
  MDIfrmMain &main() { return *main_; }
  // Starts the editor with a 240 x 120 map and opens the tree browser from its status bar
  // panel; null when it failed.
  frmTreeView *openTree();

  ScriptedDialogs dialogs;

 private:
  QString cataloguePath() const;

  QTemporaryDir home_;
  std::unique_ptr<MDIfrmMain> main_;
};

// The node with this text under a category (or "All Elements") of the tree, or null;
// without a name, the category's own node.
QTreeWidgetItem *elementNode(QTreeWidget *tree, const QString &branch, const QString &name = {});
// Mouse clicks on a node, scrolled into view first.
void clickNode(QTreeWidget *tree, QTreeWidgetItem *node);
void doubleClickNode(QTreeWidget *tree, QTreeWidgetItem *node);

}  // namespace vmm::test
