// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/CGDILine.h"

#include "gdi/GdiErrors.h"
#include "gdi/ScopedDrawStyle.h"
#include "gdi/SystemColours.h"

namespace vmm {

void CGDILine::DrawLine(DeviceContext *dc) {
  if (dc == nullptr || dc->isNull()) {
    reportGdiError("DrawLine", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const Pen pen{penStyle_, borderWidth_, toRgb(borderColor_)};
  ScopedDrawStyle style(*dc, pen, foregroundMixMode_);
  if (dc->moveTo(x1_, y1_)) dc->lineTo(x2_, y2_);
}

void CGDILine::Draw3DLine(DeviceContext *dc, ColorRef shadowColour, ColorRef highlightColour) {
  if (dc == nullptr || dc->isNull()) {
    reportGdiError("Draw3DLine", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const ColorRef keptColor = borderColor_;
  borderColor_ = shadowColour;
  DrawLine(dc);
  borderColor_ = highlightColour;
  if (!offsetAll({&x1_, &y1_, &x2_, &y2_}, 1)) {
    reportGdiError("Draw3DLine", kErrOverflow, QString::fromLatin1(kErrOverflowText));
    return;
  }
  DrawLine(dc);
  borderColor_ = keptColor;
  offsetAll({&x1_, &y1_, &x2_, &y2_}, -1);
}

}  // namespace vmm
