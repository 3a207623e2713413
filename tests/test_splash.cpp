#include "splash/widgets/frmSplash.h"

#include <QFrame>
#include <QLabel>
#include <QtTest>

using namespace vmm;

class TestSplash : public QObject {
  Q_OBJECT

 private slots:
  void textsAndTimer() {
    frmSplash splash;
    QCOMPARE(splash.findChild<QLabel *>("lblCompanyProduct")->text(),
             QStringLiteral("Varga Map Maker"));
    QCOMPARE(splash.findChild<QLabel *>("lblProductName")->text(),
             QStringLiteral("Map Making Tool"));
    QCOMPARE(splash.findChild<QLabel *>("lblPlatform")->text(), QStringLiteral("Windows 98"));
    QCOMPARE(splash.findChild<QLabel *>("lblVersion")->text(), QStringLiteral("Version 0.86"));
    QCOMPARE(splash.findChild<QLabel *>("Label1")->text(), QStringLiteral("beta"));
    QCOMPARE(splash.timer().interval(), 2000);
    QVERIFY(splash.timer().isActive());
  }

  void timerHandsOverOnce() {
    frmSplash splash;
    QSignalSpy spy(&splash, &frmSplash::handOver);
    splash.show();
    QVERIFY(spy.wait(3000));
    QTest::qWait(100);
    QCOMPARE(spy.size(), 1);
    QVERIFY(!splash.isVisible());
  }

  void clickOrKeyHandsOverAtOnceAndTimerStaysQuiet_data() {
    QTest::addColumn<int>("how");
    QTest::newRow("frame click") << 0;
    QTest::newRow("key") << 1;
  }

  void clickOrKeyHandsOverAtOnceAndTimerStaysQuiet() {
    QFETCH(int, how);
    frmSplash splash;
    QSignalSpy spy(&splash, &frmSplash::handOver);
    splash.show();
    QVERIFY(QTest::qWaitForWindowExposed(&splash));
    if (how == 0)
      QTest::mouseClick(splash.findChild<QFrame *>("Frame1"), Qt::LeftButton, {}, QPoint(100, 100));
    else
      QTest::keyClick(&splash, Qt::Key_Space);
    QCOMPARE(spy.size(), 1);
    QVERIFY(!splash.timer().isActive());
    QTest::qWait(2300);  // past the timer's interval: no second hand-over
    QCOMPARE(spy.size(), 1);
  }
};

QTEST_MAIN(TestSplash)
#include "test_splash.moc"
