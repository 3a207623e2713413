// SPDX-License-Identifier: GPL-3.0-or-later
// The map view at other zoom levels: repainting a full-screen viewport against one
// memcpy of its bytes, and one Sector paint at 25% with the overview following it.
#include "MaximumMap.h"
#include "Yardsticks.h"

#include "mapview/EditDispatch.h"
#include "mapview/ReducedCopy.h"
#include "mapview/ViewZoom.h"
#include "mapview/ZoomedSurface.h"

#include <benchmark/benchmark.h>

#include <QPainter>

#include <cstring>
#include <vector>

namespace vmm::bench {
namespace {

constexpr QSize kViewport(1920, 1080);
// The overview dock's panel at its usual size.
constexpr QSize kOverviewPanel(260, 250);
const QColor kBackground(240, 240, 240);

// The yardstick: one memcpy of a viewport's bytes.
void BM_ViewportMemcpy(benchmark::State &state) {
  copyBytes(state, std::size_t(kViewport.width()) * kViewport.height() * 4);
}
BENCHMARK(BM_ViewportMemcpy)->Unit(benchmark::kMicrosecond)->MinTime(vmm::bench::minTime(0.5));

// What the Terrain view's widget does for a full repaint of a 1920 x 1080
// viewport scrolled to the middle of the map: the zoomed surface painted into
// the window's backing picture (an RGB32 image, as the screen's is). Below 100%
// the reduced copy is built before timing, as the first repaint after a change
// of level builds it.
void BM_ViewportRepaint(benchmark::State &state) {
  MaximumMap &map = sharedMaximumMap();
  const double level = state.range(0) / 1000.0;
  ZoomedSurface zoomed(&map.surfaces.surface(MapView::Terrain));
  zoomed.setZoom(level, 1.0);
  const QSize zoomedSize = zoomed.size();
  const QPoint scroll(std::max(0, (zoomedSize.width() - kViewport.width()) / 2),
                      std::max(0, (zoomedSize.height() - kViewport.height()) / 2));
  const QRect exposed(scroll, kViewport);
  QImage backing(kViewport, QImage::Format_RGB32);
  backing.fill(0);
  auto repaint = [&] {
    QPainter painter(&backing);
    painter.translate(-scroll);
    zoomed.paint(painter, exposed, kBackground);
  };
  repaint();
  for (auto _ : state) {
    repaint();
    benchmark::DoNotOptimize(backing.constBits());
    benchmark::ClobberMemory();
  }
  state.SetLabel(ViewZoom::levelText(level).toStdString());
}
BENCHMARK(BM_ViewportRepaint)
    ->Arg(125)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(4000)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(vmm::bench::minTime(0.5));

// Building a view's reduced copy of a maximum map from scratch, as the first repaint
// after a change of level, a view switch or a whole-map repaint does. No budget: it
// tells what such a change costs on top of the repaint.
void BM_ReducedCopyBuild(benchmark::State &state) {
  MaximumMap &map = sharedMaximumMap();
  const double level = state.range(0) / 1000.0;
  ReducedCopy copy;
  for (auto _ : state) {
    copy.reset(&map.surfaces.surface(MapView::Terrain), level);
    benchmark::DoNotOptimize(copy.image().constBits());
  }
  state.SetLabel(ViewZoom::levelText(level).toStdString());
}
BENCHMARK(BM_ReducedCopyBuild)
    ->Arg(125)
    ->Arg(250)
    ->Arg(259)
    ->Arg(667)
    ->Unit(benchmark::kMillisecond)
    // A whole copy is built on every core: the frame it must fit in is wall time, and
    // the CPU column counts every thread.
    ->UseRealTime()
    ->MeasureProcessCPUTime()
    ->MinTime(vmm::bench::minTime(0.5));

// One left-button Sector paint at 25% as the editor makes it: the painter
// records and draws the Sector, then the view's reduced copy and the overview's
// follow the changed area. The current Sector moves on over the whole map.
void BM_ZoomedSectorPaint(benchmark::State &state) {
  MaximumMap &map = sharedMaximumMap();
  map.drawStyle = int(DrawStyle::Solid);
  const QImage &terrain = map.surfaces.surface(MapView::Terrain);
  ZoomedSurface view(&terrain);
  view.setZoom(0.25, 1.0);
  ZoomedSurface overview(&terrain);
  overview.setZoom(std::min(double(kOverviewPanel.width()) / kMaxWidth,
                            double(kOverviewPanel.height()) / kMaxHeight),
                   1.0);
  // Both copies built, as the first repaints after the level was set build them.
  QImage screen(kViewport, QImage::Format_RGB32);
  {
    QPainter painter(&screen);
    view.paint(painter, QRect(QPoint(0, 0), kViewport), kBackground);
    overview.paint(painter, QRect(QPoint(0, 0), kOverviewPanel), kBackground);
  }
  MapDocument &doc = map.document;
  doc.mousePainting = true;
  doc.CurrentDrawElement = 1;
  int step = 0;
  QRect shown;
  for (auto _ : state) {
    doc.CurrentQuad = qint16((step * 7) % doc.TotalQuads);
    doc.CurrentSect = qint16(step % kSectorsPerQuad);
    ++step;
    const QRect area = applyEditMode(*map.painter, doc, Plane::Element, EditMode::DrawSector);
    shown = view.pictureChanged(area);
    benchmark::DoNotOptimize(overview.pictureChanged(area));
  }
  doc.mousePainting = false;
  state.counters["area_w"] = shown.width();
  state.counters["area_h"] = shown.height();
}
BENCHMARK(BM_ZoomedSectorPaint)->Unit(benchmark::kMicrosecond)->MinTime(vmm::bench::minTime(0.3));

}  // namespace
}  // namespace vmm::bench
