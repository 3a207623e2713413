// SPDX-License-Identifier: GPL-3.0-or-later
// varga-map check: a picture's size and a map file's content, with every problem found;
// or the same of a map project.
#include "cli/CheckReport.h"
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapCheck.h"
#include "cli/MapInputs.h"
#include "cli/ProjectInputs.h"
#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextWriter.h"

namespace vmm::cli {
namespace {

void printReport(const CheckReport &report, const QString &format) {
  Console out;
  if (format == QLatin1String("json"))
    report.printJson(out);
  else
    report.printText(out);
}

// A project's map is checked as the Varga file a Varga export of it would write; its
// problems have no file lines to point at.
int checkProject(const QString &projectPath, const QString &catalogueFile, bool withStatistics,
                 const QString &format, Console &console) {
  EditorSession session;
  if (!loadCatalogue(catalogueFile, 0, session, console)) return kFailure;
  if (!openProjectMap(projectPath, session, console)) return kFailure;
  const MapDocument &doc = session.document();
  CheckReport report;
  report.picturePath = QStringLiteral("%1 in %2").arg(session.pictureFileName(), projectPath);
  report.width = session.surfaces().size().width();
  report.height = session.surfaces().size().height();
  report.xQuads = doc.XQuads;
  report.yQuads = doc.YQuads;
  report.totalQuads = doc.XQuads * doc.YQuads;
  report.mapPath = projectPath;
  report.linesKnown = false;
  report.check =
      MapCheck::of(parseMapText(vargaMapText(doc)), report.totalQuads, session.elementTable());
  if (withStatistics)
    report.statistics = CheckStatistics::of(session.statistics(), session.elementTable());
  printReport(report, format);
  return report.check.problems.isEmpty() ? kSuccess : kProblemsFound;
}

}  // namespace

int runCheck(const QStringList &arguments) {
  Console console(QStringLiteral("check"));
  CommandParser parser(
      QStringLiteral("check"),
      QStringLiteral("Prints the size of PICTURE and the map it makes and, with MAP, what the "
                     "editor's import would read from MAP and every problem, one line each: "
                     "FILE:LINE: problem. A map project is checked likewise, its problems "
                     "without line numbers. Exits with 1 when there is a problem."));
  parser.addPositional(QStringLiteral("PICTURE"),
                       QStringLiteral("The map picture, or a map project (.vmap) alone."));
  parser.addPositional(QStringLiteral("MAP"), QStringLiteral("A Varga map text file."), true);
  parser.addOption({QStringLiteral("catalogue"),
                    QStringLiteral("The catalogue to use instead of the editor's."),
                    QStringLiteral("FILE")});
  parser.addOption({QStringLiteral("stats"),
                    QStringLiteral("Also count the Sectors of each element and each height, as "
                                   "the editor's Legend shows them once MAP is imported.")});
  parser.addOption({QStringLiteral("format"),
                    QStringLiteral("text (the default) or json: everything as one JSON document."),
                    QStringLiteral("FORMAT")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;
  const std::optional<QString> catalogueFile = parser.single(QStringLiteral("catalogue"), console);
  if (!catalogueFile) return kFailure;
  const std::optional<QString> format =
      parser.choice(QStringLiteral("format"), {QStringLiteral("text"), QStringLiteral("json")},
                    QStringLiteral("text"), console);
  if (!format) return kFailure;
  const QString picturePath = parser.positional(0);
  const QString mapPath = parser.positional(1);
  const bool withStatistics = parser.isSet(QStringLiteral("stats"));
  if (isProjectArgument(picturePath)) {
    if (!checkInputCount(picturePath, mapPath, QStringLiteral("check"), console)) return kFailure;
    return checkProject(picturePath, *catalogueFile, withStatistics, *format, console);
  }
  if (withStatistics && mapPath.isEmpty()) {
    console.error(QStringLiteral("--stats needs a MAP file to count\n%1")
                      .arg(helpHint(QStringLiteral("check"))));
    return kFailure;
  }

  CheckReport report;
  report.picturePath = picturePath;
  const std::optional<PictureLoadResult> picture = loadPicture(report.picturePath, console);
  if (!picture) return kFailure;
  report.width = picture->picture.width();
  report.height = picture->picture.height();
  report.xQuads = picture->xQuads;
  report.yQuads = picture->yQuads;
  report.totalQuads = picture->totalQuads;
  EditorSession session;
  if (!mapPath.isEmpty()) {
    if (!loadCatalogue(*catalogueFile, 0, session, console)) return kFailure;
    const std::optional<MapTextContent> content = readMapFile(mapPath, console);
    if (!content) return kFailure;
    report.mapPath = mapPath;
    report.check = MapCheck::of(*content, picture->totalQuads, session.elementTable());
    if (withStatistics) {
      // The map as the editor holds it after importing the picture and then MAP.
      MapDocument &document = session.document();
      document.XQuads = qint16(picture->xQuads);
      document.YQuads = qint16(picture->yQuads);
      document.TotalQuads = qint16(picture->totalQuads);
      applyMapTextWithoutHistory(*content, session, mapPath);
      report.statistics = CheckStatistics::of(session.statistics(), session.elementTable());
    }
  }
  printReport(report, *format);
  return report.check.problems.isEmpty() ? kSuccess : kProblemsFound;
}

}  // namespace vmm::cli
