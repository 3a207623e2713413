#include "cli/MapCheck.h"

#include <algorithm>

namespace vmm::cli {
namespace {

QString sectorName(std::size_t index) {
  return QStringLiteral("Quad %1 Sector %2")
      .arg(index / kValuesPerRow)
      .arg(index % kSectorsPerQuad);
}

void checkValues(const MapTextContent &content, const ElementTable &elements, MapCheck &check) {
  for (std::size_t i = 0; i < content.values.size(); ++i) {
    const qint16 value = content.values[i];
    if (value == kUnassigned) continue;
    const qint64 line = content.valueLine(i);
    if (i % kValuesPerRow < kSectorsPerQuad) {
      ++check.sectorsWithElement;
      if (!elements.hasElement(value))
        check.problems.append({line, QStringLiteral("%1: element id %2 is not in the catalogue")
                                         .arg(sectorName(i))
                                         .arg(value)});
    } else {
      ++check.sectorsWithHeight;
      if (!HeightColours::inRange(value))
        check.problems.append(
            {line,
             QStringLiteral("%1: height %2 is outside 0..100").arg(sectorName(i)).arg(value)});
    }
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
                               .arg(kValuesPerRow)});
  if (rows == pictureQuads) return;
  // A surplus is shown where the first row beyond the picture starts, a shortfall
  // after the last row.
  const qint64 line = rows > pictureQuads ? content.rowLines[static_cast<std::size_t>(pictureQuads)]
                      : rows > 0          ? content.rowLines[static_cast<std::size_t>(rows - 1)]
                                          : content.markerLine;
  check.problems.append(
      {line, QStringLiteral("the file has %1 Quad rows but the picture has %2 Quads")
                 .arg(rows)
                 .arg(pictureQuads)});
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
            ? MapProblem{content.problem->line, content.problem->description() +
                                                    QStringLiteral("; the import reads nothing")}
            : MapProblem{content.lastLine, QStringLiteral("the file has no \"&\" line, so it "
                                                          "holds no Quad rows")});
    return check;
  }
  checkValues(content, elements, check);
  if (content.problem) {
    check.problems.append(
        {content.problem->line,
         content.problem->description() +
             QStringLiteral("; the import stops here, later lines are not read")});
  } else {
    checkRows(content, pictureQuads, check);
  }
  std::stable_sort(check.problems.begin(), check.problems.end(),
                   [](const MapProblem &a, const MapProblem &b) { return a.line < b.line; });
  return check;
}

}  // namespace vmm::cli
