// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/TracePreview.h"

#include <QPainter>

namespace vmm {

void TracePreview::show(Plane plane, const TraceSuggestions &suggestions, int xQuads,
                        float minConfidence, const ColourOf &colourOf) {
  plane_ = plane;
  const int columns = xQuads * 4;
  const int rows = columns > 0 ? int(suggestions.cells.size()) / columns : 0;
  if (rows == 0) {
    clear();
    return;
  }
  cells_ = QImage(columns, rows, QImage::Format_ARGB32_Premultiplied);
  cells_.fill(Qt::transparent);
  QRegion unsure;
  unsureCount_ = 0;
  for (int row = 0; row < rows; ++row) {
    auto *line = reinterpret_cast<QRgb *>(cells_.scanLine(row));
    int runStart = -1;  // unsure cells of a row go into the region as runs
    for (int column = 0; column <= columns; ++column) {
      bool markUnsure = false;
      if (column < columns) {
        const CellSuggestion &cell = suggestions.cells[std::size_t(row * columns + column)];
        if (cell.value != kUnassigned) {
          // Half strength: the colour premultiplied at alpha 128 over the picture.
          if (const std::optional<QRgb> colour = colourOf(cell.value))
            line[column] = qPremultiply(qRgba(qRed(*colour), qGreen(*colour), qBlue(*colour), 128));
          markUnsure = cell.confidence < minConfidence;
        }
      }
      unsureCount_ += markUnsure;
      if (markUnsure && runStart < 0) runStart = column;
      if (!markUnsure && runStart >= 0) {
        unsure += QRect(runStart, row, column - runStart, 1);
        runStart = -1;
      }
    }
  }
  unsure_ = unsure;
  emit changed();
}

void TracePreview::clear() {
  if (cells_.isNull()) return;
  cells_ = QImage();
  unsure_ = QRegion();
  unsureCount_ = 0;
  emit changed();
}

void TracePreview::paint(QPainter &painter, double level, const QRect &exposed) const {
  if (cells_.isNull() || level <= 0) return;
  const double cellSize = kSectorPixels * level;
  // The cells under the exposed area, whole, drawn without smoothing.
  const int left = std::max(0, int(exposed.left() / cellSize));
  const int top = std::max(0, int(exposed.top() / cellSize));
  const int right = std::min(cells_.width(), int(exposed.right() / cellSize) + 1);
  const int bottom = std::min(cells_.height(), int(exposed.bottom() / cellSize) + 1);
  if (left >= right || top >= bottom) return;
  painter.save();
  painter.setClipRect(exposed);
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  const QRectF target(left * cellSize, top * cellSize, (right - left) * cellSize,
                      (bottom - top) * cellSize);
  painter.drawImage(target, cells_, QRectF(left, top, right - left, bottom - top));
  if (!unsure_.isEmpty()) {
    const QRegion shown = unsure_ & QRect(left, top, right - left, bottom - top);
    painter.setClipRegion(QTransform::fromScale(cellSize, cellSize).map(shown), Qt::IntersectClip);
    painter.fillRect(target, QBrush(QColor(20, 20, 20), Qt::BDiagPattern));
  }
  painter.restore();
}

}  // namespace vmm
