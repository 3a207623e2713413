// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace vmm::cli {

// The tool's commands. Each takes the arguments after its name and returns the exit
// status; all of them read their inputs completely before writing anything.

// Draws a map file over its picture, as the editor's Terrain or Elevation view shows it.
int runRender(const QStringList &arguments);
// Writes a map file again in the Varga or the Tolle edition's format.
int runConvert(const QStringList &arguments);
// Reports a picture's size and a map file's content and problems.
int runCheck(const QStringList &arguments);
// Applies one of the editor's bulk edits to a map file.
int runEdit(const QStringList &arguments);
// Makes a map project of a picture and a map file.
int runPack(const QStringList &arguments);
// Writes a map project's picture and map file into a folder.
int runUnpack(const QStringList &arguments);
// Paints the unassigned Sectors of a map project from its picture and painted examples.
int runTrace(const QStringList &arguments);

// The whole tool: the command's name first.
int runTool(const QStringList &arguments);

}  // namespace vmm::cli
