// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "session/PictureTracing.h"
#include "ui/docks/RefreshingPanel.h"

#include <QPointer>
#include <QThreadPool>

#include <memory>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace vmm {

class MapViewWindow;

// "Paint from Picture": the classifier's suggestions for the unassigned Sectors of the
// shown plane, previewed on the map, with the minimum confidence, the counts, "Apply"
// and "Close". The suggestions are worked out on a thread of the dock's own a moment
// after the map changes, so painting more examples never waits for them; when several
// requests come while one is worked out, only the newest is worked out next.
class PaintFromPictureWindow : public RefreshingPanel {
  Q_OBJECT

 public:
  static constexpr int kGatherMs = 150;
  static constexpr float kDefaultMinimum = 0.6f;

  explicit PaintFromPictureWindow(EditorSession &session, QWidget *parent = nullptr);
  ~PaintFromPictureWindow() override;

  // The map view whose preview shows the suggestions (none: no preview).
  void setMapView(MapViewWindow *view);
  // The plane the suggestions are for: elements, or heights on the Elevation view.
  void setPlane(Plane plane);
  Plane plane() const { return plane_; }
  float minimumConfidence() const;
  void setMinimumConfidence(float minimum);
  // The "Follow the picture" check box: Fill Area clicks fill similar Sectors.
  bool followsPicture() const;
  // The suggestions worked out last as counted and previewed: inside the selection while
  // there is one (empty before the first).
  const TraceSuggestions &suggestions() const { return shown_; }
  bool isWorking() const { return running_; }

  // "Apply": the suggestions at or above the minimum, as one undo step.
  TraceOutcome apply();
  // Fill Similar at `start` on `plane`, with suggestions as the map stands now (worked out
  // here and now when the last ones are out of date). Returns the changed area.
  QRect fillSimilar(Plane plane, SectorAddress start);

  // What the GUI thread does with a finished run: `suggestions`, made from `examples`, are
  // counted and previewed if the map still holds those examples. False when it no longer
  // does (a newer run is due). Public so that its cost on a maximum map is measured.
  bool showResult(TraceSuggestions suggestions, const std::vector<qint16> &examples);

  QSlider *slider() const { return slider_; }
  QLabel *counts() const { return counts_; }
  QPushButton *applyButton() const { return apply_; }

 signals:
  // Apply painted: the main window repaints `outcome.changed` and lists the unsure Sectors.
  void applied(const TraceOutcome &outcome, Plane plane);
  void closeRequested();
  // New suggestions are shown.
  void suggestionsShown();

 protected:
  void rebuild() override;
  void showEvent(QShowEvent *event) override;
  void hideEvent(QHideEvent *event) override;

 private:
  struct Result;
  void startWork();
  void finishWork(const std::shared_ptr<Result> &result);
  void showSuggestions();
  void showCounts();

  EditorSession &session_;
  PictureTracer tracer_;
  QPointer<MapViewWindow> view_;
  Plane plane_ = Plane::Element;
  TraceSuggestions suggestions_;
  TraceSuggestions shown_;  // suggestions_ confined to the selection
  bool current_ = false;    // the suggestions match the map as it stands
  std::shared_ptr<const SectorFeatures> features_;
  qint64 featuresKey_ = 0;
  QThreadPool worker_;
  bool running_ = false;
  bool requestWaiting_ = false;
  QSlider *slider_ = nullptr;
  QLabel *minimumLabel_ = nullptr;
  QLabel *counts_ = nullptr;
  QCheckBox *follow_ = nullptr;
  QPushButton *apply_ = nullptr;
  QPushButton *close_ = nullptr;
};

}  // namespace vmm
