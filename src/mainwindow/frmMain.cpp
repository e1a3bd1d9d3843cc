#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCursor>
#include <QDateTime>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>

#include "about/AppInfo.h"
#include "about/frmAbout.h"
#include "commands/FileCommands.h"
#include "mainwindow/MainFormEditor.h"
#include "mainwindow/StationGrid.h"
#include "mainwindow/frmMassHaul.h"
#include "mainwindow/frmPreview.h"
#include "platform/os/SystemShell.h"
#include "platform/qt/Cp1252.h"
#include "project/Errors.h"
#include "project/FileKinds.h"
#include "project/Format.h"
#include "project/Paths.h"
#include "project/Text.h"

namespace earthwork {

using qt::FromCp1252;
using qt::ToCp1252;

namespace {

constexpr const char* kSection = "Settings";
constexpr const char* kRecentSection = "Recent Files";
constexpr int kRecentFiles = 4;
constexpr double kTwipsPerInch = 1440.0;

struct GridColumn {
  const char* name;
  int twips;
  const char* english;
  const char* metric;
};

constexpr std::array<GridColumn, StationGrid::kColumns> kGridColumns = {{
    {"Station", 2000, "..F+FF.FF", "..M+MM.MM"},
    {"Code", 500, "", ""},
    {"Cut", 1500, "Sq. ft.", "Sq. m."},
    {"AddedCut", 1500, "Cu. Yds.", "Cu. m."},
    {"Fill", 1500, "Sq. ft.", "Sq. m."},
    {"AddedFill", 1500, "Cu. Yds.", "Cu. m."},
}};

constexpr const char* kLogHelp =
    "When a Geopak Earthwork Log file is opened, the baseline will become the default tab name.\n"
    "If another log file is imported with the same baseline name, you have an option to name the "
    "tab.\n"
    "To view the earthwork reports, click on the specific tab.";

constexpr const char* kNoHelp =
    "Unable to display Help Contents. There is no Help associated with this project.";

struct PlacementKey {
  const char* name;
  int defaultTwips;
  Qt::Orientation orientation;
};

/// The window's left, top, width and height, in this order.
constexpr std::array<PlacementKey, 4> kPlacementKeys = {{
    {"MainLeft", 1000, Qt::Horizontal},
    {"MainTop", 1000, Qt::Vertical},
    {"MainWidth", 8000, Qt::Horizontal},
    {"MainHeight", 8000, Qt::Vertical},
}};

/// The file a window caption names ("EARTHWORK :<path>", "GEOPAK LOG FILE:
/// <path>"), empty for a project without one.
std::string CaptionFile(const std::string& caption) {
  const size_t colon = caption.find(':');
  const std::string path = colon == std::string::npos ? "" : Trim(caption.substr(colon + 1));
  return IsUntitled(path) ? std::string() : path;
}

int ReadTwips(const Settings& settings, const char* key, int defaultTwips) {
  const std::string text = settings.Read(kSection, key, std::to_string(defaultTwips));
  const auto value = ParseNumber(text);
  return value ? static_cast<int>(*value) : defaultTwips;
}

}  // namespace

frmMain::frmMain(ProgramState& state, MainViewRelay& relay, Settings& settings, Clock& clock,
                 QWidget* parent)
    : QMainWindow(parent),
      state_(state),
      relay_(relay),
      settings_(settings),
      clock_(clock),
      shell_(std::make_unique<os::SystemShell>(os::DriveCFolder(settings),
                                               [] { QCoreApplication::processEvents(); })) {
  setObjectName("frmMain");
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(8, 8, 8, 4);
  layout->setSpacing(6);
  layout->addWidget(BuildHeaderArea());

  TabStrip1_ = new QTabBar(central);
  TabStrip1_->setObjectName("TabStrip1");
  TabStrip1_->setExpanding(false);
  TabStrip1_->setDrawBase(true);
  layout->addWidget(TabStrip1_);

  Grid1_ = new StationGrid(central);
  layout->addWidget(Grid1_, 1);

  txtLogHelp_ = new QPlainTextEdit(central);
  txtLogHelp_->setObjectName("txtLogHelp");
  txtLogHelp_->setPlainText(kLogHelp);
  txtLogHelp_->setReadOnly(true);
  txtLogHelp_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  txtLogHelp_->setVisible(false);
  txtLogHelp_->setEnabled(false);
  layout->addWidget(txtLogHelp_, 1);
  setCentralWidget(central);

  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  // A project or log dropped on the window is opened.
  setAcceptDrops(true);
  relay_.Attach(this);
  Form_Load();
  formEditor_ = new MainFormEditor(*this);  // the grid editor and the group commands
  ShowRecentFiles();
}

frmMain::~frmMain() {
  relay_.Attach(nullptr);
  // The editor filters the grid's events; it goes before the grid does, so
  // no event of a half-destroyed grid reaches it.
  delete formEditor_;
  formEditor_ = nullptr;
  // A box that loses the focus while the window is torn down would store
  // its text through a window that is no longer there.
  for (QObject* child : findChildren<QObject*>()) child->disconnect(this);
}

QWidget* frmMain::BuildHeaderArea() {
  auto* area = new QWidget(this);
  auto* grid = new QGridLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(4);

  static constexpr std::array<const char*, 3> kHeaderLabels = {
      "Designer:", "Project No:", "Control No:"};
  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(kHeaderLabels[static_cast<size_t>(i)], area);
    auto* box = new QLineEdit(area);
    box->setObjectName(QString("txtDescri%1").arg(i));
    // Room for a name or number; a wider window gives its room to the grid.
    box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(20, 'n')));
    box->setMaximumWidth(box->fontMetrics().horizontalAdvance(QString(36, 'n')));
    box->setAcceptDrops(false);  // a dropped file opens, wherever it lands
    label->setBuddy(box);
    box->installEventFilter(this);
    // The store follows every keystroke, so a command started from the menu
    // while the box still has the focus sees what was typed.
    connect(box, &QLineEdit::textEdited, this, [this, i] {
      HeaderFieldChanged();
      StoreHeaderField(i);
      ShowChanged();
    });
    connect(box, &QLineEdit::editingFinished, this, [this, i] {
      Trap(state_.dialogs, "Program Error: ", " occured in txtdescri",
           [&] { StoreHeaderField(i); });
    });
    txtDescri_[static_cast<size_t>(i)] = box;
    grid->addWidget(label, i, 0);
    grid->addWidget(box, i, 1);
  }

  fraUnits_ = new QGroupBox(area);
  fraUnits_->setObjectName("fraUnits");
  auto* unitLayout = new QVBoxLayout(fraUnits_);
  unitLayout->setContentsMargins(8, 4, 8, 4);
  optEnglish_ = new QRadioButton("English System", fraUnits_);
  optEnglish_->setObjectName("optEnglish");
  optMetric_ = new QRadioButton("Metric System", fraUnits_);
  optMetric_->setObjectName("optMetric");
  unitLayout->addWidget(optEnglish_);
  unitLayout->addWidget(optMetric_);
  connect(optMetric_, &QRadioButton::clicked, this, [this] {
    Trap(state_.dialogs, "Program Error: ", "occured in Option1_click", [&] { ChooseUnit(1); });
  });
  connect(optEnglish_, &QRadioButton::clicked, this, [this] {
    Trap(state_.dialogs, "Program Error: ", " occured in Option2_click", [&] { ChooseUnit(0); });
  });
  Label5_ = new QLabel(area);
  Label5_->setObjectName("Label5");
  QFont unitFont = Label5_->font();
  unitFont.setBold(true);
  Label5_->setFont(unitFont);
  Label5_->setVisible(false);
  auto* unitCell = new QVBoxLayout;
  unitCell->addWidget(fraUnits_);
  unitCell->addWidget(Label5_);
  unitCell->addStretch(1);
  grid->addLayout(unitCell, 0, 2, 3, 1, Qt::AlignTop);

  auto* factorRow = new QHBoxLayout;
  lblShrinkFactor_ = new QLabel("Balance Factor:", area);
  lblShrinkFactor_->setObjectName("lblShrinkFactor");
  txtShrinkFactor_ = new QLineEdit(area);
  txtShrinkFactor_->setObjectName("txtShrinkFactor");
  txtShrinkFactor_->setMaximumWidth(90);
  txtShrinkFactor_->setAcceptDrops(false);
  txtShrinkFactor_->installEventFilter(this);
  lblShrinkFactor_->setBuddy(txtShrinkFactor_);
  connect(txtShrinkFactor_, &QLineEdit::textEdited, this, [this] { ShrinkFactorChanged(); });
  // What is not a number is refused as the box is left, not when a report
  // reads it.
  connect(txtShrinkFactor_, &QLineEdit::editingFinished, this, [this] { CheckShrinkFactor(); });
  chkEmbankment_ = new QCheckBox("Earthwork measured in Embankment", area);
  chkEmbankment_->setObjectName("chkEmbankment");
  connect(chkEmbankment_, &QCheckBox::clicked, this, [this] { EmbankmentClicked(); });
  cmdStickup_ = new QPushButton("Stickup Sheets", area);
  cmdStickup_->setObjectName("cmdStickup");
  factorRow->addWidget(txtShrinkFactor_);
  factorRow->addSpacing(12);
  factorRow->addWidget(chkEmbankment_);
  factorRow->addStretch(1);
  factorRow->addWidget(cmdStickup_);
  connect(cmdStickup_, &QPushButton::clicked, this, &frmMain::command2_click);
  grid->addWidget(lblShrinkFactor_, 3, 0);
  grid->addLayout(factorRow, 3, 1, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  return area;
}

void frmMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("mnuFile");
  mnuFile_ = file;
  auto add = [this](QMenu* menu, const char* caption, const char* name, auto slot,
                    const QKeySequence& key = {}) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, slot);
    return action;
  };
  add(file, "&New", "mnuFileNew", &frmMain::mnuFileNew, QKeySequence::New);
  add(file, "&Open...", "mnuFileOpen", &frmMain::mnuFileOpen, QKeySequence::Open);
  mnuFileSaveItem_ = add(file, "&Save", "mnuFileSave", &frmMain::mnuFileSave, QKeySequence::Save);
  mnuFileSaveAsItem_ = add(file, "Save &As...", "mnuFileSaveAs", &frmMain::mnuFileSaveAs,
                           QKeySequence("Ctrl+Shift+S"));
  file->addSeparator();
  QMenu* preview = file->addMenu("Print Pre&view");
  preview->setObjectName("mnuFilePrintPreview");
  add(
      preview, "&Total", "mnuFilePrintTotal", [this] { mnuFilePrintPreview(0); },
      QKeySequence::Print);
  add(preview, "&Accumulated", "mnuFilePrintAccumulated", [this] { mnuFilePrintPreview(1); });
  add(file, "Export &CSV...", "mnuFileExportCsv", [this] { ExportHaulCsv(state_, settings_); });
  file->addSeparator();
  // The import command itself belongs to the group commands.
  mnuFileImport_ = file->addAction("&Import EAR File");
  mnuFileImport_->setObjectName("mnuFileImport");
  // The recent files go between here and Exit.
  mnuFileRecentEnd_ = file->addSeparator();
  add(file, "E&xit", "mnuFileExit", &frmMain::mnuFileExit, QKeySequence("Ctrl+Q"));

  mnuEdit_ = menuBar()->addMenu("&Edit");
  mnuEdit_->setObjectName("mnuEdit");
  QMenu* group = mnuEdit_->addMenu("&Group");
  group->setObjectName("mnuGroup");
  for (const auto& [caption, name] :
       {std::pair{"&Insert...", "Insert"}, std::pair{"&Delete", "Delete"},
        std::pair{"&Rename...", "Rename"}}) {
    group->addAction(caption)->setObjectName(QString("mnuGroup") + name);
  }
  QMenu* row = mnuEdit_->addMenu("&Row");
  row->setObjectName("mnuRow");
  for (const auto& [caption, name] :
       {std::pair{"&Insert", "Insert"}, std::pair{"&Delete", "Delete"}}) {
    row->addAction(caption)->setObjectName(QString("mnuRow") + name);
  }

  QMenu* view = menuBar()->addMenu("&View");
  view->setObjectName("mnuView");
  mnuViewToolbarItem_ = add(view, "&Toolbar", "mnuViewToolbar", &frmMain::mnuViewToolbar);
  mnuViewToolbarItem_->setCheckable(true);
  mnuViewToolbarItem_->setChecked(true);
  mnuViewStatusBarItem_ = add(view, "Status &Bar", "mnuViewStatusBar", &frmMain::mnuViewStatusBar);
  mnuViewStatusBarItem_->setCheckable(true);
  mnuViewStatusBarItem_->setChecked(true);
  view->addSeparator();
  add(view, "&Mass Haul Diagram", "mnuViewMassHaul", &frmMain::mnuViewMassHaul);
  add(view, "&Refresh", "mnuViewRefresh", &frmMain::mnuViewRefresh);

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("mnuHelp");
  add(help, "&Contents", "mnuHelpContents", &frmMain::mnuHelpContents);
  add(help, "&Search For Help On...", "mnuHelpSearch", &frmMain::mnuHelpSearch);
  help->addSeparator();
  add(help, "&About", "mnuHelpAbout", &frmMain::mnuHelpAbout, QKeySequence(Qt::Key_F1));
}

