// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapGeometry.h"
#include "ui/catalogue/ElementDataWindow.h"
#include "ui/docks/RefreshingPanel.h"

#include <QPointer>

class QLabel;
class QTabBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace vmm {

class EditorSession;

// What the map holds, as the "Legend" dock shows it: on the Elements tab every
// element on the map with its colour, name and number of Sectors; on the Heights
// tab the height colour scale 0 to 100 with the Sectors of each height; on both a
// line for the unassigned Sectors. The counts come from the session's statistics,
// which follow every change; the rows catch up within a moment, during a stroke too.
// Clicking an element or a height makes it the one to paint with; double-clicking
// an element opens its "Element Data".
class LegendWindow : public RefreshingPanel {
  Q_OBJECT

 public:
  explicit LegendWindow(EditorSession &session, QWidget *parent = nullptr);

  QTreeWidget *rows() const { return rows_; }
  QLabel *summary() const { return summary_; }
  ElementDataWindow *elementDataWindow() const { return dataWindow_; }

  Plane plane() const;
  void setPlane(Plane plane);

  // Event handlers, public so that the tests and tools can drive them.
  void rowClicked(QTreeWidgetItem *row);
  void rowDoubleClicked(QTreeWidgetItem *row);

 signals:
  void elementChosen(const QString &name);
  void heightChosen(qint16 height);

 protected:
  void rebuild() override;

 private:
  EditorSession &session_;
  QTabBar *tabs_ = nullptr;
  QLabel *summary_ = nullptr;
  QTreeWidget *rows_ = nullptr;
  QPointer<ElementDataWindow> dataWindow_;
};

}  // namespace vmm
