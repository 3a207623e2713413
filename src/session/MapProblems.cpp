// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/MapProblems.h"

#include "catalogue/CatalogueTables.h"

#include <algorithm>

namespace vmm {

namespace {

QString sectorName(int quad, int sector) {
  return QStringLiteral("Quad %1 Sector %2").arg(quad).arg(sector);
}

QString sectorCount(int count, const char *what) {
  return QStringLiteral("%1 Sector%2 without %3")
      .arg(count)
      .arg(count == 1 ? QString() : QStringLiteral("s"))
      .arg(QLatin1String(what));
}

}  // namespace

QString MapFinding::kindName(Kind kind) {
  switch (kind) {
    case Kind::UnassignedSectors:
      return QStringLiteral("unassigned-sectors");
    case Kind::UnknownElement:
      return QStringLiteral("unknown-element");
    case Kind::HeightOutOfRange:
      return QStringLiteral("height-out-of-range");
    case Kind::RowCount:
      break;
  }
  return QStringLiteral("row-count");
}

QString MapFinding::text() const {
  switch (kind) {
    case Kind::UnassignedSectors: {
      QStringList parts;
      if (elementGaps > 0) parts << sectorCount(elementGaps, "an element");
      if (heightGaps > 0)
        parts << (elementGaps > 0 ? QStringLiteral("%1 without a height").arg(heightGaps)
                                  : sectorCount(heightGaps, "a height"));
      return sectorName(quad, sector) + QStringLiteral(": ") + parts.join(QStringLiteral(", "));
    }
    case Kind::UnknownElement:
      return QStringLiteral("%1: element id %2 is not in the catalogue")
          .arg(sectorName(quad, sector))
          .arg(value);
    case Kind::HeightOutOfRange:
      return QStringLiteral("%1: height %2 is outside 0..100")
          .arg(sectorName(quad, sector))
          .arg(value);
    case Kind::RowCount:
      break;
  }
  return QStringLiteral("%1: the map data has %2 Quad rows but the picture has %3 Quads")
      .arg(sectorName(quad, 0))
      .arg(value)
      .arg(pictureQuads);
}

std::optional<MapFinding> findValueProblem(int quad, int sector, Plane plane, qint16 value,
                                           const ElementTable &elements) {
  if (value == kUnassigned) return std::nullopt;
  MapFinding finding;
  finding.quad = quad;
  finding.sector = sector;
  finding.value = value;
  if (plane == Plane::Element) {
    if (elements.hasElement(value)) return std::nullopt;
    finding.kind = MapFinding::Kind::UnknownElement;
  } else {
    if (HeightColours::inRange(value)) return std::nullopt;
    finding.kind = MapFinding::Kind::HeightOutOfRange;
  }
  return finding;
}

void findQuadProblems(int quad, const qint16 *elementValues, const qint16 *heightValues,
                      const ElementTable &elements, QList<MapFinding> &findings) {
  MapFinding gaps;
  gaps.quad = quad;
  gaps.sector = kSectorsPerQuad;
  for (const Plane plane : {Plane::Element, Plane::Height}) {
    const qint16 *values = plane == Plane::Element ? elementValues : heightValues;
    int &count = plane == Plane::Element ? gaps.elementGaps : gaps.heightGaps;
    for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
      if (values[sector] == kUnassigned) {
        ++count;
        gaps.sector = std::min(gaps.sector, sector);
      } else if (std::optional<MapFinding> finding =
                     findValueProblem(quad, sector, plane, values[sector], elements)) {
        findings.append(std::move(*finding));
      }
    }
  }
  if (gaps.elementGaps == 0 && gaps.heightGaps == 0) return;
  findings.append(std::move(gaps));
}

int MapProblemList::total() const {
  int sum = 0;
  for (const int count : totals) sum += count;
  return sum;
}

MapProblemList findMapProblems(const MapDocument &document, const ElementTable &elements,
                               int pictureQuads, int limitPerKind) {
  MapProblemList list;
  const int quads = std::clamp<int>(document.TotalQuads, 0, kQuadCapacity);
  std::array<qint16, kSectorsPerQuad> elementValues{};
  std::array<qint16, kSectorsPerQuad> heightValues{};
  QList<MapFinding> quadFindings;
  for (int quad = 0; quad < quads; ++quad) {
    for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
      elementValues[std::size_t(sector)] = document.value(quad, sector, Plane::Element);
      heightValues[std::size_t(sector)] = document.value(quad, sector, Plane::Height);
    }
    quadFindings.clear();
    findQuadProblems(quad, elementValues.data(), heightValues.data(), elements, quadFindings);
    for (MapFinding &finding : quadFindings)
      if (list.totals[std::size_t(finding.kind)]++ < limitPerKind)
        list.findings.append(std::move(finding));
  }
  if (pictureQuads > 0 && quads != pictureQuads) {
    MapFinding rows;
    rows.kind = MapFinding::Kind::RowCount;
    rows.value = quads;
    // Shown where the difference starts: the first Quad without a row, or the
    // picture's last Quad when the rows go on beyond it.
    rows.quad = std::min(quads, pictureQuads - 1);
    rows.pictureQuads = pictureQuads;
    ++list.totals[std::size_t(rows.kind)];
    list.findings.append(std::move(rows));
  }
  return list;
}

}  // namespace vmm
