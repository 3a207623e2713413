// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/catalogue/ColourSwatch.h"

#include "gdi/SystemColours.h"

#include <QPainter>
#include <QPixmap>

namespace vmm {

namespace {

QIcon framedSquare(const QBrush &fill, int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.fillRect(1, 1, size - 2, size - 2, fill);
  painter.setPen(QColor(40, 40, 40));
  painter.drawRect(0, 0, size - 1, size - 1);
  return QIcon(pixmap);
}

}  // namespace

QIcon colourSwatch(ColorRef colour, int size) {
  return framedSquare(QColor::fromRgb(toPixel(toRgb(colour))), size);
}

QIcon blankSwatch(int size) {
  return framedSquare(QBrush(QColor(150, 150, 150), Qt::BDiagPattern), size);
}

}  // namespace vmm
