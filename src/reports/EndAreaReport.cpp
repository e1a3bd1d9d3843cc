#include "reports/EndAreaReport.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "printing/Paging.h"
#include "project/Errors.h"
#include "project/Format.h"
#include "project/Paths.h"
#include "project/Station.h"
#include "project/Text.h"
#include "reports/ReportFile.h"

namespace earthwork {

namespace {

// Cubic yards per (hundred feet x square feet), and cubic metres per
// (hundred metres x square metres), halved for the average of two areas.
constexpr double kEnglishFactor = 1.8518519;
constexpr double kMetricFactor = 50;

const std::string kS1 = "*+" + std::string(113, '*');
const std::string kS2 = "*+" + std::string(112, '*');
const std::string kS3 = "**+" + std::string(112, '*');
const std::string kS4 = "*+" + std::string(10, '*') + " " + std::string(105, '*');
const std::string kS5 = "*+" + std::string(8, '*') + " " + std::string(109, '*');

std::string NumberField(double value) {
  return RightAlign(FormatArea(value), 9);
}
std::string Blanks() {
  return std::string(9, ' ');
}

std::string Join(std::initializer_list<std::string> fields, std::string_view separator) {
  std::string line;
  bool first = true;
  for (const std::string& f : fields) {
    if (!first) line += separator;
    line += f;
    first = false;
  }
  return line;
}

double Cell(const CellTable& cells, int row, int column) {
  return StationTextToNumber(cells.at(row, column));
}

/// The numbers of a group's cells, each cell read once per run (a row is
/// looked at from up to four intervals).
class CellNumbers {
 public:
  explicit CellNumbers(const CellTable& cells) : cells_(cells) {}

  double operator()(int row, int column) const {
    if (row < 0 || row >= kCellRows || column < Station || column > AddedFill) {
      return Cell(cells_, row, column);  // raises "Subscript out of range"
    }
    double& value = values_[static_cast<size_t>(row * kColumns + column)];
    if (std::isnan(value)) value = Cell(cells_, row, column);
    return value;
  }

 private:
  static constexpr int kColumns = AddedFill + 1;
  const CellTable& cells_;
  mutable std::vector<double> values_ =
      std::vector<double>(static_cast<size_t>(kCellRows * kColumns), std::nan(""));
};

/// The two end areas an interval pairs (an area that does not count is 0),
/// added in the order that gives the report's sum.
struct EndAreas {
  double start = 0;
  double end = 0;
  double Sum() const { return start + end; }
};

/// GetSum over any source of cell numbers, keeping the two areas apart.
template <class Numbers>
EndAreas SumOfAreas(const Numbers& value, EndAreaFlags& flags, int r, int column,
                    std::string_view mode) {
  if (mode == "OE") return {value(r - 2, column), value(r, column)};
  if (mode == "SA") return {value(r - 1, column), 0};
  if (mode != "NA") return {};
  if (flags.SkipEvent == 2) return {0, value(r, column)};
  if (flags.GapPending != 1 && flags.OverlapPending == 1) {
    flags.OverlapPending = 0;
    return {value(r - 1, column), value(r, column)};
  }
  if (flags.GapPending != 1 && flags.PairBack == 1) return {value(r - 2, column), value(r, column)};
  return {value(r - 1, column), value(r, column)};
}

/// The interval of one row and what its line shows.
struct Interval {
  double d = 0;  // length in hundreds of length units
  double sumCut = 0;
  double sumFill = 0;
  EndAreas cutAreas;
  EndAreas fillAreas;
  double addCut = 0;
  double addFill = 0;
  double shownStation = 0;
  double prevStation = 0;
  int32_t cutVol = 0;
  int32_t fillVol = 0;
  int32_t adjFill = 0;
};

enum class SkipBlock { None, From, To };

/// Everything one run keeps while it walks the rows.
struct Run {
  Dialogs* dialogs;  // null: the equation notices are not shown
  GrandTotals& totals;
  Units units;
  const GroupRecord& group;
  const CellTable& cells;
  ReportFileWriter* out;  // null: nothing is written
  const std::function<void(const EndAreaRow&)>* observer;
  ReportKind kind;
  double k;
  std::optional<double> factor;
  EndAreaFlags flags;
  int32_t mass = 0;
  double accCut = 0, accFill = 0, accAdjFill = 0;
  double segAddedCut = 0, segAddedFill = 0, segCut = 0, segFill = 0, segAdjFill = 0;
  double lastShown = 0;  // ShownStation of the previous row
  std::string factorField = FormatArea(std::string_view(group.BalanceFactor));
  CellNumbers value{cells};

