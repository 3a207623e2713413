#pragma once

#include "gdi/DeviceContext.h"
#include "gdi/GdiTypes.h"

namespace vmm {

// A rectangle drawn with a GDI pen and brush. It remembers its geometry and
// style; each draw creates its pen and brush, selects them and the mix mode
// into the device context and puts the context's own ones back afterwards.
class CGDIRectangle {
 public:
  ColorRef BorderColor() const { return borderColor_; }
  void setBorderColor(ColorRef lngValue) { borderColor_ = lngValue; }
  qint16 BorderWidth() const { return borderWidth_; }
  void setBorderWidth(qint16 intValue) { borderWidth_ = intValue; }
  qint32 Bottom() const { return bottom_; }
  void setBottom(qint32 lngValue) { bottom_ = lngValue; }
  qint32 BrushStyle() const { return brushStyle_; }
  void setBrushStyle(qint32 eValue) { brushStyle_ = eValue; }
  ColorRef FillColor() const { return fillColor_; }
  void setFillColor(ColorRef lngValue) { fillColor_ = lngValue; }
  qint32 ForegroundMixMode() const { return foregroundMixMode_; }
  void setForegroundMixMode(qint32 eValue) { foregroundMixMode_ = eValue; }
  qint32 HatchStyle() const { return hatchStyle_; }
  void setHatchStyle(qint32 eValue) { hatchStyle_ = eValue; }
  qint32 Left() const { return left_; }
  void setLeft(qint32 lngValue) { left_ = lngValue; }
  qint32 PenStyle() const { return penStyle_; }
  void setPenStyle(qint32 eValue) { penStyle_ = eValue; }
  qint32 Right() const { return right_; }
  void setRight(qint32 lngValue) { right_ = lngValue; }
  qint32 Top() const { return top_; }
  void setTop(qint32 lngValue) { top_ = lngValue; }

  // Two hollow outlines: the shadow one on the edges, the highlight one
  // BorderWidth pixels right of and below it.
  void Draw3DRectangle(DeviceContext *lnghDC, ColorRef lngShadowColor, ColorRef lngHighlightColor);
  void DrawRectangle(DeviceContext *lnghDC);

 private:
  qint32 left_ = 0;
  qint32 top_ = 0;
  qint32 right_ = 0;
  qint32 bottom_ = 0;
  ColorRef borderColor_ = 0;
  ColorRef fillColor_ = 0;
  qint32 brushStyle_ = BS_SOLID;
  qint32 hatchStyle_ = HS_HORIZONTAL;
  qint16 borderWidth_ = 1;
  qint32 penStyle_ = PS_SOLID;
  qint32 foregroundMixMode_ = R2_COPYPEN;
};

}  // namespace vmm
