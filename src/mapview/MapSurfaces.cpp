// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/MapSurfaces.h"

#include "gdi/CGDILine.h"
#include "gdi/SystemColours.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace vmm {

namespace {
constexpr ColorRef kGridTeal = rgb(0, 64, 64);
constexpr ColorRef kGridBlack = 0;
constexpr int kGridStep = kSectorPixels;
constexpr int kGridBand = 16;  // rows drawn together, small enough to stay in cache

// One row of one cell's inside (`count` pixels): the picture where the cell has no ink,
// else filled, tinted or an outline's sides. The style is a template argument so a row's
// cells run without asking it again.
template <CellInk How, bool Filling, typename Count>
void inkInside(quint32 *to, const quint32 *from, quint32 pixel, Count count) {
  if (pixel == 0) {
    std::copy_n(from, int(count), to);
  } else if constexpr (Filling) {
    std::fill_n(to, int(count), pixel);
  } else if constexpr (How == CellInk::Tint) {
    // Four pixels per step (the compiler's vector type, plain code where there is none):
    // the tint is the costliest style to compose.
    using Four = quint32 __attribute__((vector_size(16)));
    const Four ink4 = {pixel, pixel, pixel, pixel};
    int x = 0;
    for (; x + 4 <= int(count); x += 4) {
      Four four;
      std::memcpy(&four, from + x, sizeof four);
      four |= ink4;
      std::memcpy(to + x, &four, sizeof four);
    }
    for (; x < int(count); ++x) to[x] = from[x] | pixel;
  } else {
    std::copy_n(from, int(count), to);
    to[0] = pixel;
    if (int(count) == kGridStep - 1) to[int(count) - 1] = pixel;
  }
}

template <CellInk How, bool Filling>
void composeRowAs(quint32 *to, const quint32 *from, const std::vector<quint32> &ink, int width,
                  quint32 black, quint32 teal) {
  // Every cell but perhaps the last has a whole inside, of a length the compiler knows.
  constexpr std::integral_constant<int, kGridStep - 1> kWholeInside;
  const int whole = width / kGridStep;
  const int cells = (width + kGridStep - 1) / kGridStep;
  const std::size_t inked = ink.size();
  auto pixelOf = [&](int c) { return std::size_t(c) < inked ? ink[std::size_t(c)] : 0u; };
  auto gridAt = [&](int c) { return c == 0 ? from[0] : (c % 4 == 0 ? black : teal); };
  for (int c = 0, left = 0; c < whole; ++c, left += kGridStep) {
    to[left] = gridAt(c);
    inkInside<How, Filling>(to + left + 1, from + left + 1, pixelOf(c), kWholeInside);
  }
  if (whole < cells) {
    const int left = whole * kGridStep;
    to[left] = gridAt(whole);
    const int count = width - left - 1;
    if (count > 0) inkInside<How, Filling>(to + left + 1, from + left + 1, pixelOf(whole), count);
  }
}

// Row `rowInCell` (1 to 9) of a band in one pass: each cell's inked inside, the picture
// where a cell has no ink or lets it through, and the vertical grid lines, so every
// pixel is written once and a filled cell never copies the picture it covers.
void composeRow(quint32 *to, const quint32 *from, int rowInCell, const std::vector<quint32> &ink,
                CellInk how, int width, quint32 black, quint32 teal) {
  const bool edgeRow = rowInCell == 1 || rowInCell == kGridStep - 1;
  switch (how) {
    case CellInk::Fill:
      return composeRowAs<CellInk::Fill, true>(to, from, ink, width, black, teal);
    case CellInk::Tint:
      return composeRowAs<CellInk::Tint, false>(to, from, ink, width, black, teal);
    case CellInk::Outline:
      if (edgeRow) return composeRowAs<CellInk::Outline, true>(to, from, ink, width, black, teal);
      return composeRowAs<CellInk::Outline, false>(to, from, ink, width, black, teal);
  }
}

}  // namespace

void MapSurfaces::load(const QImage &picture) {
  image_ = picture.convertToFormat(QImage::Format_RGB32);
  terrain_ = image_;
  elevation_ = image_;
  terrainDc_.attach(&terrain_);
  imageDc_.attach(&image_);
  elevationDc_.attach(&elevation_);
}

void MapSurfaces::clear() {
  terrain_ = QImage();
  image_ = QImage();
  elevation_ = QImage();
}

QImage &MapSurfaces::surface(MapView view) {
  switch (view) {
    case MapView::Terrain:
      return terrain_;
    case MapView::Elevation:
      return elevation_;
    case MapView::Image:
      break;
  }
  return image_;
}

