// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to a shown main window, and resident memory with a maximum map loaded.
#include "MaximumMap.h"
#include "QuietDialogs.h"

#include "document/MapHistory.h"
#include "ui/main/MainWindow.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QWindow>

#include <memory>

namespace vmm::bench {
namespace {

// Shows the window and lets the event loop run until the platform reports it exposed.
bool showAndWait(QWidget &window) {
  window.show();
  QElapsedTimer waited;
  waited.start();
  while (waited.elapsed() < 5000) {
    QApplication::processEvents();
    if (window.windowHandle() && window.windowHandle()->isExposed()) return true;
  }
  return false;
}

void BM_StartUp(benchmark::State &state) {
  {
    // The first start in a data folder writes the catalogue and the cursors:
    // that once-only work is not what every start-up costs.
    QuietDialogs dialogs;
    MainWindow first(&dialogs);
  }
  for (auto _ : state) {
    QuietDialogs dialogs;
    auto window = std::make_unique<MainWindow>(&dialogs);
    const bool shown = showAndWait(*window);
    const int loaded = window->session().elementTable().loadedCount();
    state.PauseTiming();
    window.reset();
    QApplication::processEvents();
    if (!shown || loaded == 0 || dialogs.messages != 0) {
      state.SkipWithError("the main window was not shown with the catalogue loaded");
      break;
    }
    state.ResumeTiming();
  }
}
BENCHMARK(BM_StartUp)->Unit(benchmark::kMillisecond)->Iterations(10);

qint64 residentBytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine())
    if (line.startsWith("VmRSS:"))
      return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
  return -1;
}

// Run in a process of its own (`--benchmark_filter=ResidentMemory`): the
// figure is the whole process, so earlier benchmarks would inflate it.
void BM_ResidentMemory(benchmark::State &state) {
  QTemporaryDir folder;
  const QString jpeg = writeMaximumJpeg(folder.path());
  qint64 resident = 0;
  for (auto _ : state) {
    QuietDialogs dialogs;
    MainWindow window(&dialogs);
    showAndWait(window);
    if (!window.LoadMapImage(jpeg)) {
      state.SkipWithError("the maximum picture was refused");
      break;
    }
    {
      // One step, as a map data import records it: the history then holds every edit once.
      HistoryStep step(&window.session().history(), QStringLiteral("Import Map Data"));
      assignEverySector(window.session().document(), window.session().elementTable());
    }
    window.repaintWholeMap();
    QApplication::processEvents();
    resident = residentBytes();
  }
  const qint64 surface = qint64(kMaxWidth) * kMaxHeight * 4;
  state.counters["rss_bytes"] = double(resident);
  state.counters["surface_bytes"] = double(surface);
}
BENCHMARK(BM_ResidentMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace vmm::bench
