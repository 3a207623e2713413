// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Console.h"
#include "document/MapDocument.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"
#include "mapfiles/PictureLoader.h"
#include "session/EditorSession.h"

#include <QString>

#include <memory>
#include <optional>

namespace vmm::cli {

// The map's size in Quads, from a picture or from a map file's header.
struct MapDimensions {
  qint16 XQuads = 0;
  qint16 YQuads = 0;
};

// Each loader below reports on the console why it failed and then returns nothing; the
// command then stops with exit status 2.

// A picture checked with the editor's rules and messages.
std::optional<PictureLoadResult> loadPicture(const QString &path, Console &console);

// Gives `session` the catalogue the editor uses (its data folder, created from the
// default when missing) or, when `catalogueFile` is given, that file, which must exist
// and be usable. heightColourMode 1 selects Heightcolour, 0 Heightcolour2, as in the editor.
bool loadCatalogue(const QString &catalogueFile, qint16 heightColourMode, EditorSession &session,
                   Console &console);

// Reads a map text file with the editor's import reader, without judging its content.
std::optional<MapTextContent> readMapFile(const QString &path, Console &console);

// Stores parsed map text in the session's document by the editor's import rules. Nothing
// of a batch run is ever undone, so the values go in without history: recorded one by
// one, every value would be folded into one growing step, in time quadratic in the map.
MapImportResult applyMapTextWithoutHistory(const MapTextContent &content, EditorSession &session,
                                           const QString &path);

// Imports a map file into the session's document with the editor's import rules and
// returns what it read. Fails when the file cannot be read or when the import would stop
// part-way.
std::optional<MapTextContent> importMapFile(const QString &path, EditorSession &session,
                                            Console &console);

// XQuads and YQuads from the picture when one is given, otherwise from header lines
// 3 and 4 of the map file.
std::optional<MapDimensions> mapDimensions(const QString &picturePath, const QString &mapPath,
                                           Console &console);

// A session holding a fresh map of those dimensions with MAP imported onto it, as
// convert and edit start. A file that ends inside a row gets a warning naming the Quad
// whose values no output will hold.
std::unique_ptr<EditorSession> importMapWithDimensions(const QString &mapPath,
                                                       const QString &picturePath,
                                                       Console &console);

// The output name that stands for the standard output.
inline const QString kStandardOutput = QStringLiteral("-");

// Writes a command's output: atomically to `path` (which must be a regular file when it
// exists), or to the standard output when `path` is "-". Reports a failure and returns false.
bool writeOutput(const QString &path, QByteArrayView bytes, Console &console);

// Writes the map text of `doc` with writeOutput().
bool writeMapFile(const MapDocument &doc, MapEdition edition, const QString &path,
                  Console &console);

// Outside text as a terminal shows it: control characters escaped as JSON writes them
// ("\n", "\u001b"), so that no name can move the cursor, colour the screen or forge a line.
QString plainText(const QString &text);

// A file path as messages show it, as plain text.
QString shown(const QString &path);

}  // namespace vmm::cli
