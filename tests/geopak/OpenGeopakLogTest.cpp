#include "geopak/OpenGeopakLog.h"

#include "GeopakTestSupport.h"
#include "geopak/LogParser.h"

namespace earthwork::testing {
namespace {

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

  // Their report together is the stickup tests' matter.
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace earthwork::testing
