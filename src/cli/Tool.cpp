// SPDX-License-Identifier: GPL-3.0-or-later
// The tool's entry: the command's name picks the command; --help and --version.
#include "cli/CommandParser.h"
#include "cli/Commands.h"

#include <QCoreApplication>

#include <array>

namespace vmm::cli {
namespace {

struct Command {
  const char *name;
  const char *summary;
  int (*run)(const QStringList &);
};

constexpr std::array kCommands{
    Command{"render", "draw a map file over its picture and write the Terrain or Elevation map",
            runRender},
    Command{"convert", "write a map file again as a Varga or Tolle map file", runConvert},
    Command{"check", "report a picture's size and a map file's content and problems", runCheck},
    Command{"edit", "fill, clear or randomise a map file as the editor's bulk edits do", runEdit},
    Command{"pack", "make a map project of a picture and a map file", runPack},
    Command{"unpack", "write a map project's picture and map file into a folder", runUnpack},
    Command{"trace", "paint a map project's unassigned Sectors from its picture and examples",
            runTrace},
};

QString toolHelp() {
  QString text = QStringLiteral(
      "Usage: varga-map COMMAND [options] ARGUMENTS\n"
      "Batch work on Varga Map Maker files: render, convert, check and bulk-edit map files,\n"
      "and pack pictures and map files into map projects (.vmap) and back. Wherever a command\n"
      "takes a picture and a map file, a map project alone will do. trace paints a project's\n"
      "unassigned Sectors from its picture, learning from the Sectors already painted.\n"
      "\nCommands:\n");
  for (const Command &command : kCommands)
    text += QStringLiteral("  %1  %2\n")
                .arg(QLatin1String(command.name), -8)
                .arg(QLatin1String(command.summary));
  text += QStringLiteral(
      "\nOptions:\n"
      "  -h, --help     Shows this help; \"varga-map COMMAND --help\" shows a command's.\n"
      "  --version      Shows the version.\n"
      "\nThe catalogue is the editor's: $VARGA_MAP_MAKER_HOME/Ostrel.db, or the per-user data\n"
      "folder's, created from the default when missing; --catalogue FILE uses another.\n"
      "Exit status: 0 success, 1 check found problems or trace had nothing to learn or paint,\n"
      "2 bad usage or unreadable input.");
  return text;
}

}  // namespace

int runTool(const QStringList &arguments) {
  Console console;
  if (arguments.isEmpty()) {
    console.error(QStringLiteral("no command given\nTry \"varga-map --help\"."));
    return kFailure;
  }
  const QString first = arguments.front();
  if (first == QLatin1String("--help") || first == QLatin1String("-h")) {
    Console().print(toolHelp());
    return kSuccess;
  }
  if (first == QLatin1String("--version")) {
    Console().print(QStringLiteral("varga-map %1").arg(QCoreApplication::applicationVersion()));
    return kSuccess;
  }
  for (const Command &command : kCommands)
    if (first == QLatin1String(command.name)) return command.run(arguments.mid(1));
  console.error(QStringLiteral("\"%1\" is not a command; the commands are render, convert, check, "
                               "edit, pack, unpack and trace\nTry \"varga-map --help\".")
                    .arg(first));
  return kFailure;
}

}  // namespace vmm::cli
