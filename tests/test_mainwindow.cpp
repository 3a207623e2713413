// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: its menu commands, with and without a map, and its status bar.
#include "mapfiles/MapTextWriter.h"
#include "support/TestSupport.h"
#include "ui/dialogs/WidgetDialogs.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/MapViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace vmm;
using test::gdiColour;
using test::trigger;

class TestMainWindow : public QObject {
  Q_OBJECT

  test::EditorHome home_;

 private slots:
  void guardedCommandsNeedAMap_data() {
    QTest::addColumn<QString>("action");
    for (const char *name : {"mnuImportMapData", "mnuSave", "mnuExE", "mnuFill", "R1", "mnuV1",
                             "mnuV2", "mnuV3", "mnuSaveProject", "mnuSaveProjectAs", "mnuZoomIn",
                             "mnuZoomOut", "mnuActualSize", "mnuFitMap", "mnuOverview"})
      QTest::newRow(name) << QString::fromLatin1(name);
  }

  void guardedCommandsNeedAMap() {
    QFETCH(QString, action);
    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    window.session().document().CurrentDrawElement = 4;
    trigger(&window, qPrintable(action));
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].text, QStringLiteral("Map Image not currently loaded"));
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Map Image unavailable"));
    QVERIFY(dialogs.openFilters.isEmpty() && dialogs.saveFilters.isEmpty());
    QVERIFY(!window.findChild<QAction *>(action)->isChecked());
    const MapDocument &doc = window.session().document();
    QCOMPARE(doc.mapReady, false);
    for (int quad : {0, 5000})
      for (Plane plane : {Plane::Element, Plane::Height})
        QCOMPARE(doc.value(quad, 15, plane), kUnassigned);
  }

  void longNoticeLeavesThePanelsApart() {
    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
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

  // The file dialogs list each kind of file once, matching the names the editor writes.
  void fileDialogFilters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("shown");
    QTest::newRow("named as matched") << "Varga Map Projects (*.vmap)|*.vmap"
                                      << "Varga Map Projects (*.vmap)";
    QTest::newRow("named in other case") << "Jpeg Files (*.JPG)|*.Jpg"
                                         << "Jpeg Files (*.JPG)";
    QTest::newRow("named, another pattern") << "Maps (*.Txt)|*.map"
                                            << "Maps (*.Txt *.map)";
    QTest::newRow("unnamed, two patterns") << "Pictures|*.png;*.bmp"
                                           << "Pictures (*.png *.bmp)";
  }

  void fileDialogFilters() {
    QFETCH(QString, filter);
    QFETCH(QString, shown);
    QCOMPARE(WidgetDialogs::qtFilter(filter), shown);
  }

  // Text from outside (a picture's name, a path from a recovery copy) is never read as
  // markup, and a text of megabytes is cut to a readable length before any layout.
  void outsideTextIsShownAsPlainText() {
    const QString markup = QStringLiteral("<u>big</u><big>x</big><img src=/dev/zero>");
    const QString text = QStringLiteral(
                             "The image (/maps/%1%2.jpg) could not be read: it is a "
                             "pipe, not a file")
                             .arg(markup, QString(5 * 1024 * 1024, QLatin1Char('a')));
    QWidget parent;
    WidgetDialogs dialogs(&parent);
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
      auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
      if (!box) return;
      shown = box->text();
      format = box->textFormat();
      box->button(QMessageBox::Ok)->click();
    });
    QCOMPARE(
        dialogs.message(text, markup, MessageIcon::Critical, MessageButtons::Ok, MessageAnswer::Ok),
        MessageAnswer::Ok);
    QCOMPARE(format, Qt::PlainText);
    QVERIFY(shown.size() <= WidgetDialogs::kShownChars + 1);
    QVERIFY(shown.startsWith(QStringLiteral("The image (/maps/") + markup));
    QVERIFY(shown.endsWith(QStringLiteral("a.jpg) could not be read: it is a pipe, not a file")));
    QVERIFY(shown.contains(QChar(0x2026)));

    // The status bar's notice and its tool tip: the tip shows the markup as text.
    test::ScriptedDialogs scripted;
    MainWindow window(&scripted);
    window.showNotice(text);
    QCOMPARE(window.notice(), WidgetDialogs::shownText(text));
    const QString tip = window.findChild<QLabel *>(QStringLiteral("notice"))->toolTip();
    QVERIFY2(tip.contains(QStringLiteral("&lt;u&gt;big&lt;/u&gt;&lt;big&gt;x&lt;/big&gt;&lt;img")),
             qPrintable(tip.left(200)));
    QVERIFY(!tip.contains(QStringLiteral("<u>")) && !tip.contains(QStringLiteral("<img")));
  }

  // What the exports write: test_cli (convertRewritesTheEditorsExports).
  void failedExportIsReportedAndCancelWritesNothing() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    const QString nowhere = home_.filePath("missing/dir/map.txt");
    dialogs.saveNames = {nowhere, QString()};
    trigger(main.get(), "mnuSave");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("AppendToTextFile"));
    QVERIFY(!QFile::exists(nowhere));
    trigger(main.get(), "mnuSave");  // cancelled: nothing written, nothing said
    QCOMPARE(dialogs.messages.size(), 1);
  }

  void importRepaintsBothViewsAndNotesRowCounts() {
    test::ScriptedDialogs dialogs;
    MapDocument source;
    source.TotalQuads = 18;
    source.setValue(7, 5, Plane::Element, 12);  // the cell at (55, 55)
    source.setValue(7, 5, Plane::Height, 40);
    const QString file = home_.filePath("roundtrip.txt");
    QVERIFY(SaveAsVargaTXT(source, file).ok);

    auto target = test::openShownMap(dialogs, home_.picture);
    QVERIFY(target);
    dialogs.openNames = {file};
    trigger(target.get(), "mnuImportMapData");
    QVERIFY(dialogs.messages.isEmpty());
    MapSurfaces &s = target->mapView()->surfaces();
    QCOMPARE(s.surface(MapView::Terrain).pixelColor(55, 55),
             gdiColour(target->session().elementTable().colour(12)));
    QCOMPARE(s.surface(MapView::Elevation).pixelColor(55, 55),
             gdiColour(target->session().heightColours().colour(40)));
    QVERIFY(target->notice().isEmpty());

    // A map with more rows than the picture has Quads: imported as it stands, with a note.
    source.TotalQuads = 27;
    QVERIFY(SaveAsVargaTXT(source, file).ok);
    dialogs.openNames = {file};
    trigger(target.get(), "mnuImportMapData");
    QCOMPARE(target->session().document().TotalQuads, qint16(27));
    QCOMPARE(target->notice(), QStringLiteral("Map data: 27 Quads, picture: 18 Quads"));
  }

  void bulkEditsChangeTheArrayAndRepaint() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    main->session().setRandomSource(std::make_unique<test::ScriptedRandom>(QList<float>{0.0f}));
    MapDocument &doc = main->session().document();
    MapSurfaces &s = main->mapView()->surfaces();
    doc.setValue(17, 3, Plane::Element, 11);  // a member of the leaves family
    doc.setValue(0, 0, Plane::Element, 11);
    trigger(main.get(), "R2");  // leaves: every member to the base with a zero draw
    QCOMPARE(doc.value(17, 3, Plane::Element), qint16(10));
    QCOMPARE(s.surface(MapView::Terrain).pixelColor(5, 5),
             gdiColour(main->session().elementTable().colour(10)));
    doc.CurrentDrawHeight = 30;
    trigger(main.get(), "Fillheight");
    QCOMPARE(doc.value(3, 3, Plane::Height), qint16(30));
    trigger(main.get(), "ClearHeight");
    QCOMPARE(doc.value(3, 3, Plane::Height), kUnassigned);
    QVERIFY(dialogs.messages.isEmpty());
  }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
