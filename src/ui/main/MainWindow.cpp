// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main/MainWindow.h"

#include "catalogue/ElementRecord.h"
#include "files/SettingsFile.h"
#include "ui/catalogue/ElementPicker.h"
#include "ui/dialogs/WidgetDialogs.h"
#include "ui/docks/MapOverview.h"
#include "ui/main/ApplicationIcon.h"
#include "ui/main/AssistiveTools.h"
#include "ui/main/EditToolBar.h"
#include "ui/main/StatusPanels.h"
#include "ui/mapview/EditCursors.h"
#include "ui/mapview/MapViewWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextDocument>
#include <QToolBar>

namespace vmm {

MainWindow::MainWindow(UserDialogs *dialogs, QWidget *parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MDIfrmMain"));
  describeWindowsToAssistiveTools();
  setWindowTitle(QStringLiteral("Varga Map Maker"));
  if (!dialogs) {
    ownedDialogs_ = std::make_unique<WidgetDialogs>(this);
    dialogs = ownedDialogs_.get();
  }
  dialogs_ = dialogs;

  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  setCentralWidget(mdiArea_);

  noticeTimer_.setSingleShot(true);
  connect(&noticeTimer_, &QTimer::timeout, this, [this] {
    notice_->clear();
    notice_->setToolTip({});
  });
  // The tool strip's second row holds the drawing settings, the zoom box and the search.
  findBar_ = new QToolBar(QStringLiteral("Find Element"), this);
  findBar_->setObjectName(QStringLiteral("tbrFindElement"));
  findBar_->setMovable(false);
  findBar_->setFloatable(false);
  toolBar_ = new EditToolBar(session_, *findBar_, this);
  addToolBar(Qt::TopToolBarArea, toolBar_);
  addToolBarBreak(Qt::TopToolBarArea);
  addToolBar(Qt::TopToolBarArea, findBar_);
  // Screen readers name and describe each control as its tool tip does.
  describeByToolTips(toolBar_);
  describeByToolTips(findBar_);
  buildStatusBar();
  buildMenus();
  setWindowIcon(applicationIcon());

  // Start-up: the view switch panels labelled, then the catalogue loaded under the hourglass.
  statusPanels_->setText(13, QStringLiteral("Elevation"));
  statusPanels_->setText(11, QStringLiteral("Terrain"));
  statusPanels_->setText(9, QStringLiteral("Image"));
  loadCatalogue();
  recent_ =
      std::make_unique<RecentProjects>(settingsFilePath(session_.document().DatabaseLocation));
  setAcceptDrops(true);
  picker_ = new ElementPicker(*toolBar_->categoryList(), *toolBar_->elementList(), session_, this);
  connect(&session_, &EditorSession::elementSelected, this, [this](const ElementRecord &record) {
    if (visibleView() != MapView::Elevation)
      setPanelText(4, QStringLiteral("Sel. : ") + record.ElementType);
  });
  picker_->showFirstElement();

  const QString &dataFolder = session_.document().DatabaseLocation;
  EditCursors::installDefaults(dataFolder);
  cursors_ = std::make_unique<EditCursors>(dataFolder);
  connect(&session_, &EditorSession::editModeChanged, this, &MainWindow::applyCursor);
  connect(&session_, &EditorSession::brushSizeChanged, this,
          [this] { applyCursor(session_.editMode()); });
  connect(statusPanels_, &StatusPanels::panelClicked, this, &MainWindow::statusPanelClicked);
  connect(toolBar_->heightColourButton(), &QPushButton::clicked, this,
          &MainWindow::toggleHeightColours);
  connect(toolBar_->raiseButton(), &QPushButton::clicked, this, &MainWindow::raiseHeight);
  connect(toolBar_->lowerButton(), &QPushButton::clicked, this, &MainWindow::lowerHeight);
  connect(toolBar_->heightList(), &QComboBox::activated, this, &MainWindow::chooseListedHeight);
  // The height a click paints is the one the height box shows.
  session_.document().CurrentDrawHeight = toolBar_->heightList()->currentText().toShort();
  setUpHistory();
  buildOverview();
  setUpMapContents();
  setUpPaintFromPicture();
  applyShortcutsAndTips();
  placeOnScreen();
}

void MainWindow::placeOnScreen() {
  // As the last run left it (Qt brings a window restored off screen back onto one) ...
  if (!lastRunView_.windowGeometry.isEmpty() && restoreGeometry(lastRunView_.windowGeometry))
    return;
  // ... or 1280 x 800 where the screen has room, centred, its frame inside the screen.
  const QScreen *screen = QGuiApplication::primaryScreen();
  if (!screen) {
    resize(1280, 800);
    return;
  }
  const QRect available = screen->availableGeometry();
  constexpr QSize kFrameAllowance(16, 48);  // borders and title bar of common window managers
  const QSize size = QSize(1280, 800).boundedTo(available.size() - kFrameAllowance);
  resize(size);
  const QSize framed = size + kFrameAllowance;
  move(available.topLeft() + QPoint((available.width() - framed.width()) / 2,
                                    (available.height() - framed.height()) / 2));
}

MainWindow::~MainWindow() {
  // The history empties itself as it goes, which is no change of the map to react to.
  disconnect(&session_.history().stack(), nullptr, this, nullptr);
  // The overview hides as the window's children go: no choice of the user to record.
  disconnect(overview_, nullptr, this, nullptr);
  // The map view shows the session's surfaces: it goes first.
  closeMapView();
}

void MainWindow::loadCatalogue() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  MapDocument &document = session_.document();
  document.DatabaseLocation = resolveDatabaseLocation();
  const CatalogueResult loaded =
      session_.useCatalogue(CatalogueDatabase::open(document.DatabaseLocation));
  QApplication::restoreOverrideCursor();
  reportCatalogueProblem(loaded);
  reportCatalogueOrigin();
}

