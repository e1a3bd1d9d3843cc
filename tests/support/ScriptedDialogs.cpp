#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

namespace earthwork::testing {

Answer ScriptedDialogs::MessageBox(const std::string& text, Buttons buttons, Icon icon,
                                   const std::string& title, std::optional<Answer> defaultButton) {
  shown.push_back({text, buttons, icon, title, defaultButton});
  if (buttons == Buttons::Ok) return Answer::Ok;
  if (answers.empty()) {
    ADD_FAILURE() << "no scripted answer for: " << text;
    return Answer::Cancel;
  }
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}

std::optional<std::string> ScriptedDialogs::InputBox(const std::string& prompt,
                                                     const std::string& title,
                                                     const std::string& defaultText) {
  prompts.push_back(prompt + "|" + title + "|" + defaultText);
  if (inputs.empty()) {
    ADD_FAILURE() << "no scripted input for: " << prompt;
    return std::nullopt;
  }
  auto a = inputs.front();
  inputs.pop_front();
  return a;
}

std::optional<std::string> ScriptedDialogs::OpenFileDialog(const FileDialogSettings& settings) {
  fileDialogs.push_back(settings);
  if (files.empty()) {
    ADD_FAILURE() << "no scripted file for the open dialog";
    return std::nullopt;
  }
  auto a = files.front();
  files.pop_front();
  return a;
}

std::optional<std::string> ScriptedDialogs::SaveFileDialog(const FileDialogSettings& settings) {
  return OpenFileDialog(settings);
}

std::vector<std::string> ScriptedDialogs::Texts() const {
  std::vector<std::string> texts;
  for (const auto& m : shown) texts.push_back(m.text);
  return texts;
}

}  // namespace earthwork::testing
