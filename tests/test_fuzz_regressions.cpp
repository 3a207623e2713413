// Replays the fuzz target's seed corpus and every input it ever found a fault with
// through the same checks, in the normal build and without libFuzzer.
#include "app/MapDocument.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "support/MapTextInvariants.h"

#include <QDir>
#include <QtTest>

using namespace vmm;

namespace {

QString fuzzFolder(const QString &name) {
  return QDir::cleanPath(QStringLiteral(VMM_TEST_DATA "/../../fuzz/") + name);
}

QFileInfoList inputsIn(const QString &name) {
  return QDir(fuzzFolder(name)).entryInfoList(QDir::Files, QDir::Name);
}

}  // namespace

class TestFuzzRegressions : public QObject {
  Q_OBJECT

 private slots:
  void foldersArePresent() {
    QVERIFY2(!inputsIn(QStringLiteral("corpus")).isEmpty(), qPrintable(fuzzFolder("corpus")));
    QVERIFY2(QDir(fuzzFolder(QStringLiteral("regressions"))).exists(),
             qPrintable(fuzzFolder("regressions")));
  }

  void replay_data() {
    QTest::addColumn<QString>("path");
    for (const char *folder : {"regressions", "corpus"})
      for (const QFileInfo &info : inputsIn(QString::fromLatin1(folder)))
        QTest::newRow(qPrintable(QString::fromLatin1(folder) + u'/' + info.fileName()))
            << info.absoluteFilePath();
  }

  void replay() {
    QFETCH(QString, path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString problem = test::checkMapTextInvariants(bytes);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));

    // Reading the file from disk gives what reading its bytes gives.
    MapDocument fromFile;
    MapDocument fromBytes;
    const MapImportResult viaFile = GetFile(fromFile, path);
    const MapImportResult viaBytes = applyMapText(parseMapText(bytes), fromBytes, path);
    QCOMPARE(viaFile.status, viaBytes.status);
    QCOMPARE(viaFile.messageText, viaBytes.messageText);
    QCOMPARE(fromFile.TotalQuads, fromBytes.TotalQuads);
    for (int quad = 0; quad <= viaFile.rowsRead && quad < kQuadCapacity; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector)
        for (Plane plane : {Plane::Element, Plane::Height})
          QCOMPARE(fromFile.value(quad, sector, plane), fromBytes.value(quad, sector, plane));
  }
};

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "test_fuzz_regressions.moc"
