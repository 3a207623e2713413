#include "mapfiles/MapTextImport.h"

#include "document/MapDocument.h"

#include <QDir>
#include <QFile>

namespace vmm {

MapImportResult applyMapText(const MapTextContent &content, MapDocument &doc,
                             const QString &fileName) {
  const std::size_t count = content.values.size();
  for (std::size_t i = 0; i < count; ++i) {
    const qint16 value = content.values[i];
    if (value == kUnassigned) continue;
    const int quad = static_cast<int>(i / kValuesPerRow);
    const int column = static_cast<int>(i % kValuesPerRow);
    const Plane plane = column < kSectorsPerQuad ? Plane::Element : Plane::Height;
    doc.setValue(quad, column % kSectorsPerQuad, plane, value);
  }

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
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    if (error) *error = file.errorString();
    return std::nullopt;
  }
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

MapImportResult GetFile(MapDocument &doc, const QString &strFile) {
  QString error;
  const std::optional<MapTextContent> content = readMapTextFile(strFile, &error);
  if (!content) {
    MapImportResult result;
    result.status = MapImportResult::Status::Unreadable;
    result.messageText = QStringLiteral("Map data file \"%1\" could not be read: %2")
                             .arg(QDir::toNativeSeparators(strFile), error);
    return result;
  }
  return applyMapText(*content, doc, strFile);
}

QString quadCountNote(int mapRows, int pictureQuads) {
  if (mapRows == pictureQuads) return {};
  return QStringLiteral("Map data: %1 Quads, picture: %2 Quads").arg(mapRows).arg(pictureQuads);
}

}  // namespace vmm
