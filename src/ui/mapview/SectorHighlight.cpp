// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/mapview/SectorHighlight.h"

#include <QPainter>

namespace vmm {

SectorHighlight::SectorHighlight(QWidget *parent) : QWidget(parent) {
  setObjectName(QStringLiteral("sectorHighlight"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  hide();
  hideTimer_.setSingleShot(true);
  connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

void SectorHighlight::flash(QWidget *surface, const QRect &cell) {
  hold(surface, cell);
  hideTimer_.start(kShownMs);
}

void SectorHighlight::hold(QWidget *surface, const QRect &cell) {
  hideTimer_.stop();
  cell_ = cell;
  if (parentWidget() != surface) setParent(surface);
  setGeometry(cell.adjusted(-kMargin, -kMargin, kMargin, kMargin));
  raise();
  show();
  update();
}

void SectorHighlight::paintEvent(QPaintEvent *) {
  // A dark ring inside a bright one, so the outline shows on any colour.
  QPainter painter(this);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(ring_, 3));
  painter.drawRect(rect().adjusted(1, 1, -2, -2));
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(rect().adjusted(3, 3, -4, -4));
  painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace vmm
