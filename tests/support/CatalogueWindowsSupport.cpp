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

// Runs fn with an open connection of its own on the file and removes it afterwards.
template <typename Fn>
auto withConnection(const QString &path, Fn fn) {
  const QString name = QStringLiteral("fixture-connection");
  struct Remover {
    QString name;
    ~Remover() { QSqlDatabase::removeDatabase(name); }
  } remover{name};
  QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
  db.setDatabaseName(path);
  if (!db.open()) qFatal("cannot open %s", qPrintable(path));
  auto result = fn(db);
  db.close();
  db = QSqlDatabase();
  return result;
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
  withConnection(cataloguePath(), [&sql](QSqlDatabase &db) {
    QSqlQuery query(db);
    if (!query.exec(sql)) qFatal("%s: %s", qPrintable(sql), qPrintable(query.lastError().text()));
    return true;
  });
}

QVariant EditorFixture::queryCatalogue(const QString &sql) const {
  return withConnection(cataloguePath(), [&sql](QSqlDatabase &db) {
    QSqlQuery query(db);
    if (!query.exec(sql) || !query.next()) return QVariant();
    return query.value(0);
  });
}

MDIfrmMain &EditorFixture::start() {
  main_ = std::make_unique<MDIfrmMain>(&dialogs);
  main_->show();
  return *main_;
}

bool EditorFixture::loadMap(int width, int height) {
  return main_->LoadMapImage(writePicture(home_.path(), width, height)) == 0;
}

void EditorFixture::clickPanel(const QString &key) {
  StatusPanels *panels = main_->statusPanels();
  QTest::mouseClick(panels, Qt::LeftButton, {},
                    panels->panelRect(panels->panelWithKey(key)).center());
}

frmTreeView *EditorFixture::tree() const {
  return main_->treeView();
}

QTreeWidgetItem *childNamed(QTreeWidgetItem *parent, const QString &text) {
  for (int i = 0; parent && i < parent->childCount(); ++i)
    if (parent->child(i)->text(0) == text) return parent->child(i);
  return nullptr;
}

QTreeWidgetItem *branch(QTreeWidget *tree, const QString &text) {
  return childNamed(tree->topLevelItem(0), text);
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
