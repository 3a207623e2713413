// SPDX-License-Identifier: GPL-3.0-or-later
#include "gdi/DeviceContext.h"

#include "gdi/PenPatterns.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <utility>

namespace vmm {

namespace {

constexpr quint32 kOpaque = 0xFF000000u;

// A raster operation code minus one is a truth table over (pen, destination)
// bits: bit (2 * pen + destination) holds the result.
inline quint32 applyRop(int rop, quint32 pen, quint32 dst) {
  const unsigned table = unsigned(rop - 1);
  quint32 result = 0;
  if (table & 1u) result |= ~pen & ~dst;
  if (table & 2u) result |= ~pen & dst;
  if (table & 4u) result |= pen & ~dst;
  if (table & 8u) result |= pen & dst;
  return result | kOpaque;
}

// Applies `op` to the pixels x0..x1-1 of rows y0..y1-1.
template <typename Op>
inline void forArea(uchar *bits, qsizetype stride, qint64 x0, qint64 y0, qint64 x1, qint64 y1,
                    Op op) {
  const qint64 count = x1 - x0;
  uchar *line = bits + y0 * stride + x0 * 4;
  for (qint64 y = y0; y < y1; ++y, line += stride) {
    quint32 *p = reinterpret_cast<quint32 *>(line);
    for (qint64 i = 0; i < count; ++i) p[i] = op(p[i]);
  }
}

// Fills an area already clipped to the surface; the mode is chosen once per
// call and the common modes get tight loops.
void fillClipped(uchar *bits, qsizetype stride, qint64 x0, qint64 y0, qint64 x1, qint64 y1,
                 quint32 pen, int rop) {
  switch (rop) {
    case R2_NOP:
      return;
    case R2_COPYPEN: {
      // Four pixels per step become one vector store: most boxes drawn are
      // the 9-pixel-wide Sector cells, too narrow for a library fill to pay.
      const qint64 count = x1 - x0;
      uchar *line = bits + y0 * stride + x0 * 4;
      for (qint64 y = y0; y < y1; ++y, line += stride) {
        quint32 *p = reinterpret_cast<quint32 *>(line);
        qint64 i = 0;
        for (; i + 4 <= count; i += 4) {
          p[i] = pen;
          p[i + 1] = pen;
          p[i + 2] = pen;
          p[i + 3] = pen;
        }
        for (; i < count; ++i) p[i] = pen;
      }
      return;
    }
    case R2_MERGEPEN:
      forArea(bits, stride, x0, y0, x1, y1, [pen](quint32 d) { return d | pen; });
      return;
    case R2_MASKPEN:
      forArea(bits, stride, x0, y0, x1, y1, [pen](quint32 d) { return d & pen; });
      return;
    case R2_XORPEN:
      forArea(bits, stride, x0, y0, x1, y1, [pen](quint32 d) { return d ^ (pen & ~kOpaque); });
      return;
    default:
      forArea(bits, stride, x0, y0, x1, y1,
              [pen, rop](quint32 d) { return applyRop(rop, pen, d); });
  }
}

}  // namespace

// The surface's memory for the length of one drawing call.
struct DeviceContext::Target {
  uchar *bits = nullptr;
  qsizetype stride = 0;
  int width = 0;
  int height = 0;
  int rop = R2_COPYPEN;

