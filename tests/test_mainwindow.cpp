#include "app/widgets/MDIfrmMain.h"
#include "app/widgets/StatusPanels.h"
#include "support/TestSupport.h"

#include <QtTest>

using namespace vmm;

class TestMainWindow : public QObject {
  Q_OBJECT

  test::EditorHome home_;

 private slots:
  void guardedCommandsNeedAMap_data() {
    QTest::addColumn<QString>("action");
    for (const char *name : {"mnuImportMapData", "mnuSave", "mnuExE", "mnuFill", "R1", "mnuV3"})
      QTest::newRow(name) << QString::fromLatin1(name);
  }

  void guardedCommandsNeedAMap() {
    QFETCH(QString, action);
    test::ScriptedDialogs dialogs;
    MDIfrmMain window(&dialogs);
    window.document().CurrentDrawElement = 4;
    test::trigger(&window, qPrintable(action));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("Map Image not currently loaded"));
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Map Image unavailable"));
    QVERIFY(dialogs.openFilters.isEmpty() && dialogs.saveFilters.isEmpty());
    const MapDocument &doc = window.document();
    QCOMPARE(doc.MapReady, qint16(0));
    for (int quad : {0, 5000})
      for (Plane plane : {Plane::Element, Plane::Height})
        QCOMPARE(doc.value(quad, 15, plane), kUnassigned);
  }

  void longNoticeLeavesThePanelsApart() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain window(&dialogs);
    window.resize(1000, 600);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QString notice =
        QStringLiteral("Created the catalogue \"%1/Ostrel.db\" from the built-in default.")
            .arg(QString(120, QLatin1Char('x')));
    window.showNotice(notice);
    QCoreApplication::processEvents();
    const auto *panels = window.findChild<StatusPanels *>(QStringLiteral("MMStatusBar"));
    QVERIFY(panels != nullptr);
    QCOMPARE(panels->panelRect(1).width(), 2000 / 15);
    for (int panel = 1; panel < panels->count(); ++panel)
      QVERIFY2(panels->panelRect(panel).right() < panels->panelRect(panel + 1).left(),
               qPrintable(QStringLiteral("panel %1 runs into the next").arg(panel)));
    QCOMPARE(window.notice(), notice);
    QVERIFY(window.width() <= 1000);
  }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
