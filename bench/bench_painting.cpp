// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-map repaint against one copy of a surface, and single mouse paints.
#include "MaximumMap.h"
#include "Yardsticks.h"

#include "mapview/EditDispatch.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace vmm::bench {
namespace {

// The yardstick of the repaint budget: one memcpy of one surface's bytes.
void BM_SurfaceMemcpy(benchmark::State &state) {
  copyBytes(state, std::size_t(kMaxWidth) * kMaxHeight * 4);
}
BENCHMARK(BM_SurfaceMemcpy)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

void BM_WholeMapRepaint(benchmark::State &state) {
  MaximumMap &map = sharedMaximumMap();
  map.drawStyle = int(state.range(0));
  map.document.mousePainting = false;
  for (auto _ : state) {
    map.repaintBothViews();
    benchmark::DoNotOptimize(map.surfaces.surface(MapView::Terrain).constBits());
  }
  state.SetLabel(drawStyleName(map.drawStyle));
}
BENCHMARK(BM_WholeMapRepaint)
    ->Arg(int(DrawStyle::Solid))
    ->Arg(int(DrawStyle::Transparent))
    ->Arg(int(DrawStyle::Hollow))
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(1.0));

// One left-button paint as the mouse editor makes it: the document's current
// Quad and Sector move on at every call, over the whole map.
void BM_MousePaint(benchmark::State &state) {
  MaximumMap &map = sharedMaximumMap();
  const auto mode = static_cast<EditMode>(state.range(0));
  map.drawStyle = int(state.range(1));
  MapDocument &doc = map.document;
  doc.mousePainting = true;
  doc.CurrentDrawElement = 1;
  doc.CurrentDrawHeight = 5;
  int step = 0;
  QRect area;
  for (auto _ : state) {
    doc.CurrentQuad = qint16(step % doc.TotalQuads);
    doc.CurrentSect = qint16(step % kSectorsPerQuad);
    ++step;
    area = applyEditMode(*map.painter, doc, Plane::Element, mode);
    benchmark::DoNotOptimize(area);
  }
  doc.mousePainting = false;
  state.counters["area_w"] = area.width();
  state.counters["area_h"] = area.height();
  state.SetLabel(std::string(mode == EditMode::DrawQuad ? "DrawQuad/" : "DrawSector/") +
                 drawStyleName(map.drawStyle));
}
BENCHMARK(BM_MousePaint)
    ->ArgsProduct({{int(EditMode::DrawQuad), int(EditMode::DrawSector)},
                   {int(DrawStyle::Solid), int(DrawStyle::Transparent), int(DrawStyle::Hollow)}})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(vmm::bench::minTime(0.2));

}  // namespace
}  // namespace vmm::bench
