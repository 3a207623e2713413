// Fill, clear and randomise: the edit runs in the core, the window guards and repaints.
#include "app/widgets/MainWindow.h"

namespace vmm {

void MainWindow::runEditCommand(EditCommand command) {
  if (!requireMap()) return;
  session_.runEditCommand(command);
  // Both views are repainted even when nothing changed.
  repaintWholeMap();
}

}  // namespace vmm
