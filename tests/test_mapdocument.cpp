// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MapDocument.h"

#include <QtTest>

using namespace vmm;

class TestMapDocument : public QObject {
  Q_OBJECT

 private slots:
  void startStateIsUnassignedWithZeroPadding() {
    MapDocument doc;
    for (int quad = 0; quad < kQuadCapacity; ++quad) {
      for (int slot = 0; slot < kSectorsPerQuad; ++slot) {
        QCOMPARE(doc.mapData(quad, slot, 0), qint16(-1));
        QCOMPARE(doc.mapData(quad, slot, 1), qint16(-1));
        QCOMPARE(doc.mapData(quad, slot, 2), qint16(0));
      }
      for (int slot = 16; slot < kSlots; ++slot)
        for (int plane = 0; plane < kPlanes; ++plane)
          QCOMPARE(doc.mapData(quad, slot, plane), qint16(0));
    }
  }

  void writesOutsideTheArrayAreRefused() {
    MapDocument doc;
    QVERIFY(!doc.setValue(kQuadCapacity, 0, Plane::Element, 5));
    QVERIFY(!doc.setValue(-1, 0, Plane::Element, 5));
    QVERIFY(!doc.setValue(0, 16, Plane::Height, 5));
    QVERIFY(doc.setValue(5000, 15, Plane::Height, 7));
    QCOMPARE(doc.value(5000, 15, Plane::Height), qint16(7));
  }

  void sectorOriginFollowsQuadRows() {
    MapDocument doc;
    doc.XQuads = 6;
    const auto origin = [&](int quad, int sector) {
      const auto o = doc.sectorOrigin(quad, sector);
      return QPoint(o.x, o.y);
    };
    QCOMPARE(origin(7, 5), QPoint(50, 50));
    QCOMPARE(origin(7, 15), QPoint(70, 70));
    QCOMPARE(origin(5, 3), QPoint(230, 0));  // below XQuads: row 0
    QCOMPARE(origin(6, 0), QPoint(0, 40));   // XQuads itself starts row 1
    QCOMPARE(origin(0, 16), QPoint(0, 0));   // a Sector outside 1..15 adds nothing
  }

  void observersSeeOnlyRealChanges() {
    struct Recorder : ChangeObserver {
      QList<SectorChange> seen;
      void sectorChanged(const SectorChange &c) override { seen.append(c); }
    } first, second;
    MapDocument doc;
    doc.addChangeObserver(&first);
    doc.addChangeObserver(&second);
    doc.addChangeObserver(&first);  // once is enough
    doc.setValue(3, 4, Plane::Element, 12);
    doc.setValue(3, 4, Plane::Element, 12);
    doc.setValue(3, 4, Plane::Height, 9);
    QCOMPARE(first.seen.size(), 2);
    QCOMPARE(first.seen[0].oldValue, qint16(-1));
    QCOMPARE(first.seen[0].newValue, qint16(12));
    QCOMPARE(first.seen[1].plane, Plane::Height);
    doc.removeChangeObserver(&first);
    doc.setValue(0, 0, Plane::Element, 5);
    QCOMPARE(first.seen.size(), 2);
    QCOMPARE(second.seen.size(), 3);
  }
};

QTEST_GUILESS_MAIN(TestMapDocument)
#include "test_mapdocument.moc"
