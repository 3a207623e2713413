// SPDX-License-Identifier: GPL-3.0-or-later
#include "mapview/SectorPainter.h"

#include "gdi/CGDIRectangle.h"
#include "gdi/SystemColours.h"
#include "mapview/AreaReducer.h"

#include <algorithm>

namespace vmm {

namespace {
constexpr int kCellInside = kSectorPixels - 1;  // the 9 x 9 block inside the grid lines
}  // namespace

SectorPainter::SectorPainter(MapDocument &document, const ElementTable &elements,
                             const HeightColours &heights, DrawStyleSource drawStyle,
                             MapSurfaces *surfaces)
    : document_(document),
      elements_(elements),
      heights_(heights),
      drawStyle_(std::move(drawStyle)),
      surfaces_(surfaces) {}

std::optional<ColorRef> SectorPainter::colourOf(Plane plane, qint16 value) const {
  if (plane == Plane::Element) {
    if (elements_.hasElement(value)) return elements_.colour(value);
  } else if (heights_.hasHeight(value)) {
    return heights_.colour(value);
  }
  return std::nullopt;
}

std::optional<QRgb> SectorPainter::screenColourOf(Plane plane, qint16 value) const {
  const std::optional<ColorRef> colour = colourOf(plane, value);
  if (!colour) return std::nullopt;
  const ColorRef rgb = toRgb(*colour);
  return qRgb(int(rgb & 0xFF), int((rgb >> 8) & 0xFF), int((rgb >> 16) & 0xFF));
}

DeviceContext *SectorPainter::drawableContext(Plane plane, int quad) const {
  // Quads outside the array lie outside any valid picture too; refusing them
  // here also keeps the pixel arithmetic in range.
  if (surfaces_ == nullptr || !surfaces_->isLoaded() || !MapDocument::isValidQuad(quad))
    return nullptr;
  return &surfaces_->context(plane);
}

QRect SectorPainter::sectorCellRect(const MapDocument &document, int quad, int sect) {
  const MapDocument::Origin o = document.sectorOrigin(quad, sect);
  return QRect(o.x, o.y, kSectorPixels, kSectorPixels);
}

QRect SectorPainter::innerRect(int quad, int sect) const {
  const MapDocument::Origin o = document_.sectorOrigin(quad, sect);
  return QRect(o.x + 1, o.y + 1, kCellInside, kCellInside) & surfaces_->rect();
}

QRect SectorPainter::colourSquare(Plane plane, int quad, int sect, qint16 value) {
  // Only elements treat -1 as "nothing to do"; heights are recorded as given.
  if (plane == Plane::Element && value == kUnassigned) return {};
  if (document_.mapReady) document_.setValue(quad, sect, plane, value);

  const std::optional<ColorRef> colour = colourOf(plane, value);
  DeviceContext *dc = drawableContext(plane, quad);
  if (!colour || dc == nullptr) return {};
  const MapDocument::Origin o = document_.sectorOrigin(quad, sect);
  const DrawStyle style = drawStyle_ ? drawStyle_() : DrawStyle::None;

  if (style == DrawStyle::Transparent) {
    // A tint: every pixel of the cell becomes old pixel OR colour.
    dc->setRop2(R2_MERGEPEN);
    dc->fillBox(o.x + 1, o.y + 1, o.x + kCellInside, o.y + kCellInside, toRgb(*colour));
    dc->setRop2(R2_COPYPEN);
  } else if (style == DrawStyle::Solid || style == DrawStyle::Hollow) {
    CGDIRectangle box;
    if (style == DrawStyle::Hollow) {
      // While painting with the mouse, an earlier fill of the cell would show
      // through the outline: erase it first without touching MapData.
      if (document_.mousePainting) {
        erasingForRedraw_ = true;
        eraseSquare(plane, quad, sect);
        erasingForRedraw_ = false;
      }
      box.setBrushStyle(BS_HOLLOW);
    }
    box.setBorderColor(*colour);
    box.setFillColor(*colour);
    box.setLeft(o.x + 1);
    box.setTop(o.y + 1);
    box.setRight(o.x + kSectorPixels);
    box.setBottom(o.y + kSectorPixels);
    box.DrawRectangle(dc);
  } else {
    return {};
  }
  return innerRect(quad, sect);
}

QRect SectorPainter::colourQuad(Plane plane, int quad, qint16 value) {
  QRect changed;
  for (int sect = 0; sect < kSectorsPerQuad; ++sect)
    changed |= colourSquare(plane, quad, sect, value);
  return changed;
}

std::span<const QPoint> SectorPainter::cellInsidesByBand(std::span<const SectorAddress> sectors) {
  // Every cell paints inside its own cell, so the order does not change the pixels;
  // going along each 10-pixel band keeps the nine rows being written in cache. A
  // counting sort by band keeps the order of the cells within a band: one pass counts
  // the cells of each band, the second places them.
  const auto bandOf = [](const MapDocument::Origin &o) { return std::max(o.y, 0) / kSectorPixels; };
  std::vector<int> &start = bandStarts_;
  start.assign(1, 0);
  std::size_t count = 0;
  for (const SectorAddress &at : sectors) {
    if (!MapDocument::isValidQuad(at.quad)) continue;
    const std::size_t band = std::size_t(bandOf(document_.sectorOrigin(at.quad, at.sector)));
    if (start.size() < band + 2) start.resize(band + 2, 0);
    ++start[band + 1];
    ++count;
  }
  for (std::size_t b = 1; b < start.size(); ++b) start[b] += start[b - 1];
  orderedInsides_.resize(count);
  for (const SectorAddress &at : sectors) {
    if (!MapDocument::isValidQuad(at.quad)) continue;
    const MapDocument::Origin o = document_.sectorOrigin(at.quad, at.sector);
    orderedInsides_[std::size_t(start[std::size_t(bandOf(o))]++)] = QPoint(o.x + 1, o.y + 1);
  }
  return orderedInsides_;
}

QRect SectorPainter::colourSquares(Plane plane, std::span<const SectorAddress> sectors,
                                   qint16 value) {
  if (plane == Plane::Element && value == kUnassigned) return {};
  if (document_.mapReady)
    for (const SectorAddress &at : sectors) document_.setValue(at.quad, at.sector, plane, value);
  const std::optional<ColorRef> colour = colourOf(plane, value);
  if (!colour || surfaces_ == nullptr || !surfaces_->isLoaded()) return {};
  // The style is read once per call here rather than once per Sector.
  const DrawStyle style = drawStyle_ ? drawStyle_() : DrawStyle::None;
  if (style != DrawStyle::Solid && style != DrawStyle::Transparent && style != DrawStyle::Hollow)
    return {};
  const CellInk how = style == DrawStyle::Solid         ? CellInk::Fill
                      : style == DrawStyle::Transparent ? CellInk::Tint
                                                        : CellInk::Outline;
  // A hollow mouse paint clears the cell's earlier fill first, as colourSquare does.
  const bool restoreFirst = style == DrawStyle::Hollow && document_.mousePainting;
  const QRect changed = surfaces_->inkCells(plane, cellInsidesByBand(sectors),
                                            toPixel(toRgb(*colour)), how, restoreFirst);
  // The mix mode the view is left with, as after the last colourSquare.
  const bool drawn = std::any_of(sectors.begin(), sectors.end(), [](const SectorAddress &at) {
    return MapDocument::isValidQuad(at.quad);
  });
  if (drawn && style == DrawStyle::Transparent) surfaces_->context(plane).setRop2(R2_COPYPEN);
  if (drawn && restoreFirst) surfaces_->context(plane).setRop2(R2_MASKPEN);
  return changed;
}

QRect SectorPainter::colourMap(Plane plane) {
  return paintWholeMap(plane, false);
}

QRect SectorPainter::repaintMap(Plane plane) {
  return paintWholeMap(plane, true);
}

QRect SectorPainter::paintWholeMap(Plane plane, bool restore) {
  // Redrawing the elements must not write the array, so it runs with
  // mapReady at 0; heights are written back with the value they already hold.
  if (plane == Plane::Element) document_.mapReady = false;
  const bool drawable = surfaces_ != nullptr && surfaces_->isLoaded();
  // A restored view changes as a whole, and every cell lies inside it.
  const bool wholeView = restore && drawable;
  QRect changed = wholeView ? surfaces_->rect() : QRect();
  const int perRow = document_.XQuads;
  if (wholeView && perRow > 0) {
    // A freshly restored view is built band by band in one pass: the values
    // written back would be the ones already held, and a hollow cell's
    // pre-erase would put back the picture that is already there.
    if (const std::optional<CellInk> how = bandInk()) {
      composeWholeView(plane, *how);
      if (plane == Plane::Element) document_.mapReady = true;
      return changed;
    }
  }
  auto visit = [&](int quad, int sect) {
    const qint16 value = document_.value(quad, sect, plane);
    if (value == kUnassigned) return;
    const QRect cell = colourSquare(plane, quad, sect, value);
    if (!wholeView) changed |= cell;
  };
  // One Quad past the map's last is visited too, but never past the array.
  const int last = std::min<int>(document_.TotalQuads, kQuadCapacity - 1);
  if (perRow <= 0) {
    if (wholeView) surfaces_->restoreWithGrid(plane);
    for (int quad = 0; quad <= last; ++quad)
      for (int sect = 0; sect < kSectorsPerQuad; ++sect) visit(quad, sect);
  } else {
    // Every Sector is painted inside its own cell, so the order of the calls
    // does not change the result. Going along each 10-pixel band of a Quad
    // row keeps the writes close together; putting a Quad row's picture and
    // grid back just before painting its bands saves a second pass over the
    // surface.
    constexpr int kBandsPerQuadRow = kQuadPixels / kSectorPixels;
    const int sectorBands = (last / perRow + 1) * kBandsPerQuadRow;
    const int surfaceBands =
        wholeView ? (surfaces_->size().height() + kSectorPixels - 1) / kSectorPixels : 0;
    for (int band = 0; band < std::max(sectorBands, surfaceBands); ++band) {
      if (band < surfaceBands && band % kBandsPerQuadRow == 0)
        surfaces_->restoreWithGrid(plane, band * kSectorPixels, band * kSectorPixels + kQuadPixels);
      const int rowStart = band / kBandsPerQuadRow * perRow;
      if (rowStart > last) continue;
      const int rowEnd = std::min(rowStart + perRow - 1, last);
      const int firstSect = band % kBandsPerQuadRow * 4;
      for (int quad = rowStart; quad <= rowEnd; ++quad)
        for (int sect = firstSect; sect < firstSect + 4; ++sect) visit(quad, sect);
    }
  }
  if (plane == Plane::Element) document_.mapReady = true;
  return changed;
}

void SectorPainter::composeWholeView(Plane plane, CellInk how) {
  surfaces_->prepareToComposeAll(plane);
  forEachBandInk(plane, [&](int top, const std::vector<quint32> &ink) {
    surfaces_->composeSectorBand(plane, top, ink, how);
  });
}

std::optional<CellInk> SectorPainter::bandInk() const {
  const DrawStyle style = drawStyle_ ? drawStyle_() : DrawStyle::None;
  if (style == DrawStyle::Solid) return CellInk::Fill;
  if (style == DrawStyle::Transparent) return CellInk::Tint;
  if (style == DrawStyle::Hollow) return CellInk::Outline;
  return std::nullopt;
}

QImage SectorPainter::reducedView(Plane plane, QSize size) {
  const std::optional<CellInk> how = bandInk();
  if (!how || !surfaces_ || !surfaces_->isLoaded()) return {};
  AreaReducer reducer(surfaces_->size(), size);
  QImage band;
  forEachBandInk(plane, [&](int top, const std::vector<quint32> &ink) {
    surfaces_->composeSectorBandInto(band, top, ink, *how);
    const int rows = std::min(kSectorPixels, surfaces_->size().height() - top);
    for (int row = 0; row < rows; ++row)
      reducer.addRow(reinterpret_cast<const quint32 *>(band.constScanLine(row)));
  });
  return reducer.result();
}

void SectorPainter::forEachBandInk(
    Plane plane, const std::function<void(int, const std::vector<quint32> &)> &compose) {
  // The same Quads and Sectors as the Sector by Sector repaint visits, gathered
  // into one row of cell colours per 10-pixel band.
  const int last = std::min<int>(document_.TotalQuads, kQuadCapacity - 1);
  const int perRow = document_.XQuads;
  const QSize size = surfaces_->size();
  std::vector<quint32> ink(std::size_t(size.width() / kSectorPixels + 1));
  constexpr int kBandsPerQuadRow = kQuadPixels / kSectorPixels;
  // Every value a Sector can hold has its colour looked up once per repaint, not per Sector.
  std::vector<quint32> pixelOf(std::size_t(std::max(kMaxElements, kMaxHeights)), 0u);
  for (std::size_t value = 0; value < pixelOf.size(); ++value)
    if (const std::optional<ColorRef> colour = colourOf(plane, qint16(value)))
      pixelOf[value] = toPixel(toRgb(*colour));
  for (int top = 0; top < size.height(); top += kSectorPixels) {
    std::fill(ink.begin(), ink.end(), 0u);
    const int band = top / kSectorPixels;
    const int rowStart = band / kBandsPerQuadRow * perRow;
    const int rowEnd = std::min(rowStart + perRow - 1, last);
    const int firstSect = band % kBandsPerQuadRow * 4;
    for (int quad = rowStart; quad <= rowEnd; ++quad)
      for (int sect = firstSect; sect < firstSect + 4; ++sect) {
        const qint16 value = document_.value(quad, sect, plane);
        const quint32 pixel =
            value >= 0 && std::size_t(value) < pixelOf.size() ? pixelOf[std::size_t(value)] : 0u;
        if (pixel == 0) continue;
        const MapDocument::Origin o = document_.sectorOrigin(quad, sect);
        if (o.y != top || o.x < 0 || o.x >= size.width()) continue;
        ink[std::size_t(o.x / kSectorPixels)] = pixel;
      }
    compose(top, ink);
  }
}

QRect SectorPainter::eraseSquare(Plane plane, int quad, int sect) {
  if (document_.mapReady && !erasingForRedraw_) document_.setValue(quad, sect, plane, kUnassigned);
  DeviceContext *dc = drawableContext(plane, quad);
  if (dc == nullptr) return {};
  // The cell's rows are copied straight from the Image view: a hollow mouse
  // paint erases 16 cells per move, too many for a pixel at a time.
  const QRect changed = surfaces_->restoreArea(plane, innerRect(quad, sect));
  // The view keeps mask-pen; every routine sets its own mode before drawing.
  dc->setRop2(R2_MASKPEN);
  return changed;
}

QRect SectorPainter::eraseQuad(Plane plane, int quad) {
  QRect changed;
  for (int sect = 0; sect < kSectorsPerQuad; ++sect) changed |= eraseSquare(plane, quad, sect);
  return changed;
}

}  // namespace vmm
