#include "app/RecoveryService.h"
#include "app/widgets/MDIfrmMain.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/widgets/SurfaceWidget.h"
#include "mapview/widgets/frmMapView.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include <cstdio>

using namespace vmm;

namespace {

using namespace std::chrono_literals;

constexpr auto kQuickTiming = RecoveryService::Timing{100ms, 0ms};

// The Sectors the editor in the child process paints: Quad 3 full of element 4.
constexpr int kPaintedQuad = 3;
constexpr qint16 kPaintedElement = 4;

// Imports the picture and paints one Quad in Draw Quad mode; false when the picture was refused.
bool paintQuad(MDIfrmMain &main, const QString &picture, int quad) {
  main.show();
  main.recovery().setTiming(kQuickTiming);
  if (main.LoadMapImage(picture) != 0) return false;
  main.setEditMode(1);
  main.document().CurrentDrawElement = kPaintedElement;
  test::dragLeft(main.mapView()->Picture2(), {test::sectorCentre(quad, 5)});
  return true;
}

// The editor run as a separate process that the test kills: it paints one Quad,
// waits for its recovery copy and reports "ready".
int runEditorChild(int argc, char **argv) {
  QApplication app(argc, argv);
  test::ScriptedDialogs dialogs;
  MDIfrmMain main(&dialogs);
  QObject::connect(&main.recovery(), &RecoveryService::written, [] {
    std::fputs("ready\n", stdout);
    std::fflush(stdout);
  });
  if (!paintQuad(main, QString::fromLocal8Bit(argv[2]), kPaintedQuad)) return 2;
  return app.exec();  // until killed
}

void kill(QProcess &process) {
  process.kill();
  process.waitForFinished(10000);
}

}  // namespace

class TestRecovery : public QObject {
  Q_OBJECT

  test::EditorHome home_;

  QString home() const { return home_.dir.path(); }

