#include "app/widgets/MDIfrmMain.h"

#include "app/widgets/StatusPanels.h"
#include "app/widgets/WidgetDialogs.h"
#include "catalogue/widgets/ElementPicker.h"
#include "edits/RandomSource.h"
#include "mapview/widgets/EditCursors.h"
#include "mapview/widgets/frmMapView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>

#include <algorithm>

namespace vmm {

namespace {

QLabel *namedLabel(const QString &text, const QString &name, QWidget *parent) {
  auto *label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

// The height list holds "0" to "100" and "HeightValie", kept in text order.
QStringList heightListEntries() {
  QStringList entries;
  for (int h = 0; h <= 100; ++h) entries << QString::number(h);
  entries << QStringLiteral("HeightValie");
  std::sort(entries.begin(), entries.end());
  return entries;
}

}  // namespace

MDIfrmMain::MDIfrmMain(UserDialogs *dialogs, QWidget *parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MDIfrmMain"));
  setWindowTitle(QStringLiteral("Varga Map Maker"));
  if (!dialogs) {
    ownedDialogs_ = std::make_unique<WidgetDialogs>(this);
    dialogs = ownedDialogs_.get();
  }
  dialogs_ = dialogs;

  random_ = std::make_unique<MersenneRandomSource>();
  history_ = std::make_unique<MapHistory>(document_);
  painter_ = std::make_unique<SectorPainter>(document_, elementTable_, heightColours_,
                                             [this] { return drawStyle(); });

  mdiArea_ = new QMdiArea(this);
  mdiArea_->setObjectName(QStringLiteral("mdiArea"));
  setCentralWidget(mdiArea_);

  noticeTimer_.setSingleShot(true);
  connect(&noticeTimer_, &QTimer::timeout, this, [this] {
    notice_->clear();
    notice_->setToolTip({});
  });
  buildToolStrip();
  buildStatusBar();
  buildMenus();
  resize(1280, 800);

  // Start-up: the document starts unassigned (its constructor), IsDraw 0, the
  // view switch panels labelled, then the catalogue is loaded under the hourglass.
  document_.IsDraw = 0;
  statusPanels_->setText(13, QStringLiteral("Elevation"));
  statusPanels_->setText(11, QStringLiteral("Terrain"));
  statusPanels_->setText(9, QStringLiteral("Image"));
  QApplication::setOverrideCursor(Qt::WaitCursor);
  document_.DatabaseLocation = resolveDatabaseLocation();
  catalogue_ = CatalogueDatabase::open(document_.DatabaseLocation);
  heightColourMode_ = 0;
  LoadElements();
  QApplication::restoreOverrideCursor();
  reportCatalogueOrigin();
  picker_ = new ElementPicker(*cboTerainCategory_, *cboElementList_, *this);

  EditCursors::installDefaults(document_.DatabaseLocation);
  cursors_ = std::make_unique<EditCursors>(document_.DatabaseLocation);
  connect(this, &MDIfrmMain::editModeChanged, this, &MDIfrmMain::applyCursor);
  connect(statusPanels_, &StatusPanels::panelClicked, this, &MDIfrmMain::MMStatusBarPanelClick);
  setUpHistory();
}

MDIfrmMain::~MDIfrmMain() {
  // The history empties itself as it goes, which is no change of the map to react to.
  disconnect(&history_->stack(), nullptr, this, nullptr);
  // The map view refers to the document: it goes first.
  closeMapView();
}

void MDIfrmMain::buildToolStrip() {
  toolbar_ = new QToolBar(this);
  toolbar_->setObjectName(QStringLiteral("Toolbar2"));
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  addToolBar(Qt::TopToolBarArea, toolbar_);

  cboTerainCategory_ = new QComboBox(toolbar_);
  cboTerainCategory_->setObjectName(QStringLiteral("cboTerainCategory"));
  cboTerainCategory_->addItems({"ALL", "Barrier", "Explosive", "Foilage", "Fortification",
                                "Gulley/Slope", "Item", "Misc", "Roadway", "Rubble", "Structure",
                                "Terrain", "Water"});
  cboTerainCategory_->setCurrentIndex(-1);
  cboTerainCategory_->setMinimumContentsLength(12);
  toolbar_->addWidget(cboTerainCategory_);

  cboElementList_ = new QComboBox(toolbar_);
  cboElementList_->setObjectName(QStringLiteral("cboElementList"));
  cboElementList_->setMinimumContentsLength(22);
  toolbar_->addWidget(cboElementList_);

  toolbar_->addWidget(namedLabel(QStringLiteral("Draw"), QStringLiteral("Label2"), toolbar_));

  command2_ = new QPushButton(QStringLiteral("Lower"), toolbar_);
  command2_->setObjectName(QStringLiteral("Command2"));
  command1_ = new QPushButton(QStringLiteral("Raise"), toolbar_);
  command1_->setObjectName(QStringLiteral("Command1"));
  cboheight_ = new QComboBox(toolbar_);
  cboheight_->setObjectName(QStringLiteral("cboheight"));
  cboheight_->setEditable(true);
  cboheight_->setInsertPolicy(QComboBox::NoInsert);
  cboheight_->addItems(heightListEntries());
  cboheight_->setCurrentIndex(-1);
  cboheight_->setEditText(QStringLiteral("1"));
  cboheight_->setMinimumContentsLength(6);
  command3_ = new QPushButton(QStringLiteral("Draw with Colour"), toolbar_);
  command3_->setObjectName(QStringLiteral("Command3"));
  for (QWidget *w : std::initializer_list<QWidget *>{command2_, command1_, cboheight_, command3_})
    toolbar_->addWidget(w);

  auto *frame3 = new QFrame(toolbar_);
  frame3->setObjectName(QStringLiteral("Frame3"));
  frame3->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
  auto *modeLayout = new QHBoxLayout(frame3);
  modeLayout->setContentsMargins(4, 0, 4, 0);
  modeLayout->addWidget(namedLabel(QStringLiteral("Draw"), QStringLiteral("Label1"), frame3));
  const char *modeCaptions[4] = {"Sector", "Quad", "Sector", "Quad"};
  for (int i = 0; i < 4; ++i) {
    option1_[i] = new QRadioButton(QString::fromLatin1(modeCaptions[i]), frame3);
    option1_[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
    connect(option1_[i], &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) emit editModeChanged(i);
    });
    if (i == 2) {
      auto *line = new QFrame(frame3);
      line->setObjectName(QStringLiteral("Line1"));
      line->setFrameShape(QFrame::VLine);
      modeLayout->addWidget(line);
      modeLayout->addWidget(namedLabel(QStringLiteral("Erase"), QStringLiteral("Label3"), frame3));
    }
    modeLayout->addWidget(option1_[i]);
  }
  option1_[0]->setChecked(true);
  toolbar_->addWidget(frame3);

