// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "files/FileWriteResult.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <optional>

namespace vmm {

// The file formats a view surface can be saved in; both are written with 24 bits per
// pixel and no alpha channel.
enum class PictureFormat { Bitmap, Png };

// The bytes of a view surface as a picture file of that format; nothing (and the
// writer's reason in `error`) when it cannot be encoded.
std::optional<QByteArray> encodeSurfacePicture(const QImage &surface, PictureFormat format,
                                               QString *error = nullptr);

// Saves a view surface as it stands under exactly `path` (no extension is added),
// replacing any earlier file atomically. On failure the result's errorText holds the
// system's reason and the earlier file is untouched.
FileWriteResult saveSurfacePicture(const QImage &surface, const QString &path,
                                   PictureFormat format);

// The size of a picture of `picture`'s proportions that fits `size` x `size` pixels, at
// least one pixel across; `picture` itself when it fits already (never enlarged).
QSize thumbnailSize(QSize picture, int size);

// The editor's picture export: a 24-bit Windows bitmap.
inline FileWriteResult saveSurfaceBitmap(const QImage &surface, const QString &path) {
  return saveSurfacePicture(surface, path, PictureFormat::Bitmap);
}

}  // namespace vmm
