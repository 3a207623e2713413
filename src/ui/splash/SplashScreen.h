// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

class QFrame;

namespace vmm {

// The start-up window: title and version for two seconds, or until a click or a
// key, then it hands over to the main window exactly once.
class SplashScreen : public QWidget {
  Q_OBJECT

 public:
  explicit SplashScreen(QWidget *parent = nullptr);

  static constexpr int kIntervalMs = 2000;
  bool handedOver() const { return handedOver_; }
  const QTimer &timer() const { return timer_; }

 signals:
  void handOver();

 protected:
  void mousePressEvent(QMouseEvent *event) override;
  void keyPressEvent(QKeyEvent *event) override;
  bool eventFilter(QObject *watched, QEvent *event) override;

 private:
  void finish();

  QTimer timer_;
  QFrame *frame_ = nullptr;
  bool handedOver_ = false;
};

}  // namespace vmm
