#include "reports/GeopakLogReport.h"

#include <algorithm>
#include <initializer_list>
#include <map>

#include "GeopakTestSupport.h"
#include "geopak/LogParser.h"
#include "project/Format.h"
#include "project/Paths.h"
#include "project/Text.h"

namespace earthwork::testing {
namespace {

class GeopakLogReportTest : public GeopakTest {
 protected:
  /// The report of a sample log in a fresh state.
  std::string ReportOf(const std::string& log, int32_t accumulated, bool embankment) {
    ProgramState fresh(dialogs, view);
    fresh.Project.HeaderFields = state.Project.HeaderFields;
    fresh.Project.CurrentFileName = Sample(log);
    EXPECT_TRUE(ReadGeopakLog(fresh));
    fresh.Report.AccumulatedReport = static_cast<ReportKind>(accumulated);
    fresh.Project.LogFileMode = true;
    fresh.Window.Embankment = embankment;
    fresh.Window.LogTabCaptions = {"BASELINE: " + fresh.Report.BaselineName};
    EXPECT_TRUE(CreateGeopakLogReport(fresh));
    EXPECT_FALSE(fresh.Report.AppendToReport);
    pages = fresh.Report.PageCount;
    return ReadBytes(fresh.Report.ReportFileName);
  }

  int32_t pages = 0;  // of the last ReportOf
};

/// A station line laid out by hand: the station with its gap, then nine
/// fields right-aligned in 9 and two blanks apart.
std::string Row(const std::string& station, std::initializer_list<const char*> fields) {
  std::string line = station;
  for (const char* f : fields) line += (line == station ? "" : "  ") + RightAlign(f, 9);
  return line;
}

TEST_F(GeopakLogReportTest, GoldenReportsForBothKindsAndUnitSystems) {
  const struct {
    const char* log;
    int32_t accumulated;
    bool embankment;
    const char* golden;
  } cases[] = {
      {"ramp1.log", 0, false, "ramp1-total.rpt"},
      {"ramp1.log", 0, true, "ramp1-total-embankment.rpt"},
      {"ramp1.log", 1, false, "ramp1-accumulated.rpt"},
      {"ramp2m.log", 1, false, "ramp2m-accumulated.rpt"},
      {"ramp2m.log", 1, true, "ramp2m-accumulated-embankment.rpt"},
      {"ramp2m.log", 0, true, "ramp2m-total-embankment.rpt"},
  };
  for (const auto& c : cases) {
    const std::string report = ReportOf(c.log, c.accumulated, c.embankment);
    ExpectGoldenReport(report, std::string("geopak/") + c.golden, GoldenKind::Log, pages);
    const std::string companion = CompanionTableName(logs.Path(c.log));
    ExpectGolden(ReadBytes(companion), "geopak/" + StripFile(companion));
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GeopakLogReportTest, LinesTakeTheColumnsOfTheirLayouts) {
  const std::string b = "  ";   // layout B: station in 8, two blanks
  const std::string w = "   ";  // the others: station in 9, three blanks
  const struct {
    int32_t accumulated;
    bool embankment;
    std::string line;
  } cases[] = {
      // clang-format off
      {0, false, Row("11+00.000" + b, {"60.40", "0.00", "195.56", "5.00", "0.00", "32.59", "1.15", "37.48", "158.08"})},
      {1, false, Row("11+00.000" + b, {"60.40", "0.00", "195.56", "5.00", "0.00", "32.59", "1.15", "158.08", "37.48"})},
      {0, true, Row("11+00.000" + b, {"60.40", "0.00", "195.56", "5.00", "0.00", "32.59", "", "", ""})},
      {0, false, Row("12+00.000" + w, {"NA", "150.00", "0.00", "24.81", "24.81", "358.15", "1.00", "487.70", "0.00"})},
      {1, false, Row("13+00.000" + w, {"Exc", "150.00", "0.00", "0.00", "0.00", "43.89", "721.30", "0.00", ""}) + "  "},
      {0, false, Row("15+00.000" + w, {"------", "37.22", "0.00", "137.41", "137.41", "158.02", "1.15", "345.64", "0.00"})},
      {1, false, Row("16+00.000" + w, {"NA", "0.00", "0.00", "50.10", "174.26", "50.10", "1.15", "275.40", "155.43"}) + "  "},
      {0, false, Row("20+00.000" + w, {"------", "------", "------", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00"})},
      {0, false, " 14+50.000 : XS-NOELEM No cross-section elements found at 14+50.000"},
      {0, false, "*+******SKIP = 20+00.000 to 22+00.000 *******"},
      {0, false, "*+****** Balance Pt at Station 12+40.000 *******"},
      {0, false, Row("  +Incre." + w, {"0.00", "0.00", "470.00", "0.00", "0.00", "75.00", "86.25", "86.25", "0.00"})},
      {1, false, Row("  +Accum." + w, {"0.00", "0.00", "808.40", "0.00", "0.00", "836.10", "961.52", "0.00", "961.52"})},
      {0, false, "+             Excavation      1292.97       1292.97         1.000"},
      {0, true, "+                  Fill       1227.04"},
      // clang-format on
  };
  std::map<std::pair<int32_t, bool>, std::vector<std::string>> byKind;
  for (const auto& c : cases) {
    auto& lines = byKind[{c.accumulated, c.embankment}];
    if (lines.empty()) lines = Lines(ReportOf("ramp1.log", c.accumulated, c.embankment));
    EXPECT_NE(std::find(lines.begin(), lines.end(), c.line), lines.end()) << "[" << c.line << "]";
  }
  // Skip areas hide their stations; a skip whose end is not found hides
  // nothing; "NA" without an adjustment has no line.
  const auto& total = byKind[{0, false}];
  for (const char* station : {"21+00.000", "22+00.000", "17+00.000"}) {
    EXPECT_TRUE(std::none_of(total.begin(), total.end(), [&](const std::string& l) {
      return l.rfind(station, 0) == 0;
    })) << station;
  }
  for (const char* station : {"23+00.000", "23+50.000", "24+00.000"}) {
    EXPECT_EQ(std::count_if(total.begin(), total.end(),
                            [&](const std::string& l) { return l.rfind(station, 0) == 0; }),
              1)
        << station;
  }
}

TEST_F(GeopakLogReportTest, EmptyGroupGivesHeaderAndSummaryOnly) {
  state.Project.CurrentFileName = logs.Path("empty.log");
  EXPECT_TRUE(CreateGeopakLogReport(state));
  const auto lines = Lines(Report());
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[6], "+                 G R A N D     S U M M A R Y     T O T A L S");
  EXPECT_EQ(lines[14], std::string(65, '#'));
}

TEST_F(GeopakLogReportTest, BalancePointsAndAdjustmentsBetweenStations) {
  LogGroup& g = state.Log.Group(0);
  const char* sections[] = {"", "10+00.000", "11+00.000", "XS-NOPROP", "12+00.000", "13+00.000"};
  for (int s = 1; s <= 5; ++s) g.SectionTable.at(s).Label = sections[s];
  const char* points[] = {"", " 10+50.000", " 10+20.000", " 11+50.000", " 12+00.000"};
  for (int p = 1; p <= 4; ++p) g.PointTable.at(p).Label = points[p];
  const char* adjustments[][2] = {{"", ""}, {"10+10", "Fill"}, {"10+30", "Exc"}, {"12+50", "Exc"}};
  for (int a = 1; a <= 3; ++a) {
    g.AdjustmentTable.at(a).Label = adjustments[a][0];
    g.AdjustmentTable.at(a).Message = adjustments[a][1];
  }
  const struct {
    int16_t pointCount;
    int16_t station;
    int16_t balancePoint;
    const char* kind;
  } cases[] = {
      {4, 1, 2, "Fill"},  // two points in one interval: the later entry; the first adjustment
      {4, 2, 0, ""},      // the next record is a message: no interval
      {4, 3, 0, ""},      // a message station itself
      {4, 4, 4, "Exc"},   // a point on the station counts
      {4, 5, 0, ""},      // the last station
      {2, 4, 0, ""},      // entries beyond the point count are not searched
  };
  for (const auto& c : cases) {
    g.PointCount = c.pointCount;
    EXPECT_EQ(FindBalancePoint(state, c.station), c.balancePoint) << c.station;
    EXPECT_EQ(InsertBalance(state, c.station), c.kind) << c.station;
  }
}

TEST_F(GeopakLogReportTest, FailuresAreShownAndLoseNothing) {
  // The station table never overwrites an earthwork data file.
  const std::string ear = logs.Path("ramp1.ear");
  WriteBytes(ear, "[VERSION 2002]\r\nrows\r\n");
  ReportOf("ramp1.log", 0, false);
  EXPECT_EQ(ReadBytes(ear), "[VERSION 2002]\r\nrows\r\n");
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"The station table was not written: " + ear +
                                                      " holds earthwork data"});
  // A report that cannot be written.
  const std::string notAFolder = WriteLog("file", "x");
  testing::SetEnv("EARTHWORK_REPORT_DIR", notAFolder);
  state.Report.AppendToReport = true;
  state.Project.CurrentFileName = logs.Path("ramp1.log");
  EXPECT_FALSE(CreateGeopakLogReport(state));
  EXPECT_TRUE(state.Report.AppendToReport);
  const std::string text = dialogs.Texts().back();
  EXPECT_EQ(text.rfind("Error: Cannot write " + notAFolder, 0), 0u) << text;
  EXPECT_TRUE(text.ends_with(" occured in CreateGeopakLogReport")) << text;
}

// The table holds 10,000 stations. Below and at the limit every station line
// gets its report line (a closing station without quantities an all-zero
// one) and the grand summary follows; past it the lines that do not fit are
// said once, and the report is the one of the stations that fit.
TEST_F(GeopakLogReportTest, BothSidesOfTheTableLimit) {
  const auto log = [](int stations) {
    std::string text =
        " 1     3     3 Earthwork\r\n   Earthworks for Baseline = LONG\r\n     ----------\r\n";
    for (int s = 0; s < stations; ++s) {
      text += "   " + std::to_string(s) + "+00.000   Cross Section\r\n";
      text += "        Excavation       10.00      37.04       0.00       0.00      37.04\r\n";
      text += "        Fill              5.00      18.52      21.30       1.15      15.74\r\n";
    }
    // The closing station line, without quantities.
    return text + "   " + std::to_string(stations) +
           "+00.000   Cross Section\r\n     ----------\r\n";
  };
  const std::string zeros =
      "       0.00       0.00       0.00       0.00       0.00       0.00       0.00       0.00"
      "       0.00";
  const std::string full =
      "      10.00       0.00      37.04       5.00       0.00      18.52       1.15      21.30"
      "      15.74";
  struct Case {
    int stations;
    std::string last;  // the last station line
    size_t messages;
  };
  for (const Case& c : {Case{9998, "9998+00.000" + zeros, 0}, Case{9999, "9999+00.000" + zeros, 0},
                        Case{10000, "9999+00.000" + full, 1}}) {
    SCOPED_TRACE(c.stations);
    dialogs.shown.clear();
    ASSERT_TRUE(Open(WriteLog("long.log", log(c.stations))));
    const std::vector<std::string> lines = Lines(Report());
    const auto summary = std::find(lines.begin(), lines.end(),
                                   "+                 G R A N D     S U M M A R Y     T O T A L S");
    ASSERT_NE(summary, lines.end());
    const auto isStation = [](const std::string& l) { return Contains(l, "+00.000 "); };
    EXPECT_EQ(*std::find_if(std::make_reverse_iterator(summary), lines.rend(), isStation), c.last);
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), isStation),
              std::min(c.stations + 1, 10000));
    EXPECT_EQ(dialogs.shown.size(), c.messages);
  }
}

