#include "geopak/LogParser.h"

#include <limits>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/Format.h"
#include "project/Text.h"

namespace earthwork {

namespace {

constexpr std::string_view kHyphens = "----------";
// Column headings of metric logs; no English log holds them.
constexpr std::string_view kMetricHeading = "meters)   meters)    meters)";
constexpr std::string_view kMetricHeadingWide =
    "meters)    meters)    meters)                    meters)   meters)";

/// Thrown when a pass reads past the last line: it ends that pass only.
struct EndOfLog {};

/// Adds one to a 16-bit counter of the import; running past its range is
/// an error that ends the import.
void Increment(int16_t& value) {
  if (value == std::numeric_limits<int16_t>::max()) throw ProgramError("Overflow");
  ++value;
}

/// The blanks of IsBlank, visible to the compiler in the loops below that
/// look at every character of a log.
constexpr bool Blank(char c) {
  return c == ' ' || c == '\t';
}

/// Position of the first blank (or non-blank) at or after `from`, or npos.
size_t FindBlank(std::string_view s, size_t from = 0) {
  for (size_t i = from; i < s.size(); ++i) {
    if (Blank(s[i])) return i;
  }
  return std::string_view::npos;
}
size_t FindNonBlank(std::string_view s, size_t from = 0) {
  for (size_t i = from; i < s.size(); ++i) {
    if (!Blank(s[i])) return i;
  }
  return std::string_view::npos;
}

bool IsBlankLine(std::string_view s) {
  return FindNonBlank(s) == s.npos;
}

/// The lines of the log in memory, read one after the other by each pass.
class LogLines {
 public:
  explicit LogLines(std::string_view bytes) : lines_(bytes) {}
  std::string_view Next() {
    std::string_view line;
    if (!lines_.Next(line)) throw EndOfLog{};
    return line;
  }
  std::string_view NextNonBlank() {
    std::string_view line = Next();
    while (IsBlankLine(line)) line = Next();
    return line;
  }
  void Rewind() { lines_.Rewind(); }

 private:
  LineCursor lines_;
};

LogGroup& CurrentLogGroup(ProgramState& state) {
  return state.Log.Group(state.Project.CurrentGroup);
}

/// The record a line is stored in, or null when it lies beyond its table
/// (such a line is dropped).
LogRecord* RecordOrNull(ProgramState& state, LogTable LogGroup::*table, int index) {
  const int group = state.Project.CurrentGroup;
  if (group < 0 || group >= static_cast<int>(state.Log.Groups.size())) return nullptr;
  LogTable& t = state.Log.Group(group).*table;
  return index >= 0 && index < t.Slots() ? &t.at(index) : nullptr;
}

/// Splits a line at runs of blanks into columns 1..lastColumn of sub-line
/// `subLine`. A single token goes to column 0, after moving `subLine` on
/// when `singleMovesOn`; an empty line stores "" in column 1. What falls
/// outside the record's sub-lines is dropped.
void StoreTokens(LogRecord* record, std::string_view line, int16_t& subLine, int lastColumn,
                 bool singleMovesOn) {
  const std::string_view text = TrimView(line);
  const auto put = [&](int column, std::string_view token) {
    if (record && subLine >= 0 && subLine < kSubLines) record->Tokens.at(subLine, column) = token;
  };
  if (text.empty()) {
    put(1, "");
    return;
  }
  if (FindBlank(text) == text.npos) {
    if (singleMovesOn) Increment(subLine);
    put(0, text);
    return;
  }
  size_t start = 0;
  for (int column = 1; column <= lastColumn && start != text.npos; ++column) {
    const size_t end = std::min(FindBlank(text, start), text.size());
    put(column, text.substr(start, end - start));
    start = FindNonBlank(text, end);
  }
}

/// Counts the station lines of a table as they are met and says which of
/// them still fit: a line past the table's last record is dropped with the
/// detail lines that follow it, and the count stays at the records stored.
struct TableRoom {
  /// True when the station `line` gets the record after `stored`.
  bool Take(std::string_view line, int16_t stored, const LogTable& table) {
    ++seen;
    slots = table.Slots() - 1;
    if (stored < slots) return true;
    if (firstDropped.empty()) firstDropped = TrimView(line);
    return false;
  }
  /// True after a station line was dropped: its detail lines go with it.
  bool Dropping() const { return !firstDropped.empty(); }

