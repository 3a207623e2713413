// SPDX-License-Identifier: GPL-3.0-or-later
// The Legend's counts and the Problems list against one whole-map repaint of one view,
// and a mouse paint with the counts following it.
#include "MaximumMap.h"

#include "mapview/EditDispatch.h"
#include "session/MapProblems.h"
#include "session/MapStatistics.h"

#include "Yardsticks.h"

#include <benchmark/benchmark.h>

namespace vmm::bench {
namespace {

// A maximum map of its own with the counts watching it; made on first use.
struct CountedMap {
  MaximumMap map;
  MapStatistics statistics{map.document};
};

CountedMap &countedMap() {
  static CountedMap counted;
  return counted;
}

// The yardstick: Refresh Screen of the Terrain view (picture, grid, every Sector).
void BM_OneViewRepaint(benchmark::State &state) {
  MaximumMap &map = countedMap().map;
  map.drawStyle = int(DrawStyle::Solid);
  map.document.mousePainting = false;
  for (auto _ : state) {
    map.document.mapReady = false;
    map.painter->repaintMap(Plane::Element);
    map.document.mapReady = true;
    benchmark::DoNotOptimize(map.surfaces.surface(MapView::Terrain).constBits());
  }
}
BENCHMARK(BM_OneViewRepaint)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(1.0));

// Everything the two docks work out from scratch: both planes counted, then every
// problem found (with the list's cap per kind). Arg 1 first takes every value away,
// the worst case for the problems: a finding for every Quad.
void BM_LegendAndProblemsRecount(benchmark::State &state) {
  CountedMap &counted = countedMap();
  MapDocument &document = counted.map.document;
  const bool unassigned = state.range(0) == 1;
  std::vector<qint16> kept;
  if (unassigned) {
    for (int quad = 0; quad < document.TotalQuads; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector)
        for (const Plane plane : {Plane::Element, Plane::Height}) {
          kept.push_back(document.value(quad, sector, plane));
          document.setValue(quad, sector, plane, kUnassigned);
        }
  }
  const int pictureQuads = document.XQuads * document.YQuads;
  int findings = 0;
  for (auto _ : state) {
    counted.statistics.recount();
    const MapProblemList problems =
        findMapProblems(document, counted.map.elements, pictureQuads, 500);
    findings = problems.total();
    benchmark::DoNotOptimize(counted.statistics.unassigned(Plane::Element));
  }
  state.counters["findings"] = findings;
  if (unassigned) {
    std::size_t next = 0;
    for (int quad = 0; quad < document.TotalQuads; ++quad)
      for (int sector = 0; sector < kSectorsPerQuad; ++sector)
        for (const Plane plane : {Plane::Element, Plane::Height})
          document.setValue(quad, sector, plane, kept[next++]);
  }
  state.SetLabel(unassigned ? "every Sector unassigned" : "every Sector assigned");
}
BENCHMARK(BM_LegendAndProblemsRecount)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(1.0));

// A Draw Quad mouse paint (16 Sectors) while the counts follow every write.
void BM_MousePaintCounted(benchmark::State &state) {
  CountedMap &counted = countedMap();
  MapDocument &doc = counted.map.document;
  counted.map.drawStyle = int(DrawStyle::Solid);
  doc.mousePainting = true;
  int step = 0;
  QRect area;
  for (auto _ : state) {
    doc.CurrentQuad = qint16(step % doc.TotalQuads);
    doc.CurrentDrawElement = qint16(1 + step % 2);  // every Sector really changes
    ++step;
    area = applyEditMode(*counted.map.painter, doc, Plane::Element, EditMode::DrawQuad);
    benchmark::DoNotOptimize(area);
  }
  doc.mousePainting = false;
  state.counters["unassigned"] = counted.statistics.unassigned(Plane::Element);
}
BENCHMARK(BM_MousePaintCounted)->Unit(benchmark::kMicrosecond)->MinTime(vmm::bench::minTime(0.2));

}  // namespace
}  // namespace vmm::bench
