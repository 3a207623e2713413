// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/docks/RefreshingPanel.h"

namespace vmm {

RefreshingPanel::RefreshingPanel(Timing timing, int delayMs, QWidget *parent)
    : QWidget(parent), timing_(timing) {
  timer_.setSingleShot(true);
  timer_.setInterval(delayMs);
  connect(&timer_, &QTimer::timeout, this, &RefreshingPanel::refresh);
}

void RefreshingPanel::scheduleRefresh() {
  stale_ = true;
  if (timing_ == Timing::Settle || !timer_.isActive()) timer_.start();
}

void RefreshingPanel::refresh() {
  stale_ = true;
  if (!isVisible()) return;
  stale_ = false;
  timer_.stop();
  rebuild();
}

void RefreshingPanel::showEvent(QShowEvent *event) {
  QWidget::showEvent(event);
  if (stale_) refresh();
}

}  // namespace vmm
