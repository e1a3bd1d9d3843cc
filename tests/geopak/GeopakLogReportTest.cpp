#include "reports/GeopakLogReport.h"

#include <algorithm>
#include <filesystem>

#include "GeopakTestSupport.h"
#include "geopak/LogParser.h"
#include "project/FileIO.h"
#include "project/Paths.h"
#include "project/Text.h"

namespace earthwork::testing {
namespace {

// geopak/LOG-KIND[-embankment].rpt is the report of LOG.log; its companion
// table LOG.ear is written beside the log.
TEST_F(GeopakTest, GoldenReportsForBothKindsAndUnitSystems) {
  int goldens = 0;
  for (const auto& entry : std::filesystem::directory_iterator(DataPath("geopak"))) {
    const auto name = SplitAt(entry.path().stem().string(), "-");
    if (entry.path().extension() != ".rpt" || name.size() < 2 || name[0] == "two") continue;
    SCOPED_TRACE(entry.path().filename().string());
    ++goldens;
    ProgramState fresh(dialogs, view);
    fresh.Project.HeaderFields = state.Project.HeaderFields;
    fresh.Project.CurrentFileName = Sample(name[0] + ".log");
    EXPECT_TRUE(ReadGeopakLog(fresh));
    fresh.Report.AccumulatedReport = static_cast<ReportKind>(name[1] == "accumulated");
    fresh.Project.LogFileMode = true;
    fresh.Window.Embankment = name.size() == 3;
    fresh.Window.LogTabCaptions = {"BASELINE: " + fresh.Report.BaselineName};
    EXPECT_TRUE(CreateGeopakLogReport(fresh));
    EXPECT_FALSE(fresh.Report.AppendToReport);
    ExpectGoldenReport(ReadBytes(fresh.Report.ReportFileName),
                       "geopak/" + entry.path().filename().string(), GoldenKind::Log,
                       fresh.Report.PageCount);
    const std::string companion = CompanionTableName(fresh.Project.CurrentFileName);
    ExpectGolden(ReadBytes(companion), "geopak/" + StripFile(companion));
  }
  EXPECT_EQ(goldens, 7);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GeopakTest, BalancePointsAndAdjustmentsBetweenStations) {
  LogGroup& g = state.Log.Group(0);
  const char* sections[] = {"", "10+00.000", "11+00.000", "XS-NOPROP", "12+00.000", "13+00.000"};
  for (int s = 1; s <= 5; ++s) g.SectionTable.at(s).Label = sections[s];
  const char* points[] = {"", " 10+50.000", " 10+20.000", " 11+50.000", " 12+00.000", " 13+00.000"};
  for (int p = 1; p <= 5; ++p) g.PointTable.at(p).Label = points[p];
  const char* adjustments[][2] = {{"", ""}, {"10+10", "Fill"}, {"10+30", "Exc"}, {"12+50", "Exc"}};
  for (int a = 1; a <= 3; ++a) {
    g.AdjustmentTable.at(a).Label = adjustments[a][0];
    g.AdjustmentTable.at(a).Message = adjustments[a][1];
  }
  const struct {
    int16_t pointCount, station, balancePoint;
    const char* kind;
  } cases[] = {
      {4, 1, 2, "Fill"},  // two points in one interval: the later entry; the first adjustment
      {4, 2, 0, ""},      // the next record is a message: no interval
      {4, 3, 0, ""},      // a message station itself
      {5, 4, 4, "Exc"},   // a point on the station counts, one on the next does not
      {4, 5, 0, ""},      // the last station
      {2, 4, 0, ""},      // entries beyond the point count are not searched
      {1, 1, 1, "Fill"},  // a table of one entry is searched
      {0, 1, 0, ""},      // an empty one is not
  };
  for (const auto& c : cases) {
    g.PointCount = c.pointCount;
    EXPECT_EQ(FindBalancePoint(state, c.station), c.balancePoint) << c.station;
    EXPECT_EQ(InsertBalance(state, c.station), c.kind) << c.station;
  }
}

// The table holds 10,000 stations. Below and at the limit every station line
// gets its report line (a closing station without quantities an all-zero
// one) and the grand summary follows; past it, and past the 16-bit count,
// the lines that do not fit are said once, and the report is the one of the
// stations that fit.
TEST_F(GeopakTest, BothSidesOfTheTableLimit) {
  const auto log = [](int stations) {
    std::string text =
        " 1     3     3 Earthwork\r\n   Earthworks for Baseline = LONG\r\n     ----------\r\n";
    for (int s = 0; s < stations; ++s) {
      text += "   " + std::to_string(s) + "+00.000   Cross Section\r\n";
      text += "        Excavation       10.00      37.04       0.00       0.00      37.04\r\n";
      text += "        Fill              5.00      18.52      21.30       1.15      15.74\r\n";
    }
    // The closing station line, without quantities.
    return text + "   " + std::to_string(stations) +
           "+00.000   Cross Section\r\n     ----------\r\n";
  };
  std::string zeros;
  for (int column = 0; column < 9; ++column) zeros += "       0.00";
  const std::string full =
      "      10.00       0.00      37.04       5.00       0.00      18.52       1.15      21.30"
      "      15.74";
  for (const int stations : {9998, 9999, 10000, 32800}) {
    SCOPED_TRACE(stations);
    const bool over = stations >= 10000;  // with the closing line, past the table
    dialogs.shown.clear();
    ASSERT_TRUE(Open(WriteLog("long.log", log(stations))));
    const std::vector<std::string> lines = Lines(Report());
    const auto summary = std::find(lines.begin(), lines.end(),
                                   "+                 G R A N D     S U M M A R Y     T O T A L S");
    ASSERT_NE(summary, lines.end());
    const auto isStation = [](const std::string& l) { return Contains(l, "+00.000 "); };
    EXPECT_EQ(*std::find_if(std::make_reverse_iterator(summary), lines.rend(), isStation),
              std::to_string(std::min(stations, 9999)) + "+00.000" + (over ? full : zeros));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(), isStation), std::min(stations + 1, 10000));
    EXPECT_EQ(dialogs.shown.size(), over ? 1u : 0u);
  }
}

// geopak/file_names.txt: a log, its report's name and its companion table,
// with either separator, a drive letter or a server's share.
TEST(GeopakFileNames, ReportAndCompanionNames) {
  const auto lines = SplitLines(ReadBytes(DataPath("geopak/file_names.txt")));
  for (const std::string& line : lines) {
    const auto c = SplitAt(line, " ");
    ASSERT_EQ(c.size(), 3u) << line;
    EXPECT_EQ(GeopakReportName(c[0]), c[1]);
    EXPECT_EQ(CompanionTableName(c[0]), c[2]);
  }
  EXPECT_EQ(lines.size(), 8u);
}

}  // namespace
}  // namespace earthwork::testing
