#pragma once

#include <cstdint>
#include <string>

#include "project/Errors.h"
#include "project/ProgramState.h"

namespace earthwork {

/// The column header line of every group in an EarFile.
inline const std::string kEarColumnHeader =
    "#STATION      CODE    CUTAREA       ADDEDCUT(vol.)     FILLAREA     ADDEDFILL(vol.)";

/// The whole "VERSION 2002" text of the project, CR LF ended. Empty cells of
/// the rows written (columns 0 to 5; blank-only cells too) become "0.0" in
/// the store itself. Raises ProgramError when a group in use has no end
/// marker within its table.
std::string BuildEarFileText(ProjectStore& store);

/// Writes the project to CurrentFileName as "VERSION 2002", first asking
/// before it replaces an existing file. Failed when not written: the user
/// declined, or the save failed (the user has been told why).
[[nodiscard]] Result Write2002VersionFile(ProgramState& state);

/// Writes the project to `path` as "VERSION 2002" without asking. Failed
/// when nothing was saved (the user has been told why).
[[nodiscard]] Result SaveEarFile(ProgramState& state, const std::string& path);

/// Tests the first line of an EarFile: done when it is readable; failed when
/// it is not (or cannot be read: the user has been told why). Sets
/// FileVersion; a "VERSION 97.1" file also sets DataChanged.
[[nodiscard]] Result CheckFileCompatibility(ProgramState& state, const std::string& path);

/// Reads CurrentFileName into the store from group CurrentGroup (0) on and
/// hands over to the main window. Failed when nothing was read because the
/// file cannot be read, is malformed or exceeds the store's limits (the
/// user has been told, and the store is as it was).
[[nodiscard]] Result ReadFileVersion2002(ProgramState& state);

/// Splits a row line into RowFields 0 to 5 in the layout FileVersion
/// selects; `line` comes back with its tabs replaced by the separator
/// (mode 1 blank, 0 comma). A missing field is reported; the fields not
/// reached stay blank.
void GetParameters(ProgramState& state, std::string& line, int16_t mode);

/// Stores a row line in data row `row` of the current group, then advances
/// `row` and sets `rowsStored`. `lineCounter` is not used.
void StoreStationValue(ProgramState& state, std::string& line, int lineCounter, int& row,
                       int16_t& rowsStored);

/// Header field k - 1 = `text` for k = 1, 2, 3; nothing for k >= 4.
void StoreDescription(ProgramState& state, const std::string& text, int k);

/// Shows the project's unit system on the main window's option buttons.
void SetMesurementSyste(ProgramState& state);

/// Adds the groups of another EarFile (chosen in the open dialog) after the
/// project's groups, offering to rename a group whose name is taken.
void ImportEarIntoGroups(ProgramState& state);

/// Open for an EarFile that the user has chosen, on a project that was just
/// reset: checks the version, reads the file and sets the caption. Done
/// when the file was read.
[[nodiscard]] Result OpenEarFile(ProgramState& state, const std::string& path);

}  // namespace earthwork
