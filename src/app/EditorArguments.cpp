// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/EditorArguments.h"

#include <QCommandLineParser>

namespace vmm {

EditorArguments parseEditorArguments(const QStringList &arguments) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QStringLiteral(
      "Varga Map Maker: paints terrain elements and heights onto the picture of a battle map.\n"
      "Each FILE is opened in turn as its File menu command does it: a map project (.vmap) is\n"
      "opened, a picture is imported, and a Varga map text is imported onto the picture\n"
      "given before it."));
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("FILE"),
                               QStringLiteral("A map project, a picture or a map text."),
                               QStringLiteral("[FILE...]"));
  EditorArguments result;
  if (!parser.parse(arguments)) {
    result.error = parser.errorText() + QStringLiteral("\nTry \"varga-map-maker --help\".");
    result.exitCode = 2;
    return result;
  }
  if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
    // Qt opens the text with the path the program was started by; show its name instead.
    result.output = parser.helpText();
    result.output.replace(0, result.output.indexOf(u'\n'),
                          QStringLiteral("Usage: varga-map-maker [options] [FILE...]"));
    result.exitCode = 0;
  } else if (parser.isSet(version)) {
    result.output = QStringLiteral("varga-map-maker " VMM_VERSION);
    result.exitCode = 0;
  }
  result.files = parser.positionalArguments();
  return result;
}

bool asksOnlyForText(int argc, const char *const *argv) {
  for (int i = 1; i < argc; ++i) {
    const QByteArrayView argument(argv[i]);
    if (argument == "--") return false;  // what follows are files
    // --help-all lists the window system's options too, so it waits for one.
    if (argument == "-h" || argument == "--help" || argument == "-?" || argument == "-v" ||
        argument == "--version")
      return true;
  }
  return false;
}

}  // namespace vmm
