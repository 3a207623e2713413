#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Drives the editor as a map maker would and checks it keeps up with a fast drag.

Run under a virtual X server with a window manager available:

    xvfb-run -a -s "-screen 0 1400x900x24" python3 scripts/drag_responsiveness.py \
        build/src/varga-map-maker [SCREENSHOT.png]

It imports a maximum picture (2880 x 2760, 72 x 69 Quads), paints one Sector to learn
where the map sits on the screen and which colour the current element has, then sends
drags of 200 mouse moves with xdotool: one paced like a fast mouse, one as fast as
xdotool can send. After each it measures how long the editor takes, once the last move
was sent, to show the last Sector painted (the event queue's lag), and checks that the
Sector under the pointer at every move was painted. The same two drags then run at 25%
(Ctrl+- four times) and at 400% (Ctrl+= four times), over parts of the map not painted
yet. Exits non-zero when a Sector was missed or the lag exceeds the limit (a quarter of a
second at 100%, 50 ms at the other levels).

Needs: xvfb, openbox, xdotool, imagemagick (convert, and import for the screenshot).
"""

import ctypes
import ctypes.util
import math
import os
import shutil
import subprocess
import sys
import tempfile
import time

SCREEN_W, SCREEN_H = 1400, 900
MOVES = 200
LAG_LIMIT_S = 0.25  # a quarter of a second after the last move the map must be up to date
ZOOMED_LAG_LIMIT_S = 0.05


def run(*args, **kw):
    return subprocess.run(list(args), check=True, capture_output=True, **kw)


def xdotool(*args):
    return run("xdotool", *[str(a) for a in args]).stdout.decode().strip()


class XImage(ctypes.Structure):
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int),
                ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                ("data", ctypes.c_void_p), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int)]


class Screen:
    """Reads the screen's pixels straight from the X server: a one-pixel read takes well
    under a millisecond, so it can time how soon the editor shows a change."""

    Z_PIXMAP = 2

    def __init__(self):
        self.x = ctypes.CDLL(ctypes.util.find_library("X11"))
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XGetImage.restype = ctypes.POINTER(XImage)
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                     ctypes.c_int, ctypes.c_uint, ctypes.c_uint,
                                     ctypes.c_ulong, ctypes.c_int]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.display = self.x.XOpenDisplay(None)
        if not self.display:
            sys.exit("cannot open the X display")
        self.root = self.x.XDefaultRootWindow(self.display)

    def grab(self, left=0, top=0, width=SCREEN_W, height=SCREEN_H):
        """The rectangle as rows of 4-byte pixels (blue, green, red, unused)."""
        image = self.x.XGetImage(self.display, self.root, left, top, width, height,
                                 0xFFFFFFFF, self.Z_PIXMAP)
        if not image or image.contents.bits_per_pixel != 32:
            sys.exit("screen grab failed (expected a 24-bit screen)")
        im = image.contents
        rows = ctypes.string_at(im.data, im.bytes_per_line * height)
        stride = im.bytes_per_line
        self.x.XFree(ctypes.c_void_p(im.data))
        self.x.XFree(image)
        return Shot(rows, stride, left, top)


class Shot:
    def __init__(self, rows, stride, left, top):
        self.rows, self.stride, self.left, self.top = rows, stride, left, top

    def pixel(self, x, y):
        i = (y - self.top) * self.stride + (x - self.left) * 4
        b, g, r = self.rows[i:i + 3]
        return r, g, b


def wait_for(predicate, timeout, what, poll=0.1):
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        value = predicate()
        if value:
            return value
        time.sleep(poll)
    sys.exit(f"timed out waiting for {what}")


def park_pointer():
    # Off the editor's window, so the pointer never hides a Sector in a grab.
    xdotool("mousemove", 2, SCREEN_H - 2)


def changed_box(before, after, region):
    left, top, right, bottom = region
    xs, ys = [], []
    for y in range(top, bottom):
        for x in range(left, right):
            if before.pixel(x, y) != after.pixel(x, y):
                xs.append(x)
                ys.append(y)
    if not xs:
        return None
    return min(xs), min(ys), max(xs), max(ys)


def cell_centre(x, y, phase_x, phase_y):
    """Screen position of the centre of the 10 x 10 cell holding (x, y)."""
    return x - (x - phase_x) % 10 + 5, y - (y - phase_y) % 10 + 5


def drag_path(left, top, width, height, phase_x, phase_y):
    points = []
    for i in range(MOVES):
        x = left + 10 + i * (width - 20) // MOVES
        y = top + height // 2 + int((height // 2 - 15) * math.sin(i / 12.0))
        points.append(cell_centre(x, y, phase_x, phase_y))
    return points


def drag(points, pause):
    # The window manager holds the pointer for a moment after a press (click to focus),
    # merging the moves that arrive meanwhile; a hand needs longer than this to move.
    args = ["mousemove", points[0][0], points[0][1], "mousedown", "1", "sleep", "0.05"]
    for x, y in points[1:]:
        args += ["mousemove", x, y]
        if pause:
            args += ["sleep", pause]
    started = time.monotonic()
    xdotool(*args)
    sent = time.monotonic()
    return started, sent


def last_cell_painted(screen, points, colour):
    x, y = points[-1]
    return screen.grab(x, y, 1, 1).pixel(x, y) == colour


def run_drag(screen, name, points, pause, colour, lag_limit):
    """One drag through the points; True when every point's Sector shows painted in time."""
    start_shot = screen.grab()
    already = sum(start_shot.pixel(x, y) == colour for x, y in points)
    started, sent = drag(points, pause)
    wait_for(lambda: last_cell_painted(screen, points, colour), 10, "the last Sector",
             poll=0.001)
    shown = time.monotonic()
    xdotool("mouseup", "1")
    park_pointer()
    time.sleep(0.3)
    shot = screen.grab()
    painted = sum(shot.pixel(x, y) == colour for x, y in points)
    lag = shown - sent
    print(f"{name}: {MOVES} moves sent in {sent - started:.3f} s, last Sector shown "
          f"{lag * 1000:.0f} ms after the last move; {painted}/{MOVES} Sectors under "
          f"the pointer painted ({already} were painted before)")
    missed = [i for i, (x, y) in enumerate(points) if shot.pixel(x, y) != colour]
    if missed:
        print(f"  moves whose Sector was not painted: {missed}")
    return painted == MOVES and already < MOVES and lag <= lag_limit


def is_black(shot, x, y):
    return max(shot.pixel(x, y)) < 20


def map_origin(shot, win_x, win_y):
    """Where picture pixel (0, 0) is on the screen at 100% and unscrolled: the black (Quad)
    grid lines lie at picture pixels 40, 80, 120 ..., with teal lines between."""
    def first_line(along):
        for across in range(150, 400, 7):
            for at in range(0, 200):
                if all(along(at + d, across) for d in (0, 40, 80, 120, 160)) \
                        and not along(at + 20, across) and not along(at + 5, across):
                    return at - 40
        sys.exit("cannot find the map's grid on the screen")
    left = first_line(lambda x, y: is_black(shot, win_x + x, win_y + y))
    top = first_line(lambda y, x: is_black(shot, win_x + x, win_y + y))
    return win_x + left, win_y + top


def zoomed_path(level, scroll, origin, band):
    """200 points along a wave over the picture band (left, top, width, height in picture
    pixels), each where the screen shows the inside of a Sector cell only."""
    left, top, width, height = band
    points = []
    for i in range(MOVES):
        px = left + i * width // MOVES
        py = top + height // 2 + int((height // 2 - 10) * math.sin(i / 12.0))
        cx, cy = px - px % 10 + 5, py - py % 10 + 5  # the cell's centre
        if level >= 1:
            sx, sy = int(cx * level + level / 2), int(cy * level + level / 2)
        else:
            # The screen pixel whose picture area lies wholly inside the cell.
            sx, sy = int(cx * level), int(cy * level)
        points.append((origin[0] + sx - scroll[0], origin[1] + sy - scroll[1]))
    return points


def zoomed_runs(screen, window, origin, viewport, colour):
    """The paced and the flat-out drag at 25% and at 400%; returns the number that failed."""
    failures = 0
    for level, key, steps_right, steps_down in ((0.25, "ctrl+minus", 0, 0),
                                                (4.0, "ctrl+equal", 10, 28)):
        xdotool("windowactivate", "--sync", window)
        xdotool("key", "ctrl+0")
        for _ in range(4):
            xdotool("key", key)
            time.sleep(0.2)
        # Back to the top-left corner with the arrow keys, then 100 screen pixels a step.
        xdotool("key", "--repeat", "130", "--delay", "2", "Left")
        xdotool("key", "--repeat", "130", "--delay", "2", "Up")
        if steps_right:
            xdotool("key", "--repeat", str(steps_right), "--delay", "2", "Right")
        if steps_down:
            xdotool("key", "--repeat", str(steps_down), "--delay", "2", "Down")
        time.sleep(0.5)
        scroll = (100 * steps_right, 100 * steps_down)
        # The part of the picture on the screen, below what the 100% drags painted.
        seen_w = min(2880 - scroll[0] / level, (viewport[0] - 10) / level)
        seen_h = min(2760 - scroll[1] / level, (viewport[1] - 10) / level)
        left, top = scroll[0] / level + 20, scroll[1] / level
        if level < 1:
            top, seen_h = 1000, min(2760.0, (viewport[1] - 10) / level) - 1000
        half = int(seen_h // 2)
        percent = f"{level * 100:g}%"
        for name, pause, band_top in (("paced", "0.004", top), ("flat out", None, top + half)):
            band = (int(left), int(band_top), int(seen_w - 40), half - 10)
            points = zoomed_path(level, scroll, origin, band)
            failures += not run_drag(screen, f"{percent}, {name}", points, pause, colour,
                                     ZOOMED_LAG_LIMIT_S)
    xdotool("key", "ctrl+0")
    return failures


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit("usage: drag_responsiveness.py PATH/TO/varga-map-maker [SCREENSHOT.png]")
    editor = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="vmm-drag-")
    procs = []
    try:
        picture = os.path.join(work, "maximum.jpg")
        run("convert", "-size", "2880x2760", "gradient:#305030-#b0a070", "-quality", "90",
            picture)
        env = dict(os.environ, VARGA_MAP_MAKER_HOME=os.path.join(work, "home"))
        procs.append(subprocess.Popen(["openbox"], stderr=subprocess.DEVNULL))
        time.sleep(1)
        procs.append(subprocess.Popen([editor], env=env))

        def main_window():
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--name",
                                    "^Varga Map Maker$"], capture_output=True)
            return found.stdout.decode().split()[:1]

        # The splash hands over on a key; then the main window shows.
        time.sleep(1.5)
        xdotool("key", "Return")
        window = wait_for(main_window, 20, "the main window")[0]
        xdotool("windowactivate", "--sync", window)
        xdotool("key", "alt+f")
        time.sleep(0.5)
        # Import Map Image, below the four project commands.
        xdotool("key", "Down", "Down", "Down", "Down", "Return")
        time.sleep(1.0)
        xdotool("type", picture)
        xdotool("key", "Return")
        wait_for(lambda: "maximum.jpg" in xdotool("getwindowname", window), 30,
                 "the picture to load")
        time.sleep(1.0)
        screen = Screen()

        geometry = xdotool("getwindowgeometry", "--shell", window)
        g = dict(line.split("=") for line in geometry.splitlines())
        win_x, win_y, win_w, win_h = (int(g[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        # The map fills the window below the menu and tool strip, above the scroll bar and
        # the status panels; stay well inside that.
        area = (win_x + 40, win_y + 80, win_w - 80, win_h - 160)

        # One click teaches the cell grid's phase on screen and the element's colour.
        park_pointer()
        before = screen.grab()
        probe = (area[0] + area[2] // 2, area[1] + area[3] // 2)
        xdotool("mousemove", *probe, "click", "1")
        time.sleep(0.5)
        park_pointer()
        after = screen.grab()
        box = changed_box(before, after,
                          (probe[0] - 15, probe[1] - 15, probe[0] + 15, probe[1] + 15))
        if box is None or (box[2] - box[0], box[3] - box[1]) != (8, 8):
            sys.exit(f"a click did not paint one 9 x 9 Sector (changed box {box})")
        phase_x, phase_y = (box[0] - 1) % 10, (box[1] - 1) % 10
        colour = after.pixel(box[0] + 4, box[1] + 4)
        print(f"map window at {win_x},{win_y} {win_w}x{win_h}; element colour {colour}")

        failures = 0
        half = area[3] // 2
        runs = [("paced, one move every 4 ms", "0.004", (area[0], area[1], area[2], half)),
                ("as fast as xdotool sends", None, (area[0], area[1] + half, area[2], half))]
        for name, pause, band in runs:
            points = drag_path(*band, phase_x, phase_y)
            failures += not run_drag(screen, name, points, pause, colour, LAG_LIMIT_S)
        origin = map_origin(screen.grab(), win_x, win_y)
        print(f"picture pixel (0, 0) at {origin} on the screen")
        viewport = (win_x + win_w - 30 - origin[0], win_y + win_h - 60 - origin[1])
        failures += zoomed_runs(screen, window, origin, viewport, colour)
        if len(sys.argv) == 3:
            run("import", "-window", "root", sys.argv[2])
        return 1 if failures else 0
    finally:
        for p in reversed(procs):
            p.terminate()
            try:
                p.wait(5)
            except subprocess.TimeoutExpired:
                p.kill()
        shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
