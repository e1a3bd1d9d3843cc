// The report command on GEOPAK logs, run as the built program.

#include "GeopakTestSupport.h"

namespace earthwork::testing {
namespace {

class ReportCommandLogTest : public GeopakTest {
 protected:
  ProgramRun Report(std::vector<std::string> args) {
    args.insert(args.begin(), "report");
    return RunProgram(EARTHWORK_BINARY, args, logs.Root().string(), reports.Root().string());
  }

  /// A golden report from its "#TabName=" line on: the command line has no
  /// header fields.
  static std::string FromTabName(const std::string& report) {
    return report.substr(report.find("#TabName="));
  }
};

TEST_F(ReportCommandLogTest, LogsAreReportedAsTheReportCommandsWriteThem) {
  Sample("ramp1.log");
  Sample("ramp2m.log");
  WriteLog("notes.log", "meeting notes\r\n");
  const struct {
    std::vector<std::string> args;
    int code;
    const char* golden;  // compared with out.rpt
    const char* err;
  } cases[] = {
      {{"ramp1.log", "--out", "out.rpt"}, 0, "ramp1-total.rpt", ""},
      {{"ramp2m.log", "--all", "--accumulated", "--out", "out.rpt"},
       0,
       "ramp2m-accumulated.rpt",
       ""},
      {{"ramp1.log", "--accumulated"},
       1,
       nullptr,
       "Present Log file has no Accumulated Quantities\n"},
      {{"notes.log"}, 1, nullptr, " The file selected is not a Geopak Earthwork log file\n"},
      {{"gone.log"}, 1, nullptr, "NO FILE EXIST BY THE NAME : gone.log\n"},
      {{"ramp1.log", "--tab", "2"}, 1, nullptr, "There is no tab 2 in ramp1.log (it has 1).\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + std::to_string(c.args.size()));
    std::filesystem::remove(logs.Path("out.rpt"));
    const ProgramRun run = Report(c.args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(run.err, c.err);
    if (c.golden) {
      EXPECT_EQ(FromTabName(ReadBytes(logs.Path("out.rpt"))),
                FromTabName(ReadBytes(DataPath(std::string("geopak/") + c.golden))));
    }
  }
}

}  // namespace
}  // namespace earthwork::testing
