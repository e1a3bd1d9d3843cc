#include "reports/GeopakLogReport.h"

#include <algorithm>
#include <initializer_list>

#include "GeopakTestSupport.h"
#include "geopak/LogParser.h"
#include "project/Format.h"
#include "project/Paths.h"

namespace earthwork::testing {
namespace {

class GeopakLogReportTest : public GeopakTest {
 protected:
  /// Reads a sample log into the current group and writes its report.
  std::vector<std::string> ReportOf(const std::string& log, int32_t accumulated, bool embankment) {
    state.Project.CurrentFileName = Sample(log);
    ReadGeopakLog(state);
    state.Report.AccumulatedReport = accumulated;
    view.embankment = embankment;
    view.tabCaptions = {"BASELINE: " + state.Report.BaselineName};
    CreateGeopakLogReport(state);
    return Lines(Report());
  }

  bool Has(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
  }
};

/// A station line as laid out by hand: the station, its gap, then nine
/// fields right-aligned in 9 and two blanks apart.
std::string Row(const std::string& station, std::initializer_list<const char*> fields) {
  std::string line = station;
  bool first = true;
  for (const char* f : fields) {
    line += (first ? "" : "  ") + RightAlign(f, 9);
    first = false;
  }
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
    SCOPED_TRACE(c.golden);
    ProgramState fresh(dialogs, view);
    fresh.Project.HeaderFields = state.Project.HeaderFields;
    fresh.Project.CurrentFileName = Sample(c.log);
    ReadGeopakLog(fresh);
    fresh.Report.AccumulatedReport = c.accumulated;
    view.embankment = c.embankment;
    view.tabCaptions = {"BASELINE: " + fresh.Report.BaselineName};
    CreateGeopakLogReport(fresh);
    EXPECT_EQ(fresh.Report.AppendToReport, 0);
    ExpectGolden(ReadBytes(fresh.Report.ReportFileName), std::string("geopak/") + c.golden);
    const std::string companion = CompanionTableName(fresh.Project.CurrentFileName);
    ExpectGolden(ReadBytes(companion), "geopak/" + StripFile(companion));
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GeopakLogReportTest, StationLinesTakeTheirLayoutsColumns) {
  const std::string b = "  ";   // layout B: station in 8, two blanks
  const std::string w = "   ";  // other layouts: station in 9, three blanks
  const struct {
    int32_t accumulated;
    bool embankment;
    std::string line;
  } cases[] = {
      // B: areas, volumes, factor, adjusted fill and mass from the two lines.
      {0, false,
       Row("11+00.000" + b,
           {"60.40", "0.00", "195.56", "5.00", "0.00", "32.59", "1.15", "37.48", "158.08"})},
      {1, false,
       Row("11+00.000" + b,
           {"60.40", "0.00", "195.56", "5.00", "0.00", "32.59", "1.15", "158.08", "37.48"})},
      {0, true,
       Row("11+00.000" + b, {"60.40", "0.00", "195.56", "5.00", "0.00", "32.59", "", "", ""})},
      // E: "NA" with an excavation adjustment.
      {0, false,
       Row("12+00.000" + w,
           {"NA", "150.00", "0.00", "24.81", "24.81", "358.15", "1.00", "487.70", "0.00"})},
      // C ends with an empty field, and in the accumulated report two blanks.
      {0, false,
       Row("13+00.000" + w,
           {"Exc", "150.00", "0.00", "0.00", "0.00", "43.89", "721.30", "0.00", ""})},
      {1, false,
       Row("13+00.000" + w,
           {"Exc", "150.00", "0.00", "0.00", "0.00", "43.89", "721.30", "0.00", ""}) +
           "  "},
      // A: placeholders for the areas.
      {0, false,
       Row("15+00.000" + w,
           {"------", "37.22", "0.00", "137.41", "137.41", "158.02", "1.15", "345.64", "0.00"})},
      // D: "NA" with a fill adjustment.
      {1, false,
       Row("16+00.000" + w,
           {"NA", "0.00", "0.00", "50.10", "174.26", "50.10", "1.15", "275.40", "155.43"}) +
           "  "},
      // The skip's first station, in layout A with every test failing.
      {0, false,
       Row("20+00.000" + w,
           {"------", "------", "------", "0.00", "0.00", "0.00", "0.00", "0.00", "0.00"})},
      // Messages lead with the station they name.
      {0, false, " 14+50.000 : XS-NOELEM No cross-section elements found at 14+50.000"},
      {0, false, " 17+50.000 : XS-NOES  No earthwork shapes at 17+50.000"},
      {0, false, "*+******SKIP = 20+00.000 to 22+00.000 *******"},
      {0, false, "*+****** Balance Pt at Station 12+40.000 *******"},
      {0, false,
       Row("  +Incre." + w,
           {"0.00", "0.00", "470.00", "0.00", "0.00", "75.00", "86.25", "86.25", "0.00"})},
      {1, false,
       Row("  +Accum." + w,
           {"0.00", "0.00", "808.40", "0.00", "0.00", "836.10", "961.52", "0.00", "961.52"})},
      {0, false, "+             Excavation      1292.97       1292.97         1.000"},
      {0, true, "+                  Fill       1227.04"},
  };
  for (const auto& c : cases) {
    ProgramState fresh(dialogs, view);
    const auto lines = [&] {
      fresh.Project.CurrentFileName = Sample("ramp1.log");
      ReadGeopakLog(fresh);
      fresh.Report.AccumulatedReport = c.accumulated;
      view.embankment = c.embankment;
      CreateGeopakLogReport(fresh);
      return Lines(ReadBytes(fresh.Report.ReportFileName));
    }();
    EXPECT_TRUE(Has(lines, c.line)) << "[" << c.line << "]";
  }
}

TEST_F(GeopakLogReportTest, SkipAreasHideTheirStations) {
  const auto lines = ReportOf("ramp1.log", 0, false);
  const auto starts = [&](const std::string& station) {
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string& l) { return l.rfind(station, 0) == 0; });
  };
  EXPECT_EQ(starts("21+00.000"), 0);  // inside the first skip
  EXPECT_EQ(starts("22+00.000"), 0);  // its end station; reporting resumes after it
  EXPECT_EQ(starts("23+00.000"), 1);
  EXPECT_EQ(starts("23+50.000"), 1);  // "to" not found: nothing more is hidden
  EXPECT_EQ(starts("24+00.000"), 1);
  EXPECT_EQ(starts("17+00.000"), 0);  // "NA" without an adjustment
  // A skip followed by a message: the message is reported as usual.
  EXPECT_TRUE(Has(lines, " 24+50.000 : XS-NOPROP  No proposed elements found at 24+50.000"));
  EXPECT_FALSE(Has(lines, "*+******SKIP = 24+10.000 to 24+40.000 *******"));
}

