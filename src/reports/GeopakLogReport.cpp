#include "reports/GeopakLogReport.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

#include "printing/Paging.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/FileKinds.h"
#include "project/Format.h"
#include "project/Paths.h"
#include "project/Station.h"
#include "project/Text.h"
#include "reports/ReportFile.h"

namespace earthwork {

namespace {

const std::string kBannerOpen =
    "*+********* " + std::string(98, '*');  // opens a skip area and a balance point
const std::string kBannerClose = "*+****** " + std::string(103, '*');
const std::string kEndMarker(65, '#');

/// Position of ".LOG" (any case) in `name`, or npos.
size_t LogSuffix(std::string_view name) {
  return Upper(name).find(".LOG");
}

std::string BeforeLogSuffix(std::string_view name) {
  return std::string(name.substr(0, std::min(LogSuffix(name), name.size())));
}

/// A station table of the largest log is well under 1 MB.
constexpr uint64_t kMaxStationTableBytes = uint64_t{16} << 20;

/// Why the station table must not replace what stands at `path` (for the
/// message after "The station table was not written: "), or "" when it
/// may: nothing is there, or a station table that this program wrote. A
/// project file, of any version, and anything else are the user's.
std::string StationTableRefusal(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::exists(std::filesystem::symlink_status(path, ec))) return "";
  std::string bytes;
  try {
    bytes = ReadWholeFile(path, kMaxStationTableBytes);
  } catch (const ProgramError& e) {
    return e.what();
  }
  LineCursor lines(bytes);
  std::string_view line;
  if (lines.Next(line) && ClassifyEarFirstLine(line) != EarFirstLine::NotEar) {
    return path + " holds earthwork data";
  }
  for (lines.Rewind(); lines.Next(line);) {
    if (!IsStationTableLine(line)) return path + " is not a station table";
  }
  return "";
}

/// Writes the station table beside the log, unless that would replace a
/// file of the user's or the folder refuses it; either is said once per
/// table and run, and the report goes on without it.
void WriteStationTable(ProgramState& state, const std::string& path, const std::string& text) {
  std::string refusal = StationTableRefusal(path);
  if (refusal.empty()) {
    try {
      WriteFileAtomically(path, text);
      return;
    } catch (const ProgramError& e) {
      refusal = e.what();
    }
  }
  if (state.Report.StationTablesNotWritten.insert(path).second) {
    state.dialogs.MessageBox("The station table was not written: " + refusal);
  }
}

const LogGroup& CurrentLogGroup(const ProgramState& state) {
  return state.Log.Group(state.Project.CurrentGroup);
}

/// The counts that bound the loops over a group: its own when a log was
/// read into it, else those of the last log read.
int SectionCount(const ProgramState& state, const LogGroup& group) {
  return group.SectionStationCount >= 0 ? group.SectionStationCount
                                        : state.Counters.SectionStationCount;
}
int PointCount(const ProgramState& state, const LogGroup& group) {
  return group.PointCount >= 0 ? group.PointCount : state.Counters.PointCount;
}

/// A section record; records past the end of the table read as empty.
const LogRecord& Section(const LogGroup& group, int s) {
  static const LogRecord kEmpty;
  return s >= 0 && s < group.SectionTable.Slots() ? group.SectionTable.at(s) : kEmpty;
}

double StationValue(const LogRecord& record) {
  return StationTextToNumber(record.Label);
}

/// The station values of entries 1..count of a table, sorted, to find the
/// entries between two stations without a scan per station.
class StationIndex {
 public:
  StationIndex(const LogTable& table, int count) {
    const int last = std::min(count, table.Slots() - 1);
    for (int e = 1; e <= last; ++e) entries_.emplace_back(StationValue(table.at(e)), e);
    std::sort(entries_.begin(), entries_.end());
  }

