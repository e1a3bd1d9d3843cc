#include "printing/Paging.h"

#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/Format.h"
#include "project/Text.h"

namespace earthwork {

bool IsDisplayLine(std::string_view line) {
  return line.find('#') == std::string_view::npos;
}

int32_t PagesForDisplayLines(int64_t displayLines) {
  if (displayLines <= kFirstPageLines) return 1;
  return static_cast<int32_t>(1 + (displayLines - kFirstPageLines + kLaterPageLines - 1) /
                                      kLaterPageLines);
}

int64_t FirstDisplayLineOfPage(int page) {
  if (page <= 1) return 0;
  return kFirstPageLines + int64_t{kLaterPageLines} * (page - 2);
}

int LinesOnPage(int page) {
  return page <= 1 ? kFirstPageLines : kLaterPageLines;
}

std::vector<std::string> ReadReportLines(const std::string& path) {
  return SplitLines(ReadWholeFile(path));
}

int64_t CountDisplayLines(std::string_view bytes) {
  // Count line ends in simple loops the compiler can vectorise; then take
  // off the few lines that hold a "#" (header and closing lines).
  const char* p = bytes.data();
  const size_t n = bytes.size();
  int64_t ends = 0;
  for (size_t i = 0; i < n; ++i) ends += (p[i] == '\n') | (p[i] == '\r');
  int64_t pairs = 0;
  for (size_t i = 0; i + 1 < n; ++i) pairs += (p[i] == '\r') & (p[i + 1] == '\n');
  int64_t lines = ends - pairs;
  if (n > 0 && p[n - 1] != '\n' && p[n - 1] != '\r') ++lines;  // a last line without an end

  int64_t hashLines = 0;
  for (size_t at = bytes.find('#'); at != std::string_view::npos;) {
    ++hashLines;
    const size_t end = bytes.find_first_of("\r\n", at);
    if (end == std::string_view::npos) break;
    at = bytes.find('#', end);
  }
  return lines - hashLines;
}

int CountNumberOfPages(ProgramState& state) {
  const bool done = Trap(state.dialogs, " Program Error: ", " occured in CountNumberOfPages", [&] {
    const std::string bytes = ReadWholeFile(state.Report.ReportFileName);
    state.Report.PageCount = PagesForDisplayLines(CountDisplayLines(bytes));
  });
  return done ? 0 : 1;
}

namespace {

/// The text of a line being split into blank-separated tokens.
struct Tokens {
  std::string rest;

  /// The token at the front of `rest` (up to its first space, trimmed),
  /// dropped from `rest`; empty, with `rest` unchanged, when `rest` holds
  /// no space.
  std::string Next() {
    const size_t space = rest.find(' ');
    if (space == std::string::npos) return {};
    std::string token = Trim(std::string_view(rest).substr(0, space));
    rest = Trim(std::string_view(rest).substr(space + 1));
    return token;
  }
};

std::string R8(std::string_view text) {
  return RightAlign(text, 8);
}

}  // namespace

std::string ReformatToPrint(std::string_view line) {
  const size_t space = line.find(' ');
  if (space == std::string_view::npos) return std::string(line);
  const std::string t0(line.substr(0, space + 1));
  Tokens tokens{Trim(line.substr(space + 1))};
  const std::string t1 = tokens.Next();
  if (!ParseNumber(t1)) {
    if (t1 != "Bal.") return std::string(line);
    std::string out = R8(t0);
    for (int k = 0; k < 3; ++k) out += "  " + R8(tokens.Next());
    for (int k = 0; k < 4; ++k) out += "  " + std::string(8, ' ');
    out += "  " + R8(tokens.Next());
    return out + "    " + R8(tokens.rest);
  }
  std::string out = R8(t0) + "  " + R8(t1);
  for (int k = 2; k <= 8; ++k) out += "  " + R8(tokens.Next());
  return out + "    " + R8(tokens.rest);
}

}  // namespace earthwork
