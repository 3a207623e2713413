#include "app/widgets/MDIfrmMain.h"
#include "edits/RandomSource.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/widgets/frmMapView.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QFile>
#include <QImageReader>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

using namespace vmm;

namespace {

QByteArray readAll(const QString &path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Always draws the same value: every randomised Sector becomes its family's base.
class ZeroRandom : public RandomSource {
 public:
  float next() override { return 0.0f; }
};

}  // namespace

class TestCommands : public QObject {
  Q_OBJECT

  QTemporaryDir home_;
  QString picture_;

  std::unique_ptr<MDIfrmMain> openMap(test::ScriptedDialogs &dialogs) {
    auto main = std::make_unique<MDIfrmMain>(&dialogs);
    if (main->LoadMapImage(picture_) != 0) return nullptr;
    return main;
  }

 private slots:
  void initTestCase() {
    qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8());
    picture_ = test::writePicture(home_.path(), 240, 120);
  }

  void exportsWriteTheCoreFormatsAndReportFailures() {
    test::ScriptedDialogs dialogs;
    auto main = openMap(dialogs);
    QVERIFY(main);
    main->document().setValue(3, 4, Plane::Element, 9);
    main->document().setValue(3, 4, Plane::Height, 12);
    const QString varga = home_.filePath("map.txt");
    const QString tolle = home_.filePath("tolle.txt");
    dialogs.saveNames = {varga, tolle, home_.filePath("missing/dir/map.txt")};
    main->findChild<QAction *>("mnuSave")->trigger();
    main->findChild<QAction *>("MnuTolle")->trigger();
    QCOMPARE(dialogs.saveFilters.value(0), QStringLiteral("Varga Map Files (*.Txt)|*.txt"));
    QCOMPARE(dialogs.saveFilters.value(1), QStringLiteral("Tolle Map Files (*.Txt)|*.txt"));
    QCOMPARE(readAll(varga), vargaMapText(main->document()));
    QCOMPARE(readAll(tolle), tolleMapText(main->document()));
    QVERIFY(dialogs.messages.isEmpty());

    main->findChild<QAction *>("mnuSave")->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("AppendToTextFile"));
    QVERIFY(dialogs.messages[0].text.startsWith("Error: "));
    QVERIFY(!QFile::exists(home_.filePath("missing/dir/map.txt")));

