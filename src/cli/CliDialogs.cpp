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

int HeadlessMainView::GridRowCount() const {
  // The grid shows the current group's rows plus two header rows and the
  // empty last line.
  int rows = 0;
  try {
    rows = store_.Current().Cells.DataRowCount();
  } catch (...) {
    rows = kMaxDataRows;
  }
  return rows + 3;
}

bool HeadlessMainView::EmbankmentChecked() const {
  return store_.Current().MeasuredInEmbankment == 1;
}

std::string HeadlessMainView::HeaderBoxText(int index) const {
  return store_.HeaderFields.at(static_cast<size_t>(index));
}

void HeadlessMainView::UpDateGroupTab() {
  ApplyDefaultGroupNames(store_);
}

std::string HeadlessMainView::TabCaption(int group) const {
  if (group >= 0 && group < static_cast<int>(tabCaptions_.size()) &&
      !tabCaptions_[static_cast<size_t>(group)].empty()) {
    return tabCaptions_[static_cast<size_t>(group)];
  }
  const std::string& name = store_.Group(group).Name;
  return name.empty() ? DefaultGroupName(group) : name;
}

void HeadlessMainView::SetTabCaption(int group, const std::string& caption) {
  if (group >= static_cast<int>(tabCaptions_.size()))
    tabCaptions_.resize(static_cast<size_t>(group) + 1);
  tabCaptions_[static_cast<size_t>(group)] = caption;
}

}  // namespace earthwork::cli
