// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/SelectionOverlay.h"

#include <QPainter>

namespace vmm {

namespace {

constexpr int kDashStepMs = 150;  // about seven steps a second: lively, and cheap
constexpr int kDashLength = 4;

QRect stripOf(const QLine &edge) {
  // The edge's grid line with a pixel either side, in picture pixels.
  const QPoint a = edge.p1() * kSectorPixels;
  const QPoint b = edge.p2() * kSectorPixels;
  return QRect(a, b).normalized().adjusted(-1, -1, 2, 2);
}

}  // namespace

SelectionOverlay::SelectionOverlay(QObject *parent) : QObject(parent) {
  timer_.setInterval(kDashStepMs);
  connect(&timer_, &QTimer::timeout, this, &SelectionOverlay::step);
}

SelectionOverlay::Outline SelectionOverlay::outlineOf(const std::vector<quint8> &marks, int columns,
                                                      int rows) {
  const auto at = [&](int column, int row) {
    return column >= 0 && row >= 0 && column < columns && row < rows &&
           marks[std::size_t(row * columns + column)] != 0;
  };
  Outline outline;
  // An edge lies between a cell inside and one outside; neighbouring edges join into runs.
  for (int row = 0; row <= rows; ++row)
    for (int column = 0; column < columns;) {
      if (at(column, row) == at(column, row - 1)) {
        ++column;
        continue;
      }
      const int start = column;
      const bool below = at(column, row);
      while (column < columns && at(column, row) != at(column, row - 1) && at(column, row) == below)
        ++column;
      outline.edges.emplace_back(start, row, column, row);
    }
  for (int column = 0; column <= columns; ++column)
    for (int row = 0; row < rows;) {
      if (at(column, row) == at(column - 1, row)) {
        ++row;
        continue;
      }
      const int start = row;
      const bool right = at(column, row);
      while (row < rows && at(column, row) != at(column - 1, row) && at(column, row) == right)
        ++row;
      outline.edges.emplace_back(column, start, column, row);
    }
  for (const QLine &edge : outline.edges) outline.strips += stripOf(edge);
  return outline;
}

void SelectionOverlay::showSelection(const SectorSelection &selection) {
  const QRegion before = strips_;
  dragOffset_ = {};
  const SectorSpan bounds = selection.bounds();
  selectionEdges_.clear();
  if (!bounds.isEmpty()) {
    const int columns = bounds.right - bounds.left + 1;
    const int rows = bounds.bottom - bounds.top + 1;
    std::vector<quint8> marks(std::size_t(columns) * std::size_t(rows), 0);
    for (int row = 0; row < rows; ++row)
      for (int column = 0; column < columns; ++column)
        marks[std::size_t(row * columns + column)] =
            selection.contains(SectorCell{bounds.left + column, bounds.top + row});
    selectionEdges_ = outlineOf(marks, columns, rows).edges;
    for (QLine &edge : selectionEdges_) edge.translate(bounds.left, bounds.top);
  }
  updateAnimation();
  emit changed(before + strips_);
}

void SelectionOverlay::setDragOffset(QPoint cells) {
  if (cells == dragOffset_) return;
  const QRegion before = strips_;
  dragOffset_ = cells;
  updateAnimation();
  emit changed(before + strips_);
}

void SelectionOverlay::startFloating(const SectorBlock &block, SectorCell topLeft,
                                     const ColourOf &colourOf) {
  const QRegion before = floatArea();
  floating_ = block;
  floatAt_ = topLeft;
  floatEdges_ = outlineOf(block.shape, block.width, block.height).edges;
  for (const Plane plane : {Plane::Element, Plane::Height}) {
    QImage &cells = floatCells_[std::size_t(plane)];
    cells = QImage(block.width, block.height, QImage::Format_ARGB32_Premultiplied);
    cells.fill(Qt::transparent);
    for (int row = 0; row < block.height; ++row)
      for (int column = 0; column < block.width; ++column) {
        const qint16 value = block.value(column, row, plane);
        if (!block.shape[block.index(column, row)] || value == kUnassigned) continue;
        if (const std::optional<QRgb> colour = colourOf(plane, value))
          cells.setPixel(column, row,
                         qPremultiply(qRgba(qRed(*colour), qGreen(*colour), qBlue(*colour), 220)));
      }
  }
  updateAnimation();
  emit changed(before + floatArea());
}

void SelectionOverlay::moveFloat(SectorCell topLeft) {
  if (!floating_ || (topLeft.column == floatAt_.column && topLeft.row == floatAt_.row)) return;
  const QRegion before = floatArea();
  floatAt_ = topLeft;
  updateAnimation();
  emit changed(before + floatArea());
}

void SelectionOverlay::dropFloat() {
  if (!floating_) return;
  const QRegion before = floatArea();
  floating_.reset();
  floatEdges_.clear();
  updateAnimation();
  emit changed(before);
}

QRegion SelectionOverlay::floatArea() const {
  if (!floating_) return {};
  return QRect(floatAt_.column * kSectorPixels, floatAt_.row * kSectorPixels,
               floating_->width * kSectorPixels, floating_->height * kSectorPixels)
      .adjusted(-1, -1, 2, 2);
}

void SelectionOverlay::updateAnimation() {
  strips_ = {};
  for (const QLine &edge : selectionEdges_) strips_ += stripOf(edge.translated(dragOffset_));
  const QPoint floatOffset(floatAt_.column, floatAt_.row);
  for (const QLine &edge : floatEdges_) strips_ += stripOf(edge.translated(floatOffset));
  // No timer runs while there is nothing to animate.
  if (strips_.isEmpty())
    timer_.stop();
  else if (!timer_.isActive())
    timer_.start();
}

void SelectionOverlay::step() {
  dashOffset_ = (dashOffset_ + 1) % (2 * kDashLength);
  emit changed(strips_);
}

void SelectionOverlay::paintEdges(QPainter &painter, double level, const std::vector<QLine> &edges,
                                  QPoint offsetCells) const {
  const double cell = kSectorPixels * level;
  QPen light(Qt::white, 1);
  light.setCosmetic(true);
  QPen dashes(Qt::black, 1);
  dashes.setCosmetic(true);
  dashes.setDashPattern({double(kDashLength), double(kDashLength)});
  dashes.setDashOffset(dashOffset_);
  for (const QPen &pen : {light, dashes}) {
    painter.setPen(pen);
    for (const QLine &edge : edges) {
      const QLine moved = edge.translated(offsetCells);
      painter.drawLine(QPointF(moved.x1() * cell + 0.5, moved.y1() * cell + 0.5),
                       QPointF(moved.x2() * cell + 0.5, moved.y2() * cell + 0.5));
    }
  }
}

void SelectionOverlay::paint(QPainter &painter, double level, const QRect &exposed,
                             Plane plane) const {
  if (level <= 0 || (selectionEdges_.empty() && !floating_)) return;
  painter.save();
  painter.setClipRect(exposed);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (floating_) {
    const double cell = kSectorPixels * level;
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(QRectF(floatAt_.column * cell, floatAt_.row * cell, floating_->width * cell,
                             floating_->height * cell),
                      floatCells_[std::size_t(plane)]);
    paintEdges(painter, level, floatEdges_, QPoint(floatAt_.column, floatAt_.row));
  }
  paintEdges(painter, level, selectionEdges_, dragOffset_);
  painter.restore();
}

}  // namespace vmm
