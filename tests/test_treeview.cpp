#include "app/widgets/MDIfrmMain.h"
#include "app/widgets/StatusPanels.h"
#include "catalogue/ElementCategories.h"
#include "catalogue/widgets/TreeIcons.h"
#include "catalogue/widgets/frmTreeView.h"
#include "gdi/GdiTypes.h"
#include "mapview/widgets/frmMapView.h"
#include "support/CatalogueWindowsSupport.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <QtTest>

using namespace vmm;
using test::EditorFixture;

namespace {

QImage pictureOf(const QIcon &icon) {
  return icon.pixmap(TreeIcons::kSize).toImage();
}

QString boxText(frmTreeView *tree, const char *name) {
  return tree->findChild<QLineEdit *>(QString::fromLatin1(name))->text();
}

QStringList childTexts(QTreeWidgetItem *node) {
  QStringList texts;
  for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
  return texts;
}

}  // namespace

class TestTreeView : public QObject {
  Q_OBJECT

  // An editor with a map and the tree browser open.
  static frmTreeView *openTree(EditorFixture &fixture) {
    fixture.start();
    if (!fixture.loadMap(240, 120)) return nullptr;
    fixture.clickPanel(QStringLiteral("V"));
    return fixture.tree();
  }

 private slots:
  void treeHoldsTheCatalogueInTableOrder() {
    EditorFixture fixture;
    frmTreeView *tree = openTree(fixture);
    QVERIFY(tree);
    QTreeWidget *list = tree->treElementList();
    QCOMPARE(list->topLevelItemCount(), 1);
    QTreeWidgetItem *root = list->topLevelItem(0);
    QCOMPARE(root->text(0), QStringLiteral("Element List"));
    QVERIFY(root->isExpanded());
    QCOMPARE(childTexts(root), QStringList({"All Elements", "Barrier", "Explosive", "Foilage",
                                            "Fortification", "Gulley/Slope", "Item", "Roadway",
                                            "Rubble", "Structure", "Terrain", "Water", "Misc"}));
    for (int i = 0; i < root->childCount(); ++i) QVERIFY(!root->child(i)->isExpanded());
    QCOMPARE(pictureOf(root->icon(0)), pictureOf(TreeIcons::picture(14)));

    QTreeWidgetItem *structure = test::branch(list, "Structure");
    const QStringList structureNames = childTexts(structure);
    QCOMPARE(structureNames.size(), 100);
    QCOMPARE(structureNames.last(), QStringLiteral("Machinery"));
    QCOMPARE(structureNames.mid(94, 5),
             QStringList({"Wood Structure", "Stone Structure L3", "Brick Structure",
                          "Stone Structure", "Stone Structure L4"}));
    QCOMPARE(childTexts(test::branch(list, "Barrier")), ElementCategories::elementsOf("Barrier"));
    QCOMPARE(pictureOf(structure->child(3)->icon(0)), pictureOf(TreeIcons::picture(8)));

    const QStringList all = childTexts(test::branch(list, "All Elements"));
    QCOMPARE(all.size(), 282);
    // Roadway ends with a second "Bridge Wall"; Rubble ends with four walls; Structure
    // carries walls where its own branch carries the "... Structure" names.
    QCOMPARE(all.mid(131, 12).last(), QStringLiteral("Bridge Wall"));
    QCOMPARE(all.mid(131, 12).count(QStringLiteral("Bridge Wall")), 2);
    QCOMPARE(all.mid(143, 16).mid(12),
             QStringList({"Bridge Wall", "Wood Wall", "Brick Wall", "Stone Wall"}));
    QCOMPARE(all.mid(159 + 94, 6), QStringList({"Wood Wall", "Stone Wall L3", "Brick Wall",
                                                "Stone Wall", "Stone Wall L4", "Machinery"}));
    QCOMPARE(all.first(), QStringLiteral("Wood Fence"));
    QCOMPARE(all.last(), QStringLiteral("Deep Water"));
    // Each node under "All Elements" shows its group's picture: Water is picture 13.
    QTreeWidgetItem *allNode = test::branch(list, "All Elements");
    QCOMPARE(pictureOf(allNode->child(281)->icon(0)), pictureOf(TreeIcons::picture(13)));
    QCOMPARE(pictureOf(allNode->icon(0)), pictureOf(TreeIcons::picture(9)));
    QVERIFY(tree->SelectedElementName().isEmpty());
  }

