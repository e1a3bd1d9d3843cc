#include "reports/EndAreaReport.h"

#include <filesystem>

#include "reports/ReportFile.h"
#include "reports/ReportTestSupport.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"

namespace earthwork {
namespace {

using testing::ReadBytes;
using testing::Words;

class EndAreaReportTest : public ::testing::Test {
 protected:
  /// Types tests/data/reports/`name`.rows: a line "units factor embankment
  /// [file name]", then a row a line, "." for an empty cell.
  void Open(const std::string& name) {
    testing::RowsFile file(testing::DataPath("reports/" + name + ".rows"));
    auto& head = file.head;
    const std::string stem = std::filesystem::path(name).filename().string();
    if (head[3].empty()) head[3] = "/projects/" + stem + ".ear";
    state.Project.UnitSystem = static_cast<Units>(std::stoi(head[0]));
    state.Project.CurrentFileName = head[3];
    state.Project.HeaderFields = {"J. Doe", "P-1234", "C-0042"};
    GroupRecord& group = state.Project.Group(0);
    group.BalanceFactor = head[1];
    group.MeasuredInEmbankment = static_cast<int16_t>(std::stoi(head[2]));
    state.Window.Embankment = head[2] == "1";
    group.Name = stem;
    testing::SetRows(group, file.rows);
    state.Report.Totals = {};
  }
  std::vector<std::string> Run(int32_t kind) {
    state.Report.AccumulatedReport = static_cast<ReportKind>(kind);
    EXPECT_TRUE(CreateTempRptFile(state));
    return testing::Lines(ReadBytes(state.Report.ReportFileName));
  }

  testing::TempDir dir;
  testing::ScopedReportDirectory reportDir{dir.Path("reports")};
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
};

/// The fields of the first line whose first field is `first`.
std::vector<std::string> LineStarting(const std::vector<std::string>& lines,
                                      const std::string& first) {
  for (const std::string& line : lines) {
    if (const auto words = Words(line); !words.empty() && words[0] == first) return words;
  }
  return {};  // and the caller's check of a field fails
}

// Every NAME.rows gives NAME.total.rpt and NAME.accumulated.rpt; the messages
// it shows on the way are in NAME.messages (none when there is no such file).
// hand_worked.values holds numbers of the total reports worked out by hand, a
// line each: project, the station its line starts with, field, value and why.
TEST_F(EndAreaReportTest, ProjectsMatchTheirGoldenReports) {
  const auto handWorked = SplitLines(ReadBytes(testing::DataPath("reports/hand_worked.values")));
  int projects = 0, worked = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::DataPath("reports"))) {
    if (entry.path().extension() != ".rows") continue;
    const std::string name = entry.path().stem().string();
    const std::string messages = testing::DataPath("reports/" + name + ".messages");
    ++projects;
    for (const int32_t kind : {0, 1}) {
      const std::string golden =
          "reports/" + name + (kind == 1 ? ".accumulated" : ".total") + ".rpt";
      SCOPED_TRACE(golden);
      dialogs.shown.clear();
      Open(name);
      const auto lines = Run(kind);
      testing::ExpectGoldenReport(
          ReadBytes(state.Report.ReportFileName), golden,
          kind == 1 ? testing::GoldenKind::Accumulated : testing::GoldenKind::Total,
          state.Report.PageCount);
      EXPECT_EQ(dialogs.Texts(), std::filesystem::exists(messages)
                                     ? testing::Lines(ReadBytes(messages))
                                     : std::vector<std::string>{});
      for (const std::string& line : handWorked) {
        const auto c = Words(line);
        if (kind == 1 || c.empty() || c[0] != name) continue;
        const auto row = LineStarting(lines, c.at(1));
        EXPECT_EQ(row.at(std::stoul(c.at(2))), c.at(3)) << line;
        ++worked;
      }
    }
  }
  EXPECT_EQ(projects, 13);
  EXPECT_GE(worked, 11);
}