  int64_t seen = 0;
  int slots = 0;
  std::string firstDropped;
};

/// One import: the three passes over the log's lines.
class LogImport {
 public:
  LogImport(ProgramState& state, LogLines& lines)
      : state_(state), lines_(lines), counters_(state.Counters) {}

  void SectionPass() {
    // The unit system the log's headings set is the one shown.
    state_.Window.UnitChosen = true;
    try {
      for (;;) SectionLine(lines_.Next());
    } catch (const EndOfLog&) {
    }
    TellDropped(sections_, "station lines in its cross-section tables", "stations");
  }

  void PointPass() {
    lines_.Rewind();
    int16_t subLine = 0;
    int16_t& count = counters_.PointCount;
    try {
      for (;;) {
        std::string_view line = lines_.NextNonBlank();
        if (!Contains(line, "P O I N T")) continue;
        line = lines_.Next();
        while (!Contains(line, "COMPLETE")) {
          line = lines_.Next();
          if (Contains(line, kHyphens)) subLine = 0;
          while (!Contains(line, "+")) {  // blank lines too: each takes a sub-line
            Increment(subLine);
            if (!points_.Dropping()) ParsePointDetailLine(state_, line, subLine, count);
            line = lines_.Next();
          }
          while (Contains(line, "+")) {
            subLine = 0;
            if (points_.Take(line, count, CurrentLogGroup(state_).PointTable)) {
              Increment(count);
              ParsePointStationLine(state_, line, subLine, count);
            }
            line = lines_.Next();
          }
        }
      }
    } catch (const EndOfLog&) {
    }
    TellDropped(points_, "balance point lines", "balance points");
  }

  void SummaryPass() {
    lines_.Rewind();
    int16_t& subLine = counters_.SubLine;
    subLine = 0;
    try {
      for (;;) {
        std::string_view line = lines_.NextNonBlank();
        if (!Contains(line, "G R A N D")) continue;
        line = lines_.Next();
        while (!Contains(line, "B A L A N C E")) {
          const int headingLines = state_.Project.UnitSystem == Units::Metric ? 5 : 4;
          for (int k = 0; k < headingLines; ++k) line = lines_.Next();
          while (!Contains(line, "S U M M A R Y")) {
            ParseSummaryLine(state_, line, subLine);
            line = lines_.Next();
            Increment(subLine);
          }
        }
      }
    } catch (const EndOfLog&) {
    }
  }

 private:
  void SectionLine(std::string_view line) {
    std::string upper = Upper(line);
    if (Contains(upper, "ADJUSTMENT")) {
      line = Adjustment();
      upper = Upper(line);
    }
    if (Contains(upper, "ADD ACCUMULATED")) {
      state_.Report.AccumulatedReport = ReportKind::Accumulated;
      CurrentLogGroup(state_).SectionTable.at(0).Flag = 1;
    }
    if (Contains(line, kMetricHeading) || Contains(line, kMetricHeadingWide)) {
      state_.Project.UnitSystem = Units::Metric;
    }
    if (Contains(upper, "EARTHWORKS FOR BASELINE")) state_.Report.BaselineName = After(line, "=");
    if (Contains(line, kHyphens)) CrossSectionTable();
  }

  /// An adjustment block: the station line, one line passed over, and the
  /// kind line, which is returned for the following tests.
  std::string_view Adjustment() {
    Increment(adjustments_);
    LogRecord* entry = RecordOrNull(state_, &LogGroup::AdjustmentTable, adjustments_);
    std::string_view line = lines_.Next();
    if (entry) entry->Label = After(line, "=");
    lines_.Next();
    line = lines_.Next();
    const std::string upper = Upper(line);
    if (Contains(upper, "EXC")) {
      if (entry) {
        entry->Tokens.at(0, 0) = After(line, "=");
        entry->Message = "Exc";
      }
    } else if (Contains(upper, "FILL")) {
      if (entry) {
        entry->Tokens.at(1, 0) = After(line, "=");
        entry->Message = "Fill";
      }
    }
    return line;
  }