TEST_F(GeopakLogReportTest, EmptyGroupGivesHeaderAndSummaryOnly) {
  state.Project.CurrentFileName = logs.Path("empty.log");
  CreateGeopakLogReport(state);
  const auto lines = Lines(Report());
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[5], "#Embankment= 0");
  EXPECT_EQ(lines[6], "+                 G R A N D     S U M M A R Y     T O T A L S");
  EXPECT_EQ(lines[13], "        ---------------------------- ---------- ---------- ------");
  EXPECT_EQ(lines[14], std::string(65, '#'));
  EXPECT_EQ(ReadBytes(logs.Path("empty.ear")), "");
}

TEST_F(GeopakLogReportTest, BalancePointsAndAdjustmentsBetweenStations) {
  LogGroup& g = state.Log.Group(0);
  const char* sections[] = {"", "10+00.000", "11+00.000", "XS-NOPROP", "12+00.000", "13+00.000"};
  for (int s = 1; s <= 5; ++s) g.SectionTable.at(s).Label = sections[s];
  const char* points[] = {"", " 10+50.000", " 10+20.000", " 11+50.000", " 12+00.000"};
  for (int p = 1; p <= 4; ++p) g.PointTable.at(p).Label = points[p];
  const std::pair<const char*, const char*> adjustments[] = {
      {"", ""}, {" 10+10.000", "Fill"}, {" 10+30.000", "Exc"}, {" 12+50.000", "Exc"}};
  for (int a = 1; a <= 3; ++a) {
    g.AdjustmentTable.at(a).Label = adjustments[a].first;
    g.AdjustmentTable.at(a).Message = adjustments[a].second;
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
      {0, 1, 0, ""},
  };
  for (const auto& c : cases) {
    g.PointCount = c.pointCount;
    EXPECT_EQ(FindBalancePoint(state, c.station), c.balancePoint) << c.station;
    EXPECT_EQ(InsertBalance(state, c.station), c.kind) << c.station;
  }
}

TEST_F(GeopakLogReportTest, CompanionNeverOverwritesEarthworkData) {
  const std::string ear = logs.Path("ramp1.ear");
  const std::string data = "VERSION 2002\r\nrows\r\n";
  WriteBytes(ear, data);
  ReportOf("ramp1.log", 0, false);
  EXPECT_EQ(ReadBytes(ear), data);
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"The station table was not written: " + ear +
                                                      " holds earthwork data"});
  EXPECT_NE(Report().find("25+00.000"), std::string::npos);  // the report is complete
}

TEST_F(GeopakLogReportTest, UnwritableReportIsShown) {
  const std::string notAFolder = logs.Path("file");
  WriteBytes(notAFolder, "x");
  setenv("EARTHWORK_REPORT_DIR", notAFolder.c_str(), 1);
  state.Report.AppendToReport = 1;
  state.Project.CurrentFileName = Sample("ramp1.log");
  EXPECT_EQ(CreateGeopakLogReport(state), 1);
  EXPECT_EQ(state.Report.AppendToReport, 1);  // left for the caller to see
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  const std::string text = dialogs.Texts()[0];
  EXPECT_EQ(text.rfind("Error: Cannot write " + notAFolder + "/ramp1.rpt", 0), 0u) << text;
  EXPECT_TRUE(text.ends_with(" occured in CreateGeopakLogReport")) << text;
}

TEST(GeopakFileNames, ReportAndCompanionNames) {
  setenv("EARTHWORK_REPORT_DIR", "/r", 1);
  const std::pair<const char*, const char*> reports[] = {
      {"/jobs/ramp1.log", "/r/ramp1.rpt"},     {"/jobs/Ramp1.Log", "/r/Ramp1.rpt"},
      {"d:\\jobs\\ramp1.LOG", "/r/ramp1.rpt"}, {"/jobs/a.log.log", "/r/a.rpt"},
      {"/jobs/ramp1", "/r/ramp1.rpt"},
  };
  for (const auto& [log, rpt] : reports) EXPECT_EQ(GeopakReportFileName(log), rpt) << log;
  const std::pair<const char*, const char*> companions[] = {
      {"/jobs/ramp1.log", "/jobs/ramp1.ear"},
      {"/jobs/old.logs/Ramp1.LOG", "/jobs/old.logs/Ramp1.ear"},
      {"d:\\jobs\\ramp1.log", "d:\\jobs\\ramp1.ear"},
  };
  for (const auto& [log, ear] : companions) EXPECT_EQ(CompanionTableName(log), ear) << log;
}

}  // namespace
}  // namespace earthwork::testing
