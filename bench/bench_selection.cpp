// SPDX-License-Identifier: GPL-3.0-or-later
// Selections: Select All, Copy and Paste of a whole maximum map against the whole-map repaint
// of both views, moving a 40 x 40-Sector selection by one Sector, and one step of the
// outline's animation on a shown view.
#include "MaximumMap.h"

#include "edits/SectorClipboard.h"
#include "session/EditorSession.h"
#include "ui/mapview/MapViewWindow.h"
#include "ui/mapview/SelectionOverlay.h"

#include "Yardsticks.h"

#include <benchmark/benchmark.h>

#include <QApplication>

namespace vmm::bench {
namespace {

// A maximum map with every Sector assigned on both planes, held by an editor session so
// that each change records its undo step as in the editor.
class SelectionMap {
 public:
  SelectionMap() {
    loadDefaultCatalogue(session);
    session.history().restart(
        [this] { assignEverySector(session.document(), session.elementTable()); });
    session.surfaces().load(maximumPicture());
    session.surfaces().AddGrid();
    session.repaintWholeMap();
  }

  EditorSession session;
};

SelectionMap &selectionMap() {
  static SelectionMap map;
  return map;
}

// The yardstick: both coloured views repainted whole.
void BM_SelectionRepaintBothViews(benchmark::State &state) {
  EditorSession &session = selectionMap().session;
  for (auto _ : state) session.repaintWholeMap();
}
BENCHMARK(BM_SelectionRepaintBothViews)
    ->Unit(benchmark::kMillisecond)
    ->MinTime(vmm::bench::minTime(0.5));

// Select All, Copy (the clipboard's bytes made and read back) and Paste of the whole map at
// its top-left corner, mirrored so that every paste writes most Sectors of both planes
// (pasting what is already there would repaint nothing).
void BM_SelectAllCopyPaste(benchmark::State &state) {
  EditorSession &session = selectionMap().session;
  std::array<QRect, 2> changed;
  for (auto _ : state) {
    session.selectAll();
    const DecodedSectors copied = decodeSectors(encodeSectors(session.copySelection()));
    changed = session.pasteBlock(turned(*copied.block, BlockTurn::FlipHorizontally), {0, 0});
    benchmark::DoNotOptimize(changed);
  }
  session.history().stack().clear();
  state.counters["area_w"] = changed[0].width();
  state.counters["sectors"] = session.selection().count();
}
BENCHMARK(BM_SelectAllCopyPaste)->Unit(benchmark::kMillisecond)->MinTime(vmm::bench::minTime(0.5));

// A 40 x 40-Sector selection moved by one Sector, back and forth: the undo step, the values
// and the repaint of the Sectors written, core work.
void BM_MoveSelection(benchmark::State &state) {
  EditorSession &session = selectionMap().session;
  const SectorGrid grid(session.document());
  session.selectRectangle(grid.address({100, 100}), grid.address({139, 139}),
                          SelectionChange::Replace);
  int direction = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(session.moveSelection(direction, 0));
    direction = -direction;
  }
  session.history().stack().clear();
  state.counters["selected"] = session.selection().count();
}
BENCHMARK(BM_MoveSelection)->Unit(benchmark::kMicrosecond)->MinTime(vmm::bench::minTime(0.2));

// One step of the outline's dashes on a shown map view at 100% with a 40 x 40 selection and
// with the whole map selected: the repaint of the strips along the edges. The timer steps
// it every 150 ms, so 1.5 ms per step is 1% of one core.
void BM_OutlineAnimationStep(benchmark::State &state) {
  EditorSession &session = selectionMap().session;
  const SectorGrid grid(session.document());
  if (state.range(0) == 0)
    session.selectRectangle(grid.address({10, 10}), grid.address({49, 49}),
                            SelectionChange::Replace);
  else
    session.selectAll();
  MapViewWindow view(session.document(), session.surfaces());
  view.resize(1920, 1080);
  view.show();
  SelectionOverlay *overlay = view.selectionOverlay();
  overlay->showSelection(session.selection());
  QApplication::processEvents();
  for (auto _ : state) {
    overlay->step();
    QApplication::processEvents();
  }
  state.SetLabel(state.range(0) == 0 ? "40 x 40" : "whole map");
}
BENCHMARK(BM_OutlineAnimationStep)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(vmm::bench::minTime(0.2));

}  // namespace
}  // namespace vmm::bench
