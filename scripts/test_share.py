#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The tests' share of the code: non-blank, non-comment lines of tests/ against all code
lines of src/, bench/, fuzz/, scripts/ and tests/ together (C++ sources and headers,
Python and shell scripts, CMake files; fuzz corpora and test data are not code).
Exits 1 when the share falls outside 25-33%."""
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
FOLDERS = ("src", "bench", "fuzz", "scripts", "tests")
LOW, HIGH = 25.0, 33.0


def is_code(name):
    return name.endswith((".cpp", ".h", ".py", ".sh", ".cmake")) or name == "CMakeLists.txt"


def code_lines(path):
    hash_comments = path.endswith((".py", ".sh", ".cmake", "CMakeLists.txt"))
    count = 0
    in_block = False
    with open(path, encoding="utf-8", errors="replace") as f:
        for raw in f:
            line = raw.strip()
            if in_block:
                if "*/" in line:
                    in_block = False
                    line = line.split("*/", 1)[1].strip()
                else:
                    continue
            if not line:
                continue
            if hash_comments:
                if line.startswith("#") and not line.startswith("#!"):
                    continue
            else:
                if line.startswith("//"):
                    continue
                if line.startswith("/*"):
                    if "*/" not in line:
                        in_block = True
                    continue
            count += 1
    return count


def count(folder):
    total = 0
    for dirpath, dirnames, files in os.walk(os.path.join(ROOT, folder)):
        dirnames[:] = [d for d in dirnames if d not in ("data", "corpus", "corpus-project",
                                                        "regressions", "regressions-project")]
        total += sum(code_lines(os.path.join(dirpath, f)) for f in files if is_code(f))
    return total


def main():
    lines = {folder: count(folder) for folder in FOLDERS}
    total = sum(lines.values())
    share = 100.0 * lines["tests"] / total if total else 0.0
    for folder in FOLDERS:
        print(f"{folder:8} {lines[folder]:7}")
    print(f"{'all':8} {total:7}")
    print(f"tests' share: {share:.1f}% (kept between {LOW:.0f}% and {HIGH:.0f}%)")
    return 0 if LOW <= share <= HIGH else 1


if __name__ == "__main__":
    sys.exit(main())