  /// The cross-section table after its opening hyphens. Lines with a "+"
  /// are stations; the lines after a station are its detail lines. Hyphens
  /// end the table only right after a station line, so the underlines of
  /// page headings repeated inside the table are taken as detail lines.
  void CrossSectionTable() {
    int16_t& subLine = counters_.SubLine;
    int16_t& count = counters_.SectionStationCount;
    std::string_view line = lines_.Next();
    do {
      while (!Contains(line, "+")) {
        Increment(subLine);
        if (!sections_.Dropping()) ParseSectionDetailLine(state_, line, subLine, count);
        line = lines_.NextNonBlank();
      }
      while (Contains(line, "+")) {
        subLine = 0;
        if (sections_.Take(line, count, CurrentLogGroup(state_).SectionTable)) {
          Increment(count);
          Parse_Station_String(state_, line, subLine, count);
        }
        line = lines_.NextNonBlank();
      }
    } while (!Contains(line, kHyphens));
  }

  /// One message for all the lines of a table that did not fit, instead
  /// of one for each (a long log would otherwise bring thousands).
  void TellDropped(const TableRoom& room, const std::string& lines, const std::string& what) {
    if (!room.Dropping()) return;
    state_.dialogs.MessageBox(
        "The log " + state_.Project.CurrentFileName + " has " + std::to_string(room.seen) + " " +
            lines + "; a group holds at most " + std::to_string(room.slots) + " " + what +
            ". The lines from \"" + room.firstDropped + "\" on were not read.",
        Buttons::Ok, Icon::Exclamation);
  }

