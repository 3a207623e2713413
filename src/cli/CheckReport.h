// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "cli/Console.h"
#include "cli/MapCheck.h"
#include "session/MapStatistics.h"

#include <QString>

#include <optional>
#include <vector>

namespace vmm::cli {

// The counts `check --stats` reports: the editor's Legend of the map once its picture
// and the map file are imported.
struct CheckStatistics {
  int sectors = 0;
  std::vector<LegendRow> elements;  // the elements present
  std::vector<LegendRow> heights;   // the heights present
  int unassignedElements = 0;
  int unassignedHeights = 0;

  static CheckStatistics of(const MapStatistics &statistics, const ElementTable &elements);
};

// Everything one run of check found, ready to print as text or JSON.
struct CheckReport {
  QString picturePath;
  int width = 0;
  int height = 0;
  int xQuads = 0;
  int yQuads = 0;
  int totalQuads = 0;
  QString mapPath;  // empty without a map file
  // False for a map project: its problems have no file line to point at.
  bool linesKnown = true;
  MapCheck check;  // meaningful with a map file
  std::optional<CheckStatistics> statistics;

  // One line per fact, then FILE:LINE: problem lines, as check has always printed.
  void printText(Console &out) const;
  // One JSON document (the fields are listed in the README).
  void printJson(Console &out) const;
};

}  // namespace vmm::cli