const QImage &MapSurfaces::surface(MapView view) const {
  return const_cast<MapSurfaces *>(this)->surface(view);
}

DeviceContext &MapSurfaces::context(MapView view) {
  switch (view) {
    case MapView::Terrain:
      return terrainDc_;
    case MapView::Elevation:
      return elevationDc_;
    case MapView::Image:
      break;
  }
  return imageDc_;
}

void MapSurfaces::copyRowsFromImage(QImage &view, int top, int bottom) const {
  const qsizetype stride = image_.bytesPerLine();
  std::memcpy(view.bits() + top * stride, image_.constBits() + top * stride,
              std::size_t(stride) * std::size_t(bottom - top));
}

void MapSurfaces::copyAreaFromImage(QImage &view, const QRect &area) const {
  const std::size_t rowBytes = std::size_t(area.width()) * sizeof(quint32);
  for (int y = area.top(); y <= area.bottom(); ++y)
    std::memcpy(view.scanLine(y) + area.left() * sizeof(quint32),
                image_.constScanLine(y) + area.left() * sizeof(quint32), rowBytes);
}

bool MapSurfaces::ownsCopyOfImage(const QImage &view) const {
  return view.size() == image_.size() && view.format() == image_.format() &&
         view.constBits() != image_.constBits();
}

QRect MapSurfaces::restoreFromImage(Plane plane) {
  QImage &view = surface(plane);
  // Copying into the view's own memory avoids allocating (and faulting in) a
  // fresh surface at the next drawing call, which sharing the picture would do.
  if (ownsCopyOfImage(view))
    copyRowsFromImage(view, 0, image_.height());
  else
    view = image_;
  return image_.rect();
}

QRect MapSurfaces::restoreArea(Plane plane, const QRect &area) {
  const QRect clipped = area & image_.rect();
  if (clipped.isEmpty()) return {};
  QImage &view = surface(plane);
  // A view still sharing the picture already shows it there.
  if (ownsCopyOfImage(view)) copyAreaFromImage(view, clipped);
  return clipped;
}

void MapSurfaces::drawGridBand(DeviceContext &view, int top, int bottom) {
  // Every fourth line (at 40, 80, ... pixels, the Quad edges) is black.
  auto colourOf = [](int at) { return (at / kGridStep) % 4 == 0 ? kGridBlack : kGridTeal; };
  const int width = image_.width();
  const int height = image_.height();
  CGDILine line;  // default pen: solid, one pixel, copy-pen
  const int firstRow = std::max(kGridStep, (top + kGridStep - 1) / kGridStep * kGridStep);
  for (int y = firstRow; y < bottom || (y == height && bottom == height); y += kGridStep) {
    line.setBorderColor(colourOf(y));
    line.setX1(0);
    line.setY1(y);
    line.setX2(width);
    line.setY2(y);
    line.DrawLine(&view);
  }
  // The vertical lines go in pieces one band high: lines leave out their end
  // pixel, so the pieces join into exactly the full lines.
  for (int x = kGridStep; x <= width; x += kGridStep) {
    line.setBorderColor(colourOf(x));
    line.setX1(x);
    line.setY1(top);
    line.setX2(x);
    line.setY2(bottom);
    line.DrawLine(&view);
  }
}

QRect MapSurfaces::AddGrid() {
  if (!isLoaded()) return {};
  // Drawn one band of rows at a time so that the writes stay close together
  // instead of running down the whole surface once per vertical line.
  for (int top = 0; top < image_.height(); top += kGridBand) {
    const int bottom = std::min(top + kGridBand, image_.height());
    drawGridBand(terrainDc_, top, bottom);
    drawGridBand(elevationDc_, top, bottom);
  }
  return image_.rect();
}

void MapSurfaces::composeSectorBand(Plane plane, int top, const std::vector<quint32> &ink,
                                    CellInk how) {
  if (!isLoaded() || top < 0 || top >= image_.height()) return;
  QImage &view = surface(plane);
  if (!ownsCopyOfImage(view)) view = image_.copy();
  composeBandRows(top, ink, how, [&view](int y) { return view.scanLine(y); });
}

void MapSurfaces::composeSectorBandInto(QImage &band, int top, const std::vector<quint32> &ink,
                                        CellInk how) const {
  if (!isLoaded() || top < 0 || top >= image_.height()) return;
  if (band.size() != QSize(image_.width(), kGridStep) || band.format() != image_.format())
    band = QImage(image_.width(), kGridStep, image_.format());
  composeBandRows(top, ink, how, [&band, top](int y) { return band.scanLine(y - top); });
}

