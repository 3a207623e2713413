// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/CatalogueDatabase.h"
#include "catalogue/ElementCategories.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

using namespace vmm;

class TestDefaultCatalogue : public QObject {
  Q_OBJECT

  CatalogueDatabase catalogue_;  // the built-in default
  ElementTable table_;
  HeightColours colours_;

 private slots:
  void initTestCase() { QVERIFY(catalogue_.LoadElements(table_, colours_, 1).ok); }

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
};

QTEST_GUILESS_MAIN(TestDefaultCatalogue)
#include "test_default_catalogue.moc"
