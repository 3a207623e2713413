// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/DeviceContext.h"
#include "gdi/GdiTypes.h"

namespace vmm {

// A line drawn with a GDI pen; the end point itself is not drawn. Like
// CGDIRectangle it owns no pen between calls and restores the context.
class CGDILine {
 public:
  ColorRef BorderColor() const { return borderColor_; }
  void setBorderColor(ColorRef colour) { borderColor_ = colour; }
  qint16 BorderWidth() const { return borderWidth_; }
  void setBorderWidth(qint16 width) { borderWidth_ = width; }
  qint32 ForegroundMixMode() const { return foregroundMixMode_; }
  void setForegroundMixMode(qint32 mode) { foregroundMixMode_ = mode; }
  qint32 PenStyle() const { return penStyle_; }
  void setPenStyle(qint32 style) { penStyle_ = style; }
  qint32 X1() const { return x1_; }
  void setX1(qint32 x) { x1_ = x; }
  qint32 X2() const { return x2_; }
  void setX2(qint32 x) { x2_ = x; }
  qint32 Y1() const { return y1_; }
  void setY1(qint32 y) { y1_ = y; }
  qint32 Y2() const { return y2_; }
  void setY2(qint32 y) { y2_ = y; }

  // The line in the shadow colour, then again one pixel right of and below
  // it in the highlight colour, whatever the pen's width.
  void Draw3DLine(DeviceContext *dc, ColorRef shadowColour, ColorRef highlightColour);
  void DrawLine(DeviceContext *dc);

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
