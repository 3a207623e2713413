#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Draws the sample battlefield picture data/samples/farmland_1200x840.jpg.

Fields, a road, a river and woods over smooth noise, 1200 x 840 pixels (30 x 21 Quads).
Pure Python; the PNG is turned into a JPEG with ImageMagick's `convert` when it is there.
"""
import math
import os
import random
import struct
import subprocess
import zlib

W, H = 1200, 840
random.seed(1944)


def value_noise(cell):
    gw, gh = (W + 1000) // cell + 2, H // cell + 2
    grid = [[random.random() for _ in range(gw)] for _ in range(gh)]

    def at(x, y):
        gx, gy = x / cell, y / cell
        x0, y0 = int(gx), int(gy)
        fx, fy = gx - x0, gy - y0
        fx, fy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
        a = grid[y0][x0] * (1 - fx) + grid[y0][x0 + 1] * fx
        b = grid[y0 + 1][x0] * (1 - fx) + grid[y0 + 1][x0 + 1] * fx
        return a * (1 - fy) + b * fy
    return at


coarse, fine, grain = value_noise(160), value_noise(24), value_noise(4)

# Field patches: a Voronoi-like split into coloured plots.
seeds = [(random.uniform(0, W), random.uniform(0, H)) for _ in range(16)]
tints = [(128, 150, 80), (165, 155, 95), (110, 135, 70), (150, 130, 90), (135, 160, 95), (175, 165, 110)]
plot_tint = [random.choice(tints) for _ in seeds]

woods = [(random.uniform(0, W), random.uniform(0, H), random.uniform(50, 120)) for _ in range(6)]


def river_y(x):
    return 620 + 60 * math.sin(x / 170.0) + 25 * math.sin(x / 53.0)


def road_x(y):
    return 420 + 90 * math.sin(y / 210.0)


rows = []
for y in range(H):
    row = bytearray()
    for x in range(W):
        n = coarse(x, y) * 0.5 + fine(x, y) * 0.35 + grain(x, y) * 0.15
        best = min(range(len(seeds)), key=lambda i: (seeds[i][0] - x) ** 2 + (seeds[i][1] - y) ** 2)
        r, g, b = plot_tint[best]
        shade = 0.75 + 0.5 * n
        r, g, b = r * shade, g * shade, b * shade
        for wx, wy, wr in woods:
            d = math.hypot(x - wx, y - wy) / wr
            if d < 1.0 - 0.35 * fine(x + 500, y):
                k = 0.55 + 0.45 * grain(x + 900, y)
                r, g, b = 40 * k, 85 * k, 35 * k
        dr = abs(y - river_y(x))
        if dr < 14:
            r, g, b = 45 + 30 * n, 85 + 30 * n, 150 + 40 * n
        elif dr < 18:
            r, g, b = 120, 110, 80
        if abs(x - road_x(y)) < 9:
            r, g, b = 150 + 30 * n, 140 + 30 * n, 120 + 25 * n
        row += bytes((max(0, min(255, int(r))), max(0, min(255, int(g))), max(0, min(255, int(b)))))
    rows.append(bytes(row))


def write_png(path):
    raw = b"".join(b"\x00" + r for r in rows)

    def chunk(tag, data):
        return struct.pack(">I", len(data)) + tag + data + struct.pack(">I", zlib.crc32(tag + data) & 0xFFFFFFFF)
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", W, H, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


out_dir = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "samples")
os.makedirs(out_dir, exist_ok=True)
png = os.path.join(out_dir, "farmland_1200x840.png")
write_png(png)
jpg = os.path.join(out_dir, "farmland_1200x840.jpg")
try:
    subprocess.run(["convert", png, "-quality", "85", jpg], check=True)
    os.remove(png)
except (OSError, subprocess.CalledProcessError):
    print("ImageMagick not found: kept the PNG")
