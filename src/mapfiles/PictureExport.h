#pragma once

#include "mapfiles/FileWriteResult.h"

#include <QImage>
#include <QString>

namespace vmm {

// The file formats a view surface can be saved in; both are written with 24 bits per
// pixel and no alpha channel.
enum class PictureFormat { Bitmap, Png };

// Saves a view surface as it stands under exactly `path` (no extension is added),
// replacing any earlier file atomically. On failure the result's errorText holds the
// system's reason and the earlier file is untouched.
FileWriteResult saveSurfacePicture(const QImage &surface, const QString &path,
                                   PictureFormat format);

// The editor's picture export: a 24-bit Windows bitmap.
inline FileWriteResult saveSurfaceBitmap(const QImage &surface, const QString &path) {
  return saveSurfacePicture(surface, path, PictureFormat::Bitmap);
}

}  // namespace vmm
