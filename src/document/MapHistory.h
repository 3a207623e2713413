// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "document/MapDocument.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <functional>
#include <vector>

namespace vmm {

// One Sector's value before and after a step, packed into 8 bytes so that a
// long history of whole-map steps stays small.
struct SectorEdit {
  qint16 quad = 0;
  quint8 sector = 0;
  quint8 plane = 0;  // a Plane
  qint16 oldValue = kUnassigned;
  qint16 newValue = kUnassigned;

  Plane planeValue() const { return static_cast<Plane>(plane); }
  // Orders edits by Sector, so that two edits of the same Sector sit side by side.
  quint32 key() const { return (quint32(quint16(quad)) << 5) | (quint32(sector) << 1) | plane; }
};

// How the views catch up after a step is undone or redone: the Sectors it wrote, each new
// colour laid over the old one as the mouse laid it; the Sectors it wrote, each drawn over
// the picture alone as a whole-map repaint draws it (edits that write values wholesale:
// paste, move, flip); or the whole map.
enum class StepRepaint { Sectors, SectorsOverPicture, WholeMap };

// The undo history of a map document. It watches every real change of MapData
// (the document's single point of change) and turns the changes made between
// beginStep() and endStep() into one QUndoCommand that keeps only the Sectors it
// touched. Steps that share a stroke id merge, so a whole mouse stroke is one
// step. Undo and redo write the values back through the document and report
// what they wrote, for the views to repaint.
class MapHistory : public QObject, private ChangeObserver {
  Q_OBJECT

 public:
  // Steps kept before the oldest are dropped. A whole-map step of the largest
  // map holds 160 032 Sector values (about 0.65 MB, packed at 4 bytes each), so
  // 100 steps stay under 70 MB even in the worst case; a stroke takes a few
  // hundred bytes.
  static constexpr int kDefaultStepLimit = 100;

  explicit MapHistory(MapDocument &document, int stepLimit = kDefaultStepLimit,
                      QObject *parent = nullptr);
  ~MapHistory() override;

  QUndoStack &stack() { return stack_; }
  const QUndoStack &stack() const { return stack_; }

  // Changes from here to endStep() become one step named `name` ("Paint",
  // "Randomise Trees" ...). Steps with the same non-zero strokeId merge into one.
  // Nested begin/end pairs fold into the outermost step.
  void beginStep(const QString &name, StepRepaint repaint = StepRepaint::Sectors, int strokeId = 0);
  void endStep();
  bool inStep() const { return depth_ > 0; }
  // What the step endStep() just closed changed, sorted by Sector with each Sector once (its
  // first old and last new value); empty when it changed nothing. Valid until the next step
  // or change begins.
  const std::vector<SectorEdit> &endedStep() const { return pending_; }
  // A fresh id for the next stroke; never 0.
  int newStrokeId() { return ++lastStrokeId_; }

  bool canUndo() const { return !inStep() && stack_.canUndo(); }
  bool canRedo() const { return !inStep() && stack_.canRedo(); }
  void undo();
  void redo();

  // The unsaved-changes state: clean after an export or a complete map data
  // import, and again after undoing or redoing back to that point.
  bool isClean() const { return stack_.isClean(); }
  void markSaved() { stack_.setClean(); }
  // No point of the history matches a file any more (a recovered map).
  void markUnsaved() { stack_.resetClean(); }
  // Makes `change` without recording it, then forgets every step: a map opened from a
  // project starts a history of its own, clean.
  void restart(const std::function<void()> &change);

  // Bytes held by the steps' Sector records.
  qsizetype byteSize() const;

 signals:
  // Undo or redo wrote these Sectors back (their values are now the document's).
  void sectorsRestored(const std::vector<SectorEdit> &edits, StepRepaint repaint);
  // The map changed: a step was recorded, undone or redone.
  void documentChanged();

 private:
  friend class SectorEditCommand;

  void sectorChanged(const SectorChange &change) override;
  // Writes one side of a step into the document without recording it.
  void apply(const std::vector<SectorEdit> &edits, bool newValues, qint16 totalQuads,
             StepRepaint repaint);

  MapDocument &document_;
  QUndoStack stack_;
  int depth_ = 0;
  QString stepName_;
  StepRepaint stepRepaint_ = StepRepaint::Sectors;
  int stepStroke_ = 0;
  qint16 totalQuadsBefore_ = 0;
  std::vector<SectorEdit> pending_;
  int lastStrokeId_ = 0;
  int looseStroke_ = 0;  // merges changes made outside any step
  bool applying_ = false;
};

// Records everything done in its scope as one step of `history` (if any).
class HistoryStep {
 public:
  HistoryStep(MapHistory *history, const QString &name, StepRepaint repaint = StepRepaint::WholeMap,
              int strokeId = 0)
      : history_(history) {
    if (history_) history_->beginStep(name, repaint, strokeId);
  }
  ~HistoryStep() {
    if (history_) history_->endStep();
  }
  HistoryStep(const HistoryStep &) = delete;
  HistoryStep &operator=(const HistoryStep &) = delete;

 private:
  MapHistory *history_;
};

}  // namespace vmm
