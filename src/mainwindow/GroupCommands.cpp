#include "mainwindow/GroupCommands.h"

#include "earfiles/EarFile.h"
#include "earfiles/FileCommands.h"
#include "project/Errors.h"
#include "project/Format.h"
#include "project/Text.h"
#include "reports/GeopakLogReport.h"

namespace earthwork {

namespace {

constexpr size_t kGroupNameLength = 20;
constexpr const char* kImportLog = "Import any other Log File";
constexpr const char* kBaselineTab = "BASELINE: ";
constexpr const char* kTooManyGroups =
    "A project holds at most 26 groups. Delete a group before adding another.";

/// Puts a text into the balance factor box; the box's change rule stores it
/// for the current group when it differs from the stored factor.
void PutBalanceFactor(ProgramState& state, const std::string& text) {
  state.view.SetBalanceBox(text, true);
  const std::string formatted = Trim(FormatArea(text));
  GroupRecord& group = state.Project.Current();
  if (formatted != group.BalanceFactor) {
    group.BalanceFactor = formatted;
    state.Project.DataChanged = 1;
  }
}

/// The balance box's numeric value as text ("1.000" gives "1").
std::string BalanceBoxValue(ProgramState& state) {
  return ShortestText(ParseNumber(state.view.BalanceBoxText()).value_or(0));
}

/// An empty group: no rows, not in embankment.
void EmptyGroup(GroupRecord& group) {
  group.Name.clear();
  group.MeasuredInEmbankment = 0;
  group.Cells.at(0, Station) = kEndOfRows;
}

/// Inserting, deleting or renaming a group is an edit like any other: the
/// project then differs from its file, and Exit, New and Open ask to save.
void MarkChanged(ProgramState& state) {
  state.Project.DataChanged = 1;
}

/// A name asked for in an input box, cut to 20 characters; empty when the
/// user gave none or cancelled.
std::string AskName(ProgramState& state, const char* prompt, const char* title,
                    const char* defaultText) {
  return CutGroupName(state.dialogs.InputBox(prompt, title, defaultText).value_or(""));
}

/// The single group is cleared (Delete) or only renamed (Rename).
void RenameSingleGroup(ProgramState& state, GroupWindow& window, bool clear) {
  const std::string name =
      AskName(state, "Re-Name Default File-Tab", "RE-NAME FILE-TAB", "Earthwork ");
  if (name.empty()) return;
  ProjectStore& store = state.Project;
  if (clear) state.view.ResetMainForm();
  while (state.view.TabCount() > 0) window.RemoveTab(state.view.TabCount() - 1);
  window.InsertTab(0, name);
  store.CurrentGroup = 0;
  store.GroupCount = 1;
  store.Group(0).Name = name;
  MarkChanged(state);
  if (!clear) return;
  PutBalanceFactor(state, "1.000");
  window.SetEmbankmentBox(store.Group(0).MeasuredInEmbankment == 1);
  store.Group(0).Cells.at(0, Station) = kEndOfRows;
  store.Group(0).BalanceFactor = BalanceBoxValue(state);
}

/// Moves the groups after slot `k` down by one; the last slot in use
/// becomes empty.
void CloseGap(ProjectStore& store, int k) {
  const int last = store.GroupCount - 1;
  for (int i = k; i < last; ++i) {
    GroupRecord& to = store.Group(i);
    GroupRecord& from = store.Group(i + 1);
    to.Name = from.Name;
    to.BalanceFactor = from.BalanceFactor;
    to.MeasuredInEmbankment = from.MeasuredInEmbankment;
    for (int r = 0; r < kCellRows; ++r) {
      std::string& station = from.Cells.at(r, Station);
      if (station.empty()) station = kEndOfRows;
      for (int c = Station; c <= AddedFill; ++c) to.Cells.at(r, c) = from.Cells.at(r, c);
      if (station == kEndOfRows) break;
    }
  }
  EmptyGroup(store.Group(last));
}

}  // namespace

std::string CutGroupName(const std::string& name) {
  return name.substr(0, kGroupNameLength);
}

void TabStripMouseUp(ProgramState& state, GroupWindow& window, int index, MouseButton button) {
  Trap(state.dialogs, " Program Error: ", " txtDescri_MouseUp(frmmain))", [&] {
    ProjectStore& store = state.Project;
    if (button == MouseButton::Right) {
      window.PopupReportMenu();
      state.view.ResetMainForm();
      return;
    }
    if (button != MouseButton::Left) {
      state.view.ResetMainForm();
      return;
    }
    if (index < 0 || index >= store.GroupCount) return;
    store.CurrentGroup = static_cast<int16_t>(index);
    if (store.LogFileMode == 1) {
      // The tab reads "BASELINE: " and the baseline's name as it was read.
      const std::string caption = state.view.TabCaption(index);
      state.Report.BaselineName = StartsWith(caption, kBaselineTab)
                                      ? caption.substr(std::string_view(kBaselineTab).size())
                                      : After(caption, ":");
      if (CreateGeopakLogReport(state) == 0) state.view.ShowReportPreview();
      return;
    }
    state.view.ResetMainForm();
    state.view.FillMainForm();
    const GroupRecord& group = store.Current();
    state.view.SetBalanceBox(FormatArea(group.BalanceFactor), group.MeasuredInEmbankment != 1);
    window.SetEmbankmentBox(group.MeasuredInEmbankment == 1);
  });
}

void mnuGroupInsert(ProgramState& state, GroupWindow& window) {
  Trap(state.dialogs, "Program Error: ", " occured in mnuGroupInsert", [&] {
    ProjectStore& store = state.Project;
    if (store.GroupCount >= kGroupSlots) {
      state.dialogs.MessageBox(kTooManyGroups, Buttons::Ok, Icon::Exclamation);
      return;
    }
    const std::string name =
        AskName(state, "NAME THE GROUP or FILE-TAB(WHICH WILL BE SAVED IN THE FILE).",
                "NAME FILE-TAB", "EarthWork ");
    if (name.empty()) return;
    const int n = store.GroupCount + 1;
    store.GroupCount = static_cast<int16_t>(n);
    store.CurrentGroup = static_cast<int16_t>(n - 1);
    window.InsertTab(n - 1, name);
    GroupRecord& group = store.Current();
    group.Name = name;
    group.Cells.at(0, Station) = kEndOfRows;
    if (n < kGroupSlots) store.Group(n).Cells.at(0, Station) = kEndOfRows;
    PutBalanceFactor(state, "1.000");
    group.MeasuredInEmbankment = 0;
    group.BalanceFactor = BalanceBoxValue(state);
    MarkChanged(state);
    for (int tab = 0; tab < n; ++tab) window.SelectTab(tab);
    // The grid shows the new, empty group, so that what is typed next is
    // seen where it goes.
    state.view.ResetMainForm();
    state.view.FillMainForm();
    window.SetEmbankmentBox(false);
  });
}

void mnuGroupDelete(ProgramState& state, GroupWindow& window) {
  Trap(state.dialogs, "Program Error: ", " occured in mnuGroupDelete", [&] {
    const Answer answer = state.dialogs.MessageBox("Do you wish to delete the selected group ? ",
                                                   Buttons::YesNo, Icon::None, "Delete Group");
    if (answer != Answer::Yes) {
      state.dialogs.MessageBox("You have selected no to delete the group");
      return;
    }
    ProjectStore& store = state.Project;
    if (store.GroupCount <= 1) {
      RenameSingleGroup(state, window, true);
      return;
    }
    const int k = window.SelectedTab() < 0 ? store.CurrentGroup : window.SelectedTab();
    if (k >= store.GroupCount) SubscriptOutOfRange();
    store.CurrentGroup = static_cast<int16_t>(k);
    store.Group(k).Name.clear();
    window.RemoveTab(k);
    CloseGap(store, k);
    --store.GroupCount;
    MarkChanged(state);
    // The first group is shown with its rows, matching the selected tab.
    store.CurrentGroup = 0;
    state.view.ResetMainForm();
    window.SelectTab(0);
    state.view.FillMainForm();
    const GroupRecord& first = store.Group(0);
    state.view.SetBalanceBox(FormatArea(first.BalanceFactor), first.MeasuredInEmbankment != 1);
    window.SetEmbankmentBox(first.MeasuredInEmbankment == 1);
  });
}

void mnuGroupRename(ProgramState& state, GroupWindow& window) {
  Trap(state.dialogs, "Program Error: ", " occured in mnuGroupRename", [&] {
    ProjectStore& store = state.Project;
    if (store.GroupCount <= 1) {
      RenameSingleGroup(state, window, false);
      return;
    }
    const std::string name =
        AskName(state, "Change File-Tab Name", "CHANGE FILE-TAB NAME", "NEW NAME ");
    if (name.empty()) return;
    // The tab renamed and the group named are the same one.
    const int tab = window.SelectedTab() < 0 ? store.CurrentGroup : window.SelectedTab();
    window.RemoveTab(tab);
    window.InsertTab(tab, name);
    window.SelectTab(tab);
    store.Group(tab).Name = name;
    MarkChanged(state);
  });
}

void mnuFileImport(ProgramState& state, const std::string& caption) {
  ProjectStore& store = state.Project;
  try {
    if (caption != kImportLog) {
      // The imported groups join the project's unsaved changes; the user may
      // first save the project as it stands.
      if (!SaveChangesBefore(state, "importing other file")) return;
      store.ImportDone = 1;
      // The import marks the project as changed once it has stored groups,
      // which are then edited and saved like the project's own.
      ImportEarIntoGroups(state);
      return;
    }
    state.view.EnableEditing(false);
    state.view.ShowBalanceFactor(false);
    store.ImportDone = 1;
    if (store.GroupCount >= kGroupSlots) {
      state.dialogs.MessageBox(kTooManyGroups, Buttons::Ok, Icon::Exclamation);
      return;
    }
    const int16_t groups = store.GroupCount;
    const int16_t current = store.CurrentGroup;
    const int tabs = state.view.TabCount();
    // The log goes into a new group after the last one, whichever tab is
    // selected.
    store.GroupCount = static_cast<int16_t>(groups + 1);
    store.CurrentGroup = groups;
    state.FileDialog.FilterIndex = 2;
    store.LogFileMode = 1;
    // A log's tab is read only: it adds nothing to save, and reading it must
    // not pass for a save either.
    const int16_t changed = store.DataChanged;
    LogCounters& counters = state.Counters;
    if (counters.SectionStationCount > counters.LargestSectionStationCount) {
      counters.LargestSectionStationCount = counters.SectionStationCount;
    }
    RadingTheFile(state, ReadingCaller::Import);
    // No tab was added (the dialog was cancelled, or the file was refused):
    // the group set aside is taken back.
    if (state.view.TabCount() <= tabs && store.GroupCount > groups) {
      store.GroupCount = groups;
      store.CurrentGroup = current;
    }
    store.DataChanged = changed;
  } catch (const std::exception&) {
    state.dialogs.MessageBox(" eRROR OCCURED WHILE IMPORTING A FILE");
  }
}

}  // namespace earthwork