  void nodesThatAreNoElementChangeNothing() {
    EditorFixture fixture;
    // A tree name the catalogue does not hold.
    fixture.execOnCatalogue(
        "UPDATE tblElements SET ElementType = 'Old Hedge' WHERE ElementType = 'Hedge'");
    frmTreeView *tree = openTree(fixture);
    QVERIFY(tree);
    MDIfrmMain &main = fixture.main();
    main.document().CurrentDrawElement = 7;
    main.setPanelText(4, QStringLiteral("Sel. : Earlier"));
    fixture.dialogs.colours.push_back(rgb(1, 2, 3));
    QTreeWidget *list = tree->treElementList();

    test::clickNode(list, list->topLevelItem(0));
    test::clickNode(list, test::branch(list, "Barrier"));
    QTreeWidgetItem *hedge = test::childNamed(test::branch(list, "Foilage"), "Hedge");
    test::clickNode(list, hedge);
    test::doubleClickNode(list, hedge);
    tree->Text11Click();  // no element clicked yet
    QTest::mouseClick(tree->findChild<QLabel *>("Text11"), Qt::LeftButton);

    QCOMPARE(main.document().CurrentDrawElement, qint16(7));
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : Earlier"));
    QVERIFY(tree->SelectedElementName().isEmpty());
    for (const char *box : {"Text10", "Text1", "Text9", "Text6", "Text2", "Text5"})
      QVERIFY2(boxText(tree, box).isEmpty(), box);
    QVERIFY(!tree->elementDataWindow());
    QCOMPARE(fixture.dialogs.colours.size(), std::size_t(1));  // no colour dialog shown
    QVERIFY(fixture.dialogs.messages.isEmpty());
  }

  void clickingAnElementSelectsIt_data() {
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("boxes");  // Text10, Text1, cover P/L/M/H, protection P/L/M/H
    QTest::addColumn<quint32>("colour");
    QTest::newRow("Wood Fence") << "Barrier"
                                << "Wood Fence" << QStringList{"0",  "1.5", "96", "128", "64",
                                                               "16", "20",  "20", "20",  "0"}
                                << quint32(4548505);
    QTest::newRow("Machinery under All Elements")
        << "All Elements"
        << "Machinery" << QStringList{"", "3", "256", "192", "128", "64", "7", "7", "7", "0"}
        << quint32(1949631);
  }

  void clickingAnElementSelectsIt() {
    QFETCH(QString, branch);
    QFETCH(QString, name);
    QFETCH(QStringList, boxes);
    QFETCH(quint32, colour);
    EditorFixture fixture;
    frmTreeView *tree = openTree(fixture);
    QVERIFY(tree);
    MDIfrmMain &main = fixture.main();
    const QString pickerText = main.findChild<QComboBox *>("cboElementList")->currentText();
    QTreeWidget *list = tree->treElementList();
    test::clickNode(list, test::childNamed(test::branch(list, branch), name));

    const auto record = main.catalogue().elementByName(name);
    QVERIFY(record);
    if (boxes[0].isEmpty()) boxes[0] = QString::number(record->elementid);
    QCOMPARE(tree->SelectedElementName(), name);
    QCOMPARE(main.document().CurrentDrawElement, record->elementid);
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : ") + name);
    QStringList shown;
    for (const char *box : {"Text10", "Text1", "Text9", "Text7", "Text8", "Text6", "Text2", "Text4",
                            "Text3", "Text5"})
      shown << boxText(tree, box);
    QCOMPARE(shown, boxes);
    QCOMPARE(tree->swatchColour(), colour);
    const QColor swatch = tree->findChild<QLabel *>("Text11")->palette().color(QPalette::Window);
    QCOMPARE(swatch.rgb(), toPixel(colour));
    // The picker's own lists stay as they were.
    QCOMPARE(main.findChild<QComboBox *>("cboElementList")->currentText(), pickerText);
  }

  void colourChangeReachesCatalogueTableAndMap() {
    EditorFixture fixture;
    frmTreeView *tree = openTree(fixture);
    QVERIFY(tree);
    MDIfrmMain &main = fixture.main();
    QTreeWidget *list = tree->treElementList();
    test::clickNode(list, test::childNamed(test::branch(list, "Water"), "Deep Water"));
    const qint16 id = main.document().CurrentDrawElement;
    QVERIFY(id >= 0);
    main.document().setValue(7, 5, Plane::Element, id);  // Quad 7 is at (40, 40) on a 6-Quad row

    const ColorRef chosen = rgb(250, 20, 140);
    fixture.dialogs.colours.push_back(chosen);
    QTest::mouseClick(tree->findChild<QLabel *>("Text11"), Qt::LeftButton);

    QVERIFY(fixture.dialogs.messages.isEmpty());
    QCOMPARE(tree->swatchColour(), chosen);
    QCOMPARE(main.elementTable().colour(id), chosen);
    QCOMPARE(fixture
                 .queryCatalogue(
                     "SELECT elementcolour FROM tblElements WHERE ElementType = 'Deep Water'")
                 .toUInt(),
             chosen);
    main.findChild<QAction *>("mnuO2")->trigger();  // Refresh Screen
    QCOMPARE(main.mapView()->surfaces().surface(MapView::Terrain).pixel(55, 55), toPixel(chosen));
  }

