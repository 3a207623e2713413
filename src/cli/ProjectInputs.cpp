// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/ProjectInputs.h"

#include "cli/CommandParser.h"
#include "cli/MapInputs.h"
#include "mapfiles/MapTextImport.h"

#include <QFileInfo>

namespace vmm::cli {

bool isProjectArgument(const QString &path) {
  return looksLikeProject(path) ||
         QFileInfo(path).suffix().compare(QLatin1String("vmap"), Qt::CaseInsensitive) == 0;
}

std::optional<ProjectContent> readProjectFile(const QString &path, Console &console) {
  ProjectReadResult read = readProject(path);
  if (!read.ok()) {
    console.error(read.messageText(path));
    return std::nullopt;
  }
  return std::move(read.content);
}

bool openProjectMap(const QString &path, EditorSession &session, Console &console, bool drawViews) {
  const std::optional<ProjectContent> content = readProjectFile(path, console);
  if (!content) return false;
  const CatalogueResult loaded = session.openProject(*content, drawViews);
  if (!loaded.ok) console.error(loaded.error);
  return loaded.ok;
}

bool startMapFromInputs(const QString &pictureOrProject, const QString &mapPath,
                        EditorSession &session, Console &console, bool drawViews) {
  if (mapPath.isEmpty()) return openProjectMap(pictureOrProject, session, console, drawViews);
  // As the editor after "Import Map Image" and "Import Map Data".
  const std::optional<PictureLoadResult> picture = loadPicture(pictureOrProject, console);
  if (!picture) return false;
  session.startMap(*picture);
  if (!importMapFile(mapPath, session, console)) return false;
  if (const QString note = quadCountNote(session.document().TotalQuads, picture->totalQuads);
      !note.isEmpty())
    console.warning(note);
  return true;
}

bool checkInputCount(const QString &pictureOrProject, const QString &mapPath,
                     const QString &command, Console &console) {
  const bool project = isProjectArgument(pictureOrProject);
  if (project == mapPath.isEmpty()) return true;
  console.error((project ? QStringLiteral("a map project holds its map: give no MAP with it\n")
                         : QStringLiteral("missing MAP\n")) +
                helpHint(command));
  return false;
}

std::optional<QString> requiredOutput(const CommandParser &parser, const QString &command,
                                      const QString &what, Console &console) {
  std::optional<QString> output = parser.single(QStringLiteral("output"), console);
  if (output && output->isEmpty()) {
    console.error(QStringLiteral("give the %1 to write with -o\n%2").arg(what, helpHint(command)));
    return std::nullopt;
  }
  // "-" is the standard output for the other commands; a project or a folder cannot go there.
  if (output && *output == kStandardOutput) {
    console.error(QStringLiteral("a %1 cannot be written to the standard output: give its name "
                                 "with -o\n%2")
                      .arg(what, helpHint(command)));
    return std::nullopt;
  }
  return output;
}

}  // namespace vmm::cli
