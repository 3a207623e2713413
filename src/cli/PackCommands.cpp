// SPDX-License-Identifier: GPL-3.0-or-later
// varga-map pack and unpack: a picture and a map file made into a map project, and back.
#include "cli/CommandParser.h"
#include "cli/Commands.h"
#include "cli/MapInputs.h"
#include "cli/ProjectInputs.h"

#include <QDir>
#include <QFileInfo>

namespace vmm::cli {
namespace {

const QString kOutput = QStringLiteral("output");

// The picture's stored name as a file name here: it is kept as it was given, so characters
// that name a folder or a drive on some system, or garble a listing, become "_".
QString diskFileName(const QString &stored) {
  QString name = stored;
  for (QChar &c : name)
    if (c == u'\\' || c == u':' || c.category() == QChar::Other_Control) c = u'_';
  return name;
}

// Whether `target` may be written: never over the project being read, and over another
// existing file (or link) only when `force` is given. The refusal names the file.
bool mayWrite(const QString &target, const QFileInfo &project, bool force, Console &console) {
  const QFileInfo info(target);
  if (!info.exists() && !info.isSymLink()) return true;
  if (info.canonicalFilePath() == project.canonicalFilePath()) {
    console.error(QStringLiteral("\"%1\" is the project being unpacked; nothing was written")
                      .arg(shown(target)));
    return false;
  }
  if (force) return true;
  console.error(QStringLiteral("\"%1\" already exists; nothing was written (give --force to "
                               "replace it)")
                    .arg(shown(target)));
  return false;
}

}  // namespace

int runPack(const QStringList &arguments) {
  const QString command = QStringLiteral("pack");
  Console console(command);
  CommandParser parser(
      command,
      QStringLiteral("Makes a map project of PICTURE and MAP, as the editor saves one after "
                     "\"Import Map Image\" and \"Import Map Data\": the picture's bytes as they "
                     "are, the map and the editor's starting state. PROJECT is replaced "
                     "atomically."));
  parser.addPositional(QStringLiteral("PICTURE"), QStringLiteral("The map picture."));
  parser.addPositional(QStringLiteral("MAP"), QStringLiteral("A Varga map text file."));
  parser.addOption({{QStringLiteral("o"), kOutput},
                    QStringLiteral("The project to write (.vmap)."),
                    QStringLiteral("PROJECT")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;
  const std::optional<QString> output =
      requiredOutput(parser, command, QStringLiteral("project"), console);
  if (!output) return kFailure;

  EditorSession session;
  if (!startMapFromInputs(parser.positional(0), parser.positional(1), session, console))
    return kFailure;
  const FileWriteResult written = session.saveProject(*output, session.editorState());
  if (!written.ok) {
    console.error(
        QStringLiteral("\"%1\" could not be written: %2").arg(shown(*output), written.errorText));
    return kFailure;
  }
  return kSuccess;
}

int runUnpack(const QStringList &arguments) {
  const QString command = QStringLiteral("unpack");
  Console console(command);
  CommandParser parser(
      command,
      QStringLiteral("Writes the picture of PROJECT under its original file name and its map as "
                     "a Varga map text file named after PROJECT into the folder DIR (made when "
                     "missing), and prints the two paths. A file that already exists there is "
                     "left as it is and nothing is written, unless --force is given; PROJECT "
                     "itself is never replaced."));
  parser.addPositional(QStringLiteral("PROJECT"), QStringLiteral("A map project (.vmap)."));
  parser.addOption({{QStringLiteral("o"), kOutput},
                    QStringLiteral("The folder to write into."),
                    QStringLiteral("DIR")});
  parser.addOption({QStringLiteral("force"),
                    QStringLiteral("Replace files that already exist in DIR, atomically.")});
  if (const std::optional<int> stop = parser.parse(arguments, console)) return *stop;
  const std::optional<QString> output =
      requiredOutput(parser, command, QStringLiteral("folder"), console);
  if (!output) return kFailure;

  const QString projectPath = parser.positional(0);
  EditorSession session;
  if (!openProjectMap(projectPath, session, console)) return kFailure;
  const QDir folder(*output);
  if (!QDir().mkpath(folder.path()) || !QFileInfo(folder.path()).isDir()) {
    console.error(QStringLiteral("the folder \"%1\" could not be made").arg(shown(folder.path())));
    return kFailure;
  }
  // The project vouches for a name without "/", so it stays inside the folder.
  const QString pictureName = diskFileName(session.pictureFileName());
  const QString picturePath = folder.filePath(pictureName);
  QString mapName = QFileInfo(projectPath).completeBaseName() + QStringLiteral(".txt");
  if (mapName.compare(pictureName, Qt::CaseInsensitive) == 0)
    mapName = QFileInfo(projectPath).completeBaseName() + QStringLiteral("-map.txt");
  const QString mapPath = folder.filePath(mapName);
  const bool force = parser.isSet(QStringLiteral("force"));
  const QFileInfo project(projectPath);
  if (!mayWrite(picturePath, project, force, console) ||
      !mayWrite(mapPath, project, force, console))
    return kFailure;
  const FileWriteResult picture = writeFileAtomically(picturePath, session.pictureBytes());
  if (!picture.ok) {
    console.error(QStringLiteral("\"%1\" could not be written: %2")
                      .arg(shown(picturePath), picture.errorText));
    return kFailure;
  }
  if (!writeMapFile(session.document(), MapEdition::Varga, mapPath, console)) return kFailure;
  Console out;
  out.print(QStringLiteral("Picture: %1").arg(shown(picturePath)));
  out.print(QStringLiteral("Map: %1").arg(shown(mapPath)));
  return kSuccess;
}

}  // namespace vmm::cli
