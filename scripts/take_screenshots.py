#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Takes the user guide's screenshots (docs/images/*.png) from the real editor.

Run it again after a change to the windows, under a virtual X server:

    xvfb-run -a -s "-screen 0 1280x800x24" python3 scripts/take_screenshots.py [BUILD_DIR]

It starts the editor built in BUILD_DIR (default: build) with a data folder of its own
under openbox, imports the sample picture, paints a wood and a road with the mouse,
imports a map of the whole farmland (made from the sample's colours), shows the
Elevation map, the element tree and the Keyboard Shortcuts list, exports the map,
renders it with varga-map, and stops the editor abruptly to show the recovery question.
Every step is driven with xdotool as a map maker would; the pictures are taken with
ImageMagick's import.

Needs: xvfb, openbox, xdotool, x11-utils (xwininfo), imagemagick.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from drag_responsiveness import Screen, map_origin, run, wait_for, xdotool

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SAMPLE = os.path.join(ROOT, "data", "samples", "farmland_1200x840.jpg")
IMAGES = os.path.join(ROOT, "docs", "images")
PICTURE_W, PICTURE_H = 1200, 840
SCREEN_W, SCREEN_H = 1280, 800
WINDOW_W, WINDOW_H = 1280, 770

# Element ids of the default catalogue that the farmland map is painted with.
DEEP_WATER, DIRT_ROAD, CONIFER, HIGH_GRASS, CROPS, FIELD, MUDDY_FIELD = (
    259, 84, 142, 247, 249, 244, 250)


def farmland_map(path):
    """Writes a Varga map of the sample: each Sector gets the element its pixels look
    like (fields by the colour around it, so that their edges stay smooth) and a height
    from two gentle hills and the river's valley."""
    rgb = run("convert", SAMPLE, "-depth", "8", "rgb:-").stdout
    columns, rows = PICTURE_W // 10, PICTURE_H // 10
    x_quads, y_quads = PICTURE_W // 40, PICTURE_H // 40

    means, marks = {}, {}
    for row in range(rows):
        for column in range(columns):
            water = wood = road = 0
            total = [0, 0, 0]
            for y in range(row * 10, row * 10 + 10):
                for x in range(column * 10, column * 10 + 10):
                    i = (y * PICTURE_W + x) * 3
                    r, g, b = rgb[i], rgb[i + 1], rgb[i + 2]
                    total = [total[0] + r, total[1] + g, total[2] + b]
                    if b > r + 40 and b > g:
                        water += 1
                    elif g < 90 and r < 70:
                        wood += 1
                    elif r > 150 and g > 140 and b > 118:
                        road += 1
            means[column, row] = [t / 100 for t in total]
            marks[column, row] = (DEEP_WATER if water >= 40 else DIRT_ROAD if road >= 20
                                  else CONIFER if wood >= 50 else None)

    def field(column, row):
        around = [means[c, r] for c in range(column - 2, column + 3)
                  for r in range(row - 2, row + 3) if (c, r) in means]
        r, g, b = (sum(m[k] for m in around) / len(around) for k in range(3))
        if g > r + 8:
            return HIGH_GRASS if g > 140 else CROPS
        return FIELD if g > 130 else MUDDY_FIELD

    def height(x, y, element):
        if element == DEEP_WATER:
            return 2
        hill = 35 * 2.718 ** (-((x - 950) ** 2 + (y - 150) ** 2) / 90000)
        knoll = 20 * 2.718 ** (-((x - 250) ** 2 + (y - 250) ** 2) / 40000)
        return int(8 + hill + knoll)

    lines = ["10", " ", f"{x_quads} X Max ", f"{y_quads} Y Max ", "0", "0",
             "\t".join(["Id"] + [f"E{s}" for s in range(16)] + ["Elev"]), "&"]
    for quad in range(x_quads * y_quads):
        elements, heights = [], []
        for sector in range(16):
            column = quad % x_quads * 4 + sector % 4
            row = quad // x_quads * 4 + sector // 4
            element = marks[column, row] or field(column, row)
            elements.append(element)
            heights.append(height(column * 10 + 5, row * 10 + 5, element))
        lines.append("".join(f"{v}\t" for v in [quad] + elements + heights))
    lines.append("#")
    with open(path, "w", newline="") as out:
        out.write("".join(line + "\r\n" for line in lines))


class Editor:
    """The editor's process and its main window."""

    def __init__(self, binary, home):
        self.process = subprocess.Popen([binary], env=dict(os.environ,
                                                           VARGA_MAP_MAKER_HOME=home))
        # The splash hands over on a key.
        time.sleep(1.5)
        xdotool("key", "Return")
        self.window = wait_for(lambda: found_window("^Varga Map Maker$"), 20,
                               "the main window")
        xdotool("windowsize", self.window, WINDOW_W, WINDOW_H)
        xdotool("windowmove", self.window, 0, 0)
        xdotool("windowactivate", "--sync", self.window)
        time.sleep(0.5)
        # xwininfo gives the client's own corner (xdotool's is off by the frame).
        info = run("xwininfo", "-id", self.window).stdout.decode()
        corner = {line.split(":")[0].strip(): int(line.split(":")[1])
                  for line in info.splitlines() if "Absolute upper-left" in line}
        self.left, self.top = corner["Absolute upper-left X"], corner["Absolute upper-left Y"]

    def at(self, x, y):
        """Screen position of a point of the window."""
        return self.left + x, self.top + y

    def click(self, x, y, button=1):
        xdotool("mousemove", *self.at(x, y), "click", button)
        time.sleep(0.4)

    def keys(self, *keys):
        for key in keys:
            xdotool("key", key)
            time.sleep(0.25)

    def menu(self, mnemonic, downs):
        """Chooses the item `downs` steps below the first of a menu."""
        self.keys(f"alt+{mnemonic}", *["Down"] * downs, "Return")
        time.sleep(0.8)

    def type_file_name(self, path):
        time.sleep(0.8)
        xdotool("type", path)
        self.keys("Return")
        time.sleep(1.5)

    def choose(self, combo_x, text):
        """Opens the tool strip list at combo_x and picks the entry starting with text."""
        self.click(combo_x, 33)
        time.sleep(0.3)
        xdotool("type", text)
        self.keys("Return")

    def stop(self, sig=signal.SIGTERM):
        if self.process.poll() is None:
            self.process.send_signal(sig)
            try:
                self.process.wait(5)
            except subprocess.TimeoutExpired:
                self.process.kill()


class Desktop:
    """One run of a screenshot script: the build to use (the first argument, or build), a
    work folder, the window manager, and the editors started; at the end, however the run
    ends, the editors are stopped, the window manager too, and the folder is removed."""

    def __init__(self, prefix):
        self.build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1
                                     else os.path.join(ROOT, "build"))
        self.work = tempfile.mkdtemp(prefix=prefix)
        self.home = os.path.join(self.work, "home")
        self.editors = []
        self.openbox = subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL)
        time.sleep(1)  # so that it frames the editor's windows

    def program(self, name):
        return os.path.join(self.build, "src", name)

    def start_editor(self):
        """The editor with this run's data folder."""
        self.editors.append(Editor(self.program("varga-map-maker"), self.home))
        return self.editors[-1]

    def __enter__(self):
        return self

    def __exit__(self, *failure):
        for editor in self.editors:
            editor.stop()
        self.openbox.terminate()
        shutil.rmtree(self.work, ignore_errors=True)


