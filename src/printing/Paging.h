#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "project/ProgramState.h"

namespace earthwork {

/// Report lines on the first page and on every later page.
constexpr int kFirstPageLines = 44;
constexpr int kLaterPageLines = 51;

/// A report line that is shown, printed and counted: one without "#".
bool IsDisplayLine(std::string_view line);

/// Pages needed for `displayLines` lines (at least one page).
int32_t PagesForDisplayLines(int64_t displayLines);

/// The 0-based number of the first display line of page `page` (>= 1), and
/// how many lines that page holds at most.
int64_t FirstDisplayLineOfPage(int page);
int LinesOnPage(int page);

/// The lines of a report file, read whole. CR LF, LF and a lone CR end a
/// line. Throws ProgramError ("File not found: <path>", ...) on failure.
std::vector<std::string> ReadReportLines(const std::string& path);

/// Counts the display lines of report text fed to it in pieces of any
/// size (line ends as ReadReportLines takes them).
class DisplayLineCounter {
 public:
  void Feed(std::string_view bytes);
  /// The count, the last line included when it has no line end.
  int64_t Finish();

 private:
  int64_t count_ = 0;
  bool inLine_ = false;     // a line has begun and not ended
  bool hash_ = false;       // the line so far holds a "#"
  bool pendingCr_ = false;  // the last piece ended with CR
};

/// The display lines in report file bytes.
int64_t CountDisplayLines(std::string_view bytes);

/// Recomputes PageCount from the ReportFile on disk. Returns 0 when done,
/// 1 when the file could not be read (the message has been shown).
int CountNumberOfPages(ProgramState& state);

/// Re-spaces one report line for the printer: the station field and up to
/// nine value fields, each right-aligned in 8 characters.
std::string ReformatToPrint(std::string_view line);

}  // namespace earthwork
