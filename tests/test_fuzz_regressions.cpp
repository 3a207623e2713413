// SPDX-License-Identifier: GPL-3.0-or-later
// Replays the fuzz targets' seed corpora and every input they ever found a fault with
// through the same checks, in the normal build and without libFuzzer.
#include "support/MapTextInvariants.h"
#include "support/ProjectInvariants.h"

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
  void replay_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("project");  // the project target's input, else the map text one's
    for (const QString &suffix : {QString(), QStringLiteral("-project")}) {
      // An empty or missing folder would make the replay pass without reading anything.
      QVERIFY2(!inputsIn("corpus" + suffix).isEmpty(), qPrintable(fuzzFolder("corpus" + suffix)));
      QVERIFY2(QDir(fuzzFolder("regressions" + suffix)).exists(),
               qPrintable(fuzzFolder("regressions" + suffix)));
      for (const QString &folder : {"regressions" + suffix, "corpus" + suffix})
        for (const QFileInfo &info : inputsIn(folder))
          QTest::newRow(qPrintable(folder + u'/' + info.fileName()))
              << info.absoluteFilePath() << !suffix.isEmpty();
    }
  }

  void replay() {
    QFETCH(QString, path);
    QFETCH(bool, project);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const QString problem =
        project ? test::checkProjectInvariants(bytes) : test::checkMapTextInvariants(bytes);
    QVERIFY2(problem.isEmpty(), qPrintable(problem));
  }
};

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "test_fuzz_regressions.moc"
