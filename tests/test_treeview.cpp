#include "app/widgets/MDIfrmMain.h"
#include "catalogue/widgets/TreeIcons.h"
#include "catalogue/widgets/frmTreeView.h"
#include "gdi/GdiTypes.h"
#include "mapview/widgets/frmMapView.h"
#include "support/CatalogueWindowsSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QtTest>

using namespace vmm;
using test::EditorFixture;
using test::elementNode;

namespace {

QImage pictureOf(const QIcon &icon) {
  return icon.pixmap(TreeIcons::kSize).toImage();
}

QStringList childTexts(QTreeWidgetItem *node) {
  QStringList texts;
  for (int i = 0; i < node->childCount(); ++i) texts << node->child(i)->text(0);
  return texts;
}

// The element boxes below the tree: id, height, cover P/L/M/H, protection P/L/M/H.
QStringList boxTexts(frmTreeView *tree) {
  QStringList texts;
  for (const char *box :
       {"Text10", "Text1", "Text9", "Text7", "Text8", "Text6", "Text2", "Text4", "Text3", "Text5"})
    texts << tree->findChild<QLineEdit *>(QString::fromLatin1(box))->text();
  return texts;
}

constexpr quint32 kWoodFenceColour = 4548505;

}  // namespace

class TestTreeView : public QObject {
  Q_OBJECT

 private slots:
  void treeHoldsTheCatalogueInTableOrder() {
    EditorFixture fixture;
    frmTreeView *tree = fixture.openTree();
    QVERIFY(tree);
    QTreeWidget *list = tree->treElementList();
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
    QVERIFY(tree->SelectedElementName().isEmpty());
  }

  void clickingAnElementSelectsIt() {
    EditorFixture fixture;
    frmTreeView *tree = fixture.openTree();
    QVERIFY(tree);
    MDIfrmMain &main = fixture.main();
    const QString pickerText = main.findChild<QComboBox *>("cboElementList")->currentText();
    test::clickNode(tree->treElementList(),
                    elementNode(tree->treElementList(), "Barrier", "Wood Fence"));

    QCOMPARE(tree->SelectedElementName(), QStringLiteral("Wood Fence"));
    QCOMPARE(main.document().CurrentDrawElement, qint16(0));
    QCOMPARE(main.panelText(4), QStringLiteral("Sel. : Wood Fence"));
    QCOMPARE(boxTexts(tree),
             QStringList({"0", "1.5", "96", "128", "64", "16", "20", "20", "20", "0"}));
    QCOMPARE(tree->swatchColour(), kWoodFenceColour);
    const QColor swatch = tree->findChild<QLabel *>("Text11")->palette().color(QPalette::Window);
    QCOMPARE(swatch.rgb(), toPixel(kWoodFenceColour));
    QCOMPARE(main.findChild<QComboBox *>("cboElementList")->currentText(), pickerText);
  }

  void colourChangeReachesCatalogueTableAndMap() {
    EditorFixture fixture;
    frmTreeView *tree = fixture.openTree();
    QVERIFY(tree);
    MDIfrmMain &main = fixture.main();
    test::clickNode(tree->treElementList(),
                    elementNode(tree->treElementList(), "Water", "Deep Water"));
    const qint16 id = main.document().CurrentDrawElement;
    QVERIFY(id >= 0);
    main.document().setValue(7, 5, Plane::Element, id);  // Quad 7 is at (40, 40) on a 6-Quad row

    const ColorRef chosen = rgb(250, 20, 140);
    fixture.dialogs.colours.push_back(chosen);
    QTest::mouseClick(tree->findChild<QLabel *>("Text11"), Qt::LeftButton);

    QVERIFY(fixture.dialogs.messages.isEmpty());
    QCOMPARE(tree->swatchColour(), chosen);
    QCOMPARE(main.elementTable().colour(id), chosen);
    QCOMPARE(fixture.colourInFile("Deep Water"), chosen);
    test::trigger(&main, "mnuO2");  // Refresh Screen
    QCOMPARE(main.mapView()->surfaces().surface(MapView::Terrain).pixel(55, 55), toPixel(chosen));
  }

  void blackIsRefusedAndWritesNothing() {
    EditorFixture fixture;
    frmTreeView *tree = fixture.openTree();
    QVERIFY(tree);
    test::clickNode(tree->treElementList(),
                    elementNode(tree->treElementList(), "Barrier", "Wood Fence"));
    fixture.dialogs.colours.push_back(0);
    tree->Text11Click();
    QVERIFY(fixture.dialogs.colours.empty());  // the dialog was shown
    QCOMPARE(tree->swatchColour(), kWoodFenceColour);
    QCOMPARE(fixture.main().elementTable().colour(0), kWoodFenceColour);
    QCOMPARE(fixture.colourInFile("Wood Fence"), kWoodFenceColour);
    QVERIFY(fixture.dialogs.messages.isEmpty());
  }
};

QTEST_MAIN(TestTreeView)
#include "test_treeview.moc"
