// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace vmm {

// The map view's zoom levels and the arithmetic between picture pixels and the
// view's logical pixels. A level is a scale: 1 shows one picture pixel per
// logical pixel, 0.25 four picture pixels across each one.
class ViewZoom {
 public:
  static constexpr double kMinimum = 0.125;
  static constexpr double kMaximum = 8.0;

  // The levels Zoom In and Zoom Out step through, smallest first (12.5% to 800%).
  static const std::vector<double> &levels();
  // The next listed level above (below) `level`; `level` itself at the end of the list.
  static double zoomedIn(double level);
  static double zoomedOut(double level);

  // "100%", "12.5%", "33%" for the listed levels, others with at most one decimal.
  static QString levelText(double level);
  // A typed level such as "150%", "150" or " 12.5 % ". A listed level's own
  // text gives that level exactly ("33" is a third). Nothing for other text or
  // for levels outside 12.5% to 800%.
  static std::optional<double> parseLevel(const QString &text);

  // The largest level, to a tenth of a percent and within the limits, at which
  // the whole picture fits into `viewport`.
  static double fitLevel(QSize picture, QSize viewport);

  // The zoomed picture's size in logical pixels (a part pixel counts whole).
  static QSize zoomedSize(QSize picture, double level);
  // The logical area that shows picture area `area`, widened to whole pixels.
  static QRect zoomedArea(const QRect &area, double level);
  // The picture pixel shown at logical position `position` of the zoomed
  // picture: the one under the centre of the device pixel there, so the hit
  // follows what the screen shows at every level and device pixel ratio.
  // Whole numbers; negative or beyond the picture for positions outside it.
  static QPointF picturePixelAt(QPointF position, double level, double devicePixelRatio);
  // The scroll position (logical pixels of the zoomed picture) that keeps the
  // picture point under `anchor` (a viewport position) in place when the level
  // goes from `from` to `to`.
  static QPointF scrollKeeping(QPointF scroll, QPointF anchor, double from, double to);
};

}  // namespace vmm
