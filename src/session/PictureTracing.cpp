// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/PictureTracing.h"

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

TraceOutcome PictureTracer::apply(Plane plane, const TraceSuggestions &suggestions,
                                  float minConfidence) {
  TraceOutcome outcome;
  MapDocument &document = session_.document();
  const int xQuads = document.XQuads;
  // Suggestions made for a map of another size no longer match its Sectors.
  if (suggestions.cells.size() != cellValues(document, plane).size()) return outcome;
  // The Sectors to paint, by value, so each value is one painter call.
  std::map<qint16, std::vector<SectorAddress>> byValue;
  for (std::size_t cell = 0; cell < suggestions.cells.size(); ++cell) {
    const CellSuggestion &suggestion = suggestions.cells[cell];
    if (suggestion.value == kUnassigned) continue;
    const SectorAddress at = addressOf(int(cell), xQuads);
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
  const bool wasPainting = document.mousePainting;
  document.mousePainting = true;
  for (const auto &[value, sectors] : byValue)
    outcome.changed |= session_.painter().colourSquares(plane, sectors, value);
  document.mousePainting = wasPainting;
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
  const int first = cellOf(start, xQuads);
  const qint16 similar = suggestions.cells[std::size_t(first)].value;
  if (similar == kUnassigned || document.value(start.quad, start.sector, plane) != kUnassigned)
    return {};
  // The joined cells, walked with a list of its own rather than by recursion.
  const int columns = xQuads * 4, rows = yQuads * 4;
  std::vector<bool> seen(suggestions.cells.size(), false);
  std::vector<int> pending{first};
  std::vector<SectorAddress> region;
  seen[std::size_t(first)] = true;
  while (!pending.empty()) {
    const int cell = pending.back();
    pending.pop_back();
    const SectorAddress at = addressOf(cell, xQuads);
    region.push_back(at);
    const int row = cell / columns, column = cell % columns;
    const int next[4][2] = {
        {row - 1, column}, {row + 1, column}, {row, column - 1}, {row, column + 1}};
    for (const auto &[r, c] : next) {
      if (r < 0 || r >= rows || c < 0 || c >= columns) continue;
      const int neighbour = r * columns + c;
      if (seen[std::size_t(neighbour)] ||
          suggestions.cells[std::size_t(neighbour)].value != similar)
        continue;
      const SectorAddress there = addressOf(neighbour, xQuads);
      if (document.value(there.quad, there.sector, plane) != kUnassigned) continue;
      seen[std::size_t(neighbour)] = true;
      pending.push_back(neighbour);
    }
  }
  HistoryStep step(&session_.history(), QStringLiteral("Fill Similar"), StepRepaint::Sectors);
  const bool wasPainting = document.mousePainting;
  document.mousePainting = true;
  const QRect changed = session_.painter().colourSquares(plane, region, value);
  document.mousePainting = wasPainting;
  return changed;
}

}  // namespace vmm