  /// The highest (last) or lowest (first) entry whose station lies in
  /// [from, to); 0 when none does.
  int Between(double from, double to, bool last) const {
    if (!(from < to)) return 0;
    auto it = std::lower_bound(entries_.begin(), entries_.end(), std::make_pair(from, 0));
    int found = 0;
    for (; it != entries_.end() && it->first < to; ++it) {
      if (found == 0 || (last ? it->second > found : it->second < found)) found = it->second;
    }
    return found;
  }

 private:
  std::vector<std::pair<double, int>> entries_;
};

/// The stations of section record s and of the record after it.
struct Interval {
  double from;
  double to;
};

Interval IntervalAfter(const LogGroup& group, int s) {
  return {StationValue(Section(group, s)), StationValue(Section(group, s + 1))};
}

/// The points index holds only the entries within the point count.
int FindBalancePointIn(const LogGroup& group, const StationIndex& points, int s,
                       Interval interval) {
  if (!Contains(Section(group, s).Label, "+")) return 0;
  return points.Between(interval.from, interval.to, true);
}

std::string InsertBalanceIn(ProgramState& state, const LogGroup& group,
                            const StationIndex& adjustments, int s, Interval interval) {
  std::string kind;
  Trap(state.dialogs, "Program Error: ", " occured in InsertBalance", [&] {
    if (!Contains(Section(group, s).Label, "+")) return;
    const int entry = adjustments.Between(interval.from, interval.to, false);
    if (entry != 0) kind = group.AdjustmentTable.at(entry).Message;
  });
  return kind;
}

enum class Layout { A, B, C, D, E, None };

/// The trimmed value when the trimmed marker is the keyword, else "0.00".
std::string_view When(std::string_view value, std::string_view marker, std::string_view keyword) {
  return TrimView(marker) == keyword ? TrimView(value) : "0.00";
}

Layout ChooseLayout(const LogRecord& r, bool skipVariant, const std::string& kind) {
  const std::string_view c12 = TrimView(r.Tokens.at(1, 2));
  if (c12 == "------") return Layout::A;
  if (skipVariant) return Layout::B;
  if (Upper(c12) == "EXC") return Layout::C;
  if (c12 != "NA") return Layout::B;
  if (kind == "Fill") return Layout::D;
  if (kind == "Exc") return Layout::E;
  return Layout::None;
}

Fields LayoutFields(const LogRecord& r, Layout layout, bool accumulated) {
  const auto c1 = [&](int j) -> const std::string& { return r.Tokens.at(1, j); };
  const auto c2 = [&](int j) -> const std::string& { return r.Tokens.at(2, j); };
  const std::string_view zero = "0.00";
  switch (layout) {
    case Layout::A:
      return {When(c1(2), c1(1), "------"),
              TrimView(c1(3)),
              When(c1(2), c1(3), "------"),
              When(c2(3), c2(2), "------"),
              When(c2(3), c2(1), "------"),
              When(c2(5), c2(1), "------"),
              When(c2(4), c2(1), "------"),
              When(c2(6), c2(1), "------"),
              zero};
    case Layout::B:
      return {When(c1(2), c1(1), "Excavation"),
              zero,
              When(c1(accumulated ? 6 : 3), c1(1), "Excavation"),
              When(c2(2), c2(1), "Fill"),
              zero,
              When(c2(accumulated ? 7 : 3), c2(1), "Fill"),
              When(c2(5), c2(1), "Fill"),
              When(c2(accumulated ? 6 : 4), c2(1), "Fill"),
              When(c2(accumulated ? 8 : 6), c2(1), "Fill")};
    case Layout::C:
      return {When(c1(2), c1(1), "------"), When(c1(5), c1(2), "Exc"), zero, zero, zero,
              When(c2(3), c2(1), "------"), When(c1(6), c1(2), "Exc"), zero, ""};
    case Layout::D:
      return {When(c1(2), c1(1), "------"),
              zero,
              zero,
              When(c2(3), c2(2), "------"),
              TrimView(c1(3)),
              When(c2(3), c2(1), "------"),
              TrimView(c1(5)),
              TrimView(c1(4)),
              TrimView(c1(6))};
    case Layout::E:
      return {When(c1(2), c1(1), "------"),
              TrimView(c1(3)),
              zero,
              When(c2(3), c2(2), "------"),
              When(c2(3), c2(1), "------"),
              When(c1(5), c2(1), "------"),
              When(c1(4), c2(1), "------"),
              When(c1(6), c2(1), "------"),
              zero};
    case Layout::None:
      break;
  }
  return {};
}

/// The nine value fields, each right-aligned in 9 and two blanks apart.
std::string JoinFields(const Fields& fields) {
  std::string line;
  for (size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += "  ";
    line += RightAlign(fields[i], 9);
  }
  return line;
}

std::string StationField(const std::string& label, size_t width) {
  return RightAlign(FormatStation(TrimView(label)), width);
}

/// The log's mass ordinate on a station line that takes it from the log:
/// the "Mass" column of a Fill line, or of the first line in layout D.
std::optional<std::string_view> LogMass(const LogRecord& r, Layout layout) {
  if (layout == Layout::B && TrimView(r.Tokens.at(2, 1)) == "Fill") {
    return TrimView(r.Tokens.at(2, 6));
  }
  if (layout == Layout::D) return TrimView(r.Tokens.at(1, 6));
  return std::nullopt;
}

/// Walks the section table as the report does. With a report file it
/// writes the report (and the companion table); without one it only hands
/// each station line to the row observer.
class LogReportWriter {
 public:
  LogReportWriter(ProgramState& state, const LogGroup& group, ReportFileWriter* out,
                  std::string* companion, const LogRowObserver* observer = nullptr)
      : state_(state),
        group_(group),
        out_(out),
        companion_(companion),
        observer_(observer),
        accumulated_(out != nullptr && state.Report.AccumulatedReport == ReportKind::Accumulated),
        embankment_(out != nullptr && state.Window.Embankment),
        sectionCount_(std::min(SectionCount(state, group), group.SectionTable.Slots() - 1)),
        points_(group.PointTable, PointCount(state, group)),
        adjustments_(group.AdjustmentTable, PointCount(state, group)),
        values_(static_cast<size_t>(sectionCount_) + 2) {}

