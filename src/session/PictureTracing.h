// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "learning/PictureClassifier.h"
#include "learning/SectorFeatures.h"

#include <QRect>

#include <memory>
#include <vector>

namespace vmm {

class EditorSession;
class MapDocument;
class SectorSelection;

// The values of `plane` cell by cell over the map's XQuads x YQuads Quads (the order of
// SectorFeatures), kUnassigned where a Sector holds none.
std::vector<qint16> cellValues(const MapDocument &document, Plane plane);

// What an Apply painted and what it left.
struct TraceOutcome {
  int painted = 0;
  int unsure = 0;
  QRect changed;  // on the view of the plane
  std::vector<SectorAddress> unsureSectors;
};

// Paint from Picture, shared by the editor and `varga-map trace`: the picture of a
// session's map measured once, suggestions for the unassigned Sectors of a plane from
// its painted ones, and their Apply.
class PictureTracer {
 public:
  explicit PictureTracer(EditorSession &session) : session_(session) {}

  // The features of the session's current picture, measured at first use and again
  // after the picture or the map's size changes. Shared, so a worker thread can hold them.
  std::shared_ptr<const SectorFeatures> features();
  // The suggestions for `plane` as the map stands now.
  TraceSuggestions suggest(Plane plane);
  // The suggestions the map maker may use: while a selection exists, those inside it
  // (every other cell loses its suggestion), else all of them. Apply and Fill Similar
  // keep to this themselves; the dock counts and previews it.
  TraceSuggestions confined(TraceSuggestions suggestions) const;

  // Writes the suggestions at or above `minConfidence` into the Sectors that still hold
  // no value, as one undo step "Paint from Picture", through the painter (so through the
  // document's one point of change); examples and painted Sectors never change, nor
  // does any Sector outside the selection while one exists.
  TraceOutcome apply(Plane plane, const TraceSuggestions &suggestions, float minConfidence);

  // Fill Similar at `start`: the unassigned Sectors joined to it edge to edge whose
  // suggestion is the same value as `start`'s take the current element or height, as one
  // undo step "Fill Similar", kept inside the selection like Fill Area. Nothing happens
  // when `start` holds a value or has no suggestion. Returns the changed area.
  QRect fillSimilar(Plane plane, SectorAddress start, const TraceSuggestions &suggestions);

 private:
  EditorSession &session_;
  std::shared_ptr<const SectorFeatures> features_;
  qint64 pictureKey_ = 0;
  int xQuads_ = 0;
  int yQuads_ = 0;
};

}  // namespace vmm
