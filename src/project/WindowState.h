#pragma once

#include <string>
#include <vector>

namespace earthwork {

struct ProgramState;

/// What the main window shows besides the project's data, which it shows
/// from the store as it stands (header fields, the groups and the current
/// group's rows, the unit system, log mode). The core sets it and tells the
/// window through MainView; the batch commands keep it the same way, so the
/// window and a batch command never disagree about what is shown.
struct WindowState {
  std::string Caption = "EARTHWORK :UNTITLED";
  /// In log mode, each group's tab caption ("BASELINE: " and the baseline).
  std::vector<std::string> LogTabCaptions;
  /// The balance factor box as typed or put there, and whether it takes input.
  std::string BalanceBox = "1.000";
  bool BalanceBoxEnabled = true;
  /// The "Earthwork measured in Embankment" box.
  bool Embankment = false;
  /// The chosen unit system is shown; false while the choice is offered.
  bool UnitChosen = false;
  std::string StatusText = "Status";
};

/// The caption of group `group`'s tab: a log's caption in log mode, else
/// the group's name, or "Earthwork n" for a group without one.
std::string TabCaption(const ProgramState& state, int group);

/// Rebuilding the tabs: every group in use without a name takes its
/// default tab caption as its name.
void ApplyDefaultGroupNames(ProgramState& state);

/// The boxes follow group CurrentGroup: the balance factor box shows its
/// factor (and takes input unless the group is measured in embankment), the
/// embankment box its flag. The window is not told.
void FollowCurrentGroup(ProgramState& state);

/// Shows group CurrentGroup as clicking its tab does: FollowCurrentGroup,
/// and the window shows the group.
void ShowCurrentGroup(ProgramState& state);

/// After a file was read or imported: the groups take their default names,
/// the boxes follow the current group, the unit system read is shown, and
/// the window shows the whole project, the current group from its first
/// row. `lineCounter`, the lines the reader went through, is no grid row:
/// scrolling to it showed an empty stretch below the last row.
void ShowReadProject(ProgramState& state, int lineCounter);

/// The caption of a log's tab, for group `group`; a log read into the first
/// group starts the tabs over.
void SetLogTabCaption(ProgramState& state, int group, const std::string& caption);

/// Sets the window caption.
void SetCaption(ProgramState& state, const std::string& caption);

/// Puts a text into the balance factor box as the program does; the box's
/// change rule stores it for the current group when it differs.
void PutBalanceFactor(ProgramState& state, const std::string& text);

/// The embankment box checked or cleared by the user: the group is measured
/// in embankment (its factor 1.000, which then cannot be changed) or not.
void SetEmbankment(ProgramState& state, bool checked);

/// Sets the first status bar panel.
void SetStatusText(ProgramState& state, const std::string& text);

}  // namespace earthwork