  void Write(std::string_view line) {
    if (out) out->WriteLine(line);
  }
  void Notice(const std::string& text) {
    if (dialogs) dialogs->MessageBox(text);
  }
};

double BalanceFactor(Run& run) {
  if (!run.factor) {
    run.factor = ParseNumber(run.group.BalanceFactor);
    if (!run.factor) {
      throw ProgramError("Balance factor \"" + run.group.BalanceFactor + "\" is not a number");
    }
  }
  return *run.factor;
}

int32_t CheckedMass(int64_t value) {
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) {
    throw ProgramError("Overflow");
  }
  return static_cast<int32_t>(value);
}

std::string CodeAt(const CellTable& cells, int row) {
  return Trim(cells.at(row, Code));
}

void ClassifyRow(Run& run, int n) {
  EndAreaFlags& f = run.flags;
  const std::string code = CodeAt(run.cells, n);
  if (code == "SA") {
    if (f.SkipOn == 0) {
      f.SkipOn = 1;
      f.SkipEvent = 1;
    } else {
      f.SkipOn = 0;
      f.SkipEvent = 2;
    }
  } else if (code == "FB") {
    f.ForcedBalancePending = 1;
  } else if (code == "BK") {
    if (CodeAt(run.cells, n + 1) == "AH") {
      run.Notice("Gap Equation where BK occures before AH");
      f.GapPending = 1;
    } else {
      f.GapPending = 2;
    }
  } else if (code == "AH") {
    if (CodeAt(run.cells, n + 1) == "BK") {
      run.Notice("overlap equation Where AH occures before BK");
      run.Notice("Ahead Station First when Station Equation occures");
      f.OverlapPending = 1;
    } else {
      f.OverlapPending = 2;
    }
  }
}

/// An interval measured from row `from` to row `to` with the added volumes
/// of row `added`; the caller sets the end-area sums.
Interval Measured(Run& run, int from, int to, int added) {
  Interval i;
  i.d = (run.value(to, Station) - run.value(from, Station)) / 100;
  i.shownStation = run.value(to, Station);
  i.prevStation = run.value(from, Station);
  i.addCut = run.value(added, AddedCut);
  i.addFill = run.value(added, AddedFill);
  return i;
}

/// An interval that counts no length and no areas.
Interval Empty(Run& run, int shown, int prev, std::optional<int> added) {
  Interval i;
  i.shownStation = run.value(shown, Station);
  i.prevStation = run.value(prev, Station);
  if (added) {
    i.addCut = run.value(*added, AddedCut);
    i.addFill = run.value(*added, AddedFill);
  }
  return i;
}

void SetSums(Run& run, Interval& i, int row, std::string_view mode) {
  i.cutAreas = SumOfAreas(run.value, run.flags, row, Cut, mode);
  i.fillAreas = SumOfAreas(run.value, run.flags, row, Fill, mode);
  i.sumCut = i.cutAreas.Sum();
  i.sumFill = i.fillAreas.Sum();
}

Interval MeasureRow(Run& run, int n, SkipBlock& block) {
  EndAreaFlags& f = run.flags;
  if (n == 0) return Empty(run, 0, 0, 0);
  if (f.SkipOn == 1 && f.SkipEvent == 1) {
    Interval i = Measured(run, n - 1, n, n);
    SetSums(run, i, n, "SA");
    block = SkipBlock::From;
    f.SkipEvent = 0;
    return i;
  }
  if (f.SkipOn == 0 && f.SkipEvent == 2) {
    Interval i = Measured(run, n - 1, n, n);
    SetSums(run, i, n, "NA");
    block = SkipBlock::To;
    f.SkipOn = 0;
    f.SkipEvent = 0;
    return i;
  }
  if (f.SkipOn == 1 && f.SkipEvent == 0) return Empty(run, n, n - 1, std::nullopt);
  if (f.GapPending == 1) {
    Interval i = Measured(run, n - 1, n, n);
    i.cutAreas = {run.value(n - 1, Cut), run.value(n, Cut)};
    i.fillAreas = {run.value(n - 1, Fill), run.value(n, Fill)};
    i.sumCut = i.cutAreas.Sum();
    i.sumFill = i.fillAreas.Sum();
    return i;
  }
  if (f.OverlapPending == 2) {
    f.OverlapPending = 0;
    return Empty(run, n, n - 1, n);
  }
  if (f.OverlapPending == 1) {
    Interval i = Measured(run, n - 1, n + 1, n + 1);
    SetSums(run, i, n + 1, "OE");
    return i;
  }
  if (f.GapPending == 2) {
    Interval i = Empty(run, n - 1, n - 2, n - 1);
    f.PairBack = 1;
    f.GapPending = 0;
    return i;
  }
  Interval i = Measured(run, n - 1, n, n);
  SetSums(run, i, n, "NA");
  f.PairBack = 0;
  return i;
}

/// Volumes of the interval; returns the mass before it.
int32_t ComputeVolumes(Run& run, Interval& i) {
  i.cutVol = RoundHalfEven(i.addCut + (i.d * i.sumCut) * run.k);
  i.fillVol = RoundHalfEven((i.d * i.sumFill) * run.k);
  i.adjFill = RoundHalfEven(i.addFill + BalanceFactor(run) * i.fillVol);
  const int32_t previous = run.mass;
  run.mass = CheckedMass(int64_t{run.mass} + i.cutVol - i.adjFill);
  run.segAddedCut += i.addCut;
  run.segAddedFill += i.addFill;
  run.segCut += i.cutVol;
  run.accCut += i.cutVol;
  run.segFill += i.fillVol;
  run.accFill += i.fillVol;
  run.segAdjFill += i.adjFill;
  run.accAdjFill += i.adjFill;
  GrandTotals& t = run.totals;
  t.CutUnadjusted += i.cutVol;
  t.CutAdjusted += i.cutVol;
  t.FillUnadjusted += i.fillVol;
  t.FillAdjusted += i.adjFill;
  return previous;
}

void WriteSkipBlock(Run& run, SkipBlock block, const Interval& i) {
  if (block == SkipBlock::From) {
    run.Write(kS1);
    run.Write("+Skip Area From Station " + FormatStation(i.shownStation));
    run.Write(kS2);
  } else if (block == SkipBlock::To) {
    run.Write(kS3);
    run.Write("+Skip Area To Station " + FormatStation(run.lastShown));
    run.Write(kS3);
  }
}

/// Splits the interval at the point where the mass crosses zero, writes the
/// balance-point block and starts a new segment after it.
void WriteBalancePoint(Run& run, Interval& i, int32_t previousMass) {
  const int32_t c0 = i.cutVol, f0 = i.fillVol, a0 = i.adjFill;
  const double absP = std::fabs(static_cast<double>(previousMass));
  const double r = absP / (absP + std::fabs(static_cast<double>(run.mass)));
  const double offset = i.d * r * 100;
  const std::string station = Trim(FormatStation(i.prevStation + offset));

  const int32_t cutPart = RoundHalfEven(r * i.cutVol);
  i.cutVol = RoundHalfEven((1 - r) * i.cutVol);
  const int32_t fillPart = RoundHalfEven(r * i.fillVol);
  i.fillVol = RoundHalfEven((1 - r) * i.fillVol);
  const int32_t adjPart = RoundHalfEven(i.adjFill * r);
  i.adjFill = RoundHalfEven((1 - r) * i.adjFill);
  const int32_t p = CheckedMass(int64_t{previousMass} + cutPart - adjPart);

  const std::string zero = NumberField(0.0);
  run.Write(kS4);
  run.Write(Join({RightAlign(station, 8), zero, zero, NumberField(cutPart), zero, zero,
                  NumberField(fillPart), NumberField(adjPart), NumberField(p)},
                 "  "));
  run.Write(kS4);
  run.Write("*+******" + std::string(" Balance Pt at Station ") + station + " *******");
  const bool total = run.kind == ReportKind::Total;
  const double x = total ? run.segCut : run.accCut;
  const double y = total ? run.segFill : run.accFill;
  const std::string head = Join(
      {"Bal. Totals", zero, NumberField(run.segAddedCut - i.addCut), NumberField(x - c0 + cutPart),
       zero, zero, NumberField(run.segAddedFill - i.addFill), NumberField(y - f0 + fillPart)},
      "  ");
  if (run.kind == ReportKind::Total) {
    run.Write(head + "  " + NumberField(run.segAdjFill - a0 + adjPart) + "  " + NumberField(p));
  } else if (run.kind == ReportKind::Accumulated) {
    run.Write(head + "  " + NumberField(p) + "  " + NumberField(run.accAdjFill - a0 + adjPart));
  }
  run.Write(kS5);

  run.segAddedCut = i.addCut;
  run.segAddedFill = i.addFill;
  run.segCut = i.cutVol;
  run.segFill = i.fillVol;
  run.segAdjFill = i.adjFill;
}

void ApplyForcedBalance(Run& run, const Interval& i, int n) {
  if (run.mass < 0) {
    run.segAddedCut = run.value(n, AddedFill) + std::abs(run.mass);
    run.segAddedFill -= i.addFill;
  } else if (run.mass > 0) {
    run.segAddedFill = run.value(n, AddedCut) + std::abs(run.mass);
    run.segAddedCut -= i.addCut;
  }
  run.mass = 0;
}

/// Appends the two blanks between fields and `text` right-aligned in `width`.
void AppendField(std::string& line, std::string_view text, size_t width) {
  line += "  ";
  if (text.size() < width) line.append(width - text.size(), ' ');
  line += text;
}

void WriteDataLine(Run& run, int n, const Interval& i) {
  if (!run.out || (run.kind != ReportKind::Total && run.kind != ReportKind::Accumulated)) return;
  const bool total = run.kind == ReportKind::Total;
  std::string line = FormatStation(i.shownStation);
  line.reserve(120);
  AppendField(line, FormatArea(std::string_view(run.cells.at(n, Cut))), 9);
  AppendField(line, FormatArea(i.addCut), 9);
  AppendField(line, FormatArea(total ? i.cutVol : run.accCut), 9);
  AppendField(line, FormatArea(std::string_view(run.cells.at(n, Fill))), 9);
  AppendField(line, FormatArea(i.addFill), 9);
  AppendField(line, FormatArea(total ? i.fillVol : run.accFill), 9);
  AppendField(line, run.factorField, 9);
  AppendField(line, FormatArea(total ? i.adjFill : run.mass), 9);
  AppendField(line, FormatArea(total ? run.mass : run.accAdjFill), 9);
  run.Write(line);
}

void WriteForcedBalance(Run& run, const Interval& i) {
  run.Write(kS3);
  run.Write("Fo+rced Balance at Station " + FormatStation(i.shownStation));
  run.Write(Join({"Bal. Totals", Blanks(), NumberField(run.segAddedCut), NumberField(run.segCut),
                  Blanks(), NumberField(run.segAddedFill), NumberField(run.segFill),
                  NumberField(run.segAdjFill), NumberField(run.mass)},
                 "   "));
  run.Write(kS3);
  run.segAddedCut = run.segAddedFill = run.segCut = run.segFill = run.segAdjFill = 0;
  run.flags.ForcedBalancePending = 0;
}

std::string StationCellText(const CellTable& cells, int row) {
  return Trim(FormatStation(std::string_view(cells.at(row, Station))));
}

void WriteEquation(Run& run, int n) {
  if (run.flags.GapPending == 1) {
    run.Write(kS3);
    run.Write("Eq+uation Sta. " + StationCellText(run.cells, n) +
              " BK = " + StationCellText(run.cells, n + 1) + " AH");
    run.Write(kS1);
    run.flags.GapPending = 0;
  } else if (run.flags.OverlapPending == 1) {
    run.Write(kS3);
    run.Write("Eq+uation Sta. " + StationCellText(run.cells, n + 1) +
              " BK = " + StationCellText(run.cells, n) + " AH");
    run.Write(kS3);
    run.flags.OverlapPending = 0;
  }
}

void WriteRow(Run& run, int n) {
  if (n >= 1) ClassifyRow(run, n);
  SkipBlock block = SkipBlock::None;
  Interval i = MeasureRow(run, n, block);
  const int32_t previousMass = ComputeVolumes(run, i);
  EndAreaRow figures;
  if (run.observer) {
    figures.row = static_cast<int16_t>(n);
    figures.station = i.shownStation;
    figures.code = CodeAt(run.cells, n);
    figures.cutArea = run.value(n, Cut);
    figures.fillArea = run.value(n, Fill);
    figures.addedCut = i.addCut;
    figures.addedFill = i.addFill;
    figures.cutVolume = i.cutVol;
    figures.fillVolume = i.fillVol;
    figures.adjustedFill = i.adjFill;
    figures.cutStart = i.cutAreas.start;
    figures.cutEnd = i.cutAreas.end;
    figures.fillStart = i.fillAreas.start;
    figures.fillEnd = i.fillAreas.end;
    figures.intervalLength = i.d * 100;
    figures.massBefore = previousMass;
    figures.massAfterInterval = run.mass;
  }
  WriteSkipBlock(run, block, i);
  if (run.flags.ForcedBalancePending == 1) {
    figures.forcedBalance = true;
    ApplyForcedBalance(run, i, n);
  } else if ((previousMass > 0 && run.mass < 0) || (previousMass < 0 && run.mass > 0)) {
    WriteBalancePoint(run, i, previousMass);
  }
  if (run.observer) {
    figures.mass = run.mass;
    (*run.observer)(figures);
  }
  WriteDataLine(run, n, i);
  if (run.flags.ForcedBalancePending == 1) WriteForcedBalance(run, i);
  WriteEquation(run, n);
  run.lastShown = i.shownStation;
}

std::string TotalText(double value) {
  return RightAlign(ShortestText(value), 9);
}

void WriteGrandSummary(Run& run) {
  ReportFileWriter& out = *run.out;
  const GrandTotals& t = run.totals;
  out.WriteLine(kS1);
  out.WriteLine("+                 G R A N D     S U M M A R Y     T O T A L S");
  out.WriteLine(kS1);
  out.WriteLine("+                   Unadjusted  Adjusted        Mult");
  out.WriteLine("+                   Volume      Volume          Factor");
  if (run.units == Units::Metric) {
    out.WriteLine("+                   (cubic     (cubic");
    out.WriteLine("+                    meters)    meters)");
  } else {
    out.WriteLine("+                   (cu. yd.)   (cu. yd.)");
  }
  out.WriteLine(" +       ---------------------------- ---------- ---------- ------");
  out.WriteLine(ZoneLine()
                    .Item("+" + RightAlign("Excavation", 9))
                    .Item(TotalText(t.CutUnadjusted))
                    .Item(TotalText(t.CutAdjusted))
                    .Item(RightAlign("1.0", 9))
                    .Text());
  out.WriteLine(ZoneLine()
                    .Item("+" + RightAlign("Fill", 9))
                    .Item(TotalText(t.FillUnadjusted))
                    .Item(TotalText(t.FillAdjusted))
                    .Item(RightAlign(run.group.BalanceFactor, 9))
                    .Text());
  out.WriteLine("+        ---------------------------- ---------- ---------- ------");
  out.WriteLine(std::string(65, '#'));
}

void WriteReport(ProgramState& state, bool& opened) {
  const std::string path = state.Report.Folder.Path() + EndAreaReportName(state.Project);
  state.Report.ReportFileName = path;
  ReportFileWriter out(path, state.Report.AppendToReport);
  opened = true;
  WriteReportHeader(out, state);
  const GroupRecord& group = state.Project.Current();
  Run run{&state.dialogs,
          state.Report.Totals,
          state.Project.UnitSystem,
          group,
          group.Cells,
          &out,
          nullptr,
          state.Report.AccumulatedReport,
          state.Project.UnitSystem == Units::Metric ? kMetricFactor : kEnglishFactor,
          std::nullopt,
          {}};
  for (int n = 0; group.Cells.at(n, Station) != kEndOfRows; ++n) WriteRow(run, n);
  WriteGrandSummary(run);
  out.Close();
}

}  // namespace

