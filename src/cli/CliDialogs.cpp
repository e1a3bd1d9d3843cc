#include "cli/CliDialogs.h"

#include <iostream>

#include "project/Store.h"

namespace earthwork::cli {

Answer CliDialogs::MessageBox(const std::string& text, Buttons buttons, Icon, const std::string&,
                              std::optional<Answer> defaultButton) {
  ++MessageCount;
  std::cerr << text << "\n";
  if (defaultButton) return *defaultButton;
  switch (buttons) {
    case Buttons::Ok:
      return Answer::Ok;
    case Buttons::YesNo:
      return Answer::No;
    default:
      return Answer::Cancel;
  }
}

std::optional<std::string> CliDialogs::InputBox(const std::string& prompt, const std::string&,
                                                const std::string&) {
  std::cerr << prompt << " (cancelled: no window)\n";
  return std::nullopt;
}

std::optional<std::string> CliDialogs::OpenFileDialog(const FileDialogSettings&) {
  return std::nullopt;
}

std::optional<std::string> CliDialogs::SaveFileDialog(const FileDialogSettings&) {
  return std::nullopt;
}

}  // namespace earthwork::cli
