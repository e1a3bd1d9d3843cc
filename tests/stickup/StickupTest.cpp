#include <gtest/gtest.h>

#include <filesystem>

#include "StickupBench.h"
#include "earfiles/EarFile.h"
#include "geopak/OpenGeopakLog.h"
#include "project/FileIO.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

// The demo's station equation: its report warns once per run.
constexpr const char* kDemoWarning = "Gap Equation where BK occures before AH";

TEST(Stickup, HandsEveryGroupToTheCadProgram) {
  StickupBench b;
  ASSERT_TRUE(b.OpenDemo());
  b.state.Project.CurrentGroup = 1;
  b.okPresses = {"new.dgn"};
  b.Press();

  const std::string drawing = b.drawings + "/new.dgn";
  std::string cadFolder = b.Cad("");
  cadFolder.pop_back();  // as the program's own working directory reads
  const std::string record =
      "args=" + drawing + "\nargc=1\ncwd=" + cadFolder + "\nkeyin=MDL LOAD C:\\mao.ma c:\\p2.rpt\n";
  EXPECT_EQ(b.WaitForRecord(), record);
  EXPECT_EQ(b.dialogs.Texts(), std::vector<std::string>(1, kDemoWarning));
  EXPECT_EQ(b.offered, std::vector<std::string>{"1304-020ew.dgn"});
  EXPECT_EQ(ReadBytes(drawing), "seed drawing");
  EXPECT_EQ(ReadBytes(b.DriveC("mao.ma")), "drawing application");

  // Each group's report in turn, with its own grand summary; the groups differ
  // in their embankment flags, and every section keeps the box. The page
  // count describes the whole file.
  ExpectGoldenReport(ReadBytes(b.DriveC("p2.rpt")), "stickup/demo.p2.rpt", GoldenKind::Total,
                     b.state.Report.PageCount);
  EXPECT_FALSE(fs::exists(b.state.Report.ReportFileName));

  // The window is left as it was.
  EXPECT_EQ(b.state.Project.CurrentGroup, 1);
  EXPECT_TRUE(b.view.calls.empty());

  // Cancel on the next press hands off the drawing chosen before.
  fs::remove(b.Cad("fake-cad-record.txt"));
  b.Press();
  EXPECT_EQ(b.WaitForRecord(), record);
  EXPECT_EQ(b.offered.size(), 2u);
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
  EXPECT_EQ(b.state.Window.LogTabCaptions,
            (std::vector<std::string>{"BASELINE:  RAMP1", "BASELINE:  RAMP2M"}));
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
  const ShownMessage& asked = b.dialogs.shown[1];
  EXPECT_EQ(asked.text, "Do you want to overwrite existing *.dgn file?");
  EXPECT_EQ(asked.buttons, Buttons::YesNo);

  // A new name is taken as typed, with no extension added; a chosen seed
  // is the one copied.
  WriteBytes(b.drawings + "/other seed", "other seed");
  AcceptSeed(b.session, b.drawings, "other seed");
  EXPECT_TRUE(AcceptNewDrawing(b.session, b.dialogs, b.shell, b.drawings, "plain"));
  EXPECT_EQ(ReadBytes(b.drawings + "/plain"), "other seed");
}

// What stops the command, and where: nothing is handed off after a failure.
// stickup/failures.txt: "file removed from the CAD folder (untitled: no
// project opened)|name at OK (none: Cancel)|message, <C> for the drive C
// folder|its title|the ReportFile kept or deleted" (it is deleted only when
// the copies are made).
TEST(Stickup, FailuresStopWhereTheyHappen) {
  const auto lines = SplitLines(ReadBytes(DataPath("stickup/failures.txt")));
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    const auto c = SplitAt(line, "|");
    ASSERT_EQ(c.size(), 5u);
    StickupBench b;
    const bool untitled = c[0] == "untitled";
    ASSERT_TRUE(untitled || b.OpenDemo());
    if (!c[0].empty()) fs::remove(b.Cad(c[0]));
    if (!c[1].empty()) b.okPresses = {c[1]};
    b.Press();
    std::vector<std::string> texts(untitled ? 0 : 1, kDemoWarning);
    if (!c[2].empty()) texts.push_back(ReplaceAll(c[2], "<C>", b.driveC.string()));
    EXPECT_EQ(b.dialogs.Texts(), texts);
    EXPECT_EQ(c[3].empty() ? "" : b.dialogs.shown.back().title, c[3]);  // "": not checked
    EXPECT_FALSE(fs::exists(b.Cad("fake-cad-record.txt")));
    EXPECT_EQ(fs::exists(b.state.Report.ReportFileName), c[4] == "kept");
  }
  EXPECT_EQ(lines.size(), 5u);
}

// stickup/native_paths.txt: "Windows path|native path", <C> for the drive C
// folder, or "folder|file name|the two joined".
TEST(Stickup, FixedPlacesLiveUnderTheDriveCFolder) {
  StickupBench b;
  const auto lines = SplitLines(ReadBytes(DataPath("stickup/native_paths.txt")));
  for (const std::string& line : lines) {
    const auto c = SplitAt(line, "|");
    const std::string got = c.size() == 3 ? JoinDirectory(c[0], c[1]) : b.shell.NativePath(c[0]);
    EXPECT_EQ(got, ReplaceAll(c.back(), "<C>", b.driveC.string())) << line;
  }
  EXPECT_EQ(lines.size(), 10u);
}

}  // namespace
}  // namespace earthwork::testing