void frmMain::BuildToolBar() {
  tbToolBar_ = addToolBar("Toolbar");
  tbToolBar_->setObjectName("tbToolBar");
  tbToolBar_->setMovable(false);
  tbToolBar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  tbToolBar_->setIconSize(QSize(16, 16));
  // The buttons are the menu's own items, so they are enabled and disabled
  // together in every mode.
  auto add = [this](QStyle::StandardPixmap icon, const char* name) {
    auto* action = findChild<QAction*>(name);
    action->setIcon(style()->standardIcon(icon));
    tbToolBar_->addAction(action);
  };
  add(QStyle::SP_FileIcon, "mnuFileNew");
  add(QStyle::SP_DialogOpenButton, "mnuFileOpen");
  add(QStyle::SP_DialogSaveButton, "mnuFileSave");
}

void frmMain::BuildStatusBar() {
  sbStatus_ = new QLabel("Status", this);
  sbStatus_->setObjectName("sbStatus");
  sbDate_ = new QLabel(this);
  sbDate_->setObjectName("sbDate");
  sbTime_ = new QLabel(this);
  sbTime_->setObjectName("sbTime");
  statusBar()->setObjectName("sbStatusBar");
  statusBar()->addWidget(sbStatus_, 1);
  statusBar()->addPermanentWidget(sbDate_);
  statusBar()->addPermanentWidget(sbTime_);
  UpdateClock();
  // The date and time panels follow the clock, as a status bar's do.
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &frmMain::UpdateClock);
  timer->start(1000);
}

