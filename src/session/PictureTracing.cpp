// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/PictureTracing.h"

#include "edits/FloodFill.h"
#include "session/EditorSession.h"

#include <map>

namespace vmm {

std::vector<qint16> cellValues(const MapDocument &document, Plane plane) {
  const int xQuads = std::max<int>(0, document.XQuads);
  const int yQuads = std::max<int>(0, document.YQuads);
  std::vector<qint16> values(std::size_t(xQuads * yQuads * kSectorsPerQuad), kUnassigned);
  for (std::size_t cell = 0; cell < values.size(); ++cell) {
    const SectorAddress at = addressOf(int(cell), xQuads);
    values[cell] = document.value(at.quad, at.sector, plane);
  }
  return values;
}

std::shared_ptr<const SectorFeatures> PictureTracer::features() {
  const QImage &picture = session_.surfaces().surface(MapView::Image);
  const MapDocument &document = session_.document();
  if (!features_ || picture.cacheKey() != pictureKey_ || document.XQuads != xQuads_ ||
      document.YQuads != yQuads_) {
    pictureKey_ = picture.cacheKey();
    xQuads_ = document.XQuads;
    yQuads_ = document.YQuads;
    features_ = std::make_shared<const SectorFeatures>(
        picture.isNull() ? SectorFeatures() : SectorFeatures::measure(picture, xQuads_, yQuads_));
  }
  return features_;
}

TraceSuggestions PictureTracer::suggest(Plane plane) {
  const std::shared_ptr<const SectorFeatures> measured = features();
  return suggestFromExamples(*measured, cellValues(session_.document(), plane));
}

TraceSuggestions PictureTracer::confined(TraceSuggestions suggestions) const {
  const SectorSelection *within = session_.activeSelection();
  if (!within) return suggestions;
  const int xQuads = session_.document().XQuads;
  for (std::size_t cell = 0; cell < suggestions.cells.size(); ++cell)
    if (!within->contains(addressOf(int(cell), xQuads))) suggestions.cells[cell] = {};
  return suggestions;
}

TraceOutcome PictureTracer::apply(Plane plane, const TraceSuggestions &suggestions,
                                  float minConfidence) {
  TraceOutcome outcome;
  MapDocument &document = session_.document();
  const int xQuads = document.XQuads;
  // Suggestions made for a map of another size no longer match its Sectors.
  if (suggestions.cells.size() != cellValues(document, plane).size()) return outcome;
  const SectorSelection *within = session_.activeSelection();
  // The Sectors to paint, by value, so each value is one painter call.
  std::map<qint16, std::vector<SectorAddress>> byValue;
  for (std::size_t cell = 0; cell < suggestions.cells.size(); ++cell) {
    const CellSuggestion &suggestion = suggestions.cells[cell];
    if (suggestion.value == kUnassigned) continue;
    const SectorAddress at = addressOf(int(cell), xQuads);
    if (within && !within->contains(at)) continue;
    // Painted since the suggestions were made: the map maker's value stays.
    if (document.value(at.quad, at.sector, plane) != kUnassigned) continue;
    if (suggestion.confidence >= minConfidence) {
      byValue[suggestion.value].push_back(at);
      ++outcome.painted;
    } else {
      outcome.unsureSectors.push_back(at);
    }
  }
  outcome.unsure = int(outcome.unsureSectors.size());
  if (byValue.empty()) return outcome;
  HistoryStep step(&session_.history(), QStringLiteral("Paint from Picture"), StepRepaint::Sectors);
  const HandPaintScope byHand(document);
  for (const auto &[value, sectors] : byValue)
    outcome.changed |= session_.painter().colourSquares(plane, sectors, value);
  return outcome;
}

QRect PictureTracer::fillSimilar(Plane plane, SectorAddress start,
                                 const TraceSuggestions &suggestions) {
  MapDocument &document = session_.document();
  const int xQuads = document.XQuads, yQuads = document.YQuads;
  const qint16 value = drawValue(document, plane);
  if (xQuads < 1 || yQuads < 1 || value == kUnassigned) return {};
  if (start.quad < 0 || start.quad >= xQuads * yQuads || !MapDocument::isValidSector(start.sector))
    return {};
  if (suggestions.cells.size() != std::size_t(xQuads * yQuads * kSectorsPerQuad)) return {};
  const qint16 similar = suggestions.cells[std::size_t(cellOf(start, xQuads))].value;
  if (similar == kUnassigned || document.value(start.quad, start.sector, plane) != kUnassigned)
    return {};
  // The unassigned Sectors joined to the clicked one whose suggestion is the same, inside
  // the selection if there is one (a click outside it fills nothing, as Fill Area).
  const SectorSelection *within = session_.activeSelection();
  const std::vector<SectorAddress> region = floodJoined(document, start, [&](SectorAddress at) {
    return suggestions.cells[std::size_t(cellOf(at, xQuads))].value == similar &&
           document.value(at.quad, at.sector, plane) == kUnassigned &&
           (!within || within->contains(at));
  });
  if (region.empty()) return {};
  HistoryStep step(&session_.history(), QStringLiteral("Fill Similar"), StepRepaint::Sectors);
  const HandPaintScope byHand(document);
  return session_.painter().colourSquares(plane, region, value);
}

}  // namespace vmm
