#include "mapfiles/PictureExport.h"

#include <QImageWriter>
#include <QSaveFile>

namespace vmm {

FileWriteResult saveSurfacePicture(const QImage &surface, const QString &path,
                                   PictureFormat format) {
  if (FileWriteResult refused = checkNotReadOnly(path); !refused.ok) return refused;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return FileWriteResult::failureOf(file);

  // RGB888 has no alpha channel, so the picture is written with 24 bits per pixel.
  QImageWriter writer(&file, format == PictureFormat::Png ? "PNG" : "BMP");
  if (!writer.write(surface.convertToFormat(QImage::Format_RGB888))) {
    // The writer only says "Unknown error" when the disk refused; the file knows why.
    const FileWriteResult result =
        file.error() != QFileDevice::NoError
            ? FileWriteResult::failureOf(file)
            : FileWriteResult{false, static_cast<int>(QFileDevice::WriteError),
                              writer.errorString()};
    file.cancelWriting();
    return result;
  }
  if (!file.commit()) return FileWriteResult::failureOf(file);
  return {};
}

}  // namespace vmm