void MainWindow::reportCatalogueProblem(const CatalogueResult &result) {
  if (!result.ok)
    dialogs_->message(result.error, QStringLiteral("LoadElements"), MessageIcon::Critical);
}

void MainWindow::reportCatalogueOrigin() {
  const CatalogueDatabase &catalogue = session_.catalogue();
  const QString text = catalogue.openMessage();
  if (text.isEmpty()) return;
  showNotice(text);
  // A refused file is worth a message box: the user's catalogue is not in use.
  if (catalogue.origin() == CatalogueOrigin::BuiltInDefault)
    dialogs_->message(text, QStringLiteral("Catalogue"), MessageIcon::Warning);
}

void MainWindow::buildStatusBar() {
  using B = StatusPanels::Bevel;
  statusPanels_ = new StatusPanels({{2000, {}, B::Inset},
                                    {1440, {}, B::Inset},
                                    {100, {}, B::NoBevel},
                                    {2000, {}, B::Inset},
                                    {100, {}, B::NoBevel},
                                    {1200, {}, B::Inset},
                                    {1000, {}, B::Inset},
                                    {200, {}, B::NoBevel},
                                    {850, QStringLiteral("I"), B::Raised},
                                    {50, {}, B::NoBevel},
                                    {850, QStringLiteral("T"), B::Inset},
                                    {50, {}, B::NoBevel},
                                    {850, QStringLiteral("E"), B::Raised},
                                    {200, {}, B::NoBevel},
                                    {1440, QStringLiteral("V"), B::Raised}},
                                   this);
  statusPanels_->setObjectName(QStringLiteral("MMStatusBar"));
  statusPanels_->setText(15, QStringLiteral("Tree View"));
  statusBar()->addWidget(statusPanels_);
  notice_ = new QLabel(this);
  notice_->setObjectName(QStringLiteral("notice"));
  notice_->setTextFormat(Qt::PlainText);
  // A long notice gives way to the panels (their widths are fixed) instead of pushing them
  // over each other; the whole text stays in the tool tip.
  notice_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  statusBar()->addWidget(notice_, 1);
  auto *second = new StatusPanels({{1440, {}, StatusPanels::Inset}}, this);
  second->setObjectName(QStringLiteral("StatusBar1"));
  statusBar()->addPermanentWidget(second);
}

MapViewWindow *MainWindow::mapView() const {
  return mapView_.data();
}

bool MainWindow::requireMap() {
  if (session_.document().mapReady) return true;
  dialogs_->message(QStringLiteral("Map Image not currently loaded"),
                    QStringLiteral("Map Image unavailable"), MessageIcon::None, MessageButtons::Ok,
                    MessageAnswer::Ok);
  return false;
}

void MainWindow::showNotice(const QString &text) {
  constexpr int kShownMs = 20000;
  const QString shown = WidgetDialogs::shownText(text);
  notice_->setText(shown);
  // A tool tip takes text that looks like markup as markup: give it the text escaped.
  notice_->setToolTip(Qt::convertFromPlainText(shown));
  noticeTimer_.start(kShownMs);
}

QString MainWindow::notice() const {
  return notice_->text();
}

void MainWindow::setPanelText(int panel, const QString &text) {
  statusPanels_->setText(panel, text);
}

QString MainWindow::panelText(int panel) const {
  return statusPanels_->text(panel);
}

void MainWindow::exitEditor() {
  const QString question = QStringLiteral("Are you sure you wish to EXIT ?");
  const QString title = QStringLiteral("EXIT Database?");
  if (session_.history().isClean()) {
    if (dialogs_->message(question, title, MessageIcon::Critical, MessageButtons::YesNo,
                          MessageAnswer::No) != MessageAnswer::Yes)
      return;
  } else if (!settleUnsavedChanges(question + QStringLiteral("\n\n"),
                                   QStringLiteral("before you exit"), title, MessageIcon::Critical,
                                   MessageAnswer::Cancel)) {
    return;
  }
  endSession();
  session_.document().release();
  QCoreApplication::exit(0);
}

void MainWindow::closeEvent(QCloseEvent *event) {
  if (!confirmClose()) {
    event->ignore();
    return;
  }
  endSession();
  session_.document().release();
  event->accept();
}

}  // namespace vmm
