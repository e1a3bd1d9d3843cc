#include "commands/GroupCommands.h"

#include "commands/FileCommands.h"
#include "earfiles/EarFile.h"
#include "project/Errors.h"
#include "project/Format.h"
#include "project/Text.h"
#include "reports/GeopakLogReport.h"

namespace earthwork {

namespace {

constexpr size_t kGroupNameLength = 20;
constexpr const char* kBaselineTab = "BASELINE: ";
constexpr const char* kTooManyGroups =
    "A project holds at most 26 groups. Delete a group before adding another.";

/// The balance box's numeric value as text ("1.000" gives "1").
std::string BalanceBoxValue(const ProgramState& state) {
  return ShortestText(ParseNumber(state.Window.BalanceBox).value_or(0));
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
  state.Project.DataChanged = true;
}

/// A name asked for in an input box, cut to 20 characters; empty when the
/// user gave none or cancelled.
std::string AskName(ProgramState& state, const char* prompt, const char* title,
                    const char* defaultText) {
  return CutGroupName(state.dialogs.InputBox(prompt, title, defaultText).value_or(""));
}

/// The single group is cleared (Delete) or only renamed (Rename).
void RenameSingleGroup(ProgramState& state, bool clear) {
  const std::string name =
      AskName(state, "Re-Name Default File-Tab", "RE-NAME FILE-TAB", "Earthwork ");
  if (name.empty()) return;
  ProjectStore& store = state.Project;
  store.CurrentGroup = 0;
  store.GroupCount = 1;
  GroupRecord& group = store.Group(0);
  group.Name = name;
  MarkChanged(state);
  if (clear) {
    PutBalanceFactor(state, "1.000");
    group.Cells.at(0, Station) = kEndOfRows;
    group.BalanceFactor = BalanceBoxValue(state);
  }
  FollowCurrentGroup(state);
  state.view.ProjectChanged();
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
    // The rows run to the end marker; a row inserted and not yet typed
    // into has an empty station and is a row like the others. Only a slot
    // without any marker (never written) ends at its first empty station.
    int end = 0;
    while (end < kMaxDataRows && from.Cells.at(end, Station) != kEndOfRows) ++end;
    if (from.Cells.at(end, Station) != kEndOfRows) {
      end = 0;
      while (end < kMaxDataRows && !from.Cells.at(end, Station).empty()) ++end;
      from.Cells.at(end, Station) = kEndOfRows;
    }
    for (int r = 0; r <= end; ++r) {
      for (int c = Station; c <= AddedFill; ++c) to.Cells.at(r, c) = from.Cells.at(r, c);
    }
  }
  EmptyGroup(store.Group(last));
}

/// A tab chosen with the mouse: its group becomes the current one; a log's
/// tab also names the baseline its report is written for.
void ChooseTab(ProgramState& state, int index) {
  ProjectStore& store = state.Project;
  store.CurrentGroup = static_cast<int16_t>(index);
  if (store.LogFileMode) {
    // The tab reads "BASELINE: " and the baseline's name as it was read.
    const std::string caption = TabCaption(state, index);
    state.Report.BaselineName = StartsWith(caption, kBaselineTab)
                                    ? caption.substr(std::string_view(kBaselineTab).size())
                                    : After(caption, ":");
    state.view.GroupShown();
    return;
  }
  ShowCurrentGroup(state);
}

}  // namespace

std::string CutGroupName(const std::string& name) {
  return name.substr(0, kGroupNameLength);
}

void TabStripMouseUp(ProgramState& state, int index, MouseButton button) {
  Trap(state.dialogs, " Program Error: ", " txtDescri_MouseUp(frmmain))", [&] {
    ProjectStore& store = state.Project;
    if (button == MouseButton::Other) return;
    // The report menu reports the group under the pointer, so its tab is
    // chosen first.
    if (index >= 0 && index < store.GroupCount) ChooseTab(state, index);
    if (button == MouseButton::Right) {
      state.view.PopupReportMenu();
      return;
    }
    if (store.LogFileMode && CreateGeopakLogReport(state)) {
      state.view.ShowReportPreview();
    }
  });
}

