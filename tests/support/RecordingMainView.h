#pragma once

#include <array>
#include <string>
#include <vector>

#include "platform/ports/MainView.h"

namespace earthwork::testing {

/// A main window stand-in that records every call as a line of text
/// ("SetCaption(EARTHWORK: Untitled)", "FillMainForm") and holds the few
/// values the core reads back. It never touches the store.
class RecordingMainView : public MainView {
 public:
  void SetCaption(const std::string& caption) override;
  std::string Caption() const override { return caption; }
  int GridRowCount() const override { return gridRows; }
  int GridColumnCount() const override { return gridColumns; }
  std::string BalanceBoxText() const override { return balanceBox; }
  void SetBalanceBox(const std::string& text, bool enabled) override;
  bool EmbankmentChecked() const override { return embankment; }
  std::string HeaderBoxText(int index) const override;
  void ClearTabStrip() override;
  void UpDateGroupTab() override { calls.push_back("UpDateGroupTab"); }
  void ResetMainForm() override { calls.push_back("ResetMainForm"); }
  void FillMainForm() override { calls.push_back("FillMainForm"); }
  void UpDateUnits() override { calls.push_back("UpDateUnits"); }
  void TopRowVisible(int gridRow) override;
  std::string TabCaption(int group) const override;
  void SetMesurementSyste(int unitSystem) override;
  void ShowUnitChoice() override { calls.push_back("ShowUnitChoice"); }
  void ShowGridView() override { calls.push_back("ShowGridView"); }
  void ShowLogView() override { calls.push_back("ShowLogView"); }
  void ShowBalanceFactor(bool visible) override;
  void EnableEditing(bool enabled) override;
  void SetImportItem(const std::string& caption) override;
  int TabCount() const override { return static_cast<int>(tabCaptions.size()); }
  void AddTab(int position, const std::string& caption) override;
  void ShowReportPreview() override { calls.push_back("ShowReportPreview"); }
  void SetStatusText(const std::string& text) override;
  void FocusDesigner() override { calls.push_back("FocusDesigner"); }
  void UnloadMainWindow() override { calls.push_back("UnloadMainWindow"); }

  std::vector<std::string> calls;
  std::string caption;
  int gridRows = 3;
  int gridColumns = 6;
  std::string balanceBox = "1.000";
  bool balanceEnabled = true;
  bool embankment = false;
  std::array<std::string, 3> headerBoxes;
  std::vector<std::string> tabCaptions;  // the tabs; beyond them: "Earthwork n"
  std::string importItem;
};

}  // namespace earthwork::testing
