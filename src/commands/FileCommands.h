#pragma once

#include <cstdint>
#include <string>

#include "project/ProgramState.h"

namespace earthwork {

/// The file dialog's filter list: EarFiles, GEOPAK logs, all files.
inline const std::string kFileFilterList =
    "Earthwork Files(*.ear)|*.ear|Geopak's Earthwork Log Files(*.log)|*.log|All Files(*.*)|*.*";

/// The File menu's import item: what it imports depends on the mode.
inline constexpr const char* kImportEarItem = "Import EAR File";
inline constexpr const char* kImportLogItem = "Import any other Log File";

/// The import item's caption for the project's mode.
inline const char* ImportItemCaption(const ProjectStore& store) {
  return store.LogFileMode ? kImportLogItem : kImportEarItem;
}

/// The log's tab: "BASELINE: " and its baseline name, which the user may
/// change when another tab of that baseline exists already.
void NameLogTab(ProgramState& state);

/// The file dialog for opening (mode 0) or saving (mode 1); the log filter
/// is preselected in log mode. "" when no file was chosen (the user has
/// been told).
std::string AcceptInputFilename(ProgramState& state, int16_t mode);

/// The project's file name, or a name chosen in the save dialog when the
/// project has none ("UNTITLED" when none was chosen). Changes nothing.
std::string IfUntitled(ProgramState& state, int16_t mode);

/// Writes the project to CurrentFileName, asking for another name while
/// the user refuses to overwrite. Failed when not saved.
[[nodiscard]] Result SavingTheFile(ProgramState& state);

/// Who runs the Open dispatcher: a log that turns out not to be a log takes
/// back the group the Import command set aside for it.
enum class ReadingCaller { Open, Import };

/// The Open dispatcher: the open dialog, then the chosen file.
void RadingTheFile(ProgramState& state, ReadingCaller caller = ReadingCaller::Open);

/// The dispatcher after the dialog: an EarFile to the reader, a GEOPAK log
/// through recognition, import, report and preview.
void ReadChosenFile(ProgramState& state, const std::string& path,
                    ReadingCaller caller = ReadingCaller::Open);

/// Before a command that replaces the project or adds to it: when there are
/// unsaved changes, asks "Wish to save : <name> before <action> ?". Yes saves
/// first, No goes on, Cancel stops. Done when the command may go on.
[[nodiscard]] Result SaveChangesBefore(ProgramState& state, const std::string& action);

/// Whether the program ends or stays after it was asked to close.
enum class Closing { Goes, Stays };

/// The exit question.
[[nodiscard]] Closing SaveItBeforeExit(ProgramState& state);
/// Closes the main window; nothing is written.
void ExitProgram(ProgramState& state);

// The File menu.
void NewFile(ProgramState& state);
void Openfile(ProgramState& state);
/// Opens `path` as Open does once the file is chosen (a recent file, a file
/// dropped on the window): the question about unsaved changes first; a file
/// that is no longer there is said and changes nothing.
void OpenNamedFile(ProgramState& state, const std::string& path);
void SaveFile(ProgramState& state);
void SaveAsFile(ProgramState& state);
void mnuFileExit(ProgramState& state);

/// Why the main window is closing.
enum class UnloadMode { ControlMenu, ProgramCode, WindowsShutdown, TaskManager };

/// The window system is about to close the main window; Stays keeps it open.
[[nodiscard]] Closing Form_QueryUnload(ProgramState& state, UnloadMode mode);

/// The Total (0) and Accumulated (1) report commands: writes the report of
/// the current group and shows it in the preview.
void PrintPreviewReport(ProgramState& state, ReportKind kind);

}  // namespace earthwork
