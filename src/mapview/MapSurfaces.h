// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/EditorModes.h"

#include "document/MapDocument.h"
#include "gdi/DeviceContext.h"

#include <QImage>
#include <QRect>

#include <functional>
#include <span>
#include <vector>

namespace vmm {

// How a Sector's colour goes over the 9 x 9 inside of its cell: filled, as a tint
// (picture OR colour) or as a one-pixel outline over the picture.
enum class CellInk { Fill, Tint, Outline };

// The map view window's three surfaces of the picture's size: the untouched
// Image view (the source erased cells are restored from) and the
// Terrain and Elevation views that carry the grid and the
// painted Sectors. Each keeps a device context, so its mix mode persists
// between drawing calls. The surfaces share the decoded picture until one is
// drawn on. Not copyable: the contexts point at the members.
class MapSurfaces {
 public:
  MapSurfaces() = default;
  explicit MapSurfaces(const QImage &picture) { load(picture); }
  MapSurfaces(const MapSurfaces &) = delete;
  MapSurfaces &operator=(const MapSurfaces &) = delete;

  // Gives all three views the picture (converted to Format_RGB32 once).
  void load(const QImage &picture);
  // Empties the three views; drawing on them then does nothing.
  void clear();
  bool isLoaded() const { return !image_.isNull(); }
  QSize size() const { return image_.size(); }
  QRect rect() const { return image_.rect(); }

  QImage &surface(MapView view);
  const QImage &surface(MapView view) const;
  DeviceContext &context(MapView view);

  // The coloured view that shows `plane`: Terrain for elements, Elevation for heights.
  static MapView viewOf(Plane plane) {
    return plane == Plane::Element ? MapView::Terrain : MapView::Elevation;
  }
  QImage &surface(Plane plane) { return surface(viewOf(plane)); }
  DeviceContext &context(Plane plane) { return context(viewOf(plane)); }

  // Puts the Image view's picture back on the view of `plane`, without grid or
  // colours (the first step of a whole-map repaint). Returns the changed area.
  QRect restoreFromImage(Plane plane);
  // Puts the Image view's pixels of `area` back on the view of `plane` (one
  // copy per row, as erasing a cell needs). Returns the changed area, clipped
  // to the surfaces.
  QRect restoreArea(Plane plane, const QRect &area);

  // Draws the Quad and Sector grid on the Terrain and Elevation views: a line
  // every 10 pixels from 10 up to and including the height and the width,
  // every fourth (the Quad edges) black, the others dark teal. Returns the
  // changed area.
  QRect AddGrid();

  // restoreFromImage and the grid in one pass over the view of `plane`: the
  // same pixels as restoreFromImage(plane) followed by AddGrid(), in about the
  // time of one copy of the surface. The first step of a whole-map repaint.
  QRect restoreWithGrid(Plane plane);
  // The same for the rows top to bottom - 1 only (clipped to the surfaces),
  // for a repaint that paints each band while it is still in cache.
  QRect restoreWithGrid(Plane plane, int top, int bottom);

  // Builds the view's 10-pixel band from row `top` (a multiple of 10) in one pass,
  // each pixel written once: the picture, the grid, and over the inside of the cell
  // whose left edge is at 10 * c the pixel `ink[c]` in the given way (0: no Sector
  // painted there). The same pixels as restoreWithGrid for the band followed by
  // painting its cells one by one.
  void composeSectorBand(Plane plane, int top, const std::vector<quint32> &ink, CellInk how);
  // The same band composed into `band` (made kSectorPixels rows of the picture's width
  // when it is not), leaving the views as they are; rows past the picture stay unwritten.
  void composeSectorBandInto(QImage &band, int top, const std::vector<quint32> &ink,
                             CellInk how) const;
  // Gives the view of `plane` memory of its own without copying the picture into it,
  // for a repaint that composes every band: a copy would only be written over.
  void prepareToComposeAll(Plane plane);

  // Puts `pixel` over the 9 x 9 inside of each cell, given by its top-left inside
  // pixel, in the given way (clipped to the surfaces); with `restoreFirst` each inside
  // gets the Image view's pixels back before. The same pixels as erasing each cell and
  // painting it with its rectangle, in the order given. Returns the changed area.
  QRect inkCells(Plane plane, std::span<const QPoint> insides, quint32 pixel, CellInk how,
                 bool restoreFirst);

 private:
  void drawGridBand(DeviceContext &view, int top, int bottom);
  void copyRowsFromImage(QImage &view, int top, int bottom) const;
  void copyAreaFromImage(QImage &view, const QRect &area) const;
  bool ownsCopyOfImage(const QImage &view) const;
  // composeSectorBand's pixels, row y of the band written where rowAt(y) says.
  void composeBandRows(int top, const std::vector<quint32> &ink, CellInk how,
                       const std::function<uchar *(int)> &rowAt) const;

  QImage terrain_;
  QImage image_;
  QImage elevation_;
  DeviceContext terrainDc_;
  DeviceContext imageDc_;
  DeviceContext elevationDc_;
};

}  // namespace vmm
