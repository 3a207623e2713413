// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/catalogue/TreeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <array>

namespace vmm {

namespace {

using Draw = void (*)(QPainter &);

void barrier(QPainter &p) {  // a wooden fence: posts and two rails
  p.setPen(QPen(QColor(0x6b, 0x44, 0x23), 2));
  for (int x : {3, 8, 13}) p.drawLine(x, 3, x, 14);
  p.setPen(QPen(QColor(0x9c, 0x6b, 0x3a), 2));
  p.drawLine(1, 6, 15, 6);
  p.drawLine(1, 11, 15, 11);
}

void explosive(QPainter &p) {  // a round bomb with a lit fuse
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x30, 0x30, 0x30));
  p.drawEllipse(QPointF(7, 10), 5.5, 5.5);
  p.setPen(QPen(QColor(0x8a, 0x6d, 0x3b), 1.5));
  p.drawLine(QPointF(10, 5.5), QPointF(12.5, 3));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xff, 0x8c, 0x00));
  p.drawEllipse(QPointF(13.5, 2.5), 2, 2);
}

void foliage(QPainter &p) {  // a leafy tree
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x7a, 0x4e, 0x26));
  p.drawRect(QRectF(6.5, 9, 3, 6));
  p.setBrush(QColor(0x2e, 0x8b, 0x3a));
  p.drawEllipse(QPointF(8, 6.5), 6, 5.5);
}

void fortification(QPainter &p) {  // a pillbox with a firing slit
  p.setPen(QPen(QColor(0x50, 0x50, 0x50), 1));
  p.setBrush(QColor(0x9a, 0x9a, 0x8a));
  QPainterPath dome;
  dome.moveTo(1, 14);
  dome.lineTo(1, 9);
  dome.quadTo(8, 1, 15, 9);
  dome.lineTo(15, 14);
  dome.closeSubpath();
  p.drawPath(dome);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0x20, 0x20));
  p.drawRect(QRectF(4, 8, 8, 2));
}

void item(QPainter &p) {  // a wooden crate
  p.setPen(QPen(QColor(0x6b, 0x44, 0x23), 1));
  p.setBrush(QColor(0xc8, 0x96, 0x5a));
  p.drawRect(QRectF(2.5, 3.5, 11, 11));
  p.drawLine(QPointF(2.5, 3.5), QPointF(13.5, 14.5));
  p.drawLine(QPointF(13.5, 3.5), QPointF(2.5, 14.5));
}

void roadway(QPainter &p) {  // a road in perspective with a dashed centre line
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x55, 0x55, 0x5a));
  p.drawPolygon(QPolygonF({QPointF(6, 1), QPointF(10, 1), QPointF(15, 15), QPointF(1, 15)}));
  p.setPen(QPen(QColor(0xf0, 0xd0, 0x30), 1.5));
  p.drawLine(QPointF(8, 2), QPointF(8, 5));
  p.drawLine(QPointF(8, 8), QPointF(8, 13));
}

void rubble(QPainter &p) {  // a heap of broken stones
  p.setPen(QPen(QColor(0x50, 0x45, 0x40), 1));
  p.setBrush(QColor(0xa0, 0x8c, 0x78));
  p.drawPolygon(QPolygonF({QPointF(1, 15), QPointF(3, 10), QPointF(7, 11), QPointF(6, 15)}));
  p.setBrush(QColor(0x8c, 0x78, 0x64));
  p.drawPolygon(QPolygonF({QPointF(6, 15), QPointF(8, 7), QPointF(12, 9), QPointF(15, 15)}));
  p.setBrush(QColor(0xb4, 0xa0, 0x8c));
  p.drawPolygon(QPolygonF({QPointF(4, 10), QPointF(6, 5), QPointF(9, 7), QPointF(7, 11)}));
}

