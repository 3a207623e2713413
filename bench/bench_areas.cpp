// SPDX-License-Identifier: GPL-3.0-or-later
// The area tools: a bucket fill of a whole maximum map against a whole-map repaint
// of one view, and a 5 x 5 brush moving over a maximum map.
#include "MaximumMap.h"

#include "edits/AreaShapes.h"
#include "mapview/EditDispatch.h"
#include "session/EditorSession.h"

#include "Yardsticks.h"

#include <benchmark/benchmark.h>

namespace vmm::bench {
namespace {

// A maximum map whose Sectors all hold one element, held by an editor session (so
// a fill records its undo step as in the editor), and two elements to fill with.
class OneValueMap {
 public:
  OneValueMap() {
    loadDefaultCatalogue(session);
    for (int id = 0; id < kMaxElements && second < 0; ++id)
      if (session.elementTable().hasElement(id)) (first < 0 ? first : second) = qint16(id);
    MapDocument &doc = session.document();
    doc.XQuads = kMaxXQuads;
    doc.YQuads = kMaxYQuads;
    doc.TotalQuads = kMaxXQuads * kMaxYQuads;
    doc.mapReady = true;
    {
      HistoryStep step(&session.history(), QStringLiteral("One value"));
      for (int quad = 0; quad < doc.TotalQuads; ++quad)
        for (int sect = 0; sect < kSectorsPerQuad; ++sect)
          doc.setValue(quad, sect, Plane::Element, first);
    }
    session.history().stack().clear();
    session.surfaces().load(maximumPicture());
    session.repaintWholePlane(Plane::Element);
  }

  EditorSession session;
  qint16 first = -1;
  qint16 second = -1;
};

OneValueMap &oneValueMap() {
  static OneValueMap map;
  return map;
}

// The yardstick of the fill: the picture, the grid and every Sector of one view.
void BM_WholeViewRepaint(benchmark::State &state) {
  OneValueMap &map = oneValueMap();
  const auto style = static_cast<DrawStyle>(state.range(0));
  map.session.setDrawStyle(style);
  for (auto _ : state) {
    benchmark::DoNotOptimize(map.session.repaintWholePlane(Plane::Element));
  }
  state.SetLabel(drawStyleName(int(style)));
}
BENCHMARK(BM_WholeViewRepaint)
    ->Arg(int(DrawStyle::Solid))
    ->Arg(int(DrawStyle::Transparent))
    ->Arg(int(DrawStyle::Hollow))
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(0.5));

// A click of Fill Area on a map of one element: all 79 488 Sectors take the other
// element, with the undo step and the painting of every Sector; the next click
// fills them back.
void BM_FloodFill(benchmark::State &state) {
  OneValueMap &map = oneValueMap();
  const auto style = static_cast<DrawStyle>(state.range(0));
  map.session.setDrawStyle(style);
  map.session.setEditMode(EditMode::FillArea);
  MapDocument &doc = map.session.document();
  const int sectors = int(doc.TotalQuads) * kSectorsPerQuad;
  QRect area;
  for (auto _ : state) {
    doc.CurrentDrawElement = doc.value(0, 0, Plane::Element) == map.first ? map.second : map.first;
    area = map.session.fillArea(Plane::Element, {0, 0});
    benchmark::DoNotOptimize(area);
  }
  if (doc.value(doc.TotalQuads - 1, 15, Plane::Element) != doc.CurrentDrawElement)
    state.SkipWithError("the fill did not reach the whole map");
  state.counters["sectors"] = sectors;
  state.counters["area_w"] = area.width();
  state.counters["area_h"] = area.height();
  state.SetLabel(drawStyleName(int(style)));
}
BENCHMARK(BM_FloodFill)
    ->Arg(int(DrawStyle::Solid))
    ->Arg(int(DrawStyle::Transparent))
    ->Arg(int(DrawStyle::Hollow))
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(0.5));

// One mouse move of Draw Sector with a 5 x 5 brush, core work: the brush's Sectors
// found and painted as the session paints them, the pointer moving on at every call.
void BM_BrushMove(benchmark::State &state) {
  MaximumMap &map = sharedMaximumMap();
  map.drawStyle = int(state.range(0));
  MapDocument &doc = map.document;
  doc.mousePainting = true;
  doc.CurrentDrawElement = 1;
  const SectorGrid grid(doc);
  int step = 0;
  QRect area;
  for (auto _ : state) {
    const int quad = step % doc.TotalQuads;
    const int sect = step % kSectorsPerQuad;
    ++step;
    const std::vector<SectorAddress> brush = sectorsOf(grid, brushSpan(grid.cell({quad, sect}), 5));
    area = applyToSectors(*map.painter, doc, Plane::Element, false, brush);
    benchmark::DoNotOptimize(area);
  }
  doc.mousePainting = false;
  state.counters["area_w"] = area.width();
  state.counters["area_h"] = area.height();
  state.SetLabel(drawStyleName(map.drawStyle));
}
BENCHMARK(BM_BrushMove)
    ->Arg(int(DrawStyle::Solid))
    ->Arg(int(DrawStyle::Transparent))
    ->Arg(int(DrawStyle::Hollow))
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(vmm::bench::minTime(0.2));

}  // namespace
}  // namespace vmm::bench
