// The varga-map tool, run as a process with no display, against the editor's own paths.
#include "app/widgets/MainWindow.h"
#include "app/widgets/StatusPanels.h"
#include "edits/EditCommand.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/MapSurfaces.h"
#include "mapview/widgets/MapViewWindow.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

namespace {

struct RunResult {
  int exitCode = -1;
  QString out;
  QString err;
};

// A picture with a colour gradient, so that a transparent fill shows what lies beneath.
QImage gradientPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
  return image;
}

}  // namespace

class TestCli : public QObject {
  Q_OBJECT

  QTemporaryDir home_;
  QTemporaryDir dir_;
  QString picture_;  // 240 x 120: 6 x 3 Quads
  QString map_;      // the editor's Varga export of the sample map
  QString project_;  // the picture and the sample map as the editor saves them in a project

  QString path(const QString &name) const { return dir_.filePath(name); }

  // Runs the tool with no display at all: neither X, Wayland nor a Qt platform is named.
  RunResult run(const QStringList &arguments) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      env.remove(QLatin1String(name));
    env.insert(QStringLiteral("VARGA_MAP_MAKER_HOME"), home_.path());
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VARGA_MAP_BIN), arguments);
    if (!process.waitForFinished(60000)) return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
  }

  // "Import Map Image" and "Import Map Data" of the test's files in the editor; false on failure.
  bool openInEditor(MainWindow &window, test::ScriptedDialogs &dialogs) const {
    if (!window.LoadMapImage(picture_)) return false;
    dialogs.openNames.push_back(map_);
    window.findChild<QAction *>("mnuImportMapData")->trigger();
    return dialogs.messages.isEmpty() && window.session().document().TotalQuads == 18;
  }

 private slots:
  void initTestCase() {
    QVERIFY(home_.isValid() && dir_.isValid());
    qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8());
    picture_ = path(QStringLiteral("map.png"));
    QVERIFY(gradientPicture(240, 120).save(picture_));
    // A 6 x 3 Quad map with mixed elements of every randomise family and heights, some -1.
    constexpr qint16 elements[] = {-1, 12, 10, 11, 8, 190, 174, 127, 146, 155, 3};
    MapDocument doc;
    doc.XQuads = 6;
    doc.YQuads = 3;
    doc.TotalQuads = 18;
    for (int quad = 0; quad < 18; ++quad)
      for (int s = 0; s < kSectorsPerQuad; ++s) {
        doc.setValue(quad, s, Plane::Element, elements[(quad * 5 + s) % std::size(elements)]);
        doc.setValue(quad, s, Plane::Height,
                     qint16((quad + s) % 7 ? (quad * 13 + s * 7) % 101 : -1));
      }
    map_ = path(QStringLiteral("sample.txt"));
    QVERIFY(SaveAsVargaTXT(doc, map_).ok);

    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    QVERIFY(openInEditor(window, dialogs));
    project_ = path(QStringLiteral("sample.vmap"));
    QVERIFY(window.session().saveProject(project_, window.session().editorState()).ok);
  }

  void renderEqualsTheEditorsView_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("drawStyle");  // the editor's: 1 transparent, 2 hollow
    QTest::newRow("terrain transparent png")
        << QStringList{"--view", "terrain", "--style", "transparent"} << 1;
    QTest::newRow("elevation colour hollow bmp")
        << QStringList{"--view", "elevation", "--style", "hollow", "--heights", "colour"} << 2;
  }

  void renderEqualsTheEditorsView() {
    QFETCH(QStringList, options);
    QFETCH(int, drawStyle);
    const Plane plane = options.contains("elevation") ? Plane::Height : Plane::Element;
    const QString out = path(plane == Plane::Height ? "e.bmp" : "t.png");
    QFile::remove(out);
    const RunResult result = run(QStringList{"render", picture_, map_, "-o", out} + options);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(result.out, QString());
    const QImage rendered = QImage(out).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(rendered.size(), QSize(240, 120));

    // The editor itself: Refresh Screen after importing the picture and the map.
    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    QVERIFY(openInEditor(window, dialogs));
    window.session().setDrawStyle(static_cast<DrawStyle>(drawStyle));
    if (options.contains("colour")) {
      // As the user does it: the Elevation panel of the status bar, then "Draw with Colour".
      emit window.statusPanels()->panelClicked(13, QStringLiteral("E"));
      window.findChild<QPushButton *>("Command3")->click();
      QCOMPARE(window.session().heightColourMode(), qint16(1));
    }
    window.repaintWholeMap();
    const QImage editorView = window.mapView()->surfaces().surface(plane);
    QVERIFY(rendered == editorView);
    // Something was painted: the view is not just the picture with its grid.
    MapSurfaces bare(gradientPicture(240, 120));
    bare.restoreWithGrid(plane);
    QVERIFY(rendered != bare.surface(plane));
  }

  void convertRewritesTheEditorsExports() {
    // The editor's Varga and Tolle exports after importing the sample map.
    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    QVERIFY(openInEditor(window, dialogs));
    const QString editorVarga = path("varga-editor.txt");
    const QString expected = path("tolle-editor.txt");
    dialogs.saveNames = {editorVarga, expected};
    window.findChild<QAction *>("mnuSave")->trigger();
    window.findChild<QAction *>("MnuTolle")->trigger();

    const QString varga = path("varga.txt");
    RunResult result = run({"convert", editorVarga, "--to", "varga", "-o", varga});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(test::readFile(varga), test::readFile(editorVarga));

    const QString tolle = path("tolle.txt");
    result = run({"convert", map_, "--to", "tolle", "-o", tolle});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(test::readFile(tolle), test::readFile(expected));
  }

  void checkReportsEveryProblem_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("expected");
    // Rows of element 1 and height 2, Sector 3 holding element 12 and Sector 5 height 40,
    // except where `elements` or `heights` give Quad q other text there.
    const auto rows = [](int count, const QHash<int, QByteArray> &elements = {},
                         const QHash<int, QByteArray> &heights = {}) {
      QByteArray text = "10\r\n \r\n6 X Max \r\n3 Y Max \r\n0\r\n0\r\nId\tE0\r\n&\r\n";
      for (int q = 0; q < count; ++q) {
        text += QByteArray::number(q) + '\t';
        for (int s = 0; s < 16; ++s) text += (s == 3 ? elements.value(q, "12") : "1") + '\t';
        for (int s = 0; s < 16; ++s) text += (s == 5 ? heights.value(q, "40") : "2") + '\t';
        text += "\r\n";
      }
      return text + "#\r\n";
    };
    QTest::newRow("clean") << rows(18) << 0
                           << QStringList{"Rows: 18", "Sectors with an element: 288",
                                          "Sectors with a height: 288", "No problems found."};
    QTest::newRow("element and height")
        << rows(18, {{2, "400"}, {12, "-5"}}, {{4, "150"}}) << 1
        << QStringList{"sample.txt:11: Quad 2 Sector 3: element id 400 is not in the catalogue",
                       "sample.txt:13: Quad 4 Sector 5: height 150 is outside 0..100",
                       "sample.txt:21: Quad 12 Sector 3: element id -5 is not in the catalogue",
                       "Problems: 3"};
    QTest::newRow("fewer rows") << rows(10) << 1
                                << QStringList{"Rows: 10",
                                               "sample.txt:18: the file has 10 Quad "
                                               "rows but the picture has 18 Quads"};
  }

  void checkReportsEveryProblem() {
    QFETCH(QByteArray, text);
    QFETCH(int, exitCode);
    QFETCH(QStringList, expected);
    const QString map = path(QStringLiteral("sample.txt.d/sample.txt"));
    QDir().mkpath(QFileInfo(map).path());
    QVERIFY(test::writeFile(map, text));
    const RunResult result = run({QStringLiteral("check"), picture_, map});
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(result.out.contains(QStringLiteral("240 x 120 pixels")));
    for (const QString &line : expected)
      QVERIFY2(result.out.contains(line), qPrintable(result.out));
    QCOMPARE(run({QStringLiteral("check"), picture_}).exitCode, 0);  // the picture alone is fine
  }

  void editEqualsTheEditorsBulkEdits_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("value");
    QTest::newRow("fill element") << QStringList{"--fill-element", "12"} << "mnuFill" << 12;
    QTest::newRow("trees") << QStringList{"--randomise", "trees", "--seed", "7"} << "R1" << 0;
  }

  void editEqualsTheEditorsBulkEdits() {
    QFETCH(QStringList, options);
    QFETCH(QString, action);
    QFETCH(int, value);
    const QString out = path(QStringLiteral("edited.txt"));
    QFile::remove(out);
    const RunResult result = run(QStringList{"edit", map_, "-o", out} + options);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QByteArray edited = test::readFile(out);
    QVERIFY(edited != test::readFile(map_));

    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    QVERIFY(openInEditor(window, dialogs));
    window.session().document().CurrentDrawElement = static_cast<qint16>(value);
    window.session().document().CurrentDrawHeight = static_cast<qint16>(value);
    if (options.contains(QStringLiteral("--seed")))
      window.session().setRandomSource(std::make_unique<MersenneRandomSource>(
          options.at(options.indexOf(QStringLiteral("--seed")) + 1).toUInt()));
    window.findChild<QAction *>(action)->trigger();
    QCOMPARE(edited, vargaMapText(window.session().document()));
  }

  void projectsStandInForPictureAndMap() {
    // pack makes the project the editor saves; unpack gives back both files byte for byte.
    const QString packed = path(QStringLiteral("packed.vmap"));
    RunResult result = run({"pack", picture_, map_, "-o", packed});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QString folder = path(QStringLiteral("unpacked/new folder"));
    result = run({"unpack", packed, "-o", folder});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    const QString picture = folder + QStringLiteral("/map.png");
    const QString map = folder + QStringLiteral("/packed.txt");
    QCOMPARE(result.out, QStringLiteral("Picture: %1\nMap: %2\n").arg(picture, map));
    QCOMPARE(test::readFile(picture), test::readFile(picture_));
    QCOMPARE(test::readFile(map), test::readFile(map_));

    // render, convert and check say of the project what they say of its two files.
    const QStringList renderOptions{"--view", "elevation", "--style", "hollow", "-o"};
    QVERIFY(run(QStringList{"render", picture_, map_} + renderOptions + QStringList{path("pm.png")})
                .exitCode == 0);
    QVERIFY(run(QStringList{"render", packed} + renderOptions + QStringList{path("p.png")}).exitCode == 0);
    QCOMPARE(test::readFile(path("p.png")), test::readFile(path("pm.png")));
    QVERIFY(run({"convert", map_, "--to", "tolle", "-o", path("pm.txt")}).exitCode == 0);
    QVERIFY(run({"convert", project_, "--to", "tolle", "-o", path("p.txt")}).exitCode == 0);
    QCOMPARE(test::readFile(path("p.txt")), test::readFile(path("pm.txt")));
    result = run({"check", project_});
    QCOMPARE(result.exitCode, 0);
    for (const QString &line : {QStringLiteral("Picture: map.png in %1, 240 x 120 pixels").arg(project_),
                                QStringLiteral("Rows: 18"), QStringLiteral("No problems found.")})
      QVERIFY2(result.out.contains(line), qPrintable(result.out));

    // An element the catalogue does not know, found in the project as in the map file.
    QByteArray text = test::readFile(map_);
    const QByteArray row2("\r\n2\t");
    const qsizetype at = text.indexOf(row2) + row2.size();
    text.replace(at, text.indexOf('\t', at) - at, "400");
    QVERIFY(test::writeFile(path("unknown.txt"), text));
    QVERIFY(run({"pack", picture_, path("unknown.txt"), "-o", path("unknown.vmap")}).exitCode == 0);
    result = run({"check", path("unknown.vmap")});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.out.contains(path("unknown.vmap") +
                                 ": Quad 2 Sector 0: element id 400 is not in the catalogue"),
             qPrintable(result.out));
  }

  void failuresWriteNothing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString out = QStringLiteral("OUT");
    QTest::newRow("unknown command") << QStringList{"draw"} << "\"draw\" is not a command";
    QTest::newRow("missing map file")
        << QStringList{"convert", "NOMAP", "--to", "varga", "--picture", "PIC", "-o", out}
        << "could not be read";
    QTest::newRow("refused picture") << QStringList{"render", "BADPIC", "MAP", "-o", out}
                                     << "is not divisable by 120 and is Invalid.";
    QTest::newRow("map text stops")
        << QStringList{"convert", "STOPMAP", "--to", "tolle", "-o", out} << "stopped at line 9";
    QTest::newRow("height out of range")
        << QStringList{"edit", "MAP", "--fill-height", "101", "-o", out} << "from 0 to 100";
    QTest::newRow("output not writable")
        << QStringList{"convert", "MAP", "--to", "varga", "-o", "NODIR"} << "could not be written";
    QTest::newRow("pack without -o") << QStringList{"pack", "PIC", "MAP"}
                                     << "give the project to write with -o";
    QTest::newRow("refused project")
        << QStringList{"unpack", "BADPROJECT", "-o", "NODIR"}
        << "The map project \"" + QDir::toNativeSeparators(QDir::tempPath()) + "/";
    QTest::newRow("project and map") << QStringList{"render", "PROJECT", "MAP", "-o", out}
                                     << "a map project holds its map: give no MAP with it";
    QTest::newRow("project and picture")
        << QStringList{"convert", "PROJECT", "--picture", "PIC", "--to", "varga", "-o", out}
        << "give no --picture with it";
  }

  void failuresWriteNothing() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QString out = path(QStringLiteral("out.bmp"));
    const QString badPicture = path(QStringLiteral("bad.png"));
    QVERIFY(gradientPicture(250, 120).save(badPicture));
    const QString stopMap = path(QStringLiteral("stop.txt"));
    QVERIFY(test::writeFile(
        stopMap, "10\r\n \r\n6 X Max \r\n3 Y Max \r\n0\r\n0\r\nId\r\n&\r\n0\t1\t99999\t\r\n#\r\n"));
    const QHash<QString, QString> placeholders{{"OUT", out},
                                               {"PIC", picture_},
                                               {"BADPIC", badPicture},
                                               {"MAP", map_},
                                               {"STOPMAP", stopMap},
                                               {"NOMAP", path("none.txt")},
                                               {"NODIR", path("none/out.txt")},
                                               {"PROJECT", project_},
                                               {"BADPROJECT", path("bad.vmap")}};
    QVERIFY(test::writeFile(path("bad.vmap"), "not a project"));
    for (QString &argument : arguments) argument = placeholders.value(argument, argument);

    QVERIFY(test::writeFile(out, "earlier"));
    const RunResult result = run(arguments);
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.err.startsWith(QLatin1String("varga-map")));
    QCOMPARE(test::readFile(out), QByteArray("earlier"));
    QCOMPARE(QDir(dir_.path()).entryList({"*.new", "out.bmp.*"}, QDir::Files), QStringList());
    QVERIFY(!QFile::exists(path("none")));
  }

  void helpForOneCommand() {
    const RunResult result = run({QStringLiteral("edit"), QStringLiteral("--help")});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.startsWith(QStringLiteral("Usage: varga-map edit [options]")),
             qPrintable(result.out));
  }
};

QTEST_MAIN(TestCli)
#include "test_cli.moc"
