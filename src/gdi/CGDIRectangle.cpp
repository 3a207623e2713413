// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/CGDIRectangle.h"

#include "gdi/GdiErrors.h"
#include "gdi/ScopedDrawStyle.h"
#include "gdi/SystemColours.h"

namespace vmm {

void CGDIRectangle::DrawRectangle(DeviceContext *dc) {
  if (dc == nullptr || dc->isNull()) {
    reportGdiError("DrawRectangle", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const Pen pen{penStyle_, borderWidth_, toRgb(borderColor_)};
  ScopedDrawStyle style(*dc, pen, foregroundMixMode_);
  style.selectBrush(Brush{brushStyle_, toRgb(fillColor_), hatchStyle_});
  dc->rectangle(left_, top_, right_, bottom_);
}

void CGDIRectangle::Draw3DRectangle(DeviceContext *dc, ColorRef shadowColour,
                                    ColorRef highlightColour) {
  if (dc == nullptr || dc->isNull()) {
    reportGdiError("Draw3DRectangle", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const ColorRef keptColor = borderColor_;
  const qint32 keptBrush = brushStyle_;
  brushStyle_ = BS_HOLLOW;
  borderColor_ = shadowColour;
  DrawRectangle(dc);
  borderColor_ = highlightColour;
  // An edge pushed out of range stops the procedure here, as a trapped
  // overflow would, leaving the properties as they stand.
  if (!offsetAll({&left_, &top_, &right_, &bottom_}, borderWidth_)) {
    reportGdiError("Draw3DRectangle", kErrOverflow, QString::fromLatin1(kErrOverflowText));
    return;
  }
  DrawRectangle(dc);
  borderColor_ = keptColor;
  brushStyle_ = keptBrush;
  offsetAll({&left_, &top_, &right_, &bottom_}, -qint64(borderWidth_));
}

}  // namespace vmm
