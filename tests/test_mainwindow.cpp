#include "app/widgets/MDIfrmMain.h"
#include "app/widgets/StatusPanels.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

class TestMainWindow : public QObject {
  Q_OBJECT

  QTemporaryDir home_;

 private slots:
  void initTestCase() { qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8()); }

  void guardedCommands_data() {
    QTest::addColumn<QString>("action");
    for (const char *name : {"mnuImportMapData", "mnuSave", "MnuTolle", "mnuExT", "mnuExE",
                             "mnuFill", "mnuClear", "Fillheight", "ClearHeight", "R1", "R2", "R3",
                             "mnuV1", "mnuV2", "mnuV3", "mnuO1", "mnuO2"})
      QTest::newRow(name) << QString::fromLatin1(name);
  }

  void guardedCommands() {
    QFETCH(QString, action);
    test::ScriptedDialogs dialogs;
    MDIfrmMain window(&dialogs);
    auto *item = window.findChild<QAction *>(action);
    QVERIFY(item);
    item->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("Map Image not currently loaded"));
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Map Image unavailable"));
    QCOMPARE(dialogs.messages[0].buttons, MessageButtons::Ok);
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::None);
    QVERIFY(dialogs.openNames.empty() && dialogs.saveFilters.isEmpty() &&
            dialogs.openFilters.isEmpty());
    const MapDocument &doc = window.document();
    QCOMPARE(doc.MapReady, qint16(0));
    QCOMPARE(doc.TotalQuads, qint16(0));
    for (int quad : {0, 1, 630, 5000})
      for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
        QCOMPARE(doc.value(quad, sector, Plane::Element), kUnassigned);
        QCOMPARE(doc.value(quad, sector, Plane::Height), kUnassigned);
      }
  }

  void startStateOfControlsAndPanels() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain window(&dialogs);
    QCOMPARE(window.windowTitle(), QStringLiteral("Varga Map Maker"));
    StatusPanels *panels = window.statusPanels();
    QCOMPARE(panels->count(), 15);
    QCOMPARE(panels->text(9), QStringLiteral("Image"));
    QCOMPARE(panels->text(11), QStringLiteral("Terrain"));
    QCOMPARE(panels->text(13), QStringLiteral("Elevation"));
    QCOMPARE(panels->text(15), QStringLiteral("Tree View"));
    QCOMPARE(panels->bevel(9), StatusPanels::Raised);
    QCOMPARE(panels->bevel(11), StatusPanels::Inset);
    QCOMPARE(panels->bevel(13), StatusPanels::Raised);
    QCOMPARE(panels->panelWithKey("E"), 13);
    QCOMPARE(window.drawStyle(), 0);
    QCOMPARE(window.editMode(), 0);
    auto *height = window.findChild<QComboBox *>("cboheight");
    QCOMPARE(height->count(), 102);
    QCOMPARE(height->itemText(0), QStringLiteral("0"));
    QCOMPARE(height->itemText(3), QStringLiteral("100"));
    QCOMPARE(height->itemText(101), QStringLiteral("HeightValie"));
    QCOMPARE(height->currentText(), QStringLiteral("1"));
    QVERIFY(!window.isToolVisible(window.findChild<QPushButton *>("Command3")));
    QVERIFY(window.isToolVisible(window.findChild<QComboBox *>("cboElementList")));
    QCOMPARE(window.findChild<QComboBox *>("cboTerainCategory")->count(), 13);
  }

  void modeMenusSelectButtons() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain window(&dialogs);
    QSignalSpy modeSpy(&window, &MDIfrmMain::editModeChanged);
    window.findChild<QAction *>("mnuE4")->trigger();
    QCOMPARE(window.editMode(), 3);
    QVERIFY(window.findChild<QRadioButton *>("Option1_3")->isChecked());
    QCOMPARE(modeSpy.size(), 1);
    window.findChild<QAction *>("mnuHollow")->trigger();
    QCOMPARE(window.drawStyle(), 2);
    window.findChild<QAction *>("mnuV6")->trigger();
    QCOMPARE(window.drawStyle(), 1);
    QVERIFY(dialogs.messages.isEmpty());  // mode commands are not guarded
  }

  void exitAsksAndNoKeepsRunning() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain window(&dialogs);
    dialogs.answers.push_back(MessageAnswer::No);
    window.findChild<QAction *>("mnuExit")->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("Are you sure you wish to EXIT ?"));
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("EXIT Database?"));
    QCOMPARE(dialogs.messages[0].icon, MessageIcon::Critical);
    QCOMPARE(dialogs.messages[0].buttons, MessageButtons::YesNo);
    QCOMPARE(dialogs.messages[0].defaultAnswer, MessageAnswer::No);
    QCOMPARE(window.document().value(5000, 0, Plane::Element), kUnassigned);  // array not released
    window.findChild<QAction *>("mnuAbout")->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
  }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
