#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the user guide's Paint from Picture pictures (docs/images/paint-from-picture*.png)
from the real editor.

    xvfb-run -a -s "-screen 0 1280x800x24" python3 scripts/trace_screenshots.py [BUILD_DIR]

It imports the sample picture as take_screenshots.py does and paints about 1% of its
Sectors as examples with Draw Sector: a few short strokes in the woods, the fields, the
meadows and the river, and single Sectors along the road. Then Edit Options > Paint from
Picture... (Ctrl+T) opens the dock; once the preview shows, it takes the dock beside the
map at 100% and at 25%, applies the suggestions, and takes the map with the Problems dock
listing the Sectors left unsure.
"""

import sys
import time

from drag_responsiveness import Screen, wait_for, xdotool
from take_screenshots import (SCREEN_H, SCREEN_W, WINDOW_H, WINDOW_W, Desktop, drag,
                              import_sample, park_pointer, save)

# What a map maker would paint after a look at the picture: (category, element, strokes),
# each stroke (column, row, length) a run of Sectors to the right along one row; a run of
# one Sector is a click. 106 Sectors of the 10,080.
EXAMPLES = [
    ("Foilage", "Big Conifer Tree 1",
     [(27, 5, 4), (60, 15, 3), (28, 45, 3), (110, 3, 2), (74, 78, 2)]),
    ("Roadway", "Dirt Road",
     [(44, 5, 1), (46, 11, 1), (48, 17, 1), (49, 20, 1), (50, 26, 1), (50, 38, 1), (49, 44, 1),
      (44, 59, 1), (43, 62, 1), (42, 65, 1), (39, 71, 1), (37, 77, 1), (36, 80, 1)]),
    ("Water", "Deep Water", [(60, 57, 5), (88, 54, 3), (10, 67, 4)]),
    ("Terrain", "High Grass", [(15, 22, 5), (90, 22, 5), (45, 75, 4)]),
    ("Terrain", "Crops", [(55, 3, 5), (60, 27, 5), (66, 68, 4)]),
    ("Terrain", "Field", [(2, 2, 3), (5, 32, 4), (80, 45, 4), (100, 50, 4), (105, 76, 3)]),
    ("Terrain", "Light Muddy Field",
     [(8, 50, 5), (14, 40, 4), (28, 59, 4), (95, 3, 4), (20, 69, 4)]),
]
# Strokes on rows from here down are painted with the map scrolled to its bottom: at 100%
# the window shows about 65 rows of Sectors.
LOWER_ROWS = 60
SECTOR = 10  # picture pixels


def stroke_cells(stroke):
    """The Sectors a stroke paints, in order."""
    column, row, length = stroke
    return [(column + i, row) for i in range(length)]


def paint_examples(editor, origin, lower):
    """Paints the strokes above LOWER_ROWS (or from there down) with their elements."""
    for category, element, strokes in EXAMPLES:
        chosen = [s for s in strokes if (s[1] >= LOWER_ROWS) == lower]
        if not chosen:
            continue
        editor.choose(67, category)
        editor.choose(230, element)
        editor.keys("d")
        for stroke in chosen:
            drag(editor, origin, [(c * SECTOR + SECTOR // 2, r * SECTOR + SECTOR // 2)
                                  for c, r in stroke_cells(stroke)])


def block(shot, x, y, width, height):
    """The pixels of a screen rectangle, row by row, to compare."""
    starts = ((row - shot.top) * shot.stride + (x - shot.left) * 4 for row in range(y, y + height))
    return [shot.rows[start:start + width * 4] for start in starts]


def scrolled_by(before, after, x, y, width):
    """How many rows the map moved up between two grabs: the rows at y after the scroll
    are found in the grab before it (the picture's grain makes the match unique)."""
    seen = block(after, x, y, width, 16)
    for shift in range(0, 500):
        if block(before, x, y + shift, width, 16) == seen:
            return shift
    sys.exit("cannot tell how far the map scrolled")


def map_box(shot, left, top, right, bottom):
    """The corners of what the view draws on its plain background, which is the colour at
    (left, top)."""
    background = block(shot, left, top, 1, 1)[0]
    rows = [y for y in range(top, bottom)
            if block(shot, left, y, right - left, 1)[0] != background * (right - left)]
    if not rows:
        sys.exit("the map is not in the view")
    middle = block(shot, left, (rows[0] + rows[-1]) // 2, right - left, 1)[0]
    columns = [x for x in range(right - left) if middle[4 * x:4 * x + 4] != background]
    return left + columns[0], rows[0], left + columns[-1], rows[-1]


def wheel(editor, origin, button, turns=12):
    """Turns the mouse wheel over the map (button 4 up, 5 down) far enough to reach its end."""
    xdotool("mousemove", *editor.at(origin[0] + 300, origin[1] + 300))
    for _ in range(turns):
        xdotool("click", button)
        time.sleep(0.05)
    park_pointer()
    time.sleep(0.5)


def grab(screen):
    return screen.grab(0, 0, SCREEN_W, SCREEN_H)


def wait_until_still(screen, box, quiet=1.0, timeout=30):
    """Waits until the screen rectangle has not changed for `quiet` seconds."""
    end = time.monotonic() + timeout
    last, since = None, time.monotonic()
    while time.monotonic() < end:
        now = block(grab(screen), *box)
        if now != last:
            last, since = now, time.monotonic()
        elif time.monotonic() - since >= quiet:
            return
        time.sleep(0.1)
    sys.exit("the editor did not settle")


def main():
    with Desktop("vmm-trace-shots-") as desktop:
        editor = desktop.start_editor()
        screen = Screen()
        origin = import_sample(editor, screen)
        painted = sum(len(stroke_cells(s)) for _, _, strokes in EXAMPLES for s in strokes)
        print(f"{painted} example Sectors, picture at {origin} in the window")
        paint_examples(editor, origin, lower=False)

        # The rest from the bottom of the map; the wheel scrolls it without painting.
        park_pointer()
        top = grab(screen)
        wheel(editor, origin, 5)
        shift = scrolled_by(top, grab(screen), editor.left + origin[0] + 10,
                            editor.top + origin[1] + 5, 400)
        print(f"scrolled down {shift} pixels")
        paint_examples(editor, (origin[0], origin[1] - shift), lower=True)
        wheel(editor, origin, 4)

        # The dock, and the preview once it is worked out: the map no longer shows the
        # picture as before, wherever the narrower view now puts it.
        park_pointer()
        everything = (editor.left, editor.top, WINDOW_W - 10, WINDOW_H - 30)
        plain = grab(screen)
        corner = (editor.left + origin[0] + 100, editor.top + origin[1] + 100)
        editor.keys("ctrl+t")

        def previewed():
            shot = grab(screen)
            seen = block(plain, *corner, 400, 200)
            return all(block(shot, corner[0] + dx, corner[1], 400, 200) != seen
                       for dx in range(-80, 81))

        wait_for(previewed, 30, "the preview")
        wait_until_still(screen, everything)
        # The map beside the dock, from the road to the right edge of the view.
        right_part = (SCREEN_W - 900, editor.top + 80, 900, 660)
        save("paint-from-picture", crop=right_part)

        # At 25% the whole map sits in the middle of the view: the picture and its margin.
        editor.keys(*["ctrl+minus"] * 4)
        wait_until_still(screen, everything)
        left, top, right, bottom = map_box(grab(screen), editor.left + 5, editor.top + 85,
                                           editor.left + 1000, editor.top + 700)
        save("paint-from-picture-25", crop=(left - 12, top - 12, right - left + 25,
                                            bottom - top + 25))
        editor.keys("ctrl+0")
        # Back to the map's top-left corner.
        wheel(editor, origin, 4)
        xdotool("keydown", "shift")
        wheel(editor, origin, 4)
        xdotool("keyup", "shift")

        # Apply, reached from the slider (set to 0.60 again with the keys, wherever the
        # click met it) by the Tab key past Follow the picture; then Close, the next one,
        # so that the Sectors left show as the picture.
        editor.click(WINDOW_W - 130, 133)
        editor.keys("End", *["Page_Down"] * 4, "Tab", "Tab", "space")
        wait_until_still(screen, everything)
        editor.keys("Tab", "space")
        wait_until_still(screen, everything)
        # The Problems dock now fills the right side, the "Unsure" Sectors first.
        park_pointer()
        wait_until_still(screen, everything)
        save("paint-from-picture-applied", crop=right_part)
    return 0


if __name__ == "__main__":
    sys.exit(main())
