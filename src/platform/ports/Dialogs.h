#pragma once

#include <optional>
#include <string>

namespace earthwork {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Question, Exclamation, Critical };
enum class Answer { Ok, Cancel, Yes, No };

/// The settings the file dialog keeps between uses: the filter list in the
/// "Name|pattern|Name|pattern" form, the 1-based preselected filter, and
/// whether a cancel is reported as an error to the caller.
struct FileDialogSettings {
  std::string Filter;
  int FilterIndex = 1;
  bool CancelError = false;
};

/// Everything the core asks of the user. Texts are single-byte (1252) strings.
class Dialogs {
 public:
  virtual ~Dialogs() = default;

  /// A message box; an empty title means the program's default title.
  /// `defaultButton` is only a hint for the toolkit.
  virtual Answer MessageBox(const std::string& text, Buttons buttons = Buttons::Ok,
                            Icon icon = Icon::None, const std::string& title = {},
                            std::optional<Answer> defaultButton = std::nullopt) = 0;

  /// An input box; nullopt when the user cancels.
  virtual std::optional<std::string> InputBox(const std::string& prompt, const std::string& title,
                                              const std::string& defaultText) = 0;

  /// The common open or save dialog; nullopt when the user cancels.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogSettings& settings) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogSettings& settings) = 0;
};

}  // namespace earthwork