  auto *frame1 = new QFrame(toolbar_);
  frame1->setObjectName(QStringLiteral("Frame1"));
  frame1->setFrameStyle(QFrame::StyledPanel | QFrame::Plain);
  auto *styleLayout = new QHBoxLayout(frame1);
  styleLayout->setContentsMargins(4, 0, 4, 0);
  styleLayout->addWidget(
      namedLabel(QStringLiteral("Draw Style"), QStringLiteral("Label5"), frame1));
  const char *styleCaptions[3] = {"Solid", "Transparent", "Hollow"};
  for (int i = 0; i < 3; ++i) {
    optDraw_[i] = new QRadioButton(QString::fromLatin1(styleCaptions[i]), frame1);
    optDraw_[i]->setObjectName(QStringLiteral("OptDraw_%1").arg(i));
    styleLayout->addWidget(optDraw_[i]);
  }
  optDraw_[0]->setChecked(true);
  toolbar_->addWidget(frame1);

  txtElement_ = new QLineEdit(QStringLiteral("Text1"), toolbar_);
  txtElement_->setObjectName(QStringLiteral("txtElement"));
  txtElement_->setMaximumWidth(80);
  toolbar_->addWidget(txtElement_);

  connect(command3_, &QPushButton::clicked, this, &MDIfrmMain::Command3Click);
  connect(command1_, &QPushButton::clicked, this, &MDIfrmMain::Command1Click);
  connect(command2_, &QPushButton::clicked, this, &MDIfrmMain::Command2Click);
  connect(cboheight_, &QComboBox::activated, this, &MDIfrmMain::cboheightClick);

