// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

namespace vmm {

// A dock's contents worked out from the map. Requests to work them out again are
// gathered by a timer; the work is done only while the panel is shown, and once
// more when it is shown after a request it missed.
class RefreshingPanel : public QWidget {
  Q_OBJECT

 public:
  enum class Timing {
    Gather,  // the first request starts the timer: a long stroke still shows as it goes
    Settle,  // every request restarts it: the work waits until the edits pause
  };

  RefreshingPanel(Timing timing, int delayMs, QWidget *parent = nullptr);

  // The map changed: the contents follow after the delay.
  void scheduleRefresh();
  // Works the contents out now (only while shown; otherwise when next shown).
  void refresh();
  bool refreshPending() const { return timer_.isActive(); }

 protected:
  virtual void rebuild() = 0;
  void showEvent(QShowEvent *event) override;

 private:
  Timing timing_;
  QTimer timer_;
  bool stale_ = true;
};

}  // namespace vmm