  ProgramState& state_;
  LogLines& lines_;
  LogCounters& counters_;
  int16_t adjustments_ = 0;
  TableRoom sections_;
  TableRoom points_;
};

/// Keeps the counts of the log just read with its group, and the largest
/// section station count for the all-groups report.
void KeepCounts(ProgramState& state) {
  const LogCounters& c = state.Counters;
  LogGroup& group = CurrentLogGroup(state);
  group.SectionStationCount = c.SectionStationCount;
  group.PointCount = c.PointCount;
  if (c.SectionStationCount > state.Counters.LargestSectionStationCount) {
    state.Counters.LargestSectionStationCount = c.SectionStationCount;
  }
}

/// A number of a balance-point cell; an empty cell counts as 0 only where
/// `emptyIsZero`.
double Operand(const std::string& cell, bool emptyIsZero) {
  if (emptyIsZero && TrimView(cell).empty()) return 0;
  const auto value = ParseNumber(cell);
  if (!value) throw ProgramError("Type mismatch");
  return *value;
}

}  // namespace

Result ReadGeopakLog(ProgramState& state) {
  LogCounters& c = state.Counters;
  c.SubLine = 0;
  c.SectionStationCount = 0;
  c.PointCount = 0;
  bool finished = false;
  // The group starts empty: tokens, flags or entries left by an earlier
  // log would pass for this one's (a stale column 6 marks a balance point
  // as done, a stale flag claims accumulated quantities).
  LogGroup& group = CurrentLogGroup(state);
  for (LogTable* table :
       {&group.SectionTable, &group.AdjustmentTable, &group.PointTable, &group.SummaryTable}) {
    table->Clear();
  }
  std::string bytes;
  if (Result read =
          Trap(state.dialogs, " Program Error: ", " occured in ReadGeopakLog",
               [&] { bytes = ReadTextFile(state.Project.CurrentFileName, kMaxLogFileBytes); });
      !read) {
    KeepCounts(state);
    return read;
  }
  try {
    LogLines lines(bytes);
    LogImport import(state, lines);
    import.SectionPass();
    import.PointPass();
    import.SummaryPass();
    finished = true;
  } catch (const std::exception&) {
    // Silently: what was stored stays, and the report that follows shows it.
  }
  KeepCounts(state);
  if (!finished) return Result::Done();
  // Its failure has been shown; the points read so far stay.
  (void)WriteIncrementalValue(state);
  return Result::Done();
}

void Parse_Station_String(ProgramState& state, std::string_view line, int16_t& /*subLine*/,
                          int16_t station) {
  Trap(state.dialogs, " Program Error: ", " occured in Parse_Station_String", [&] {
    const std::string_view text = TrimView(line);
    const size_t blank = FindBlank(text);
    if (blank == text.npos) throw ProgramError("Invalid procedure call or argument");
    LogRecord& record = CurrentLogGroup(state).SectionTable.at(station);
    record.Label = text.substr(0, blank);
    const std::string& label = record.Label;
    if (label == "XS-NOPROP" || label == "XS-NOES" || label == "XS-ONESIDE" || label == "SKIP") {
      record.Message = text;
    } else if (label == "at") {
      record.Message = "XS-NOELEM No cross-section elements found " + std::string(text);
    } else if (label == "for" || label == "XS-W-DANGPROP") {
      record.Message =
          "XS-W-DANGPROP Proposed finish grade elements does not connect " + std::string(text);
    }
  });
}

void ParseSectionDetailLine(ProgramState& state, std::string_view line, int16_t& subLine,
                            int16_t station) {
  StoreTokens(RecordOrNull(state, &LogGroup::SectionTable, station), line, subLine, 9, true);
}

void ParsePointStationLine(ProgramState& state, std::string_view line, int16_t& /*subLine*/,
                           int16_t point) {
  Trap(state.dialogs, " Program Error: ", " occured in Parse_Station_String", [&] {
    std::string label = After(TrimView(line), "=");
    if (Contains(label, ",")) label = Before(label, ",");
    CurrentLogGroup(state).PointTable.at(point).Label = std::move(label);
  });
}

void ParsePointDetailLine(ProgramState& state, std::string_view line, int16_t& subLine,
                          int16_t point) {
  StoreTokens(RecordOrNull(state, &LogGroup::PointTable, point), line, subLine, 7, true);
}

void ParseSummaryLine(ProgramState& state, std::string_view line, int16_t& subLine) {
  StoreTokens(RecordOrNull(state, &LogGroup::SummaryTable, 0), line, subLine, 7, false);
}

Result WriteIncrementalValue(ProgramState& state) {
  return Trap(state.dialogs, "Program Error: ", " occured in WriteIncrementalValue", [&] {
    LogTable& points = CurrentLogGroup(state).PointTable;
    const LogTable& read = points;
    for (int p = 1; p <= state.Counters.PointCount; ++p) {
      for (int i = 0; i <= 3; ++i) {
        const TokenGrid& next = read.at(p + 1).Tokens;
        if (!TrimView(next.at(i, 6)).empty() || !ParseNumber(next.at(i, 4))) continue;
        const TokenGrid& previous = read.at(p).Tokens;
        const double column2 = Operand(next.at(i, 2), true) - Operand(previous.at(i, 2), false);
        const double column3 = Operand(next.at(i, 3), true) - Operand(previous.at(i, 3), false);
        TokenGrid& entry = points.at(p + 1).Tokens;
        std::string kept = entry.at(i, 4);
        entry.at(i, 4) = ShortestText(column2);
        entry.at(i, 5) = ShortestText(column3);
        entry.at(i, 6) = std::move(kept);
      }
    }
  });
}

bool LogHasAccumulatedQuantities(const ProgramState& state) {
  const int group = state.Project.CurrentGroup;
  if (group < 0 || group >= static_cast<int>(state.Log.Groups.size())) return false;
  return std::as_const(state.Log).Group(group).SectionTable.at(0).Flag == 1;
}

}  // namespace earthwork
