#pragma once

#include "gdi/DeviceContext.h"
#include "gdi/GdiTypes.h"

namespace vmm {

// A line drawn with a GDI pen; the end point itself is not drawn. Like
// CGDIRectangle it owns no pen between calls and restores the context.
class CGDILine {
 public:
  ColorRef BorderColor() const { return borderColor_; }
  void setBorderColor(ColorRef lngValue) { borderColor_ = lngValue; }
  qint16 BorderWidth() const { return borderWidth_; }
  void setBorderWidth(qint16 intValue) { borderWidth_ = intValue; }
  qint32 ForegroundMixMode() const { return foregroundMixMode_; }
  void setForegroundMixMode(qint32 eValue) { foregroundMixMode_ = eValue; }
  qint32 PenStyle() const { return penStyle_; }
  void setPenStyle(qint32 eValue) { penStyle_ = eValue; }
  qint32 X1() const { return x1_; }
  void setX1(qint32 lngValue) { x1_ = lngValue; }
  qint32 X2() const { return x2_; }
  void setX2(qint32 lngValue) { x2_ = lngValue; }
  qint32 Y1() const { return y1_; }
  void setY1(qint32 lngValue) { y1_ = lngValue; }
  qint32 Y2() const { return y2_; }
  void setY2(qint32 lngValue) { y2_ = lngValue; }

  // The line in the shadow colour, then again one pixel right of and below
  // it in the highlight colour, whatever the pen's width.
  void Draw3DLine(DeviceContext *lnghDC, ColorRef lngShadowColor, ColorRef lngHighlightColor);
  void DrawLine(DeviceContext *lnghDC);

 private:
  qint32 x1_ = 0;
  qint32 y1_ = 0;
  qint32 x2_ = 0;
  qint32 y2_ = 0;
  ColorRef borderColor_ = 0;
  qint16 borderWidth_ = 1;
  qint32 penStyle_ = PS_SOLID;
  qint32 foregroundMixMode_ = R2_COPYPEN;
};

}  // namespace vmm
