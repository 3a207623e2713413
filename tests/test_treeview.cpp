// SPDX-License-Identifier: GPL-3.0-or-later
// The tree browser of the catalogue and the element data window it opens.
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/ElementRecord.h"
#include "files/SqliteConnection.h"
#include "gdi/GdiTypes.h"
#include "support/TestSupport.h"
#include "ui/catalogue/ElementDataWindow.h"
#include "ui/catalogue/ElementTreeWindow.h"
#include "ui/catalogue/TreeIcons.h"
#include "ui/docks/LegendWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/MapViewWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTreeWidget>
#include <QtTest>

using namespace vmm;

namespace {

constexpr quint32 kWoodFenceColour = 4548505;

// An editor on its own data folder: the catalogue file exists before the editor starts, so a
// test can change it first, and it is read back in a connection of its own.
struct EditorFixture {
  EditorFixture() { CatalogueDatabase::createDefaultFile(catalogue()); }
  QString catalogue() const { return catalogueFilePath(home.dir.path()); }

  void execOnCatalogue(const QString &sql) const { QVERIFY(test::runSql(catalogue(), {sql})); }

  quint32 colourInFile(const QString &element) const {
    return test::runSql(catalogue(),
                        {"SELECT elementcolour FROM tblElements WHERE ElementType = ?"}, element)
        .value_or(QVariant())
        .toUInt();
  }

  // Starts the editor with a 240 x 120 map and opens the tree from its status bar panel.
  ElementTreeWindow *openTree() {
    main = std::make_unique<MainWindow>(&dialogs);
    main->show();
    if (!main->LoadMapImage(home.picture)) return nullptr;
    StatusPanels *panels = main->statusPanels();
    QTest::mouseClick(panels, Qt::LeftButton, {},
                      panels->panelRect(panels->panelWithKey(QStringLiteral("V"))).center());
    return main->treeView();
  }

  test::EditorHome home;  // first: the others need its data folder
  test::ScriptedDialogs dialogs;
  std::unique_ptr<MainWindow> main;
};

// The node with this text under a category (or "All Elements"), or null; without a name, the
// category's own node.
QTreeWidgetItem *elementNode(QTreeWidget *tree, const QString &branch, const QString &name = {}) {
  const auto child = [](QTreeWidgetItem *parent, const QString &text) -> QTreeWidgetItem * {
    for (int i = 0; parent && i < parent->childCount(); ++i)
      if (parent->child(i)->text(0) == text) return parent->child(i);
    return nullptr;
  };
  QTreeWidgetItem *category = child(tree->topLevelItem(0), branch);
  return name.isEmpty() ? category : child(category, name);
}

// A mouse click on an element's node, scrolled into view first; returns the node.
QTreeWidgetItem *clickElement(ElementTreeWindow *view, const QString &branch, const QString &name) {
  QTreeWidget *tree = view->tree();
  QTreeWidgetItem *node = elementNode(tree, branch, name);
  tree->scrollToItem(node);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
  return node;
}

QImage pictureOf(const QIcon &icon) {
  return icon.pixmap(TreeIcons::kSize).toImage();
}

QStringList childTexts(QTreeWidgetItem *node) {
  QStringList texts;
  for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
  return texts;
}

// The element boxes below the tree: id, height, cover P/L/M/H, protection P/L/M/H.
QStringList boxTexts(ElementTreeWindow *tree) {
  QStringList texts;
  for (const char *box :
       {"Text10", "Text1", "Text9", "Text7", "Text8", "Text6", "Text2", "Text4", "Text3", "Text5"})
    texts << tree->findChild<QLineEdit *>(QString::fromLatin1(box))->text();
  return texts;
}

}  // namespace

class TestTreeView : public QObject {
  Q_OBJECT

 private slots:
  void treeHoldsTheCatalogueInTableOrder() {
    EditorFixture fixture;
    ElementTreeWindow *tree = fixture.openTree();
    QVERIFY(tree);
    QTreeWidget *list = tree->tree();
    // The Structure branch shows the "... Structure" names where its list has walls.
    const QStringList structure = childTexts(elementNode(list, "Structure"));
    QCOMPARE(structure.size(), 100);
    QCOMPARE(structure.mid(94),
             QStringList({"Wood Structure", "Stone Structure L3", "Brick Structure",
                          "Stone Structure", "Stone Structure L4", "Machinery"}));
    // "All Elements" keeps the walls, and each node shows its group's picture.
    QTreeWidgetItem *all = elementNode(list, "All Elements");
    const QStringList allNames = childTexts(all);
    QCOMPARE(allNames.size(), 282);
    QCOMPARE(allNames.mid(159 + 94, 6), QStringList({"Wood Wall", "Stone Wall L3", "Brick Wall",
                                                     "Stone Wall", "Stone Wall L4", "Machinery"}));
    QCOMPARE(allNames.last(), QStringLiteral("Deep Water"));
    QCOMPARE(pictureOf(all->child(281)->icon(0)), pictureOf(TreeIcons::picture(13)));
    QVERIFY(tree->selectedElementName().isEmpty());
  }

