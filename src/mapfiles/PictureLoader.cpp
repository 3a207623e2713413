// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/PictureLoader.h"

#include "document/MapDocument.h"
#include "files/InputFile.h"
#include "mapfiles/JpegDecoder.h"
#include "mapfiles/JpegIntegrity.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageReader>

namespace vmm {

namespace {

PictureLoadResult refused(const QString &message) {
  PictureLoadResult result;
  result.message = message;
  result.title = PictureLoader::kTitle;
  return result;
}

QString unreadable(const QString &path, const QString &reason) {
  return QStringLiteral("The image (%1) could not be read: %2").arg(path, reason);
}

QString tooLargeFile(const QString &path) {
  return QStringLiteral("The image (%1) is too large a file: a map picture is at most %2 MiB.")
      .arg(path)
      .arg(PictureLoader::kMaxFileBytes / (1024 * 1024));
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
PictureLoadResult loadJpeg(const QString &path, QByteArrayView bytes) {
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

PictureLoadResult loadOther(const QString &path, const QByteArray &bytes, const QString &fileName) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  // The content decides the format; the extension only helps formats without a signature.
  QByteArray format = QImageReader::imageFormat(&buffer);
  if (format.isEmpty()) format = QFileInfo(fileName).suffix().toLower().toLatin1();
  QImageReader reader(&buffer, format);
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
  if (input.size() > kMaxFileBytes) return refused(tooLargeFile(path));
  // Read, never mapped: a mapped file that another program cuts short kills the process
  // (SIGBUS) at the first page past its new end. A file that changes size while it is
  // read is refused, since what was read may be half of either version.
  const qint64 sizeAtOpen = input.size();
  const std::optional<QByteArray> bytes = input.readAll(kMaxFileBytes);
  if (!bytes) return refused(unreadable(path, input.errorString()));
  if (bytes->size() != sizeAtOpen || input.file().size() != sizeAtOpen)
    return refused(unreadable(path, QStringLiteral("it changed while it was read")));
  return loadData(*bytes, QFileInfo(path).fileName(), path);
}

PictureLoadResult PictureLoader::loadData(const QByteArray &bytes, const QString &fileName,
                                          const QString &shownName) {
  if (bytes.size() > kMaxFileBytes) return refused(tooLargeFile(shownName));
  // The content decides, whatever the name says: JPEG is Qt's test too.
  PictureLoadResult result =
      looksLikeJpeg(bytes) ? loadJpeg(shownName, bytes) : loadOther(shownName, bytes, fileName);
  if (!result.accepted) return result;
  result.fileBytes = bytes;
  result.fileName = QFileInfo(fileName).fileName();
  return result;
}

}  // namespace vmm
