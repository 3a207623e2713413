#include "catalogue/CatalogueDatabase.h"
#include "catalogue/ElementCategories.h"

#include <QColor>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <cmath>

using namespace vmm;

namespace {

QColor fromColorref(quint32 c) {
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

double distance(quint32 a, quint32 b) {
  const QColor x = fromColorref(a), y = fromColorref(b);
  return std::hypot(x.red() - y.red(), x.green() - y.green(), x.blue() - y.blue());
}

}  // namespace

class TestDefaultCatalogue : public QObject {
  Q_OBJECT

  CatalogueDatabase catalogue_;  // the built-in default
  ElementTable table_;
  HeightColours colours_, gradient_;

 private slots:
  void initTestCase() {
    QVERIFY(catalogue_.LoadElements(table_, colours_, 1).ok);
    ElementTable again;
    QVERIFY(catalogue_.LoadElements(again, gradient_, 0).ok);
  }

  void holdsEveryListedNameOnceWithIdsInOrder() {
    QCOMPARE(table_.loadedCount(), 260);
    QSet<QString> names;
    for (int id = 0; id < table_.loadedCount(); ++id) {
      QCOMPARE(int(table_.row(id).elementid), id);
      names.insert(table_.row(id).name);
    }
    QCOMPARE(names.size(), 260);
    for (const QString &name :
         ElementCategories::elementsOf("ALL") + ElementCategories::structureNames())
      QVERIFY2(names.contains(name), qPrintable(name));
  }

  void coloursTellElementsOfACategoryApart() {
    QHash<QString, quint32> colourOf;
    for (int id = 0; id < table_.loadedCount(); ++id)
      colourOf.insert(table_.row(id).name, table_.colour(id));
    for (const QString &category : ElementCategories::categoryNames()) {
      const QStringList names =
          ElementCategories::treeElementsOf(category) + ElementCategories::elementsOf(category);
      for (const QString &a : names)
        for (const QString &b : names)
          QVERIFY2(a == b || distance(colourOf[a], colourOf[b]) >= 20,
                   qPrintable(category + ": " + a + " / " + b));
    }
  }

  void gameValuesArePlausible() {
    for (int id = 0; id < table_.loadedCount(); ++id) {
      const QString name = table_.row(id).name;
      const std::optional<ElementRecord> e = catalogue_.elementByName(name);
      QVERIFY2(e.has_value(), qPrintable(name));
      QVERIFY(protectionFlagText(e->InElemProtFlag).has_value());
      QVERIFY(explodeText(e->explode).has_value());
      for (qint16 to : {e->RubbleTo, e->CrushTo, e->BurnTo})
        QVERIFY2(to >= -1 && to < table_.loadedCount() && to != id, qPrintable(name));
      QCOMPARE(e->TypeFlagsSnow == 1, name.contains(QRegularExpression("Snow|Frozen|Ice")));
    }
    QCOMPARE(catalogue_.elementByName("Brick Wall")->RubbleTo,
             catalogue_.elementByName("Brick Rubble")->elementid);
  }

  void heightColoursBandedAndGradient() {
    QCOMPARE(colours_.loadedCount(), 101);
    QCOMPARE(gradient_.loadedCount(), 101);
    for (int h = 1; h <= 100; ++h) {
      // Bands of ten heights in one colour; the gradient changes a little at every step.
      if (h % 10 != 0)
        QCOMPARE(colours_.colour(h), colours_.colour(h - 1));
      else
        QVERIFY(distance(colours_.colour(h), colours_.colour(h - 1)) > 40);
      QVERIFY(distance(gradient_.colour(h), gradient_.colour(h - 1)) < 15);
    }
    QVERIFY(distance(gradient_.colour(100), gradient_.colour(0)) > 150);
  }
};

QTEST_GUILESS_MAIN(TestDefaultCatalogue)
#include "test_default_catalogue.moc"
