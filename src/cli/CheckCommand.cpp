// varga-map check: a picture's size and a map file's content, with every problem found.
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapCheck.h"
#include "cli/MapInputs.h"

namespace vmm::cli {

int runCheck(const QStringList &arguments) {
  Console console(QStringLiteral("check"));
  CommandParser parser(
      QStringLiteral("check"),
      QStringLiteral("Prints the size of PICTURE and the map it makes and, with MAP, what the "
                     "editor's import would read from MAP and every problem, one line each: "
                     "FILE:LINE: problem. Exits with 1 when there is a problem."));
  parser.addPositional(QStringLiteral("PICTURE"), QStringLiteral("The map picture."));
  parser.addPositional(QStringLiteral("MAP"), QStringLiteral("A Varga map text file."), true);
  parser.addOption({QStringLiteral("catalogue"),
                    QStringLiteral("The catalogue to use instead of the editor's."),
                    QStringLiteral("FILE")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;
  const std::optional<QString> catalogueFile = parser.single(QStringLiteral("catalogue"), console);
  if (!catalogueFile) return kFailure;

  const QString picturePath = parser.positional(0);
  const std::optional<PictureLoadResult> picture = loadPicture(picturePath, console);
  if (!picture) return kFailure;
  const QString mapPath = parser.positional(1);
  EditorSession session;
  std::optional<MapTextContent> content;
  if (!mapPath.isEmpty()) {
    if (!loadCatalogue(*catalogueFile, 0, session, console)) return kFailure;
    content = readMapFile(mapPath, console);
    if (!content) return kFailure;
  }

  Console out;
  out.print(QStringLiteral("Picture: %1, %2 x %3 pixels")
                .arg(shown(picturePath))
                .arg(picture->picture.width())
                .arg(picture->picture.height()));
  out.print(QStringLiteral("XQuads: %1").arg(picture->xQuads));
  out.print(QStringLiteral("YQuads: %1").arg(picture->yQuads));
  out.print(QStringLiteral("TotalQuads: %1").arg(picture->totalQuads));
  if (!content) return kSuccess;

  const MapCheck check = MapCheck::of(*content, picture->totalQuads, session.elementTable());
  out.print(QStringLiteral("Map: %1").arg(shown(mapPath)));
  out.print(QStringLiteral("Rows: %1").arg(check.rows));
  out.print(QStringLiteral("Sectors with an element: %1").arg(check.sectorsWithElement));
  out.print(QStringLiteral("Sectors with a height: %1").arg(check.sectorsWithHeight));
  for (const MapProblem &problem : check.problems)
    out.print(QStringLiteral("%1:%2: %3").arg(shown(mapPath)).arg(problem.line).arg(problem.text));
  if (check.problems.isEmpty()) {
    out.print(QStringLiteral("No problems found."));
    return kSuccess;
  }
  out.print(QStringLiteral("Problems: %1").arg(check.problems.size()));
  return kProblemsFound;
}

}  // namespace vmm::cli
