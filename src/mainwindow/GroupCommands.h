#pragma once

#include <string>

#include "project/ProgramState.h"

namespace earthwork {

/// The window parts the group commands work on beyond the MainView: the
/// tab strip (0-based tab indexes) and the balance factor controls.
class GroupWindow {
 public:
  virtual ~GroupWindow() = default;
  /// The selected tab, or -1.
  virtual int SelectedTab() const = 0;
  /// Selects a tab as the program does (no mouse: the grid is not
  /// refilled) and lets the window process events.
  virtual void SelectTab(int index) = 0;
  virtual void InsertTab(int index, const std::string& caption) = 0;
  virtual void RemoveTab(int index) = 0;
  virtual void SetEmbankmentBox(bool checked) = 0;
  /// The report submenu (Total, Accumulated) at the pointer.
  virtual void PopupReportMenu() = 0;
};

enum class MouseButton { Left, Right, Other };

/// A group name typed by the user keeps its first 20 characters.
std::string CutGroupName(const std::string& name);

/// A mouse button released over tab `index` of the tab strip.
void TabStripMouseUp(ProgramState& state, GroupWindow& window, int index, MouseButton button);

/// Edit > Group > Insert, Delete and Rename.
void mnuGroupInsert(ProgramState& state, GroupWindow& window);
void mnuGroupDelete(ProgramState& state, GroupWindow& window);
void mnuGroupRename(ProgramState& state, GroupWindow& window);

/// File > import item: "Import EAR File" adds the groups of another
/// EarFile, "Import any other Log File" reads a further log into a new tab.
void mnuFileImport(ProgramState& state, const std::string& caption);

}  // namespace earthwork