double EndAreaVolumeFactor(Units units) {
  return units == Units::Metric ? kMetricFactor : kEnglishFactor;
}

void WalkEndAreaRows(const GroupRecord& group, Units units,
                     const std::function<void(const EndAreaRow&)>& observer) {
  GrandTotals totals;
  Run run{nullptr,
          totals,
          units,
          group,
          group.Cells,
          nullptr,
          &observer,
          ReportKind::Total,
          units == Units::Metric ? kMetricFactor : kEnglishFactor,
          std::nullopt,
          {}};
  for (int n = 0; group.Cells.at(n, Station) != kEndOfRows; ++n) WriteRow(run, n);
}

std::string EndAreaReportName(const ProjectStore& store) {
  const std::string name = StripFile(store.CurrentFileName);
  const size_t dot = name.find('.');
  if (dot == std::string::npos) {
    throw ProgramError("The file name \"" + name + "\" has no \".\" to form the report name from");
  }
  return name.substr(0, dot) + ".rpt";
}

double GetStation(const ProgramState& state, int16_t row) {
  return Cell(state.Project.Current().Cells, row, Station);
}

double GetSum(const CellTable& cells, EndAreaFlags& flags, int16_t row, int16_t column,
              std::string_view mode) {
  return SumOfAreas([&](int r, int c) { return Cell(cells, r, c); }, flags, row, column, mode)
      .Sum();
}

Result CreateTempRptFile(ProgramState& state, PageRecount recount) {
  if (IsUntitled(state.Project.CurrentFileName)) {
    const std::string text =
        "There is no active data to create sheets with, you must first open a file."
        " Or if you have typed in some numbers Please save it to a file";
    state.dialogs.MessageBox(text);
    return Result::Failed(text, "CreateTempRptFile");
  }
  bool opened = false;
  Result done = Trap(state.dialogs, "Program Error: ", " occured in CreateTempRptFile",
                     [&] { WriteReport(state, opened); });
  state.Report.AppendToReport = false;
  // After a failure the lines written so far stay: count them too, so that
  // the page count always describes the file on disk.
  if (opened && recount == PageRecount::AfterRun) CountNumberOfPages(state);
  return done;
}

}  // namespace earthwork
