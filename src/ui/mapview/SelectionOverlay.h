// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "edits/SectorBlock.h"

#include <QImage>
#include <QLine>
#include <QObject>
#include <QPoint>
#include <QRegion>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <vector>

class QPainter;

namespace vmm {

// What the views draw over the map for a selection: an animated outline along the Sector
// edges of the selected shape (shifted while a move is dragged), and a floating stamp of
// pasted Sectors in their colours that follows the pointer. The outline is kept as runs of
// cell edges, so it costs its perimeter at every zoom level; the animation moves the dashes
// on a timer and repaints only thin strips along those edges.
class SelectionOverlay : public QObject {
  Q_OBJECT

 public:
  using ColourOf = std::function<std::optional<QRgb>(Plane plane, qint16 value)>;

  explicit SelectionOverlay(QObject *parent = nullptr);

  void showSelection(const SectorSelection &selection);
  // The outline drawn `cells` away from the selection (a move being dragged).
  void setDragOffset(QPoint cells);
  QPoint dragOffset() const { return dragOffset_; }

  // A block floating with its top-left cell at `topLeft`, coloured by `colourOf`.
  void startFloating(const SectorBlock &block, SectorCell topLeft, const ColourOf &colourOf);
  void moveFloat(SectorCell topLeft);
  void dropFloat();
  bool isFloating() const { return floating_.has_value(); }
  const SectorBlock &floatingBlock() const { return *floating_; }
  SectorCell floatPosition() const { return floatAt_; }

  // Draws over `exposed` of a view of `plane` (in the painter's coordinates, where picture
  // pixel p lies at p * level).
  void paint(QPainter &painter, double level, const QRect &exposed, Plane plane) const;
  // The picture pixels whose look changes with the dashes' step (the outline's strips).
  const QRegion &animatedArea() const { return strips_; }
  bool isAnimating() const { return timer_.isActive(); }
  // Moves the dashes on by one step, as the timer does.
  void step();

 signals:
  // Picture pixels to draw again.
  void changed(const QRegion &area);

 private:
  struct Outline {
    std::vector<QLine> edges;  // in cells: horizontal and vertical runs of cell edges
    QRegion strips;            // picture pixels along the edges
  };
  static Outline outlineOf(const std::vector<quint8> &marks, int columns, int rows);
  void setOutline(Outline outline);
  void paintEdges(QPainter &painter, double level, const std::vector<QLine> &edges,
                  QPoint offsetCells) const;
  void updateAnimation();
  QRegion floatArea() const;

  std::vector<QLine> selectionEdges_;
  std::vector<QLine> floatEdges_;
  QRegion strips_;
  QPoint dragOffset_;
  std::optional<SectorBlock> floating_;
  SectorCell floatAt_;
  std::array<QImage, 2> floatCells_;  // one pixel per cell, for each plane
  int dashOffset_ = 0;
  QTimer timer_;
};

}  // namespace vmm