  void WriteStations() {
    for (int s = 0; s <= sectionCount_; ++s) {
      const LogRecord& r = Section(group_, s);
      const Interval interval{Value(s), Value(s + 1)};
      int bp = FindBalancePointIn(group_, points_, s, interval);
      const std::string kind = InsertBalanceIn(state_, group_, adjustments_, s, interval);
      const std::string_view label = TrimView(r.Label);
      if (IsMessageLabel(label)) {
        WriteMessage(r);
        bp = 0;
      } else if (label == "SKIP") {
        s = WriteSkip(s);
      } else if (Contains(label, "+")) {
        WriteStation(r, false, kind);
        WriteCompanionLine(r);
      }
      if (bp != 0) WriteBalancePoint(group_.PointTable.at(bp));
    }
  }

  void WriteGrandSummary() {
    Write("+                 G R A N D     S U M M A R Y     T O T A L S");
    Write("+                              Unadjusted  Adjusted    Mult");
    Write("+                              Volume      Volume      Factor");
    if (state_.Project.UnitSystem == Units::Metric) {
      Write("+                              (cubic     (cubic");
      Write("+                               meters)    meters)");
    } else {
      Write("+                              (cu. yd.)   (cu. yd.)");
    }
    Write("+       ---------------------------- ---------- ---------- ------");
    const TokenGrid& q = group_.SummaryTable.at(0).Tokens;
    for (int sub = 1; sub <= 2; ++sub) {
      ZoneLine line;
      line.Item("+" + RightAlign(q.at(sub, 0), 9));
      const int lastColumn = embankment_ ? 2 : 4;
      for (int column = 1; column <= lastColumn; ++column) {
        line.Item(RightAlign(q.at(sub, column), 9));
      }
      Write(line.Text());
    }
    Write("        ---------------------------- ---------- ---------- ------");
    Write(kEndMarker);
  }