void structure(QPainter &p) {  // a house
  p.setPen(QPen(QColor(0x5a, 0x2d, 0x1e), 1));
  p.setBrush(QColor(0xb0, 0x40, 0x30));
  p.drawPolygon(QPolygonF({QPointF(1, 8), QPointF(8, 1.5), QPointF(15, 8)}));
  p.setBrush(QColor(0xe6, 0xd2, 0xaa));
  p.drawRect(QRectF(3.5, 8, 9, 6.5));
  p.setBrush(QColor(0x6b, 0x44, 0x23));
  p.drawRect(QRectF(7, 10.5, 2.5, 4));
}

void allElements(QPainter &p) {  // a stack of three coloured tiles
  const std::array<QColor, 3> colours{QColor(0x2e, 0x8b, 0x3a), QColor(0x3a, 0x78, 0xc8),
                                      QColor(0xc8, 0x50, 0x3c)};
  p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
  for (int i = 0; i < 3; ++i) {
    p.setBrush(colours[static_cast<std::size_t>(i)]);
    p.drawRect(QRectF(1.5 + 3 * i, 7.5 - 3 * i, 8, 7));
  }
}

void gulley(QPainter &p) {  // a slope falling into a gulley
  p.setPen(QPen(QColor(0x5a, 0x46, 0x28), 1));
  p.setBrush(QColor(0xa8, 0x8a, 0x55));
  p.drawPolygon(QPolygonF({QPointF(0.5, 4), QPointF(6, 12), QPointF(10, 12), QPointF(15.5, 7),
                           QPointF(15.5, 15.5), QPointF(0.5, 15.5)}));
}

void terrain(QPainter &p) {  // a field under the sky
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x8c, 0xc8, 0xf0));
  p.drawRect(QRectF(0, 0, 16, 8));
  p.setBrush(QColor(0x6a, 0xa8, 0x3c));
  p.drawRect(QRectF(0, 8, 16, 8));
  p.setPen(QPen(QColor(0x46, 0x78, 0x28), 1));
  for (int x : {3, 8, 13}) p.drawLine(x, 10, x - 1, 15);
}

void misc(QPainter &p) {  // a marker flag
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5));
  p.drawLine(QPointF(4, 1.5), QPointF(4, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd0, 0x30, 0x30));
  p.drawPolygon(QPolygonF({QPointF(4.5, 2), QPointF(14, 5), QPointF(4.5, 8)}));
}

void water(QPainter &p) {  // three waves
  p.setPen(QPen(QColor(0x1e, 0x64, 0xc8), 1.8));
  p.setBrush(Qt::NoBrush);
  for (double y : {4.0, 8.5, 13.0}) {
    QPainterPath wave;
    wave.moveTo(1, y);
    wave.cubicTo(4, y - 3, 5, y + 3, 8, y);
    wave.cubicTo(11, y - 3, 12, y + 3, 15, y);
    p.drawPath(wave);
  }
}

void root(QPainter &p) {  // a closed book: the catalogue itself
  p.setPen(QPen(QColor(0x1e, 0x32, 0x5a), 1));
  p.setBrush(QColor(0x3c, 0x5a, 0x96));
  p.drawRect(QRectF(3.5, 1.5, 10, 13));
  p.setBrush(QColor(0xf0, 0xf0, 0xe6));
  p.drawRect(QRectF(3.5, 12.5, 10, 2));
  p.setPen(QPen(QColor(0xe6, 0xc8, 0x50), 1));
  p.drawLine(QPointF(6, 5), QPointF(11, 5));
  p.drawLine(QPointF(6, 7), QPointF(11, 7));
}

// Indexed by picture number - 1, in the numbering of the node table.
constexpr std::array<Draw, TreeIcons::kCount> kPictures{
    barrier,   explosive,   foliage, fortification, item, roadway, rubble,
    structure, allElements, gulley,  terrain,       misc, water,   root};

}  // namespace

QIcon TreeIcons::picture(int number) {
  if (number < 1 || number > kCount) return {};
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  kPictures[static_cast<std::size_t>(number - 1)](painter);
  painter.end();
  return QIcon(pixmap);
}

}  // namespace vmm
