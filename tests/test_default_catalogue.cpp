#include "catalogue/CatalogueConnection.h"
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

double luminance(quint32 c) {
  const QColor x = fromColorref(c);
  return 0.299 * x.red() + 0.587 * x.green() + 0.114 * x.blue();
}

// The kind of tree a name describes: size words and the variant number set aside.
QString treeKind(QString name) {
  name.remove(QRegularExpression(" \\d+$"));
  name.remove(QRegularExpression("^(Small|Big) "));
  return name;
}

}  // namespace

class TestDefaultCatalogue : public QObject {
  Q_OBJECT

 private:
  CatalogueDatabase catalogue_;  // the built-in default
  ElementTable table_;
  HeightColours colours_, gradient_;

 private slots:
  void initTestCase() {
    QVERIFY(!defaultCatalogueScript().isEmpty());  // found in the program's resources
    QVERIFY(catalogue_.LoadElements(table_, colours_, 1).ok);
    ElementTable again;
    QVERIFY(catalogue_.LoadElements(again, gradient_, 0).ok);
  }

  void holdsEveryNameOnceWithIdsInOrder() {
    QCOMPARE(table_.loadedCount(), 260);
    QSet<QString> names;
    for (int id = 0; id < table_.loadedCount(); ++id) {
      QCOMPARE(int(table_.row(id).elementid), id);
      names.insert(table_.row(id).name);
    }
    QCOMPARE(names.size(), 260);
    for (const QString &name : ElementCategories::elementsOf("ALL"))
      QVERIFY2(names.contains(name), qPrintable(name));
    for (const QString &name : ElementCategories::structureNames())
      QVERIFY2(names.contains(name), qPrintable(name));
    for (const auto &entry : ElementCategories::allElementsTreeEntries())
      QVERIFY2(names.contains(entry.name), qPrintable(entry.name));
  }

  void randomiseFamiliesAreVariantsOfOneKind() {
    const QList<QList<int>> trees = {{173, 174, 175},
                                     {169, 170, 171, 172, 127},
                                     {142, 143, 144, 145, 126},
                                     {159, 160, 161, 162, 163},
                                     {149, 150, 151, 152, 153},
                                     {156, 157, 158, 9, 124},
                                     {146, 147, 148},
                                     {167, 168, 183},
                                     {187, 188, 180, 128},
                                     {185, 186},
                                     {181, 182},
                                     {125, 184},
                                     {154, 155},
                                     {164, 165, 166}};
    QSet<QString> kinds;
    for (const QList<int> &family : trees) {
      const QString kind = treeKind(table_.row(family.first()).name);
      QVERIFY2(kind.endsWith("Tree"), qPrintable(kind));
      for (int id : family) QCOMPARE(treeKind(table_.row(id).name), kind);
      kinds.insert(table_.row(family.first()).name.section(' ', 0, -2));
    }
    QCOMPARE(kinds.size(), trees.size());  // no two families alike
    for (int id : {10, 11}) QVERIFY(table_.row(id).name.startsWith("Leaves"));
    for (int id : {8, 190, 1})
      QVERIFY2(table_.row(id).name.contains(QRegularExpression("Brush|Bush")),
               qPrintable(table_.row(id).name));
  }

  void coloursTellElementsApart() {
    for (int id = 0; id < table_.loadedCount(); ++id) QVERIFY(table_.colour(id) != 0);
    QHash<QString, quint32> colourOf;
    for (int id = 0; id < table_.loadedCount(); ++id)
      colourOf.insert(table_.row(id).name, table_.colour(id));
    const auto allAlike = [&](const QStringList &names) {
      for (qsizetype i = 0; i < names.size(); ++i)
        for (qsizetype j = i + 1; j < names.size(); ++j)
          if (names[i] != names[j] && distance(colourOf[names[i]], colourOf[names[j]]) < 20)
            return names[i] + " / " + names[j];
      return QString();
    };
    for (const QString &category : ElementCategories::categoryNames()) {
      const QString clash = allAlike(ElementCategories::treeElementsOf(category) +
                                     ElementCategories::elementsOf(category));
      QVERIFY2(clash.isEmpty(), qPrintable(category + ": " + clash));
    }
    // Water reads blue, foliage green.
    const QColor water = fromColorref(colourOf["Deep Water"]);
    QVERIFY(water.blue() > water.red() && water.blue() > water.green());
    const QColor tree = fromColorref(colourOf["Big Tree 1"]);
    QVERIFY(tree.green() > tree.red() && tree.green() > tree.blue());
  }

  void gameValuesArePlausible() {
    for (int id = 0; id < table_.loadedCount(); ++id) {
      const QString name = table_.row(id).name;
      const std::optional<ElementRecord> e = catalogue_.elementByName(name);
      QVERIFY2(e.has_value(), qPrintable(name));
      for (double cover : {e->CoverProne, e->CoverLow, e->CoverMedium, e->CoverHigh})
        QVERIFY(cover >= 0 && cover <= 512);
      for (double chance : {e->BogChance, e->ImmobilizeChance})
        QVERIFY(chance >= 0 && chance <= 128);
      for (double flag : {e->TypeFlagsWall, e->TypeFlagsSunken, e->TypeFlagsCrushable,
                          e->TypeFlagsCovered, e->TypeFlagsBridge, e->TypeFlagsSnow,
                          e->TypeFlagsinterior, e->TypeFlagsRoad, e->TypeFlagsMinefield})
        QVERIFY(flag == 0 || flag == 1);
      QVERIFY(protectionFlagText(e->InElemProtFlag).has_value());
      QVERIFY(explodeText(e->explode).has_value());
      for (qint16 to : {e->RubbleTo, e->CrushTo, e->BurnTo}) {
        QVERIFY(to >= -1 && to < table_.loadedCount());
        QVERIFY2(to != id, qPrintable(name));
      }
      QVERIFY(e->Height >= 0 && e->Height <= 60);
      QVERIFY(e->SoldierMoveRateStanding > 0 && e->VehicleMoveRateTracked > 0);
      QCOMPARE(e->TypeFlagsSnow == 1, name.contains(QRegularExpression("Snow|Frozen|Ice")));
    }
    QCOMPARE(catalogue_.elementByName("Brick Wall")->RubbleTo,
             catalogue_.elementByName("Brick Rubble")->elementid);
    QCOMPARE(catalogue_.elementByName("Paved Road")->TypeFlagsRoad, 1.0);
    QCOMPARE(catalogue_.elementByName("Deep Water")->explode, 2);
  }

  void heightColoursBandedAndGradient() {
    QCOMPARE(colours_.loadedCount(), 101);
    QCOMPARE(gradient_.loadedCount(), 101);
    QSet<quint32> bands;
    for (int h = 0; h <= 100; ++h) {
      bands.insert(colours_.colour(h));
      if (h % 10 != 0)
        QCOMPARE(colours_.colour(h), colours_.colour(h - 1));
      else if (h > 0)
        QVERIFY(distance(colours_.colour(h), colours_.colour(h - 1)) > 40);
    }
    QCOMPARE(bands.size(), 11);
    for (int h = 1; h <= 100; ++h) {
      QVERIFY(luminance(gradient_.colour(h)) >= luminance(gradient_.colour(h - 1)) - 0.5);
      QVERIFY(distance(gradient_.colour(h), gradient_.colour(h - 1)) < 15);
    }
    QVERIFY(luminance(gradient_.colour(100)) > luminance(gradient_.colour(0)) + 150);
  }
};

QTEST_GUILESS_MAIN(TestDefaultCatalogue)
#include "test_default_catalogue.moc"
