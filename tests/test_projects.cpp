// SPDX-License-Identifier: GPL-3.0-or-later
// Map projects in the editor: the File menu's project commands and their shortcuts, the
// title, recent projects, the questions before unsaved work is lost, files given on the
// command line and files dropped on the window.
#include "app/EditorArguments.h"
#include "files/SettingsFile.h"
#include "mapfiles/MapTextWriter.h"
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QAction>
#include <QMenu>
#include <QMimeData>
#include <QRegularExpression>
#include <QtTest>

#include <sys/stat.h>

using namespace vmm;
using test::trigger;

namespace {

QList<QImage> views(MainWindow &main) {
  QList<QImage> images;
  for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation})
    images << main.session().surfaces().surface(view).copy();
  return images;
}

// Paints Quad `quad` in Draw Quad mode on the view that is shown.
void paintQuad(MainWindow &main, int quad, qint16 element) {
  main.session().setEditMode(EditMode::DrawQuad);
  main.session().document().CurrentDrawElement = element;
  test::dragLeft(main.mapView()->surfaceWidget(main.visibleView()), {test::sectorCentre(quad, 5)});
}

// The title the editor gives its window, without the " - [picture name]" that the maximised
// map view window adds to it.
QString frameTitle(const MainWindow &main) {
  return main.windowTitle().remove(QRegularExpression(QStringLiteral(" - \\[[^]]*\\]$")));
}

// Drops local files on the window as a file manager does, and lets the window open them.
void drop(MainWindow &main, const QStringList &paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString &path : paths) urls << QUrl::fromLocalFile(path);
  data.setUrls(urls);
  const QPoint at = main.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&main, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&main, &dropped);
  QVERIFY(dropped.isAccepted());
  QCoreApplication::processEvents();
}

}  // namespace

class TestProjects : public QObject {
  Q_OBJECT

  test::EditorHome home_;
  QString map_;  // a Varga map text for the home picture: Quad 2 full of element 9

  QString file(const QString &name) const { return home_.filePath(name); }

  // A project of the home picture with Quad 4 painted, saved through the window.
  QString savedProject(const QString &name) {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    if (!main) return {};
    paintQuad(*main, 4, 12);
    dialogs.saveNames = {file(name)};
    trigger(main.get(), "mnuSaveProject");
    return dialogs.messages.isEmpty() ? file(name) : QString();
  }

 private slots:
  void initTestCase() {
    MapDocument doc;
    doc.TotalQuads = 18;
    for (int s = 0; s < kSectorsPerQuad; ++s) doc.setValue(2, s, Plane::Element, 9);
    map_ = file(QStringLiteral("quad2.txt"));
    QVERIFY(SaveAsVargaTXT(doc, map_).ok);
  }

  void init() { RecentProjects(settingsFilePath(home_.dir.path())).clear(); }

  // Their keys: test_shortcuts, through the user guide's table.
  void fileMenuStartsWithTheProjectCommands() {
    test::ScriptedDialogs dialogs;
    MainWindow main(&dialogs);
    auto *menu = main.findChild<QMenu *>(QStringLiteral("mnuFile"));
    QStringList names;
    for (QAction *action : menu->actions()) names << action->objectName();
    QCOMPARE(names.mid(0, 6),
             (QStringList{"mnuOpenProject", "mnuSaveProject", "mnuSaveProjectAs",
                          "mnuOpenRecentMenu", "mnuProjectSep", "mnuImportMapImage"}));
  }

  void saveAndOpenThroughTheWindow() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    paintQuad(*main, 4, 12);
    emit main->statusPanels()->panelClicked(13, QStringLiteral("E"));  // the Elevation map
    main->session().document().CurrentDrawHeight = 55;
    paintQuad(*main, 7, 0);

