// SPDX-License-Identifier: GPL-3.0-or-later
// Map projects in the core: a save and an open give back the map, its picture and the
// editor state exactly, wherever the picture file went; every hostile file is refused
// with a message before anything changes.
#include "catalogue/CatalogueDatabase.h"
#include "files/FileWriteResult.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/ProjectFile.h"
#include "mapfiles/ProjectSchema.h"
#include "session/EditorSession.h"
#include "support/ProjectFixtures.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

#include <functional>

#include <sys/resource.h>

using namespace vmm;

namespace {

// The three surfaces of a session, to compare pixel for pixel.
QList<QImage> views(EditorSession &session) {
  QList<QImage> images;
  for (const MapView view : {MapView::Terrain, MapView::Image, MapView::Elevation})
    images << session.surfaces().surface(view).copy();
  return images;
}

using Mutation = std::function<bool(const QString &path)>;
using ContentChange = std::function<void(ProjectContent &)>;

Mutation statements(const QStringList &sql) {
  return [sql](const QString &path) { return test::runSql(path, sql).has_value(); };
}

Mutation bytes(const std::function<QByteArray(const QByteArray &)> &change) {
  return
      [change](const QString &path) { return test::writeFile(path, change(test::readFile(path))); };
}

// `count` rows written straight into the schema table, each the `columns` of row i.
Mutation schemaRows(int count, const QString &columns) {
  return statements({"PRAGMA writable_schema = ON",
                     QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM "
                                    "n WHERE i < %1) INSERT INTO sqlite_schema SELECT %2 FROM n")
                         .arg(count)
                         .arg(columns)});
}

// The process's peak resident memory so far, in bytes.
qint64 peakMemory() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return qint64(usage.ru_maxrss) * 1024;
}

}  // namespace

Q_DECLARE_METATYPE(Mutation)
Q_DECLARE_METATYPE(ContentChange)

class TestProjectFile : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString picture_;  // 240 x 120: 6 x 3 Quads
  QString valid_;    // a project of the sample map

  QString path(const QString &name) const { return dir_.filePath(name); }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    picture_ = test::writePicture(dir_.path(), 240, 120);
    EditorSession session;
    QVERIFY(test::startSampleMap(session, picture_));
    valid_ = path(QStringLiteral("valid.vmap"));
    const FileWriteResult written = session.saveProject(valid_, session.editorState());
    QVERIFY2(written.ok, qPrintable(written.errorText));
  }

  void saveAndOpenGiveTheSameMapAnywhere() {
    // The map is painted on a picture file that is gone by the time the project opens.
    QTemporaryDir pictures;
    const QString picture = pictures.filePath(QStringLiteral("battlefield.png"));
    QVERIFY(QFile::copy(picture_, picture));
    EditorSession original;
    QVERIFY(test::startSampleMap(original, picture));
    MapDocument &doc = original.document();
    // A map text import may leave TotalQuads apart from the picture's Quad count, and
    // values beyond it: both come back.
    doc.TotalQuads = 16;
    doc.setValue(40, 3, Plane::Element, 77);
    original.setEditMode(EditMode::EraseQuad);
    original.setDrawStyle(DrawStyle::Transparent);
    QVERIFY(original.setHeightColourMode(1).ok);
    doc.CurrentDrawElement = 190;
    doc.CurrentDrawHeight = 42;
    original.repaintWholeMap();
    ProjectEditorState state = original.editorState();
    state.view = MapView::Elevation;
    state.additional.insert(QStringLiteral("zoom"), QStringLiteral("0.5"));

    // Saved in one folder, moved to another, the picture's folder gone.
    QTemporaryDir elsewhere;
    const QString saved = path(QStringLiteral("round trip.vmap"));
    QVERIFY(original.saveProject(saved, state).ok);
    const QString moved = elsewhere.filePath(QStringLiteral("moved.vmap"));
    QVERIFY(QFile::rename(saved, moved));
    QVERIFY(pictures.remove());

    const ProjectReadResult read = readProject(moved);
    QVERIFY2(read.ok(), qPrintable(read.problem));
    const ProjectContent &content = *read.content;
    QCOMPARE(content.picture.fileName, QStringLiteral("battlefield.png"));
    QCOMPARE(content.picture.fileBytes, test::readFile(picture_));
    QCOMPARE(content.state.view, MapView::Elevation);
    QCOMPARE(content.writtenBy, QStringLiteral("Varga Map Maker " VMM_VERSION));

    EditorSession opened;
    QVERIFY(opened.useCatalogue(CatalogueDatabase()).ok);
    opened.document().setValue(4000, 0, Plane::Height, 9);  // gone after the open
    QVERIFY(opened.openProject(content).ok);
    QCOMPARE(vargaMapText(opened.document()), vargaMapText(doc));
    QCOMPARE(opened.document().value(40, 3, Plane::Element), qint16(77));
    QCOMPARE(opened.document().value(4000, 0, Plane::Height), kUnassigned);
    QCOMPARE(opened.editMode(), EditMode::EraseQuad);
    QCOMPARE(opened.drawStyle(), DrawStyle::Transparent);
    QCOMPARE(opened.heightColourMode(), qint16(1));
    QCOMPARE(opened.document().CurrentDrawElement, qint16(190));
    QCOMPARE(opened.document().CurrentDrawHeight, qint16(42));
    // A key without a field here is kept for the next save.
    QCOMPARE(opened.editorState().additional, state.additional);
    QCOMPARE(views(opened), views(original));
    // A fresh history: nothing to undo, nothing unsaved.
    QVERIFY(opened.history().isClean() && !opened.history().canUndo());
  }

