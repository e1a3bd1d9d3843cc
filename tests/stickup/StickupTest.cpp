#include <gtest/gtest.h>

#include <filesystem>

#include "StickupBench.h"
#include "earfiles/EarFile.h"
#include "geopak/OpenGeopakLog.h"
#include "printing/Paging.h"
#include "project/FileIO.h"
#include "reports/EndAreaReport.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

constexpr const char* kKeyInLine = "keyin=MDL LOAD C:\\mao.ma c:\\p2.rpt\n";
// The demo's station equation: its report warns once per run.
constexpr const char* kDemoWarning = "Gap Equation where BK occures before AH";

/// Every line of `text` that starts with `prefix`.
std::vector<std::string> LinesStarting(const std::string& text, const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : Lines(text)) {
    if (line.starts_with(prefix)) found.push_back(line);
  }
  return found;
}

/// The report each group gets on its own, one after another: what the data
/// file must hold.
std::string SeparateReports(StickupBench& b) {
  std::string all;
  const int16_t shown = b.state.Project.CurrentGroup;
  for (int16_t g = 0; g < b.state.Project.GroupCount; ++g) {
    b.state.Project.CurrentGroup = g;
    b.state.Report.Totals = {};
    EXPECT_TRUE(CreateTempRptFile(b.state));
    all += ReadBytes(b.state.Report.ReportFileName);
  }
  b.state.Report.Totals = {};
  b.state.Project.CurrentGroup = shown;
  return all;
}

TEST(Stickup, HandsEveryGroupToTheCadProgram) {
  StickupBench b;
  ASSERT_TRUE(b.OpenDemo());
  const std::string expected = SeparateReports(b);
  b.dialogs.shown.clear();
  b.state.Project.CurrentGroup = 1;
  b.dialog.okPresses = {"new.dgn"};
  b.Press();

  const std::string drawing = b.drawings + "/new.dgn";
  std::string cadFolder = b.Cad("");
  cadFolder.pop_back();  // as the program's own working directory reads
  const std::string record = "args=" + drawing + "\nargc=1\ncwd=" + cadFolder + "\n" + kKeyInLine;
  EXPECT_EQ(b.WaitForRecord(), record);
  EXPECT_EQ(b.dialogs.Texts(), std::vector<std::string>(1, kDemoWarning));
  EXPECT_EQ(b.dialog.offered, std::vector<std::string>{"1304-020ew.dgn"});
  EXPECT_EQ(ReadBytes(drawing), "seed drawing");
  EXPECT_EQ(ReadBytes(b.DriveC("mao.ma")), "drawing application");

  const std::string data = ReadBytes(b.DriveC("p2.rpt"));
  EXPECT_EQ(data, expected);
  EXPECT_EQ(LinesStarting(data, "#TabName= "),
            (std::vector<std::string>{"#TabName= Main line", "#TabName= North ramp",
                                      "#TabName= South ramp"}));
  EXPECT_FALSE(fs::exists(b.state.Report.ReportFileName));

  // The window is left as it was; the page count describes the whole file.
  EXPECT_EQ(b.state.Project.CurrentGroup, 1);
  EXPECT_TRUE(b.view.calls.empty());
  StickupBench counted;
  counted.state.Report.ReportFileName = b.DriveC("p2.rpt");
  CountNumberOfPages(counted.state);
  EXPECT_EQ(b.state.Report.PageCount, counted.state.Report.PageCount);

  // Cancel on the next press hands off the drawing chosen before.
  fs::remove(b.Cad("fake-cad-record.txt"));
  b.Press();
  EXPECT_EQ(b.WaitForRecord(), record);
  EXPECT_EQ(b.dialog.offered.size(), 2u);
}

