// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ProjectInvariants.h"

#include "mapfiles/ProjectFile.h"
#include "session/EditorSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace vmm::test {
namespace {

QString checkContent(const ProjectContent &content) {
  const std::size_t values = content.elements.size();
  if (content.heights.size() != values || values % kSectorsPerQuad != 0)
    return QStringLiteral("planes of different or partial lengths");
  if (content.storedQuads() > kQuadCapacity)
    return QStringLiteral("more Quads than the array holds");
  if (content.TotalQuads < 0 || content.TotalQuads > kQuadCapacity)
    return QStringLiteral("TotalQuads %1 out of bounds").arg(content.TotalQuads);
  const PictureLoadResult &picture = content.picture;
  if (!picture.accepted || picture.picture.isNull() || picture.totalQuads > kQuadCapacity ||
      picture.picture.width() % PictureLoader::kSizeMultiple != 0 ||
      picture.picture.height() % PictureLoader::kSizeMultiple != 0)
    return QStringLiteral("a picture the picture rules refuse");
  if (picture.picture.width() != content.XQuads * kQuadPixels ||
      picture.picture.height() != content.YQuads * kQuadPixels)
    return QStringLiteral("the map's size differs from its picture's");
  // Any name a file can have; a folder separator would reach outside a folder on unpacking.
  if (picture.fileName.isEmpty() || picture.fileName.contains(u'/') ||
      picture.fileName == QLatin1String("..") || picture.fileName == QLatin1String("."))
    return QStringLiteral("picture file name \"%1\" is no file name").arg(picture.fileName);
  return {};
}

QString checkOpened(const ProjectContent &content, const EditorSession &session) {
  const MapDocument &doc = session.document();
  if (doc.XQuads != content.XQuads || doc.YQuads != content.YQuads ||
      doc.TotalQuads != content.TotalQuads)
    return QStringLiteral("the opened map's size differs from the project's");
  for (int quad = 0; quad < kQuadCapacity; ++quad)
    for (int sector = 0; sector < kSectorsPerQuad; ++sector) {
      const std::size_t at = std::size_t(quad) * kSectorsPerQuad + std::size_t(sector);
      const bool stored = at < content.elements.size();
      if (doc.value(quad, sector, Plane::Element) !=
              (stored ? content.elements[at] : kUnassigned) ||
          doc.value(quad, sector, Plane::Height) != (stored ? content.heights[at] : kUnassigned))
        return QStringLiteral("Quad %1 Sector %2 opened with another value").arg(quad).arg(sector);
    }
  if (session.surfaces().size() != content.picture.picture.size())
    return QStringLiteral("the surfaces are not the picture's size");
  return {};
}

bool sameProject(const ProjectContent &a, const ProjectContent &b) {
  return a.XQuads == b.XQuads && a.YQuads == b.YQuads && a.TotalQuads == b.TotalQuads &&
         a.elements == b.elements && a.heights == b.heights &&
         a.picture.fileBytes == b.picture.fileBytes && a.picture.fileName == b.picture.fileName &&
         a.state.view == b.state.view && a.state.drawStyle == b.state.drawStyle &&
         a.state.editMode == b.state.editMode && a.state.currentElement == b.state.currentElement &&
         a.state.currentHeight == b.state.currentHeight &&
         a.state.heightColourMode == b.state.heightColourMode &&
         a.state.additional == b.state.additional;
}

}  // namespace

QString checkProjectInvariants(QByteArrayView bytes) {
  static QTemporaryDir folder;
  const QString path = QDir(folder.path()).filePath(QStringLiteral("input.vmap"));
  {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes.data(), bytes.size()) != bytes.size())
      return QStringLiteral("cannot write the input to %1").arg(path);
  }
  const ProjectReadResult read = readProject(path);
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.readAll() != bytes)
    return QStringLiteral("reading changed the file");
  if (!read.ok())
    return read.problem.isEmpty() ? QStringLiteral("refused without a reason") : QString();
  if (!read.problem.isEmpty()) return QStringLiteral("accepted with a reason to refuse");
  if (QString problem = checkContent(*read.content); !problem.isEmpty()) return problem;

  EditorSession session;
  session.openProject(*read.content);
  if (QString problem = checkOpened(*read.content, session); !problem.isEmpty()) return problem;
  const QString again = QDir(folder.path()).filePath(QStringLiteral("again.vmap"));
  const FileWriteResult written = writeProject(*read.content, again);
  if (!written.ok)
    return QStringLiteral("the project cannot be saved again: %1").arg(written.errorText);
  const ProjectReadResult reread = readProject(again);
  if (!reread.ok() || !sameProject(*reread.content, *read.content))
    return QStringLiteral("saved again, the project reads back differently");
  return {};
}

}  // namespace vmm::test
