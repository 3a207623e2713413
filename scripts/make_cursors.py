#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the four edit-mode cursors (Windows .cur, 32 x 32, 32-bit) into data/cursors/.

Draw cursors are a crosshair with a filled marker (small for a Sector, large for a Quad);
erase cursors show the same marker hollow with a cross through it.
"""
import os
import struct

SIZE = 32
HOT = (15, 15)


def pixels(kind, erase):
    img = [[None] * SIZE for _ in range(SIZE)]
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    colour = (200, 30, 30, 255) if erase else (20, 120, 40, 255)

    def put(x, y, c):
        if 0 <= x < SIZE and 0 <= y < SIZE:
            img[y][x] = c

    # crosshair with a white halo so it shows on any picture
    for i in range(SIZE):
        if abs(i - HOT[0]) > 2:
            for d in (-1, 1):
                put(i, HOT[1] + d, white)
                put(HOT[0] + d, i, white)
    for i in range(SIZE):
        if abs(i - HOT[0]) > 2:
            put(i, HOT[1], black)
            put(HOT[0], i, black)
    half = 3 if kind == "sector" else 8
    x0, y0 = HOT[0] + 4, HOT[1] + 4
    side = 2 * half
    for y in range(y0, y0 + side):
        for x in range(x0, x0 + side):
            edge = x in (x0, x0 + side - 1) or y in (y0, y0 + side - 1)
            if edge:
                put(x, y, black)
            elif not erase:
                put(x, y, colour)
    if erase:
        for i in range(side):
            put(x0 + i, y0 + i, colour)
            put(x0 + side - 1 - i, y0 + i, colour)
    return img


def cur_bytes(img):
    xor = bytearray()
    for row in reversed(img):  # bottom-up rows
        for p in row:
            b, g, r, a = (p[2], p[1], p[0], p[3]) if p else (0, 0, 0, 0)
            xor += bytes((b, g, r, a))
    and_mask = bytearray()
    for row in reversed(img):
        bits = 0
        out = bytearray()
        for x, p in enumerate(row):
            bits = (bits << 1) | (0 if p else 1)
            if x % 8 == 7:
                out.append(bits)
                bits = 0
        and_mask += out  # 32 px = 4 bytes, already 32-bit aligned
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 32, 0, len(xor) + len(and_mask), 0, 0, 0, 0)
    image = header + xor + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, HOT[0], HOT[1], len(image), 6 + 16)
    return directory + entry + image


def main():
    out = os.path.join(os.path.dirname(__file__), "..", "data", "cursors")
    os.makedirs(out, exist_ok=True)
    for name, kind, erase in (("SectorD.cur", "sector", False), ("QuadD.cur", "quad", False),
                              ("SectorE.cur", "sector", True), ("QuadE.cur", "quad", True)):
        with open(os.path.join(out, name), "wb") as f:
            f.write(cur_bytes(pixels(kind, erase)))


if __name__ == "__main__":
    main()
