#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the seed corpus of the map project fuzz target, fuzz/corpus-project/.

The projects are made by the tool itself (`varga-map pack`), so they hold exactly what the
program writes; they are then stored with 512-byte pages, which keeps them a few kilobytes,
and some are changed the way a damaged or hostile file would be.

    python3 scripts/make_project_seeds.py build/src/varga-map
"""
import os
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "fuzz", "corpus-project")


def png(width, height):
    """A small RGB picture with a pattern, as a PNG file's bytes."""
    rows = b"".join(b"\0" + bytes(((x // 10) * 20, (y // 10) * 20, 90)[c]
                                  for x in range(width) for c in range(3))
                    for y in range(height))

    def chunk(kind, data):
        return (struct.pack(">I", len(data)) + kind + data +
                struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def map_text(quads):
    lines = ["10", " ", "3 X Max ", "3 Y Max ", "0", "0", "\t".join(["Id"] + [f"E{i}" for i in range(16)] + ["Elev"]), "&"]
    for q in range(quads):
        elements = [str((q * 7 + s) % 40 - 1) for s in range(16)]
        heights = [str((q * 11 + s * 3) % 102 - 1) for s in range(16)]
        lines.append("".join(v + "\t" for v in [str(q)] + elements + heights))
    lines.append("#")
    return ("\r\n".join(lines) + "\r\n").encode("ascii")


def shrink(path):
    db = sqlite3.connect(path)
    db.execute("PRAGMA page_size = 512")
    db.execute("VACUUM")
    db.close()


def altered(base, name, statements):
    path = os.path.join(OUT, name)
    shutil.copyfile(base, path)
    db = sqlite3.connect(path)
    for statement in statements:
        db.execute(statement)
    db.commit()
    db.close()
    shrink(path)


def main():
    tool = sys.argv[1]
    os.makedirs(OUT, exist_ok=True)
    with tempfile.TemporaryDirectory() as work:
        picture = os.path.join(work, "field.png")
        with open(picture, "wb") as f:
            f.write(png(120, 120))
        text = os.path.join(work, "field.txt")
        with open(text, "wb") as f:
            f.write(map_text(9))
        base = os.path.join(OUT, "valid_3x3.vmap")
        subprocess.run([tool, "pack", picture, text, "-o", base], check=True)
        shrink(base)
        altered(base, "later_state_keys.vmap",
                ["INSERT INTO editor_state VALUES ('zoom', '0.25')",
                 "UPDATE editor_state SET value = 'elevation' WHERE key = 'view'",
                 "CREATE TABLE overview (shown INTEGER)"])
        altered(base, "plane_short.vmap",
                ["UPDATE planes SET sectors = substr(sectors, 1, 200) WHERE plane = 'height'"])
        altered(base, "future_version.vmap", ["PRAGMA user_version = 2"])
        altered(base, "size_apart.vmap", ["UPDATE map SET XQuads = 6"])
        altered(base, "picture_not_a_picture.vmap", ["UPDATE picture SET bytes = x'0102030405'"])
        with open(base, "rb") as f:
            data = f.read()
        with open(os.path.join(OUT, "truncated.vmap"), "wb") as f:
            f.write(data[: len(data) // 2])


if __name__ == "__main__":
    main()