// The data file the button hands on is the file `earthwork report --all`
// writes, byte for byte, also when the groups differ in their embankment
// flags: the box keeps what it showed after opening.
TEST(Stickup, TheDataFileIsTheAllGroupsReport) {
  for (const int firstFlag : {0, 1}) {
    SCOPED_TRACE(firstFlag);
    StickupBench b;
    ASSERT_TRUE(b.OpenDemo());
    b.state.Project.Group(0).MeasuredInEmbankment = static_cast<int16_t>(firstFlag);
    const std::string project = b.dir.Path("flags.ear");
    ASSERT_TRUE(SaveEarFile(b.state, project));
    ASSERT_TRUE(OpenEarFile(b.state, project));
    b.dialog.okPresses = {"new.dgn"};
    b.Press();
    ASSERT_FALSE(b.WaitForRecord().empty());
    const std::string data = ReadBytes(b.DriveC("p2.rpt"));
    EXPECT_EQ(LinesStarting(data, "#Embankment= "),
              std::vector<std::string>(3, "#Embankment= " + std::to_string(firstFlag)));

#ifdef EARTHWORK_BINARY
    const ProgramRun run =
        RunProgram(EARTHWORK_BINARY, {"report", project, "--all", "--out", b.dir.Path("all.rpt")},
                   b.dir.Root().string(), b.dir.Path("reports"));
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(ReadBytes(b.dir.Path("all.rpt")), data);
#endif
  }
}

// Log mode: each group's log report in turn, every group with all its
// stations although the last log read was shorter.
TEST(Stickup, LogGroupsAreWrittenInTurn) {
  StickupBench b;
  b.state.Project.HeaderFields = {"J. Designer", "RT9-101", "C-2201"};
  const auto open = [&](const std::string& name) {
    const std::string path = b.dir.Path(name);
    WriteBytes(path, ReadBytes(DataPath("geopak/" + name)));
    return OpenGeopakLog(b.state, path);
  };
  ASSERT_TRUE(open("ramp1.log"));
  b.state.Project.GroupCount = 2;
  b.state.Project.CurrentGroup = 1;
  ASSERT_TRUE(open("ramp2m.log"));
  b.state.Report.AccumulatedReport = ReportKind::Total;
  ASSERT_TRUE(WriteAllGroupReports(b.state));
  ExpectGoldenReport(ReadBytes(b.state.Report.ReportFileName), "geopak/two-groups.rpt",
                     GoldenKind::Log, b.state.Report.PageCount);
  EXPECT_EQ(b.state.Project.CurrentGroup, 1);
}

TEST(Stickup, ReplacesAnExistingDrawingOnlyAfterYes) {
  StickupBench b;
  const std::string old = b.drawings + "/old.dgn";
  WriteBytes(old, "old drawing");
  b.dialogs.answers = {Answer::No, Answer::Yes};

  EXPECT_FALSE(AcceptNewDrawing(b.session, b.dialogs, b.shell, b.drawings, " old.dgn "));
  EXPECT_EQ(ReadBytes(old), "old drawing");
  EXPECT_EQ(b.session.NewDrawingPath, "");

  EXPECT_TRUE(AcceptNewDrawing(b.session, b.dialogs, b.shell, b.drawings, "old.dgn"));
  EXPECT_EQ(ReadBytes(old), "seed drawing");
  EXPECT_EQ(b.session.NewDrawingPath, old);
  ASSERT_EQ(b.dialogs.shown.size(), 2u);
  for (const ShownMessage& m : b.dialogs.shown) {
    EXPECT_EQ(m.text, "Do you want to overwrite existing *.dgn file?");
    EXPECT_EQ(m.title, "warning");
    EXPECT_EQ(m.buttons, Buttons::YesNo);
  }

  // A new name is taken as typed, with no extension added; a chosen seed
  // is the one copied.
  WriteBytes(b.drawings + "/other seed", "other seed");
  AcceptSeed(b.session, b.drawings, "other seed");
  EXPECT_TRUE(AcceptNewDrawing(b.session, b.dialogs, b.shell, b.drawings, "plain"));
  EXPECT_EQ(ReadBytes(b.drawings + "/plain"), "other seed");
}