void frmMain::UpdateClock() {
  sbDate_->setText(FromCp1252(clock_.ShortDate()));
  sbTime_->setText(QLocale::system().toString(QTime::currentTime(), QLocale::ShortFormat));
}

double frmMain::DotsPerInch(Qt::Orientation orientation) const {
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (!screen) return 96.0;
  return orientation == Qt::Horizontal ? screen->logicalDotsPerInchX()
                                       : screen->logicalDotsPerInchY();
}

void frmMain::PlaceWindow() {
  for (size_t i = 0; i < kPlacementKeys.size(); ++i) {
    const PlacementKey& key = kPlacementKeys[i];
    placedTwips_[i] = ReadTwips(settings_, key.name, key.defaultTwips);
    placedPixels_[i] =
        static_cast<int>(placedTwips_[i] * DotsPerInch(key.orientation) / kTwipsPerInch + 0.5);
  }
  // Kept on the screen it opens on, whole: a size kept at another scale
  // or on a larger screen would reach past it.
  QRect placed(placedPixels_[0], placedPixels_[1], placedPixels_[2], placedPixels_[3]);
  const QScreen* screen = QGuiApplication::screenAt(placed.topLeft());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect room = screen->availableGeometry();
    constexpr int kFrame = 40;  // the title bar and borders, before they are known
    placed.setWidth(std::min(placed.width(), room.width()));
    placed.setHeight(std::min(placed.height(), room.height() - kFrame));
    placed.moveLeft(std::clamp(placed.left(), room.left(), room.right() + 1 - placed.width()));
    placed.moveTop(
        std::clamp(placed.top(), room.top(), room.bottom() + 1 - kFrame - placed.height()));
  }
  move(placed.topLeft());
  resize(placed.size());
}

void frmMain::Form_Load() {
  Trap(state_.dialogs, "Program Error: ", " occured in Form_Load", [&] {
    PlaceWindow();
    ResizeGrid();
    ProjectStore& store = state_.Project;
    store.CurrentGroup = 0;
    store.Group(0).Cells.at(0, Station) = kEndOfRows;
    store.Group(0).BalanceFactor = FormatArea("1.000");
    fraUnits_->setEnabled(true);
    store.GroupCount = 1;
    // The first tab's caption is the group's name, saved and reported.
    ApplyDefaultGroupNames(state_);
    store.DataChanged = false;
    store.CurrentFileName = "UNTITLED";
    state_.Window.Caption = "EARTHWORK :" + store.CurrentFileName;
    FollowCurrentGroup(state_);
    ProjectChanged();
  });
}

