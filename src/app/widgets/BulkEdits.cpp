// Fill, clear and randomise: the edit runs in the core, the window guards and repaints.
#include "app/widgets/MDIfrmMain.h"

#include "edits/RandomSource.h"

namespace vmm {

void MDIfrmMain::runEditCommand(EditCommand command) {
  if (!requireMap()) return;
  {
    HistoryStep step(history_.get(), editCommandCaption(command));
    applyEditCommand(document_, command, *random_);
  }
  // Both views are repainted even when nothing changed.
  repaintWholeMap();
}

void MDIfrmMain::setRandomSource(std::unique_ptr<RandomSource> random) {
  random_ = std::move(random);
}

}  // namespace vmm