#ifdef Q_OS_UNIX
  // A new project is as readable as a new export under the user's umask; a replaced one
  // keeps the permissions its file had.
  void projectsGetTheUsersPermissions() {
    EditorSession session;
    QVERIFY(test::startSampleMap(session, picture_));
    for (const mode_t mask : {mode_t(022), mode_t(077), mode_t(002)}) {
      const mode_t before = ::umask(mask);
      const QString project = path(QStringLiteral("umask%1.vmap").arg(mask, 0, 8));
      const QString exported = path(QStringLiteral("umask%1.txt").arg(mask, 0, 8));
      const bool saved = session.saveProject(project, session.editorState()).ok &&
                         writeFileAtomically(exported, "map").ok;
      ::umask(before);
      QVERIFY(saved);
      QCOMPARE(QFile::permissions(project), QFile::permissions(exported));
    }
    const QString kept = path(QStringLiteral("umask22.vmap"));
    const QFile::Permissions chosen = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                      QFile::WriteUser | QFile::ReadGroup;
    QVERIFY(QFile::setPermissions(kept, chosen));
    QVERIFY(session.saveProject(kept, session.editorState()).ok);
    QCOMPARE(QFile::permissions(kept), chosen);
  }
#endif

  void hostileProjectsAreRefused_data() {
    QTest::addColumn<Mutation>("mutation");
    QTest::addColumn<QString>("problem");  // part of the message
    QTest::newRow("truncated") << bytes([](const QByteArray &b) { return b.left(b.size() / 2); })
                               << "damaged";
    QTest::newRow("first page no table") << bytes([](QByteArray b) {
      b[100] = 0;
      return b;
    }) << "the file is damaged";
    QTest::newRow("empty") << bytes([](const QByteArray &) { return QByteArray(); })
                           << "not an SQLite database";
    QTest::newRow("other tables") << statements({"PRAGMA user_version = 0",
                                                 "PRAGMA application_id = 0", "DROP TABLE planes",
                                                 "CREATE TABLE t (a, b)"})
                                  << "not a Varga Map Maker project";
    QTest::newRow("a view in a table's place")
        << statements({"DROP TABLE editor_state",
                       "CREATE VIEW editor_state AS WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL "
                       "SELECT i + 1 FROM n) SELECT 'k' AS key, i AS value FROM n"})
        << "it holds the view \"editor_state\", which a project does not hold";
    QTest::newRow("a virtual table in a table's place")
        << statements({"DROP TABLE editor_state",
                       "CREATE VIRTUAL TABLE editor_state USING fts5(key, value)"})
        << "\"editor_state\" is not an ordinary table";
    QTest::newRow("a trigger") << statements({"CREATE TRIGGER t AFTER INSERT ON map BEGIN "
                                              "SELECT 1; END"})
                               << "it holds the trigger \"t\"";
    // Written straight into the schema, which SQLite would parse whole before any query.
    QTest::newRow("80000 views")
        << schemaRows(80000,
                      "'view', 'v' || i, 'v' || i, 0, 'CREATE VIEW v' || i || ' AS SELECT 1'")
        << "its schema is larger than a project's";
    QTest::newRow("ten triggers with million-item lists")
        << schemaRows(10,
                      "'trigger', 't' || i, 'map', 0, 'CREATE TRIGGER t' || i || ' AFTER "
                      "INSERT ON map BEGIN SELECT 1 IN (' || replace(hex(zeroblob(999999)), "
                      "'00', '1,') || '1); END'")
        << "its schema is larger than a project's";
    QTest::newRow("missing column") << statements({"ALTER TABLE picture DROP COLUMN file_name"})
                                    << "the table \"picture\" has no column \"file_name\"";
    QTest::newRow("generated column")
        << statements({"DROP TABLE editor_state",
                       "CREATE TABLE editor_state (key TEXT, value TEXT, big TEXT AS "
                       "(hex(zeroblob(400000000))))"})
        << "the table \"editor_state\" has a column \"big\"";
    // Named as the real column, so only the check of hidden and generated columns stops it.
    QTest::newRow("generated column in a real column's place")
        << statements({"DROP TABLE editor_state",
                       "CREATE TABLE editor_state (key TEXT, value TEXT AS "
                       "(hex(zeroblob(400000000))))"})
        << "the table \"editor_state\" has a column \"value\"";
    QTest::newRow("plane one Quad short")
        << statements({"UPDATE planes SET sectors = substr(sectors, 1, length(sectors) - 32) "
                       "WHERE plane = 'height'"})
        << "the height plane holds 544 bytes where 18 Quads take 576";
    QTest::newRow("planes of different Quad counts")
        << statements({"UPDATE planes SET quads = 17, sectors = substr(sectors, 1, 544) WHERE "
                       "plane = 'height'"})
        << "different numbers of Quads";
    QTest::newRow("plane as text")
        << statements({"UPDATE planes SET sectors = 'x' WHERE plane = 'height'"})
        << "the height plane is not stored as bytes";
    QTest::newRow("Quad count beyond the array")
        << statements({"UPDATE planes SET quads = 6000"})
        << "the element plane's Quad count is 6000, not a whole number from 0 to 5001";
    QTest::newRow("XQuads as text")
        << statements({"UPDATE map SET XQuads = 'six'"}) << "XQuads is six, not a whole number";
    QTest::newRow("size apart from the picture")
        << statements({"UPDATE map SET XQuads = 3"})
        << "the map is 3 x 3 Quads but its picture makes 6 x 3";
    QTest::newRow("two maps") << statements({"INSERT INTO map SELECT * FROM map"})
                              << "the table \"map\" holds 2 rows instead of 1";
    QTest::newRow("draw style unknown")
        << statements({"UPDATE editor_state SET value = 'bold' WHERE key = 'draw_style'"})
        << "the editor state \"draw_style\" has the value \"bold\"";
    QTest::newRow("picture declaring 60000 x 60000")
        << statements(
               {"UPDATE picture SET bytes = x'" + test::jpegDeclaring(60000, 60000).toHex() + "'"})
        << "The image (picture_240x120.png) is too large: it makes 2250000 Quads";
    QTest::newRow("picture name with a folder")
        << statements({"UPDATE picture SET file_name = '../../etc/passwd'"})
        << "the picture's file name \"../../etc/passwd\" is not a plain file name";
    QTest::newRow("version from the future") << statements({"PRAGMA user_version = 2"})
                                             << "saved by a newer version of Varga Map Maker "
                                                "(project format 2; this version reads format 1";
    QTest::newRow("1 GB picture declared in a small file")
        << bytes([](const QByteArray &b) { return test::declareHugePicture(b, 999'999'000); })
        << "the picture declares 999999000 bytes in a file of";
  }

  void hostileProjectsAreRefused() {
    QFETCH(Mutation, mutation);
    QFETCH(QString, problem);
    const QString hostile = path(QStringLiteral("hostile.vmap"));
    QFile::remove(hostile);
    QVERIFY(QFile::copy(valid_, hostile));
    QVERIFY(QFile::setPermissions(hostile, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(mutation(hostile));
    const QByteArray before = test::readFile(hostile);

    const qint64 peakBefore = peakMemory();
    QElapsedTimer timer;
    timer.start();
    const ProjectReadResult read = readProject(hostile);
    QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    QVERIFY2(peakMemory() - peakBefore <= 2 * before.size() + 64 * 1024 * 1024,
             qPrintable(QString::number(peakMemory() - peakBefore)));
    QVERIFY(!read.ok());
    QVERIFY2(read.problem.contains(problem), qPrintable(read.problem));
    const QString message = read.messageText(hostile);
    QVERIFY2(message.startsWith(QStringLiteral("The map project \"%1\" cannot be opened: ")
                                    .arg(QDir::toNativeSeparators(hostile))),
             qPrintable(message));
    // Reading leaves the file, and the folder, as they were.
    QCOMPARE(test::readFile(hostile), before);
    QCOMPARE(QDir(dir_.path()).entryList({"hostile*"}, QDir::Files | QDir::Hidden),
             QStringList{"hostile.vmap"});
  }

  // One rule for writer and reader: what the one stores the other opens, and what the
  // reader would refuse the writer does not store.
  void writerStoresWhatTheReaderReads_data() {
    QTest::addColumn<ContentChange>("change");
    QTest::addColumn<bool>("stored");
    const auto name = [](const QString &fileName) {
      return ContentChange([fileName](ProjectContent &c) { c.picture.fileName = fileName; });
    };
    QTest::newRow("colon, backslash, tab, newline, escape in the picture's name")
        << name("scan 12:30 \\\t\n\x1b.jpg") << true;
    QTest::newRow("picture name of 255 characters") << name(QString(255, 'n')) << true;
    QTest::newRow("picture name of 256 characters") << name(QString(256, 'n')) << false;
    QTest::newRow("picture name with a folder") << name("a/b.png") << false;
    QTest::newRow("picture name \"..\"") << name("..") << false;
    const auto otherRows = [](int count) {
      return ContentChange([count](ProjectContent &c) {
        for (int i = 0; i < count; ++i) c.state.additional.insert(QString::number(i), "v");
        // The editor's own keys come on top and do not count.
        c.state.additional.insert(project::kZoomKey, "1");
        c.state.additional.insert(project::kRecoveryPicturePathKey, "/p.png");
      });
    };
    QTest::newRow("1000 rows of other programs") << otherRows(1000) << true;
    QTest::newRow("1001 rows of other programs") << otherRows(1001) << false;
    const auto path = [](int length) {
      return ContentChange([length](ProjectContent &c) {
        c.state.additional.insert(project::kRecoveryPicturePathKey, "/" + QString(length - 1, 'p'));
      });
    };
    QTest::newRow("path of 4096 characters") << path(4096) << true;
    QTest::newRow("path of 32768 characters") << path(32768) << true;
    QTest::newRow("path of 32769 characters") << path(32769) << false;
  }

  void writerStoresWhatTheReaderReads() {
    QFETCH(ContentChange, change);
    QFETCH(bool, stored);
    ProjectReadResult valid = readProject(valid_);
    QVERIFY(valid.ok());
    ProjectContent content = std::move(*valid.content);
    change(content);
    const QString saved = path(QStringLiteral("rule.vmap"));
    QFile::remove(saved);
    const FileWriteResult written = writeProject(content, saved);
    QCOMPARE(written.ok, stored);
    QCOMPARE(QFileInfo::exists(saved), stored);
    if (!stored) return;
    const ProjectReadResult read = readProject(saved);
    QVERIFY2(read.ok(), qPrintable(read.problem));
    QCOMPARE(read.content->picture.fileName, content.picture.fileName);
    QCOMPARE(read.content->state.additional, content.state.additional);
  }

  // A log or journal another program left beside a project holds changes that reading the
  // file as it stands would drop without a word: the project is refused, naming it.
  void changesLeftBesideTheFileAreNotPassedOver_data() {
    QTest::addColumn<QString>("suffix");
    QTest::newRow("write-ahead log") << "-wal";
    QTest::newRow("rollback journal") << "-journal";
  }

  void changesLeftBesideTheFileAreNotPassedOver() {
    QFETCH(QString, suffix);
    const QString beside = valid_ + suffix;
    QVERIFY(test::writeFile(beside, QByteArray(4096, '\1')));
    const ProjectReadResult read = readProject(valid_);
    QFile::remove(beside);
    QVERIFY(!read.ok());
    QCOMPARE(read.problem, QStringLiteral("another program left changes to it in \"%1\" that "
                                          "were never written into it")
                               .arg(beside));
    QVERIFY(test::writeFile(beside, {}));  // an empty one holds nothing
    QVERIFY(readProject(valid_).ok());
    QFile::remove(beside);
  }

  // A path longer than SQLite opens is said to be one, on saving and on opening; up to the
  // limit, saving (beside the target, 7 bytes longer) and opening work.
  void pathsBeyondSqlitesLimit() {
    QString folder = dir_.path();
    while (QFile::encodeName(folder).size() < 400) folder += QStringLiteral("/") + QString(60, 'f');
    QVERIFY(QDir().mkpath(folder));
    const auto pathOf = [&](int bytes) {
      return folder + "/" + QString(bytes - QFile::encodeName(folder).size() - 6, 'p') + ".vmap";
    };
    const ProjectContent content = readProject(valid_).content.value();
    QVERIFY(writeProject(content, pathOf(497)).ok);
    QVERIFY(readProject(pathOf(497)).ok());
    QVERIFY(QFile::rename(pathOf(497), pathOf(504)));
    QVERIFY(readProject(pathOf(504)).ok());

    const FileWriteResult written = writeProject(content, pathOf(498));
    QVERIFY(!written.ok);
    QCOMPARE(written.errorText,
             QStringLiteral("The path is 498 bytes long: a project is saved "
                            "under a path of at most 497 bytes (SQLite's limit)"));
    QVERIFY(QFile::copy(valid_, pathOf(505)));
    const ProjectReadResult read = readProject(pathOf(505));
    QVERIFY(!read.ok());
    QCOMPARE(read.problem, QStringLiteral("its path is 505 bytes long, and SQLite opens no file "
                                          "whose path is longer than 504 bytes"));
    QCOMPARE(QDir(folder).entryList(QDir::Files),
             (QStringList{QFileInfo(pathOf(504)).fileName(), QFileInfo(pathOf(505)).fileName()}));
  }

  void editorStateKeysOfLaterVersionsAreKept() {
    const QString later = path(QStringLiteral("later.vmap"));
    QFile::remove(later);
    QVERIFY(QFile::copy(valid_, later));
    QVERIFY(QFile::setPermissions(later, QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(test::runSql(later, {"INSERT INTO editor_state VALUES ('scroll_x', '120')",
                                 "DELETE FROM editor_state WHERE key = 'edit_mode'",
                                 "CREATE TABLE overview (shown INTEGER)"})
                .has_value());
    const ProjectReadResult read = readProject(later);
    QVERIFY2(read.ok(), qPrintable(read.problem));
    QCOMPARE(read.content->state.additional.value(QStringLiteral("scroll_x")),
             QStringLiteral("120"));
    QCOMPARE(read.content->state.editMode, EditMode::DrawSector);  // a missing key: the default
  }
};

QTEST_GUILESS_MAIN(TestProjectFile)
#include "test_projectfile.moc"
