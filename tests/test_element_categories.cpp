#include "catalogue/ElementCategories.h"

#include <QtTest>

using namespace vmm;

class TestElementCategories : public QObject {
  Q_OBJECT

 private slots:
  void allJoinsTwelveListsWithTwentyNineSharedNames() {
    const QStringList categories = ElementCategories::categoryNames();
    QCOMPARE(categories.size(), 12);
    QStringList joined;
    QHash<QString, int> seen;
    for (const QString &category : categories) {
      joined += ElementCategories::elementsOf(category);
      for (const QString &name : ElementCategories::elementsOf(category)) ++seen[name];
    }
    QCOMPARE(ElementCategories::elementsOf("ALL"), joined);
    QCOMPARE(joined.size(), 284);
    QCOMPARE(ElementCategories::distinctElementNames().size(), 255);
    QCOMPARE(seen.size(), 255);
    QCOMPARE(std::count(seen.cbegin(), seen.cend(), 2), 29);
    QCOMPARE(std::count_if(seen.cbegin(), seen.cend(), [](int n) { return n > 2; }), 0);
    QVERIFY(ElementCategories::elementsOf("barrier").isEmpty());  // compared byte for byte
  }
};

QTEST_GUILESS_MAIN(TestElementCategories)
#include "test_element_categories.moc"
