// Replays the fuzz target's seed corpus and every input it ever found a fault with
// through the same checks, in the normal build and without libFuzzer.
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
  void replay_data() {
    QTest::addColumn<QString>("path");
    // An empty or missing folder would make the replay pass without reading anything.
    QVERIFY2(!inputsIn(QStringLiteral("corpus")).isEmpty(), qPrintable(fuzzFolder("corpus")));
    QVERIFY2(QDir(fuzzFolder(QStringLiteral("regressions"))).exists(),
             qPrintable(fuzzFolder("regressions")));
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
  }
};

QTEST_GUILESS_MAIN(TestFuzzRegressions)
#include "test_fuzz_regressions.moc"
