#pragma once

#include <string>

namespace earthwork {

/// What the file commands, readers and resets ask of the main window. The
/// real window implements it; tests and the command line use stand-ins.
class MainView {
 public:
  virtual ~MainView() = default;

  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;

  /// Grid dimensions as the store's resets see them (rows include the two
  /// header rows).
  virtual int GridRowCount() const = 0;
  virtual int GridColumnCount() const = 0;

  virtual std::string BalanceBoxText() const = 0;
  virtual void SetBalanceBox(const std::string& text, bool enabled) = 0;
  virtual bool EmbankmentChecked() const = 0;

  /// The header boxes (0 Designer, 1 Project No., 2 Control No.).
  virtual std::string HeaderBoxText(int index) const = 0;

  /// Redraws from the store: tabs, grid, unit labels.
  virtual void ClearTabStrip() = 0;
  virtual void UpDateGroupTab() = 0;
  virtual void ResetMainForm() = 0;
  virtual void FillMainForm() = 0;
  virtual void UpDateUnits() = 0;
  virtual void TopRowVisible(int gridRow) = 0;
  virtual std::string TabCaption(int group) const = 0;

  /// Unit choice: show the option buttons for `unitSystem` (reading a file),
  /// or hide the label, clear both buttons and show the frame (a reset).
  virtual void SetMesurementSyste(int unitSystem) = 0;
  virtual void ShowUnitChoice() = 0;

  // What the File commands switch. The defaults do nothing, for stand-ins
  // that have no such window part.

  /// The EarFile view (grid shown and active, log help text hidden) or the
  /// log view (grid hidden, help text shown read-only); never both.
  virtual void ShowGridView() {}
  virtual void ShowLogView() {}
  /// The "Balance Factor:" label and box.
  virtual void ShowBalanceFactor(bool /*visible*/) {}
  /// The File menu's Save and Save As items and the Edit menu.
  virtual void EnableEditing(bool /*enabled*/) {}
  /// Enables the File menu's import item with this caption ("Import EAR
  /// File" in edit mode, "Import any other Log File" in log mode).
  virtual void SetImportItem(const std::string& /*caption*/) {}
  /// The tab strip: number of tabs, and a new tab at 1-based `position`.
  virtual int TabCount() const { return 0; }
  virtual void AddTab(int /*position*/, const std::string& /*caption*/) {}
  /// Shows the ReportFile as the Total report command does: page state
  /// reset, printer prepared, first page in the modal preview window.
  virtual void ShowReportPreview() {}
  /// The first status bar panel.
  virtual void SetStatusText(const std::string& /*text*/) {}
  /// Input focus to the Designer box.
  virtual void FocusDesigner() {}
  /// Closes the main window without asking anything (the program ends).
  virtual void UnloadMainWindow() {}
};

}  // namespace earthwork