  void clickingAnElementSelectsItAndItsColourCanChange() {
    EditorFixture fixture;
    ElementTreeWindow *tree = fixture.openTree();
    QVERIFY(tree);
    MainWindow &main = *fixture.main;
    const QString pickerText = main.findChild<QComboBox *>("cboElementList")->currentText();
    clickElement(tree, "Barrier", "Wood Fence");
    QCOMPARE(tree->selectedElementName(), QStringLiteral("Wood Fence"));
    QCOMPARE(main.session().document().CurrentDrawElement, qint16(0));
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : Wood Fence"));
    QCOMPARE(boxTexts(tree),
             QStringList({"0", "1.5", "96", "128", "64", "16", "20", "20", "20", "0"}));
    const QColor swatch = tree->findChild<QLabel *>("Text11")->palette().color(QPalette::Window);
    QCOMPARE(swatch.rgb(), toPixel(kWoodFenceColour));
    QCOMPARE(main.findChild<QComboBox *>("cboElementList")->currentText(), pickerText);

    // Its colour: black is refused, another colour reaches the catalogue, the table and the map.
    main.session().document().setValue(7, 5, Plane::Element,
                                       0);  // Quad 7 is at (40, 40) on a 6-Quad row
    const ColorRef chosen = rgb(250, 20, 140);
    fixture.dialogs.colours = {0, chosen};

    tree->chooseSwatchColour();  // black: refused, nothing changes
    QCOMPARE(fixture.dialogs.colours.size(), size_t(1));
    QCOMPARE(tree->swatchColour(), kWoodFenceColour);
    QCOMPARE(main.session().elementTable().colour(0), kWoodFenceColour);
    QCOMPARE(fixture.colourInFile("Wood Fence"), kWoodFenceColour);

    test::trigger(&main, "mnuLegend");
    QTreeWidget *legend = main.legend()->rows();
    auto legendColour = [legend] {
      const QList<QTreeWidgetItem *> rows =
          legend->findItems(QStringLiteral("Wood Fence"), Qt::MatchContains);
      return rows.isEmpty() ? QRgb(0) : rows.first()->icon(0).pixmap(16, 16).toImage().pixel(8, 8);
    };
    QTRY_COMPARE(legendColour(), toPixel(kWoodFenceColour));

    QTest::mouseClick(tree->findChild<QLabel *>("Text11"), Qt::LeftButton);
    QCOMPARE(tree->swatchColour(), chosen);
    // The Legend follows before any edit of the map.
    QTRY_COMPARE(legendColour(), toPixel(chosen));
    QCOMPARE(main.session().elementTable().colour(0), chosen);
    QCOMPARE(fixture.colourInFile("Wood Fence"), chosen);
    test::trigger(&main, "mnuO2");  // Refresh Screen
    QCOMPARE(main.mapView()->surfaces().surface(MapView::Terrain).pixel(55, 55), toPixel(chosen));
    QVERIFY(fixture.dialogs.messages.isEmpty());
  }

  void doubleClickShowsTheElementsDataAndFocusLossClosesIt() {
    EditorFixture fixture;
    fixture.execOnCatalogue(
        "UPDATE tblElements SET InElemProtFlag = 4, explode = 6, RubbleTo = -1, CrushTo = 2, "
        "BurnTo = 3, Height = 5, TypeFlagsWall = 1, TypeFlagsRoad = 1, TypeFlagsCrushable = 0, "
        "VehicleMoveRateTracked = 17 WHERE ElementType = 'Wood Fence'");
    // Codes outside their tables and no flag: nothing of Wood Fence may stay shown.
    fixture.execOnCatalogue(
        "UPDATE tblElements SET InElemProtFlag = 7, explode = 7, TypeFlagsWall = 0, "
        "TypeFlagsSunken = 0, TypeFlagsCrushable = 0, TypeFlagsCovered = 0, TypeFlagsBridge = 0, "
        "TypeFlagsSnow = 0, TypeFlagsinterior = 0, TypeFlagsRoad = 0, TypeFlagsMinefield = 0 "
        "WHERE ElementType = 'Stone Barrier'");
    ElementTreeWindow *tree = fixture.openTree();
    QVERIFY(tree);
    // A real double click starts with a click; QTest's double click sends only the second half.
    const auto doubleClick = [tree] {
      QTreeWidgetItem *fence = clickElement(tree, "Barrier", "Wood Fence");
      QTest::mouseDClick(tree->tree()->viewport(), Qt::LeftButton, {},
                         tree->tree()->visualItemRect(fence).center());
    };
    doubleClick();
    QPointer<ElementDataWindow> data = tree->elementDataWindow();
    QVERIFY(data && data->isVisible());
    QCOMPARE(data->fieldText("Height"), QStringLiteral("2.5"));
    QCOMPARE(data->fieldText("InElemProtFlag"), QStringLiteral("partial prot (better if behind)"));
    QCOMPARE(data->fieldText("explode"), QStringLiteral("Pavement"));
    QCOMPARE(data->fieldText("CrushTo"), QStringLiteral("Stone Barrier"));
    QCOMPARE(data->selectedTypeFlag(), QStringLiteral("Road"));  // the later of two flags
    // Every value field of the record has its box; the colour and the flags have none.
    for (const QString &field : ElementRecord::fieldNames()) {
      const bool boxed = field != QLatin1String("elementcolour") && !field.startsWith("TypeFlags");
      QCOMPARE(data->findChild<QLineEdit *>(field) != nullptr, boxed);
    }

    data->showElement("Stone Barrier");
    QVERIFY(data->fieldText("InElemProtFlag").isEmpty() && data->fieldText("explode").isEmpty());
    QVERIFY(data->selectedTypeFlag().isEmpty());
    // A name the catalogue does not hold empties the window.
    data->showElement("No Such Element");
    for (const QLineEdit *box : data->findChildren<QLineEdit *>()) QVERIFY(box->text().isEmpty());

    QVERIFY(QTest::qWaitForWindowActive(data.data()));
    doubleClick();  // refills the open window instead of opening another
    QCOMPARE(data->selectedTypeFlag(), QStringLiteral("Road"));
    QCOMPARE(tree->elementDataWindow(), data.data());
    fixture.main->activateWindow();
    QTRY_VERIFY(data.isNull());
  }
};

QTEST_MAIN(TestTreeView)
#include "test_treeview.moc"