  quint32 *row(qint64 y) const { return reinterpret_cast<quint32 *>(bits + y * stride); }
  bool contains(qint64 x, qint64 y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  void put(qint64 x, qint64 y, quint32 pen) const {
    if (!contains(x, y)) return;
    quint32 &p = row(y)[x];
    p = applyRop(rop, pen, p);
  }
};

void DeviceContext::attach(QImage *surface) {
  surface_ = surface;
  if (surface_ && !surface_->isNull() && surface_->format() != QImage::Format_RGB32)
    surface_->convertTo(QImage::Format_RGB32);
}

int DeviceContext::setRop2(int mode) {
  if (mode < R2_BLACK || mode > R2_WHITE) return 0;
  return std::exchange(rop2_, mode);
}

Pen DeviceContext::selectPen(const Pen &pen) {
  return std::exchange(pen_, pen);
}

Brush DeviceContext::selectBrush(const Brush &brush) {
  return std::exchange(brush_, brush);
}

bool DeviceContext::isValidBrush(const Brush &brush) {
  if (brush.style == BS_SOLID || brush.style == BS_HOLLOW) return true;
  return brush.style == BS_HATCHED && brush.hatch >= HS_HORIZONTAL && brush.hatch <= HS_DIAGCROSS;
}

void DeviceContext::fillArea(Target &t, qint64 x0, qint64 y0, qint64 x1, qint64 y1,
                             quint32 pixel) const {
  x0 = std::max<qint64>(x0, 0);
  y0 = std::max<qint64>(y0, 0);
  x1 = std::min<qint64>(x1, t.width);
  y1 = std::min<qint64>(y1, t.height);
  if (x0 >= x1 || y0 >= y1) return;
  fillClipped(t.bits, t.stride, x0, y0, x1, y1, pixel, t.rop);
}

void DeviceContext::fillWithBrush(Target &t, qint64 x0, qint64 y0, qint64 x1, qint64 y1) const {
  if (brush_.style == BS_SOLID) {
    fillArea(t, x0, y0, x1, y1, toPixel(brush_.colour));
    return;
  }
  if (brush_.style != BS_HATCHED) return;
  const quint32 line = toPixel(brush_.colour);
  const quint32 gap = toPixel(backgroundColour_);
  const bool opaque = backgroundMode_ == OPAQUE;
  x0 = std::max<qint64>(x0, 0);
  y0 = std::max<qint64>(y0, 0);
  x1 = std::min<qint64>(x1, t.width);
  y1 = std::min<qint64>(y1, t.height);
  for (qint64 y = y0; y < y1; ++y)
    for (qint64 x = x0; x < x1; ++x) {
      if (onHatch(brush_.hatch, x, y))
        t.put(x, y, line);
      else if (opaque)
        t.put(x, y, gap);
    }
}

void DeviceContext::plotPen(Target &t, qint64 x, qint64 y, quint32 pixel, int width) const {
  if (width == 1) {
    t.put(x, y, pixel);
    return;
  }
  const qint64 before = (width - 1) / 2;
  fillArea(t, x - before, y - before, x - before + width, y - before + width, pixel);
}

bool DeviceContext::moveTo(int x, int y) {
  if (isNull()) return false;
  position_ = QPoint(x, y);
  return true;
}

bool DeviceContext::lineTo(int x, int y) {
  if (isNull()) return false;
  const QPoint from = position_;
  position_ = QPoint(x, y);
  if (pen_.style == PS_NULL) return true;
  Target t{surface_->bits(), surface_->bytesPerLine(), surface_->width(), surface_->height(),
           rop2_};
  drawLine(t, from, position_);
  return true;
}

void DeviceContext::drawLine(Target &t, QPoint from, QPoint to) const {
  const qint64 dx = qint64(to.x()) - from.x(), dy = qint64(to.y()) - from.y();
  const qint64 adx = std::llabs(dx), ady = std::llabs(dy);
  const bool xMajor = adx >= ady;
  const qint64 steps = xMajor ? adx : ady;  // the end pixel is left out
  if (steps == 0) return;
  const qint64 minor = xMajor ? ady : adx;
  const int sMajor = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int sMinor = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const qint64 startMajor = xMajor ? from.x() : from.y();
  const qint64 startMinor = xMajor ? from.y() : from.x();
  const qint64 limit = xMajor ? t.width : t.height;
  const int width = isStyled(pen_) ? 1 : penWidth(pen_);
  const quint32 ink = toPixel(pen_.colour);

  if (!isStyled(pen_) && width == 1 && minor == 0) {
    // Straight lines: one span or one column.
    const qint64 a = sMajor > 0 ? startMajor : startMajor - steps + 1;
    const qint64 b = a + steps;
    if (xMajor)
      fillArea(t, a, startMinor, b, startMinor + 1, ink);
    else
      fillArea(t, startMinor, a, startMinor + 1, b, ink);
    return;
  }

  // Visit only the steps whose major coordinate can touch the surface.
  qint64 first = 0, last = steps - 1;
  const qint64 margin = width;
  const qint64 lo = sMajor > 0 ? -margin - startMajor : startMajor - (limit + margin);
  const qint64 hi = sMajor > 0 ? limit + margin - startMajor : startMajor + margin;
  first = std::max(first, lo);
  last = std::min(last, hi);
  DashWalker dashes(pen_.style);
  if (isStyled(pen_) && first > 0) dashes.skip(first);
  const quint32 gap = toPixel(backgroundColour_);
  const bool opaqueGaps = backgroundMode_ == OPAQUE;
  for (qint64 i = first; i <= last; ++i) {
    // Bresenham's minor offset in closed form, half steps rounded down.
    const qint64 offset = (2 * i * minor + steps - 1) / (2 * steps);
    const qint64 major = startMajor + sMajor * i;
    const qint64 across = startMinor + sMinor * offset;
    const qint64 px = xMajor ? major : across, py = xMajor ? across : major;
    if (isStyled(pen_)) {
      if (dashes.next())
        t.put(px, py, ink);
      else if (opaqueGaps)
        t.put(px, py, gap);
    } else {
      plotPen(t, px, py, ink, width);
    }
  }
}

void DeviceContext::strokeRectangleStyled(Target &t, qint64 l, qint64 t0, qint64 r,
                                          qint64 b) const {
  // The pattern runs clockwise from the top-left corner and continues
  // through the parts of the outline that lie off the surface.
  DashWalker dashes(pen_.style);
  const quint32 ink = toPixel(pen_.colour);
  const quint32 gap = toPixel(backgroundColour_);
  const bool opaqueGaps = backgroundMode_ == OPAQUE;
  // Visits `count` pixels from `from` in direction `dir` along one axis.
  auto run = [&](qint64 from, qint64 count, int dir, qint64 limit, auto &&at) {
    qint64 i0 = 0, i1 = count;
    if (dir > 0) {
      i0 = std::max(i0, -from);
      i1 = std::min(i1, limit - from);
    } else {
      i0 = std::max(i0, from - (limit - 1));
      i1 = std::min(i1, from + 1);
    }
    if (i1 <= i0) {
      dashes.skip(count);
      return;
    }
    dashes.skip(i0);
    for (qint64 i = i0; i < i1; ++i) {
      const qint64 along = from + dir * i;
      if (dashes.next())
        at(along, ink);
      else if (opaqueGaps)
        at(along, gap);
    }
    dashes.skip(count - i1);
  };
  const qint64 right = r - 1, bottom = b - 1;
  auto onRow = [&](qint64 y) { return [&t, y](qint64 x, quint32 c) { t.put(x, y, c); }; };
  auto onColumn = [&](qint64 x) { return [&t, x](qint64 y, quint32 c) { t.put(x, y, c); }; };
  if (bottom == t0) {  // a one-pixel band
    run(l, right - l + 1, 1, t.width, onRow(t0));
    return;
  }
  if (right == l) {
    run(t0, bottom - t0 + 1, 1, t.height, onColumn(l));
    return;
  }
  run(l, right - l, 1, t.width, onRow(t0));
  run(t0, bottom - t0, 1, t.height, onColumn(right));
  run(right, right - l, -1, t.width, onRow(bottom));
  run(bottom, bottom - t0, -1, t.height, onColumn(l));
}

bool DeviceContext::rectangle(int left, int top, int right, int bottom) {
  if (isNull()) return false;
  qint64 l = std::min(left, right), r = std::max(left, right);
  qint64 t0 = std::min(top, bottom), b = std::max(top, bottom);
  Target t{surface_->bits(), surface_->bytesPerLine(), surface_->width(), surface_->height(),
           rop2_};
  if (pen_.style == PS_NULL) {
    fillWithBrush(t, l, t0, r - 1, b - 1);
    return true;
  }
  if (r - l <= 0 || b - t0 <= 0) return true;
  if (isStyled(pen_) && pen_.width <= 1) {
    strokeRectangleStyled(t, l, t0, r, b);
    fillWithBrush(t, l + 1, t0 + 1, r - 1, b - 1);
    return true;
  }
  // Solid and inside-frame pens: bands of the pen's width inside the box.
  const qint64 w = penWidth(pen_);
  const quint32 ink = toPixel(pen_.colour);
  const bool penLikeBrush = brush_.style == BS_SOLID && brush_.colour == pen_.colour;
  if (penLikeBrush || 2 * w >= r - l || 2 * w >= b - t0) {
    fillArea(t, l, t0, r, b, ink);
    return true;
  }
  fillWithBrush(t, l + w, t0 + w, r - w, b - w);
  fillArea(t, l, t0, r, t0 + w, ink);
  fillArea(t, l, b - w, r, b, ink);
  fillArea(t, l, t0 + w, l + w, b - w, ink);
  fillArea(t, r - w, t0 + w, r, b - w, ink);
  return true;
}

bool DeviceContext::fillBox(int x1, int y1, int x2, int y2, ColorRef colour) {
  if (isNull()) return false;
  Target t{surface_->bits(), surface_->bytesPerLine(), surface_->width(), surface_->height(),
           rop2_};
  fillArea(t, std::min(x1, x2), std::min(y1, y2), qint64(std::max(x1, x2)) + 1,
           qint64(std::max(y1, y2)) + 1, toPixel(colour));
  return true;
}

ColorRef DeviceContext::setPixel(int x, int y, ColorRef colour) {
  if (isNull() || x < 0 || y < 0 || x >= surface_->width() || y >= surface_->height())
    return kInvalidColor;
  const ColorRef set = colour & 0x00FFFFFFu;
  reinterpret_cast<quint32 *>(surface_->scanLine(y))[x] = toPixel(set);
  return set;
}

ColorRef DeviceContext::pixel(int x, int y) const {
  if (isNull() || x < 0 || y < 0 || x >= surface_->width() || y >= surface_->height())
    return kInvalidColor;
  const QImage &image = *surface_;
  return fromPixel(reinterpret_cast<const quint32 *>(image.constScanLine(y))[x]);
}

}  // namespace vmm
