// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/splash/SplashScreen.h"

#include <QFrame>
#include <QtTest>

using namespace vmm;

class TestSplash : public QObject {
  Q_OBJECT

 private slots:
  void handsOverOnce_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("timer") << 0;
    QTest::newRow("frame click") << 1;
    QTest::newRow("key") << 2;
  }

  void handsOverOnce() {
    QFETCH(int, how);
    SplashScreen splash;
    QSignalSpy spy(&splash, &SplashScreen::handOver);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    if (how == 0) QVERIFY(spy.wait(3000));
    if (how == 1)
      QTest::mouseClick(splash.findChild<QFrame *>("Frame1"), Qt::LeftButton, {}, QPoint(100, 100));
    if (how == 2) QTest::keyClick(&splash, Qt::Key_Space);
    QCOMPARE(spy.size(), 1);
    QTest::qWait(2300);  // past the timer's interval: no second hand-over
    QCOMPARE(spy.size(), 1);
    QVERIFY(!splash.isVisible());
  }
};

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
