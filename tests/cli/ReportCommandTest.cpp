// The report, pages and haul commands, run as the built program.

#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "earfiles/EarFile.h"
#include "reports/ReportTestSupport.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

using testing::ReadBytes;

class ReportCommandTest : public ::testing::Test {
 protected:
  /// Runs the program with `args` in the temporary folder, its report
  /// folder inside it.
  testing::ProgramRun Run(const std::vector<std::string>& args) {
    return testing::RunProgram(EARTHWORK_BINARY, args, dir.Root().string(), reportDir);
  }

  /// Saves a project of three groups as `name` and returns its path; the
  /// second group's factor is `secondFactor`.
  std::string SaveThreeGroups(const std::string& name, const char* secondFactor = "1.25") {
    testing::ScriptedDialogs dialogs;
    testing::RecordingMainView view;
    ProgramState state(dialogs, view);
    ProjectStore& store = state.Project;
    store.HeaderFields = {"K. Marsh", "0412-07", "1304-02"};
    store.GroupCount = 3;
    const char* names[] = {"Main line", "", "South ramp"};
    const char* factors[] = {"1.15", secondFactor, "1.00"};
    for (int g = 0; g < 3; ++g) {
      GroupRecord& group = store.Group(g);
      group.Name = names[g];
      group.BalanceFactor = factors[g];
      group.MeasuredInEmbankment = g == 2 ? 1 : 0;
    }
    testing::SetRows(store.Group(0), {{"0", "", "10", "", "0", ""},
                                      {"100", "", "20", "", "5", ""},
                                      {"200", "SA", "30", "", "50", ""},
                                      {"300", "SA", "0", "", "80", "4"},
                                      {"400", "", "5", "", "60", ""}});
    testing::SetRows(store.Group(1), {{"1000", "", "0", "25", "0", ""},
                                      {"1050", "", "40", "", "2", ""},
                                      {"1100", "FB", "10", "", "30", ""},
                                      {"1200", "", "0", "", "20", "6"}});
    testing::SetRows(store.Group(2),
                     {{"0", "", "0", "", "12", ""}, {"100", "", "2", "", "14", ""}});
    const std::string path = dir.Path(name);
    EXPECT_TRUE(SaveEarFile(state, path));
    return path;
  }

  testing::TempDir dir;
  std::string reportDir = dir.Path("reports");
};

TEST_F(ReportCommandTest, BadArgumentsAreRefusedWithAReason) {
  const std::string ear = SaveThreeGroups("three.ear");
  struct Case {
    std::vector<std::string> args;
    std::string said;
  };
  const Case cases[] = {
      {{"report"}, "No input file given."},
      {{"report", ear, "--tab"}, "The option --tab needs a value."},
      {{"report", ear, "--tab", "0"},
       "The tab number must be a whole number from 1 on, not \"0\"."},
      {{"report", ear, "--tab", "2x"}, "not \"2x\"."},
      {{"report", ear, "--tab", "2", "--all"}, "--tab and --all cannot be used together."},
      {{"report", ear, "--bogus"}, "Unknown option: --bogus"},
      {{"report", ear, "other.ear"}, "Only one input file can be given"},
      {{"report", ear, "--tab", "4"}, "There is no tab 4 in " + ear + " (it has 3)."},
      {{"report", dir.Path("missing.ear")}, dir.Path("missing.ear")},
      {{"report", ear, "--out", dir.Path("no/such/folder/x.rpt")}, "no/such/folder/x.rpt"},
      {{"pages"}, "Usage: earthwork pages FILE.rpt"},
      {{"pages", "a.rpt", "b.rpt"}, "Usage: earthwork pages FILE.rpt"},
      {{"pages", dir.Path("gone.rpt")},
       " Program Error: File not found: " + dir.Path("gone.rpt") +
           " occured in CountNumberOfPages"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.size() > 1 ? c.args[0] + " " + c.args.back() : c.args[0]);
    const testing::ProgramRun r = Run(c.args);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "");
  }
}

