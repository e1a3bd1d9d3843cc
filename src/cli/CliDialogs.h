#pragma once

#include <string>

#include "platform/ports/Dialogs.h"
#include "platform/ports/MainView.h"

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

/// The main window's part without a window: nothing is shown, so there is
/// nothing to follow. What a window would show is kept in the program state
/// by the same code for the window and the batch commands.
class QuietMainView : public MainView {
 public:
  void ProjectChanged() override {}
  void GroupShown() override {}
  void StateChanged() override {}
  void ScrollTo(int) override {}
  void ShowReportPreview() override {}
  void PopupReportMenu() override {}
  void FocusDesigner() override {}
  void Close() override {}
};

}  // namespace earthwork::cli