 private:
  /// The station value of section record s, each computed once.
  double Value(int s) {
    if (s < 0 || s >= static_cast<int>(values_.size())) return StationValue(Section(group_, s));
    std::optional<double>& value = values_[static_cast<size_t>(s)];
    if (!value) value = StationValue(Section(group_, s));
    return *value;
  }

  static bool IsMessageLabel(std::string_view label) {
    return label == "for" || label == "XS-W-DANGPROP" || label == "XS-NOES" ||
           label == "XS-NOPROP" || label == "XS-ONESIDE" || label == "at";
  }

  /// The message's last word (with the blank before it) leads, so that the
  /// line begins with the station the message names.
  void WriteMessage(const LogRecord& r) {
    const std::string message = Trim(r.Message);
    const size_t blank = message.find_last_of(" \t");
    const std::string head = blank == std::string::npos ? message : message.substr(blank);
    Write(head + " : " + r.Message);
  }

  /// Writes a skip area opened by record `s` and returns the record the
  /// loop goes on after.
  int WriteSkip(int s) {
    const LogRecord& skip = Section(group_, s);
    const LogRecord& first = Section(group_, s + 1);
    if (!Contains(first.Label, "+")) return s;
    WriteStation(first, true, "");
    Write(kBannerOpen);
    Write("*+******" + std::string(TrimView(skip.Message)) + " *******");
    Write(kBannerClose);

    // The end station follows the "o" of "to" in "= first to last".
    const double to = StationTextToNumber(After(skip.Message, "o"));
    int found = 0;
    const int lastSlot = group_.SectionTable.Slots() - 1;
    for (int r = s; r <= s + 100 && r <= lastSlot; ++r) {
      const double value = Value(r);
      if (value == to) {
        found = r;
      } else if (value > to) {
        found = r;
        break;
      }
    }
    if (found == 0) found = rememberedSkipEnd_;
    rememberedSkipEnd_ = found;
    // An end behind the skip would send the loop back over it for ever: go
    // on after the skip's first station instead, hiding nothing.
    if (found <= s) return s + 1;
    const LogRecord& last = Section(group_, found);
    if (Contains(last.Label, "+")) WriteStation(last, true, "");
    return found;
  }

  void WriteStation(const LogRecord& r, bool skipVariant, const std::string& kind) {
    const Layout layout = ChooseLayout(r, skipVariant, kind);
    if (layout == Layout::None) return;
    Fields fields = LayoutFields(r, layout, accumulated_);
    if (!accumulated_ && embankment_) fields[6] = fields[7] = fields[8] = "";
    if (observer_ != nullptr) (*observer_)({TrimView(r.Label), fields, LogMass(r, layout)});
    if (out_ == nullptr) return;
    const std::string station =
        layout == Layout::B ? StationField(r.Label, 8) + "  " : StationField(r.Label, 9) + "   ";
    const bool trailing = accumulated_ && (layout == Layout::C || layout == Layout::D);
    Write(station + JoinFields(fields) + (trailing ? "  " : ""));
  }

  void Write(std::string_view line) {
    if (out_ != nullptr) out_->WriteLine(line);
  }

  void WriteCompanionLine(const LogRecord& r) {
    if (companion_ == nullptr) return;
    const std::string_view fill = TrimView(r.Tokens.at(2, 2));
    const Fields fields = {"-", TrimView(r.Tokens.at(1, 2)), "0.00", fill.empty() ? "0.00" : fill,
                           "0.00"};
    std::string line = StationField(r.Label, 8);
    for (size_t i = 0; i < 5; ++i) line += "  " + RightAlign(fields[i], 9);
    *companion_ += line;
    *companion_ += "\r\n";
  }

