#include "mapview/PictureLoader.h"

#include "document/MapDocument.h"
#include "mapview/JpegIntegrity.h"

#include <QBuffer>
#include <QFile>
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
        .arg(path)
        .arg(quads)
        .arg(kQuadCapacity);
  return {};
}

PictureLoadResult PictureLoader::load(const QString &path) {
  const QFileInfo info(path);
  if (info.exists() && !info.isFile())
    return refused(unreadable(path, QStringLiteral("it is not a file")));
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return refused(unreadable(path, file.errorString()));
  const qint64 size = file.size();
  if (size > kMaxFileBytes) return refused(tooLargeFile(path));
  // Read once: the bytes that are decoded are the bytes a project keeps.
  const QByteArray bytes = file.read(size);
  if (file.error() != QFileDevice::NoError) return refused(unreadable(path, file.errorString()));
  return loadData(bytes, info.fileName(), path);
}

PictureLoadResult PictureLoader::loadData(const QByteArray &bytes, const QString &fileName,
                                          const QString &shownName) {
  if (bytes.size() > kMaxFileBytes) return refused(tooLargeFile(shownName));
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
    if (QString problem = sizeProblem(shownName, declared); !problem.isEmpty())
      return refused(problem);
  }

  // A cut-off JPEG decodes "successfully" with its missing part grey; look for its end first.
  const QByteArray decoder = reader.format();
  if ((decoder == "jpeg" || decoder == "jpg") && jpegIsCutShort(bytes))
    return refused(unreadable(shownName, QStringLiteral("the file ends before the picture does")));

  QImage picture = reader.read();
  if (picture.isNull()) return refused(unreadable(shownName, reader.errorString()));
  if (QString problem = sizeProblem(shownName, picture.size()); !problem.isEmpty())
    return refused(problem);
  if (picture.format() != QImage::Format_RGB32) picture.convertTo(QImage::Format_RGB32);

  PictureLoadResult result;
  result.accepted = true;
  result.xQuads = picture.width() / kQuadPixels;
  result.yQuads = picture.height() / kQuadPixels;
  result.totalQuads = result.xQuads * result.yQuads;
  result.picture = std::move(picture);
  result.fileBytes = bytes;
  result.fileName = QFileInfo(fileName).fileName();
  return result;
}

}  // namespace vmm