void frmMain::ResizeGrid() {
  Trap(state_.dialogs, "Program Error: ", " occured in ResizeGrid", [&] {
    for (int c = 0; c < StationGrid::kColumns; ++c) {
      Grid1_->SetCellText(0, c, kGridColumns[static_cast<size_t>(c)].name);
    }
    for (int c = 0; c < StationGrid::kColumns; ++c) {
      // Wide enough for either unit label.
      Grid1_->SetCellText(1, c, kGridColumns[static_cast<size_t>(c)].english);
      Grid1_->SetColumnWidthTwips(c, kGridColumns[static_cast<size_t>(c)].twips);
    }
  });
}

void frmMain::OpenPath(const std::string& path) {
  ReadChosenFile(state_, path);
}

void frmMain::OpenAsked(const std::string& path) {
  CommitTyping();
  OpenNamedFile(state_, path);
}

std::vector<std::string> frmMain::RecentFiles() const {
  std::vector<std::string> files;
  for (int i = 1; i <= kRecentFiles; ++i) {
    const std::string path = settings_.Read(kRecentSection, "File" + std::to_string(i), "");
    if (!path.empty()) files.push_back(path);
  }
  return files;
}

void frmMain::RememberRecentFile(const std::string& path) {
  std::vector<std::string> files = RecentFiles();
  std::erase(files, path);
  files.insert(files.begin(), path);
  KeepRecentFiles(files);
}

void frmMain::ForgetRecentFile(const std::string& path) {
  std::vector<std::string> files = RecentFiles();
  std::erase(files, path);
  KeepRecentFiles(files);
}

void frmMain::KeepRecentFiles(std::vector<std::string> files) {
  files.resize(std::min<size_t>(files.size(), kRecentFiles));
  for (int i = 1; i <= kRecentFiles; ++i) {
    const size_t at = static_cast<size_t>(i - 1);
    settings_.Write(kRecentSection, "File" + std::to_string(i), at < files.size() ? files[at] : "");
  }
  ShowRecentFiles();
}

/// The File menu lists the recent files before Exit, "&1" the newest.
void frmMain::ShowRecentFiles() {
  // An entry may be the one whose command is running: it goes once that
  // command is over.
  for (QAction* action : mnuFileRecent_) {
    mnuFile_->removeAction(action);
    action->deleteLater();
  }
  mnuFileRecent_.clear();
  int number = 0;
  for (const std::string& path : RecentFiles()) {
    const QString shown = qt::FromCoreText(path);
    auto* action =
        new QAction(QString("&%1 %2").arg(++number).arg(QFileInfo(shown).fileName()), mnuFile_);
    action->setObjectName(QString("mnuFileRecent%1").arg(number));
    action->setToolTip(shown);
    action->setStatusTip(shown);
    connect(action, &QAction::triggered, this, [this, path] {
      OpenAsked(path);
      // A file that is gone has been said; the menu no longer offers it.
      std::error_code ec;
      if (!std::filesystem::exists(path, ec)) ForgetRecentFile(path);
    });
    mnuFile_->insertAction(mnuFileRecentEnd_, action);
    mnuFileRecent_.push_back(action);
  }
  if (!mnuFileRecent_.empty()) {
    auto* separator = new QAction(mnuFile_);
    separator->setSeparator(true);
    mnuFile_->insertAction(mnuFileRecent_.front(), separator);
    mnuFileRecent_.insert(mnuFileRecent_.begin(), separator);
  }
}

void frmMain::CommitTyping() {
  if (formEditor_) formEditor_->Editor().FinishEditing();
  CheckShrinkFactor();
}

// ---- MainView -----------------------------------------------------------

void frmMain::ProjectChanged() {
  // A project read or reset is shown from the first row of its group.
  filledGroup_ = -1;
  Trap(state_.dialogs, " Program Error: ", " UpDateGroupTab(formRelated)", [&] {
    for (size_t i = 0; i < txtDescri_.size(); ++i) {
      const QString text = FromCp1252(state_.Project.HeaderFields[i]);
      if (txtDescri_[i]->text() != text) txtDescri_[i]->setText(text);
    }
    StateChanged();
    GroupShown();
  });
}

void frmMain::GroupShown() {
  Trap(state_.dialogs, "Program Error: ", "(FillMainForm(formRelated))", [&] {
    ShowTabs();
    ShowBoxes();
    if (!state_.Project.LogFileMode) FillGrid();
    ShowChanged();
  });
}

void frmMain::StateChanged() {
  ShowTitle();
  sbStatus_->setText(FromCp1252(state_.Window.StatusText));
  ShowTabs();
  ShowMode();
  ShowUnits();
  ShowBoxes();
}

