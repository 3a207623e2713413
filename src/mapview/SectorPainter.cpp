#include "mapview/SectorPainter.h"

#include "gdi/CGDIRectangle.h"
#include "gdi/DrawPixel.h"
#include "gdi/SystemColours.h"

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
  if (document_.MapReady == 1) document_.setValue(quad, sect, plane, value);

  const std::optional<ColorRef> colour = colourOf(plane, value);
  DeviceContext *dc = drawableContext(plane, quad);
  if (!colour || dc == nullptr) return {};
  const MapDocument::Origin o = document_.sectorOrigin(quad, sect);
  const int style = drawStyle_ ? drawStyle_() : int(DrawStyle::None);

  if (style == int(DrawStyle::Transparent)) {
    // A tint: every pixel of the cell becomes old pixel OR colour.
    dc->setRop2(R2_MERGEPEN);
    dc->fillBox(o.x + 1, o.y + 1, o.x + kCellInside, o.y + kCellInside, TranslateVBColor(*colour));
    dc->setRop2(R2_COPYPEN);
  } else if (style == int(DrawStyle::Solid) || style == int(DrawStyle::Hollow)) {
    CGDIRectangle box;
    if (style == int(DrawStyle::Hollow)) {
      // While painting with the mouse, an earlier fill of the cell would show
      // through the outline: erase it first without touching MapData.
      if (document_.IsDraw == 1) {
        erasingForRedraw_ = 1;
        eraseSquare(plane, quad, sect);
        erasingForRedraw_ = 0;
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

QRect SectorPainter::colourMap(Plane plane) {
  // Redrawing the elements must not write the array, so it runs with
  // MapReady at 0; heights are written back with the value they already hold.
  if (plane == Plane::Element) document_.MapReady = 0;
  QRect changed;
  auto visit = [&](int quad, int sect) {
    const qint16 value = document_.value(quad, sect, plane);
    if (value != kUnassigned) changed |= colourSquare(plane, quad, sect, value);
  };
  // One Quad past the map's last is visited too, but never past the array.
  const int last = std::min<int>(document_.TotalQuads, kQuadCapacity - 1);
  const int perRow = document_.XQuads;
  if (perRow <= 0) {
    for (int quad = 0; quad <= last; ++quad)
      for (int sect = 0; sect < kSectorsPerQuad; ++sect) visit(quad, sect);
  } else {
    // Every Sector is painted inside its own cell, so the order of the calls
    // does not change the result. Going along each 10-pixel band of a Quad
    // row keeps the writes close together, which makes the repaint several
    // times faster on a large map.
    for (int rowStart = 0; rowStart <= last; rowStart += perRow) {
      const int rowEnd = std::min(rowStart + perRow - 1, last);
      for (int band = 0; band < kSectorsPerQuad; band += 4)
        for (int quad = rowStart; quad <= rowEnd; ++quad)
          for (int sect = band; sect < band + 4; ++sect) visit(quad, sect);
    }
  }
  if (plane == Plane::Element) document_.MapReady = 1;
  return changed;
}

QRect SectorPainter::eraseSquare(Plane plane, int quad, int sect) {
  if (document_.MapReady == 1 && erasingForRedraw_ == 0)
    document_.setValue(quad, sect, plane, kUnassigned);
  DeviceContext *dc = drawableContext(plane, quad);
  if (dc == nullptr) return {};
  DeviceContext *picture = &surfaces_->context(MapView::Image);
  const MapDocument::Origin o = document_.sectorOrigin(quad, sect);
  dc->setRop2(R2_COPYPEN);
  for (int i = 1; i <= kCellInside; ++i)
    for (int j = 1; j <= kCellInside; ++j)
      DrawPixel(dc, o.x + i, o.y + j, GetPixelColor(picture, o.x + i, o.y + j));
  // The view keeps mask-pen; every routine sets its own mode before drawing.
  dc->setRop2(R2_MASKPEN);
  return innerRect(quad, sect);
}

QRect SectorPainter::eraseQuad(Plane plane, int quad) {
  QRect changed;
  for (int sect = 0; sect < kSectorsPerQuad; ++sect) changed |= eraseSquare(plane, quad, sect);
  return changed;
}

}  // namespace vmm
