// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"

#include <QList>
#include <QString>

#include <array>
#include <climits>
#include <optional>

namespace vmm {

class ElementTable;

// One thing about a map that the game would trip over, with the Sector to show for it.
struct MapFinding {
  enum class Kind {
    UnassignedSectors,  // a Quad has Sectors without an element or a height
    UnknownElement,     // a Sector holds an element id the catalogue lacks
    HeightOutOfRange,   // a Sector holds a height outside 0..100
    RowCount,           // the map's rows differ from the picture's Quads
  };
  static constexpr int kKinds = 4;

  Kind kind = Kind::UnassignedSectors;
  int quad = -1;         // the Quad to show; -1 when it lies beyond the picture
  int sector = 0;        // the first Sector concerned
  int value = 0;         // the element id, the height, or (RowCount) the map's rows
  int elementGaps = 0;   // UnassignedSectors: Sectors without an element
  int heightGaps = 0;    // ... and without a height
  int pictureQuads = 0;  // RowCount: the picture's Quads

  // One line, naming the Quad and Sector. Made when asked for: a map without values has a
  // finding for every Quad, and only the first few hundred of each kind are shown.
  QString text() const;

  // The kind as scripts read it: "unassigned-sectors", "unknown-element",
  // "height-out-of-range", "row-count".
  static QString kindName(Kind kind);
};

// A value the game would trip over: an element id the catalogue lacks or a height
// outside 0..100 (kUnassigned is none of them).
std::optional<MapFinding> findValueProblem(int quad, int sector, Plane plane, qint16 value,
                                           const ElementTable &elements);

// Everything about one Quad's 16 element ids and 16 heights: its values Sector by Sector
// (elements, then heights), then one finding for its unassigned Sectors.
void findQuadProblems(int quad, const qint16 *elementValues, const qint16 *heightValues,
                      const ElementTable &elements, QList<MapFinding> &findings);

// The findings about a whole map, and how many there were of each kind.
struct MapProblemList {
  QList<MapFinding> findings;  // in map order, at most `limitPerKind` of each kind
  std::array<int, MapFinding::kKinds> totals{};  // of each kind, those left out included

  int total() const;
  int totalOf(MapFinding::Kind kind) const { return totals[std::size_t(kind)]; }
};

// The findings about the map in `document` (Quads 0..TotalQuads-1, Quad by Quad),
// then, when `pictureQuads` is above 0 and TotalQuads differs from it, the row count.
MapProblemList findMapProblems(const MapDocument &document, const ElementTable &elements,
                               int pictureQuads, int limitPerKind = INT_MAX);

}  // namespace vmm