// Every section of --all is the report of its tab, but for the embankment
// box: it shows what it showed when the command began (the first group's
// flag after opening), as for the Stickup Sheets button, while a single tab
// is reported as shown, its box following its group.
TEST_F(ReportCommandTest, AllTabsAreTheSingleTabReportsOneAfterAnother) {
  const std::string ear = SaveThreeGroups("three.ear");
  std::string oneByOne;
  for (const char* tab : {"1", "2", "3"}) {
    ASSERT_EQ(Run({"report", ear, "--tab", tab}).code, 0);
    oneByOne += ReadBytes(reportDir + "/three.rpt");
  }
  ASSERT_NE(oneByOne.find("#Embankment= 1\r\n"), std::string::npos);
  oneByOne = testing::ReplaceAll(oneByOne, "#Embankment= 1\r\n", "#Embankment= 0\r\n");
  const testing::ProgramRun r = Run({"report", ear, "--all", "--out", dir.Path("all.rpt")});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string all = ReadBytes(dir.Path("all.rpt"));
  EXPECT_EQ(all, ReadBytes(reportDir + "/three.rpt"));
  EXPECT_EQ(all, oneByOne);
  EXPECT_NE(all.find("#TabName= Earthwork 2\r\n"), std::string::npos);
  EXPECT_EQ(r.out, "Report: " + reportDir +
                       "/three.rpt\nPages: 2\nCopied to: " + dir.Path("all.rpt") + "\n");

  const testing::ProgramRun pages = Run({"pages", dir.Path("all.rpt")});
  EXPECT_EQ(pages.code, 0);
  EXPECT_EQ(pages.out, "2\n");
  testing::ExpectGoldenReport(all, "reports/all_three_groups.rpt", testing::GoldenKind::Total,
                              std::atoi(pages.out.c_str()));
}

// A group whose report stops on an error keeps the lines it wrote and does
// not take the groups after it along: the whole file is written, the
// message goes to stderr and the command fails.
TEST_F(ReportCommandTest, AFailingGroupDoesNotEndTheAllGroupsReport) {
  const std::string ear = SaveThreeGroups("three.ear", "abc");
  const testing::ProgramRun r = Run({"report", ear, "--all", "--out", dir.Path("all.rpt")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err,
            "Program Error: Balance factor \"abc\" is not a number occured in CreateTempRptFile\n");
  const std::string all = ReadBytes(dir.Path("all.rpt"));
  const testing::ProgramRun pages = Run({"pages", dir.Path("all.rpt")});
  ASSERT_EQ(pages.code, 0);
  testing::ExpectGoldenReport(all, "reports/all_groups_second_fails.rpt",
                              testing::GoldenKind::Total, std::atoi(pages.out.c_str()));
  EXPECT_EQ(testing::SplitAt(all, "#TabName= ").size(), 4u);  // three sections
  EXPECT_NE(all.find("#TabName= South ramp"), std::string::npos);
}

TEST_F(ReportCommandTest, AccumulatedReportOfOneTab) {
  const std::string ear = SaveThreeGroups("three.ear");
  const testing::ProgramRun r = Run({"report", ear, "--tab", "2", "--accumulated"});
  ASSERT_EQ(r.code, 0) << r.err;
  const std::string report = ReadBytes(reportDir + "/three.rpt");
  EXPECT_EQ(report.rfind("#Designer= K. Marsh\r\n#Project No.= 0412-07\r\n#Control No.= 1304-02\r\n"
                         "#TabName= Earthwork 2\r\n#System= 0\r\n#Embankment= 0\r\n",
                         0),
            0u);
  // Accumulated: field 4 is the running cut, 25 + 37 + 46.
  EXPECT_NE(report.find("11+00.000      10.00       0.00     108.00"), std::string::npos) << report;
}

TEST_F(ReportCommandTest, PdfHoldsEveryPage) {
  const std::string ear = SaveThreeGroups("three.ear");
  const std::string pdf = dir.Path("three.pdf");
  const testing::ProgramRun r = Run({"report", ear, "--all", "--pdf", pdf});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("PDF: " + pdf + " (2 pages)\n"), std::string::npos) << r.out;
  EXPECT_EQ(testing::PdfPages(pdf), 2);
}

