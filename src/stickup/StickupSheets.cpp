#include "stickup/StickupSheets.h"

#include <filesystem>

#include "printing/Paging.h"
#include "project/Errors.h"
#include "project/Paths.h"
#include "project/Text.h"
#include "reports/EndAreaReport.h"
#include "reports/GeopakLogReport.h"

namespace earthwork {

namespace {

/// Turns a failed shell step into the error that stops the hand-off.
void Check(const std::string& reason) {
  if (!reason.empty()) throw ProgramError(reason);
}

/// A group's report that stops on an error has shown its message and keeps
/// the lines it wrote; the groups after it are written all the same, and
/// the first failure is what the run answers.
Result WriteEndAreaSections(ProgramState& state) {
  ProjectStore& store = state.Project;
  Result first = Result::Done();
  for (int16_t g = 0; g < store.GroupCount; ++g) {
    store.CurrentGroup = g;
    state.Report.AppendToReport = g != 0;
    Result done = CreateTempRptFile(state, PageRecount::ByCaller);
    // Each section's grand summary covers its own group only.
    state.Report.Totals = {};
    if (!done && first) first = done;
  }
  return first;
}

Result WriteLogSections(ProgramState& state) {
  ProjectStore& store = state.Project;
  state.Counters.SectionStationCount = state.Counters.LargestSectionStationCount;
  Result first = Result::Done();
  for (int16_t g = 0; g < store.GroupCount; ++g) {
    store.CurrentGroup = g;
    state.Report.AppendToReport = g != 0;
    Result done = CreateGeopakLogReport(state);
    if (!done && first) first = done;
  }
  return first;
}

}  // namespace

std::string DefaultDrawingName(const ProjectStore& store) {
  return store.HeaderFields[2] + "0ew.dgn";
}

std::string JoinDirectory(const std::string& directory, const std::string& fileName) {
#ifdef _WIN32
  constexpr char kSeparator = '\\';
#else
  constexpr char kSeparator = '/';
#endif
  // A root such as "C:\" or "/" already ends in its separator; a drive
  // alone ("C:") names that drive's current folder.
  if (!directory.empty() &&
      (IsPathSeparator(directory.back()) || DrivePrefixLength(directory) == directory.size())) {
    return directory + fileName;
  }
  return directory + kSeparator + fileName;
}

Result WriteAllGroupReports(ProgramState& state) {
  ProjectStore& store = state.Project;
  const int16_t shown = store.CurrentGroup;
  Result done = store.LogFileMode ? WriteLogSections(state) : WriteEndAreaSections(state);
  store.CurrentGroup = shown;
  // Also after a failure: the page count describes the file on disk.
  CountNumberOfPages(state);
  return done;
}

bool AcceptNewDrawing(StickupSession& session, Dialogs& dialogs, Shell& shell,
                      const std::string& directory, const std::string& fileName) {
  bool close = false;
  Trap(
      dialogs, "", "",
      [&] {
        const std::string target = JoinDirectory(directory, fileName);
        const std::filesystem::path existing =
            std::filesystem::path(directory) / std::string(Trim(fileName));
        if (!Trim(fileName).empty() && std::filesystem::is_regular_file(existing) &&
            dialogs.MessageBox("Do you want to overwrite existing *.dgn file?", Buttons::YesNo,
                               Icon::None, "warning") == Answer::No) {
          return;
        }
        Check(shell.CopyFile(shell.NativePath(session.SeedPath), target));
        session.NewDrawingPath = target;
        close = true;
      },
      "Program Erroroccured in command1_click");
  return close;
}

void AcceptSeed(StickupSession& session, const std::string& directory,
                const std::string& fileName) {
  session.SeedPath = JoinDirectory(directory, fileName);
}

Result RunShellExecute(ProgramState& state, Shell& shell, const std::string& operation,
                       const std::string& file, const std::string& parameters,
                       const std::string& directory, int showCommand) {
  // The Windows shell's verb and window style have no counterpart in the
  // port: every platform opens the program in a normal window.
  (void)operation;
  (void)showCommand;
  return Trap(state.dialogs, "Error: ", "Error occured in RunShellExecute", [&] {
    Check(shell.CopyFile(shell.NativePath(kMdlSource), shell.NativePath(kMdlCopy)));
    Check(shell.CopyFile(state.Report.ReportFileName, shell.NativePath(kDataFile)));
    shell.Sleep(1000);
    Check(shell.DeleteFile(state.Report.ReportFileName));
    Check(shell.Start(file, {parameters}, shell.NativePath(directory)));
    shell.Sleep(2000);
    Check(shell.SendKeys(kKeyIn));
  });
}

}  // namespace earthwork
