#include "geopak/OpenGeopakLog.h"

#include <algorithm>
#include <cstdio>

#include "GeopakTestSupport.h"
#include "geopak/LogParser.h"
#include "project/Text.h"
#include "reports/GeopakLogReport.h"

namespace earthwork::testing {
namespace {

/// A log of `stations` ordinary stations 25 feet apart, with a grand
/// summary.
std::string LongLog(int stations) {
  std::string log =
      " 1     3     3 Earthwork\r\n   Earthworks for Baseline = LONG\r\n"
      "     ------------------------------------------------\r\n";
  char line[64];
  for (int i = 0; i < stations; ++i) {
    std::snprintf(line, sizeof line, "   %d+%02d.000   Cross Section\r\n", i / 4, i % 4 * 25);
    log += line;
    log += "        Excavation       12.50      23.15       0.00       0.00    1000.00\r\n";
    log += "        Fill              3.00       5.56       6.39       1.15     800.00\r\n";
  }
  log +=
      "   Totals through the last +\r\n     ------------------------------------\r\n"
      "   G R A N D   S U M M A R Y\r\n   =====\r\n   h1\r\n   h2\r\n   h3\r\n"
      "   ----- -----\r\n   Excavation   1000.00   1000.00   1.000\r\n"
      "   Fill   800.00   920.00   1.150\r\n   B A L A N C E   S U M M A R Y\r\n";
  return log;
}

TEST_F(GeopakTest, OtherFilesAreRefused) {
  const std::string bytes[] = {"", "VERSION 2002\r\n", std::string("\0\x7f\xfe\r\n\0", 6)};
  for (const auto& b : bytes) {
    dialogs.shown.clear();
    state.Project.DataChanged = true;
    EXPECT_FALSE(Open(WriteLog("other.log", b)));
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{" The file selected is not a Geopak Earthwork log file"});
    EXPECT_FALSE(state.Project.DataChanged);
    EXPECT_FALSE(state.Project.LogFileMode);
    EXPECT_TRUE(state.Window.LogTabCaptions.empty());
  }
}

TEST_F(GeopakTest, OpenReadsNamesTheTabAndReports) {
  const std::string path = Sample("ramp1.log");
  state.Project.DataChanged = true;
  ASSERT_TRUE(Open(path));
  EXPECT_EQ(state.Project.CurrentFileName, path);
  EXPECT_TRUE(state.Project.LogFileMode);
  EXPECT_FALSE(state.Project.DataChanged);
  EXPECT_EQ(state.Window.Caption, "GEOPAK LOG FILE: " + path);
  EXPECT_EQ(state.Window.LogTabCaptions, std::vector<std::string>{"BASELINE:  RAMP1"});
  ExpectGoldenReport(Report(), "geopak/ramp1-total.rpt", GoldenKind::Log, state.Report.PageCount);
  EXPECT_GT(state.Report.PageCount, 0);

  // Another log into the same group: nothing of the first one shows
  // through, and the report takes the kind of the log.
  ASSERT_TRUE(Open(Sample("ramp2m.log")));
  ExpectGoldenReport(Report(), "geopak/ramp2m-accumulated.rpt", GoldenKind::Log,
                     state.Report.PageCount);
  state.Project.UnitSystem = Units::English;
  state.Window.LogTabCaptions.clear();
  ASSERT_TRUE(Open(Sample("ramp1.log")));
  ExpectGoldenReport(Report(), "geopak/ramp1-total.rpt", GoldenKind::Log, state.Report.PageCount);
  EXPECT_FALSE(LogHasAccumulatedQuantities(state));
  EXPECT_TRUE(dialogs.shown.empty());

  // A report that cannot be written does not undo the import.
  const std::string notAFolder = WriteLog("file", "x");
  testing::SetEnv("EARTHWORK_REPORT_DIR", notAFolder);
  EXPECT_TRUE(Open(path));
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_EQ(dialogs.Texts()[0].rfind("Error: Cannot write " + notAFolder, 0), 0u);
  EXPECT_EQ(state.Counters.SectionStationCount, 33);
}

TEST_F(GeopakTest, SeveralLogsInSeveralGroups) {
  ASSERT_TRUE(Open(Sample("ramp1.log")));
  state.Project.GroupCount = 2;
  state.Project.CurrentGroup = 1;
  ASSERT_TRUE(Open(Sample("ramp2m.log")));
  EXPECT_EQ(state.Counters.SectionStationCount, 17);
  EXPECT_EQ(state.Counters.LargestSectionStationCount, 33);
  EXPECT_EQ(state.Window.LogTabCaptions,
            (std::vector<std::string>{"BASELINE:  RAMP1", "BASELINE:  RAMP2M"}));

  // The second import left the first group's tables as they were.
  const LogGroup& first = std::as_const(state.Log).Group(0);
  EXPECT_EQ(first.SectionTable.at(27).Label, "25+00.000");
  EXPECT_EQ(first.PointTable.at(1).Label, " 12+40.000");
  EXPECT_EQ(std::as_const(state.Log).Group(1).SectionTable.at(1).Label, "1+00.000");

  // Both groups into one report, as the all-groups command does. The first
  // group keeps all its stations although the last log was shorter.
  for (int16_t g = 0; g < 2; ++g) {
    state.Project.CurrentGroup = g;
    state.Report.AppendToReport = g != 0;
    state.Report.AccumulatedReport = ReportKind::Total;
    (void)CreateGeopakLogReport(state);
    EXPECT_FALSE(state.Report.AppendToReport);
  }
  ExpectGoldenReport(Report(), "geopak/two-groups.rpt", GoldenKind::Log, state.Report.PageCount);
  EXPECT_TRUE(dialogs.shown.empty());
}

// Station lines past the table are dropped with their detail lines and the
// user is told once, whatever their number (the message's whole text is in
// the bad-input catalogue). Past the 16-bit count too, the count stays at
// the table, so the import still reads the balance points and the summary.
TEST_F(GeopakTest, StationsBeyondTheTableAreDropped) {
  for (const int stations : {10003, 32800}) {
    SCOPED_TRACE(stations);
    dialogs.shown.clear();
    ASSERT_TRUE(Open(WriteLog("long.log", LongLog(stations))));
    EXPECT_EQ(state.Counters.SectionStationCount, 10000);
    ASSERT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_TRUE(
        Contains(dialogs.Texts()[0], " has " + std::to_string(stations + 1) + " station lines "));
    EXPECT_EQ(std::as_const(state.Log).Group(0).SummaryTable.at(0).Tokens.at(1, 1), "Excavation");
    const auto lines = Lines(Report());
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return Contains(l, "      12.50"); }),
              10000);
    EXPECT_EQ(lines[6 + 9999].substr(0, 11), "2499+75.000");
    EXPECT_EQ(lines.back(), std::string(65, '#'));
  }
}

}  // namespace
}  // namespace earthwork::testing