def found_window(name):
    """The first visible window of that name that is not the splash (which bears the
    program's name too, and may still be up when the main window is looked for)."""
    found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", name],
                           capture_output=True)
    for window in found.stdout.decode().split():
        kind = subprocess.run(["xprop", "-id", window, "_NET_WM_WINDOW_TYPE"],
                              capture_output=True)
        # A window that closed meanwhile (the splash at its hand-over) answers nothing.
        if kind.returncode == 0 and b"SPLASH" not in kind.stdout:
            return window
    return None


def park_pointer():
    xdotool("mousemove", 1275, 795)
    time.sleep(0.3)


def store(name, picture, width=None):
    """Writes docs/images/NAME.png from a picture file, scaled to `width` if given."""
    path = os.path.join(IMAGES, name + ".png")
    args = ["convert", picture]
    if width:
        args += ["-filter", "Lanczos", "-resize", f"{width}x"]
    # Fewer colours keep the pictures small enough to travel inside the program.
    run(*args, "+dither", "-colors", "256", "-strip", "-define", "png:compression-level=9",
        path)
    print("docs/images/" + name + ".png")


def save(name, *, window="root", crop=None, width=None):
    """Takes docs/images/NAME.png from the screen or a window, cropped and scaled."""
    shot = os.path.join(tempfile.gettempdir(), f"vmm-shot-{os.getpid()}.png")
    args = ["import", "-window", str(window)]
    if crop:
        args += ["-crop", "{2}x{3}+{0}+{1}".format(*crop), "+repage"]
    run(*args, shot)
    store(name, shot, width)
    os.remove(shot)


def drag(editor, origin, points):
    """One left-button stroke through picture points."""
    first = editor.at(origin[0] + points[0][0], origin[1] + points[0][1])
    args = ["mousemove", *first, "mousedown", "1", "sleep", "0.05"]
    for x, y in points[1:]:
        args += ["mousemove", *editor.at(origin[0] + x, origin[1] + y), "sleep", "0.01"]
    xdotool(*args, "mouseup", "1")
    time.sleep(0.4)


