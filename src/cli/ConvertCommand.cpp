// SPDX-License-Identifier: GPL-3.0-or-later
// varga-map convert: a map file written again in either edition's format.
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapInputs.h"
#include "cli/ProjectInputs.h"

namespace vmm::cli {

int runConvert(const QStringList &arguments) {
  Console console(QStringLiteral("convert"));
  CommandParser parser(
      QStringLiteral("convert"),
      QStringLiteral("Reads MAP as the editor imports it, or opens it when it is a map project, "
                     "and writes it as the editor's Varga or Tolle export would. XQuads and "
                     "YQuads come from the project, from PICTURE when given, otherwise from "
                     "header lines 3 and 4 of MAP."));
  parser.addPositional(QStringLiteral("MAP"),
                       QStringLiteral("A Varga map text file or a map project (.vmap)."));
  parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                    QStringLiteral("The map file to write."),
                    QStringLiteral("OUT")});
  parser.addOption({QStringLiteral("to"), QStringLiteral("The edition to write: tolle or varga."),
                    QStringLiteral("tolle|varga")});
  parser.addOption({QStringLiteral("picture"),
                    QStringLiteral("The map picture that gives the map's size."),
                    QStringLiteral("PICTURE")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;

  const std::optional<QString> output = parser.single(QStringLiteral("output"), console);
  if (!output) return kFailure;
  if (output->isEmpty() || !parser.isSet(QStringLiteral("to"))) {
    console.error(QStringLiteral("give the file to write with -o OUT and its edition with --to\n") +
                  helpHint(QStringLiteral("convert")));
    return kFailure;
  }
  const std::optional<QString> edition = parser.choice(
      QStringLiteral("to"), {QStringLiteral("tolle"), QStringLiteral("varga")}, {}, console);
  if (!edition) return kFailure;
  const std::optional<QString> picture = parser.single(QStringLiteral("picture"), console);
  if (!picture) return kFailure;

  std::unique_ptr<EditorSession> session;
  if (isProjectArgument(parser.positional(0))) {
    if (!picture->isEmpty()) {
      console.error(QStringLiteral("a map project holds its picture: give no --picture with it\n") +
                    helpHint(QStringLiteral("convert")));
      return kFailure;
    }
    session = std::make_unique<EditorSession>();
    if (!openProjectMap(parser.positional(0), *session, console)) return kFailure;
  } else {
    session = importMapWithDimensions(parser.positional(0), *picture, console);
    if (!session) return kFailure;
  }
  const MapEdition written =
      *edition == QLatin1String("tolle") ? MapEdition::Tolle : MapEdition::Varga;
  return writeMapFile(session->document(), written, *output, console) ? kSuccess : kFailure;
}

}  // namespace vmm::cli
