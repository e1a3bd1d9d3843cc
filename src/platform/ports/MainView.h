#pragma once

namespace earthwork {

/// What the core tells whatever shows the project. What it shows is state
/// the core owns (the project's store and its WindowState); these calls only
/// say what changed, so the window follows the core and the core never asks
/// the window anything. The real window implements it; tests and the
/// command line use stand-ins.
class MainView {
 public:
  virtual ~MainView() = default;

  /// Anything may have changed (a file read, a reset, groups inserted,
  /// deleted or imported): tabs, header fields, units, modes, boxes, grid.
  virtual void ProjectChanged() = 0;
  /// Another group is shown, or the shown group's rows changed: the grid,
  /// the selected tab and the boxes follow the current group.
  virtual void GroupShown() = 0;
  /// The caption, a tab caption, a box or the status text changed.
  virtual void StateChanged() = 0;
  /// Scrolls the grid so that grid row `gridRow` is in view.
  virtual void ScrollTo(int gridRow) = 0;
  /// Shows the ReportFile as the Total report command does: page state
  /// reset, printer prepared, first page in the modal preview window.
  virtual void ShowReportPreview() = 0;
  /// The report submenu (Total, Accumulated) at the pointer.
  virtual void PopupReportMenu() = 0;
  /// Input focus to the Designer box.
  virtual void FocusDesigner() = 0;
  /// Closes the main window without asking anything (the program ends).
  virtual void Close() = 0;
};

/// Passes everything on to the view attached to it, if any, so that the
/// program state can be made before the window that shows it (and outlive
/// it).
class MainViewRelay : public MainView {
 public:
  void Attach(MainView* view) { view_ = view; }
  void ProjectChanged() override {
    if (view_) view_->ProjectChanged();
  }
  void GroupShown() override {
    if (view_) view_->GroupShown();
  }
  void StateChanged() override {
    if (view_) view_->StateChanged();
  }
  void ScrollTo(int gridRow) override {
    if (view_) view_->ScrollTo(gridRow);
  }
  void ShowReportPreview() override {
    if (view_) view_->ShowReportPreview();
  }
  void PopupReportMenu() override {
    if (view_) view_->PopupReportMenu();
  }
  void FocusDesigner() override {
    if (view_) view_->FocusDesigner();
  }
  void Close() override {
    if (view_) view_->Close();
  }

 private:
  MainView* view_ = nullptr;
};

}  // namespace earthwork
