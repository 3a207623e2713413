#include "mapview/PictureLoader.h"

#include "document/MapDocument.h"
#include "mapview/JpegIntegrity.h"

#include <QFile>
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

// A cut-off JPEG decodes "successfully" with its missing part grey; look for its end first.
bool isCutShortJpeg(const QString &path, const QByteArray &format) {
  if (format != "jpeg" && format != "jpg") return false;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly) || file.size() == 0) return false;
  if (const uchar *mapped = file.map(0, file.size()))
    return jpegIsCutShort(QByteArrayView(reinterpret_cast<const char *>(mapped),
                                         static_cast<qsizetype>(file.size())));
  return jpegIsCutShort(file.readAll());
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
  QImageReader reader(path);
  reader.setAutoTransform(false);  // the picture is used as stored, never rotated

  // The header's size is enough to refuse a picture before decoding it.
  const QSize declared = reader.size();
  if (declared.isValid()) {
    if (QString problem = sizeProblem(path, declared); !problem.isEmpty()) return refused(problem);
  }

  if (isCutShortJpeg(path, reader.format()))
    return refused(unreadable(path, QStringLiteral("the file ends before the picture does")));

  QImage picture = reader.read();
  if (picture.isNull()) return refused(unreadable(path, reader.errorString()));
  if (QString problem = sizeProblem(path, picture.size()); !problem.isEmpty())
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

}  // namespace vmm
