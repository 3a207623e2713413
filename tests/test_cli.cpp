// SPDX-License-Identifier: GPL-3.0-or-later
// The varga-map tool, run as a process with no display, against the editor's own paths.
#include "catalogue/CatalogueDatabase.h"
#include "edits/EditCommand.h"
#include "learning/SectorFeatures.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureLoader.h"
#include "mapfiles/ProjectFile.h"
#include "mapview/MapSurfaces.h"
#include "support/ProjectFixtures.h"
#include "support/TerrainPicture.h"
#include "support/TestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/MapViewWindow.h"

#include <QAction>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cstdlib>

#include <sys/stat.h>
#include <sys/sysmacros.h>

using namespace vmm;

namespace {

struct RunResult {
  int exitCode = -1;
  QString out;
  QString err;
  QByteArray outBytes;  // the standard output as written, for a picture written there
};

// A picture with a colour gradient, so that a transparent fill shows what lies beneath.
QImage gradientPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
  return image;
}

// A map file's start and `count` Quad rows of element 1 and height 2, Sector 3 holding
// element 12 and Sector 5 height 40, except where `elements` or `heights` give Quad q
// other text there; no end marker.
QByteArray quadRows(int count, const QHash<int, QByteArray> &elements = {},
                    const QHash<int, QByteArray> &heights = {}) {
  QByteArray text = "10\r\n \r\n6 X Max \r\n3 Y Max \r\n0\r\n0\r\nId\tE0\r\n&\r\n";
  for (int q = 0; q < count; ++q) {
    text += QByteArray::number(q) + '\t';
    for (int s = 0; s < 16; ++s) text += (s == 3 ? elements.value(q, "12") : "1") + '\t';
    for (int s = 0; s < 16; ++s) text += (s == 5 ? heights.value(q, "40") : "2") + '\t';
    text += "\r\n";
  }
  return text;
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
  RunResult run(const QStringList &arguments, const QString &home = {}) const {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
      env.remove(QLatin1String(name));
    env.insert(QStringLiteral("VARGA_MAP_MAKER_HOME"), home.isEmpty() ? home_.path() : home);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VARGA_MAP_BIN), arguments);
    if (!process.waitForFinished(60000)) return {};
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(out), QString::fromLocal8Bit(process.readAllStandardError()),
            out};
  }

  // The arguments with PIC, MAP and PROJECT, and the names in `more`, replaced by their paths.
  QStringList resolved(QStringList arguments, const QHash<QString, QString> &more = {}) const {
    const QHash<QString, QString> files{{"PIC", picture_}, {"MAP", map_}, {"PROJECT", project_}};
    for (QString &argument : arguments)
      argument = more.value(argument, files.value(argument, argument));
    return arguments;
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
    EditorSession session;
    QVERIFY(test::startSampleMap(session, picture_));
    map_ = path(QStringLiteral("sample.txt"));
    QVERIFY(SaveAsVargaTXT(session.document(), map_).ok);
    project_ = path(QStringLiteral("sample.vmap"));
    QVERIFY(session.saveProject(project_, session.editorState()).ok);
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

  // A thumbnail is the Terrain map render draws of the project, scaled down to fit SIZE x
  // SIZE with its proportions kept, never enlarged, always a PNG.
  void thumbnailIsTheRenderScaled_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("128") << 128 << QSize(128, 64);
    QTest::newRow("a size that rounds") << 75 << QSize(75, 37);
    QTest::newRow("a single pixel") << 1 << QSize(1, 1);
    QTest::newRow("larger than the map") << 1024 << QSize(240, 120);
  }

  void thumbnailIsTheRenderScaled() {
    QFETCH(int, size);
    QFETCH(QSize, expected);
    const QString full = path("full.png");
    const QString thumbnail = path("thumbnail.bmp");  // named as the thumbnailer likes
    RunResult result = run({"render", project_, "-o", full});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    result = run({"render", "--thumbnail", QString::number(size), "-o", thumbnail, "--", project_});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY(test::readFile(thumbnail).startsWith("\x89PNG"));
    const QImage made = QImage(thumbnail).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(made.size(), expected);
    const QImage scaled = QImage(full)
                              .convertToFormat(QImage::Format_RGB32)
                              .scaled(expected, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    // Each pixel the average of what it covers, give or take rounding.
    int worst = 0;
    for (int y = 0; y < expected.height(); ++y)
      for (int x = 0; x < expected.width(); ++x) {
        const QRgb a = made.pixel(x, y), b = scaled.pixel(x, y);
        worst = std::max({worst, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b))});
      }
    QVERIFY2(worst <= 2, qPrintable(QString::number(worst)));
  }

  // A file manager hands the thumbnailer whatever file claims to be a project: a hostile
  // one gets no thumbnail, exit status 2 and a message, within seconds.
  void thumbnailerRefusesHostileProjects_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("truncated") << "truncated"
                               << "cannot be opened";
    QTest::newRow("SQLite header alone") << "header"
                                         << "cannot be opened";
    QTest::newRow("1 GB picture declared") << "huge picture"
                                           << "the picture declares";
    QTest::newRow("picture declaring 60000 x 60000") << "giant"
                                                     << "is too large";
    QTest::newRow("a pipe") << "pipe"
                            << "pipe";
    QTest::newRow("a folder") << "folder"
                              << "cannot be opened";
  }

  void thumbnailerRefusesHostileProjects() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QTemporaryDir folder;
    const QString hostile = folder.filePath("hostile.vmap");
    const QByteArray valid = test::readFile(project_);
    if (kind == "truncated") {
      QVERIFY(test::writeFile(hostile, valid.left(valid.size() / 2)));
    } else if (kind == "header") {
      QVERIFY(test::writeFile(hostile, QByteArray("SQLite format 3\0", 16)));
    } else if (kind == "huge picture") {
      QVERIFY(test::writeFile(hostile, test::declareHugePicture(valid, 999'999'000)));
    } else if (kind == "giant") {
      QVERIFY(QFile::copy(project_, hostile));
      QVERIFY(test::runSql(hostile, {"UPDATE picture SET bytes = ?"},
                           test::jpegDeclaring(60000, 60000)));
    } else if (kind == "pipe") {
      QVERIFY(::mkfifo(QFile::encodeName(hostile).constData(), 0600) == 0);
    } else {
      QVERIFY(QDir().mkpath(hostile));
    }
    const QString out = folder.filePath("thumbnail.png");
    QElapsedTimer timer;
    timer.start();
    const RunResult result = run({"render", "--thumbnail", "256", "-o", out, "--", hostile});
    QVERIFY2(timer.elapsed() < 10000, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(!QFile::exists(out));
    QCOMPARE(QDir(folder.path()).entryList({"thumbnail*"}, QDir::Files | QDir::Hidden),
             QStringList());
  }

  // The Varga writer is compared with the editor's in editEqualsTheEditorsEdits.
  void convertRewritesTheEditorsExports() {
    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    QVERIFY(openInEditor(window, dialogs));
    const QString expected = path("tolle-editor.txt");
    dialogs.saveNames = {expected};
    window.findChild<QAction *>("MnuTolle")->trigger();
    const QString tolle = path("tolle.txt");
    const RunResult result = run({"convert", map_, "--to", "tolle", "-o", tolle});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(test::readFile(tolle), test::readFile(expected));
  }

  void checkStatsAndJson_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("kinds");   // of the problems, in line order
    QTest::addColumn<QList<int>>("places");   // quad and sector of each (-1: none)
    QTest::addColumn<QList<int>>("unknown");  // element id and height counted as not known
    QTest::addColumn<QStringList>("lines");   // in the text report, besides the problems
    QTest::newRow("clean") << quadRows(18) + "#" << 0 << QStringList{} << QList<int>{}
                           << QList<int>{}
                           << QStringList{"240 x 120 pixels", "Rows: 18",
                                          "Sectors with an element: 288", "No problems found."};
    QTest::newRow("each kind of Sector")
        << quadRows(18, {{2, "400"}, {9, "-1"}, {12, "-5"}}, {{4, "150"}}) << 1
        << QStringList{"unknown-element", "height-out-of-range", "unassigned-sectors",
                       "unknown-element"}
        << QList<int>{2, 3, 4, 5, 9, 3, 12, 3} << QList<int>{-5, 400, 150}
        << QStringList{"stats.txt:11: Quad 2 Sector 3: element id 400 is not in the catalogue",
                       "Problems: 4"};
    QTest::newRow("fewer rows, one cut short")
        << quadRows(10) + "10\t1\t1" << 1 << QStringList{"row-count", "partial-row"}
        << QList<int>{-1, -1, 10, -1} << QList<int>{} << QStringList{"Rows: 10"};
    QTest::newRow("stops") << quadRows(4) + "4\t1\tx" << 1 << QStringList{"stopped"}
                           << QList<int>{-1, -1} << QList<int>{} << QStringList{};
    // Read completely, a file without rows leaves the editor a map of none.
    QTest::newRow("no marker") << QByteArray("10\r\n") << 1 << QStringList{"no-marker"}
                               << QList<int>{-1, -1} << QList<int>{} << QStringList{};
  }

  void checkStatsAndJson() {
    QFETCH(QByteArray, text);
    QFETCH(int, exitCode);
    QFETCH(QStringList, kinds);
    QFETCH(QList<int>, places);
    QFETCH(QList<int>, unknown);
    QFETCH(QStringList, lines);
    const QString map = path(QStringLiteral("stats.txt"));
    QVERIFY(test::writeFile(map, text));
    const RunResult json = run({"check", picture_, map, "--stats", "--format", "json"});
    QCOMPARE(json.exitCode, exitCode);
    QJsonParseError error;
    const QJsonObject report = QJsonDocument::fromJson(json.out.toUtf8(), &error).object();
    QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(json.out));
    QCOMPARE(report["picture"]["totalQuads"].toInt(), 18);

    // The problems as the text report lists them, with their kind and Sector.
    const RunResult plain = run({"check", picture_, map, "--stats"});
    QCOMPARE(plain.exitCode, exitCode);
    QStringList foundKinds;
    QList<int> foundPlaces;
    for (const QJsonValue &problem : report["problems"].toArray()) {
      foundKinds << problem["kind"].toString();
      foundPlaces << problem["quad"].toInt(-1) << problem["sector"].toInt(-1);
      lines << QStringLiteral("stats.txt:%1: %2")
                   .arg(problem["line"].toInt())
                   .arg(problem["text"].toString());
    }
    QCOMPARE(foundKinds, kinds);
    QCOMPARE(foundPlaces, places);

    // The counts: what the editor's Legend shows after importing the picture and the map.
    MainWindow window;
    QVERIFY(window.LoadMapImage(picture_));
    QVERIFY(applyMapText(parseMapText(text), window.session().document(), map).rowsRead >= 0);
    const MapStatistics &expected = window.session().statistics();
    const QJsonObject statistics = report["statistics"].toObject();
    QCOMPARE(statistics["sectors"].toInt(), expected.sectors());
    QCOMPARE(statistics["unassignedHeights"].toInt(), expected.unassigned(Plane::Height));
    int counted = statistics["unassignedElements"].toInt();
    QCOMPARE(counted, expected.unassigned(Plane::Element));
    QList<int> notKnown;
    for (const QJsonValue &element : statistics["elements"].toArray()) {
      const auto id = qint16(element["id"].toInt());
      QCOMPARE(element["sectors"].toInt(), expected.count(Plane::Element, id));
      if (!element["inCatalogue"].toBool()) notKnown << id;
      counted += element["sectors"].toInt();
    }
    for (const QJsonValue &height : statistics["heights"].toArray()) {
      QCOMPARE(height["sectors"].toInt(),
               expected.count(Plane::Height, qint16(height["height"].toInt())));
      if (!height["inRange"].toBool()) notKnown << height["height"].toInt();
    }
    QCOMPARE(counted, expected.sectors());
    QCOMPARE(notKnown, unknown);
    lines << QStringLiteral("Sectors without a height: %1")
                 .arg(statistics["unassignedHeights"].toInt());
    for (const QString &line : lines) QVERIFY2(plain.out.contains(line), qPrintable(plain.out));
  }

  // A map text of the most rows the reader takes goes through every command in time linear
  // in its size (a history of one value at a time once took 14 to 23 seconds here).
  void fullSizeMapTexts_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("convert") << QStringList{"convert", "BIG", "--to", "varga", "-o", "OUT"};
    QTest::newRow("check --stats") << QStringList{"check", "PIC", "BIG", "--stats"};
    QTest::newRow("pack") << QStringList{"pack", "PIC", "BIG", "-o", "OUT.vmap"};
  }

  void fullSizeMapTexts() {
    QFETCH(QStringList, arguments);
    const QString big = path(QStringLiteral("5001 rows.txt"));
    if (!QFileInfo::exists(big)) QVERIFY(test::writeFile(big, quadRows(5001) + "#"));
    QElapsedTimer clock;
    clock.start();
    const RunResult result = run(resolved(
        arguments, {{"BIG", big}, {"OUT", path("big.txt")}, {"OUT.vmap", path("big.vmap")}}));
    QVERIFY2(result.exitCode == 0 || result.exitCode == 1, qPrintable(result.err));
    QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
  }

  // A catalogue's names are plain text in the report: no "%3" filled in, no control byte.
  void statisticsShowNamesAsPlainText() {
    const QString catalogue = path(QStringLiteral("odd names.db"));
    QVERIFY(CatalogueDatabase::createDefaultFile(catalogue).ok);
    QVERIFY(test::runSql(catalogue, {"UPDATE tblElements SET ElementType = ? WHERE elementid = 1"},
                         QStringLiteral("Sectors%3\x1b[31m\nNext")));
    const QString map = path(QStringLiteral("odd names.txt"));
    QVERIFY(test::writeFile(map, quadRows(18) + "#"));
    const RunResult result = run({"check", picture_, map, "--stats", "--catalogue", catalogue});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.out.contains("Element Sectors%3\\u001b[31m\\nNext (id 1): 270 Sectors\n"),
             qPrintable(result.out));
    QVERIFY(!result.out.contains(QChar(0x1b)));
  }

  // The picture alone: its size and no problems.
  void checkOfThePictureAlone() {
    const RunResult result = run({"check", picture_, "--format", "json"});
    QCOMPARE(result.exitCode, 0);
    const QJsonObject report = QJsonDocument::fromJson(result.out.toUtf8()).object();
    QCOMPARE(report["picture"]["width"].toInt(), 240);
    QVERIFY(report["problems"].toArray().isEmpty() && !report.contains("map"));
  }

  void editEqualsTheEditorsEdits_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("action");
    QTest::addColumn<int>("value");     // the element or height to paint with
    QTest::addColumn<int>("replaced");  // the value the replace dialog is told; -2: none asked
    QTest::newRow("fill element") << QStringList{"--fill-element", "12"} << "mnuFill" << 12 << -2;
    QTest::newRow("trees") << QStringList{"--randomise", "trees", "--seed", "7"} << "R1" << 0 << -2;
    QTest::newRow("replace element")
        << QStringList{"--replace-element", "12:3"} << "mnuReplaceElement" << 3 << 12;
    QTest::newRow("replace height")
        << QStringList{"--replace-height", "7:50"} << "mnuReplaceHeight" << 50 << 7;
  }

  void editEqualsTheEditorsEdits() {
    QFETCH(QStringList, options);
    QFETCH(QString, action);
    QFETCH(int, value);
    QFETCH(int, replaced);
    const QString out = path(QStringLiteral("edited.txt"));
    QFile::remove(out);
    const RunResult result = run(QStringList{"edit", map_, "-o", out} + options);
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QVERIFY2(result.err.contains(QLatin1String("Sectors changed")), qPrintable(result.err));
    const QByteArray edited = test::readFile(out);
    QVERIFY(edited != test::readFile(map_));

    test::ScriptedDialogs dialogs;
    MainWindow window(&dialogs);
    QVERIFY(openInEditor(window, dialogs));
    MapDocument &doc = window.session().document();
    doc.CurrentDrawElement = static_cast<qint16>(value);
    doc.CurrentDrawHeight = static_cast<qint16>(value);
    if (options.contains(QStringLiteral("--seed")))
      window.session().setRandomSource(std::make_unique<MersenneRandomSource>(
          options.at(options.indexOf(QStringLiteral("--seed")) + 1).toUInt()));
    if (replaced != -2)
      dialogs.replacedValues = {action == QLatin1String("mnuReplaceElement")
                                    ? window.session().elementName(qint16(replaced))
                                    : QString::number(replaced)};
    window.findChild<QAction *>(action)->trigger();
    QCOMPARE(edited, vargaMapText(doc));
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

    // render and check say of the project what they say of its two files.
    const QStringList renderOptions{"--view", "elevation", "--style", "hollow", "-o"};
    QVERIFY(run(QStringList{"render", picture_, map_} + renderOptions + QStringList{path("pm.png")})
                .exitCode == 0);
    QVERIFY(
        run(QStringList{"render", packed} + renderOptions + QStringList{path("p.png")}).exitCode ==
        0);
    QCOMPARE(test::readFile(path("p.png")), test::readFile(path("pm.png")));
    // check finds the problems of the two files in the project, without line numbers.
    const RunResult files = run({"check", picture_, map_});
    result = run({"check", project_});
    QCOMPARE(result.exitCode, files.exitCode);
    QVERIFY2(result.out.contains(
                 QStringLiteral("Picture: map.png in %1, 240 x 120 pixels").arg(project_)),
             qPrintable(result.out));
    QStringList fromFiles, fromProject;
    const QRegularExpression filePrefix(QRegularExpression::escape(map_) + ":[0-9]+: ");
    for (const QString &line : files.out.split(QLatin1Char('\n')))
      if (const QRegularExpressionMatch match = filePrefix.match(line); match.hasMatch())
        fromFiles << project_ + ": " + line.mid(match.capturedLength());
    for (const QString &line : result.out.split(QLatin1Char('\n')))
      if (line.startsWith(project_ + ": ")) fromProject << line;
    QVERIFY(!fromFiles.isEmpty());
    QCOMPARE(fromProject, fromFiles);
  }

  // unpack writes over no existing file unless --force is given, and never over the project
  // it reads, even when the picture's stored name is the project's own.
  void unpackReplacesNothingUnasked() {
    const QString folder = path(QStringLiteral("clash"));
    const QString source = path(QStringLiteral("clash source"));
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(source));
    QVERIFY(QFile::copy(picture_, source + QStringLiteral("/battle.vmap")));
    // The project bears its picture's name.
    const QString picture = folder + QStringLiteral("/battle.vmap");
    QVERIFY(run({"pack", source + QStringLiteral("/battle.vmap"), map_, "-o", picture}).exitCode ==
            0);
    const QByteArray projectBytes = test::readFile(picture);

    for (const QStringList &force : {QStringList{}, QStringList{"--force"}}) {
      const RunResult result = run(QStringList{"unpack", picture, "-o", folder} + force);
      QCOMPARE(result.exitCode, 2);
      QVERIFY2(result.err.contains(
                   QStringLiteral("\"%1\" is the project being unpacked; nothing was written")
                       .arg(picture)),
               qPrintable(result.err));
      QCOMPARE(test::readFile(picture), projectBytes);
      QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"battle.vmap"});
    }

    // Another file of the picture's name stays unless --force is given.
    const QString elsewhere = path(QStringLiteral("clash/elsewhere"));
    const QString earlier = elsewhere + QStringLiteral("/battle.vmap");
    QVERIFY(QDir().mkpath(elsewhere) && test::writeFile(earlier, "the user's"));
    RunResult result = run({"unpack", picture, "-o", elsewhere});
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(QStringLiteral("\"%1\" already exists; nothing was written "
                                                "(give --force to replace it)")
                                     .arg(earlier)),
             qPrintable(result.err));
    QCOMPARE(QDir(elsewhere).entryList(QDir::Files), QStringList{"battle.vmap"});
    QCOMPARE(test::readFile(earlier), QByteArray("the user's"));
    result = run({"unpack", picture, "-o", elsewhere, "--force"});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(test::readFile(earlier), test::readFile(picture_));
  }

  // Whatever picture name pack stores, every reader opens; only unpacking makes it safe.
  void packedNamesOpenAgain_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("unpacked");
    QTest::newRow("colon") << "scan 12:30.png"
                           << "scan 12_30.png";
    QTest::newRow("backslash") << "a\\b.png"
                               << "a_b.png";
    QTest::newRow("tab, newline, escape") << "t\tn\ne\x1b.png"
                                          << "t_n_e_.png";
  }

  void packedNamesOpenAgain() {
    QFETCH(QString, name);
    QFETCH(QString, unpacked);
    QTemporaryDir folder;
    const QString picture = folder.filePath(name);
    QVERIFY(QFile::copy(picture_, picture));
    const QString project = folder.filePath(QStringLiteral("x.vmap"));
    RunResult result = run({"pack", picture, map_, "-o", project});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    result = run({"check", project});
    QVERIFY2(result.exitCode == 0 || result.exitCode == 1, qPrintable(result.err));
    result = run({"unpack", project, "-o", folder.filePath("out")});
    QVERIFY2(result.exitCode == 0, qPrintable(result.err));
    QCOMPARE(test::readFile(folder.filePath("out/" + unpacked)), test::readFile(picture_));
  }

  void failuresWriteNothing_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QString out = QStringLiteral("OUT");
    QTest::newRow("unknown command") << QStringList{"draw"} << "\"draw\" is not a command";
    QTest::newRow("refused picture") << QStringList{"render", "BADPIC", "MAP", "-o", out}
                                     << "is not divisable by 120 and is Invalid.";
    QTest::newRow("map text stops")
        << QStringList{"convert", "STOPMAP", "--to", "tolle", "-o", out} << "stopped at line 9";
    QTest::newRow("height out of range")
        << QStringList{"edit", "MAP", "--fill-height", "101", "-o", out} << "from 0 to 100";
    QTest::newRow("replacement without a colon")
        << QStringList{"edit", "MAP", "--replace-element", "12", "-o", out} << "needs FROM:TO";
    QTest::newRow("replacement by an element the catalogue lacks")
        << QStringList{"edit", "MAP", "--replace-element", "12:400", "-o", out}
        << "holds no element with the id 400";
    QTest::newRow("a replacement and a fill")
        << QStringList{"edit", "MAP", "--replace-height", "7:8", "--fill-height", "3", "-o", out}
        << "give exactly one of";
    QTest::newRow("output not writable")
        << QStringList{"convert", "MAP", "--to", "varga", "-o", "NODIR"} << "could not be written";
    QTest::newRow("map is a pipe")
        << QStringList{"convert", "PIPE", "--picture", "PIC", "--to", "varga", "-o", out}
        << "the map file \"PIPE\" could not be read: it is a pipe, not a file";
    QTest::newRow("catalogue is a pipe")
        << QStringList{"render", "PIC", "MAP", "--catalogue", "PIPE", "-o", out}
        << "the catalogue \"PIPE\" is a pipe, not a file";
    QTest::newRow("pack without -o")
        << QStringList{"pack", "PIC", "MAP"} << "give the project to write with -o";
    QTest::newRow("pack to the standard output")
        << QStringList{"pack", "PIC", "MAP", "-o", "-"}
        << "a project cannot be written to the standard output";
    QTest::newRow("refused project")
        << QStringList{"unpack", "BADPROJECT", "-o", "NODIR"}
        << "The map project \"" + QDir::toNativeSeparators(QDir::tempPath()) + "/";
    QTest::newRow("project and map") << QStringList{"render", "PROJECT", "MAP", "-o", out}
                                     << "a map project holds its map: give no MAP with it";
    QTest::newRow("thumbnail of no size")
        << QStringList{"render", "PROJECT", "--thumbnail", "0", "-o", out}
        << "--thumbnail must be a whole number from 1 to 4096, not \"0\"";
    QTest::newRow("thumbnail as a bitmap")
        << QStringList{"render", "PROJECT", "--thumbnail", "64", "--format", "bmp", "-o", out}
        << "a thumbnail is a PNG picture";
    QTest::newRow("--stats without a map")
        << QStringList{"check", "PIC", "--stats"} << "--stats needs a MAP file";
    QTest::newRow("unknown format")
        << QStringList{"check", "PIC", "MAP", "--format", "xml"} << "--format must be text or json";
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
    QVERIFY(test::writeFile(path("bad.vmap"), "not a project"));
    if (!QFileInfo::exists(path("pipe")))
      QVERIFY(::mkfifo(QFile::encodeName(path("pipe")).constData(), 0600) == 0);
    message.replace("PIPE", path("pipe"));

    QVERIFY(test::writeFile(out, "earlier"));
    const RunResult result = run(resolved(arguments, {{"OUT", out},
                                                      {"BADPIC", badPicture},
                                                      {"STOPMAP", stopMap},
                                                      {"NODIR", path("none/out.txt")},
                                                      {"PIPE", path("pipe")},
                                                      {"BADPROJECT", path("bad.vmap")}}));
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(result.err.startsWith(QLatin1String("varga-map")));
    QCOMPARE(test::readFile(out), QByteArray("earlier"));
    QCOMPARE(QDir(dir_.path()).entryList({"*.new", "out.bmp.*"}, QDir::Files), QStringList());
    QVERIFY(!QFile::exists(path("none")));
  }

  // "-o" never replaces what is not a regular file; "-o -" is the standard output, for text
  // and pictures alike, byte for byte what the file would hold.
  void outputsThatAreNoFile_data() {
    QTest::addColumn<QString>("kind");
    for (const char *kind : {"pipe", "folder", "device"}) QTest::newRow(kind) << QString(kind);
  }

  void outputsThatAreNoFile() {
    QFETCH(QString, kind);
    const QString out = path("special-" + kind);
    if (kind == "pipe") {
      QVERIFY(::mkfifo(QFile::encodeName(out).constData(), 0600) == 0);
    } else if (kind == "folder") {
      QVERIFY(QDir().mkpath(out));
    } else if (::mknod(QFile::encodeName(out).constData(), S_IFCHR | 0666, makedev(1, 3)) != 0) {
      QSKIP("cannot make a device node here (needs root)");  // a private copy of /dev/null
    }
    // A text and a picture; edit writes its map as convert does.
    for (const QStringList &arguments : {QStringList{"convert", map_, "--to", "varga", "-o", out},
                                         QStringList{"render", picture_, map_, "-o", out}}) {
      const RunResult result = run(arguments);
      QCOMPARE(result.exitCode, 2);
      QVERIFY2(result.err.contains("The target is a " + kind + ", not a file; it is left as it is"),
               qPrintable(result.err));
      QVERIFY(!QFileInfo(out).isFile());
      QCOMPARE(QFileInfo(out).isDir(), kind == "folder");
    }
  }

  void standardOutput_data() {
    QTest::addColumn<QStringList>("arguments");  // OUT is the output
    QTest::newRow("convert") << QStringList{"convert", "MAP", "--to", "tolle", "-o", "OUT"};
    QTest::newRow("render bitmap") << QStringList{"render", "PIC", "MAP", "-o", "OUT"};
    QTest::newRow("render PNG") << QStringList{"render", "PIC", "MAP", "--format",
                                               "png",    "-o",  "OUT"};
  }

  void standardOutput() {
    QFETCH(QStringList, arguments);
    const QString file = path("stdout-copy");
    QFile::remove(file);
    const RunResult written = run(resolved(arguments, {{"OUT", file}}));
    QVERIFY2(written.exitCode == 0, qPrintable(written.err));
    const RunResult piped = run(resolved(arguments, {{"OUT", "-"}}));
    QCOMPARE(piped.exitCode, 0);
    QVERIFY(!piped.outBytes.isEmpty());
    QCOMPARE(piped.outBytes, test::readFile(file));
    QVERIFY(!QFileInfo::exists(path("-")));
  }

  // One line-end rule everywhere; a file cut inside a row is a problem for check and a
  // warning naming the Quad for the commands that write a map; UTF-16 text is named.
  void mapTextDetails_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QStringList>("arguments");  // MAP is the file, OUT an output
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");  // in standard output and standard error
    QByteArray crOnly = test::readFile(map_);
    crOnly.replace("\r\n", "\r");
    QTest::newRow("CR line ends, convert")
        << crOnly << QStringList{"convert", "MAP", "--to", "varga", "-o", "OUT"} << 0 << "";
    const QByteArray full = test::readFile(map_);
    // The file cut after Quad 17's first 20 values, on line 26.
    const qsizetype row17 = full.indexOf("\r\n17\t") + 2;
    qsizetype cut = row17;
    for (int field = 0; field < 21; ++field) cut = full.indexOf('\t', cut) + 1;
    const QByteArray cutShort = full.first(cut);
    QTest::newRow("cut inside a row, check")
        << cutShort << QStringList{"check", "PIC", "MAP"} << 1
        << "sample.txt:26: the row for Quad 17 ends after 20 of its 32 values";
    QTest::newRow("cut inside a row, convert")
        << cutShort << QStringList{"convert", "MAP", "--to", "varga", "-o", "OUT"} << 0
        << "warning: the map file \"MAP\" ends inside the row for Quad 17: its 20 values are "
           "dropped";
    QByteArray utf16("\xFF\xFE");
    for (char c : full) utf16 += QByteArray(1, c) + '\0';
    QTest::newRow("UTF-16, convert")
        << utf16 << QStringList{"convert", "MAP", "--to", "varga", "-o", "OUT"} << 2
        << "could not be read: the file is UTF-16 text";
    QTest::newRow("UTF-16, check") << utf16 << QStringList{"check", "PIC", "MAP"} << 1
                                   << "sample.txt:1: the file is UTF-16 text";
  }

  void mapTextDetails() {
    QFETCH(QByteArray, text);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    const QString map = path(QStringLiteral("details/sample.txt"));
    QDir().mkpath(QFileInfo(map).path());
    QVERIFY(test::writeFile(map, text));
    const QString out = path(QStringLiteral("details/out.txt"));
    const RunResult result = run(resolved(arguments, {{"MAP", map}, {"OUT", out}}));
    QCOMPARE(result.exitCode, exitCode);
    expected.replace("MAP", map);
    QVERIFY2((result.out + result.err).contains(expected), qPrintable(result.out + result.err));
  }

  // The data folder's catalogue, when unusable, stops a batch run instead of being
  // replaced by the built-in default without a word.
  // A project of a generated battlefield whose true terrain is known; `share` of the
  // Sectors hold it as examples (all of them when share is 1), or one flat colour.
  QString terrainProject(const QString &name, double share, bool flat = false) const {
    test::TerrainPicture made = test::TerrainPicture::generate(12, 9, 5);
    if (flat) made.picture.fill(QColor(90, 140, 60));
    EditorSession session;
    session.startMap(PictureLoader::loadData(test::encodedPicture(made.picture, "PNG"),
                                             QStringLiteral("battle.png"),
                                             QStringLiteral("battle.png")));
    const std::vector<qint16> examples = share >= 1 ? made.truth : made.examples(share, 5);
    for (std::size_t cell = 0; cell < examples.size(); ++cell) {
      const SectorAddress at = addressOf(int(cell), made.xQuads);
      session.document().setValue(at.quad, at.sector, Plane::Element, examples[cell]);
    }
    const QString project = path(name);
    return session.saveProject(project, session.editorState()).ok ? project : QString();
  }

  void traceLearnsFromTheExamples() {
    const QString project = terrainProject(QStringLiteral("battle.vmap"), 0.03);
    QVERIFY(!project.isEmpty());
    const ProjectReadResult before = readProject(project);
    QVERIFY(before.ok());
    const QByteArray projectBytes = test::readFile(project);
    // Twice, in two processes: the same map, and the counts say what changed.
    QByteArray firstElements;
    for (const QString &name : {QStringLiteral("traced1.vmap"), QStringLiteral("traced2.vmap")}) {
      const RunResult result = run({"trace", project, "-o", path(name)});
      QVERIFY2(result.exitCode == 0, qPrintable(result.err));
      const ProjectReadResult after = readProject(path(name));
      QVERIFY(after.ok());
      int painted = 0, left = 0;
      for (std::size_t at = 0; at < before.content->elements.size(); ++at) {
        const qint16 example = before.content->elements[at], now = after.content->elements[at];
        if (example != kUnassigned) QCOMPARE(now, example);
        painted += example == kUnassigned && now != kUnassigned;
        left += now == kUnassigned;
      }
      QVERIFY(painted > left);
      QCOMPARE(result.out, QStringLiteral("%1 Sectors painted, %2 left unsure\n")
                               .arg(QLocale(QLocale::English).toString(painted))
                               .arg(left));
      QCOMPARE(after.content->heights, before.content->heights);
      const QByteArray elements(reinterpret_cast<const char *>(after.content->elements.data()),
                                qsizetype(after.content->elements.size() * sizeof(qint16)));
      if (firstElements.isEmpty()) firstElements = elements;
      QCOMPARE(elements, firstElements);
    }
    QCOMPARE(test::readFile(project), projectBytes);
    // Every suggestion is painted at a minimum of 0; JSON gives the same counts.
    const RunResult json = run(
        {"trace", project, "--min-confidence", "0", "--format", "json", "-o", path("all.vmap")});
    QVERIFY2(json.exitCode == 0, qPrintable(json.err));
    const QJsonObject counts = QJsonDocument::fromJson(json.outBytes).object();
    QCOMPARE(counts.value("left").toInt(-1), 0);
    QCOMPARE(counts.value("painted").toInt(),
             int(std::count(before.content->elements.begin(), before.content->elements.end(),
                            kUnassigned)));
  }

  void traceRefusals_data() {
    QTest::addColumn<double>("share");
    QTest::addColumn<bool>("flat");
    QTest::addColumn<QString>("message");
    QTest::newRow("one element") << 0.0 << false
                                 << "Paint a few Sectors of at least two different elements first";
    QTest::newRow("every Sector painted") << 1.0 << false << "there is nothing to paint";
    QTest::newRow("one flat colour") << 0.05 << true << "The picture is one flat colour";
  }
  void traceRefusals() {
    QFETCH(double, share);
    QFETCH(bool, flat);
    QFETCH(QString, message);
    QString project = terrainProject(QStringLiteral("refused.vmap"), share, flat);
    QVERIFY(!project.isEmpty());
    if (share == 0.0) {  // one Sector of one element
      ProjectReadResult read = readProject(project);
      read.content->elements[0] = 12;
      QVERIFY(writeProject(*read.content, project).ok);
    }
    const RunResult result = run({"trace", project, "-o", path("never.vmap")});
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains(message), qPrintable(result.err));
    QVERIFY(!QFileInfo::exists(path("never.vmap")));
  }

  void unusableDataFolderCatalogue() {
    QTemporaryDir home;
    QVERIFY(test::writeFile(home.filePath("Ostrel.db"), "not a database, a note"));
    const RunResult result = run({"render", picture_, map_, "-o", path("never.bmp")}, home.path());
    QCOMPARE(result.exitCode, 2);
    QVERIFY2(result.err.contains(QStringLiteral("the catalogue \"%1\" cannot be used: ")
                                     .arg(QDir::toNativeSeparators(home.filePath("Ostrel.db")))),
             qPrintable(result.err));
    QVERIFY(!QFileInfo::exists(path("never.bmp")));
    QCOMPARE(test::readFile(home.filePath("Ostrel.db")), QByteArray("not a database, a note"));
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
