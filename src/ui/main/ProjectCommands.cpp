// SPDX-License-Identifier: GPL-3.0-or-later
// Map projects: Open, Save, Save As and Open Recent, and files handed to the editor on
// its command line or dropped on its window. The format lives in the core; the window
// asks, reports and rebuilds the map view.
#include "ui/main/MainWindow.h"

#include "files/InputFile.h"
#include "mapfiles/ProjectFile.h"
#include "mapfiles/ProjectSchema.h"
#include "mapview/ViewZoom.h"
#include "ui/catalogue/ElementPicker.h"
#include "ui/dialogs/WidgetDialogs.h"
#include "ui/main/EditToolBar.h"
#include "ui/mapview/MapViewWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImageReader>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>
#include <QTimer>

namespace vmm {

namespace {

const QString kProjectFilter = QStringLiteral("Varga Map Projects (*.vmap)|*.vmap");
const QString kProjectSuffix = QStringLiteral("vmap");

// The kind of file the command line or a drop hands over, from its content first.
enum class FileKind { Project, Picture, MapText };

FileKind kindOf(const QString &path) {
  if (looksLikeProject(path) ||
      QFileInfo(path).suffix().compare(kProjectSuffix, Qt::CaseInsensitive) == 0)
    return FileKind::Project;
  // The content decides where it can be looked at: a pipe or a device is never opened here.
  InputFile input;
  if (input.open(path) && !QImageReader::imageFormat(&input.file()).isEmpty())
    return FileKind::Picture;
  // A picture that cannot be read is still meant as one: it gets the picture's message.
  const QByteArray suffix = QFileInfo(path).suffix().toLower().toLatin1();
  if (QImageReader::supportedImageFormats().contains(suffix)) return FileKind::Picture;
  return FileKind::MapText;
}

QList<QKeySequence> keys(QKeySequence::StandardKey standard, QKeySequence fallback) {
  QList<QKeySequence> list = QKeySequence::keyBindings(standard);
  if (!list.contains(fallback)) list.prepend(fallback);
  return list;
}

}  // namespace

void MainWindow::addProjectItems(QMenu *file) {
  QAction *open =
      addMenuItem(file, QStringLiteral("&Open Map Project..."), [this] { openProject(); });
  open->setObjectName(QStringLiteral("mnuOpenProject"));
  open->setShortcuts(keys(QKeySequence::Open, QKeySequence(Qt::CTRL | Qt::Key_O)));
  QAction *save = addMenuItem(file, QStringLiteral("&Save Map Project"), [this] { saveProject(); });
  save->setObjectName(QStringLiteral("mnuSaveProject"));
  save->setShortcuts(keys(QKeySequence::Save, QKeySequence(Qt::CTRL | Qt::Key_S)));
  QAction *saveAs =
      addMenuItem(file, QStringLiteral("Save Map Project &As..."), [this] { saveProjectAs(); });
  saveAs->setObjectName(QStringLiteral("mnuSaveProjectAs"));
  saveAs->setShortcuts(keys(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
  recentMenu_ = file->addMenu(QStringLiteral("Open &Recent"));
  recentMenu_->setObjectName(QStringLiteral("mnuOpenRecent"));
  recentMenu_->menuAction()->setObjectName(QStringLiteral("mnuOpenRecentMenu"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &MainWindow::fillRecentMenu);
  file->addSeparator()->setObjectName(QStringLiteral("mnuProjectSep"));
}

void MainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList entries = recent_->entries();
  // A path of any length keeps the menu readable: cut in its middle to a third of the screen,
  // and given whole (up to the length any text is shown at) as the item's tool tip.
  recentMenu_->setToolTipsVisible(true);
  const QFontMetrics metrics(recentMenu_->font());
  const int width = std::max(400, screen()->availableGeometry().width() / 3);
  for (int i = 0; i < entries.size(); ++i) {
    const QString path = WidgetDialogs::shownText(QDir::toNativeSeparators(entries[i]));
    QString shown = metrics.elidedText(path, Qt::ElideMiddle, width);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction *entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg((i + 1) % 10).arg(shown));
    entry->setToolTip(Qt::convertFromPlainText(path));
    entry->setObjectName(QStringLiteral("mnuRecent%1").arg(i + 1));
    connect(entry, &QAction::triggered, this, [this, path = entries[i]] { openRecent(path); });
  }
  recentMenu_->addSeparator();
  QAction *clear = recentMenu_->addAction(QStringLiteral("Clear Recent"));
  clear->setObjectName(QStringLiteral("mnuClearRecent"));
  clear->setEnabled(!entries.isEmpty());
  connect(clear, &QAction::triggered, this, [this] { recent_->clear(); });
}

void MainWindow::openRecent(const QString &path) {
  if (!QFileInfo(path).isFile()) {
    recent_->remove(path);
    dialogs_->message(QStringLiteral("The map project \"%1\" no longer exists; it has been "
                                     "removed from the recent projects.")
                          .arg(QDir::toNativeSeparators(path)),
                      QStringLiteral("Open Recent"), MessageIcon::Warning);
    return;
  }
  openProjectFile(path);
}

void MainWindow::openProject() {
  const QString path = dialogs_->openFileName(kProjectFilter);
  if (path.isEmpty()) return;
  openProjectFile(path);
}

bool MainWindow::openProjectFile(const QString &path) {
  if (!settleUnsavedChanges({}, QStringLiteral("before opening another map"),
                            QStringLiteral("Unsaved Changes"), MessageIcon::Warning,
                            offersProjectSave() ? MessageAnswer::Save : MessageAnswer::Export))
    return false;
  // Everything is read and checked before the map that is loaded is touched.
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const ProjectReadResult read = readProject(path);
  QApplication::restoreOverrideCursor();
  if (!read.ok()) {
    dialogs_->message(read.messageText(path), ProjectReadResult::messageTitle(),
                      MessageIcon::Critical);
    return false;
  }
  showOpenedProject(*read.content);
  picturePath_.clear();
  session_.setProjectPath(QFileInfo(path).absoluteFilePath());
  recent_->add(path);
  updateTitle();
  return true;
}

void MainWindow::showOpenedProject(const ProjectContent &content) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  closeMapView();
  const CatalogueResult colours = session_.openProject(content);
  exported_ = false;
  showNewMapView(content.picture.fileName);
  const ProjectEditorState &state = content.state;
  switchView(state.view);
  // The element to paint with shows in the lists as if chosen there.
  if (session_.elementTable().hasElement(state.currentElement))
    picker_->chooseElement(session_.elementName(state.currentElement));
  toolBar_->heightList()->setEditText(QString::number(state.currentHeight));
  toolBar_->heightColourButton()->setText(state.heightColourMode == 1
                                              ? QStringLiteral("Draw with Gradient")
                                              : QStringLiteral("Draw with Colour"));
  mapWindow_->showMaximized();
  restoreProjectView(state);
  QApplication::restoreOverrideCursor();
  reportCatalogueProblem(colours);
}

namespace {
// Where the map view was left goes with the project as editor-state keys of its own.
const QString &kZoomKey = project::kZoomKey;
const QString &kScrollXKey = project::kScrollXKey;
const QString &kScrollYKey = project::kScrollYKey;
}  // namespace

void MainWindow::restoreProjectView(const ProjectEditorState &state) {
  // Values that do not read back as a level or a position leave the view at 100%, top left.
  bool levelRead = false;
  const double level = state.additional.value(kZoomKey).toDouble(&levelRead);
  if (levelRead && level >= ViewZoom::kMinimum && level <= ViewZoom::kMaximum)
    mapView_->setZoomLevel(level);
  bool xRead = false;
  bool yRead = false;
  const QPoint scroll(state.additional.value(kScrollXKey).toInt(&xRead),
                      state.additional.value(kScrollYKey).toInt(&yRead));
  if (xRead && yRead) mapView_->setScrollPosition(scroll);
}

ProjectEditorState MainWindow::projectEditorState() const {
  ProjectEditorState state = session_.editorState();
  state.view = visibleView();
  if (mapView_) {
    state.additional.insert(kZoomKey, QString::number(mapView_->zoomLevel()));
    state.additional.insert(kScrollXKey, QString::number(mapView_->scrollPosition().x()));
    state.additional.insert(kScrollYKey, QString::number(mapView_->scrollPosition().y()));
  }
  return state;
}

bool MainWindow::saveProject() {
  if (!requireMap()) return false;
  if (session_.projectPath().isEmpty()) return saveProjectAs();
  return writeProjectTo(session_.projectPath());
}

bool MainWindow::saveProjectAs() {
  if (!requireMap()) return false;
  const QString path = dialogs_->saveFileName(kProjectFilter, kProjectSuffix);
  if (path.isEmpty()) return false;
  return writeProjectTo(path);
}

bool MainWindow::writeProjectTo(const QString &path) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const FileWriteResult written =
      session_.saveProject(QFileInfo(path).absoluteFilePath(), projectEditorState());
  QApplication::restoreOverrideCursor();
  if (!written.ok) {
    // The earlier file, if any, is as it was.
    dialogs_->message(QStringLiteral("The map project could not be saved as \"%1\": %2")
                          .arg(QDir::toNativeSeparators(path), written.errorText),
                      QStringLiteral("Save Map Project"), MessageIcon::Warning);
    return false;
  }
  recent_->add(path);
  updateTitle();
  return true;
}

bool MainWindow::openFiles(const QStringList &paths) {
  bool allOpened = true;
  for (const QString &path : paths) {
    bool opened = false;
    switch (kindOf(path)) {
      case FileKind::Project:
        opened = openProjectFile(path);
        break;
      case FileKind::Picture:
        opened = importMapImageFile(path);
        break;
      case FileKind::MapText:
        // A map text needs the picture it belongs on, as Import Map Data does.
        opened = requireMap() && importMapDataFile(path);
        break;
    }
    allOpened = allOpened && opened;
  }
  return allOpened;
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (!urls.isEmpty() &&
      std::all_of(urls.begin(), urls.end(), [](const QUrl &url) { return url.isLocalFile(); }))
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event) {
  QStringList paths;
  for (const QUrl &url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  if (paths.isEmpty()) return;
  event->acceptProposedAction();
  // The files open once the drop is over, so the questions they may ask do not hold up
  // the program the files came from.
  QTimer::singleShot(0, this, [this, paths] { openFiles(paths); });
}

}  // namespace vmm
