// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalogue/CatalogueTables.h"
#include "mapfiles/MapTextParser.h"

#include <QList>
#include <QString>

namespace vmm::cli {

// One thing wrong with a map file, at the line where it shows.
struct MapProblem {
  qint64 line = 0;
  QString text;
  // What kind of problem, for scripts: a MapFinding::kindName(), or "no-marker",
  // "stopped" and "partial-row" for the file as a whole.
  QString kind;
  int quad = -1;    // the Quad concerned; -1 for the file as a whole
  int sector = -1;  // the Sector concerned (the first, for unassigned Sectors)
};

// What check reports about a map file read with the editor's import reader, measured
// against its picture's Quad count and the catalogue.
struct MapCheck {
  int rows = 0;                // complete Quad rows
  int sectorsWithElement = 0;  // values the import would store in the element plane
  int sectorsWithHeight = 0;   // ... and in the height plane
  QList<MapProblem> problems;  // in line order

  // A missing "&" is reported on the file's last line (content.lastLine).
  static MapCheck of(const MapTextContent &content, int pictureQuads, const ElementTable &elements);
};

}  // namespace vmm::cli
