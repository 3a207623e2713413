// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark runner: a QApplication on the offscreen platform (the window
// benchmarks need one) and a private data folder, so a run never touches the
// user's catalogue.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char **argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir home;
  if (!home.isValid()) return 2;
  qputenv("VARGA_MAP_MAKER_HOME", home.path().toLocal8Bit());

  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