/// The file's name, its changes marker and the program, as desktop
/// programs name their windows; the whole path is the window's file path.
void frmMain::ShowTitle() {
  const std::string& caption = state_.Window.Caption;
  const std::string path = CaptionFile(caption);
  const QString name = path.empty() ? QString("Untitled") : qt::FromCoreText(StripFile(path));
  setWindowTitle(name + "[*] - " + kApplicationTitle);
  setWindowFilePath(path.empty() ? QString() : qt::FromCoreText(path));
  ShowChanged();
  if (caption != shownCaption_) {
    shownCaption_ = caption;
    // Every file the window comes to show is a recent file.
    if (!path.empty() && std::filesystem::is_regular_file(path)) RememberRecentFile(path);
  }
}

void frmMain::ShowChanged() {
  // A log's report holds nothing to save.
  setWindowModified(state_.Project.DataChanged && !state_.Project.LogFileMode);
}

/// One tab per group, each with its caption, the current group's selected.
void frmMain::ShowTabs() {
  const QSignalBlocker block(TabStrip1_);
  const int groups = state_.Project.GroupCount;
  while (TabStrip1_->count() > groups) TabStrip1_->removeTab(TabStrip1_->count() - 1);
  for (int g = 0; g < groups; ++g) {
    const QString caption = FromCp1252(TabCaption(state_, g));
    if (g == TabStrip1_->count()) {
      TabStrip1_->addTab(caption);
    } else if (TabStrip1_->tabText(g) != caption) {
      TabStrip1_->setTabText(g, caption);
    }
  }
  TabStrip1_->setCurrentIndex(state_.Project.CurrentGroup);
  TabStrip1_->setVisible(true);
}

/// The grid and everything that edits (edit mode), or the log's help text
/// with nothing to edit or save (log mode).
void frmMain::ShowMode() {
  const bool log = state_.Project.LogFileMode;
  Grid1_->setVisible(!log);
  Grid1_->setEnabled(!log);
  txtLogHelp_->setVisible(log);
  txtLogHelp_->setEnabled(log);
  lblShrinkFactor_->setVisible(!log);
  txtShrinkFactor_->setVisible(!log);
  for (QAction* item : {mnuFileSaveItem_, mnuFileSaveAsItem_, mnuEdit_->menuAction()}) {
    item->setEnabled(!log);
  }
  mnuEdit_->setEnabled(!log);
  mnuFileImport_->setText("&" + FromCp1252(ImportItemCaption(state_.Project)));
  mnuFileImport_->setEnabled(true);
}

/// The unit choice while it is offered, else the chosen unit system, with
/// the grid's unit labels to match.
void frmMain::ShowUnits() {
  const bool chosen = state_.Window.UnitChosen;
  const bool metric = state_.Project.UnitSystem == Units::Metric;
  QRadioButton* option = metric ? optMetric_ : optEnglish_;
  if (chosen) {
    option->setChecked(true);
    Label5_->setText(option->text());
  } else {
    for (QRadioButton* each : {optEnglish_, optMetric_}) {
      each->setAutoExclusive(false);
      each->setChecked(false);
      each->setAutoExclusive(true);
    }
  }
  Label5_->setVisible(chosen);
  fraUnits_->setVisible(!chosen);
  for (int c : {0, 2, 3, 4, 5}) {
    const GridColumn& column = kGridColumns[static_cast<size_t>(c)];
    Grid1_->SetCellText(1, c, !chosen ? "" : metric ? column.metric : column.english);
  }
}

void frmMain::ShowBoxes() {
  const WindowState& window = state_.Window;
  const QString factor = FromCp1252(window.BalanceBox);
  // While the user types, the box already shows what is stored.
  if (txtShrinkFactor_->text() != factor) txtShrinkFactor_->setText(factor);
  txtShrinkFactor_->setEnabled(window.BalanceBoxEnabled);
  lblShrinkFactor_->setEnabled(window.BalanceBoxEnabled);
  chkEmbankment_->setChecked(window.Embankment);
}

