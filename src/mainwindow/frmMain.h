#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

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

class StationGrid;

/// The main window: header fields, unit choice, balance factor, embankment
/// box, group tabs, station grid, menus, toolbar and status bar. It owns
/// the program state and is the MainView the core talks to.
namespace qt {
class bentleyTwo;
}

class frmMain : public QMainWindow, public MainView {
  Q_OBJECT
 public:
  /// Opening the window: reads the window settings, lays out the grid and
  /// starts an empty UNTITLED project.
  frmMain(Dialogs& dialogs, Settings& settings, Clock& clock, QWidget* parent = nullptr);
  ~frmMain() override;

  ProgramState& State() { return state_; }
  Clock& clock() { return clock_; }
  StationGrid& Grid() { return *Grid1_; }
  QTabBar& TabStrip() { return *TabStrip1_; }
  /// The File menu's import item (its command belongs to the group commands).
  QAction& ImportItem() { return *mnuFileImport_; }
  /// Puts a text into the balance factor box as the program does (Group
  /// Insert): the box's change rule runs as for typing.
  void PutBalanceFactor(const std::string& text);
  /// Where printed reports go (the default printer unless replaced).
  void SetPrinterFactory(PrinterFactory factory) { openPrinter_ = std::move(factory); }

  /// Opens `path` as File > Open would after the dialog (program start with
  /// a file argument).
  void OpenPath(const std::string& path);

  /// The shell the stickup hand-off goes through.
  Shell& StickupShell() { return *shell_; }
  /// The new-drawing dialog, created on first use and then only hidden.
  qt::bentleyTwo& DrawingDialog();

  // MainView
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override;
  int GridRowCount() const override;
  int GridColumnCount() const override;
  std::string BalanceBoxText() const override;
  void SetBalanceBox(const std::string& text, bool enabled) override;
  bool EmbankmentChecked() const override;
  std::string HeaderBoxText(int index) const override;
  void ClearTabStrip() override;
  void UpDateGroupTab() override;
  void ResetMainForm() override;
  void FillMainForm() override;
  void UpDateUnits() override;
  void TopRowVisible(int gridRow) override;
  std::string TabCaption(int group) const override;
  void SetMesurementSyste(int unitSystem) override;
  void ShowUnitChoice() override;
  void ShowGridView() override;
  void ShowLogView() override;
  void ShowBalanceFactor(bool visible) override;
  void EnableEditing(bool enabled) override;
  void SetImportItem(const std::string& caption) override;
  int TabCount() const override;
  void AddTab(int position, const std::string& caption) override;
  void ShowReportPreview() override;
  void SetStatusText(const std::string& text) override;
  void FocusDesigner() override;
  void UnloadMainWindow() override;

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
  void mnuViewRefresh();
  void mnuHelpContents();
  void mnuHelpSearch();
  void mnuHelpAbout();

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

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
  void BlankUnitLabels();
  void ChooseUnit(int unitSystem);
  void StoreHeaderField(int index);
  void HeaderFieldChanged();
  void ShrinkFactorChanged();
  void EmbankmentClicked();
  void ShowHelpUnavailable(const char* prefix, const char* suffix);
  void UpdateClock();

  Settings& settings_;
  Clock& clock_;
  ProgramState state_;
  PrinterFactory openPrinter_ = DefaultPrinterFactory();
  bool unloading_ = false;
  std::array<int, 4> placedTwips_{};   // left, top, width, height as read
  std::array<int, 4> placedPixels_{};  // the same on the screen
  std::string caption_;                // as the core set it (the title shows it decoded)
  std::string helpFile_;               // empty as built: no help file
  std::unique_ptr<Shell> shell_;
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
  QMenu* mnuEdit_ = nullptr;
  QAction* mnuViewToolbarItem_ = nullptr;
  QAction* mnuViewStatusBarItem_ = nullptr;
};

}  // namespace earthwork
