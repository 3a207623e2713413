// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/CheckReport.h"

#include "cli/MapInputs.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace vmm::cli {

namespace {

QString sectorsText(int count) {
  return QStringLiteral("%1 Sector%2").arg(count).arg(count == 1 ? QString() : QStringLiteral("s"));
}

QString elementLine(const LegendRow &row) {
  // One arg() for all: a "%3" in the catalogue's name is text, not a place to fill.
  return row.known
             ? QStringLiteral("Element %1 (id %2): %3")
                   .arg(plainText(row.name), QString::number(row.value), sectorsText(row.sectors))
             : QStringLiteral("Element id %1 (not in the catalogue): %2")
                   .arg(row.value)
                   .arg(sectorsText(row.sectors));
}

QString heightLine(const LegendRow &row) {
  return QStringLiteral("Height %1%2: %3")
      .arg(row.value)
      .arg(row.known ? QString() : QStringLiteral(" (outside 0..100)"))
      .arg(sectorsText(row.sectors));
}

QJsonArray rowsJson(const std::vector<LegendRow> &rows, Plane plane) {
  QJsonArray array;
  for (const LegendRow &row : rows) {
    QJsonObject entry;
    if (plane == Plane::Element) {
      entry[QStringLiteral("id")] = row.value;
      entry[QStringLiteral("name")] = row.known ? QJsonValue(row.name) : QJsonValue();
      entry[QStringLiteral("inCatalogue")] = row.known;
    } else {
      entry[QStringLiteral("height")] = row.value;
      entry[QStringLiteral("inRange")] = row.known;
    }
    entry[QStringLiteral("sectors")] = row.sectors;
    array.append(entry);
  }
  return array;
}

QJsonValue optionalNumber(int value) {
  return value >= 0 ? QJsonValue(value) : QJsonValue();
}

}  // namespace

CheckStatistics CheckStatistics::of(const MapStatistics &statistics, const ElementTable &elements) {
  CheckStatistics counts;
  counts.sectors = statistics.sectors();
  counts.elements = legendRows(statistics, Plane::Element, elements);
  // The Legend shows the whole height scale; a report lists the heights in use.
  for (const LegendRow &row : legendRows(statistics, Plane::Height, elements))
    if (row.sectors > 0) counts.heights.push_back(row);
  counts.unassignedElements = statistics.unassigned(Plane::Element);
  counts.unassignedHeights = statistics.unassigned(Plane::Height);
  return counts;
}

void CheckReport::printText(Console &out) const {
  out.print(
      QStringLiteral("Picture: %1, %2 x %3 pixels").arg(shown(picturePath)).arg(width).arg(height));
  out.print(QStringLiteral("XQuads: %1").arg(xQuads));
  out.print(QStringLiteral("YQuads: %1").arg(yQuads));
  out.print(QStringLiteral("TotalQuads: %1").arg(totalQuads));
  if (mapPath.isEmpty()) return;
  out.print(QStringLiteral("Map: %1").arg(shown(mapPath)));
  out.print(QStringLiteral("Rows: %1").arg(check.rows));
  out.print(QStringLiteral("Sectors with an element: %1").arg(check.sectorsWithElement));
  out.print(QStringLiteral("Sectors with a height: %1").arg(check.sectorsWithHeight));
  if (statistics) {
    out.print(QStringLiteral("Sectors of the imported map: %1").arg(statistics->sectors));
    for (const LegendRow &row : statistics->elements) out.print(elementLine(row));
    out.print(QStringLiteral("Sectors without an element: %1").arg(statistics->unassignedElements));
    for (const LegendRow &row : statistics->heights) out.print(heightLine(row));
    out.print(QStringLiteral("Sectors without a height: %1").arg(statistics->unassignedHeights));
  }
  for (const MapProblem &problem : check.problems)
    out.print(
        linesKnown
            ? QStringLiteral("%1:%2: %3").arg(shown(mapPath)).arg(problem.line).arg(problem.text)
            : QStringLiteral("%1: %2").arg(shown(mapPath), problem.text));
  if (check.problems.isEmpty())
    out.print(QStringLiteral("No problems found."));
  else
    out.print(QStringLiteral("Problems: %1").arg(check.problems.size()));
}

void CheckReport::printJson(Console &out) const {
  QJsonObject document;
  document[QStringLiteral("picture")] = QJsonObject{
      {QStringLiteral("file"), picturePath}, {QStringLiteral("width"), width},
      {QStringLiteral("height"), height},    {QStringLiteral("xQuads"), xQuads},
      {QStringLiteral("yQuads"), yQuads},    {QStringLiteral("totalQuads"), totalQuads}};
  QJsonArray problems;
  for (const MapProblem &problem : check.problems)
    problems.append(QJsonObject{{QStringLiteral("line"), linesKnown ? QJsonValue(problem.line)
                                                                    : QJsonValue(QJsonValue::Null)},
                                {QStringLiteral("kind"), problem.kind},
                                {QStringLiteral("quad"), optionalNumber(problem.quad)},
                                {QStringLiteral("sector"), optionalNumber(problem.sector)},
                                {QStringLiteral("text"), problem.text}});
  if (!mapPath.isEmpty())
    document[QStringLiteral("map")] =
        QJsonObject{{QStringLiteral("file"), mapPath},
                    {QStringLiteral("rows"), check.rows},
                    {QStringLiteral("sectorsWithElement"), check.sectorsWithElement},
                    {QStringLiteral("sectorsWithHeight"), check.sectorsWithHeight}};
  document[QStringLiteral("problems")] = problems;
  if (statistics)
    document[QStringLiteral("statistics")] =
        QJsonObject{{QStringLiteral("sectors"), statistics->sectors},
                    {QStringLiteral("elements"), rowsJson(statistics->elements, Plane::Element)},
                    {QStringLiteral("unassignedElements"), statistics->unassignedElements},
                    {QStringLiteral("heights"), rowsJson(statistics->heights, Plane::Height)},
                    {QStringLiteral("unassignedHeights"), statistics->unassignedHeights}};
  out.print(QString::fromUtf8(QJsonDocument(document).toJson(QJsonDocument::Indented)).trimmed());
}

}  // namespace vmm::cli
