// Undo and redo, the unsaved-changes state and the recovery copy: the history
// and the recovery file live in the core, the window wires them to its menus,
// its title, its close box and its views.
#include "app/widgets/MDIfrmMain.h"

#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/widgets/frmMapView.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

namespace vmm {

namespace {

const QString kTitle = QStringLiteral("Varga Map Maker");

QList<QKeySequence> redoShortcuts() {
  // Ctrl+Y and Ctrl+Shift+Z both redo, whatever the platform's own choice is.
  QList<QKeySequence> keys = QKeySequence::keyBindings(QKeySequence::Redo);
  for (const QKeySequence &extra :
       {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)})
    if (!keys.contains(extra)) keys << extra;
  return keys;
}

}  // namespace

void MDIfrmMain::addUndoActions(QMenu *menu) {
  mnuUndo_ = menu->addAction(tr("Undo"));
  mnuUndo_->setObjectName(QStringLiteral("mnuUndo"));
  mnuUndo_->setShortcuts(QKeySequence::Undo);
  mnuRedo_ = menu->addAction(tr("Redo"));
  mnuRedo_->setObjectName(QStringLiteral("mnuRedo"));
  mnuRedo_->setShortcuts(redoShortcuts());
  menu->addSeparator()->setObjectName(QStringLiteral("mnuUndoSep"));

  connect(mnuUndo_, &QAction::triggered, history_.get(), &MapHistory::undo);
  connect(mnuRedo_, &QAction::triggered, history_.get(), &MapHistory::redo);
  const QUndoStack &stack = history_->stack();
  auto caption = [](const QString &verb, const QString &step) {
    return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
  };
  connect(&stack, &QUndoStack::undoTextChanged, mnuUndo_,
          [this, caption](const QString &step) { mnuUndo_->setText(caption(tr("Undo"), step)); });
  connect(&stack, &QUndoStack::redoTextChanged, mnuRedo_,
          [this, caption](const QString &step) { mnuRedo_->setText(caption(tr("Redo"), step)); });
  connect(&stack, &QUndoStack::canUndoChanged, mnuUndo_, &QAction::setEnabled);
  connect(&stack, &QUndoStack::canRedoChanged, mnuRedo_, &QAction::setEnabled);
  mnuUndo_->setEnabled(false);
  mnuRedo_->setEnabled(false);
}

void MDIfrmMain::setUpHistory() {
  recovery_ = std::make_unique<RecoveryService>(document_.DatabaseLocation, [this] {
    return RecoveryContent{picturePath_, vargaMapText(document_)};
  });

  connect(history_.get(), &MapHistory::sectorsRestored, this, &MDIfrmMain::repaintRestored);
  connect(history_.get(), &MapHistory::documentChanged, this, [this] {
    if (!history_->isClean()) recovery_->scheduleWrite();
  });
  connect(&history_->stack(), &QUndoStack::cleanChanged, this, &MDIfrmMain::historyCleanChanged);
  // The map matches a file again after a Varga export or a complete map data import.
  connect(this, &MDIfrmMain::mapSaved, history_.get(), &MapHistory::markSaved);
  connect(this, &MDIfrmMain::mapDataImported, history_.get(), &MapHistory::markSaved);
  updateTitle();
}

void MDIfrmMain::historyCleanChanged(bool clean) {
  // Saved work needs no recovery copy.
  if (clean) recovery_->discard();
  updateTitle();
}

void MDIfrmMain::updateTitle() {
  setWindowTitle(history_->isClean() ? kTitle : QLatin1Char('*') + kTitle);
}

void MDIfrmMain::repaintRestored(const std::vector<SectorEdit> &edits, StepRepaint repaint) {
  if (!mapView_) return;
  if (repaint == StepRepaint::WholeMap) {
    repaintWholeMap();
    return;
  }
  // The values are already in the array: with MapReady at 0 the colouring
  // routines only draw them. Each cell gets the picture back first, so a
  // transparent colour is not laid over the one it replaces.
  const qint16 ready = document_.MapReady;
  document_.MapReady = 0;
  QRect changed[2];
  for (const SectorEdit &edit : edits) {
    const Plane plane = edit.planeValue();
    const qint16 value = document_.value(edit.quad, edit.sector, plane);
    QRect &area = changed[static_cast<int>(plane)];
    area |= painter_->eraseSquare(plane, edit.quad, edit.sector);
    if (value != kUnassigned) area |= painter_->colourSquare(plane, edit.quad, edit.sector, value);
  }
  document_.MapReady = ready;
  for (const Plane plane : {Plane::Element, Plane::Height})
    if (const QRect &area = changed[static_cast<int>(plane)]; !area.isEmpty())
      mapView_->refresh(MapSurfaces::viewOf(plane), area);
}

QString MDIfrmMain::exitQuestion() const {
  QString text = QStringLiteral("Are you sure you wish to EXIT ?");
  if (!history_->isClean())
    text +=
        QStringLiteral("\n\nThe map has changes that have not been exported; they will be lost.");
  return text;
}

bool MDIfrmMain::confirmClose() {
  if (history_->isClean()) return true;
  const MessageAnswer answer =
      dialogs_->message(QStringLiteral("The map has changes that have not been exported.\n"
                                       "Export them as a Varga file before closing?"),
                        QStringLiteral("Unsaved Changes"), MessageIcon::Warning,
                        MessageButtons::ExportDiscardCancel, MessageAnswer::Export);
  switch (answer) {
    case MessageAnswer::Export:
      // Closing only once the work is safely in a file.
      return exportMapText(MapEdition::Varga);
    case MessageAnswer::Discard:
      return true;
    default:
      return false;
  }
}

void MDIfrmMain::endSession() {
  recovery_->discard();
}

void MDIfrmMain::offerRecovery() {
  if (!recovery_->hasRecovery()) return;
  QString error;
  const std::optional<RecoveryContent> content = recovery_->load(&error);
  if (!content) {
    dialogs_->message(tr("The unsaved map of the last session could not be read: %1").arg(error),
                      QStringLiteral("Restore Unsaved Map"), MessageIcon::Warning);
    return;
  }
  const MessageAnswer answer = dialogs_->message(
      QStringLiteral("Varga Map Maker did not close normally last time and kept a copy of the "
                     "unsaved map painted on\n%1\n\nRestore it?")
          .arg(content->picturePath),
      QStringLiteral("Restore Unsaved Map"), MessageIcon::Question, MessageButtons::YesNo,
      MessageAnswer::Yes);
  if (answer != MessageAnswer::Yes) {
    recovery_->discard();
    return;
  }
  restoreRecovered(*content);
}

bool MDIfrmMain::restoreRecovered(const RecoveryContent &content) {
  // A refused picture has been reported; the copy stays for another attempt.
  if (LoadMapImage(content.picturePath) != 0) return false;
  MapTextParser parser;
  parser.feed(content.mapText);
  parser.finish();
  {
    HistoryStep step(history_.get(), QStringLiteral("Restore Unsaved Map"));
    applyMapText(parser.content(), document_, RecoveryFile::path(document_.DatabaseLocation));
  }
  repaintWholeMap();
  // The restored map has never been exported.
  history_->markUnsaved();
  return true;
}

}  // namespace vmm