  void blackAndCancelWriteNothing_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("black") << false;
    QTest::newRow("cancel") << true;
  }

  void blackAndCancelWriteNothing() {
    QFETCH(bool, cancel);
    EditorFixture fixture;
    frmTreeView *tree = openTree(fixture);
    QVERIFY(tree);
    QTreeWidget *list = tree->treElementList();
    test::clickNode(list, test::childNamed(test::branch(list, "Barrier"), "Wood Fence"));
    fixture.dialogs.colours.push_back(cancel ? std::nullopt : std::optional<quint32>(0));
    tree->Text11Click();
    QVERIFY(fixture.dialogs.colours.empty());  // the dialog was shown
    QCOMPARE(tree->swatchColour(), quint32(4548505));
    QCOMPARE(fixture.main().elementTable().colour(0), quint32(4548505));
    QCOMPARE(fixture.queryCatalogue("SELECT elementcolour FROM tblElements WHERE elementid = 0")
                 .toUInt(),
             quint32(4548505));
    QVERIFY(fixture.dialogs.messages.isEmpty());
  }

  void readOnlyCatalogueGivesMessageAndChangesNothing() {
    EditorFixture fixture;
    frmTreeView *tree = openTree(fixture);
    QVERIFY(tree);
    QTreeWidget *list = tree->treElementList();
    test::clickNode(list, test::childNamed(test::branch(list, "Barrier"), "Wood Fence"));
    QVERIFY(QFile::setPermissions(fixture.cataloguePath(),
                                  QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    fixture.dialogs.colours.push_back(rgb(10, 200, 30));
    tree->Text11Click();
    QFile::setPermissions(fixture.cataloguePath(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    QCOMPARE(fixture.dialogs.messages.size(), 1);
    const QString text = fixture.dialogs.messages[0].text;
    QVERIFY2(text.contains(QDir::toNativeSeparators(fixture.cataloguePath())), qPrintable(text));
    QVERIFY2(text.contains(QStringLiteral("read-only")), qPrintable(text));
    QCOMPARE(tree->swatchColour(), quint32(4548505));
    QCOMPARE(fixture.main().elementTable().colour(0), quint32(4548505));
    QCOMPARE(fixture.queryCatalogue("SELECT elementcolour FROM tblElements WHERE elementid = 0")
                 .toUInt(),
             quint32(4548505));
  }

  void swatchPassesTheFocusToTheTree() {
    EditorFixture fixture;
    frmTreeView *tree = openTree(fixture);
    QVERIFY(tree);
    QVERIFY(QTest::qWaitForWindowActive(&fixture.main()));
    tree->findChild<QLabel *>("Text11")->setFocus();
    QTRY_VERIFY(tree->treElementList()->hasFocus());
  }

  void treeViewPanelOpensBesideTheMapAndCloses() {
    EditorFixture fixture;
    MDIfrmMain &main = fixture.start();
    fixture.clickPanel(QStringLiteral("V"));  // no map yet: nothing happens
    QVERIFY(!fixture.tree());
    QVERIFY(fixture.loadMap(240, 120));
    auto *mapWindow = qobject_cast<QMdiSubWindow *>(main.mapView()->parentWidget());
    QVERIFY(mapWindow && mapWindow->isMaximized());
    StatusPanels *panels = main.statusPanels();

    fixture.clickPanel(QStringLiteral("V"));
    frmTreeView *tree = fixture.tree();
    QVERIFY(tree);
    QCOMPARE(panels->bevel(15), StatusPanels::Inset);
    QPointer<QMdiSubWindow> treeWindow = qobject_cast<QMdiSubWindow *>(tree->parentWidget());
    QVERIFY(treeWindow && treeWindow->isVisible());
    // 3555 twips wide; both windows as high as the frame less status bar, tool strip and 700 twips.
    const int height = main.height() - main.statusBar()->height() -
                       main.findChild<QToolBar *>("Toolbar2")->height() - 46;
    QCOMPARE(treeWindow->geometry(), QRect(0, 0, 237, height));
    QVERIFY(!mapWindow->isMaximized());
    QCOMPARE(mapWindow->geometry(), QRect(237, 0, main.width() - 237 - 10, height));
    // The boxes keep their places below the tree: 200, 581 and 1420 twips under its bottom.
    const int treeBottom = tree->treElementList()->geometry().bottom() + 1;
    QCOMPARE(tree->findChild<QLineEdit *>("Text10")->y(), treeBottom + 13);
    QCOMPARE(tree->findChild<QGroupBox *>("Frame1")->y(), treeBottom + 38);
    QCOMPARE(tree->findChild<QGroupBox *>("Frame2")->y(), treeBottom + 94);
    QVERIFY(tree->findChild<QGroupBox *>("Frame2")->geometry().bottom() < tree->height());

    fixture.clickPanel(QStringLiteral("V"));
    QVERIFY(!fixture.tree());
    QVERIFY(treeWindow.isNull());
    QVERIFY(mapWindow->isMaximized());
    QCOMPARE(panels->bevel(15), StatusPanels::Raised);
  }
};

QTEST_MAIN(TestTreeView)
#include "test_treeview.moc"