/// The current group's rows, then the empty last line; another group is
/// shown from its first row.
void frmMain::FillGrid() {
  const GroupRecord& group = state_.Project.Current();
  const bool otherGroup = filledGroup_ != state_.Project.CurrentGroup;
  filledGroup_ = state_.Project.CurrentGroup;
  int rows = 0;
  while (rows <= kMaxDataRows && group.Cells.at(rows, Station) != kEndOfRows) ++rows;
  if (rows > kMaxDataRows) SubscriptOutOfRange();
  Grid1_->setUpdatesEnabled(false);
  Grid1_->SetGridRows(rows + 3);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < StationGrid::kColumns; ++c) {
      Grid1_->SetCellText(r + 2, c, FromCp1252(Trim(group.Cells.at(r, c))));
    }
  }
  Grid1_->ClearRow(rows + 2);
  if (otherGroup) {
    Grid1_->SetCursor(StationGrid::kHeaderRows, Station);
    Grid1_->scrollToTop();
  }
  Grid1_->setUpdatesEnabled(true);
}

void frmMain::ScrollTo(int gridRow) {
  Trap(state_.dialogs, "Program Error: ", " occured in (TopRowVisible(GridRelated))", [&] {
    if (gridRow >= 14) {
      const int row = std::min(gridRow, Grid1_->GridRows() - 1);
      if (!Grid1_->RowFullyVisible(row)) Grid1_->SetTopRow(row - 14);
    }
    if (Grid1_->isVisible()) Grid1_->setFocus();
  });
}

void frmMain::ShowReportPreview() {
  Trap(state_.dialogs, "Program Error: ", "occured in form_load", [&] {
    frmPreview preview(state_, clock_, this, openPrinter_);
    preview.ShowFirstPage();
  });
}

void frmMain::PopupReportMenu() {
  if (auto* menu = findChild<QMenu*>("mnuFilePrintPreview")) menu->exec(QCursor::pos());
}

void frmMain::FocusDesigner() {
  txtDescri_[0]->setFocus();
}

void frmMain::Close() {
  unloading_ = true;
  close();
}

// ---- Window events ------------------------------------------------------

void frmMain::closeEvent(QCloseEvent* event) {
  if (!unloading_) {
    CommitTyping();
    if (Form_QueryUnload(state_, UnloadMode::ControlMenu) == Closing::Stays) {
      event->ignore();
      return;
    }
  }
  Form_Unload();
  event->accept();
}

void frmMain::Form_Unload() {
  Trap(state_.dialogs, "Program Error: ", " occured in Form_Unload", [&] {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (auto it = windows.crbegin(); it != windows.crend(); ++it) {
      if (*it != this && (*it)->isVisible()) (*it)->close();
    }
    if (isMinimized()) return;
    const std::array<int, 4> pixels = {pos().x(), pos().y(), width(), height()};
    for (size_t i = 0; i < kPlacementKeys.size(); ++i) {
      const PlacementKey& key = kPlacementKeys[i];
      // A side that did not change keeps its stored twips exactly rather
      // than drifting by the rounding to whole pixels.
      const int twips =
          pixels[i] == placedPixels_[i]
              ? placedTwips_[i]
              : static_cast<int>(pixels[i] * kTwipsPerInch / DotsPerInch(key.orientation) + 0.5);
      settings_.Write(kSection, key.name, std::to_string(twips));
    }
  });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == txtShrinkFactor_ && event->type() == QEvent::FocusIn) {
    factorOnEntry_ = state_.Window.BalanceBox;
  }
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      for (int i = 0; i < 3; ++i) {
        if (watched != txtDescri_[static_cast<size_t>(i)]) continue;
        Trap(state_.dialogs, "Program Error: ", " occured in txtDescri_keypress", [&] {
          StoreHeaderField(i);
          QWidget* next = i < 2 ? static_cast<QWidget*>(txtDescri_[static_cast<size_t>(i) + 1])
                                : txtShrinkFactor_;
          next->setFocus();
        });
        return true;  // the key is consumed
      }
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

// ---- Controls -----------------------------------------------------------

void frmMain::StoreHeaderField(int index) {
  state_.Project.HeaderFields.at(static_cast<size_t>(index)) =
      ToCp1252(txtDescri_.at(static_cast<size_t>(index))->text());
}

void frmMain::HeaderFieldChanged() {
  Trap(state_.dialogs, "Program Error: ", " occured in txtDescri_Change", [&] {
    // A log's header is not saved anywhere, but typing it must not hide
    // changes that are.
    if (!state_.Project.LogFileMode) state_.Project.DataChanged = true;
  });
}

void frmMain::dragEnterEvent(QDragEnterEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() == 1 && urls.front().isLocalFile()) event->acceptProposedAction();
}

