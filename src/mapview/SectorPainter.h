// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/EditorModes.h"

#include "catalogue/CatalogueTables.h"
#include "document/MapDocument.h"
#include "gdi/GdiTypes.h"
#include "mapview/MapSurfaces.h"

#include <QRect>

#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace vmm {

// Keeps MapData and the two painted views in step: records an element or a
// height for a Sector and paints the Sector's 9 x 9 inner cell in the current
// draw style, or erases it by copying the cell back from the Image view.
// Terrain and Elevation are the same routines applied to a Plane. The array is
// written only while mapReady is 1, always through MapDocument::setValue.
// Nothing refreshes a screen: each routine returns the surface area it
// changed, for the caller to repaint. An element without a loaded catalogue
// row, or a height without a colour, is recorded but not drawn.
class SectorPainter {
 public:
  // Reads the draw style afresh at every call.
  using DrawStyleSource = std::function<DrawStyle()>;

  SectorPainter(MapDocument &document, const ElementTable &elements, const HeightColours &heights,
                DrawStyleSource drawStyle, MapSurfaces *surfaces = nullptr);

  // The surfaces drawn on; with none (or empty ones) values are still
  // recorded but nothing is drawn.
  void setSurfaces(MapSurfaces *surfaces) { surfaces_ = surfaces; }
  MapSurfaces *surfaces() const { return surfaces_; }

  QRect colourSquare(Plane plane, int quad, int sect, qint16 value);
  QRect colourQuad(Plane plane, int quad, qint16 value);
  // colourSquare for every Sector of the list with one value: the same values
  // recorded and the same pixels, written straight into the surface cell by cell
  // (a bucket fill can reach every Sector of the map).
  QRect colourSquares(Plane plane, std::span<const SectorAddress> sectors, qint16 value);
  // Repaints every assigned Sector of Quads 0 to TotalQuads (and no further
  // than the array's last Quad) over whatever the view shows. For elements,
  // mapReady is 0 for the length of the repaint and 1 afterwards.
  QRect colourMap(Plane plane);
  // The whole-map repaint of the view of `plane`: the same pixels as
  // MapSurfaces::restoreWithGrid(plane) followed by colourMap(plane), done one
  // Quad row at a time so each row is painted while still in cache.
  QRect repaintMap(Plane plane);
  // What repaintMap would draw, reduced to `size` (no larger than the picture), each
  // pixel the average of the area it covers; composed band by band, so no surface is
  // drawn or allocated at full size. Null without a picture or a draw style.
  QImage reducedView(Plane plane, QSize size);
  QRect eraseSquare(Plane plane, int quad, int sect);
  QRect eraseQuad(Plane plane, int quad);

  // True only while a hollow paint erases its own cell first.
  bool erasingForRedraw() const { return erasingForRedraw_; }

  // The 10 x 10 cell of a Sector (its grid lines on the top and left edges)
  // on a map of the document's width; not clipped to any surface.
  static QRect sectorCellRect(const MapDocument &document, int quad, int sect);

  // The routines under the names the rest of the editor uses.
  QRect ColourSquare(int quad, int sect, qint16 value) {
    return colourSquare(Plane::Element, quad, sect, value);
  }
  QRect ColourSquareElevation(int quad, int sect, qint16 value) {
    return colourSquare(Plane::Height, quad, sect, value);
  }
  QRect ColourQuad(int quad, qint16 value) { return colourQuad(Plane::Element, quad, value); }
  QRect ColourQuadElevation(int quad, qint16 value) {
    return colourQuad(Plane::Height, quad, value);
  }
  QRect ColourMap() { return colourMap(Plane::Element); }
  QRect ColourMapElevation() { return colourMap(Plane::Height); }
  QRect EraseSquare(int quad, int sect) { return eraseSquare(Plane::Element, quad, sect); }
  QRect EraseSquareElevation(int quad, int sect) { return eraseSquare(Plane::Height, quad, sect); }
  QRect EraseQuad(int quad) { return eraseQuad(Plane::Element, quad); }
  QRect EraseQuadElevation(int quad) { return eraseQuad(Plane::Height, quad); }
  // The colour a value is painted in (none for an element the catalogue lacks).
  std::optional<ColorRef> colourOf(Plane plane, qint16 value) const;
  // The same colour as the screen shows it (system colours resolved).
  std::optional<QRgb> screenColourOf(Plane plane, qint16 value) const;

 private:
  // The view of `plane` when there is something to draw on at `quad`.
  DeviceContext *drawableContext(Plane plane, int quad) const;
  QRect innerRect(int quad, int sect) const;
  // The top-left inside pixels of the Sectors' cells (Quads outside the array left
  // out), ordered band by band of the surface; valid until the next call.
  std::span<const QPoint> cellInsidesByBand(std::span<const SectorAddress> sectors);
  // colourMap, with the picture and grid put back first when `restore` is set.
  QRect paintWholeMap(Plane plane, bool restore);
  void composeWholeView(Plane plane, CellInk how);
  // How the current draw style inks a cell when a view is composed band by band.
  std::optional<CellInk> bandInk() const;
  // Calls `compose` for each 10-pixel band of the surface from the top with the band's
  // cell colours (0 where no Sector is painted).
  void forEachBandInk(Plane plane,
                      const std::function<void(int top, const std::vector<quint32> &ink)> &compose);

  MapDocument &document_;
  const ElementTable &elements_;
  const HeightColours &heights_;
  DrawStyleSource drawStyle_;
  MapSurfaces *surfaces_ = nullptr;
  bool erasingForRedraw_ = false;
  // Kept between calls, so that painting a large area does not take fresh memory each time.
  std::vector<QPoint> orderedInsides_;
  std::vector<int> bandStarts_;
};

}  // namespace vmm
