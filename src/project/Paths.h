#pragma once

#include <string>
#include <string_view>

namespace earthwork {

/// Paths in files and on the command line come from Windows and from other
/// systems alike: both "\" and "/" separate folders on every system, and a
/// drive letter ("C:") may lead.
bool IsPathSeparator(char c);

/// 2 when `path` starts with a drive letter and a colon ("C:"), else 0.
size_t DrivePrefixLength(std::string_view path);

/// The file-name part of a path: the text after its last separator, else
/// after its drive letter ("C:road.ear" is "road.ear").
std::string StripFile(std::string_view path);

/// The user's report folder (the one that stands for "c:\temp\"), ending in
/// a separator. On Windows that folder itself; elsewhere
/// $EARTHWORK_REPORT_DIR, else "earthwork" in the user's cache folder
/// ($XDG_CACHE_HOME, else ~/.cache), else "earthwork-<user id>" in the
/// temporary folder. Not created here.
std::string ReportDirectory();

/// This run's own folder under the report folder, where its reports are
/// written, so that runs at the same time never write into one another's
/// report. Made on first use (with the report folder); removed with its
/// files when the object ends. The folders of runs that ended without
/// removing theirs (killed) are removed when a new one is made.
class RunReportFolder {
 public:
  RunReportFolder() = default;
  ~RunReportFolder();
  RunReportFolder(RunReportFolder&& other) noexcept;
  RunReportFolder& operator=(RunReportFolder&& other) noexcept;
  RunReportFolder(const RunReportFolder&) = delete;
  RunReportFolder& operator=(const RunReportFolder&) = delete;

  /// The folder, ending in a separator; it follows a change of the report
  /// folder. Raises ProgramError ("Cannot write <folder>: <reason>") when it
  /// cannot be made or the report folder is not safe to use.
  const std::string& Path();

 private:
  void Remove();
  std::string parent_;  // the report folder it was made in
  std::string path_;
};

}  // namespace earthwork
