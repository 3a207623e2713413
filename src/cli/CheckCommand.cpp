// varga-map check: a picture's size and a map file's content, with every problem found;
// or the same of a map project.
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapCheck.h"
#include "cli/MapInputs.h"
#include "cli/ProjectInputs.h"

namespace vmm::cli {
namespace {

void printPicture(Console &out, const QString &label, QSize size, int xQuads, int yQuads) {
  out.print(QStringLiteral("Picture: %1, %2 x %3 pixels").arg(label).arg(size.width()).arg(size.height()));
  out.print(QStringLiteral("XQuads: %1").arg(xQuads));
  out.print(QStringLiteral("YQuads: %1").arg(yQuads));
  out.print(QStringLiteral("TotalQuads: %1").arg(xQuads * yQuads));
}

// Prints what was found; problems carry the map file's line numbers when it has lines.
int printMapCheck(Console &out, const QString &mapPath, const MapCheck &check, bool withLines) {
  out.print(QStringLiteral("Map: %1").arg(shown(mapPath)));
  out.print(QStringLiteral("Rows: %1").arg(check.rows));
  out.print(QStringLiteral("Sectors with an element: %1").arg(check.sectorsWithElement));
  out.print(QStringLiteral("Sectors with a height: %1").arg(check.sectorsWithHeight));
  for (const MapProblem &problem : check.problems)
    out.print(withLines
                  ? QStringLiteral("%1:%2: %3").arg(shown(mapPath)).arg(problem.line).arg(problem.text)
                  : QStringLiteral("%1: %2").arg(shown(mapPath), problem.text));
  if (check.problems.isEmpty()) {
    out.print(QStringLiteral("No problems found."));
    return kSuccess;
  }
  out.print(QStringLiteral("Problems: %1").arg(check.problems.size()));
  return kProblemsFound;
}

// A project's map is checked as the Varga file a Varga export of it would write.
int checkProject(const QString &projectPath, const QString &catalogueFile, Console &console) {
  EditorSession session;
  if (!loadCatalogue(catalogueFile, 0, session, console)) return kFailure;
  if (!openProjectMap(projectPath, session, console)) return kFailure;
  const MapDocument &doc = session.document();
  Console out;
  printPicture(out, QStringLiteral("%1 in %2").arg(session.pictureFileName(), shown(projectPath)),
               session.surfaces().size(), doc.XQuads, doc.YQuads);
  const MapCheck check = MapCheck::of(parseMapText(vargaMapText(doc)), doc.XQuads * doc.YQuads,
                                      session.elementTable(), 0);
  return printMapCheck(out, projectPath, check, false);
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
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;
  const std::optional<QString> catalogueFile = parser.single(QStringLiteral("catalogue"), console);
  if (!catalogueFile) return kFailure;

  const QString picturePath = parser.positional(0);
  const QString mapPath = parser.positional(1);
  if (isProjectArgument(picturePath)) {
    if (!checkInputCount(picturePath, mapPath, QStringLiteral("check"), console)) return kFailure;
    return checkProject(picturePath, *catalogueFile, console);
  }
  const std::optional<PictureLoadResult> picture = loadPicture(picturePath, console);
  if (!picture) return kFailure;
  EditorSession session;
  std::optional<MapTextContent> content;
  if (!mapPath.isEmpty()) {
    if (!loadCatalogue(*catalogueFile, 0, session, console)) return kFailure;
    content = readMapFile(mapPath, console);
    if (!content) return kFailure;
  }

  Console out;
  printPicture(out, shown(picturePath), picture->picture.size(), picture->xQuads, picture->yQuads);
  if (!content) return kSuccess;
  const MapCheck check =
      MapCheck::of(*content, picture->totalQuads, session.elementTable(), lastLineOf(mapPath));
  return printMapCheck(out, mapPath, check, true);
}

}  // namespace vmm::cli
