// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MapCheck.h"

#include "session/MapProblems.h"

#include <algorithm>

namespace vmm::cli {
namespace {

// The editor's Problems list and check share the rules and texts (findQuadProblems);
// here each finding also gets the file line of the value it is about.
MapProblem problemAt(const MapFinding &finding, const MapTextContent &content) {
  Plane plane = finding.kind == MapFinding::Kind::HeightOutOfRange ? Plane::Height : Plane::Element;
  if (finding.kind == MapFinding::Kind::UnassignedSectors &&
      content.values[MapTextContent::indexOf(finding.quad, finding.sector, Plane::Element)] !=
          kUnassigned)
    plane = Plane::Height;
  const std::size_t index = MapTextContent::indexOf(finding.quad, finding.sector, plane);
  return {content.valueLine(index), finding.text(), MapFinding::kindName(finding.kind),
          finding.quad, finding.sector};
}

void checkValues(const MapTextContent &content, const ElementTable &elements, MapCheck &check) {
  for (std::size_t i = 0; i < content.values.size(); ++i) {
    if (content.values[i] == kUnassigned) continue;
    if (i % kValuesPerRow < kSectorsPerQuad)
      ++check.sectorsWithElement;
    else
      ++check.sectorsWithHeight;
  }
  QList<MapFinding> findings;
  for (int row = 0; row < check.rows; ++row) {
    const qint16 *values = content.values.data() + std::size_t(row) * kValuesPerRow;
    findings.clear();
    findQuadProblems(row, values, values + kSectorsPerQuad, elements, findings);
    for (const MapFinding &finding : findings) check.problems.append(problemAt(finding, content));
  }
  // A row cut short is not imported, but its values are still worth a look.
  for (std::size_t i = std::size_t(check.rows) * kValuesPerRow; i < content.values.size(); ++i) {
    const int column = int(i % kValuesPerRow);
    const Plane plane = column < kSectorsPerQuad ? Plane::Element : Plane::Height;
    if (const std::optional<MapFinding> finding = findValueProblem(
            check.rows, column % kSectorsPerQuad, plane, content.values[i], elements))
      check.problems.append({content.valueLine(i), finding->text(),
                             MapFinding::kindName(finding->kind), finding->quad, finding->sector});
  }
}

void checkRows(const MapTextContent &content, int pictureQuads, MapCheck &check) {
  const int rows = check.rows;
  const std::size_t partial = content.values.size() % kValuesPerRow;
  if (partial != 0)
    check.problems.append({content.valueLine(content.values.size() - partial),
                           QStringLiteral("the row for Quad %1 ends after %2 of its %3 values; "
                                          "the import does not count it")
                               .arg(rows)
                               .arg(partial)
                               .arg(kValuesPerRow),
                           QStringLiteral("partial-row"), rows});
  if (rows == pictureQuads) return;
  // A surplus is shown where the first row beyond the picture starts, a shortfall
  // after the last row.
  const qint64 line = rows > pictureQuads ? content.rowLines[static_cast<std::size_t>(pictureQuads)]
                      : rows > 0          ? content.rowLines[static_cast<std::size_t>(rows - 1)]
                                          : content.markerLine;
  check.problems.append({line,
                         QStringLiteral("the file has %1 Quad rows but the picture has %2 Quads")
                             .arg(rows)
                             .arg(pictureQuads),
                         MapFinding::kindName(MapFinding::Kind::RowCount)});
}

}  // namespace

MapCheck MapCheck::of(const MapTextContent &content, int pictureQuads,
                      const ElementTable &elements) {
  MapCheck check;
  check.rows = content.completeRows();
  if (!content.markerFound) {
    // Reading may have stopped before the marker: at a byte no map text holds.
    check.problems.append(
        content.problem
            ? MapProblem{content.problem->line,
                         content.problem->description() +
                             QStringLiteral("; the import reads nothing"),
                         QStringLiteral("stopped")}
            : MapProblem{content.lastLine,
                         QStringLiteral("the file has no \"&\" line, so it holds no Quad rows"),
                         QStringLiteral("no-marker")});
    return check;
  }
  checkValues(content, elements, check);
  if (content.problem) {
    check.problems.append({content.problem->line,
                           content.problem->description() +
                               QStringLiteral("; the import stops here, later lines are not read"),
                           QStringLiteral("stopped")});
  } else {
    checkRows(content, pictureQuads, check);
  }
  std::stable_sort(check.problems.begin(), check.problems.end(),
                   [](const MapProblem &a, const MapProblem &b) { return a.line < b.line; });
  return check;
}

}  // namespace vmm::cli
