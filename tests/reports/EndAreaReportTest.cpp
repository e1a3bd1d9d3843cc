#include "reports/EndAreaReport.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <sstream>

#include <gtest/gtest.h>

#include "project/FileIO.h"
#include "project/Text.h"
#include "reports/ReportTestSupport.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

using testing::ReadBytes;
using testing::TypedRow;

struct Scenario {
  const char* name;
  int16_t unitSystem;
  const char* factor;
  bool embankment;
  std::vector<TypedRow> rows;
};

// clang-format off
const std::vector<TypedRow> kIntervals = {
    {"0", "", "10", "", "0", ""}, {"100", "", "20", "", "5", ""}, {"150", "", "35.5", "12", "8", ""},
    {"250", "", "0", "", "22", "6.5"}, {"312.5", "", "4.25", "", "10", ""}};
// clang-format on

const std::vector<Scenario>& Scenarios() {
  // clang-format off
  static const std::vector<Scenario> scenarios = {
      {"single_row", 0, "1.15", false, {{"1000", "", "12.5", "7.5", "4", "2.5"}}},
      {"english_intervals", 0, "1.15", false, kIntervals},
      {"metric_intervals", 1, "1.00", false, kIntervals},
      // Ties go to the even volume: added volumes, end areas and the factor.
      {"round_half_even", 1, "1.5", false, {
          {"0", "", "0", "2.5", "0", "0.5"}, {"1", "", "5", "", "0", ""}, {"2", "", "2", "", "", ""},
          {"2", "", "0", "3.5", "0", "1.5"}, {"3", "", "0", "", "6", ""}, {"4", "", "0", "", "4", ""}}},
      // Crossings at one third of an interval, and a mass that lands on 0.
      {"balance_points", 1, "1.00", false, {
          {"0", "", "0", "100", "0", ""}, {"100", "", "0", "", "6", ""}, {"200", "", "0", "500", "0", ""},
          {"300", "", "0", "", "0", "50"}, {"400", "", "3", "", "0", ""}}},
      // Opened at 2+00 and closed at 4+00; opened at 6+00 and never closed.
      {"skip_areas", 0, "1.00", false, {
          {"0", "", "10", "", "2", ""}, {"100", "", "20", "", "4", ""}, {"200", "SA", "30", "5", "6", ""},
          {"300", "", "40", "99", "8", "77"}, {"400", "SA", "50", "", "10", ""},
          {"500", "", "60", "", "12", ""}, {"600", "SA", "70", "", "14", ""},
          {"700", "", "80", "", "16", "3"}, {"800", "", "90", "", "18", ""}}},
      // Forced balances with a positive mass, a crossing one, a negative
      // one and a zero one.
      {"forced_balances", 0, "1.15", false, {
          {"0", "", "0", "100", "0", ""}, {"100", "FB", "0", "10", "0", "4"}, {"200", "", "0", "", "0", "30"},
          {"300", "FB", "0", "80", "0", "5"}, {"400", "", "0", "", "0", "20"},
          {"500", "FB", "0", "", "0", "7"}, {"600", "FB", "0", "", "0", ""}, {"700", "", "12", "", "3", ""}}},
      // A gap (BK then AH), an overlap (AH then BK), a lone BK, a lone AH.
      {"equations", 0, "1.00", false, {
          {"0", "", "10"}, {"100", "BK", "20"}, {"150", "AH", "30", "7"}, {"250", "", "40"},
          {"320", "AH", "20", "3"}, {"380", "BK", "30", "5"}, {"450", "", "40"}, {"500", "BK", "10"},
          {"600", "", "20"}, {"700", "AH", "30", "2"}, {"800", "", "40", "", "4"}}},
      {"row0_code", 0, "1.00", false, {{"0", "SA", "10"}, {"100", "", "20"}, {"200", "", "30"}}},
      {"embankment_factor_one", 0, "1.00", true, {
          {"0", "", "0", "", "0", "2"}, {"100", "", "5", "", "40", "3"}, {"200", "", "10", "", "30", ""}}},
  };
  // clang-format on
  return scenarios;
}

class EndAreaReportTest : public ::testing::Test {
 protected:
  void SetUpProject(const Scenario& s) {
    state.Report.Totals = {};
    ProjectStore& store = state.Project;
    store.CurrentFileName = "/projects/" + std::string(s.name) + ".ear";
    store.HeaderFields = {"J. Doe", "P-1234", "C-0042"};
    store.UnitSystem = static_cast<Units>(s.unitSystem);
    GroupRecord& group = store.Group(0);
    group.Name = s.name;
    group.BalanceFactor = s.factor;
    group.MeasuredInEmbankment = s.embankment ? 1 : 0;
    state.Window.Embankment = s.embankment;
    testing::SetRows(group, s.rows);
  }

