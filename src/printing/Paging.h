#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "project/Errors.h"
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

/// Raised for a report line longer than kMaxLineLength, which no report
/// holds: such a file is refused rather than held in memory.
class LineTooLong : public ProgramError {
 public:
  using ProgramError::ProgramError;
};

/// Splits report text fed to it in pieces of any size into lines, as
/// ReadReportLines does: CR LF, LF and a lone CR end a line; a last line
/// without an end is a line too. A line longer than kMaxLineLength raises
/// LineTooLong.
class LineSplitter {
 public:
  using Visit = std::function<bool(std::string_view line)>;
  /// Calls `visit` for each line that `bytes` completes. Returns false as
  /// soon as `visit` does (the rest is not split).
  bool Feed(std::string_view bytes, const Visit& visit);
  /// Ends the text: the last line, when it has no line end.
  bool Finish(const Visit& visit);

 private:
  std::string partial_;     // the start of a line that goes on in the next piece
  bool inLine_ = false;     // a line has begun and not ended
  bool pendingCr_ = false;  // the last piece ended with CR
};

/// Calls `visit` for each line of a report file in order, reading the file
/// in pieces, so that a large report needs no memory of its size; stops
/// when `visit` returns false. Throws as ReadReportLines does.
void ForEachReportLine(const std::string& path, const LineSplitter::Visit& visit);

/// The display lines in report file bytes.
int64_t CountDisplayLines(std::string_view bytes);

/// Recomputes PageCount from the ReportFile on disk. Failed when the file
/// could not be read (the message has been shown).
Result CountNumberOfPages(ProgramState& state);

/// Re-spaces one report line for the printer: the station field and up to
/// nine value fields, each right-aligned in 8 characters.
std::string ReformatToPrint(std::string_view line);

}  // namespace earthwork