    // Save asks for a name the first time; the extension is added.
    dialogs.saveNames = {file(QStringLiteral("battle"))};
    trigger(main.get(), "mnuSaveProject");
    const QString project = file(QStringLiteral("battle.vmap"));
    QVERIFY2(dialogs.messages.isEmpty(), qPrintable(dialogs.messages.value(0).text));
    QCOMPARE(dialogs.saveFilters, QStringList{"Varga Map Projects (*.vmap)|*.vmap"});
    QCOMPARE(frameTitle(*main), QStringLiteral("Varga Map Maker - battle.vmap"));
    paintQuad(*main, 8, 0);
    QCOMPARE(frameTitle(*main), QStringLiteral("*Varga Map Maker - battle.vmap"));
    // The brush, the zoom and the place on the map are kept too.
    main->session().setBrushSize(3);
    main->mapView()->setZoomLevel(8.0);
    main->mapView()->setScrollPosition({300, 200});
    const QPoint scrolled = main->mapView()->scrollPosition();
    QVERIFY(scrolled.x() > 0 && scrolled.y() > 0);
    trigger(main.get(), "mnuSaveProject");  // no dialog now
    QCOMPARE(dialogs.saveFilters.size(), 1);
    QCOMPARE(frameTitle(*main), QStringLiteral("Varga Map Maker - battle.vmap"));