  std::string Run(int32_t kind) {
    state.Report.AccumulatedReport = static_cast<ReportKind>(kind);
    EXPECT_TRUE(CreateTempRptFile(state));
    return ReadBytes(state.Report.ReportFileName);
  }

  std::vector<std::string> Lines(const std::string& bytes) { return SplitLines(bytes); }

  testing::TempDir dir;
  testing::ScopedReportDirectory reportDir{dir.Path("reports")};
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
};

const Scenario& Named(const std::string& name) {
  for (const Scenario& s : Scenarios()) {
    if (name == s.name) return s;
  }
  throw std::runtime_error("no scenario " + name);
}

std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

/// The blank-separated fields of the first line whose first field is
/// `first`.
std::vector<std::string> LineStarting(const std::vector<std::string>& lines,
                                      const std::string& first) {
  for (const std::string& line : lines) {
    const auto words = Words(line);
    if (!words.empty() && words[0] == first) return words;
  }
  ADD_FAILURE() << "no line starts with " << first;
  return {};
}

TEST_F(EndAreaReportTest, ScenariosMatchTheirGoldenReports) {
  for (const Scenario& s : Scenarios()) {
    for (const int32_t kind : {0, 1}) {
      const std::string name =
          std::string("reports/") + s.name + (kind == 1 ? ".accumulated" : ".total") + ".rpt";
      SCOPED_TRACE(name);
      SetUpProject(s);
      const std::string report = Run(kind);
      testing::ExpectGoldenReport(
          report, name, kind == 1 ? testing::GoldenKind::Accumulated : testing::GoldenKind::Total,
          state.Report.PageCount);
      EXPECT_FALSE(state.Report.AppendToReport);
    }
  }
}

TEST_F(EndAreaReportTest, VolumesOfOneIntervalInBothUnitSystems) {
  // d = 1 station, end areas 10 and 20: 30 x 1.8518519 cubic yards, or
  // 30 x 50 cubic metres.
  struct Case {
    int16_t unitSystem;
    const char* cutVol;
  };
  for (const Case c : {Case{0, "56.00"}, Case{1, "1500.00"}}) {
    SetUpProject({"one_interval",
                  c.unitSystem,
                  "1.00",
                  false,
                  {{"0", "", "10", "", "0"}, {"100", "", "20", "", "0"}}});
    const auto lines = Lines(Run(0));
    const auto row = LineStarting(lines, "01+00.000");
    ASSERT_EQ(row.size(), 10u);
    EXPECT_EQ(row[3], c.cutVol);
    EXPECT_EQ(row[9], c.cutVol);  // the mass
  }
}

// A few numbers of the golden reports worked out by hand.
TEST_F(EndAreaReportTest, HandWorkedValuesOfTheGoldenReports) {
  struct Case {
    const char* scenario;
    const char* station;  // the line that starts with it
    size_t field;
    const char* value;
    const char* why;
  };
  const Case cases[] = {
      {"balance_points", "00+33.333", 6, "100.00", "a third of the way, with fill 100 before it"},
      {"balance_points", "01+00.000", 9, "-200.00", "mass 100, then fill 300 over one station"},
      {"balance_points", "03+33.333", 3, "50.00", "the second crossing"},
      {"round_half_even", "00+00.000", 3, "2.00", "added cut 2.5"},
      {"round_half_even", "00+00.000", 8, "0.00", "added fill 0.5"},
      {"round_half_even", "00+01.000", 3, "2.00", "end areas 0 and 5 over one metre: 2.5"},
      {"round_half_even", "00+03.000", 8, "4.00", "factor 1.5 on a fill of 3: 4.5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    SetUpProject(Named(c.scenario));
    const auto row = LineStarting(Lines(Run(0)), c.station);
    ASSERT_GT(row.size(), c.field);
    EXPECT_EQ(row[c.field], c.value);
  }
  // The mass lands on 0 at 2+00 and goes negative at 3+00: no crossing there.
  SetUpProject(Named("balance_points"));
  const auto lines = Lines(Run(0));
  EXPECT_EQ(std::count_if(
                lines.begin(), lines.end(),
                [](const std::string& line) { return Contains(line, "Balance Pt at Station"); }),
            2);
}

TEST_F(EndAreaReportTest, StationEquationsAreAnnounced) {
  SetUpProject(Named("equations"));
  Run(0);
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{
                                 "Gap Equation where BK occures before AH",
                                 "overlap equation Where AH occures before BK",
                                 "Ahead Station First when Station Equation occures",
                             }));
}

