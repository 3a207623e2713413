// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/RecentProjects.h"
#include "app/RecoveryService.h"
#include "files/SettingsFile.h"
#include "mapfiles/MapTextWriter.h"
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SurfaceWidget.h"

#include <QApplication>
#include <QProcess>
#include <QtTest>

#include <cstdio>

#include <sys/stat.h>

using namespace vmm;

namespace {

using namespace std::chrono_literals;

// The Sectors the editor in the child process paints: Quad 3 full of element 4.
constexpr int kPaintedQuad = 3;
constexpr qint16 kPaintedElement = 4;

// Imports the picture and paints one Quad in Draw Quad mode; false when the picture was refused.
bool paintQuad(MainWindow &main, const QString &picture, int quad) {
  main.show();
  main.recovery().setTiming({100ms, 0ms});
  if (!main.LoadMapImage(picture)) return false;
  main.session().setEditMode(EditMode::DrawQuad);
  main.session().document().CurrentDrawElement = kPaintedElement;
  test::dragLeft(main.mapView()->surfaceWidget(MapView::Terrain), {test::sectorCentre(quad, 5)});
  return true;
}

// The editor run as a separate process that the test kills: it paints one Quad,
// waits for its recovery copy and reports "ready".
int runEditorChild(int argc, char **argv) {
  QApplication app(argc, argv);
  test::ScriptedDialogs dialogs;
  MainWindow main(&dialogs);
  QObject::connect(&main.recovery(), &RecoveryService::written, [] {
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
  });
  if (!paintQuad(main, QString::fromLocal8Bit(argv[2]), kPaintedQuad)) return 2;
  return app.exec();  // until killed
}

}  // namespace

class TestRecovery : public QObject {
  Q_OBJECT

  test::EditorHome home_;

  QString home() const { return home_.dir.path(); }

  // Starts the editor process on this data folder and waits until it holds the lock and wrote its
  // copy; false when it ended or stayed silent.
  bool startChild(QProcess &child) {
    child.start(QCoreApplication::applicationFilePath(), {"--editor-child", home_.picture});
    while (child.waitForReadyRead(60000))
      if (child.readAll().contains("ready")) return true;
    return false;
  }

 private slots:
  void init() { RecoveryFile::remove(home()); }

  void editorWritesTheCopyUntilTheWorkIsSaved() {
    test::ScriptedDialogs dialogs;
    MainWindow main(&dialogs);
    QSignalSpy written(&main.recovery(), &RecoveryService::written);
    QVERIFY(paintQuad(main, home_.picture, 1));
    QVERIFY(written.wait(2000));
    const auto copy = RecoveryFile::read(home());
    QVERIFY(copy);
    QCOMPARE(copy->picturePath, QFileInfo(home_.picture).absoluteFilePath());
    // The copy is a project: the picture's bytes travel with the map.
    const ProjectContent now = main.session().projectContent({});
    QCOMPARE(copy->project.elements, now.elements);
    QCOMPARE(copy->project.heights, now.heights);
    QCOMPARE(copy->project.picture.fileBytes, test::readFile(home_.picture));
    QVERIFY(copy->projectPath.isEmpty());

    // Saved work needs no copy; undoing away from the save brings it back.
    dialogs.saveNames.push_back(home_.filePath("saved.txt"));
    test::trigger(&main, "mnuSave");
    QVERIFY(!RecoveryFile::exists(home()));
    main.session().history().undo();
    QVERIFY(written.wait(2000));
    QVERIFY(RecoveryFile::exists(home()));
  }

