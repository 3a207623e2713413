// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Console.h"
#include "mapfiles/ProjectFile.h"
#include "session/EditorSession.h"

#include <QString>

#include <optional>

namespace vmm::cli {

// Whether an argument names a map project: an SQLite file, or a name ending in ".vmap"
// (so that a missing or damaged project gets the project's message).
bool isProjectArgument(const QString &path);

// Reads and checks a project with the editor's rules; nothing (after the message) when it
// is refused.
std::optional<ProjectContent> readProjectFile(const QString &path, Console &console);

// Opens the project's map in `session` as the editor opens it; the session's catalogue
// must already be given.
// With `drawViews` off the views are left for the command to paint.
bool openProjectMap(const QString &path, EditorSession &session, Console &console,
                    bool drawViews = true);

// The input of render and check: a project alone, or a picture and a map file. Starts
// the map in `session` (catalogue already given) as the editor would, and reports a map
// whose row count differs from the picture's Quads as a warning.
bool startMapFromInputs(const QString &pictureOrProject, const QString &mapPath,
                        EditorSession &session, Console &console, bool drawViews = true);

// The single -o value of a command that writes a project or a folder: nothing (after the
// message) when it is missing, empty or "-" (neither can go to the standard output).
class CommandParser;
std::optional<QString> requiredOutput(const CommandParser &parser, const QString &command,
                                      const QString &what, Console &console);

// The usage message for a project given together with a map file, or a picture without one.
bool checkInputCount(const QString &pictureOrProject, const QString &mapPath,
                     const QString &command, Console &console);

}  // namespace vmm::cli
