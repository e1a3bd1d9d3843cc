#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/ports/Dialogs.h"

namespace earthwork::testing {

struct ShownMessage {
  std::string text;
  Buttons buttons;
  Icon icon;
  std::string title;
  std::optional<Answer> defaultButton;
};

/// Replays scripted answers and records every text shown. A box with only an
/// OK button answers Ok without taking a scripted answer; any other box,
/// input box or file dialog takes the next scripted one (a missing answer
/// fails the test and cancels).
class ScriptedDialogs : public Dialogs {
 public:
  Answer MessageBox(const std::string& text, Buttons buttons, Icon icon, const std::string& title,
                    std::optional<Answer> defaultButton) override;
  std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                      const std::string& defaultText) override;
  std::optional<std::string> OpenFileDialog(const FileDialogSettings& settings) override;
  std::optional<std::string> SaveFileDialog(const FileDialogSettings& settings) override;

  std::deque<Answer> answers;
  std::deque<std::optional<std::string>> inputs;
  std::deque<std::optional<std::string>> files;

  std::vector<ShownMessage> shown;
  std::vector<std::string> prompts;  // "prompt|title|default" of each input box
  std::vector<FileDialogSettings> fileDialogs;

  /// The texts of every message box, in order.
  std::vector<std::string> Texts() const;
};

}  // namespace earthwork::testing