  void WriteBalancePoint(const LogRecord& p) {
    const auto cell = [&](int sub, int column) {
      const std::string_view text = TrimView(p.Tokens.at(sub, column));
      return text.empty() ? std::string_view("0.00") : text;
    };
    Write(kBannerOpen);
    Write("*+******" + std::string(" Balance Pt at Station ") + StationField(p.Label, 8) +
          " *******");
    Fields fields = {"0.00", "0.00", cell(1, 2), "0.00", "0.00", cell(2, 2)};
    if (accumulated_) {
      fields[6] = cell(2, 6);
      fields[7] = "0.00";
      fields[8] = cell(2, 3);
    } else if (!embankment_) {
      fields[6] = cell(2, 4);
      fields[7] = cell(2, 3);
      fields[8] = "0.00";
    }
    const std::string values = JoinFields(fields);
    Write(RightAlign("+Incre.", 9) + "   " + values);
    Write(RightAlign("+Accum.", 9) + "   " + values);
    Write(kBannerClose);
  }

  ProgramState& state_;
  const LogGroup& group_;
  ReportFileWriter* out_;
  std::string* companion_;
  const LogRowObserver* observer_;
  bool accumulated_;
  bool embankment_;
  int sectionCount_;
  StationIndex points_;
  StationIndex adjustments_;
  std::vector<std::optional<double>> values_;  // records 0..count + 1
  int rememberedSkipEnd_ = 0;
};

}  // namespace

std::string GeopakReportName(std::string_view logPath) {
  return BeforeLogSuffix(StripFile(logPath)) + ".rpt";
}

std::string CompanionTableName(std::string_view logPath) {
  // Only the file-name part is cut, so a folder named "x.log" keeps the
  // table beside the log.
  const size_t nameStart = logPath.size() - StripFile(logPath).size();
  return std::string(logPath.substr(0, nameStart)) + BeforeLogSuffix(logPath.substr(nameStart)) +
         ".ear";
}

Result CreateGeopakLogReport(ProgramState& state) {
  std::string companion;
  bool stationsDone = false;
  const std::string logPath = state.Project.CurrentFileName;
  Result done = Trap(state.dialogs, "Error: ", " occured in CreateGeopakLogReport", [&] {
    const LogGroup& group = CurrentLogGroup(state);
    state.Report.ReportFileName = state.Report.Folder.Path() + GeopakReportName(logPath);
    ReportFileWriter out(state.Report.ReportFileName, state.Report.AppendToReport);
    WriteReportHeader(out, state);
    LogReportWriter writer(state, group, &out, &companion);
    writer.WriteStations();
    stationsDone = true;
    writer.WriteGrandSummary();
    out.Close();
  });
  // The table is the log's stations; it does not depend on the report file.
  if (stationsDone) WriteStationTable(state, CompanionTableName(logPath), companion);
  if (!done) return done;
  state.Report.AppendToReport = false;
  CountNumberOfPages(state);
  return done;
}

void WalkLogReportRows(ProgramState& state, const LogRowObserver& observer) {
  LogReportWriter(state, CurrentLogGroup(state), nullptr, nullptr, &observer).WriteStations();
}

int16_t FindBalancePoint(ProgramState& state, int16_t station) {
  const LogGroup& group = CurrentLogGroup(state);
  const int count = PointCount(state, group);
  return static_cast<int16_t>(FindBalancePointIn(group, StationIndex(group.PointTable, count),
                                                 station, IntervalAfter(group, station)));
}

std::string InsertBalance(ProgramState& state, int16_t station) {
  std::string kind;
  Trap(state.dialogs, "Program Error: ", " occured in InsertBalance", [&] {
    const LogGroup& group = CurrentLogGroup(state);
    kind =
        InsertBalanceIn(state, group, StationIndex(group.AdjustmentTable, PointCount(state, group)),
                        station, IntervalAfter(group, station));
  });
  return kind;
}

}  // namespace earthwork
