#include "mapview/PictureLoader.h"

#include "document/MapDocument.h"
#include "mapfiles/InputFile.h"
#include "mapview/JpegDecoder.h"
#include "mapview/JpegIntegrity.h"

#include <QImageReader>

namespace vmm {

namespace {

// Read whole only where the file cannot be mapped; a maximum picture's JPEG is a few MB.
constexpr qint64 kMaxJpegReadBytes = 256 * 1024 * 1024;

PictureLoadResult refused(const QString &message) {
  PictureLoadResult result;
  result.message = message;
  result.title = PictureLoader::kTitle;
  return result;
}

QString unreadable(const QString &path, const QString &reason) {
  return QStringLiteral("The image (%1) could not be read: %2").arg(path, reason);
}

PictureLoadResult accepted(const QString &path, QImage picture) {
  if (QString problem = PictureLoader::sizeProblem(path, picture.size()); !problem.isEmpty())
    return refused(problem);
  if (picture.format() != QImage::Format_RGB32) picture.convertTo(QImage::Format_RGB32);
  PictureLoadResult result;
  result.accepted = true;
  result.xQuads = picture.width() / kQuadPixels;
  result.yQuads = picture.height() / kQuadPixels;
  result.totalQuads = result.xQuads * result.yQuads;
  result.picture = std::move(picture);
  return result;
}

// A JPEG's structure is walked first, in time linear in its size: a size the map cannot
// take, a file cut short and a structure far beyond any real picture's are refused before
// the decoder spends anything on them.
PictureLoadResult loadJpeg(const QString &path, InputFile &input) {
  QByteArray read;
  QByteArrayView bytes;
  if (const uchar *mapped = input.file().map(0, input.size())) {
    bytes = QByteArrayView(mapped, static_cast<qsizetype>(input.size()));
  } else {
    std::optional<QByteArray> whole = input.readAll(kMaxJpegReadBytes);
    if (!whole) return refused(unreadable(path, input.errorString()));
    read = std::move(*whole);
    bytes = read;
  }
  const JpegStructure structure = inspectJpeg(bytes);
  if (structure.declaredSize.isValid()) {
    if (QString problem = PictureLoader::sizeProblem(path, structure.declaredSize);
        !problem.isEmpty())
      return refused(problem);
  }
  if (!structure.problem.isEmpty()) return refused(unreadable(path, structure.problem));
  JpegDecodeResult decoded = decodeJpeg(bytes);
  if (decoded.picture.isNull()) return refused(unreadable(path, decoded.error));
  return accepted(path, std::move(decoded.picture));
}

PictureLoadResult loadOther(const QString &path, QFile &file) {
  QImageReader reader(&file);
  reader.setAutoTransform(false);  // the picture is used as stored, never rotated
  // The header's size is enough to refuse a picture before decoding it.
  const QSize declared = reader.size();
  if (declared.isValid()) {
    if (QString problem = PictureLoader::sizeProblem(path, declared); !problem.isEmpty())
      return refused(problem);
  }
  QImage picture = reader.read();
  if (picture.isNull()) return refused(unreadable(path, reader.errorString()));
  return accepted(path, std::move(picture));
}

}  // namespace

QString PictureLoader::sizeProblem(const QString &path, QSize size) {
  if (size.width() % kSizeMultiple != 0)
    return QStringLiteral("The width of this image (%1) is not divisable by 120 and is Invalid.")
        .arg(path);
  if (size.height() % kSizeMultiple != 0)
    return QStringLiteral("The height of this image (%1) is not divisable by 120 and is Invalid.")
        .arg(path);
  const qint64 quads = qint64(size.width() / kQuadPixels) * (size.height() / kQuadPixels);
  if (quads > kQuadCapacity)
    return QStringLiteral(
               "The image (%1) is too large: it makes %2 Quads and a map holds at most %3.")
        .arg(path, QString::number(quads), QString::number(kQuadCapacity));
  return {};
}

PictureLoadResult PictureLoader::load(const QString &path) {
  InputFile input;
  if (!input.open(path)) return refused(unreadable(path, input.errorString()));
  // The content decides, whatever the name says: JPEG is Qt's test too.
  if (looksLikeJpeg(input.file().peek(2))) return loadJpeg(path, input);
  return loadOther(path, input.file());
}

}  // namespace vmm
