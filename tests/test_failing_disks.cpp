// SPDX-License-Identifier: GPL-3.0-or-later
// Exports, project saves and catalogue writes that the disk refuses: each reports the
// failure and leaves the earlier file byte for byte, with no stray temporary file beside it.
#include "catalogue/CatalogueDatabase.h"
#include "document/MapDocument.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureExport.h"
#include "mapfiles/ProjectFile.h"
#include "support/TestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QtTest>

#include <functional>

#include <sys/stat.h>

using namespace vmm;

namespace {

QStringList entriesOf(const QString &folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// A 30 x 21 map and its surface: exports of some 70 kB and 3 MB, and the map as a project.
struct ExportSource {
  MapDocument doc;
  QImage surface{1200, 840, QImage::Format_RGB32};
  ProjectContent project;
  ExportSource() {
    doc.XQuads = 30;
    doc.YQuads = 21;
    doc.TotalQuads = 630;
    surface.fill(qRgb(10, 120, 40));
    project.XQuads = doc.XQuads;
    project.YQuads = doc.YQuads;
    project.TotalQuads = doc.TotalQuads;
    project.picture.fileName = QStringLiteral("map.png");
    project.picture.fileBytes = test::encodedPicture(surface, "PNG");
    project.elements.assign(630 * kSectorsPerQuad, 12);
    project.heights.assign(630 * kSectorsPerQuad, 40);
  }
};

using Exporter = std::function<FileWriteResult(const ExportSource &, const QString &)>;

QList<std::pair<const char *, Exporter>> exporters() {
  return {
      {"Varga", [](const ExportSource &s, const QString &p) { return SaveAsVargaTXT(s.doc, p); }},
      {"Tolle", [](const ExportSource &s, const QString &p) { return SaveAsTolleTXT(s.doc, p); }},
      {"bitmap",
       [](const ExportSource &s, const QString &p) { return saveSurfaceBitmap(s.surface, p); }},
      {"PNG",
       [](const ExportSource &s, const QString &p) {
         return saveSurfacePicture(s.surface, p, PictureFormat::Png);
       }},
      {"project",
       [](const ExportSource &s, const QString &p) { return writeProject(s.project, p); }},
  };
}

// A refusal reads "Error: <number>. <description>" on one line; its title: test_mainwindow.
void verifyRefusal(const FileWriteResult &result) {
  QVERIFY(!result.ok);
  QVERIFY2(result.messageText().startsWith(QStringLiteral("Error: %1. ").arg(result.errorCode)) &&
               !result.messageText().contains('\n'),
           qPrintable(result.messageText()));
}

// A small tmpfs mounted over a folder for the life of this object, when the process may.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(const QString &folder) : folder_(folder) {
    QProcess mount;
    mount.start("mount", {"-t", "tmpfs", "-o", "size=512k", "tmpfs", folder});
    const bool finished = mount.waitForFinished(10000);
    mounted_ = finished && mount.exitStatus() == QProcess::NormalExit && mount.exitCode() == 0;
    if (!mounted_)
      reason_ =
          "cannot mount a small tmpfs here, so a full disk cannot be made: " +
          (finished ? QString::fromLocal8Bit(mount.readAllStandardError()) : mount.errorString());
  }
  ~SmallFileSystem() {
    if (mounted_) QProcess::execute("umount", {folder_});
  }
  bool mounted() const { return mounted_; }
  QString reason() const { return reason_; }

 private:
  QString folder_;
  bool mounted_ = false;
  QString reason_;
};

}  // namespace