  // Starts the editor process (on this data folder) and waits until it holds the lock and wrote its
  // copy.
  bool startChild(QProcess &child) {
    child.start(QCoreApplication::applicationFilePath(), {"--editor-child", home_.picture});
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 60000) {
      if (child.waitForReadyRead(500) && child.readAll().contains("ready")) return true;
      if (child.state() == QProcess::NotRunning) return false;
    }
    return false;
  }

 private slots:
  void init() { RecoveryFile::remove(home()); }

  void fileRoundTripAndForeignFile() {
    QTemporaryDir folder;
    const RecoveryContent content{QStringLiteral("/maps/Städte und Wälder.jpg"),
                                  QByteArrayLiteral("header\r\n&\r\n0 1 2\r\n#\r\n")};
    QVERIFY(RecoveryFile::write(folder.path(), content).ok);
    const auto read = RecoveryFile::read(folder.path());
    QVERIFY(read);
    QCOMPARE(read->picturePath, content.picturePath);
    QCOMPARE(read->mapText, content.mapText);

    QString error;
    QFile other(RecoveryFile::path(folder.path()));
    QVERIFY(other.open(QIODevice::WriteOnly) && other.write("some other file\n") > 0);
    other.close();
    QVERIFY(!RecoveryFile::read(folder.path(), &error));
    QVERIFY(error.contains("not a recovery file"));
  }

  void writesAfterAPauseAndAtMostOnceAnInterval() {
    QTemporaryDir folder;
    int version = 0;
    RecoveryService service(folder.path(), [&version] {
      return RecoveryContent{QStringLiteral("p.jpg"), QByteArray::number(++version)};
    });
    service.setTiming({150ms, 1000ms});
    QSignalSpy written(&service, &RecoveryService::written);
    service.scheduleWrite();
    QTest::qWait(60);
    service.scheduleWrite();  // still changing: the pause starts again
    QTest::qWait(100);
    QCOMPARE(written.size(), 0);
    QVERIFY(written.wait(1000));
    QCOMPARE(RecoveryFile::read(folder.path())->mapText, QByteArray("1"));

    QElapsedTimer sinceFirst;
    sinceFirst.start();
    service.scheduleWrite();
    QTest::qWait(400);
    QCOMPARE(written.size(), 1);  // paused, but the interval is not over
    QVERIFY(written.wait(2000));
    QVERIFY(sinceFirst.elapsed() >= 800);
    QCOMPARE(RecoveryFile::read(folder.path())->mapText, QByteArray("2"));

    service.scheduleWrite();
    service.discard();
    QVERIFY(!service.isWritePending());
    QVERIFY(!RecoveryFile::exists(folder.path()));
  }

  void editorWritesTheCopyAndANormalExitRemovesIt() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    QSignalSpy written(&main.recovery(), &RecoveryService::written);
    QVERIFY(paintQuad(main, home_.picture, 1));
    QVERIFY(written.wait(2000));
    const auto copy = RecoveryFile::read(home());
    QVERIFY(copy);
    QCOMPARE(copy->picturePath, QFileInfo(home_.picture).absoluteFilePath());
    QCOMPARE(copy->mapText, vargaMapText(main.document()));

    // Saved work needs no copy; undoing away from the save brings it back.
    dialogs.saveNames.push_back(home_.filePath("saved.txt"));
    test::trigger(&main, "mnuSave");
    QVERIFY(!RecoveryFile::exists(home()));
    main.history().undo();
    QVERIFY(written.wait(2000));
    QVERIFY(RecoveryFile::exists(home()));

    dialogs.answers.push_back(MessageAnswer::Discard);
    QVERIFY(main.close());
    QVERIFY(!RecoveryFile::exists(home()));
  }

  void killedEditorIsRecoveredButNotWhileRunning() {
    QProcess child;
    QVERIFY2(startChild(child), child.readAllStandardError().constData());
    {
      // The child still runs: its copy is its own, nothing is offered.
      test::ScriptedDialogs dialogs;
      MDIfrmMain second(&dialogs);
      QVERIFY(!second.recovery().isActive());
      second.offerRecovery();
      QVERIFY(dialogs.messages.isEmpty());
    }
    kill(child);
    QVERIFY(RecoveryFile::exists(home()));

    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    main.show();
    dialogs.answers.push_back(MessageAnswer::Yes);
    main.offerRecovery();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(dialogs.messages[0].text.contains(QFileInfo(home_.picture).absoluteFilePath()));
    QVERIFY(main.mapView());
    const MapDocument &doc = main.document();
    for (int s = 0; s < kSectorsPerQuad; ++s)
      QCOMPARE(doc.value(kPaintedQuad, s, Plane::Element), kPaintedElement);
    QCOMPARE(doc.value(kPaintedQuad + 1, 0, Plane::Element), kUnassigned);
    QCOMPARE(doc.TotalQuads, qint16(18));
    QCOMPARE(main.mapView()
                 ->surfaces()
                 .surface(MapView::Terrain)
                 .pixelColor(test::sectorCentre(kPaintedQuad, 5)),
             test::gdiColour(main.elementTable().colour(kPaintedElement)));
    QVERIFY(!main.history().isClean());

    // A normal exit ends the story.
    dialogs.answers.push_back(MessageAnswer::Discard);
    QVERIFY(main.close());
    QVERIFY(!RecoveryFile::exists(home()));
  }

  void declinedRecoveryIsDropped() {
    {
      RecoveryService leftBehind(home(), [this] {
        return RecoveryContent{home_.picture, QByteArray("&\r\n0 1\r\n#\r\n")};
      });
      QVERIFY(leftBehind.writeNow());
    }  // gone without a normal exit, as after a crash
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    dialogs.answers.push_back(MessageAnswer::No);
    main.offerRecovery();
    QCOMPARE(dialogs.messages.size(), 1);
    QVERIFY(!main.mapView());
    QVERIFY(!RecoveryFile::exists(home()));
    main.offerRecovery();
    QCOMPARE(dialogs.messages.size(), 1);
  }

#ifdef EDITOR_BIN
  void runningEditorHoldsTheLock() {
    QTemporaryDir other;
    QProcess editor;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VARGA_MAP_MAKER_HOME", other.path());
    editor.setProcessEnvironment(env);
    editor.start(QStringLiteral(EDITOR_BIN));
    QVERIFY(editor.waitForStarted(10000));
    // The lock appears once the main window is up, after the splash.
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(RecoveryService::lockPath(other.path())), 60000);
    auto source = [] { return RecoveryContent{}; };
    QVERIFY(!RecoveryService(other.path(), source).isActive());
    kill(editor);
    QVERIFY(QFile::exists(RecoveryService::lockPath(other.path())));  // left behind
    QVERIFY(RecoveryService(other.path(), source).isActive());        // but stale
  }
#endif
};

int main(int argc, char **argv) {
  if (argc == 3 && qstrcmp(argv[1], "--editor-child") == 0) return runEditorChild(argc, argv);
  QApplication app(argc, argv);
  TestRecovery test;
  QTEST_SET_MAIN_SOURCE_PATH
  return QTest::qExec(&test, argc, argv);
}

#include "test_recovery.moc"