  // The tool strip starts in the Terrain state: element lists shown, height controls hidden.
  for (QWidget *w : std::initializer_list<QWidget *>{command1_, command2_, command3_, cboheight_})
    setToolVisible(w, false);
}

void MDIfrmMain::setToolVisible(QWidget *control, bool visible) {
  // A widget on a tool bar is shown and hidden through its action.
  for (QAction *action : toolbar_->actions())
    if (toolbar_->widgetForAction(action) == control) {
      action->setVisible(visible);
      return;
    }
  control->setVisible(visible);
}

bool MDIfrmMain::isToolVisible(QWidget *control) const {
  for (QAction *action : toolbar_->actions())
    if (toolbar_->widgetForAction(action) == control) return action->isVisible();
  return control->isVisible();
}

void MDIfrmMain::buildStatusBar() {
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

QAction *MDIfrmMain::addMenuItem(QMenu *menu, const QString &caption, const QString &name,
                                 void (MDIfrmMain::*handler)()) {
  QAction *action = menu->addAction(caption);
  action->setObjectName(name);
  if (handler) connect(action, &QAction::triggered, this, handler);
  return action;
}

void MDIfrmMain::buildMenus() {
  auto addMenu = [this](const QString &caption, const QString &name) {
    QMenu *menu = menuBar()->addMenu(caption);
    menu->setObjectName(name);
    return menu;
  };
  auto separator = [](QMenu *menu, const QString &name) {
    menu->addSeparator()->setObjectName(name);
  };

  QMenu *file = addMenu(QStringLiteral("&File"), QStringLiteral("mnuFile"));
  addMenuItem(file, QStringLiteral("&Import Map Image"), QStringLiteral("mnuImportMapImage"),
              &MDIfrmMain::mnuImportMapImage);
  addMenuItem(file, QStringLiteral("&Import Map Data"), QStringLiteral("mnuImportMapData"),
              &MDIfrmMain::mnuImportMapData);
  separator(file, QStringLiteral("mnua"));
  addMenuItem(file, QStringLiteral("&Export Varga File"), QStringLiteral("mnuSave"),
              &MDIfrmMain::mnuSave);
  addMenuItem(file, QStringLiteral("&Export Tolle File"), QStringLiteral("MnuTolle"),
              &MDIfrmMain::MnuTolle);
  separator(file, QStringLiteral("mnuSep3"));
  addMenuItem(file, QStringLiteral("Export Terrain Image"), QStringLiteral("mnuExT"),
              &MDIfrmMain::mnuExT);
  addMenuItem(file, QStringLiteral("Export Elevation Image"), QStringLiteral("mnuExE"),
              &MDIfrmMain::mnuExE);
  separator(file, QStringLiteral("b"));
  addMenuItem(file, QStringLiteral("&Exit"), QStringLiteral("mnuExit"), &MDIfrmMain::mnuExit);

  QMenu *edit = addMenu(QStringLiteral("&Edit Options"), QStringLiteral("mnuSearch1"));
  addUndoActions(edit);
  const char *modeItems[4][2] = {{"Draw Sector", "mnuE1"},
                                 {"Draw Quadrent", "mnuE2"},
                                 {"Erase Sector", "mnuE3"},
                                 {"Erase Quadrent", "mnuE4"}};
  for (int i = 0; i < 4; ++i) {
    QAction *a = addMenuItem(edit, QString::fromLatin1(modeItems[i][0]),
                             QString::fromLatin1(modeItems[i][1]), nullptr);
    connect(a, &QAction::triggered, this, [this, i] { setEditMode(i); });
  }
  separator(edit, QStringLiteral("abv"));
  connect(addMenuItem(edit, QStringLiteral("Fill Clear Element with Selected"),
                      QStringLiteral("mnuFill"), nullptr),
          &QAction::triggered, this, [this] { runEditCommand(EditCommand::FillElement); });
  connect(addMenuItem(edit, QStringLiteral("Clear Selected Element Type"),
                      QStringLiteral("mnuClear"), nullptr),
          &QAction::triggered, this, [this] { runEditCommand(EditCommand::ClearElement); });
  separator(edit, QStringLiteral("gh"));
  connect(addMenuItem(edit, QStringLiteral("Fill Clear Height with Selected"),
                      QStringLiteral("Fillheight"), nullptr),
          &QAction::triggered, this, [this] { runEditCommand(EditCommand::FillHeight); });
  connect(addMenuItem(edit, QStringLiteral("Clear Selected Height Type"),
                      QStringLiteral("ClearHeight"), nullptr),
          &QAction::triggered, this, [this] { runEditCommand(EditCommand::ClearHeight); });

  QMenu *randomise = addMenu(QStringLiteral("&Randomise"), QStringLiteral("MnuR0"));
  connect(addMenuItem(randomise, QStringLiteral("Randomise Trees"), QStringLiteral("R1"), nullptr),
          &QAction::triggered, this, [this] { runEditCommand(EditCommand::RandomiseTrees); });
  connect(addMenuItem(randomise, QStringLiteral("Randomise Leaves"), QStringLiteral("R2"), nullptr),
          &QAction::triggered, this, [this] { runEditCommand(EditCommand::RandomiseLeaves); });
  connect(addMenuItem(randomise, QStringLiteral("Randomise Brush"), QStringLiteral("R3"), nullptr),
          &QAction::triggered, this, [this] { runEditCommand(EditCommand::RandomiseBrush); });

  QMenu *view = addMenu(QStringLiteral("&View Options"), QStringLiteral("mnuOperations2"));
  addMenuItem(view, QStringLiteral("Image Map"), QStringLiteral("mnuV1"), &MDIfrmMain::mnuV1);
  addMenuItem(view, QStringLiteral("Terrain Map"), QStringLiteral("mnuV2"), &MDIfrmMain::mnuV2);
  addMenuItem(view, QStringLiteral("Elevation Map"), QStringLiteral("mnuV3"), &MDIfrmMain::mnuV3);
  separator(view, QStringLiteral("mnuV4"));
  const char *styleItems[3][2] = {
      {"Draw Solid", "mnuV5"}, {"Draw Transparent", "mnuV6"}, {"Draw Hollow", "mnuHollow"}};
  for (int i = 0; i < 3; ++i) {
    QAction *a = addMenuItem(view, QString::fromLatin1(styleItems[i][0]),
                             QString::fromLatin1(styleItems[i][1]), nullptr);
    connect(a, &QAction::triggered, this, [this, i] { setDrawStyle(i); });
  }

  QMenu *options = addMenu(QStringLiteral("Options"), QStringLiteral("mnuOptions"));
  addMenuItem(options, QStringLiteral("Redraw Grid"), QStringLiteral("mnuO1"), &MDIfrmMain::mnuO1);
  addMenuItem(options, QStringLiteral("Refresh Screen"), QStringLiteral("mnuO2"),
              &MDIfrmMain::mnuO2);

  QMenu *help = addMenu(QStringLiteral("&Help"), QStringLiteral("mnuHelp"));
  addMenuItem(help, QStringLiteral("&About"), QStringLiteral("mnuAbout"), &MDIfrmMain::mnuAbout);
}

frmMapView *MDIfrmMain::mapView() const {
  return mapView_.data();
}

int MDIfrmMain::drawStyle() const {
  for (int i = 0; i < 3; ++i)
    if (optDraw_[i]->isChecked()) return i;
  return -1;
}

int MDIfrmMain::editMode() const {
  for (int i = 0; i < 4; ++i)
    if (option1_[i]->isChecked()) return i;
  return -1;
}

void MDIfrmMain::setEditMode(int index) {
  if (index >= 0 && index < 4) option1_[index]->setChecked(true);
}

void MDIfrmMain::setDrawStyle(int index) {
  if (index >= 0 && index < 3) optDraw_[index]->setChecked(true);
}

bool MDIfrmMain::requireMap() {
  if (document_.MapReady != 0) return true;
  dialogs_->message(QStringLiteral("Map Image not currently loaded"),
                    QStringLiteral("Map Image unavailable"), MessageIcon::None, MessageButtons::Ok,
                    MessageAnswer::Ok);
  return false;
}

void MDIfrmMain::showNotice(const QString &text) {
  constexpr int kShownMs = 20000;
  notice_->setText(text);
  notice_->setToolTip(text);
  noticeTimer_.start(kShownMs);
}

QString MDIfrmMain::notice() const {
  return notice_->text();
}

void MDIfrmMain::setPanelText(int panel, const QString &text) {
  statusPanels_->setText(panel, text);
}

QString MDIfrmMain::panelText(int panel) const {
  return statusPanels_->text(panel);
}

void MDIfrmMain::LoadElements() {
  const CatalogueResult result =
      catalogue_.LoadElements(elementTable_, heightColours_, heightColourMode_);
  if (!result.ok)
    dialogs_->message(result.error, QStringLiteral("LoadElements"), MessageIcon::Critical);
}

void MDIfrmMain::reportCatalogueOrigin() {
  const QString text = catalogue_.openMessage();
  if (text.isEmpty()) return;
  showNotice(text);
  // A refused file is worth a message box: the user's catalogue is not in use.
  if (catalogue_.origin() == CatalogueOrigin::BuiltInDefault)
    dialogs_->message(text, QStringLiteral("Catalogue"), MessageIcon::Warning);
}

void MDIfrmMain::Command3Click() {
  if (heightColourMode_ != 1) {
    heightColourMode_ = 1;
    LoadElements();
    command3_->setText(QStringLiteral("Draw with Gradient"));
  } else {
    heightColourMode_ = 0;
    LoadElements();
    command3_->setText(QStringLiteral("Draw with Colour"));
  }
}

void MDIfrmMain::mnuExit() {
  const MessageAnswer answer =
      dialogs_->message(exitQuestion(), QStringLiteral("EXIT Database?"), MessageIcon::Critical,
                        MessageButtons::YesNo, MessageAnswer::No);
  if (answer != MessageAnswer::Yes) return;
  endSession();
  document_.release();
  QCoreApplication::exit(0);
}

void MDIfrmMain::closeEvent(QCloseEvent *event) {
  if (!confirmClose()) {
    event->ignore();
    return;
  }
  endSession();
  document_.release();
  event->accept();
}

}  // namespace vmm
