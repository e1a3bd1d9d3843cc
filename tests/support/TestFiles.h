#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace earthwork::testing {

/// A fresh folder under the system's temporary directory, removed with the
/// object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
/// A file under tests/data.
std::string DataPath(const std::string& name);
/// Lines joined with CR LF, each line ended.
std::string CrLf(std::initializer_list<std::string> lines);
/// The pieces of `text` between `separator`s (none after a final one).
std::vector<std::string> SplitAt(const std::string& text, const std::string& separator);
/// The lines of a CR LF text.
inline std::vector<std::string> Lines(const std::string& text) {
  return SplitAt(text, "\r\n");
}
/// Compares `actual` with the file tests/data/`name`: line by line for a
/// readable difference, then byte for byte. A difference always fails; the
/// output is then kept as golden-actual/`name` in the build folder, where
/// scripts/update-golden takes it from. Reports go through
/// ExpectGoldenReport.
void ExpectGolden(const std::string& actual, const std::string& name);

/// What decides which sums a report must agree with.
enum class GoldenKind {
  Total,        // an end-area report of interval volumes
  Accumulated,  // an end-area report of running sums
  Log,          // a log's report: its numbers are the log's own
};

/// What holds for every report whatever its golden file says: no line is
/// wider than 200 characters; `pageCount` (the program's count) follows the
/// paging rule (44 display lines on the first page, 51 on each later one);
/// the report ends with the closing line; in a Total group without forced
/// balances the last mass ordinate is adjusted cut minus adjusted fill of
/// its grand summary.
void ExpectReportInvariants(const std::string& report, GoldenKind kind, int32_t pageCount);
/// ExpectReportInvariants, then the comparison of ExpectGolden.
void ExpectGoldenReport(const std::string& report, const std::string& name, GoldenKind kind,
                        int32_t pageCount);

/// Sets the environment variable `name`, or removes it (nullopt).
void SetEnv(const char* name, const std::optional<std::string>& value);

/// Points the report folder (EARTHWORK_REPORT_DIR) at `dir` for the life of
/// the object.
class ScopedReportDirectory {
 public:
  explicit ScopedReportDirectory(const std::string& dir);
  ~ScopedReportDirectory();
  ScopedReportDirectory(const ScopedReportDirectory&) = delete;
  ScopedReportDirectory& operator=(const ScopedReportDirectory&) = delete;

 private:
  std::string old_;
  bool hadOld_ = false;
};

/// What a run of a program left: its exit code and its two outputs.
struct ProgramRun {
  int code = -1;
  std::string out;
  std::string err;
};

/// Runs `program` with `args` in `folder` (its outputs caught in files
/// there), the report folder pointed at `reports`. `prefix` is put before
/// the program in the shell command (a variable setting, `timeout 20`).
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& folder, const std::string& reports,
                      const std::string& prefix = "");

/// What a folder holds, for telling what a command changed: each entry's
/// path relative to `folder`, and its kind and content ("file:" and the
/// bytes, "link:" and the target, "folder", "other"). Links are not
/// followed; entries under the relative paths in `skip` are left out.
std::map<std::string, std::string> FolderSnapshot(const std::string& folder,
                                                  const std::vector<std::string>& skip = {});

/// `text` in single quotes for the shell.
std::string ShellQuoted(const std::string& text);

/// The standard output of a shell command.
std::string CommandOutput(const std::string& command);

/// Pages of a PDF file (pdfinfo), or -1 when it cannot be read.
int PdfPages(const std::string& path);

/// `text` with every `key` replaced by `value`.
std::string ReplaceAll(std::string text, const std::string& key, const std::string& value);
/// Each text with every `key` replaced by `value` (a message table's placeholder).
std::vector<std::string> ReplaceAll(std::vector<std::string> texts, const std::string& key,
                                    const std::string& value);

}  // namespace earthwork::testing
