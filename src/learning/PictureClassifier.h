// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"
#include "learning/SectorFeatures.h"

#include <QString>

#include <span>
#include <vector>

namespace vmm {

// Why nothing could be suggested.
enum class TraceRefusal {
  None,
  NoPicture,     // no picture, or one too small to hold a Sector
  FlatPicture,   // every Sector of the picture looks the same
  TooFewValues,  // the examples hold fewer than two different values
  NothingToDo,   // every Sector already holds a value
};

// The message for a refusal, naming elements or heights by `plane`.
QString traceRefusalText(TraceRefusal refusal, Plane plane);

// What the classifier suggests for one cell: a value and how sure it is (0 to 1). Cells
// that hold a value (the examples) keep kUnassigned here.
struct CellSuggestion {
  qint16 value = kUnassigned;
  float confidence = 0.0f;
};

// The suggestions for every cell of a map, with what stopped them, if anything.
struct TraceSuggestions {
  TraceRefusal refusal = TraceRefusal::None;
  std::vector<CellSuggestion> cells;

  bool ok() const { return refusal == TraceRefusal::None; }
  // Cells with a suggestion at or above `minConfidence`, and those below it.
  int countSure(float minConfidence) const;
  int countUnsure(float minConfidence) const;
};

// The examples to learn from: one value per cell (kUnassigned where none is painted).
// Random trees learn the cells that hold a value from their features and suggest a
// value for every other cell. The confidence is the value's share of the votes for the
// two likeliest values, lowered where the cell's colour is unlike the value's examples
// (a terrain nobody painted). The forest grows from a fixed seed, and a class holding many examples
// is thinned evenly to a bounded number, so the same picture and examples always give the same
// suggestions, in bounded time.
TraceSuggestions suggestFromExamples(const SectorFeatures &features,
                                     std::span<const qint16> cellValues);

}  // namespace vmm
