#include "geopak/LogParser.h"

#include <utility>

#include "GeopakTestSupport.h"
#include "project/FileIO.h"
#include "reports/GeopakLogReport.h"

namespace earthwork::testing {
namespace {

class LogParserTest : public GeopakTest {
 protected:
  const LogGroup& Group() { return std::as_const(state.Log).Group(state.Project.CurrentGroup); }
  const std::string& Token(const LogTable& table, int record, int subLine, int column) {
    return table.at(record).Tokens.at(subLine, column);
  }
};

// What the sample logs hold is checked through their golden reports; these
// are the limits no sample reaches.
TEST_F(LogParserTest, LinesBeyondTheLimitsAreCut) {
  int16_t subLine = 2;
  // A tab is a blank too, which no sample holds.
  ParseSectionDetailLine(state, "a \t b c d e f g h i j k", subLine, 1);  // ten columns
  EXPECT_EQ(Token(Group().SectionTable, 1, 2, 2), "b");
  EXPECT_EQ(Token(Group().SectionTable, 1, 2, 9), "i");
  subLine = 10;
  ParseSectionDetailLine(state, "single", subLine, 2);  // past the last sub-line
  EXPECT_EQ(subLine, 11);
  EXPECT_EQ(Token(Group().SectionTable, 2, 10, 0), "");
  subLine = 1;
  ParsePointDetailLine(state, "a b c d e f g h", subLine, 1);  // seven columns
  EXPECT_EQ(Token(Group().PointTable, 1, 1, 7), "g");
  ParseSectionDetailLine(state, "a b", subLine, 10001);  // past the table: dropped
  EXPECT_TRUE(dialogs.shown.empty());
}

// geopak/station_lines.txt: "station|line|label|message" for a section
// station line (the codes are case-sensitive), "point|line|label" for a
// balance point's (the text after "=", cut at a comma, not trimmed).
TEST_F(LogParserTest, StationLinesTakeLabelAndMessage) {
  int16_t station = 1, point = 1;
  for (const std::string& line : SplitLines(ReadBytes(DataPath("geopak/station_lines.txt")))) {
    const auto f = SplitAt(line + "|", "|");
    int16_t subLine = 0;
    if (f.at(0) == "station") {
      Parse_Station_String(state, f.at(1), subLine, station);
      EXPECT_EQ(Group().SectionTable.at(station).Label, f.at(2)) << line;
      EXPECT_EQ(Group().SectionTable.at(station++).Message, f.at(3)) << line;
    } else if (f.at(0) == "point") {
      ParsePointStationLine(state, f.at(1), subLine, point);
      EXPECT_EQ(Group().PointTable.at(point++).Label, f.at(2)) << line;
    }
  }
  EXPECT_EQ(station + point, 10 + 4);
  // Lines that cannot be stored are shown, and the parse goes on.
  int16_t subLine = 0;
  Parse_Station_String(state, "  12+50.000  ", subLine, 20);  // no blank after trimming
  Parse_Station_String(state, "12+50.000 x", subLine, 10001);
  ParsePointStationLine(state, "Balance = 1+00", subLine, 1001);
  EXPECT_EQ(
      dialogs.Texts(),
      (std::vector<std::string>{
          " Program Error: Invalid procedure call or argument occured in Parse_Station_String",
          " Program Error: Subscript out of range occured in Parse_Station_String",
          " Program Error: Subscript out of range occured in Parse_Station_String"}));
}

// The sample logs' increments show in their golden reports; here a column 4
// that is not a number, an empty column 2, and the failures.
TEST_F(LogParserTest, BalancePointsBecomeIncrements) {
  LogTable& points = state.Log.Group(0).PointTable;
  using V = std::vector<std::string>;
  const auto set = [&](int p, int sub, const V& columns2to4) {
    for (int col = 2; col <= 4; ++col) points.at(p).Tokens.at(sub, col) = columns2to4[col - 2];
  };
  const auto columns4to6 = [&](int p, int sub) {
    const TokenGrid& t = std::as_const(points).at(p).Tokens;
    return V{t.at(sub, 4), t.at(sub, 5), t.at(sub, 6)};
  };
  set(1, 1, {"250.50", "250.50", "0.00"});
  set(1, 2, {"70.00", "80.50", "80.50"});
  set(2, 1, {"300.00", "310.00", "x"});
  set(2, 2, {"", "90.00", "90"});
  state.Counters.PointCount = 2;
  for (int run = 0; run < 2; ++run) {  // a second run changes nothing
    EXPECT_TRUE(WriteIncrementalValue(state));
    EXPECT_EQ(columns4to6(1, 1), (V{"0.00", "", ""}));  // the first entry keeps its values
    EXPECT_EQ(columns4to6(2, 1), (V{"x", "", ""}));
    EXPECT_EQ(columns4to6(2, 2), (V{"-70", "9.5", "90"}));  // the empty column counts as 0
  }
  EXPECT_TRUE(dialogs.shown.empty());

  // An empty column of the entry before cannot be subtracted; entries done
  // so far keep their values. A full table reads past its last entry.
  points.Clear();
  set(1, 1, {"1", "1", ""});
  set(2, 1, {"7", "", "5"});
  set(3, 1, {"", "", "5"});
  state.Counters.PointCount = 2;
  EXPECT_FALSE(WriteIncrementalValue(state));
  EXPECT_EQ(columns4to6(2, 1), (V{"6", "-1", "5"}));
  EXPECT_EQ(columns4to6(3, 1), (V{"5", "", ""}));
  points.Clear();
  state.Counters.PointCount = 1000;
  EXPECT_FALSE(WriteIncrementalValue(state));
  EXPECT_EQ(dialogs.Texts(),
            (std::vector<std::string>{
                "Program Error: Type mismatch occured in WriteIncrementalValue",
                "Program Error: Subscript out of range occured in WriteIncrementalValue"}));
}

// The tables of the sample logs are checked through their golden reports.
TEST_F(LogParserTest, ALogWithoutABaselineLineFillsNoTable) {
  state.Report.BaselineName = "OLD";
  state.Project.CurrentFileName = WriteLog("bare.log", " 1     3     3 Earthwork\r\nEARTHWORK\r\n");
  EXPECT_TRUE(ReadGeopakLog(state));
  EXPECT_EQ(state.Report.BaselineName, "OLD");
  EXPECT_EQ(state.Counters.SectionStationCount, 0);
  state.Project.CurrentFileName = Sample("ramp2m.log");
  EXPECT_TRUE(ReadGeopakLog(state));
  EXPECT_TRUE(state.Window.UnitChosen);
}

// geopak/cut_off.txt: "ramp1.log ends after the line holding this|section
// stations|balance points|first adjustment|first summary word".
TEST_F(LogParserTest, LogCutOffInsideABlockEndsThatPass) {
  const std::string whole = ReadBytes(DataPath("geopak/ramp1.log"));
  const auto cases = SplitLines(ReadBytes(DataPath("geopak/cut_off.txt")));
  for (const std::string& line : cases) {
    SCOPED_TRACE(line);
    const auto c = SplitAt(line + "|", "|");
    ASSERT_EQ(c.size(), 5u);
    const size_t at = whole.find(c[0]);
    ASSERT_NE(at, std::string::npos);
    ProgramState fresh(dialogs, view);
    fresh.Project.CurrentFileName = WriteLog("cut.log", whole.substr(0, whole.find('\n', at) + 1));
    EXPECT_TRUE(ReadGeopakLog(fresh));
    const LogGroup& g = std::as_const(fresh.Log).Group(0);
    EXPECT_EQ(fresh.Counters.SectionStationCount, std::stoi(c[1]));
    EXPECT_EQ(fresh.Counters.PointCount, std::stoi(c[2]));
    EXPECT_EQ(g.AdjustmentTable.at(1).Message, c[3]);
    EXPECT_EQ(g.SummaryTable.at(0).Tokens.at(1, 1), c[4]);
    EXPECT_TRUE(CreateGeopakLogReport(fresh));
    EXPECT_EQ(Lines(ReadBytes(fresh.Report.ReportFileName)).back(), std::string(65, '#'));
  }
  EXPECT_EQ(cases.size(), 6u);
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace earthwork::testing
