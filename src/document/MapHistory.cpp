// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/MapHistory.h"

#include <QUndoCommand>

#include <algorithm>

namespace vmm {

namespace {

constexpr int kStrokeCommandId = 0x564D;  // any id: strokes merge only with strokes

bool byKey(const SectorEdit &a, const SectorEdit &b) {
  return a.key() < b.key();
}

// Folds repeated edits of one Sector, which sit side by side in a list sorted by
// Sector, into one (its first old value, its last new value), and drops Sectors
// that end where they began.
void foldSorted(std::vector<SectorEdit> &edits) {
  std::size_t out = 0;
  for (std::size_t i = 0; i < edits.size();) {
    SectorEdit merged = edits[i];
    std::size_t j = i + 1;
    for (; j < edits.size() && edits[j].key() == merged.key(); ++j)
      merged.newValue = edits[j].newValue;
    if (merged.oldValue != merged.newValue) edits[out++] = merged;
    i = j;
  }
  edits.resize(out);
}

// Sorts the edits by Sector (stable, so repeated edits keep their order) and folds them.
void compact(std::vector<SectorEdit> &edits) {
  // Area edits write their Sectors in array order already; sorting them again would
  // cost a whole-map bucket fill several milliseconds.
  if (!std::is_sorted(edits.begin(), edits.end(), byKey))
    std::stable_sort(edits.begin(), edits.end(), byKey);
  foldSorted(edits);
}

}  // namespace

// A step's edits as runs of consecutive Sector keys with their old and new values: 4 bytes an
// edit instead of 8. Most large steps (a paste, a fill, a bulk edit) cover long runs of
// Sectors, and a history of them takes half the memory, written once when the step ends.
class PackedEdits {
 public:
  explicit PackedEdits(const std::vector<SectorEdit> &edits) {
    oldValues_.reserve(edits.size());
    newValues_.reserve(edits.size());
    for (const SectorEdit &edit : edits) {
      if (runs_.empty() || runs_.back().start + runs_.back().length != edit.key())
        runs_.push_back({edit.key(), 0});
      ++runs_.back().length;
      oldValues_.push_back(edit.oldValue);
      newValues_.push_back(edit.newValue);
    }
    runs_.shrink_to_fit();
  }

  std::vector<SectorEdit> unpacked() const {
    std::vector<SectorEdit> edits;
    edits.reserve(oldValues_.size());
    for (const Run &run : runs_)
      for (quint32 key = run.start; key < run.start + run.length; ++key) {
        const std::size_t at = edits.size();
        edits.push_back({qint16(key >> 5), quint8((key >> 1) & 0xF), quint8(key & 1),
                         oldValues_[at], newValues_[at]});
      }
    return edits;
  }

  bool isEmpty() const { return oldValues_.empty(); }
  qsizetype byteSize() const {
    return qsizetype(runs_.capacity() * sizeof(Run) +
                     (oldValues_.capacity() + newValues_.capacity()) * sizeof(qint16));
  }

 private:
  struct Run {
    quint32 start;
    quint32 length;
  };
  std::vector<Run> runs_;
  std::vector<qint16> oldValues_;
  std::vector<qint16> newValues_;
};

// One step of the history: the Sectors it changed and the map's Quad count
// around it. It is pushed after the change was made, so the first redo() that
// QUndoStack::push() calls does nothing.
class SectorEditCommand : public QUndoCommand {
 public:
  SectorEditCommand(MapHistory &history, const QString &name, const std::vector<SectorEdit> &edits,
                    StepRepaint repaint, int strokeId, qint16 totalBefore, qint16 totalAfter)
      : QUndoCommand(name),
        history_(history),
        edits_(edits),
        repaint_(repaint),
        strokeId_(strokeId),
        totalBefore_(totalBefore),
        totalAfter_(totalAfter) {}

  void undo() override { history_.apply(edits_.unpacked(), false, totalBefore_, repaint_); }
  void redo() override {
    if (alreadyDone_) {
      alreadyDone_ = false;
      return;
    }
    history_.apply(edits_.unpacked(), true, totalAfter_, repaint_);
  }

  int id() const override { return strokeId_ != 0 ? kStrokeCommandId : -1; }

