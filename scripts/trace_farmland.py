#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Paint from the picture on the sample farmland, measured against a whole painted map.

    python3 scripts/trace_farmland.py [BUILD_DIR] [--share 0.01] [--seed 7]

The whole map is the one the user guide's screenshots import (take_screenshots.py paints
each Sector by its colours). A share of its Sectors, drawn with a fixed seed, is packed
with the sample picture as the examples; `varga-map trace` fills the rest, and the result
is compared Sector by Sector. It prints the shares painted right, painted wrong and left
unsure, and leaves the traced project and its render in a temporary folder to look at.
"""

import argparse
import os
import random
import subprocess
import sys
import tempfile

from take_screenshots import ROOT, SAMPLE, farmland_map


def map_rows(path):
    """(quad, sector) -> element of a Varga map text."""
    values = {}
    with open(path, newline="") as text:
        for line in text.read().split("\r\n"):
            fields = line.rstrip("\t").split("\t")
            if len(fields) >= 33 and fields[0].isdigit():
                for sector in range(16):
                    values[int(fields[0]), sector] = int(fields[1 + sector])
    return values


def write_examples(whole, path, share, seed):
    """Keeps `share` of the whole map's Sectors (both planes); the rest become -1."""
    with open(whole, newline="") as text:
        lines = text.read().split("\r\n")
    picked = random.Random(seed)
    kept, out = 0, lines[:8]
    for line in lines[8:]:
        fields = line.rstrip("\t").split("\t")
        if len(fields) < 33 or not fields[0].isdigit():
            continue
        keep = [picked.random() < share for _ in range(16)]
        kept += sum(keep)
        elements = [v if k else "-1" for v, k in zip(fields[1:17], keep)]
        heights = [v if k else "-1" for v, k in zip(fields[17:33], keep)]
        out.append("".join(f"{v}\t" for v in [fields[0]] + elements + heights))
    out.append("#")
    with open(path, "w", newline="") as text:
        text.write("".join(line + "\r\n" for line in out))
    return kept


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("build", nargs="?", default=os.path.join(ROOT, "build"))
    parser.add_argument("--share", type=float, default=0.01)
    parser.add_argument("--seed", type=int, default=7)
    args = parser.parse_args()
    tool = os.path.join(args.build, "src", "varga-map")
    folder = tempfile.mkdtemp(prefix="trace-farmland-")
    path = lambda name: os.path.join(folder, name)

    farmland_map(path("whole.txt"))
    kept = write_examples(path("whole.txt"), path("examples.txt"), args.share, args.seed)
    for command in (["pack", SAMPLE, path("examples.txt"), "-o", path("examples.vmap")],
                    ["trace", path("examples.vmap"), "-o", path("traced.vmap")],
                    ["convert", path("traced.vmap"), "-o", path("traced.txt"), "--to", "varga"],
                    ["render", path("traced.vmap"), "-o", path("traced.png")]):
        done = subprocess.run([tool, *command], capture_output=True, text=True)
        if done.returncode != 0:
            sys.exit(f"varga-map {command[0]}: {done.stderr.strip()}")
        if command[0] == "trace":
            print(done.stdout.strip())

    whole, traced = map_rows(path("whole.txt")), map_rows(path("traced.txt"))
    examples = map_rows(path("examples.txt"))
    others = [at for at in whole if examples.get(at, -1) == -1]
    right = sum(traced.get(at) == whole[at] for at in others)
    unsure = sum(traced.get(at, -1) == -1 for at in others)
    wrong = len(others) - right - unsure
    print(f"{kept} examples; of the other {len(others)} Sectors: "
          f"{100 * right / len(others):.1f}% right, {100 * wrong / len(others):.1f}% wrong, "
          f"{100 * unsure / len(others):.1f}% unsure")
    print(f"traced project and render in {folder}")


if __name__ == "__main__":
    main()
