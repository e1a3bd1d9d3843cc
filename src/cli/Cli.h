#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace earthwork::cli {

/// Runs a batch command; returns the process exit code. `args` excludes the
/// program name. Output goes to stdout, messages to stderr.
int Run(const std::vector<std::string>& args);

/// True when `args` name a batch command (or ask for help or the version).
bool IsBatchCommand(const std::vector<std::string>& args);

/// True when a lone argument is a file for the window to open: one that
/// exists, or a name ending in ".ear" or ".log" (which the window then
/// reports missing). Anything else is a mistyped command.
bool NamesAFile(const std::string& word);

/// Says that `word` is no command and shows the usage; the exit code, 2.
int RefuseUnknownCommand(const std::string& word);

/// The folder the running program lies in; empty when unknown.
std::filesystem::path ProgramFolder();

/// The program with Qt (the window, and the batch commands' drawn outputs),
/// installed beside the small batch program `earthwork`.
inline constexpr const char* kQtProgramName = "earthwork-qt";

/// The folder of the installed data (<prefix>/share), found from the
/// program's own folder so that a moved installation finds its files; the
/// build tree keeps copies at the same place relative to the program.
/// Empty when the program's location is unknown.
std::filesystem::path DataFolder();

// The commands, one file each. `args` excludes the command word.
int RunConvert(const std::vector<std::string>& args);
int RunReport(const std::vector<std::string>& args);
int RunPages(const std::vector<std::string>& args);
int RunHaul(const std::vector<std::string>& args);

}  // namespace earthwork::cli