void MapSurfaces::composeBandRows(int top, const std::vector<quint32> &ink, CellInk how,
                                  const std::function<uchar *(int)> &rowAt) const {
  const int width = image_.width();
  const int bottom = std::min(top + kGridStep, image_.height());
  const quint32 black = toPixel(toRgb(kGridBlack));
  const quint32 teal = toPixel(toRgb(kGridTeal));
  auto gridPixel = [&](int at) { return (at / kGridStep) % 4 == 0 ? black : teal; };
  for (int y = top; y < bottom; ++y) {
    const auto *from = reinterpret_cast<const quint32 *>(image_.constScanLine(y));
    auto *to = reinterpret_cast<quint32 *>(rowAt(y));
    const int rowInCell = y - top;
    if (rowInCell > 0) {
      composeRow(to, from, rowInCell, ink, how, width, black, teal);
      continue;
    }
    // A band begins with a grid line (none at the very top) that no cell covers; the
    // vertical lines cross it, as when the grid is drawn.
    if (y > 0)
      std::fill(to, to + width, gridPixel(y));
    else
      std::memcpy(to, from, std::size_t(width) * sizeof(quint32));
    for (int x = kGridStep; x < width; x += kGridStep) to[x] = gridPixel(x);
  }
}

void MapSurfaces::prepareToComposeAll(Plane plane) {
  QImage &view = surface(plane);
  if (isLoaded() && !ownsCopyOfImage(view)) view = QImage(image_.size(), image_.format());
}

QRect MapSurfaces::inkCells(Plane plane, std::span<const QPoint> insides, quint32 pixel,
                            CellInk how, bool restoreFirst) {
  if (!isLoaded() || insides.empty()) return {};
  constexpr int kInside = kGridStep - 1;
  QImage &view = surface(plane);
  if (!ownsCopyOfImage(view)) view = image_.copy();
  // Row addresses from the start of each image: asking the image for every row
  // would cost more than the nine pixels written there.
  const qsizetype stride = view.bytesPerLine() / qsizetype(sizeof(quint32));
  auto *viewBits = reinterpret_cast<quint32 *>(view.bits());
  const auto *imageBits = reinterpret_cast<const quint32 *>(image_.constBits());
  // The changed area as plain bounds: a QRect union per cell would cost more than its pixels.
  const QRect picture = image_.rect();
  int left = picture.right() + 1, top = picture.bottom() + 1, right = -1, bottom = -1;
  for (const QPoint &corner : insides) {
    const QRect inside = QRect(corner, QSize(kInside, kInside)) & picture;
    if (inside.isEmpty()) continue;
    left = std::min(left, inside.left());
    top = std::min(top, inside.top());
    right = std::max(right, inside.right());
    bottom = std::max(bottom, inside.bottom());
    const int x = corner.x();
    const int last = x + kInside - 1;  // the outline's right column
    for (int row = inside.top(); row <= inside.bottom(); ++row) {
      quint32 *line = viewBits + row * stride;
      if (restoreFirst)
        std::memcpy(line + inside.left(), imageBits + row * stride + inside.left(),
                    std::size_t(inside.width()) * sizeof(quint32));
      const bool edgeRow = row == corner.y() || row == corner.y() + kInside - 1;
      if (how == CellInk::Fill || (how == CellInk::Outline && edgeRow)) {
        std::fill(line + inside.left(), line + inside.right() + 1, pixel);
      } else if (how == CellInk::Tint) {
        for (int at = inside.left(); at <= inside.right(); ++at) line[at] |= pixel;
      } else {
        if (inside.left() == x) line[x] = pixel;
        if (inside.right() == last) line[last] = pixel;
      }
    }
  }
  return right < left ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

QRect MapSurfaces::restoreWithGrid(Plane plane) {
  if (!isLoaded()) return {};
  for (int top = 0; top < image_.height(); top += kGridBand)
    restoreWithGrid(plane, top, top + kGridBand);
  return image_.rect();
}

QRect MapSurfaces::restoreWithGrid(Plane plane, int top, int bottom) {
  if (!isLoaded()) return {};
  top = std::max(top, 0);
  bottom = std::min(bottom, image_.height());
  if (top >= bottom) return {};
  QImage &view = surface(plane);
  if (!ownsCopyOfImage(view)) view = image_.copy();
  copyRowsFromImage(view, top, bottom);
  drawGridBand(context(plane), top, bottom);
  return QRect(0, top, image_.width(), bottom - top);
}

}  // namespace vmm
