#include "gdi/CGDIRectangle.h"

#include "gdi/GdiErrors.h"
#include "gdi/ScopedDrawStyle.h"
#include "gdi/SystemColours.h"

namespace vmm {

void CGDIRectangle::DrawRectangle(DeviceContext *lnghDC) {
  if (lnghDC == nullptr || lnghDC->isNull()) {
    reportGdiError("DrawRectangle", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const Pen pen{penStyle_, borderWidth_, TranslateVBColor(borderColor_)};
  ScopedDrawStyle style(*lnghDC, pen, foregroundMixMode_);
  style.selectBrush(Brush{brushStyle_, TranslateVBColor(fillColor_), hatchStyle_});
  lnghDC->rectangle(left_, top_, right_, bottom_);
}

void CGDIRectangle::Draw3DRectangle(DeviceContext *lnghDC, ColorRef lngShadowColor,
                                    ColorRef lngHighlightColor) {
  if (lnghDC == nullptr || lnghDC->isNull()) {
    reportGdiError("Draw3DRectangle", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const ColorRef keptColor = borderColor_;
  const qint32 keptBrush = brushStyle_;
  brushStyle_ = BS_HOLLOW;
  borderColor_ = lngShadowColor;
  DrawRectangle(lnghDC);
  borderColor_ = lngHighlightColor;
  // An edge pushed out of range stops the procedure here, as a trapped
  // overflow would, leaving the properties as they stand.
  if (!offsetAll({&left_, &top_, &right_, &bottom_}, borderWidth_)) {
    reportGdiError("Draw3DRectangle", kErrOverflow, QString::fromLatin1(kErrOverflowText));
    return;
  }
  DrawRectangle(lnghDC);
  borderColor_ = keptColor;
  brushStyle_ = keptBrush;
  offsetAll({&left_, &top_, &right_, &bottom_}, -qint64(borderWidth_));
}

}  // namespace vmm
