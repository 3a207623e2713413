// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "gdi/GdiTypes.h"

#include <QImage>
#include <QPoint>
#include <QRect>

namespace vmm {

// A GDI-style device context over a QImage (Format_RGB32): it keeps the
// selected pen and brush, the ROP2 mix mode, the background mode and colour
// and the current position, and draws with GDI's pixel geometry. Every call
// is clipped to the image, so nothing is ever written outside it. A context
// without an image (never attached, or released) is "null" and draws nothing.
class DeviceContext {
 public:
  DeviceContext() = default;
  explicit DeviceContext(QImage *surface) { attach(surface); }
  DeviceContext(const DeviceContext &) = delete;
  DeviceContext &operator=(const DeviceContext &) = delete;

  // Draws on `surface` from now on (converted to Format_RGB32 if needed).
  void attach(QImage *surface);
  // Detaches the surface; the context becomes null.
  void release() { surface_ = nullptr; }
  bool isNull() const { return surface_ == nullptr || surface_->isNull(); }
  QImage *surface() const { return surface_; }

  // GetROP2 / SetROP2. setRop2 returns the previous mode, or 0 (and changes
  // nothing) for a mode outside R2_BLACK..R2_WHITE.
  int rop2() const { return rop2_; }
  int setRop2(int mode);

  // SelectObject for pens and brushes: returns the one replaced.
  Pen selectPen(const Pen &pen);
  Brush selectBrush(const Brush &brush);
  const Pen &pen() const { return pen_; }
  const Brush &brush() const { return brush_; }
  static bool isValidPen(const Pen &pen) {
    return pen.style >= PS_SOLID && pen.style <= PS_INSIDEFRAME;
  }
  static bool isValidBrush(const Brush &brush);

  int backgroundMode() const { return backgroundMode_; }
  void setBackgroundMode(int mode) { backgroundMode_ = mode; }
  ColorRef backgroundColour() const { return backgroundColour_; }
  void setBackgroundColour(ColorRef colour) { backgroundColour_ = colour; }

  // MoveToEx / LineTo: the line runs from the current position to (x, y) and
  // leaves out its end pixel; (x, y) becomes the current position.
  bool moveTo(int x, int y);
  bool lineTo(int x, int y);
  QPoint currentPosition() const { return position_; }

  // Rectangle: the box covers left..right-1 by top..bottom-1; the pen is drawn
  // inside it and the brush fills what the pen leaves. With a null pen the
  // filled box is one pixel smaller in each direction, as GDI draws it.
  bool rectangle(int left, int top, int right, int bottom);

  // A filled box with both corners included, in the current mix mode (the
  // surface's own box drawing, used for the transparent tint).
  bool fillBox(int x1, int y1, int x2, int y2, ColorRef colour);

  // SetPixel / GetPixel: SetPixel ignores the mix mode and returns the colour
  // set; both report kInvalidColor outside the surface.
  ColorRef setPixel(int x, int y, ColorRef colour);
  ColorRef pixel(int x, int y) const;

 private:
  struct Target;  // the surface's scanlines for one call

  void fillArea(Target &t, qint64 x0, qint64 y0, qint64 x1, qint64 y1, quint32 pixel) const;
  void fillWithBrush(Target &t, qint64 x0, qint64 y0, qint64 x1, qint64 y1) const;
  void plotPen(Target &t, qint64 x, qint64 y, quint32 pixel, int width) const;
  void strokeRectangleStyled(Target &t, qint64 l, qint64 t0, qint64 r, qint64 b) const;
  void drawLine(Target &t, QPoint from, QPoint to) const;

  QImage *surface_ = nullptr;
  Pen pen_{};
  Brush brush_{};
  int rop2_ = R2_COPYPEN;
  int backgroundMode_ = OPAQUE;
  ColorRef backgroundColour_ = rgb(255, 255, 255);
  QPoint position_{0, 0};
};

}  // namespace vmm