    test::ScriptedDialogs otherDialogs;
    MainWindow other(&otherDialogs);
    other.resize(900, 600);
    other.show();
    otherDialogs.openNames = {project};
    trigger(&other, "mnuOpenProject");
    QVERIFY(otherDialogs.messages.isEmpty());
    QCOMPARE(otherDialogs.openFilters, QStringList{"Varga Map Projects (*.vmap)|*.vmap"});
    QCOMPARE(frameTitle(other), QStringLiteral("Varga Map Maker - battle.vmap"));
    // What a project holds comes back exactly: test_projectfile; here the window's own view.
    QCOMPARE(vargaMapText(other.session().document()), vargaMapText(main->session().document()));
    QCOMPARE(other.visibleView(), MapView::Elevation);
    QCOMPARE(other.session().brushSize(), 3);
    QCOMPARE(other.mapView()->zoomLevel(), 8.0);
    QCOMPARE(other.mapView()->scrollPosition(), scrolled);
    QCOMPARE(other.recentProjects().entries(), QStringList{project});
  }

  void refusedProjectLeavesTheMapAsItWas() {
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    paintQuad(*main, 1, 12);
    const QByteArray text = vargaMapText(main->session().document());
    const QList<QImage> before = views(*main);
    const QString hostile = file(QStringLiteral("future.vmap"));
    QVERIFY(test::writeFile(hostile, QByteArray("SQLite format 3\0 and then nothing", 34)));
    dialogs.answers = {MessageAnswer::Discard};  // the question about the painted Quad
    QVERIFY(!main->openProjectFile(hostile));
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(dialogs.messages[1].title, QStringLiteral("Open Map Project"));
    QVERIFY2(dialogs.messages[1].text.startsWith(
                 QStringLiteral("The map project \"%1\" cannot be opened: ").arg(hostile)),
             qPrintable(dialogs.messages[1].text));
    QCOMPARE(vargaMapText(main->session().document()), text);
    QCOMPARE(views(*main), before);
    QCOMPARE(frameTitle(*main), QStringLiteral("*Varga Map Maker"));
    QVERIFY(main->recentProjects().entries().isEmpty());
  }

  void recentProjectsNewestFirstAndPruned() {
    const QString kept = savedProject(QStringLiteral("kept.vmap"));
    const QString gone = savedProject(QStringLiteral("gone.vmap"));
    QVERIFY(!kept.isEmpty() && !gone.isEmpty());
    test::ScriptedDialogs dialogs;
    MainWindow main(&dialogs);
    RecentProjects &recent = main.recentProjects();
    QCOMPARE(recent.entries(), (QStringList{gone, kept}));
    for (int i = 0; i < 12; ++i) recent.add(file(QStringLiteral("other%1.vmap").arg(i)));
    recent.add(kept);  // once, at the top
    QCOMPARE(recent.entries().size(), RecentProjects::kLimit);
    QCOMPARE(recent.entries().first(), kept);
    QVERIFY(!recent.entries().contains(gone));
    recent.add(gone);

    auto *menu = main.findChild<QMenu *>(QStringLiteral("mnuOpenRecent"));
    emit menu->aboutToShow();
    QCOMPARE(main.findChild<QAction *>("mnuRecent1")->text(),
             "&1 " + QDir::toNativeSeparators(gone));
    QVERIFY(QFile::remove(gone));
    trigger(&main, "mnuRecent1");
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Open Recent"));
    QVERIFY(dialogs.messages[0].text.contains("no longer exists"));
    QCOMPARE(recent.entries().first(), kept);
    QVERIFY(!main.session().document().mapReady);

    emit menu->aboutToShow();
    trigger(&main, "mnuRecent1");  // kept.vmap opens
    QCOMPARE(main.session().projectPath(), kept);
    QCOMPARE(main.session().document().value(4, 0, Plane::Element), qint16(12));
    emit menu->aboutToShow();
    trigger(&main, "mnuClearRecent");
    QVERIFY(recent.entries().isEmpty());

    // A path of any length is one item of a readable width, cut in its middle; its tool tip
    // shows it.
    recent.add("/" + QString(100000, 'd') + "/far.vmap");
    emit menu->aboutToShow();
    const QAction *item = main.findChild<QAction *>("mnuRecent1");
    QVERIFY2(item->text().size() < 1000, qPrintable(item->text().left(100)));
    QVERIFY(item->text().startsWith("&1 /ddd") && item->text().endsWith("/far.vmap"));
    QVERIFY(item->toolTip().contains("far.vmap"));
    recent.clear();

    // A pipe in place of the settings file is neither read (that would block) nor replaced.
    const QString pipe = file(QStringLiteral("pipe.ini"));
    QVERIFY(::mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    RecentProjects piped(pipe);
    piped.add(kept);
    QVERIFY(piped.entries().isEmpty());
    QVERIFY(!QFileInfo(pipe).isFile());
  }

  void unsavedWorkQuestions_data() {
    QTest::addColumn<bool>("exportFirst");
    QTest::addColumn<bool>("projectFirst");
    QTest::addColumn<int>("buttons");  // MessageButtons
    QTest::newRow("nothing exported: Save")
        << false << false << int(MessageButtons::SaveDiscardCancel);
    QTest::newRow("exported: Export") << true << false << int(MessageButtons::ExportDiscardCancel);
    QTest::newRow("exported, with a project: Save")
        << true << true << int(MessageButtons::SaveDiscardCancel);
  }

  void unsavedWorkQuestions() {
    QFETCH(bool, exportFirst);
    QFETCH(bool, projectFirst);
    QFETCH(int, buttons);
    test::ScriptedDialogs dialogs;
    auto main = test::openShownMap(dialogs, home_.picture);
    QVERIFY(main);
    if (exportFirst) {
      dialogs.saveNames = {file(QStringLiteral("exported.txt"))};
      trigger(main.get(), "mnuSave");
    }
    const QString project = file(QStringLiteral("questions.vmap"));
    if (projectFirst) {
      dialogs.saveNames = {project};
      trigger(main.get(), "mnuSaveProjectAs");
    }
    paintQuad(*main, 5, 12);

    // Cancel keeps the editor open, for the close box and for Exit.
    dialogs.answers = {MessageAnswer::Cancel, MessageAnswer::Cancel};
    QVERIFY(!main->close());
    trigger(main.get(), "mnuExit");
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(int(dialogs.messages[0].buttons), buttons);
    QCOMPARE(int(dialogs.messages[1].buttons), buttons);
    QCOMPARE(dialogs.messages[1].title, QStringLiteral("EXIT Database?"));
    const bool saves = buttons == int(MessageButtons::SaveDiscardCancel);
    QVERIFY(dialogs.messages[1].text.startsWith("Are you sure you wish to EXIT ?\n"));
    QVERIFY(dialogs.messages[1].text.contains(saves ? "not been saved" : "not been exported"));
    QCOMPARE(dialogs.messages[1].defaultAnswer, MessageAnswer::Cancel);
    QVERIFY(main->isVisible());

    // The offered command runs; the window closes once the work is in its file.
    const QByteArray text = vargaMapText(main->session().document());
    dialogs.answers = {saves ? MessageAnswer::Save : MessageAnswer::Export};
    if (!projectFirst) dialogs.saveNames = {saves ? project : file(QStringLiteral("exported.txt"))};
    QVERIFY(main->close());
    if (saves) {
      const ProjectReadResult read = readProject(project);
      QVERIFY(read.ok());
      QCOMPARE(read.content->elements[5 * kSectorsPerQuad], qint16(12));
    } else {
      QCOMPARE(test::readFile(file(QStringLiteral("exported.txt"))), text);
    }
  }

  void editorArguments_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");  // -1: the editor starts
    QTest::addColumn<QString>("text");  // the start of what is printed, or the first file
    QTest::newRow("files") << QStringList{"a.vmap", "b.jpg"} << -1 << "a.vmap";
    QTest::newRow("help") << QStringList{"--help"} << 0
                          << "Usage: varga-map-maker [options] [FILE...]";
    QTest::newRow("version") << QStringList{"--version"} << 0 << "varga-map-maker " VMM_VERSION;
    QTest::newRow("unknown option") << QStringList{"--zoom"} << 2 << "Unknown option 'zoom'.";
  }

  void editorArguments() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, text);
    const EditorArguments parsed = parseEditorArguments(QStringList{"varga-map-maker"} + arguments);
    QCOMPARE(parsed.exitCode.value_or(-1), exitCode);
    const QString shown = exitCode == -1  ? parsed.files.value(0)
                          : exitCode == 0 ? parsed.output
                                          : parsed.error;
    QVERIFY2(shown.startsWith(text), qPrintable(shown));
  }

  void filesOnTheCommandLineOrDropped_data() {
    QTest::addColumn<bool>("dropped");
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<qint16>("quad2");     // element of Quad 2 Sector 0 afterwards
    QTest::addColumn<qint16>("quad4");     // ... of Quad 4
    QTest::addColumn<QString>("message");  // the one message shown, if any
    for (const bool dropped : {false, true}) {
      const char *how = dropped ? "dropped" : "command line";
      QTest::addRow("%s: project", how)
          << dropped << QStringList{"opened.vmap"} << kUnassigned << qint16(12) << QString();
      QTest::addRow("%s: picture and map text", how)
          << dropped << QStringList{"picture", "map"} << qint16(9) << kUnassigned << QString();
      QTest::addRow("%s: map text alone", how) << dropped << QStringList{"map"} << kUnassigned
                                               << kUnassigned << "Map Image not currently loaded";
      QTest::addRow("%s: refused picture", how)
          << dropped << QStringList{"narrow.png"} << kUnassigned << kUnassigned
          << "The width of this image (%1) is not divisable by 120 and is Invalid.";
      // A pipe is never opened to see what it is: the picture's message names it.
      QTest::addRow("%s: pipe named as a picture", how)
          << dropped << QStringList{"pipe.jpg"} << kUnassigned << kUnassigned
          << "The image (%1) could not be read: it is a pipe, not a file";
    }
  }

  void filesOnTheCommandLineOrDropped() {
    QFETCH(bool, dropped);
    QFETCH(QStringList, files);
    QFETCH(qint16, quad2);
    QFETCH(qint16, quad4);
    QFETCH(QString, message);
    const QString opened = savedProject(QStringLiteral("opened.vmap"));
    QVERIFY(!opened.isEmpty());
    const QString narrow = test::writePicture(home_.dir.path(), 130, 120);
    if (files == QStringList{"pipe.jpg"} && !QFileInfo::exists(file(files[0])))
      QVERIFY(::mkfifo(QFile::encodeName(file(files[0])).constData(), 0600) == 0);
    QStringList paths;
    for (const QString &name : files)
      paths << (name == "picture"      ? home_.picture
                : name == "map"        ? map_
                : name == "narrow.png" ? narrow
                                       : file(name));

    test::ScriptedDialogs dialogs;
    MainWindow main(&dialogs);
    main.resize(900, 600);
    main.show();
    if (dropped)
      drop(main, paths);
    else
      QCOMPARE(main.openFiles(paths), message.isEmpty());
    QCOMPARE(dialogs.messages.size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
      QCOMPARE(dialogs.messages[0].text, message.contains("%1") ? message.arg(paths[0]) : message);
    const MapDocument &doc = main.session().document();
    QCOMPARE(doc.value(2, 0, Plane::Element), quad2);
    QCOMPARE(doc.value(4, 0, Plane::Element), quad4);
    QCOMPARE(main.session().projectPath(),
             files == QStringList{"opened.vmap"} ? opened : QString());
  }
};

QTEST_MAIN(TestProjects)
#include "test_projects.moc"
