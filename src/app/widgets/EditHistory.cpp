// Undo and redo, the unsaved-changes state and the recovery copy: the history
// and the recovery file live in the core, the window wires them to its menus,
// its title, its close box and its views.
#include "app/widgets/MainWindow.h"

#include "mapfiles/MapTextImport.h"
#include "mapfiles/MapTextParser.h"
#include "mapfiles/MapTextWriter.h"
#include "mapview/widgets/MapViewWindow.h"

#include <QAction>
#include <QDir>
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

void MainWindow::addUndoActions(QMenu *menu) {
  undoAction_ = menu->addAction(tr("Undo"));
  undoAction_->setObjectName(QStringLiteral("mnuUndo"));
  undoAction_->setShortcuts(QKeySequence::Undo);
  redoAction_ = menu->addAction(tr("Redo"));
  redoAction_->setObjectName(QStringLiteral("mnuRedo"));
  redoAction_->setShortcuts(redoShortcuts());
  menu->addSeparator()->setObjectName(QStringLiteral("mnuUndoSep"));

  MapHistory *history = &session_.history();
  connect(undoAction_, &QAction::triggered, history, &MapHistory::undo);
  connect(redoAction_, &QAction::triggered, history, &MapHistory::redo);
  const QUndoStack &stack = history->stack();
  auto caption = [](const QString &verb, const QString &step) {
    return step.isEmpty() ? verb : verb + QLatin1Char(' ') + step;
  };
  connect(&stack, &QUndoStack::undoTextChanged, undoAction_, [this, caption](const QString &step) {
    undoAction_->setText(caption(tr("Undo"), step));
  });
  connect(&stack, &QUndoStack::redoTextChanged, redoAction_, [this, caption](const QString &step) {
    redoAction_->setText(caption(tr("Redo"), step));
  });
  connect(&stack, &QUndoStack::canUndoChanged, undoAction_, &QAction::setEnabled);
  connect(&stack, &QUndoStack::canRedoChanged, redoAction_, &QAction::setEnabled);
  undoAction_->setEnabled(false);
  redoAction_->setEnabled(false);
}

void MainWindow::setUpHistory() {
  recovery_ = std::make_unique<RecoveryService>(session_.document().DatabaseLocation, [this] {
    return RecoveryContent{picturePath_, vargaMapText(session_.document())};
  });

  connect(&session_.history(), &MapHistory::sectorsRestored, this, &MainWindow::repaintRestored);
  connect(&session_.history(), &MapHistory::documentChanged, this, [this] {
    if (!session_.history().isClean()) recovery_->scheduleWrite();
  });
  connect(&session_.history().stack(), &QUndoStack::cleanChanged, this,
          &MainWindow::historyCleanChanged);
  // The map matches a file again after a Varga export or a complete map data import.
  connect(this, &MainWindow::mapSaved, &session_.history(), &MapHistory::markSaved);
  connect(this, &MainWindow::mapDataImported, &session_.history(), &MapHistory::markSaved);
  updateTitle();
}

void MainWindow::historyCleanChanged(bool clean) {
  // Saved work needs no recovery copy.
  if (clean) recovery_->discard();
  updateTitle();
}

void MainWindow::updateTitle() {
  setWindowTitle(session_.history().isClean() ? kTitle : QLatin1Char('*') + kTitle);
}

void MainWindow::repaintRestored(const std::vector<SectorEdit> &edits, StepRepaint repaint) {
  if (!mapView_) return;
  if (repaint == StepRepaint::WholeMap) {
    repaintWholeMap();
    return;
  }
  const std::array<QRect, 2> changed = session_.repaintSectors(edits);
  for (const Plane plane : {Plane::Element, Plane::Height})
    mapView_->refresh(MapSurfaces::viewOf(plane), changed[static_cast<std::size_t>(plane)]);
}

QString MainWindow::exitQuestion() const {
  QString text = QStringLiteral("Are you sure you wish to EXIT ?");
  if (!session_.history().isClean())
    text +=
        QStringLiteral("\n\nThe map has changes that have not been exported; they will be lost.");
  return text;
}

bool MainWindow::confirmClose() {
  if (session_.history().isClean()) return true;
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

void MainWindow::endSession() {
  recovery_->discard();
  saveViewSettings();
}

void MainWindow::offerRecovery() {
  if (!recovery_->hasRecovery()) return;
  QString error;
  const std::optional<RecoveryContent> content = recovery_->load(&error);
  if (!content) {
    // Said once: an unusable copy is moved aside so that every later start does not repeat it.
    const QString folder = session_.document().DatabaseLocation;
    QString text = tr("The unsaved map of the last session could not be read: %1").arg(error);
    if (recovery_->setAside())
      text += tr(".\nIt has been set aside as \"%1\".")
                  .arg(QDir::toNativeSeparators(RecoveryFile::setAsidePath(folder)));
    dialogs_->message(text, QStringLiteral("Restore Unsaved Map"), MessageIcon::Warning);
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

bool MainWindow::restoreRecovered(const RecoveryContent &content) {
  // A refused picture has been reported; the copy stays for another attempt.
  if (!LoadMapImage(content.picturePath)) return false;
  MapTextParser parser;
  parser.feed(content.mapText);
  parser.finish();
  {
    HistoryStep step(&session_.history(), QStringLiteral("Restore Unsaved Map"));
    applyMapText(parser.content(), session_.document(),
                 RecoveryFile::path(session_.document().DatabaseLocation));
  }
  repaintWholeMap();
  // The restored map has never been exported.
  session_.history().markUnsaved();
  // The same picture again: the view comes back as it was left.
  restoreViewOf(content.picturePath);
  return true;
}

}  // namespace vmm
