// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"
#include "learning/PictureClassifier.h"

#include <QImage>
#include <QObject>
#include <QRegion>

#include <functional>
#include <optional>

class QPainter;

namespace vmm {

// The suggestions of Paint from Picture as the views show them while the dock is open:
// every unassigned Sector with a suggestion in its value's colour at half strength, and
// a hatch over those below the minimum confidence. Held at one pixel per Sector and
// scaled at paint time, so it costs the same at every zoom level; the hatch is drawn in
// screen pixels, so it shows at every level too.
class TracePreview : public QObject {
  Q_OBJECT

 public:
  using ColourOf = std::function<std::optional<QRgb>(qint16 value)>;

  explicit TracePreview(QObject *parent = nullptr) : QObject(parent) {}

  // Shows `suggestions` for `plane` of a map `xQuads` Quads wide.
  void show(Plane plane, const TraceSuggestions &suggestions, int xQuads, float minConfidence,
            const ColourOf &colourOf);
  void clear();
  bool isShown() const { return !cells_.isNull(); }
  Plane plane() const { return plane_; }
  // How many Sectors are marked unsure.
  int unsureCount() const { return unsureCount_; }

  // Draws the preview over `exposed` (in the painter's coordinates, where picture pixel
  // p lies at p * level).
  void paint(QPainter &painter, double level, const QRect &exposed) const;

 signals:
  void changed();

 private:
  Plane plane_ = Plane::Element;
  QImage cells_;    // one pixel per Sector cell
  QRegion unsure_;  // in cells
  int unsureCount_ = 0;
};

}  // namespace vmm
