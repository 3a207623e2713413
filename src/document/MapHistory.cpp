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

// One step of the history: the Sectors it changed and the map's Quad count
// around it. It is pushed after the change was made, so the first redo() that
// QUndoStack::push() calls does nothing.
class SectorEditCommand : public QUndoCommand {
 public:
  SectorEditCommand(MapHistory &history, const QString &name, std::vector<SectorEdit> edits,
                    StepRepaint repaint, int strokeId, qint16 totalBefore, qint16 totalAfter)
      : QUndoCommand(name),
        history_(history),
        edits_(std::move(edits)),
        repaint_(repaint),
        strokeId_(strokeId),
        totalBefore_(totalBefore),
        totalAfter_(totalAfter) {
    edits_.shrink_to_fit();
  }

  void undo() override { history_.apply(edits_, false, totalBefore_, repaint_); }
  void redo() override {
    if (alreadyDone_) {
      alreadyDone_ = false;
      return;
    }
    history_.apply(edits_, true, totalAfter_, repaint_);
  }

  int id() const override { return strokeId_ != 0 ? kStrokeCommandId : -1; }

  bool mergeWith(const QUndoCommand *other) override {
    const auto *next = dynamic_cast<const SectorEditCommand *>(other);
    if (next == nullptr || next->strokeId_ != strokeId_) return false;
    // Both lists are sorted by Sector: merging keeps each Sector's edits in order.
    const auto middle = static_cast<std::ptrdiff_t>(edits_.size());
    edits_.insert(edits_.end(), next->edits_.begin(), next->edits_.end());
    std::inplace_merge(edits_.begin(), edits_.begin() + middle, edits_.end(), byKey);
    foldSorted(edits_);
    totalAfter_ = next->totalAfter_;
    setObsolete(edits_.empty() && totalBefore_ == totalAfter_);
    return true;
  }

  qsizetype byteSize() const {
    return qsizetype(sizeof(*this) + edits_.capacity() * sizeof(SectorEdit));
  }

 private:
  MapHistory &history_;
  std::vector<SectorEdit> edits_;
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
  // The step takes a copy of exactly its size; the list keeps its room for the next step,
  // so a large step does not grow it again from nothing.
  stack_.push(new SectorEditCommand(*this, stepName_, {pending_.begin(), pending_.end()},
                                    stepRepaint_, stepStroke_, totalQuadsBefore_,
                                    document_.TotalQuads));
  pending_.clear();
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
  applying_ = true;
  change();
  applying_ = false;
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