void frmMain::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  const std::string path = qt::ToCorePath(urls.front().toLocalFile());
  // Opened once the drop is over, so the drag source is not kept waiting
  // on the questions.
  QTimer::singleShot(0, this, [this, path] { OpenAsked(path); });
}

void frmMain::CheckShrinkFactor() {
  Trap(state_.dialogs, " Program Error: ", " txtShrinkFactor_Change(frmmain)", [&] {
    if (!txtShrinkFactor_->isEnabled() || state_.Project.LogFileMode) return;
    const std::string typed = ToCp1252(txtShrinkFactor_->text());
    if (ParseNumber(typed)) return;
    state_.dialogs.MessageBox(
        "The balance factor must be a number, such as 1.25: \"" + typed + "\" was not taken.",
        Buttons::Ok, Icon::Exclamation);
    // The group keeps the factor it had before the box was typed into.
    const std::string before = ParseNumber(factorOnEntry_) ? factorOnEntry_ : FormatArea("1.000");
    PutBalanceFactor(state_, before);
    factorOnEntry_ = before;
  });
}

void frmMain::ShrinkFactorChanged() {
  Trap(state_.dialogs, " Program Error: ", " txtShrinkFactor_Change(frmmain)",
       [&] { PutBalanceFactor(state_, ToCp1252(txtShrinkFactor_->text())); });
}

void frmMain::EmbankmentClicked() {
  SetEmbankment(state_, chkEmbankment_->isChecked());
}

void frmMain::ChooseUnit(int unitSystem) {
  // Choosing the units saves nothing: what was typed before stays unsaved.
  state_.Project.UnitSystem = unitSystem == 1 ? Units::Metric : Units::English;
  state_.Window.UnitChosen = true;
  StateChanged();
}

// ---- Commands -----------------------------------------------------------

void frmMain::mnuFileNew() {
  CommitTyping();
  NewFile(state_);
}
void frmMain::mnuFileOpen() {
  CommitTyping();
  Openfile(state_);
}
void frmMain::mnuFileSave() {
  CommitTyping();
  SaveFile(state_);
}
void frmMain::mnuFileSaveAs() {
  CommitTyping();
  SaveAsFile(state_);
}
void frmMain::mnuFileExit() {
  CommitTyping();
  earthwork::mnuFileExit(state_);
}
void frmMain::mnuFilePrintPreview(int accumulated) {
  CommitTyping();
  PrintPreviewReport(state_, accumulated == 1 ? ReportKind::Accumulated : ReportKind::Total);
}

void frmMain::mnuViewToolbar() {
  Trap(state_.dialogs, "Program Error: ", " occured in mnuViewToolbar_click",
       [&] { tbToolBar_->setVisible(mnuViewToolbarItem_->isChecked()); });
}

void frmMain::mnuViewStatusBar() {
  Trap(state_.dialogs, "Program Error: ", " occured in mnuViewStatusBar_Click",
       [&] { statusBar()->setVisible(mnuViewStatusBarItem_->isChecked()); });
}

void frmMain::mnuViewMassHaul() {
  auto haul = MassHaulOfGroupShown(state_, settings_);
  if (!haul) return;
  auto* window = new frmMassHaul(state_, settings_, clock_, std::move(*haul), this);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
}

void frmMain::mnuViewRefresh() {
  Trap(state_.dialogs, "Program Error: ", " occured in mnuViewRefresh_click",
       [&] { state_.dialogs.MessageBox("Add 'mnuViewRefresh_Click' code."); });
}

void frmMain::ShowHelpUnavailable(const char* prefix, const char* suffix) {
  Trap(state_.dialogs, prefix, suffix, [&] {
    if (helpFile_.empty()) {
      state_.dialogs.MessageBox(kNoHelp, Buttons::Ok, Icon::Information);
      return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(FromCp1252(helpFile_)))) {
      state_.dialogs.MessageBox("Cannot open the help file " + helpFile_);
    }
  });
}

void frmMain::mnuHelpContents() {
  ShowHelpUnavailable("Program Error ", " occured in mnuHelpcontents");
}

void frmMain::mnuHelpSearch() {
  ShowHelpUnavailable("Program Error: ", " occured in mnuHelpSearchforHelpOn");
}

void frmMain::mnuHelpAbout() {
  Trap(state_.dialogs, "Program Error: ", " occured in mnuHelpAbout_Click", [&] {
    frmAbout about(state_.dialogs, this);
    about.exec();
  });
}

}  // namespace earthwork