// Every failing/NAME.rows shows NAME.messages; what was written before the
// failure is NAME.written, and without that file nothing is written.
TEST_F(EndAreaReportTest, FailuresAreShownAndKeepWhatWasWritten) {
  int cases = 0;
  for (const auto& entry :
       std::filesystem::directory_iterator(testing::DataPath("reports/failing"))) {
    if (entry.path().extension() != ".rows") continue;
    const std::string name = "reports/failing/" + entry.path().stem().string();
    SCOPED_TRACE(name);
    ++cases;
    dialogs.shown.clear();
    state.Report.ReportFileName.clear();
    Open(name.substr(8));
    std::filesystem::remove_all(dir.Path("reports"));
    state.Report.AppendToReport = true;
    EXPECT_FALSE(CreateTempRptFile(state));
    EXPECT_EQ(dialogs.Texts(), testing::Lines(ReadBytes(testing::DataPath(name + ".messages"))));
    if (std::filesystem::exists(testing::DataPath(name + ".written"))) {
      testing::ExpectGolden(ReadBytes(state.Report.ReportFileName), name + ".written");
      EXPECT_FALSE(state.Report.AppendToReport);
    } else {
      EXPECT_FALSE(std::filesystem::exists(dir.Path("reports")) &&
                   !std::filesystem::is_empty(dir.Path("reports")));
    }
  }
  EXPECT_EQ(cases, 5);
  // A group without its end marker runs off the table.
  dialogs.shown.clear();
  Open("english_intervals");
  for (int r = 0; r < kCellRows; ++r) state.Project.Group(0).Cells.at(r, Station) = "1";
  EXPECT_FALSE(CreateTempRptFile(state));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{"Program Error: Subscript out of range "
                                                      "occured in CreateTempRptFile"});
  EXPECT_EQ(testing::Lines(ReadBytes(state.Report.ReportFileName)).size(),
            static_cast<size_t>(6 + kCellRows));
}

TEST_F(EndAreaReportTest, AppendedGroupsShareOneFileAndTheGrandTotals) {
  Open("english_intervals");
  const auto first = Run(0);
  state.Report.AppendToReport = true;
  const auto both = Run(0);
  ASSERT_EQ(both.size(), 2 * first.size());
  EXPECT_EQ(std::vector(both.begin(), both.begin() + static_cast<long>(first.size())), first);
  // Nobody cleared the totals: the second summary counts both runs.
  EXPECT_EQ(Words(both[both.size() - 4])[1], "380");
}

TEST_F(EndAreaReportTest, AFullGroupOf1800Rows) {
  Open("single_row");
  GroupRecord& group = state.Project.Group(0);
  for (int r = 0; r < kMaxDataRows; ++r) {
    group.Cells.at(r, Station) = FormatStation(r * 50.0);
    group.Cells.at(r, Cut) = r % 7 == 0 ? "0.00" : "120.50";
    group.Cells.at(r, Fill) = r % 5 == 0 ? "300.00" : "15.25";
  }
  group.Cells.at(kMaxDataRows, Station) = kEndOfRows;
  EXPECT_EQ(LineStarting(Run(0), "899+50.000").size(), 10u);
  EXPECT_GT(state.Report.PageCount, 35);
  testing::ExpectReportInvariants(ReadBytes(state.Report.ReportFileName),
                                  testing::GoldenKind::Total, state.Report.PageCount);
}

// A line longer than the report's width is broken; what was a "#" line (never
// shown) stays one in every piece, and a line end inside a text never starts
// a line of its own.
TEST(ReportFileWriterTest, LongLinesAndLineEndsKeepTheirKind) {
  const std::string d199(199, 'd');
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {std::string(200, 'x'), {std::string(200, 'x')}},
      {std::string(450, 'x'), {std::string(200, 'x'), std::string(200, 'x'), std::string(50, 'x')}},
      {"#Designer= " + std::string(400, 'd'),
       {"#Designer= " + std::string(189, 'd'), "#" + d199, "#" + std::string(12, 'd')}},
      {std::string(300, 'x') + "#", {"#" + std::string(199, 'x'), std::string(101, 'x') + "#"}},
      {"#TabName= a\rb\nc", {"#TabName= a b c"}},
  };
  testing::TempDir dir;
  for (const auto& [line, written] : cases) {
    ReportFileWriter out(dir.Path("r.rpt"), false);
    out.WriteLine(line);
    out.Close();
    EXPECT_EQ(testing::Lines(ReadBytes(dir.Path("r.rpt"))), written) << line.substr(0, 30);
  }
}

}  // namespace
}  // namespace earthwork