  bool mergeWith(const QUndoCommand *other) override {
    const auto *next = dynamic_cast<const SectorEditCommand *>(other);
    if (next == nullptr || next->strokeId_ != strokeId_) return false;
    // Both lists are sorted by Sector: merging keeps each Sector's edits in order.
    std::vector<SectorEdit> edits = edits_.unpacked();
    const std::vector<SectorEdit> later = next->edits_.unpacked();
    const auto middle = static_cast<std::ptrdiff_t>(edits.size());
    edits.insert(edits.end(), later.begin(), later.end());
    std::inplace_merge(edits.begin(), edits.begin() + middle, edits.end(), byKey);
    foldSorted(edits);
    edits_ = PackedEdits(edits);
    totalAfter_ = next->totalAfter_;
    setObsolete(edits_.isEmpty() && totalBefore_ == totalAfter_);
    return true;
  }

  qsizetype byteSize() const { return qsizetype(sizeof(*this)) + edits_.byteSize(); }

 private:
  MapHistory &history_;
  PackedEdits edits_;
  StepRepaint repaint_;
  int strokeId_;
  qint16 totalBefore_;
  qint16 totalAfter_;
  bool alreadyDone_ = true;
};

MapHistory::MapHistory(MapDocument &document, int stepLimit, QObject *parent)
    : QObject(parent), document_(document) {
  stack_.setUndoLimit(stepLimit);
  document_.addChangeObserver(this);
}

MapHistory::~MapHistory() {
  document_.removeChangeObserver(this);
}

void MapHistory::beginStep(const QString &name, StepRepaint repaint, int strokeId) {
  if (depth_++ > 0) {
    // A nested step folds into the outer one, which then repaints as much as either needs.
    if (repaint == StepRepaint::WholeMap) stepRepaint_ = repaint;
    return;
  }
  stepName_ = name;
  stepRepaint_ = repaint;
  stepStroke_ = strokeId;
  totalQuadsBefore_ = document_.TotalQuads;
  pending_.clear();
  looseStroke_ = 0;
}

void MapHistory::endStep() {
  if (depth_ == 0 || --depth_ > 0) return;
  compact(pending_);
  if (pending_.empty() && totalQuadsBefore_ == document_.TotalQuads) return;
  // The step keeps a packed copy; the list keeps its room for the next step, so a large step
  // does not grow it again from nothing, and stays readable as endedStep().
  stack_.push(new SectorEditCommand(*this, stepName_, pending_, stepRepaint_, stepStroke_,
                                    totalQuadsBefore_, document_.TotalQuads));
  emit documentChanged();
}

void MapHistory::sectorChanged(const SectorChange &change) {
  if (applying_) return;
  const SectorEdit edit{qint16(change.quad), quint8(change.sector), quint8(change.plane),
                        change.oldValue, change.newValue};
  if (inStep()) {
    pending_.push_back(edit);
    return;
  }
  // A change made outside any step still counts: consecutive ones form one step.
  if (looseStroke_ == 0) looseStroke_ = newStrokeId();
  const int stroke = looseStroke_;
  beginStep(tr("Edit"), StepRepaint::Sectors, stroke);
  pending_.push_back(edit);
  endStep();
  looseStroke_ = stroke;
}

void MapHistory::undo() {
  if (!canUndo()) return;
  stack_.undo();
  // Told only now, so that listeners see the stack's new clean state.
  emit documentChanged();
}

void MapHistory::redo() {
  if (!canRedo()) return;
  stack_.redo();
  emit documentChanged();
}

void MapHistory::restart(const std::function<void()> &change) {
  // Not listening at all while the change is made: a whole map opened or imported is
  // 160,000 changes that nothing records.
  document_.removeChangeObserver(this);
  change();
  document_.addChangeObserver(this);
  stack_.clear();
}

void MapHistory::apply(const std::vector<SectorEdit> &edits, bool newValues, qint16 totalQuads,
                       StepRepaint repaint) {
  applying_ = true;
  for (const SectorEdit &edit : edits)
    document_.setValue(edit.quad, edit.sector, edit.planeValue(),
                       newValues ? edit.newValue : edit.oldValue);
  document_.TotalQuads = totalQuads;
  applying_ = false;
  emit sectorsRestored(edits, repaint);
}

qsizetype MapHistory::byteSize() const {
  qsizetype bytes = 0;
  for (int i = 0; i < stack_.count(); ++i)
    if (const auto *command = dynamic_cast<const SectorEditCommand *>(stack_.command(i)))
      bytes += command->byteSize();
  return bytes;
}

}  // namespace vmm