  // A copy that cannot be used is said once: it is set aside, and the next start is quiet.
  // None is opened unless it is a regular file.
  void unusableCopyIsSetAside_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");
    QTest::newRow("pipe") << "pipe"
                          << "cannot be opened: it is a pipe, not a file";
    QTest::newRow("link to an endless device") << "device"
                                               << "cannot be opened: it is a device, not a file";
    QTest::newRow("no recovery file") << "other"
                                      << "it is not a Varga Map Maker project";
  }

  void unusableCopyIsSetAside() {
    QFETCH(QString, kind);
    QFETCH(QString, reason);
    const QString copy = RecoveryFile::path(home());
    const QString aside = RecoveryFile::setAsidePath(home());
    QFile::remove(aside);
    QFile::remove(copy);
    if (kind == "pipe") {
      QVERIFY(::mkfifo(QFile::encodeName(copy).constData(), 0600) == 0);
    } else if (kind == "device") {
      QVERIFY(QFile::link(QStringLiteral("/dev/zero"), copy));
    } else {
      QVERIFY(test::writeFile(copy, "not a copy"));
    }
    for (int start = 0; start < 2; ++start) {
      test::ScriptedDialogs dialogs;
      MainWindow main(&dialogs);
      main.offerRecovery();
      if (start == 1) {
        QVERIFY(dialogs.messages.isEmpty());  // not again
        break;
      }
      QCOMPARE(dialogs.messages.size(), 1);
      QVERIFY2(dialogs.messages[0].text.contains(reason), qPrintable(dialogs.messages[0].text));
      QVERIFY(dialogs.messages[0].text.contains(QDir::toNativeSeparators(aside)));
      QVERIFY(!QFileInfo(copy).exists() && !QFileInfo(copy).isSymLink());
      // Moved, not copied: the link is still a link, the pipe still a pipe.
      QCOMPARE(QFileInfo(aside).isSymLink(), kind == "device");
      QCOMPARE(QFileInfo(aside).isFile() || QFileInfo(aside).isSymLink(), kind != "pipe");
      QVERIFY(!main.mapView());
    }
    QFile::remove(aside);
  }

  // A lock file that is a pipe or a folder is never opened (the start and every save of the
  // settings once waited on it for ever): the editor goes on without it and says so.
  void lockFilesThatAreNoFile_data() {
    QTest::addColumn<QString>("lock");
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"pipe", "folder"}) {
      QTest::addRow("recovery lock, %s", kind) << "VargaMapMaker.lock" << kind;
      QTest::addRow("settings lock, %s", kind) << "Settings.ini.lock" << kind;
    }
  }

  void lockFilesThatAreNoFile() {
    QFETCH(QString, lock);
    QFETCH(QString, kind);
    const QString path = home_.filePath(lock);
    const QString settings = settingsFilePath(home());
    QFile::remove(settings);
    if (kind == "pipe")
      QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else
      QVERIFY(QDir().mkpath(path));
    {
      test::ScriptedDialogs dialogs;
      MainWindow main(&dialogs);
      QVERIFY2(main.notice().contains(QStringLiteral("\"%1\" is a %2, not a file").arg(path, kind)),
               qPrintable(main.notice()));
      const bool recoveryLock = lock == "VargaMapMaker.lock";
      QCOMPARE(main.recovery().isActive(), !recoveryLock);
      RecentProjects recent(settings);
      recent.add(home_.picture);
      QCOMPARE(recent.entries().isEmpty(), !recoveryLock);
    }
    QCOMPARE(QFileInfo(path).isDir(), kind == "folder");
    QVERIFY(!QFileInfo(path).isFile());
    if (kind == "pipe")
      QFile::remove(path);
    else
      QDir(path).removeRecursively();
    QFile::remove(settings);
  }

  void killedEditorIsRecoveredButNotWhileRunning() {
    QProcess child;
    QVERIFY2(startChild(child), child.readAllStandardError().constData());
    {
      // The child still runs: its copy is its own, nothing is offered.
      test::ScriptedDialogs dialogs;
      MainWindow second(&dialogs);
      QVERIFY(!second.recovery().isActive());
      second.offerRecovery();
      QVERIFY(dialogs.messages.isEmpty());
    }
    child.kill();
    QVERIFY(child.waitForFinished(10000));
    QVERIFY(RecoveryFile::exists(home()));
    QVERIFY(QFile::exists(RecoveryService::lockPath(home())));  // left behind, but stale

    test::ScriptedDialogs dialogs;
    MainWindow main(&dialogs);
    QVERIFY(main.recovery().isActive());  // the dead editor's lock is taken over
    main.show();
    dialogs.answers.push_back(MessageAnswer::Yes);
    main.offerRecovery();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.contains(QFileInfo(home_.picture).absoluteFilePath()));
    QVERIFY(main.mapView());
    const MapDocument &doc = main.session().document();
    for (int s = 0; s < kSectorsPerQuad; ++s)
      QCOMPARE(doc.value(kPaintedQuad, s, Plane::Element), kPaintedElement);
    QCOMPARE(doc.value(kPaintedQuad + 1, 0, Plane::Element), kUnassigned);
    QVERIFY(!main.session().history().isClean());

    // A normal exit removes the copy.
    dialogs.answers.push_back(MessageAnswer::Discard);
    QVERIFY(main.close());
    QVERIFY(!RecoveryFile::exists(home()));
  }
};

int main(int argc, char **argv) {
  if (argc == 3 && qstrcmp(argv[1], "--editor-child") == 0) return runEditorChild(argc, argv);
  QApplication app(argc, argv);
  TestRecovery test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "test_recovery.moc"
