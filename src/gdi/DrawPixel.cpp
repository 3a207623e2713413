// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/DrawPixel.h"

#include "gdi/GdiErrors.h"

namespace vmm {

ColorRef DrawPixel(DeviceContext *hdc, qint32 x, qint32 y, ColorRef colour) {
  if (hdc == nullptr || hdc->isNull()) {
    reportGdiError("DrawPixel", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return 0;
  }
  return hdc->setPixel(x, y, colour);
}

ColorRef GetPixelColor(DeviceContext *hdc, qint32 x, qint32 y) {
  if (hdc == nullptr || hdc->isNull()) {
    reportGdiError("GetPixelColor", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return 0;
  }
  return hdc->pixel(x, y);
}

}  // namespace vmm
