// Varga and Tolle export and map text import of a maximum map, in bytes of file text.
#include "MaximumMap.h"

#include "catalogue/CatalogueDatabase.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"

#include "Yardsticks.h"

#include <benchmark/benchmark.h>

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
void BM_MapTextImport(benchmark::State &state) {
  const QByteArray text = vargaMapText(assignedDocument());
  MapDocument target;
  target.mapReady = true;
  int rows = 0;
  for (auto _ : state) {
    const MapTextContent content = parseMapText(text);
    const MapImportResult result = applyMapText(content, target, QStringLiteral("max.txt"));
    rows = result.rowsRead;
  }
  if (rows != kMaxXQuads * kMaxYQuads) state.SkipWithError("the map text did not import whole");
  state.SetBytesProcessed(qint64(state.iterations()) * text.size());
}
BENCHMARK(BM_MapTextImport)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

}  // namespace
}  // namespace vmm::bench
