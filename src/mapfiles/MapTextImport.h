// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mapfiles/MapTextParser.h"

#include <QString>

namespace vmm {

class MapDocument;

// Outcome of reading a map text file into the document.
struct MapImportResult {
  enum class Status {
    Imported,    // the whole file was read; TotalQuads is its row count
    Stopped,     // reading stopped at a bad field; values before it were stored
    Unreadable,  // the file could not be opened or read; the map is unchanged
  };
  Status status = Status::Imported;
  int rowsRead = 0;     // complete Quad rows taken from the file
  QString messageText;  // for the message box when status is not Imported

  bool ok() const { return status == Status::Imported; }
  static QString messageTitle() { return QStringLiteral("Map Data Import"); }
};

// Overlays parsed values onto the document through MapDocument::setValue, row n onto
// Quad n; a -1 keeps the value the Sector had. TotalQuads becomes the number of complete
// rows, except when the content stopped at a problem: then it keeps its earlier value.
// `fileName` only names the file in the message.
MapImportResult applyMapText(const MapTextContent &content, MapDocument &doc,
                             const QString &fileName);

// Reads the map text file `path` into the document (see applyMapText). The whole file
// is read before anything is stored, so an unreadable file changes nothing.
MapImportResult GetFile(MapDocument &doc, const QString &path);

// Reads and parses a map text file without touching any document. On failure returns
// std::nullopt and sets `error` to the system's reason.
std::optional<MapTextContent> readMapTextFile(const QString &path, QString *error);

// A short note for when the file's row count differs from the picture's Quad count,
// e.g. "Map data: 700 Quads, picture: 630 Quads"; empty when they agree.
QString quadCountNote(int mapRows, int pictureQuads);

}  // namespace vmm
