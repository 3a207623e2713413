// SPDX-License-Identifier: GPL-3.0-or-later
#include "MaximumMap.h"

#include "catalogue/CatalogueDatabase.h"

#include <QDir>
#include <QImageWriter>
#include <QPainter>

#include <stdexcept>
#include <vector>

namespace vmm::bench {

QImage maximumPicture() {
  QImage picture(kMaxWidth, kMaxHeight, QImage::Format_RGB32);
  for (int y = 0; y < kMaxHeight; ++y) {
    auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
    for (int x = 0; x < kMaxWidth; ++x) {
      const int r = 90 + (x * 80) / kMaxWidth + ((x ^ y) & 15);
      const int g = 110 + (y * 70) / kMaxHeight + ((x * 7 + y * 3) & 31);
      const int b = 60 + ((x / 37 + y / 53) & 1) * 40;
      line[x] = qRgb(r, g, b);
    }
  }
  return picture;
}

QString writeMaximumJpeg(const QString &folder) {
  const QString path = QDir(folder).filePath(QStringLiteral("maximum-map.jpg"));
  QImageWriter writer(path, "JPEG");
  writer.setQuality(90);
  if (!writer.write(maximumPicture()))
    throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                             writer.errorString().toStdString());
  return path;
}

void assignEverySector(MapDocument &document, const ElementTable &elements) {
  std::vector<qint16> coloured;
  for (int id = 0; id < kMaxElements; ++id)
    if (elements.hasElement(id)) coloured.push_back(qint16(id));
  if (coloured.empty()) throw std::runtime_error("the default catalogue has no elements");

  document.XQuads = kMaxXQuads;
  document.YQuads = kMaxYQuads;
  document.TotalQuads = kMaxXQuads * kMaxYQuads;
  document.mapReady = true;
  std::size_t next = 0;
  for (int quad = 0; quad < document.TotalQuads; ++quad)
    for (int sect = 0; sect < kSectorsPerQuad; ++sect) {
      document.setValue(quad, sect, Plane::Element, coloured[next++ % coloured.size()]);
      document.setValue(quad, sect, Plane::Height, qint16((quad + sect) % kMaxHeights));
    }
}

MaximumMap::MaximumMap() {
  const CatalogueResult loaded = CatalogueDatabase().LoadElements(elements, heights, 0);
  if (!loaded.ok) throw std::runtime_error(loaded.error.toStdString());
  assignEverySector(document, elements);
  surfaces.load(maximumPicture());
  surfaces.AddGrid();
  painter = std::make_unique<SectorPainter>(
      document, elements, heights, [this] { return static_cast<DrawStyle>(drawStyle); }, &surfaces);
}

void MaximumMap::repaintBothViews() {
  document.mapReady = false;
  for (const Plane plane : {Plane::Height, Plane::Element}) painter->repaintMap(plane);
  document.mapReady = true;
}

MaximumMap &sharedMaximumMap() {
  static MaximumMap map;
  return map;
}

const char *drawStyleName(int style) {
  switch (static_cast<DrawStyle>(style)) {
    case DrawStyle::Solid:
      return "Solid";
    case DrawStyle::Transparent:
      return "Transparent";
    case DrawStyle::Hollow:
      return "Hollow";
    case DrawStyle::None:
      break;
  }
  return "None";
}

void loadDefaultCatalogue(EditorSession &session) {
  const CatalogueResult loaded =
      CatalogueDatabase().LoadElements(session.elementTable(), session.heightColours(), 0);
  if (!loaded.ok) throw std::runtime_error(loaded.error.toStdString());
}

}  // namespace vmm::bench
