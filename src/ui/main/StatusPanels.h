// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QWidget>

#include <vector>

class QLabel;

namespace vmm {

// A status bar with keyed panels: fixed-width framed labels with a key, a bevel
// and a click signal. Panels are numbered from 1 at the left.
class StatusPanels : public QWidget {
  Q_OBJECT

 public:
  enum Bevel { NoBevel = 0, Inset = 1, Raised = 2 };

  struct PanelLayout {
    int widthTwips = 0;
    QString key;
    Bevel bevel = NoBevel;
  };

  explicit StatusPanels(const std::vector<PanelLayout> &panels, QWidget *parent = nullptr);

  int count() const { return static_cast<int>(panels_.size()); }
  QString text(int panel) const;
  void setText(int panel, const QString &text);
  Bevel bevel(int panel) const;
  void setBevel(int panel, Bevel bevel);
  QString key(int panel) const;
  // Number of the panel with this key, or 0 when there is none.
  int panelWithKey(const QString &key) const;
  // Pixel rectangle of a panel inside this widget (for tests and tools that click it).
  QRect panelRect(int panel) const;
  // Number of the panel under a point of this widget, or 0 when there is none.
  int panelUnder(QPoint point) const;
  // What the panel does, shown when the pointer rests on it.
  void setPanelToolTip(int panel, const QString &text);
  QString panelToolTip(int panel) const;

 signals:
  void panelClicked(int panel, const QString &key);

 protected:
  bool event(QEvent *event) override;
  void mouseReleaseEvent(QMouseEvent *event) override;

 private:
  struct Panel {
    QLabel *label = nullptr;
    QString key;
    Bevel bevel = NoBevel;
    QString toolTip;
  };
  const Panel *panelAt(int panel) const;
  void applyBevel(Panel &panel);

  std::vector<Panel> panels_;
};

}  // namespace vmm
