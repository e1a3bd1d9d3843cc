#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/frmPreview.h"
#include "platform/ports/Dialogs.h"
#include "platform/ports/MainView.h"
#include "platform/ports/Shell.h"
#include "project/ProgramState.h"
#include "stickup/StickupSheets.h"

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QToolBar;

namespace earthwork {

class MainFormEditor;
class StationGrid;

namespace qt {
class bentleyTwo;
}

/// The main window: header fields, unit choice, balance factor, embankment
/// box, group tabs, station grid, menus, toolbar and status bar. It shows
/// the program state it is given, follows the core's change notifications
/// (it attaches itself to `relay`, the state's view) and hands the user's
/// input to the core.

class frmMain : public QMainWindow, public MainView {
  Q_OBJECT
 public:
  /// Opening the window: reads the window settings, lays out the grid and
  /// starts an empty UNTITLED project.
  frmMain(ProgramState& state, MainViewRelay& relay, Settings& settings, Clock& clock,
          QWidget* parent = nullptr);
  ~frmMain() override;

  ProgramState& State() { return state_; }
  Clock& clock() { return clock_; }
  StationGrid& Grid() { return *Grid1_; }
  QTabBar& TabStrip() { return *TabStrip1_; }
  /// The File menu's import item (its command belongs to the group commands).
  QAction& ImportItem() { return *mnuFileImport_; }
  /// Where printed reports go (the default printer unless replaced).
  void SetPrinterFactory(PrinterFactory factory) { openPrinter_ = std::move(factory); }

  /// Opens `path` as File > Open would after the dialog (program start with
  /// a file argument).
  void OpenPath(const std::string& path);
  /// Opens `path` as File > Open would, asking about unsaved changes first
  /// (a recent file, a file dropped on the window).
  void OpenAsked(const std::string& path);

  /// The recent files, newest first, as kept in the settings.
  std::vector<std::string> RecentFiles() const;

  /// Commits what is being typed in the grid and checks the balance factor
  /// box, before a command reads the store.
  void CommitTyping();
  /// The caption's changes marker follows the unsaved-changes flag.
  void ShowChanged();

  /// The shell the stickup hand-off goes through.
  Shell& StickupShell() { return *shell_; }
  /// The new-drawing dialog, created on first use and then only hidden.
  qt::bentleyTwo& DrawingDialog();

  // MainView
  void ProjectChanged() override;
  void GroupShown() override;
  void StateChanged() override;
  void ScrollTo(int gridRow) override;
  void ShowReportPreview() override;
  void PopupReportMenu() override;
  void FocusDesigner() override;
  void Close() override;

 public Q_SLOTS:
  // Menu and toolbar commands.
  void mnuFileNew();
  void mnuFileOpen();
  void mnuFileSave();
  void mnuFileSaveAs();
  void mnuFileExit();
  void command2_click();
  void mnuFilePrintPreview(int accumulated);
  void mnuViewToolbar();
  void mnuViewStatusBar();
  void mnuViewMassHaul();
  void mnuViewRefresh();
  void mnuHelpContents();
  void mnuHelpSearch();
  void mnuHelpAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  QWidget* BuildHeaderArea();
  void PlaceWindow();
  double DotsPerInch(Qt::Orientation orientation) const;
  void Form_Load();
  void Form_Unload();
  void ResizeGrid();
  void ShowTabs();
  void ShowMode();
  void ShowUnits();
  void ShowBoxes();
  void FillGrid();
  void ChooseUnit(int unitSystem);
  void StoreHeaderField(int index);
  void HeaderFieldChanged();
  void ShrinkFactorChanged();
  void CheckShrinkFactor();
  void ShowTitle();
  void RememberRecentFile(const std::string& path);
  void ForgetRecentFile(const std::string& path);
  void KeepRecentFiles(std::vector<std::string> files);
  void ShowRecentFiles();
  void EmbankmentClicked();
  void ShowHelpUnavailable(const char* prefix, const char* suffix);
  void UpdateClock();

  ProgramState& state_;
  MainViewRelay& relay_;
  Settings& settings_;
  Clock& clock_;
  PrinterFactory openPrinter_ = DefaultPrinterFactory();
  bool unloading_ = false;
  std::array<int, 4> placedTwips_{};   // left, top, width, height as read
  std::array<int, 4> placedPixels_{};  // the same on the screen
  std::string helpFile_;               // empty as built: no help file
  std::unique_ptr<Shell> shell_;
  MainFormEditor* formEditor_ = nullptr;
  std::string shownCaption_;   // the caption the recent files follow
  int filledGroup_ = -1;       // the group the grid shows
  std::string factorOnEntry_;  // the balance box when it took the focus
  StickupSession stickup_;
  qt::bentleyTwo* drawingDialog_ = nullptr;

  std::array<QLineEdit*, 3> txtDescri_{};
  QGroupBox* fraUnits_ = nullptr;
  QRadioButton* optEnglish_ = nullptr;
  QRadioButton* optMetric_ = nullptr;
  QLabel* Label5_ = nullptr;
  QLabel* lblShrinkFactor_ = nullptr;
  QLineEdit* txtShrinkFactor_ = nullptr;
  QCheckBox* chkEmbankment_ = nullptr;
  QPushButton* cmdStickup_ = nullptr;
  QTabBar* TabStrip1_ = nullptr;
  StationGrid* Grid1_ = nullptr;
  QPlainTextEdit* txtLogHelp_ = nullptr;
  QToolBar* tbToolBar_ = nullptr;
  QLabel* sbStatus_ = nullptr;
  QLabel* sbDate_ = nullptr;
  QLabel* sbTime_ = nullptr;

  QAction* mnuFileSaveItem_ = nullptr;
  QAction* mnuFileSaveAsItem_ = nullptr;
  QAction* mnuFileImport_ = nullptr;
  QMenu* mnuFile_ = nullptr;
  QAction* mnuFileRecentEnd_ = nullptr;  // the separator after the recent files
  std::vector<QAction*> mnuFileRecent_;
  QMenu* mnuEdit_ = nullptr;
  QAction* mnuViewToolbarItem_ = nullptr;
  QAction* mnuViewStatusBarItem_ = nullptr;
};

}  // namespace earthwork
