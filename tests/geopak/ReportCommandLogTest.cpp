// The report command on GEOPAK logs, run as the built program.

#include "GeopakTestSupport.h"
#include "project/FileIO.h"

namespace earthwork::testing {
namespace {

class ReportCommandLogTest : public GeopakTest {
 protected:
  ProgramRun Report(std::vector<std::string> args) {
    args.insert(args.begin(), "report");
    return RunProgram(EARTHWORK_BINARY, args, logs.Root().string(), reports.Root().string());
  }
};

// geopak/report_command.txt: "arguments|exit code|golden out.rpt|error line".
TEST_F(ReportCommandLogTest, LogsAreReportedAsTheReportCommandsWriteThem) {
  Sample("ramp1.log");
  Sample("ramp2m.log");
  WriteLog("notes.log", "meeting notes\r\n");
  // From the "#TabName=" line on: the command line has no header fields.
  const auto fromTabName = [](const std::string& r) { return r.substr(r.find("#TabName=")); };
  const auto cases = SplitLines(ReadBytes(DataPath("geopak/report_command.txt")));
  for (const std::string& line : cases) {
    SCOPED_TRACE(line);
    const auto c = SplitAt(line + "|", "|");
    ASSERT_EQ(c.size(), 4u);
    std::filesystem::remove(logs.Path("out.rpt"));
    const ProgramRun run = Report(SplitAt(c[0], " "));
    EXPECT_EQ(run.code, std::stoi(c[1])) << run.err;
    EXPECT_EQ(run.err, c[3].empty() ? "" : c[3] + "\n");
    if (!c[2].empty()) {
      EXPECT_EQ(fromTabName(ReadBytes(logs.Path("out.rpt"))),
                fromTabName(ReadBytes(DataPath("geopak/" + c[2]))));
    }
  }
  EXPECT_EQ(cases.size(), 6u);
}

}  // namespace
}  // namespace earthwork::testing