    dialogs.saveNames = {QString()};  // cancelled: nothing written, nothing said
    main->findChild<QAction *>("mnuSave")->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
  }

  void importRepaintsBothViewsAndNotesRowCounts() {
    test::ScriptedDialogs dialogs;
    auto source = openMap(dialogs);
    QVERIFY(source);
    for (int quad = 0; quad < 18; ++quad) {
      source->document().setValue(quad, quad % 16, Plane::Element, qint16(quad + 1));
      source->document().setValue(quad, 15 - quad % 16, Plane::Height, qint16(quad * 5));
    }
    const QString file = home_.filePath("roundtrip.txt");
    QVERIFY(SaveAsVargaTXT(source->document(), file).ok);

    auto target = openMap(dialogs);
    QVERIFY(target);
    dialogs.openNames = {file};
    target->findChild<QAction *>("mnuImportMapData")->trigger();
    QVERIFY(dialogs.messages.isEmpty());
    MapSurfaces &s = target->mapView()->surfaces();
    for (int quad = 0; quad < 18; ++quad) {
      QCOMPARE(target->document().value(quad, quad % 16, Plane::Element), qint16(quad + 1));
      const auto o = target->document().sectorOrigin(quad, quad % 16);
      QCOMPARE(s.surface(MapView::Terrain).pixelColor(o.x + 5, o.y + 5),
               test::gdiColour(target->elementTable().colour(quad + 1)));
      const auto h = target->document().sectorOrigin(quad, 15 - quad % 16);
      QCOMPARE(s.surface(MapView::Elevation).pixelColor(h.x + 5, h.y + 5),
               test::gdiColour(target->heightColours().colour(quad * 5)));
    }
    QVERIFY(target->notice().isEmpty());

    // A map with more rows than the picture has Quads: imported as it stands, with a note.
    target->document().TotalQuads = 27;
    QVERIFY(SaveAsVargaTXT(target->document(), file).ok);
    dialogs.openNames = {file};
    target->findChild<QAction *>("mnuImportMapData")->trigger();
    QCOMPARE(target->document().TotalQuads, qint16(27));
    QCOMPARE(target->notice(), QStringLiteral("Map data: 27 Quads, picture: 18 Quads"));
  }

  void refusedImportKeepsTheMapAndSaysWhere() {
    test::ScriptedDialogs dialogs;
    auto main = openMap(dialogs);
    QVERIFY(main);
    const QString bad = home_.filePath("bad.txt");
    QFile file(bad);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("header\r\n&\r\n0\t5\t6\tseven\t8\r\n#\r\n");
    file.close();
    dialogs.openNames = {bad, home_.filePath("nowhere.txt")};
    main->findChild<QAction *>("mnuImportMapData")->trigger();
    QCOMPARE(dialogs.messages.size(), 1);
    QCOMPARE(dialogs.messages[0].title, QStringLiteral("Map Data Import"));
    QVERIFY(dialogs.messages[0].text.contains("bad.txt"));
    QVERIFY(dialogs.messages[0].text.contains("seven"));
    QCOMPARE(main->document().value(0, 1, Plane::Element), qint16(6));  // stored before the stop
    QCOMPARE(main->document().TotalQuads, qint16(18));
    main->findChild<QAction *>("mnuImportMapData")->trigger();
    QCOMPARE(dialogs.messages.size(), 2);
    QCOMPARE(main->document().value(0, 1, Plane::Element), qint16(6));
  }

  void pictureExportMatchesTheSurface() {
    test::ScriptedDialogs dialogs;
    auto main = openMap(dialogs);
    QVERIFY(main);
    main->painter().colourQuad(Plane::Height, 2, 40);
    const QString path = home_.filePath("elevation");
    dialogs.saveNames = {path};
    main->findChild<QAction *>("mnuExE")->trigger();
    QCOMPARE(dialogs.saveFilters.value(0), QStringLiteral("BMP File (*.bmp)|*.bmp"));
    QImageReader reader(path, "BMP");
    const QImage saved = reader.read();
    QCOMPARE(saved.convertToFormat(QImage::Format_RGB32),
             main->mapView()->surfaces().surface(MapView::Elevation));
    QVERIFY(!QFile::exists(path + ".bmp"));
  }

  void bulkEditsChangeTheArrayAndRepaintBothViews() {
    test::ScriptedDialogs dialogs;
    auto main = openMap(dialogs);
    QVERIFY(main);
    main->setRandomSource(std::make_unique<ZeroRandom>());
    MapDocument &doc = main->document();
    doc.CurrentDrawElement = 11;  // leaves & brush: a leaf family member
    main->findChild<QAction *>("mnuFill")->trigger();
    QCOMPARE(doc.value(0, 0, Plane::Element), qint16(11));
    QCOMPARE(doc.value(5000, 15, Plane::Element), qint16(11));
    MapSurfaces &s = main->mapView()->surfaces();
    QCOMPARE(s.surface(MapView::Terrain).pixelColor(5, 5),
             test::gdiColour(main->elementTable().colour(11)));
    main->findChild<QAction *>("R2")
        ->trigger();  // leaves: every member to the base with a zero draw
    QCOMPARE(doc.value(17, 3, Plane::Element), qint16(10));
    QCOMPARE(s.surface(MapView::Terrain).pixelColor(5, 5),
             test::gdiColour(main->elementTable().colour(10)));
    doc.CurrentDrawHeight = 30;
    main->findChild<QAction *>("Fillheight")->trigger();
    QCOMPARE(s.surface(MapView::Elevation).pixelColor(45, 45),
             test::gdiColour(main->heightColours().colour(30)));
    main->findChild<QAction *>("ClearHeight")->trigger();
    QCOMPARE(doc.value(3, 3, Plane::Height), kUnassigned);
    QCOMPARE(s.surface(MapView::Elevation).pixel(45, 45), s.surface(MapView::Image).pixel(45, 45));
    QCOMPARE(doc.MapReady, qint16(1));
    QVERIFY(dialogs.messages.isEmpty());
  }

  void heightColourToggleReloadsTheOtherSet() {
    test::ScriptedDialogs dialogs;
    MDIfrmMain main(&dialogs);
    QList<quint32> plain, gradient;
    {
      auto db = QSqlDatabase::addDatabase("QSQLITE", "heights");
      db.setDatabaseName(home_.filePath("Ostrel.db"));
      QVERIFY(db.open());
      QSqlQuery query("SELECT * FROM tblheights", db);
      while (query.next()) {
        plain << query.value("Heightcolour").toUInt();
        gradient << query.value("Heightcolour2").toUInt();
      }
    }
    QSqlDatabase::removeDatabase("heights");
    QCOMPARE(plain.size(), 101);
    auto *button = main.findChild<QPushButton *>("Command3");
    QCOMPARE(main.heightColours().colour(50), gradient[50]);  // start-up set
    emit button->clicked();  // hidden outside the Elevation map, but the toggle is not tied to it
    QCOMPARE(button->text(), QStringLiteral("Draw with Gradient"));
    QCOMPARE(main.heightColourMode(), qint16(1));
    for (int h = 0; h <= 100; ++h) QCOMPARE(main.heightColours().colour(h), plain[h]);
    emit button->clicked();  // hidden outside the Elevation map, but the toggle is not tied to it
    QCOMPARE(button->text(), QStringLiteral("Draw with Colour"));
    for (int h = 0; h <= 100; ++h) QCOMPARE(main.heightColours().colour(h), gradient[h]);
  }

  void unusableCatalogueIsRefusedAndLeftAlone() {
    QTemporaryDir home;
    const QString file = home.filePath("Ostrel.db");
    QFile junk(file);
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("definitely not a database");
    junk.close();
    qputenv("VARGA_MAP_MAKER_HOME", home.path().toUtf8());
    test::ScriptedDialogs dialogs;
    {
      MDIfrmMain main(&dialogs);
      QCOMPARE(dialogs.messages.size(), 1);
      QVERIFY(dialogs.messages[0].text.contains(file));
      QVERIFY(main.notice().contains(file));
      QVERIFY(main.elementTable().hasElement(0));  // running on the built-in default
    }
    qputenv("VARGA_MAP_MAKER_HOME", home_.path().toUtf8());
    QCOMPARE(readAll(file), QByteArray("definitely not a database"));
  }
};

QTEST_MAIN(TestCommands)
#include "test_commands.moc"
