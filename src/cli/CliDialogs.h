#pragma once

#include <string>

#include "platform/ports/Dialogs.h"
#include "platform/ports/MainView.h"
#include "project/ProjectStore.h"

namespace earthwork::cli {

/// Dialogs without a window: every message goes to stderr (one line each);
/// questions take their default answer (else No / Cancel); input boxes and
/// file dialogs are cancelled. `MessageCount` tells whether anything was said.
class CliDialogs : public Dialogs {
 public:
  Answer MessageBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                    std::optional<Answer> defaultButton) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFileDialog(const FileDialogSettings& settings) override;
  std::optional<std::string> SaveFileDialog(const FileDialogSettings& settings) override;
  int MessageCount = 0;
};

/// The main window's part without a window: captions and tabs follow the
/// store as the real window's do (empty group names become "Earthwork n").
class HeadlessMainView : public MainView {
 public:
  explicit HeadlessMainView(ProjectStore& store) : store_(store) {}
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  std::string Caption() const override { return caption_; }
  int GridRowCount() const override;
  int GridColumnCount() const override { return 6; }
  std::string BalanceBoxText() const override { return balanceBox_; }
  void SetBalanceBox(const std::string& text, bool) override { balanceBox_ = text; }
  bool EmbankmentChecked() const override;
  std::string HeaderBoxText(int index) const override;
  void ClearTabStrip() override {}
  void UpDateGroupTab() override;
  void ResetMainForm() override {}
  void FillMainForm() override {}
  void UpDateUnits() override {}
  void TopRowVisible(int) override {}
  std::string TabCaption(int group) const override;
  void SetMesurementSyste(int) override {}
  void ShowUnitChoice() override {}
  int TabCount() const override { return store_.GroupCount; }
  void AddTab(int position, const std::string& caption) override {
    SetTabCaption(position - 1, caption);
  }

  /// Tab captions that differ from the group names (log mode: "BASELINE: ...").
  void SetTabCaption(int group, const std::string& caption);

 private:
  ProjectStore& store_;
  std::string caption_;
  std::string balanceBox_ = "1.000";
  std::vector<std::string> tabCaptions_;
};

}  // namespace earthwork::cli
