#include "catalogue/ElementCategories.h"

#include <QSet>
#include <QtTest>

using namespace vmm;

class TestElementCategories : public QObject {
  Q_OBJECT

 private slots:
  void tableHasTwelveListsOf284Entries_data() {
    QTest::addColumn<QString>("category");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::newRow("Barrier") << "Barrier" << 11 << "Wood Fence"
                             << "Stone Wall";
    QTest::newRow("Explosive") << "Explosive" << 4 << "Flammable"
                               << "Snowy Minefield";
    QTest::newRow("Foilage") << "Foilage" << 64 << "Conifer Tree 2"
                             << "Leaves & Snow";
    QTest::newRow("Fortification") << "Fortification" << 19 << "Sandbags"
                                   << "Fortified Stone Window";
    QTest::newRow("Gulley/Slope") << "Gulley/Slope" << 13 << "Crest"
                                  << "Trench";
    QTest::newRow("Item") << "Item" << 16 << "Hay Bail"
                          << "Machinery";
    QTest::newRow("Misc") << "Misc" << 4 << "Sedrik Scorched Body"
                          << "Sedrik Body";
    QTest::newRow("Roadway") << "Roadway" << 12 << "Bridge Wall"
                             << "Bridge Rubble";
    QTest::newRow("Rubble") << "Rubble" << 18 << "Dead Animal"
                            << "Stone Rubble L4";
    QTest::newRow("Structure") << "Structure" << 100 << "Brick Door L2"
                               << "Machinery";
    QTest::newRow("Terrain") << "Terrain" << 17 << "Heavy Snowy Field"
                             << "Courtyard";
    QTest::newRow("Water") << "Water" << 6 << "Thin Ice"
                           << "Deep Water";
  }

  void tableHasTwelveListsOf284Entries() {
    QFETCH(QString, category);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    const QStringList names = ElementCategories::elementsOf(category);
    QCOMPARE(names.size(), count);
    QCOMPARE(names.first(), first);
    QCOMPARE(names.last(), last);
  }

  void allJoinsTheListsInCategoryOrder() {
    const QStringList categories = ElementCategories::categoryNames();
    QCOMPARE(categories.size(), 12);
    QCOMPARE(ElementCategories::pickerCategoryNames(), QStringList{"ALL"} + categories);
    QStringList joined;
    for (const QString &category : categories) joined += ElementCategories::elementsOf(category);
    QCOMPARE(ElementCategories::elementsOf("ALL"), joined);
    QCOMPARE(joined.size(), 284);
    QCOMPARE(ElementCategories::distinctElementNames().size(), 255);
    QVERIFY(ElementCategories::elementsOf("barrier").isEmpty());  // compared byte for byte
    QVERIFY(ElementCategories::elementsOf("All Elements").isEmpty());
  }

  void twentyNineNamesStandInTwoCategories() {
    QHash<QString, int> seen;
    for (const QString &category : ElementCategories::categoryNames())
      for (const QString &name : ElementCategories::elementsOf(category)) ++seen[name];
    QStringList shared;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
      QVERIFY(it.value() <= 2);
      if (it.value() == 2) shared << it.key();
    }
    QCOMPARE(shared.size(), 29);
    QVERIFY(shared.contains("Scrap Metal"));
    QVERIFY(shared.contains("Bridge Rubble"));
  }

  void sortedListsKeepDuplicatesSideBySide() {
    const QStringList barrier = ElementCategories::sortedElementsOf("Barrier");
    QCOMPARE(barrier.size(), 11);
    QCOMPARE(barrier.first(), QString("Brick Wall"));
    QCOMPARE(barrier.last(), QString("Wood Wall"));
    const QStringList all = ElementCategories::sortedElementsOf("ALL");
    QCOMPARE(all.size(), 284);
    for (qsizetype i = 1; i < all.size(); ++i)
      QVERIFY2(QString::compare(all[i - 1], all[i], Qt::CaseInsensitive) <= 0,
               qPrintable(all[i - 1] + " / " + all[i]));
    const qsizetype wall = all.indexOf("Brick Wall");
    QCOMPARE(all[wall + 1], QString("Brick Wall"));
    QCOMPARE(ElementCategories::sortedElementsOf("Misc").first(), QString("Sedrik Body"));
  }

  void treeHasTheFixedNodes() {
    const QList<ElementCategories::TreeNode> nodes = ElementCategories::treeNodes();
    QCOMPARE(nodes.size(), 14);
    QCOMPARE(nodes[0].key, QString("R"));
    QCOMPARE(nodes[0].text, QString("Element List"));
    QVERIFY(nodes[0].parentKey.isEmpty());
    QCOMPARE(nodes[0].picture, 14);
    QCOMPARE(nodes[1].text, QString("All Elements"));
    QCOMPARE(nodes[1].picture, 9);
    QCOMPARE(nodes[6].key, QString("Gulley/Slope"));
    QCOMPARE(nodes[6].picture, 10);
    QCOMPARE(nodes[13].key, QString("Misc"));
    QCOMPARE(nodes[13].picture, 12);
    QSet<int> pictures;
    for (const auto &node : nodes) {
      pictures.insert(node.picture);
      if (node.key != "R") QCOMPARE(node.parentKey, QString("R"));
    }
    QCOMPARE(pictures.size(), 14);
  }

  void structureBranchShowsTheStructureNames() {
    const QStringList structure = ElementCategories::treeElementsOf("Structure");
    QCOMPARE(structure.size(), 100);
    QCOMPARE(structure.last(), QString("Machinery"));
    QCOMPARE(structure.mid(94, 5), ElementCategories::structureNames());
    QCOMPARE(structure.mid(0, 94), ElementCategories::elementsOf("Structure").mid(0, 94));
    QCOMPARE(ElementCategories::treeElementsOf("Rubble"), ElementCategories::elementsOf("Rubble"));
  }

  void allElementsBranchHas282Nodes() {
    const QList<ElementCategories::TreeEntry> entries = ElementCategories::allElementsTreeEntries();
    QCOMPARE(entries.size(), 282);
    QStringList roadway, rubble, structure;
    for (const auto &entry : entries) {
      if (entry.category == "Roadway") roadway << entry.name;
      if (entry.category == "Rubble") rubble << entry.name;
      if (entry.category == "Structure") structure << entry.name;
    }
    QCOMPARE(roadway.last(), QString("Bridge Wall"));
    QCOMPARE(roadway.count("Bridge Wall"), 2);
    QCOMPARE(rubble.size(), 16);
    QCOMPARE(rubble.mid(12), (QStringList{"Bridge Wall", "Wood Wall", "Brick Wall", "Stone Wall"}));
    QCOMPARE(structure.mid(94), (QStringList{"Wood Wall", "Stone Wall L3", "Brick Wall",
                                             "Stone Wall", "Stone Wall L4", "Machinery"}));
    QCOMPARE(entries.first().name, QString("Wood Fence"));
    QCOMPARE(entries.last().name, QString("Deep Water"));
    QCOMPARE(ElementCategories::treePicture(entries.last().category), 13);
  }
};

QTEST_GUILESS_MAIN(TestElementCategories)
#include "test_element_categories.moc"
