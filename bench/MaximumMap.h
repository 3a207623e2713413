// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "catalogue/CatalogueTables.h"
#include "document/MapDocument.h"
#include "mapview/MapSurfaces.h"
#include "mapview/SectorPainter.h"
#include "session/EditorSession.h"

#include <QImage>
#include <QString>

#include <memory>

namespace vmm::bench {

// The largest map a picture can make: 72 x 69 Quads of 40 pixels.
inline constexpr int kMaxXQuads = 72;
inline constexpr int kMaxYQuads = 69;
inline constexpr int kMaxWidth = kMaxXQuads * kQuadPixels;   // 2880
inline constexpr int kMaxHeight = kMaxYQuads * kQuadPixels;  // 2760

// A varied picture of the maximum size (smooth gradients and a pattern, so
// JPEG compresses it like a real battlefield photo rather than a flat fill).
QImage maximumPicture();

// Writes maximumPicture() as a JPEG into `folder` and returns its path.
QString writeMaximumJpeg(const QString &folder);

// Gives every Sector of a maximum map an element with a catalogue colour and a height.
void assignEverySector(MapDocument &document, const ElementTable &elements);

// Loads the built-in default catalogue's elements and height colours into `session`;
// throws when it cannot be read.
void loadDefaultCatalogue(EditorSession &session);

// Everything a whole-map repaint or a mouse paint works on, as the editor
// holds it with a maximum map loaded: the document with every Sector
// assigned, the default catalogue's colours, the three surfaces and the painter.
class MaximumMap {
 public:
  MaximumMap();

  MapDocument document;
  ElementTable elements;
  HeightColours heights;
  MapSurfaces surfaces;
  int drawStyle = int(DrawStyle::Solid);
  std::unique_ptr<SectorPainter> painter;

  // Both coloured views back to picture and grid, then every Sector painted,
  // as a whole-map command repaints them.
  void repaintBothViews();
};

// The one maximum map the painting benchmarks share, built at first use.
MaximumMap &sharedMaximumMap();

// "Solid", "Transparent", "Hollow" or "None", for the benchmarks' labels.
const char *drawStyleName(int style);

}  // namespace vmm::bench
