#include "project/WindowState.h"

#include "project/Format.h"
#include "project/ProgramState.h"
#include "project/Text.h"

namespace earthwork {

std::string TabCaption(const ProgramState& state, int group) {
  const auto& logCaptions = state.Window.LogTabCaptions;
  if (state.Project.LogFileMode && group >= 0 && group < static_cast<int>(logCaptions.size()) &&
      !logCaptions[static_cast<size_t>(group)].empty()) {
    return logCaptions[static_cast<size_t>(group)];
  }
  const std::string& name = state.Project.Group(group).Name;
  return name.empty() ? DefaultGroupName(group) : name;
}

void ApplyDefaultGroupNames(ProgramState& state) {
  ProjectStore& store = state.Project;
  for (int g = 0; g < store.GroupCount; ++g) {
    if (store.Group(g).Name.empty()) store.Group(g).Name = DefaultGroupName(g);
  }
}

void FollowCurrentGroup(ProgramState& state) {
  const GroupRecord& group = state.Project.Current();
  WindowState& window = state.Window;
  window.BalanceBox = FormatArea(group.BalanceFactor);
  window.BalanceBoxEnabled = group.MeasuredInEmbankment != 1;
  window.Embankment = group.MeasuredInEmbankment == 1;
}

void ShowCurrentGroup(ProgramState& state) {
  FollowCurrentGroup(state);
  state.view.GroupShown();
}

void ShowReadProject(ProgramState& state, int /*lineCounter*/) {
  constexpr int kFirstDataGridRow = 2;
  ApplyDefaultGroupNames(state);
  FollowCurrentGroup(state);
  state.Window.UnitChosen = true;
  state.view.ProjectChanged();
  state.view.ScrollTo(kFirstDataGridRow);
}

void SetLogTabCaption(ProgramState& state, int group, const std::string& caption) {
  auto& captions = state.Window.LogTabCaptions;
  if (group == 0) captions.clear();
  if (static_cast<int>(captions.size()) <= group) captions.resize(static_cast<size_t>(group) + 1);
  captions[static_cast<size_t>(group)] = caption;
  state.view.ProjectChanged();
}

void SetCaption(ProgramState& state, const std::string& caption) {
  state.Window.Caption = caption;
  state.view.StateChanged();
}

void PutBalanceFactor(ProgramState& state, const std::string& text) {
  state.Window.BalanceBox = text;
  const std::string formatted = Trim(FormatArea(text));
  GroupRecord& group = state.Project.Current();
  if (formatted != group.BalanceFactor) {
    group.BalanceFactor = formatted;
    state.Project.DataChanged = true;
  }
  state.view.StateChanged();
}

void SetEmbankment(ProgramState& state, bool checked) {
  state.Project.Current().MeasuredInEmbankment = checked ? 1 : 0;
  state.Window.Embankment = checked;
  if (checked) PutBalanceFactor(state, "1.000");
  state.Window.BalanceBoxEnabled = !checked;
  state.view.StateChanged();
}

void SetStatusText(ProgramState& state, const std::string& text) {
  state.Window.StatusText = text;
  state.view.StateChanged();
}

}  // namespace earthwork