TEST_F(EndAreaReportTest, FailuresAreShownAndKeepWhatWasWritten) {
  struct Case {
    const char* what;
    std::function<void(ProjectStore&)> change;
    const char* message;
    int linesWritten;  // -1: no file
  };
  const Case cases[] = {
      {"untitled", [](ProjectStore& p) { p.CurrentFileName = "UNTITLED"; },
       "There is no active data to create sheets with, you must first open a file."
       " Or if you have typed in some numbers Please save it to a file",
       -1},
      {"factor not a number", [](ProjectStore& p) { p.Group(0).BalanceFactor = "1,15"; },
       "Program Error: Balance factor \"1,15\" is not a number occured in CreateTempRptFile", 6},
      {"no dot in the file name", [](ProjectStore& p) { p.CurrentFileName = "/projects/plain"; },
       "Program Error: The file name \"plain\" has no \".\" to form the report name from"
       " occured in CreateTempRptFile",
       -1},
      {"volume beyond 32 bits",
       [](ProjectStore& p) {
         testing::SetRows(p.Group(0), {{"0", "", "99999999"}, {"100000000", "", "99999999"}});
       },
       "Program Error: Overflow occured in CreateTempRptFile", 7},
      {"lone BK on row 1",
       [](ProjectStore& p) {
         testing::SetRows(p.Group(0), {{"0"}, {"100", "BK"}, {"200"}});
       },
       "Program Error: Subscript out of range occured in CreateTempRptFile", 7},
      {"no end marker",
       [](ProjectStore& p) {
         for (int r = 0; r < kCellRows; ++r) p.Group(0).Cells.at(r, Station) = "1";
       },
       "Program Error: Subscript out of range occured in CreateTempRptFile", 6 + kCellRows},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialogs.shown.clear();
    state.Report.ReportFileName.clear();
    SetUpProject(Named("english_intervals"));
    std::filesystem::remove_all(dir.Path("reports"));
    c.change(state.Project);
    state.Report.AppendToReport = true;
    EXPECT_FALSE(CreateTempRptFile(state));
    EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.message});
    if (c.linesWritten < 0) {
      EXPECT_FALSE(std::filesystem::exists(dir.Path("reports/english_intervals.rpt")));
    } else {
      const auto lines = Lines(ReadBytes(state.Report.ReportFileName));
      EXPECT_EQ(static_cast<int>(lines.size()), c.linesWritten);
      EXPECT_FALSE(state.Report.AppendToReport);
    }
  }
}

TEST_F(EndAreaReportTest, AppendedGroupsShareOneFileAndTheGrandTotals) {
  SetUpProject(Named("english_intervals"));
  Run(0);
  const auto first = Lines(ReadBytes(state.Report.ReportFileName));
  const GrandTotals once = state.Report.Totals;
  EXPECT_EQ(once.CutUnadjusted, 56 + 63 + 66 + 5);
  EXPECT_EQ(once.FillAdjusted, 10 + 14 + 71 + 43);

  state.Report.AppendToReport = true;
  const auto both = Lines(Run(0));
  EXPECT_EQ(both.size(), 2 * first.size());
  EXPECT_EQ(std::vector<std::string>(both.begin(), both.begin() + static_cast<long>(first.size())),
            first);
  EXPECT_FALSE(state.Report.AppendToReport);
  // Nobody cleared the totals: the second summary counts both runs.
  EXPECT_EQ(state.Report.Totals.CutUnadjusted, 2 * once.CutUnadjusted);
  EXPECT_EQ(Words(both[both.size() - 4])[1], "380");
  EXPECT_EQ(state.Report.PageCount, 1);
}

TEST_F(EndAreaReportTest, AFullGroupOf1800Rows) {
  Scenario s{"full", 0, "1.15", false, {}};
  SetUpProject(s);
  GroupRecord& group = state.Project.Group(0);
  for (int r = 0; r < kMaxDataRows; ++r) {
    group.Cells.at(r, Station) = FormatStation(r * 50.0);
    group.Cells.at(r, Cut) = r % 7 == 0 ? "0.00" : "120.50";
    group.Cells.at(r, Fill) = r % 5 == 0 ? "300.00" : "15.25";
  }
  group.Cells.at(kMaxDataRows, Station) = kEndOfRows;
  const std::string report = Run(0);
  EXPECT_EQ(LineStarting(Lines(report), "899+50.000").size(), 10u);
  EXPECT_GT(state.Report.PageCount, 35);
  testing::ExpectReportInvariants(report, testing::GoldenKind::Total, state.Report.PageCount);
}

}  // namespace
}  // namespace earthwork
