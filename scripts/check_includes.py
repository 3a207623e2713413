#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Keeps every source folder to its floor: a file may include headers of its own folder
and of folders on lower floors, never of a sibling on its floor or of anything above.
Core folders and the command-line tool include no Qt Widgets header.
Run from anywhere; exits 1 and lists each offending include."""
import os
import re
import sys

SRC = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "src")

# Folder (relative to src/) -> floor. docs/architecture.md draws the same table.
FLOORS = {
    "files": 1, "document": 1, "gdi": 1,
    "catalogue": 2, "mapfiles": 2,
    "mapview": 3, "edits": 3, "learning": 3,
    "session": 4,
    "app": 5, "cli": 5,
    "ui/catalogue": 6, "ui/mapview": 6, "ui/dialogs": 6, "ui/splash": 6,
    "ui/docks": 7,
    "ui/main": 8,
    ".": 9,  # main.cpp, the editor's entry point
}
WIDGET_FREE_BELOW = 6  # floors below this link no QtWidgets

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def widget_headers():
    """Names of the Qt Widgets module's headers, from the installed module if it is found."""
    for root in ("/usr/include/x86_64-linux-gnu/qt6/QtWidgets", "/usr/include/qt6/QtWidgets",
                 "/usr/include/aarch64-linux-gnu/qt6/QtWidgets"):
        if os.path.isdir(root):
            return {name for name in os.listdir(root) if not name.endswith(".h")} | {"QtWidgets"}
    return {"QtWidgets", "QWidget", "QApplication", "QMainWindow", "QDialog", "QMessageBox"}


def folder_of(header):
    """The longest known folder that contains the included path, or None."""
    parts = header.split("/")[:-1]
    while parts:
        candidate = "/".join(parts)
        if candidate in FLOORS:
            return candidate
        parts.pop()
    return None


def main():
    widgets = widget_headers()
    problems = []
    for dirpath, _, files in os.walk(SRC):
        folder = os.path.relpath(dirpath, SRC)
        sources = [f for f in files if f.endswith((".cpp", ".h"))]
        if not sources:
            continue
        if folder not in FLOORS:
            problems.append(f"src/{folder}: a folder with no floor; add it to FLOORS in {__file__}")
            continue
        floor = FLOORS[folder]
        for name in sorted(sources):
            path = os.path.join(dirpath, name)
            with open(path, encoding="utf-8") as f:
                for number, line in enumerate(f, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    kind, header = match.groups()
                    where = f"src/{os.path.normpath(os.path.join(folder, name))}:{number}"
                    if kind == "<":
                        top = header.split("/")[0]
                        if floor < WIDGET_FREE_BELOW and (top in widgets or header.split("/")[-1] in widgets):
                            problems.append(f"{where}: includes the widget header <{header}> below the windows")
                        continue
                    target = folder_of(header)
                    if target is None:
                        problems.append(f"{where}: \"{header}\" is in no known folder")
                    elif target != folder and FLOORS[target] >= floor:
                        problems.append(f"{where}: \"{header}\" is on floor {FLOORS[target]}, "
                                        f"not below {folder}/ (floor {floor})")
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the floors")
        return 1
    print("includes keep to their floors")
    return 0


if __name__ == "__main__":
    sys.exit(main())
