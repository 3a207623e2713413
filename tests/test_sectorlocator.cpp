// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/SectorLocator.h"

#include <QtTest>

using namespace vmm;

class TestSectorLocator : public QObject {
  Q_OBJECT

 private slots:
  void bands_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("quad");
    QTest::addColumn<int>("sector");
    // Column 10 goes to the left Sector, row 10 to the lower one.
    QTest::newRow("(10,10) is Sector 4") << 10.0 << 10.0 << 0 << 4;
    QTest::newRow("(11,9)") << 11.0 << 9.0 << 0 << 1;
    QTest::newRow("(31,39)") << 31.0 << 39.0 << 0 << 15;
    QTest::newRow("(40,0) next Quad") << 40.0 << 0.0 << 1 << 0;
    QTest::newRow("(0,40) next row") << 0.0 << 40.0 << 6 << 0;
    QTest::newRow("rounding 10.5 -> 10 (ties to even)") << 10.5 << 0.0 << 0 << 0;
    QTest::newRow("rounding 11.5 -> 12") << 11.5 << 0.0 << 0 << 1;
  }

  void bands() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, quad);
    QFETCH(int, sector);
    const SectorHit hit = SectorLocator::LocateSector(x, y, 6);
    QCOMPARE(int(hit.quad), quad);
    QCOMPARE(int(hit.sector), sector);
  }

  void pointsOutsideThePictureHitNothing() {
    // A 6 x 3 Quad picture is 240 x 120 pixels.
    QCOMPARE(int(SectorLocator::locateInside(239, 119, 6, 3).value_or(SectorHit{}).quad), 17);
    QVERIFY(!SectorLocator::locateInside(240, 0, 6, 3));   // would wrap into the next row
    QVERIFY(!SectorLocator::locateInside(0, 120, 6, 3));   // below the last row
    QVERIFY(!SectorLocator::locateInside(-1, 5, 6, 3));    // left of the picture
    QVERIFY(!SectorLocator::locateInside(5, -0.6, 6, 3));  // above it
    QVERIFY(SectorLocator::locateInside(5, -0.4, 6, 3));   // rounds onto row 0
  }
};

QTEST_GUILESS_MAIN(TestSectorLocator)
#include "test_sectorlocator.moc"
