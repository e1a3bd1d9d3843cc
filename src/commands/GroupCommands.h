#pragma once

#include <string>

#include "project/ProgramState.h"

namespace earthwork {

enum class MouseButton { Left, Right, Other };

/// A group name typed by the user keeps its first 20 characters.
std::string CutGroupName(const std::string& name);

/// A mouse button released over tab `index` of the tab strip: the tab's
/// group is shown (a log's: its report), the right button opens the report
/// menu for it.
void TabStripMouseUp(ProgramState& state, int index, MouseButton button);

/// Edit > Group > Insert, Delete and Rename. The selected tab is always the
/// group shown, CurrentGroup.
void mnuGroupInsert(ProgramState& state);
void mnuGroupDelete(ProgramState& state);
void mnuGroupRename(ProgramState& state);

/// File > import item: "Import EAR File" adds the groups of another
/// EarFile, "Import any other Log File" reads a further log into a new tab.
void mnuFileImport(ProgramState& state, const std::string& caption);

}  // namespace earthwork
