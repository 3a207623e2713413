// SPDX-License-Identifier: GPL-3.0-or-later
// Varga and Tolle export and map text import of a maximum map, in bytes of file text.
#include "MaximumMap.h"

#include "catalogue/CatalogueDatabase.h"
#include "cli/Commands.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"

#include "Yardsticks.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace vmm::bench {
namespace {

// A maximum map's document only: the file benchmarks need no surfaces.
MapDocument &assignedDocument() {
  static MapDocument document;
  static const bool filled = [] {
    ElementTable elements;
    HeightColours heights;
    CatalogueDatabase().LoadElements(elements, heights, 0);
    assignEverySector(document, elements);
    return true;
  }();
  Q_UNUSED(filled);
  return document;
}

void BM_MapTextExport(benchmark::State &state) {
  const auto edition = static_cast<MapEdition>(state.range(0));
  const MapDocument &doc = assignedDocument();
  qint64 bytes = 0;
  for (auto _ : state) {
    const QByteArray text = mapText(doc, edition);
    bytes += text.size();
    benchmark::DoNotOptimize(text.constData());
  }
  state.SetBytesProcessed(bytes);
  state.SetLabel(edition == MapEdition::Varga ? "Varga" : "Tolle");
}
BENCHMARK(BM_MapTextExport)
    ->Arg(int(MapEdition::Varga))
    ->Arg(int(MapEdition::Tolle))
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(0.5));

// Reading a Varga file held in memory into a document: parse, then store every value.
// Each run starts from a cleared map, as an import into a new map does; into the map
// of the run before, every store would find its value already there.
void BM_MapTextImport(benchmark::State &state) {
  const QByteArray text = vargaMapText(assignedDocument());
  MapDocument target;
  target.mapReady = true;
  int rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    target.clearPlanes();
    state.ResumeTiming();
    const MapTextContent content = parseMapText(text);
    const MapImportResult result = applyMapText(content, target, QStringLiteral("max.txt"));
    rows = result.rowsRead;
  }
  if (rows != kMaxXQuads * kMaxYQuads) state.SkipWithError("the map text did not import whole");
  state.SetBytesProcessed(qint64(state.iterations()) * text.size());
}
BENCHMARK(BM_MapTextImport)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

// The whole command-line path of a maximum map text: `varga-map convert` in-process, the
// file read, its size taken from its header, every value stored and the Varga text written.
void BM_ConvertCommand(benchmark::State &state) {
  QTemporaryDir folder;
  const QString input = QDir(folder.path()).filePath(QStringLiteral("max.txt"));
  const QString output = QDir(folder.path()).filePath(QStringLiteral("out.txt"));
  QFile file(input);
  const QByteArray text = vargaMapText(assignedDocument());
  if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size()) {
    state.SkipWithError("the map text cannot be written");
    return;
  }
  file.close();
  const QStringList arguments{input, QStringLiteral("-o"), output, QStringLiteral("--to"),
                              QStringLiteral("varga")};
  for (auto _ : state)
    if (cli::runConvert(arguments) != 0) {
      state.SkipWithError("convert failed");
      break;
    }
  if (QFileInfo(output).size() != text.size()) state.SkipWithError("convert wrote another map");
  state.SetBytesProcessed(qint64(state.iterations()) * text.size());
}
BENCHMARK(BM_ConvertCommand)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

}  // namespace
}  // namespace vmm::bench