// The batch program alone (no earthwork-qt beside it) shows which words it
// handles itself and which it hands over: a hand-over fails with the
// partner's path and changes nothing.
TEST_F(ReportCommandTest, TheBatchProgramHandsOverOnlyTheWindowAndDrawings) {
  const std::string ear = SaveThreeGroups("three.ear");
  const std::string alone = dir.Path("alone/earthwork");
  std::filesystem::create_directories(dir.Path("alone"));
  std::filesystem::copy_file(EARTHWORK_BINARY, alone);
  const std::string handedOver =
      "Cannot start " + dir.Path("alone/earthwork-qt") + ": No such file or directory\n";
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string out;  // the start of stdout
    std::string err;  // the start of stderr
  };
  const Case cases[] = {
      {{"report", ear, "--tab", "2"}, 0, "Report: ", ""},
      {{"report", ear, "--pdf", dir.Path("a.pdf")}, 1, "", handedOver},
      {{"report", "--pdf", dir.Path("a.pdf"), ear}, 1, "", handedOver},
      {{"haul", ear, "--svg", dir.Path("a.svg")}, 1, "", handedOver},
      {{"haul", ear}, 0, "Mass haul", ""},
      {{}, 1, "", handedOver},
      {{ear}, 1, "", handedOver},
      {{dir.Path("missing.log")}, 1, "", handedOver},
      {{"frobnicate"}, 2, "", "Unknown command: frobnicate\n"},
      {{ear, ear}, 2, "", "Unknown command: " + ear + "\n"},
      {{"-h"}, 0, "Usage:\n", ""},
      {{"--help"}, 0, "Usage:\n", ""},
      {{"help"}, 0, "Usage:\n", ""},
      {{"help", "pages"}, 0, "earthwork pages FILE.rpt", ""},
      {{"pages", dir.Path("missing.rpt")}, 1, "", ""},
      {{"--version"}, 0, "Earthwork 2.0.0\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(no arguments)" : c.args.front());
    const auto before = testing::FolderSnapshot(dir.Root().string(), {"stdout.txt", "stderr.txt"});
    const testing::ProgramRun r =
        testing::RunProgram(alone, c.args, dir.Root().string(), reportDir);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_TRUE(r.out.starts_with(c.out)) << r.out;
    EXPECT_TRUE(r.err.starts_with(c.err)) << r.err;
    if (c.code != 0) {
      EXPECT_EQ(testing::FolderSnapshot(dir.Root().string(), {"stdout.txt", "stderr.txt"}), before);
    }
  }
}

TEST_F(ReportCommandTest, HaulRefusesBadInputAndWritesNothing) {
  const std::string ear = SaveThreeGroups("three.ear");
  const std::string csv = dir.Path("out.csv");
  struct Case {
    std::vector<std::string> args;
    std::string said;
  };
  const Case cases[] = {
      {{"haul", ear, "--free-haul", "0"},
       "The free-haul distance must be a positive number, not \"0\"."},
      {{"haul", ear, "--free-haul", "abc"}, "not \"abc\""},
      {{"haul", ear, "--all", "--csv", csv}, "--svg, --pdf, --png and --csv take one tab"},
      {{"haul", ear, "--csv", ear}, "--csv names the input file " + ear},
      {{"haul", ear, "--csv", csv, "--png", csv}, "--png and --csv name the same file " + csv},
      {{"haul", ear, "--csv", dir.Path("no/such/folder/x.csv")}, "no/such/folder/x.csv"},
      {{"haul", dir.Path("ramp.log"), "--tab", "2"}, "There is no tab 2"},
      {{"haul", SaveThreeGroups("bad.ear", "x1"), "--tab", "2", "--csv", csv},
       "No mass haul for tab 2 (Earthwork 2): Balance factor \"x1\" is not a number.\nNothing was "
       "written."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.back());
    const testing::ProgramRun r = Run(c.args);
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(csv));
  }
  const testing::ProgramRun r = Run(
      {"haul", ear, "--tab", "2", "--csv", csv, "--png", dir.Path("out.png"), "--free-haul", "20"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("free haul 20.00 ft"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(forced balance)"), std::string::npos) << r.out;
  EXPECT_TRUE(ReadBytes(csv).starts_with("Station,Code,"));
  EXPECT_TRUE(ReadBytes(dir.Path("out.png")).starts_with("\x89PNG"));

  const std::string log = dir.Path("ramp1.log");
  std::filesystem::copy_file(testing::DataPath("geopak") + "/ramp1.log", log);
  const testing::ProgramRun fromLog = Run({"haul", log, "--csv", csv});
  EXPECT_EQ(fromLog.code, 0) << fromLog.err;
  EXPECT_NE(fromLog.out.find("tab 1 (BASELINE:  RAMP1)"), std::string::npos) << fromLog.out;
  EXPECT_NE(ReadBytes(csv).find("\"16+00.000\",\"\",\"NA\""), std::string::npos);
}

}  // namespace
}  // namespace earthwork
