// SPDX-License-Identifier: GPL-3.0-or-later
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
  void setBorderColor(ColorRef colour) { borderColor_ = colour; }
  qint16 BorderWidth() const { return borderWidth_; }
  void setBorderWidth(qint16 width) { borderWidth_ = width; }
  qint32 Bottom() const { return bottom_; }
  void setBottom(qint32 y) { bottom_ = y; }
  qint32 BrushStyle() const { return brushStyle_; }
  void setBrushStyle(qint32 style) { brushStyle_ = style; }
  ColorRef FillColor() const { return fillColor_; }
  void setFillColor(ColorRef colour) { fillColor_ = colour; }
  qint32 ForegroundMixMode() const { return foregroundMixMode_; }
  void setForegroundMixMode(qint32 mode) { foregroundMixMode_ = mode; }
  qint32 HatchStyle() const { return hatchStyle_; }
  void setHatchStyle(qint32 style) { hatchStyle_ = style; }
  qint32 Left() const { return left_; }
  void setLeft(qint32 x) { left_ = x; }
  qint32 PenStyle() const { return penStyle_; }
  void setPenStyle(qint32 style) { penStyle_ = style; }
  qint32 Right() const { return right_; }
  void setRight(qint32 x) { right_ = x; }
  qint32 Top() const { return top_; }
  void setTop(qint32 y) { top_ = y; }

  // Two hollow outlines: the shadow one on the edges, the highlight one
  // BorderWidth pixels right of and below it.
  void Draw3DRectangle(DeviceContext *dc, ColorRef shadowColour, ColorRef highlightColour);
  void DrawRectangle(DeviceContext *dc);

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
