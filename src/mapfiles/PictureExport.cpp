#include "mapfiles/PictureExport.h"

#include <QImageWriter>
#include <QSaveFile>

namespace vmm {

FileWriteResult saveSurfacePicture(const QImage &surface, const QString &path,
                                   PictureFormat format) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return FileWriteResult::failureOf(file);

  // RGB888 has no alpha channel, so the picture is written with 24 bits per pixel.
  QImageWriter writer(&file, format == PictureFormat::Png ? "PNG" : "BMP");
  if (!writer.write(surface.convertToFormat(QImage::Format_RGB888))) {
    const FileWriteResult result{false, static_cast<int>(QFileDevice::WriteError),
                                 writer.errorString()};
    file.cancelWriting();
    return result;
  }
  if (!file.commit()) return FileWriteResult::failureOf(file);
  return {};
}

}  // namespace vmm
