// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapfiles/PictureExport.h"

#include <QBuffer>
#include <QFileDevice>
#include <QImageWriter>

namespace vmm {

std::optional<QByteArray> encodeSurfacePicture(const QImage &surface, PictureFormat format,
                                               QString *error) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  // RGB888 has no alpha channel, so the picture is written with 24 bits per pixel.
  QImageWriter writer(&buffer, format == PictureFormat::Png ? "PNG" : "BMP");
  if (!writer.write(surface.convertToFormat(QImage::Format_RGB888))) {
    if (error) *error = writer.errorString();
    return std::nullopt;
  }
  return bytes;
}

QSize thumbnailSize(QSize picture, int size) {
  if (picture.width() <= size && picture.height() <= size) return picture;
  return picture.scaled(size, size, Qt::KeepAspectRatio).expandedTo({1, 1});
}

FileWriteResult saveSurfacePicture(const QImage &surface, const QString &path,
                                   PictureFormat format) {
  if (FileWriteResult refused = checkReplaceable(path); !refused.ok) return refused;
  // Encoded first and then written as the map texts are, so that a full disk or any other
  // failure of the write is reported in the same words.
  QString error;
  const std::optional<QByteArray> bytes = encodeSurfacePicture(surface, format, &error);
  if (!bytes) return {false, static_cast<int>(QFileDevice::WriteError), error};
  return writeFileAtomically(path, *bytes);
}

}  // namespace vmm
