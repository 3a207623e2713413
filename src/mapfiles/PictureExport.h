#pragma once

#include "mapfiles/FileWriteResult.h"

#include <QImage>
#include <QString>

namespace vmm {

// Saves a view surface as it stands as a 24-bit Windows bitmap under exactly `path`
// (no extension is added), replacing any earlier file atomically. On failure the
// result's errorText holds the system's reason and the earlier file is untouched.
FileWriteResult saveSurfaceBitmap(const QImage &surface, const QString &path);

}  // namespace vmm