void mnuGroupInsert(ProgramState& state) {
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
    GroupRecord& group = store.Current();
    group.Name = name;
    group.Cells.at(0, Station) = kEndOfRows;
    if (n < kGroupSlots) store.Group(n).Cells.at(0, Station) = kEndOfRows;
    PutBalanceFactor(state, "1.000");
    group.MeasuredInEmbankment = 0;
    group.BalanceFactor = BalanceBoxValue(state);
    MarkChanged(state);
    // The new, empty group is shown, so that what is typed next is seen
    // where it goes.
    FollowCurrentGroup(state);
    state.view.ProjectChanged();
  });
}

void mnuGroupDelete(ProgramState& state) {
  Trap(state.dialogs, "Program Error: ", " occured in mnuGroupDelete", [&] {
    // Enter alone must not delete a group and its rows.
    const Answer answer =
        state.dialogs.MessageBox("Do you wish to delete the selected group ? ", Buttons::YesNo,
                                 Icon::None, "Delete Group", Answer::No);
    if (answer != Answer::Yes) {
      state.dialogs.MessageBox("You have selected no to delete the group");
      return;
    }
    ProjectStore& store = state.Project;
    if (store.GroupCount <= 1) {
      RenameSingleGroup(state, true);
      return;
    }
    // The selected tab is always the group shown.
    const int k = store.CurrentGroup;
    store.Group(k).Name.clear();
    CloseGap(store, k);
    --store.GroupCount;
    MarkChanged(state);
    // The first group is shown with its rows.
    store.CurrentGroup = 0;
    FollowCurrentGroup(state);
    state.view.ProjectChanged();
  });
}

void mnuGroupRename(ProgramState& state) {
  Trap(state.dialogs, "Program Error: ", " occured in mnuGroupRename", [&] {
    ProjectStore& store = state.Project;
    if (store.GroupCount <= 1) {
      RenameSingleGroup(state, false);
      return;
    }
    const std::string name =
        AskName(state, "Change File-Tab Name", "CHANGE FILE-TAB NAME", "NEW NAME ");
    if (name.empty()) return;
    store.Current().Name = name;
    MarkChanged(state);
    state.view.StateChanged();
  });
}

void mnuFileImport(ProgramState& state, const std::string& caption) {
  ProjectStore& store = state.Project;
  try {
    if (caption != kImportLogItem) {
      // The imported groups join the project's unsaved changes; the user may
      // first save the project as it stands.
      if (!SaveChangesBefore(state, "importing other file")) return;
      store.ImportDone = true;
      const int16_t groups = store.GroupCount;
      const Units units = store.UnitSystem;
      // The import marks the project as changed once it has stored groups,
      // which are then edited and saved like the project's own.
      ImportEarIntoGroups(state);
      if (store.GroupCount == groups) return;
      // The whole project now reads its numbers in the imported file's
      // units: that is said, not only relabelled.
      std::string text = "Imported " + std::to_string(store.GroupCount - groups) + " group" +
                         (store.GroupCount - groups == 1 ? "" : "s");
      if (store.UnitSystem != units) {
        text += "; the project now uses the ";
        text += store.UnitSystem == Units::Metric ? "Metric System" : "English System";
        text += ", as the imported file does";
      }
      SetStatusText(state, text);
      return;
    }
    store.ImportDone = true;
    if (store.GroupCount >= kGroupSlots) {
      state.dialogs.MessageBox(kTooManyGroups, Buttons::Ok, Icon::Exclamation);
      return;
    }
    const int16_t groups = store.GroupCount;
    const int16_t current = store.CurrentGroup;
    const size_t tabs = state.Window.LogTabCaptions.size();
    // The log goes into a new group after the last one, whichever tab is
    // selected.
    store.GroupCount = static_cast<int16_t>(groups + 1);
    store.CurrentGroup = groups;
    state.FileDialog.FilterIndex = 2;
    store.LogFileMode = true;
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
    if (state.Window.LogTabCaptions.size() <= tabs && store.GroupCount > groups) {
      store.GroupCount = groups;
      store.CurrentGroup = current;
    }
    store.DataChanged = changed;
  } catch (const std::exception&) {
    state.dialogs.MessageBox(" eRROR OCCURED WHILE IMPORTING A FILE");
  }
}

}  // namespace earthwork
