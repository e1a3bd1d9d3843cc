#include "printing/Paging.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

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

bool LineSplitter::Feed(std::string_view bytes, const Visit& visit) {
  const char* const base = bytes.data();
  const size_t n = bytes.size();
  size_t i = 0;
  if (pendingCr_) {  // the CR that ended the last piece may pair with an LF
    pendingCr_ = false;
    if (n > 0 && base[0] == '\n') i = 1;
  }
  while (i < n) {
    // The line runs to the first CR or LF; memchr keeps this fast.
    const auto* lf = static_cast<const char*>(std::memchr(base + i, '\n', n - i));
    size_t end = lf ? static_cast<size_t>(lf - base) : n;
    if (const auto* cr = static_cast<const char*>(std::memchr(base + i, '\r', end - i))) {
      end = static_cast<size_t>(cr - base);
    }
    const std::string_view piece = bytes.substr(i, end - i);
    if (end == n) {  // the line goes on in the next piece
      if (partial_.size() + piece.size() > kMaxLineLength) {
        throw LineTooLong("A line longer than " + std::to_string(kMaxLineLength) +
                          " characters was found");
      }
      partial_ += piece;
      inLine_ = true;
      return true;
    }
    bool more = true;
    if (inLine_) {
      partial_ += piece;
      more = visit(partial_);
      partial_.clear();
      inLine_ = false;
    } else {
      more = visit(piece);
    }
    i = end + 1;
    if (base[end] == '\r') {
      if (i == n) {
        pendingCr_ = true;
      } else if (base[i] == '\n') {
        ++i;
      }
    }
    if (!more) return false;
  }
  return true;
}

bool LineSplitter::Finish(const Visit& visit) {
  const bool last = inLine_ && !partial_.empty();
  std::string line = std::move(partial_);
  partial_.clear();
  inLine_ = pendingCr_ = false;
  return last ? visit(line) : true;
}

int64_t CountDisplayLines(std::string_view bytes) {
  int64_t count = 0;
  const LineSplitter::Visit count_display = [&](std::string_view line) {
    count += IsDisplayLine(line);
    return true;
  };
  LineSplitter splitter;
  splitter.Feed(bytes, count_display);
  splitter.Finish(count_display);
  return count;
}

void ForEachReportLine(const std::string& path, const LineSplitter::Visit& visit) {
  InputFile file(path);
  LineSplitter splitter;
  std::vector<char> buffer(1 << 16);
  bool more = true;
  try {
    while (more) {
      const size_t got = file.Read(buffer.data(), buffer.size());
      if (got == 0) break;
      more = splitter.Feed(std::string_view(buffer.data(), got), visit);
    }
  } catch (const LineTooLong& e) {
    throw ProgramError(std::string(e.what()) + " in " + path);
  }
  if (more) splitter.Finish(visit);
}

Result CountNumberOfPages(ProgramState& state) {
  return Trap(state.dialogs, " Program Error: ", " occured in CountNumberOfPages", [&] {
    int64_t displayLines = 0;
    ForEachReportLine(state.Report.ReportFileName, [&](std::string_view line) {
      displayLines += IsDisplayLine(line);
      return true;
    });
    state.Report.PageCount = PagesForDisplayLines(displayLines);
  });
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
