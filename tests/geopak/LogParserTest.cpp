#include "geopak/LogParser.h"

#include <utility>

#include "GeopakTestSupport.h"
#include "project/Paths.h"
#include "reports/GeopakLogReport.h"

namespace earthwork::testing {
namespace {

class LogParserTest : public GeopakTest {
 protected:
  LogGroup& Group() { return state.Log.Group(state.Project.CurrentGroup); }
  const std::string& Token(const LogTable& table, int record, int subLine, int column) {
    return std::as_const(table).at(record).Tokens.at(subLine, column);
  }
  const std::string& SectionToken(int record, int subLine, int column) {
    return Token(Group().SectionTable, record, subLine, column);
  }
  const std::string& SectionLabel(int record) {
    return std::as_const(Group().SectionTable).at(record).Label;
  }
  void Read(const std::string& path) {
    state.Project.CurrentFileName = path;
    ReadGeopakLog(state);
  }
};

TEST_F(LogParserTest, DetailLinesAreSplitAtRunsOfBlanks) {
  using Columns = std::vector<std::pair<int, std::string>>;
  const struct {
    const char* line;
    int16_t subLine;
    int16_t subLineAfter;
    Columns expected;  // of sub-line subLineAfter
  } cases[] = {
      {"   Excavation   45.20  \t 0.00  ",
       1,
       1,
       {{0, ""}, {1, "Excavation"}, {2, "45.20"}, {3, "0.00"}, {4, ""}}},
      {"a b c d e f g h i j k", 2, 2, {{1, "a"}, {8, "h"}, {9, "i"}}},  // j and k dropped
      {"   ------   ", 1, 2, {{0, "------"}, {1, ""}}},  // a single token skips a sub-line
      {"", 3, 3, {{1, ""}}},
      {"x y", 10, 10, {{1, "x"}, {2, "y"}}},
  };
  int16_t record = 1;
  for (const auto& c : cases) {
    int16_t subLine = c.subLine;
    ParseSectionDetailLine(state, c.line, subLine, record);
    EXPECT_EQ(subLine, c.subLineAfter) << c.line;
    for (const auto& [column, text] : c.expected) {
      EXPECT_EQ(SectionToken(record, c.subLineAfter, column), text) << c.line << " col " << column;
    }
    ++record;
  }
  // Balance-point details keep seven columns; a summary's single token
  // stays on its sub-line.
  int16_t subLine = 1;
  ParsePointDetailLine(state, "a b c d e f g h", subLine, 1);
  EXPECT_EQ(Token(Group().PointTable, 1, 1, 7), "g");
  subLine = 2;
  ParseSummaryLine(state, "  TOTALS  ", subLine);
  EXPECT_EQ(subLine, 2);
  EXPECT_EQ(Token(Group().SummaryTable, 0, 2, 0), "TOTALS");
}

TEST_F(LogParserTest, LinesBeyondTheTablesAreDroppedSilently) {
  int16_t subLine = 11;
  ParseSectionDetailLine(state, "a b", subLine, 1);
  subLine = 10;
  ParseSectionDetailLine(state, "single", subLine, 1);  // moves on to 11
  EXPECT_EQ(subLine, 11);
  EXPECT_EQ(SectionToken(1, 10, 0), "");
  subLine = 1;
  ParseSectionDetailLine(state, "a b", subLine, 10001);
  ParsePointDetailLine(state, "a b", subLine, 1001);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LogParserTest, StationLinesTakeLabelAndMessage) {
  const struct {
    const char* line;
    const char* label;
    const char* message;
  } cases[] = {
      {"  12+50.000   Cross Section  ", "12+50.000", ""},
      {"XS-NOPROP  No proposed elements at 13+50.000", "XS-NOPROP",
       "XS-NOPROP  No proposed elements at 13+50.000"},
      {"  at 14+50.000 ", "at", "XS-NOELEM No cross-section elements found at 14+50.000"},
      {"XS-NOES  none at 1+00", "XS-NOES", "XS-NOES  none at 1+00"},
      {"for 15+50.000", "for",
       "XS-W-DANGPROP Proposed finish grade elements does not connect for 15+50.000"},
      {"XS-W-DANGPROP  at 2+00", "XS-W-DANGPROP",
       "XS-W-DANGPROP Proposed finish grade elements does not connect XS-W-DANGPROP  at 2+00"},
      {"XS-ONESIDE one side 3+00", "XS-ONESIDE", "XS-ONESIDE one side 3+00"},
      {"SKIP = 20+00.000 to 22+00.000", "SKIP", "SKIP = 20+00.000 to 22+00.000"},
      {"At 4+00 x", "At", ""},  // the codes are case-sensitive
  };
  int16_t station = 1;
  for (const auto& c : cases) {
    int16_t subLine = 0;
    Parse_Station_String(state, c.line, subLine, station);
    const LogRecord& r = std::as_const(Group().SectionTable).at(station);
    EXPECT_EQ(r.Label, c.label) << c.line;
    EXPECT_EQ(r.Message, c.message) << c.line;
    ++station;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LogParserTest, StationLinesThatCannotBeStoredAreShown) {
  int16_t subLine = 0;
  Parse_Station_String(state, "  12+50.000  ", subLine, 1);  // no blank after trimming
  Parse_Station_String(state, "12+50.000 x", subLine, 10001);
  ParsePointStationLine(state, "Balance = 1+00", subLine, 1001);
  EXPECT_EQ(SectionLabel(1), "");
  EXPECT_EQ(
      dialogs.Texts(),
      (std::vector<std::string>{
          " Program Error: Invalid procedure call or argument occured in Parse_Station_String",
          " Program Error: Subscript out of range occured in Parse_Station_String",
          " Program Error: Subscript out of range occured in Parse_Station_String"}));
}

TEST_F(LogParserTest, PointLabelsAreTheTextAfterTheEqualsSign) {
  const std::pair<const char*, const char*> cases[] = {
      {"Balance Point at Station = 12+40.000, Offset = 0.000", " 12+40.000"},
      {"  End of Baseline =25+00.000  ", "25+00.000"},
      {"Balance 1+00", "Balance 1+00"},
      {"A =  1+00 , B", "  1+00 "},  // not trimmed after the cut
  };
  int16_t point = 1;
  for (const auto& [line, label] : cases) {
    int16_t subLine = 0;
    ParsePointStationLine(state, line, subLine, point);
    EXPECT_EQ(std::as_const(Group().PointTable).at(point).Label, label) << line;
    ++point;
  }
}

TEST_F(LogParserTest, BalancePointsBecomeIncrements) {
  LogTable& points = Group().PointTable;
  const char* rows[][2][3] = {
      // sub-line 1 columns 2..4, sub-line 2 columns 2..4
      {{"100.00", "100.00", "0.00"}, {"40.00", "46.00", "46.00"}},
      {{"250.50", "250.50", "0.00"}, {"70.00", "80.50", "80.50"}},
      {{"300.00", "310.00", "x"}, {"", "90.00", "90"}},  // column 4 not numeric; column 2 empty
  };
  for (int p = 0; p < 3; ++p) {
    for (int sub = 1; sub <= 2; ++sub) {
      for (int col = 2; col <= 4; ++col) {
        points.at(p + 1).Tokens.at(sub, col) = rows[p][sub - 1][col - 2];
      }
    }
  }
  state.Counters.PointCount = 3;
  EXPECT_EQ(WriteIncrementalValue(state), 0);
  const auto tokens = [&](int p, int sub) {
    const TokenGrid& t = std::as_const(points).at(p).Tokens;
    return std::vector<std::string>{t.at(sub, 4), t.at(sub, 5), t.at(sub, 6)};
  };
  using V = std::vector<std::string>;
  EXPECT_EQ(tokens(1, 1), (V{"0.00", "", ""}));  // the first entry keeps its values
  EXPECT_EQ(tokens(2, 1), (V{"150.5", "150.5", "0.00"}));
  EXPECT_EQ(tokens(2, 2), (V{"30", "34.5", "80.50"}));
  EXPECT_EQ(tokens(3, 1), (V{"x", "", ""}));
  EXPECT_EQ(tokens(3, 2), (V{"-70", "9.5", "90"}));  // the empty column counts as 0

  EXPECT_EQ(WriteIncrementalValue(state), 0);  // marked entries stay as they are
  EXPECT_EQ(tokens(2, 2), (V{"30", "34.5", "80.50"}));
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(LogParserTest, IncrementFailuresStopWithAMessage) {
  LogTable& points = Group().PointTable;
  points.at(2).Tokens.at(1, 4) = "5";
  points.at(2).Tokens.at(1, 2) = "7";
  points.at(3).Tokens.at(1, 4) = "5";  // entry 2 has no column 3 to subtract
  points.at(1).Tokens.at(1, 2) = "1";
  points.at(1).Tokens.at(1, 3) = "1";
  state.Counters.PointCount = 2;
  EXPECT_EQ(WriteIncrementalValue(state), 1);
  EXPECT_EQ(std::as_const(points).at(2).Tokens.at(1, 4), "6");  // done before the failure
  EXPECT_EQ(std::as_const(points).at(3).Tokens.at(1, 4), "5");

  points.Clear();
  state.Counters.PointCount = 1000;  // the last step reads entry 1001
  WriteIncrementalValue(state);
  EXPECT_EQ(dialogs.Texts(),
            (std::vector<std::string>{
                "Program Error: Type mismatch occured in WriteIncrementalValue",
                "Program Error: Subscript out of range occured in WriteIncrementalValue"}));
}

TEST_F(LogParserTest, EnglishLogFillsTheTablesOfTheCurrentGroup) {
  Read(Sample("ramp1.log"));
  const LogCounters& c = state.Counters;
  EXPECT_EQ(c.SectionStationCount, 33);  // 28 in the table, 5 from the point table's rules
  EXPECT_EQ(c.PointCount, 5);
  EXPECT_EQ(c.LargestSectionStationCount, 33);
  EXPECT_EQ(state.Report.BaselineName, " RAMP1");
  EXPECT_EQ(state.Project.UnitSystem, 0);
  EXPECT_EQ(state.Report.AccumulatedReport, 0);
  EXPECT_EQ(state.Report.ReportFileName, ReportDirectory() + "ramp1.rpt");
  EXPECT_GT(state.Report.PageCount, 0);

  // Lines between the opening hyphens and the first station: record 0.
  EXPECT_EQ(SectionToken(0, 1, 1), "");
  EXPECT_EQ(SectionToken(0, 2, 1), "(unadjusted)");
  EXPECT_EQ(SectionLabel(1), "10+00.000");
  EXPECT_EQ(SectionToken(1, 2, 1), "Fill");
  EXPECT_EQ(SectionToken(1, 2, 8), "0.00");
  // A page heading inside the table: its lines follow the station's own,
  // the single-token underline two sub-lines on.
  EXPECT_EQ(SectionToken(10, 4, 4), "Earthwork");
  EXPECT_EQ(SectionToken(10, 8, 0).substr(0, 10), "----------");
  EXPECT_EQ(SectionLabel(17), "SKIP");
  EXPECT_EQ(SectionLabel(28), "Totals");

  const LogGroup& g = Group();
  const LogRecord& exc = std::as_const(g.AdjustmentTable).at(1);
  const LogRecord& fill = std::as_const(g.AdjustmentTable).at(2);
  EXPECT_EQ(exc.Label, " 12+00.000");
  EXPECT_EQ(exc.Message, "Exc");
  EXPECT_EQ(exc.Tokens.at(0, 0), " 150.00");
  EXPECT_EQ(fill.Label, " 16+00.000");
  EXPECT_EQ(fill.Message, "Fill");
  EXPECT_EQ(fill.Tokens.at(1, 0), " 75.00");

  EXPECT_EQ(std::as_const(g.PointTable).at(4).Label, " 18+60.000");
  EXPECT_EQ(Token(g.PointTable, 2, 1, 4), "300.5");  // 770.50 - 470.00
  EXPECT_EQ(Token(g.PointTable, 2, 2, 5), "718.75");
  EXPECT_EQ(Token(g.PointTable, 2, 2, 6), "805.00");
  EXPECT_EQ(Token(g.PointTable, 2, 3, 1), "");  // a blank line took sub-line 3

  EXPECT_EQ(Token(g.SummaryTable, 0, 1, 1), "Excavation");
  EXPECT_EQ(Token(g.SummaryTable, 0, 1, 4), "1.000");
  EXPECT_EQ(Token(g.SummaryTable, 0, 2, 3), "1486.09");
  EXPECT_EQ(Token(g.SummaryTable, 0, 4, 1), "Borrow");  // the second section
  EXPECT_EQ(Token(g.SummaryTable, 0, 5, 1), "Common");
  EXPECT_EQ(view.calls.back(), "SetMesurementSyste(0)");
}

TEST_F(LogParserTest, MetricLogSetsUnitsAndAccumulatedMarker) {
  state.Report.BaselineName = "OLD";
  Read(Sample("ramp2m.log"));
  EXPECT_EQ(state.Project.UnitSystem, 1);
  EXPECT_EQ(state.Report.AccumulatedReport, 1);
  EXPECT_TRUE(LogHasAccumulatedQuantities(state));
  EXPECT_EQ(state.Report.BaselineName, " RAMP2M");
  EXPECT_EQ(std::as_const(Group().AdjustmentTable).at(1).Message, "Exc");  // "exc = 40.00"
  // Five heading lines in METRIC: the summary lines still land on 1 and 2.
  EXPECT_EQ(Token(Group().SummaryTable, 0, 1, 1), "Excavation");
  EXPECT_EQ(Token(Group().SummaryTable, 0, 2, 4), "1.200");
  // The second table's first line belongs to the station before it.
  EXPECT_EQ(SectionLabel(7), "Page");
  EXPECT_EQ(SectionToken(7, 2, 0), "(continued)");
  EXPECT_EQ(view.calls.back(), "SetMesurementSyste(1)");

  // A log without a baseline line or a table keeps the name, stores no
  // station and never sets ENGLISH.
  Read(WriteLog("bare.log", " 1     3     3 Earthwork\r\nEARTHWORK\r\n"));
  EXPECT_EQ(state.Report.BaselineName, " RAMP2M");
  EXPECT_EQ(state.Counters.SectionStationCount, 0);
  EXPECT_EQ(state.Project.UnitSystem, 1);
}

TEST_F(LogParserTest, LogCutOffInsideABlockEndsThatPass) {
  const std::string whole = ReadBytes(DataPath("geopak/ramp1.log"));
  const struct {
    const char* cutAfter;  // the log ends after the line holding this text
    int16_t sections;
    int16_t points;
    const char* adjustmentMessage;
    const char* summaryExcavation;
  } cases[] = {
      {"Material = Unsuitable", 0, 0, "", ""},
      {"Exc       167.59", 4, 0, "Exc", ""},
      {"SKIP = 20+00.000", 17, 0, "Exc", ""},
      {"Station = 17+20.100", 30, 2, "Exc", ""},
      {"(cu. yd.)    (cu. yd.)", 33, 5, "Exc", ""},
      {"Excavation                       1292.97", 33, 5, "Exc", "Excavation"},
  };
  for (const auto& c : cases) {
    const size_t at = whole.find(c.cutAfter);
    ASSERT_NE(at, std::string::npos) << c.cutAfter;
    ProgramState fresh(dialogs, view);
    fresh.Project.CurrentFileName = WriteLog("cut.log", whole.substr(0, whole.find('\n', at) + 1));
    ReadGeopakLog(fresh);
    const LogGroup& g = std::as_const(fresh.Log).Group(0);
    EXPECT_EQ(fresh.Counters.SectionStationCount, c.sections) << c.cutAfter;
    EXPECT_EQ(fresh.Counters.PointCount, c.points) << c.cutAfter;
    EXPECT_EQ(g.AdjustmentTable.at(1).Message, c.adjustmentMessage) << c.cutAfter;
    EXPECT_EQ(g.SummaryTable.at(0).Tokens.at(1, 1), c.summaryExcavation) << c.cutAfter;
    EXPECT_GT(fresh.Report.PageCount, 0) << c.cutAfter;  // the import ran to its end
    CreateGeopakLogReport(fresh);
    EXPECT_EQ(Lines(ReadBytes(fresh.Report.ReportFileName)).back(), std::string(65, '#'));
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
}  // namespace earthwork::testing