// What stops the command, and where: nothing is handed off after a failure.
// stickup/failures.txt: "file removed from the CAD folder|name at OK (none:
// Cancel)|message, <C> for the drive C folder|its title|the ReportFile kept
// or deleted" (it is deleted only when the copies are made).
TEST(Stickup, FailuresStopWhereTheyHappen) {
  const auto lines = SplitLines(ReadBytes(DataPath("stickup/failures.txt")));
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    const auto c = SplitAt(line, "|");
    ASSERT_EQ(c.size(), 5u);
    StickupBench b;
    ASSERT_TRUE(b.OpenDemo());
    if (!c[0].empty()) fs::remove(b.Cad(c[0]));
    if (!c[1].empty()) b.dialog.okPresses = {c[1]};
    b.Press();
    std::vector<std::string> texts{kDemoWarning};
    if (!c[2].empty()) texts.push_back(ReplaceAll(c[2], "<C>", b.driveC.string()));
    EXPECT_EQ(b.dialogs.Texts(), texts);
    if (!c[3].empty()) {
      EXPECT_EQ(b.dialogs.shown.back().title, c[3]);
    }
    EXPECT_FALSE(fs::exists(b.Cad("fake-cad-record.txt")));
    EXPECT_EQ(fs::exists(b.state.Report.ReportFileName), c[4] == "kept");
  }
  EXPECT_EQ(lines.size(), 4u);
}

TEST(Stickup, AnUntitledProjectWritesNothing) {
  StickupBench b;
  b.Press();
  EXPECT_EQ(b.dialogs.Texts(),
            std::vector<std::string>{
                "There is no active data to create sheets with, you must first open a file. Or "
                "if you have typed in some numbers Please save it to a file."});
  EXPECT_TRUE(b.dialog.offered.empty());
  EXPECT_TRUE(fs::is_empty(b.dir.Path("temp")));
}

// stickup/native_paths.txt: "Windows path|native path", <C> for the drive C
// folder.
TEST(Stickup, FixedPlacesLiveUnderTheDriveCFolder) {
  StickupBench b;
  const auto lines = SplitLines(ReadBytes(DataPath("stickup/native_paths.txt")));
  for (const std::string& line : lines) {
    const auto c = SplitAt(line, "|");
    ASSERT_EQ(c.size(), 2u) << line;
    EXPECT_EQ(b.shell.NativePath(c[0]), ReplaceAll(c[1], "<C>", b.driveC.string())) << line;
  }
  EXPECT_EQ(lines.size(), 6u);
  EXPECT_EQ(JoinDirectory("/", "a.dgn"), "/a.dgn");
  EXPECT_EQ(JoinDirectory("/x", "a.dgn"), "/x/a.dgn");
  EXPECT_EQ(JoinDirectory("D:\\jobs\\", "a.dgn"), "D:\\jobs\\a.dgn");
  EXPECT_EQ(JoinDirectory("D:", "a.dgn"), "D:a.dgn");
}

// The drive C folder: the environment first, then the setting.
TEST(Stickup, DriveCFolderComesFromTheEnvironmentOrTheSetting) {
  struct OneSetting : Settings {
    std::string Read(const std::string& section, const std::string& key,
                     const std::string& fallback) const override {
      return section == "Settings" && key == "DriveC" ? "/from/setting" : fallback;
    }
    void Write(const std::string&, const std::string&, const std::string&) override {}
  } settings;
  SetEnv("EARTHWORK_DRIVE_C", "/from/environment");
  EXPECT_EQ(os::DriveCFolder(settings), "/from/environment");
  SetEnv("EARTHWORK_DRIVE_C", std::nullopt);
  EXPECT_EQ(os::DriveCFolder(settings), "/from/setting");
}

}  // namespace
}  // namespace earthwork::testing
