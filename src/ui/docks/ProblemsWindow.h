// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/MapProblems.h"
#include "ui/docks/RefreshingPanel.h"

#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

namespace vmm {

class EditorSession;

// "Problems": what the game would trip over in the map being edited, as
// `varga-map check` finds it, grouped by kind, one line per Quad or Sector.
// The list is worked out again a moment after the edits stop (never while a
// stroke goes on) and only while the window is shown. Double-clicking a line
// asks for its Sector to be shown.
class ProblemsWindow : public RefreshingPanel {
  Q_OBJECT

 public:
  // Lines shown per kind; the rest are counted on one closing line.
  static constexpr int kLinesPerKind = 500;
  static constexpr int kSettleMs = 400;

  explicit ProblemsWindow(EditorSession &session, QWidget *parent = nullptr);

  QTreeWidget *list() const { return list_; }
  QLabel *summary() const { return summary_; }
  // The findings shown, as worked out last.
  const MapProblemList &problems() const { return problems_; }

  // The Sectors Paint from Picture left unsure on `plane`: listed under "Unsure" while
  // they stay unassigned, so the map maker finishes them by hand.
  void setUnsureSectors(Plane plane, std::vector<SectorAddress> sectors);
  int unsureCount() const { return int(unsure_.size()); }
  // Event handler, public so that the tests and tools can drive it.
  void lineActivated(QTreeWidgetItem *line);

 signals:
  void sectorRequested(int quad, int sector);

 protected:
  void rebuild() override;

 private:
  void fillList();

  EditorSession &session_;
  QLabel *summary_ = nullptr;
  QTreeWidget *list_ = nullptr;
  MapProblemList problems_;
  Plane unsurePlane_ = Plane::Element;
  std::vector<SectorAddress> unsure_;
};

}  // namespace vmm
