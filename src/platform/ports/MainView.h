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
};

}  // namespace earthwork