TEST(GeopakFileNames, ReportAndCompanionNames) {
  const char* cases[][3] = {
      // log, report, companion table
      {"/jobs/ramp1.log", "ramp1.rpt", "/jobs/ramp1.ear"},
      {"/jobs/old.logs/Ramp1.Log", "Ramp1.rpt", "/jobs/old.logs/Ramp1.ear"},
      {"d:\\jobs\\ramp1.LOG", "ramp1.rpt", "d:\\jobs\\ramp1.ear"},
      {"/jobs/a.log.log", "a.rpt", "/jobs/a.ear"},
      {"/jobs/ramp1", "ramp1.rpt", "/jobs/ramp1.ear"},
      // Either separator on every system, a drive letter, a server's share.
      {"C:/jobs\\old.log/ramp1.log", "ramp1.rpt", "C:/jobs\\old.log/ramp1.ear"},
      {"C:ramp1.log", "ramp1.rpt", "C:ramp1.ear"},
      {"\\\\server\\jobs\\ramp1.log", "ramp1.rpt", "\\\\server\\jobs\\ramp1.ear"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(GeopakReportName(c[0]), c[1]);
    EXPECT_EQ(CompanionTableName(c[0]), c[2]);
  }
}

}  // namespace
}  // namespace earthwork::testing
