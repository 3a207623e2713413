#include "support/CatalogueWindowsSupport.h"

#include "app/widgets/MDIfrmMain.h"
#include "app/widgets/StatusPanels.h"
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/widgets/frmTreeView.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTreeWidget>
#include <QtTest>

namespace vmm::test {

namespace {

// Runs one statement in a connection of its own on the file; the first value it gives.
QVariant runOnFile(const QString &path, const QString &sql) {
  const QString name = QStringLiteral("fixture-connection");
  QVariant value;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(path);
    if (!db.open()) qFatal("cannot open %s", qPrintable(path));
    QSqlQuery query(db);
    if (!query.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    if (query.next()) value = query.value(0);
  }
  QSqlDatabase::removeDatabase(name);
  return value;
}

}  // namespace

EditorFixture::EditorFixture() {
  qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8());
  // The catalogue exists before the editor starts, so a test can change it first.
  CatalogueDatabase::createDefaultFile(cataloguePath());
}

EditorFixture::~EditorFixture() = default;

QString EditorFixture::cataloguePath() const {
  return catalogueFilePath(home_.path());
}

void EditorFixture::execOnCatalogue(const QString &sql) const {
  runOnFile(cataloguePath(), sql);
}

quint32 EditorFixture::colourInFile(const QString &element) const {
  return runOnFile(cataloguePath(),
                   "SELECT elementcolour FROM tblElements WHERE ElementType = '" + element + "'")
      .toUInt();
}

MDIfrmMain &EditorFixture::start() {
  main_ = std::make_unique<MDIfrmMain>(&dialogs);
  main_->show();
  return *main_;
}

frmTreeView *EditorFixture::openTree() {
  start();
  if (main_->LoadMapImage(writePicture(home_.path(), 240, 120)) != 0) return nullptr;
  StatusPanels *panels = main_->statusPanels();
  QTest::mouseClick(panels, Qt::LeftButton, {},
                    panels->panelRect(panels->panelWithKey(QStringLiteral("V"))).center());
  return main_->treeView();
}

QTreeWidgetItem *elementNode(QTreeWidget *tree, const QString &branch, const QString &name) {
  const auto child = [](QTreeWidgetItem *parent, const QString &text) -> QTreeWidgetItem * {
    for (int i = 0; parent && i < parent->childCount(); ++i)
      if (parent->child(i)->text(0) == text) return parent->child(i);
    return nullptr;
  };
  QTreeWidgetItem *category = child(tree->topLevelItem(0), branch);
  return name.isEmpty() ? category : child(category, name);
}

void clickNode(QTreeWidget *tree, QTreeWidgetItem *node) {
  tree->scrollToItem(node);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

void doubleClickNode(QTreeWidget *tree, QTreeWidgetItem *node) {
  // A real double click starts with a click; QTest's double click sends only the second half.
  clickNode(tree, node);
  QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
}

}  // namespace vmm::test
