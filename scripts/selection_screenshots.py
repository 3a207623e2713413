#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the user guide's selection pictures (docs/images/selection-*.png) from the real editor.

    xvfb-run -a -s "-screen 0 1280x800x24" python3 scripts/selection_screenshots.py [BUILD_DIR]

It imports the sample picture and the farmland's map as take_screenshots.py does, selects a
block in Select Area and shows its outline at 100% and 400%, floats a turned copy under the
pointer, and mirrors the battlefield's left half onto its right.
"""

import os
import sys
import time

from drag_responsiveness import Screen, changed_box, xdotool
from take_screenshots import (SCREEN_H, SCREEN_W, WINDOW_H, Desktop, drag, farmland_map,
                              import_sample, park_pointer, save)


def main():
    with Desktop("vmm-selection-shots-") as desktop:
        farmland = os.path.join(desktop.work, "farmland.txt")
        farmland_map(farmland)
        editor = desktop.start_editor()
        screen = Screen()
        origin = import_sample(editor, screen)
        editor.menu("f", 5)
        editor.type_file_name(farmland)

        # A block selected with a drag, a second one added with Shift: the outline at 100%.
        editor.keys("m")
        drag(editor, origin, [(205, 125), (300, 200), (395, 285)])
        xdotool("keydown", "shift")
        drag(editor, origin, [(355, 265), (455, 335)])
        xdotool("keyup", "shift")
        park_pointer()
        save("selection-100", crop=(editor.left + origin[0] + 150, editor.top + origin[1] + 80,
                                    380, 300))
        # Zoomed in at the block's corner with Ctrl + wheel: 400%.
        xdotool("mousemove", *editor.at(origin[0] + 400, origin[1] + 290))
        for _ in range(4):
            xdotool("keydown", "ctrl", "click", "4", "keyup", "ctrl")
            time.sleep(0.4)
        time.sleep(0.6)
        save("selection-400", crop=(editor.left + 250, editor.top + 150, 600, 420))
        editor.keys("ctrl+0")

        # The copy floats under the pointer, turned clockwise with Z.
        editor.keys("ctrl+c", "ctrl+v")
        xdotool("mousemove", *editor.at(origin[0] + 640, origin[1] + 405))
        time.sleep(0.3)
        xdotool("mousemove", *editor.at(origin[0] + 645, origin[1] + 405))
        editor.keys("z")
        time.sleep(0.5)
        save("selection-floating", crop=(editor.left + origin[0] + 450, editor.top + origin[1] + 260,
                                         520, 420))
        editor.keys("Escape", "Escape")

        # The left half copied, mirrored with X while it floats, and placed on the right half,
        # at the zoom that shows the whole map: where the picture lies is what the Image map
        # changes when it replaces the painted Terrain map.
        editor.keys("ctrl+9")
        park_pointer()
        fitted = screen.grab(0, 0, SCREEN_W, SCREEN_H)
        editor.keys("ctrl+1")
        park_pointer()
        bare = screen.grab(0, 0, SCREEN_W, SCREEN_H)
        editor.keys("ctrl+2")
        box = changed_box(fitted, bare, (editor.left, editor.top + 80, editor.left + SCREEN_W - 10,
                                         editor.top + WINDOW_H - 30))
        scale = (box[2] - box[0] + 1) / 1200

        def fitted_at(x, y):
            return editor.at(int(box[0] - editor.left + x * scale),
                             int(box[1] - editor.top + y * scale))

        xdotool("mousemove", *fitted_at(5, 5), "mousedown", "1", "sleep", "0.05",
                "mousemove", *fitted_at(300, 400), "sleep", "0.05",
                "mousemove", *fitted_at(595, 835), "sleep", "0.05", "mouseup", "1")
        time.sleep(0.4)
        editor.keys("ctrl+c", "ctrl+v", "x")
        xdotool("mousemove", *fitted_at(606, 6))
        time.sleep(0.3)
        xdotool("mousemove", *fitted_at(605, 5), "click", "1")
        time.sleep(0.5)
        park_pointer()
        save("selection-mirrored", crop=(editor.left, editor.top, 1100, WINDOW_H), width=800)
    return 0


if __name__ == "__main__":
    sys.exit(main())
