// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/MapTextImport.h"

#include "document/MapDocument.h"
#include "files/InputFile.h"

#include <QDir>

namespace vmm {

MapImportResult applyMapText(const MapTextContent &content, MapDocument &doc,
                             const QString &fileName) {
  // Row by row, plane by plane: no division per value.
  const qint16 *value = content.values.data();
  const qint16 *const end = value + content.values.size();
  for (int quad = 0; value < end; ++quad)
    for (const Plane plane : {Plane::Element, Plane::Height})
      for (int sector = 0; sector < kSectorsPerQuad && value < end; ++sector, ++value)
        if (*value != kUnassigned) doc.setValue(quad, sector, plane, *value);

  MapImportResult result;
  result.rowsRead = content.completeRows();
  if (content.problem) {
    result.status = MapImportResult::Status::Stopped;
    // One arg() call for all parts: a file name or field holding "%1" must stay as it is.
    result.messageText =
        QStringLiteral(
            "Reading the map data file \"%1\" stopped at line %2: %3. "
            "The values read before it were kept.")
            .arg(QDir::toNativeSeparators(fileName), QString::number(content.problem->line),
                 content.problem->description());
    return result;
  }
  doc.TotalQuads = static_cast<qint16>(result.rowsRead);
  return result;
}

std::optional<MapTextContent> readMapTextFile(const QString &path, QString *error) {
  InputFile input;
  if (!input.open(path)) {
    if (error) *error = input.errorString();
    return std::nullopt;
  }
  QFile &file = input.file();
  MapTextParser parser;
  QByteArray chunk(256 * 1024, Qt::Uninitialized);
  for (;;) {
    const qint64 got = file.read(chunk.data(), chunk.size());
    if (got < 0) {
      if (error) *error = file.errorString();
      return std::nullopt;
    }
    if (got == 0) break;
    if (!parser.feed(QByteArrayView(chunk.constData(), got))) break;  // the rest is not needed
  }
  parser.finish();
  return parser.takeContent();
}

MapImportResult GetFile(MapDocument &doc, const QString &path) {
  QString error;
  const std::optional<MapTextContent> content = readMapTextFile(path, &error);
  if (!content) {
    MapImportResult result;
    result.status = MapImportResult::Status::Unreadable;
    result.messageText = QStringLiteral("Map data file \"%1\" could not be read: %2")
                             .arg(QDir::toNativeSeparators(path), error);
    return result;
  }
  return applyMapText(*content, doc, path);
}

QString quadCountNote(int mapRows, int pictureQuads) {
  if (mapRows == pictureQuads) return {};
  return QStringLiteral("Map data: %1 Quads, picture: %2 Quads").arg(mapRows).arg(pictureQuads);
}

}  // namespace vmm
