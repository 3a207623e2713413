#include "mapfiles/PictureExport.h"

#include <QImageWriter>
#include <QSaveFile>

namespace vmm {

FileWriteResult saveSurfaceBitmap(const QImage &surface, const QString &path) {
  if (FileWriteResult refused = checkNotReadOnly(path); !refused.ok) return refused;
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return FileWriteResult::failureOf(file);

  // RGB888 has no alpha channel, so the bitmap is written with 24 bits per pixel.
  QImageWriter writer(&file, "BMP");
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