class TestFailingDisks : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  ExportSource source_;

  // One row for each writer.
  static void everyExporter() {
    QTest::addColumn<int>("exporter");
    for (int e = 0; e < exporters().size(); ++e) QTest::newRow(exporters()[e].first) << e;
  }

 private slots:
  void initTestCase() { QVERIFY(dir_.isValid()); }

  void refusedExports_data() {
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("exporter");
    for (const char *cause : {"read-only", "name too long", "missing folder", "pipe", "folder"})
      for (int e = 0; e < exporters().size(); ++e)
        QTest::addRow("%s, %s", cause, exporters()[e].first) << QString(cause) << e;
  }

  void refusedExports() {
    QFETCH(QString, cause);
    QFETCH(int, exporter);
    QTemporaryDir folder;
    const QByteArray earlier("earlier map\r\n#\r\n");
    // The replacement needs a temporary name a few characters longer than the target's;
    // a target name at the file system's limit makes it fail even for root.
    QString path = folder.filePath(cause == "name too long" ? QString(250, 'm') : "map.txt");
    if (cause == "missing folder")
      path = folder.filePath("no such folder/map.txt");
    else if (cause == "pipe")
      QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
    else if (cause == "folder")
      QVERIFY(QDir().mkpath(path));
    else
      QVERIFY(test::writeFile(path, earlier));
    if (cause == "read-only")
      QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
    const QStringList before = entriesOf(folder.path());

    const FileWriteResult result = exporters()[exporter].second(source_, path);
    verifyRefusal(result);
    if (cause == "read-only")
      QVERIFY2(result.messageText().startsWith("Error: 13. The file is read-only"),
               qPrintable(result.messageText()));
    QCOMPARE(entriesOf(folder.path()), before);  // nothing new beside it
    // What is not a file is never replaced by one: as root, "-o /dev/null" would otherwise
    // put a file in the place of the system's device.
    if (cause == "pipe" || cause == "folder") {
      QCOMPARE(result.messageText(),
               QStringLiteral("Error: 5. The target is a %1, not a file; it is left as it is")
                   .arg(cause));
      QCOMPARE(QFileInfo(path).isDir(), cause == "folder");
      QVERIFY(!QFileInfo(path).isFile());
      return;
    }
    QCOMPARE(test::readFile(path), cause == "missing folder" ? QByteArray() : earlier);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
  }

  // A run killed while writing leaves its unfinished copy beside the target under QSaveFile's
  // name, "NAME.XXXXXX", with no permission bits. The next successful write of that target
  // removes it; nothing else that looks alike is touched.
  void leftoversOfKilledRunsAreRemoved_data() { everyExporter(); }

  void leftoversOfKilledRunsAreRemoved() {
    QFETCH(int, exporter);
    QTemporaryDir folder;
    const QString target = folder.filePath("map.txt");
    const QDateTime old = QDateTime::currentDateTime().addSecs(-120);
    const auto make = [&](const QString &name, QFile::Permissions mode, const QDateTime &time) {
      const QString path = folder.filePath(name);
      QVERIFY(test::writeFile(path, "10\r\n \r\n"));
      QFile file(path);
      QVERIFY(file.open(QIODevice::ReadWrite) &&
              file.setFileTime(time, QFile::FileModificationTime));
      file.close();
      QVERIFY(QFile::setPermissions(path, mode));
    };
    make("map.txt.kLmNoP", {}, old);                                    // a killed run's: removed
    make("map.txt.QrStUv", {}, QDateTime::currentDateTime());           // maybe still being written
    make("map.txt.backup", QFile::ReadOwner | QFile::WriteOwner, old);  // the user's
    make("map.txt.aBcDeFg", {}, old);                                   // not QSaveFile's name
    make("other.txt.kLmNoP", {}, old);                                  // another target's
    QVERIFY(QFile::link(folder.filePath("map.txt.backup"), folder.filePath("map.txt.LiNkEd")));

    QVERIFY(exporters()[exporter].second(source_, target).ok);
    QCOMPARE(entriesOf(folder.path()),
             (QStringList{"map.txt", "map.txt.LiNkEd", "map.txt.QrStUv", "map.txt.aBcDeFg",
                          "map.txt.backup", "other.txt.kLmNoP"}));
    QCOMPARE(QFileInfo(target).permissions() & QFile::ReadOwner, QFile::ReadOwner);
    for (const QString &name : entriesOf(folder.path()))
      QFile::setPermissions(folder.filePath(name), QFile::ReadOwner | QFile::WriteOwner);
  }

  // A write through a chain of links replaces the file at its end, the links staying links.
  void linkChainsAreFollowedToTheirEnd_data() { everyExporter(); }

  void linkChainsAreFollowedToTheirEnd() {
    QFETCH(int, exporter);
    QTemporaryDir folder;
    QVERIFY(QDir(folder.path()).mkpath("a") && QDir(folder.path()).mkpath("b"));
    const QString real = folder.filePath("b/real.vmap");
    QVERIFY(test::writeFile(real, "earlier"));
    QVERIFY(QFile::link("L2", folder.filePath("a/L1")));
    QVERIFY(QFile::link("../b/real.vmap", folder.filePath("a/L2")));
    QVERIFY(exporters()[exporter].second(source_, folder.filePath("a/L1")).ok);
    QVERIFY(QFileInfo(folder.filePath("a/L1")).isSymLink());
    QVERIFY(QFileInfo(folder.filePath("a/L2")).isSymLink());
    QVERIFY(test::readFile(real) != "earlier");
    QCOMPARE(entriesOf(folder.filePath("a")), (QStringList{"L1", "L2"}));
    QCOMPARE(entriesOf(folder.filePath("b")), QStringList{"real.vmap"});
  }

  void fullDisk() {
    const QString folder = dir_.filePath(QStringLiteral("small-disk"));
    QVERIFY(QDir().mkpath(folder));
    SmallFileSystem disk(folder);
    if (!disk.mounted()) QSKIP(qPrintable(disk.reason()));

    const QString mapPath = folder + QStringLiteral("/map.txt");
    const QString picturePath = folder + QStringLiteral("/terrain.bmp");
    const QString projectPath = folder + QStringLiteral("/map.vmap");
    const QByteArray earlierMap("earlier map\r\n#\r\n");
    QVERIFY(test::writeFile(mapPath, earlierMap));
    QVERIFY(test::writeFile(picturePath, "BM earlier"));
    // An earlier project of the same map, with fewer Quads painted.
    ProjectContent earlierContent = source_.project;
    earlierContent.elements.assign(earlierContent.elements.size(), kUnassigned);
    QVERIFY(writeProject(earlierContent, projectPath).ok);
    const QByteArray earlierProject = test::readFile(projectPath);
    QVERIFY(CatalogueDatabase::createDefaultFile(catalogueFilePath(folder)).ok);
    const CatalogueDatabase catalogue = CatalogueDatabase::open(folder);
    QCOMPARE(catalogue.origin(), CatalogueOrigin::UserFile);
    const QByteArray earlierCatalogue = test::readFile(catalogueFilePath(folder));

    // Fill every remaining byte.
    {
      QFile filler(folder + QStringLiteral("/filler"));
      QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
      const QByteArray block(4096, 'f');
      while (filler.write(block) == block.size()) {
      }
    }
    const QStringList before = entriesOf(folder);

    for (const auto &[name, exporter] : exporters()) {
      const bool picture = QString(name) == QLatin1String("bitmap") || QString(name) == "PNG";
      const QString path = picture                                     ? picturePath
                           : QString(name) == QLatin1String("project") ? projectPath
                                                                       : mapPath;
      const FileWriteResult result = exporter(source_, path);
      verifyRefusal(result);
      // Pictures, texts and projects alike, in the system's own words.
      QVERIFY2(result.errorText == QStringLiteral("No space left on device"),
               qPrintable(result.messageText()));
      QCOMPARE(entriesOf(folder), before);
    }
    QCOMPARE(test::readFile(mapPath), earlierMap);
    QCOMPARE(test::readFile(picturePath), QByteArray("BM earlier"));
    QCOMPARE(test::readFile(projectPath), earlierProject);

    const ColourWriteResult colour = catalogue.writeElementColour("Brick Wall", 0x00FF00);
    QVERIFY(!colour.ok);
    QVERIFY2(colour.error.contains(QDir::toNativeSeparators(catalogueFilePath(folder))),
             qPrintable(colour.error));
    QCOMPARE(test::readFile(catalogueFilePath(folder)), earlierCatalogue);
    QCOMPARE(entriesOf(folder), before);
  }
};

QTEST_GUILESS_MAIN(TestFailingDisks)
#include "test_failing_disks.moc"
