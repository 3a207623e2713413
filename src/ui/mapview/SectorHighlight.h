// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QTimer>
#include <QWidget>

namespace vmm {

// A short-lived outline drawn over a view surface around one cell, to show where a
// jump landed. It is a child widget above the surface, so it never touches the
// surface's picture, scrolls with it and lets every mouse event through.
class SectorHighlight : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kShownMs = 1600;

  explicit SectorHighlight(QWidget *parent = nullptr);

  // Outlines `cell` (in the parent's coordinates) on `surface` for kShownMs.
  void flash(QWidget *surface, const QRect &cell);
  // Outlines `cell` on `surface` until told otherwise: the keyboard's Sector cursor.
  void hold(QWidget *surface, const QRect &cell);
  // The bright ring's colour (yellow unless set).
  void setRingColour(const QColor &colour) { ring_ = colour; }
  // The cell outlined last, in its surface's coordinates.
  QRect cell() const { return cell_; }

 protected:
  void paintEvent(QPaintEvent *event) override;

 private:
  static constexpr int kMargin = 4;  // the outline stands this far outside the cell

  QRect cell_;
  QColor ring_{255, 230, 0};
  QTimer hideTimer_;
};

}  // namespace vmm
