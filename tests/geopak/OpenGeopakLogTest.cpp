#include "geopak/OpenGeopakLog.h"

#include "GeopakTestSupport.h"

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

  // Another log into the same group: nothing of the first one shows
  // through, and the report takes the kind of the log.
  ASSERT_TRUE(Open(Sample("ramp2m.log")));
  ExpectGoldenReport(Report(), "geopak/ramp2m-accumulated.rpt", GoldenKind::Log,
                     state.Report.PageCount);
  state.Project.UnitSystem = Units::English;
  state.Window.LogTabCaptions.clear();
  ASSERT_TRUE(Open(Sample("ramp1.log")));
  ExpectGoldenReport(Report(), "geopak/ramp1-total.rpt", GoldenKind::Log, state.Report.PageCount);
  EXPECT_TRUE(dialogs.shown.empty());

  // A report that cannot be written does not undo the import.
  const std::string notAFolder = WriteLog("file", "x");
  testing::SetEnv("EARTHWORK_REPORT_DIR", notAFolder);
  EXPECT_TRUE(Open(path));
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_TRUE(dialogs.Texts()[0].starts_with("Error: Cannot write " + notAFolder));
  EXPECT_TRUE(dialogs.Texts()[0].ends_with(" occured in CreateGeopakLogReport"));
  EXPECT_EQ(state.Counters.SectionStationCount, 33);
}

}  // namespace
}  // namespace earthwork::testing
