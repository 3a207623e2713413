#include "mapview/MapSurfaces.h"

#include "gdi/CGDILine.h"

namespace vmm {

namespace {
constexpr ColorRef kGridTeal = rgb(0, 64, 64);
constexpr ColorRef kGridBlack = 0;
constexpr int kGridStep = kSectorPixels;
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

QRect MapSurfaces::restoreFromImage(Plane plane) {
  surface(plane) = image_;
  return image_.rect();
}

QRect MapSurfaces::AddGrid() {
  if (!isLoaded()) return {};
  CGDILine line;  // one line object for the whole grid, default pen and copy-pen
  const int width = image_.width();
  const int height = image_.height();

  // Every fourth line from the top (or left) lies on a Quad edge and is black.
  auto drawLines = [&](int extent, auto &&place) {
    int counter = 1;
    ColorRef colour = kGridTeal;
    for (int at = kGridStep; at <= extent; at += kGridStep) {
      place(at);
      line.setBorderColor(colour);
      line.DrawLine(&terrainDc_);
      line.DrawLine(&elevationDc_);
      ++counter;
      colour = kGridTeal;
      if (counter == 4) {
        counter = 0;
        colour = kGridBlack;
      }
    }
  };
  drawLines(height, [&](int y) {
    line.setX1(0);
    line.setY1(y);
    line.setX2(width);
    line.setY2(y);
  });
  drawLines(width, [&](int x) {
    line.setX1(x);
    line.setY1(0);
    line.setX2(x);
    line.setY2(height);
  });
  return image_.rect();
}

}  // namespace vmm
