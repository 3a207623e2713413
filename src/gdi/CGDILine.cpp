#include "gdi/CGDILine.h"

#include "gdi/GdiErrors.h"
#include "gdi/ScopedDrawStyle.h"
#include "gdi/SystemColours.h"

namespace vmm {

void CGDILine::DrawLine(DeviceContext *lnghDC) {
  if (lnghDC == nullptr || lnghDC->isNull()) {
    reportGdiError("DrawLine", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const Pen pen{penStyle_, borderWidth_, TranslateVBColor(borderColor_)};
  ScopedDrawStyle style(*lnghDC, pen, foregroundMixMode_);
  if (lnghDC->moveTo(x1_, y1_)) lnghDC->lineTo(x2_, y2_);
}

void CGDILine::Draw3DLine(DeviceContext *lnghDC, ColorRef lngShadowColor,
                          ColorRef lngHighlightColor) {
  if (lnghDC == nullptr || lnghDC->isNull()) {
    reportGdiError("Draw3DLine", kErrNoSurface, QString::fromLatin1(kErrNoSurfaceText));
    return;
  }
  const ColorRef keptColor = borderColor_;
  borderColor_ = lngShadowColor;
  DrawLine(lnghDC);
  borderColor_ = lngHighlightColor;
  if (!offsetAll({&x1_, &y1_, &x2_, &y2_}, 1)) {
    reportGdiError("Draw3DLine", kErrOverflow, QString::fromLatin1(kErrOverflowText));
    return;
  }
  DrawLine(lnghDC);
  borderColor_ = keptColor;
  offsetAll({&x1_, &y1_, &x2_, &y2_}, -1);
}

}  // namespace vmm