def import_sample(editor, screen):
    """Imports the sample picture through the File menu; returns where its top-left pixel
    shows in the window."""
    editor.menu("f", 4)  # below the four project commands
    editor.type_file_name(SAMPLE)
    park_pointer()
    # Found by the Sector grid drawn over the picture: what changes on the screen at the
    # import also takes in the tool strip's lists and the map view's margins.
    left, top = map_origin(screen.grab(0, 0, SCREEN_W, SCREEN_H), editor.left, editor.top)
    return left - editor.left, top - editor.top


def main():
    os.makedirs(IMAGES, exist_ok=True)
    with Desktop("vmm-shots-") as desktop:
        farmland = os.path.join(desktop.work, "farmland.txt")
        farmland_map(farmland)
        editor = desktop.start_editor()
        screen = Screen()

        # The File menu, then the sample picture imported through it.
        editor.keys("alt+f")
        save("file-menu", crop=(editor.left, editor.top, 420, 190))
        editor.keys("Escape")
        origin = import_sample(editor, screen)
        print(f"picture at {origin} in the window")

        # A wood painted Quad by Quad, a road Sector by Sector.
        editor.choose(67, "Foil")
        editor.choose(230, "Big Conifer Tree 1")
        editor.keys("shift+d")
        wood = [(x, y) for y in range(440, 640, 40) for x in (range(220, 400, 30)
                                                             if y % 80 else range(390, 210, -30))]
        drag(editor, origin, wood)
        editor.choose(67, "Road")
        editor.choose(230, "Dirt Road")
        editor.keys("d")
        road = [(425, 4), (465, 100), (495, 200), (512, 300), (505, 400), (480, 500),
                (445, 600), (405, 700), (375, 780)]
        stroke = []
        for (x0, y0), (x1, y1) in zip(road, road[1:]):
            stroke += [(x0 + (x1 - x0) * i // 20, y0 + (y1 - y0) * i // 20) for i in range(20)]
        drag(editor, origin, stroke)
        xdotool("mousemove", *editor.at(origin[0] + 300, origin[1] + 520))
        time.sleep(0.5)
        save("painting", crop=(editor.left, editor.top, 860, WINDOW_H))

        # A tool strip control's tip, with its key.
        xdotool("mousemove", *editor.at(515, 33))
        time.sleep(0.3)
        xdotool("mousemove", *editor.at(518, 34))
        time.sleep(1.5)
        save("tool-tips", crop=(editor.left + 300, editor.top, 800, 90))
        park_pointer()

        # The whole farmland's map data, on the Terrain and the Elevation map.
        editor.menu("f", 5)
        editor.type_file_name(farmland)
        park_pointer()
        save("terrain-map", window=editor.window, width=900)
        editor.keys("ctrl+3")
        for _ in range(9):
            editor.keys("r")
        park_pointer()
        save("elevation-map", window=editor.window, width=900)
        editor.keys("ctrl+2")

        # The element tree beside the map, an element chosen in it.
        tree_panel = (770, WINDOW_H - 11)
        editor.click(*tree_panel)
        editor.click(90, 174)
        editor.keys("Right", "Down")
        xdotool("type", "Big Conifer Tree 1")
        park_pointer()
        save("tree-view", crop=(editor.left, editor.top, 700, WINDOW_H))
        editor.click(*tree_panel)

        # Every key, from the Help menu.
        editor.keys("alt+h", "k")
        shortcuts = wait_for(lambda: found_window("^Keyboard Shortcuts$"), 10, "the list")
        time.sleep(0.5)
        save("keyboard-shortcuts", window=shortcuts)
        editor.keys("Escape")

        # The map exported for the game, then drawn by the command-line tool.
        exported = os.path.join(desktop.work, "farmland-painted.txt")
        editor.menu("f", 6)
        editor.type_file_name(exported)
        rendered = os.path.join(desktop.work, "render.png")
        run(desktop.program("varga-map"), "render", SAMPLE, exported, "-o", rendered,
            env=dict(os.environ, VARGA_MAP_MAKER_HOME=desktop.home))
        run("convert", rendered, "-crop", "600x400+200+320", "+repage", rendered)
        store("render-terrain", rendered)

        # A stroke that is not exported, a crash, and the question at the next start.
        editor.keys("ctrl+2", "shift+e")
        drag(editor, origin, [(x, 300) for x in range(40, 400, 20)])
        # At most one copy a minute: this one may wait for the last one's minute to pass.
        wait_for(lambda: os.path.exists(os.path.join(desktop.home, "Recovery.vmr")), 90,
                 "the recovery copy")
        editor.stop(signal.SIGKILL)
        editor = desktop.start_editor()
        question = wait_for(lambda: found_window("^Restore Unsaved Map$"), 20, "the question")
        time.sleep(0.5)
        save("recovery", window=question)
        editor.stop(signal.SIGKILL)
    return 0


if __name__ == "__main__":
    sys.exit(main())
