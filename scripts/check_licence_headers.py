#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Every source file (C++, Python, shell, CMake) names its licence in an SPDX line among its
first three lines. Exits 1 and lists the files that do not."""
import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
FOLDERS = ("src", "tests", "bench", "fuzz", "scripts", "packaging")
SKIPPED = {"data", "corpus", "corpus-project", "regressions", "regressions-project"}
TAG = "SPDX-License-Identifier: GPL-3.0-or-later"


def is_source(name):
    return name.endswith((".cpp", ".h", ".py", ".sh", ".cmake")) or name == "CMakeLists.txt"


def main():
    missing = []
    for folder in FOLDERS:
        for dirpath, dirnames, files in os.walk(os.path.join(ROOT, folder)):
            dirnames[:] = [d for d in dirnames if d not in SKIPPED]
            for name in files:
                if not is_source(name):
                    continue
                path = os.path.join(dirpath, name)
                with open(path, encoding="utf-8", errors="replace") as f:
                    head = [f.readline() for _ in range(3)]
                if not any(TAG in line for line in head):
                    missing.append(os.path.relpath(path, ROOT))
    for path in sorted(missing):
        print(f"{path}: no \"{TAG}\" line at its top")
    return 1 if missing else 0


if __name__ == "__main__":
    sys.exit(main())
