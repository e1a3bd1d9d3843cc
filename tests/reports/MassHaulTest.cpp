#include "reports/MassHaul.h"

#include <cmath>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "earfiles/EarFile.h"
#include "geopak/OpenGeopakLog.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "reports/GeopakLogReport.h"
#include "reports/ReportTestSupport.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

using testing::TypedRow;

GroupRecord Group(const char* factor, const std::vector<TypedRow>& rows) {
  GroupRecord g;
  g.BalanceFactor = factor;
  testing::SetRows(g, rows);
  return g;
}

struct LoopFigures {
  const char* from;
  const char* to;
  double volume, haul, freeVolume, overVolume, overhaul;
};

void ExpectLoops(const MassHaul& h, const std::vector<LoopFigures>& expected, double tolerance) {
  ASSERT_EQ(h.loops.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("loop " + std::to_string(i));
    const HaulLoop& l = h.loops[i];
    const LoopFigures& e = expected[i];
    EXPECT_EQ(StationText(l.startStation), e.from);
    EXPECT_EQ(StationText(l.endStation), e.to);
    EXPECT_NEAR(l.volume, e.volume, tolerance);
    EXPECT_NEAR(l.haul, e.haul, tolerance);
    EXPECT_NEAR(l.freeHaulVolume, e.freeVolume, tolerance);
    EXPECT_NEAR(l.overhaulVolume, e.overVolume, tolerance);
    EXPECT_NEAR(l.overhaul, e.overhaul, tolerance);
  }
}

std::vector<std::string> Stations(const std::vector<BalancePoint>& points) {
  std::vector<std::string> texts;
  for (const BalancePoint& b : points) texts.push_back(StationText(b.station));
  return texts;
}

// English, factor 1.00, free haul 300 ft. 27 sq ft over 100 ft is 100 cu yd.
// The gap BK 2+00 = AH 5+00 adds no length, so the rows lie at 0, 100, 200,
// 200, 300, 350 and 450 ft with masses 0, 100, 200, 200, 100, 50, -50.
// Loop 1 is the triangle 0..400 ft, peak 200: haul 200 x 400 / 2 = 40000
// cu yd ft = 400 sta-yd. Its width at level h is 400 - 2h = 300, so h = 50:
// free-haul volume 150, overhaul volume 50, overhaul (50 x (400 + 300) / 2 -
// 50 x 300) / 100 = 25 sta-yd; chord from x 50 to x 350 (station 6+50). The
// balance point, x 400, is station 7+00. Loop 2 is 400..450 ft down to -50:
// haul 50 x 50 / 2 / 100 = 12.5; it is narrower than the free haul. Borrow
// 50 at 7+50; average haul 41250 / 250 = 165 ft.
TEST(MassHaulTest, EnglishWithStationEquation) {
  const GroupRecord g = Group("1.00", {{"0", "", "27"},
                                       {"100", "", "27"},
                                       {"200", "BK", "27"},
                                       {"500", "AH", "0", "", "27"},
                                       {"600", "", "0", "", "27"},
                                       {"650", "", "0", "", "27"},
                                       {"750", "", "0", "", "27"}});
  const MassHaul h = ComputeMassHaul(g, Units::English, 300);
  ExpectLoops(h,
              {{"00+00.000", "07+00.000", 200, 400, 150, 50, 25},
               {"07+00.000", "07+50.000", 50, 12.5, 50, 0, 0}},
              1e-4);
  EXPECT_EQ(Stations(h.balancePoints), std::vector<std::string>{"07+00.000"});
  ASSERT_TRUE(h.loops[0].hasChord);
  EXPECT_NEAR(h.loops[0].chordStartX, 50, 1e-4);
  EXPECT_NEAR(h.loops[0].chordEndX, 350, 1e-4);
  EXPECT_NEAR(h.loops[0].chordMass, 50, 1e-4);
  ASSERT_EQ(h.ends.size(), 1u);
  EXPECT_EQ(StationText(h.ends[0].station), "07+50.000");
  EXPECT_EQ(h.ends[0].leftover, -50);
  EXPECT_NEAR(h.haul, 412.5, 1e-4);
  EXPECT_NEAR(h.overhaul, 25, 1e-4);
  EXPECT_NEAR(h.averageHaulDistance, 165, 1e-4);
  EXPECT_DOUBLE_EQ(h.length, 450);
}

// Metric, factor 1.25, free haul 150 m. 10 sq m over 100 m is 1000 cu m.
// Part 1 ends at the forced balance 3+00 with 2000 cu m of waste. From 2+00
// to 3+00 cut falls 10 -> 0 and fill rises 0 -> 8 (500 each, adjusted):
// M = 2000 + 1000t - 1000t^2, peak 2250. Haul: 10 x 200^2 / 2 + 100 x
// (2000 + 500 - 1000/3) = 416666.7 cu m m = 416.667 m3-km. The chord lies
// where 300 - h/10 = 150, h = 1500: overhaul 10 x 150^2 / 2 = 112.5 m3-km.
// Part 2 falls 1000 per 100 m to -2000 at 5+00, where 2500 of added cut
// lifts it to +500, then falls to -500 at 6+00 (zero at 5+50). Loop 3+00..
// 5+00: haul 200 x 2000 / 2 = 200 m3-km, h = 500, overhaul (50 x 500 / 2 +
// 150 x 500 - 500 x 150) = 12.5 m3-km. Two triangles of 500 x 50 / 2 = 12.5.
TEST(MassHaulTest, MetricWithForcedBalance) {
  const GroupRecord g = Group("1.25", {{"0", "", "10"},
                                       {"100", "", "10"},
                                       {"200", "", "10"},
                                       {"300", "FB", "0", "", "8"},
                                       {"400", "", "0", "", "8"},
                                       {"500", "", "0", "2500", "8"},
                                       {"600", "", "0", "", "8"}});
  const MassHaul h = ComputeMassHaul(g, Units::Metric, 150);
  ExpectLoops(h,
              {{"00+00.000", "03+00.000", 2250, 416.6667, 750, 1500, 112.5},
               {"03+00.000", "05+00.000", 2000, 200, 1500, 500, 12.5},
               {"05+00.000", "05+50.000", 500, 12.5, 500, 0, 0},
               {"05+50.000", "06+00.000", 500, 12.5, 500, 0, 0}},
              1e-3);
  EXPECT_EQ(Stations(h.balancePoints), (std::vector<std::string>{"05+00.000", "05+50.000"}));
  ASSERT_EQ(h.ends.size(), 2u);
  EXPECT_TRUE(h.ends[0].forced);
  EXPECT_EQ(h.ends[0].leftover, 2000);
  EXPECT_EQ(h.ends[1].leftover, -500);
  EXPECT_NEAR(h.overhaul, 125, 1e-3);
  EXPECT_NEAR(h.averageHaulDistance, 641666.667 / 5250, 1e-3);
  ASSERT_EQ(h.stations.size(), 7u);
  EXPECT_EQ(h.stations[3].mass, 0.0);  // the report's column after the forced balance
}

TEST(MassHaulTest, RefusesWhatItCannotMeasure) {
  const struct {
    GroupRecord group;
    double freeHaul;
    const char* message;
  } cases[] = {
      {Group("1", {{"0", "", "5"}}), 500,
       "The mass haul needs at least two stations; the group has 1"},
      {Group("1", {{"0", "", "5"}, {"100", "", "5"}}), 0,
       "The free-haul distance must be a positive number"},
      {Group("1", {{"0", "", "5"}, {"100", "", "5"}}), std::nan(""),
       "The free-haul distance must be a positive number"},
      {Group("abc", {{"0", "", "5"}, {"100", "", "5"}}), 500,
       "Balance factor \"abc\" is not a number"},
      {Group("1", {{"100", "", "5"}, {"50", "", "5"}}), 500,
       "Station 00+50.000 is below the station 01+00.000 before it: the mass haul needs rising "
       "stations"},
  };
  for (const auto& c : cases) {
    try {
      (void)ComputeMassHaul(c.group, Units::English, c.freeHaul);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const ProgramError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

// Splitting an interval at its middle, with the areas there interpolated,
// describes the same ground: the figures may move by the report's rounding
// of each interval to whole units, no more. A free haul longer than every
// loop leaves no overhaul.
TEST(MassHaulTest, SplittingAnIntervalKeepsTheFigures) {
  const std::vector<TypedRow> rows = {{"0", "", "12", "", "3"},    {"100", "", "40", "", "0"},
                                      {"300", "", "5", "", "30"},  {"350", "", "0", "", "55"},
                                      {"500", "", "22", "", "10"}, {"650", "", "60", "", "0"},
                                      {"800", "", "0", "", "48"},  {"1000", "", "3", "", "20"}};
  for (Units units : {Units::English, Units::Metric}) {
    const MassHaul whole = ComputeMassHaul(Group("1.1", rows), units, 120);
    for (size_t at = 1; at < rows.size(); ++at) {
      SCOPED_TRACE("split before row " + std::to_string(at));
      std::vector<std::string> texts;  // keeps the c_str() of the middle row
      const auto mid = [&](const char* a, const char* b) {
        texts.push_back(ShortestText((std::stod(a) + std::stod(b)) / 2));
        return texts.back().c_str();
      };
      texts.reserve(4);
      std::vector<TypedRow> split(rows.begin(), rows.begin() + static_cast<long>(at));
      const TypedRow &a = rows[at - 1], &b = rows[at];
      split.push_back({mid(a.station, b.station), "", mid(a.cut, b.cut), "", mid(a.fill, b.fill)});
      split.insert(split.end(), rows.begin() + static_cast<long>(at), rows.end());
      const MassHaul parts = ComputeMassHaul(Group("1.1", split), units, 120);
      // The two new intervals round cut, fill and adjusted fill each: up
      // to 5 units of mass, over the whole length in haul units.
      const double rounding = 5 * whole.length / (units == Units::Metric ? 1000 : 100);
      EXPECT_NEAR(parts.haul, whole.haul, rounding);
      EXPECT_NEAR(parts.overhaul, whole.overhaul, rounding);
      EXPECT_NEAR(parts.volume, whole.volume, 5);
      EXPECT_NEAR(parts.overhaulVolume, whole.overhaulVolume, 5);
      EXPECT_EQ(parts.balancePoints.size(), whole.balancePoints.size());
    }
    double longest = 0;
    for (const HaulLoop& l : whole.loops) longest = std::max(longest, l.endX - l.startX);
    const MassHaul free = ComputeMassHaul(Group("1.1", rows), units, longest + 0.01);
    EXPECT_GT(whole.overhaul, 0);
    EXPECT_EQ(free.overhaul, 0);
    EXPECT_EQ(free.overhaulVolume, 0);
    EXPECT_NEAR(free.freeHaulVolume, whole.volume, 1e-9);
  }
}

std::vector<std::string> CsvFields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ',' && !quoted) {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

/// The MASS ORDINATE column of a Total report's data lines (balance-point
/// lines, between two "*+********** " lines, left out).
std::vector<double> ReportMass(const std::string& report) {
  std::vector<double> mass;
  std::string previous;
  for (const std::string& line : testing::Lines(report)) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    const bool data = words.size() == 10 && std::isdigit(static_cast<unsigned char>(line[7]));
    if (data && !previous.starts_with("*+********** ")) mass.push_back(std::stod(words.back()));
    previous = line;
  }
  return mass;
}

TEST(MassHaulTest, CsvMassEqualsTheReportInEveryProject) {
  std::vector<std::string> files = {std::string(EARTHWORK_SOURCE_DIR) + "/examples/demo.ear"};
  for (const auto& entry : std::filesystem::directory_iterator(testing::DataPath("ear"))) {
    if (entry.path().extension() == ".ear") files.push_back(entry.path().string());
  }
  testing::TempDir dir;
  testing::ScopedReportDirectory reportDir{dir.Path("reports")};
  int compared = 0;
  for (const std::string& file : files) {
    testing::ScriptedDialogs dialogs;
    testing::RecordingMainView view;
    ProgramState state{dialogs, view};
    ASSERT_TRUE(OpenEarFile(state, file)) << file;
    for (int16_t g = 0; g < state.Project.GroupCount; ++g) {
      SCOPED_TRACE(file + " group " + std::to_string(g + 1));
      state.Project.CurrentGroup = g;
      const bool reported = static_cast<bool>(CreateTempRptFile(state));
      const GroupRecord& group = state.Project.Current();
      try {
        const MassHaul h = ComputeMassHaul(group, state.Project.UnitSystem, 100);
        ASSERT_TRUE(reported);
        const auto lines = testing::Lines(HaulCsv(h));
        const std::vector<double> mass =
            ReportMass(testing::ReadBytes(state.Report.ReportFileName));
        ASSERT_EQ(mass.size(), h.stations.size());
        for (size_t i = 0; i < mass.size(); ++i) {
          EXPECT_EQ(std::stod(CsvFields(lines[i + 1])[10]), mass[i]) << lines[i + 1];
        }
        ++compared;
      } catch (const ProgramError& e) {
        // Only where the report stops too, or a group of one row.
        EXPECT_TRUE(!reported || std::string(e.what()).find("two stations") != std::string::npos)
            << e.what();
      }
    }
  }
  EXPECT_GE(compared, 8);
}

// A log's curve follows the log's own mass ordinates: every stated one is
// the MASS ORDINATE column of the log's total report, line for line.
TEST(MassHaulTest, LogCsvMassEqualsTheLogReport) {
  testing::TempDir dir;
  testing::ScopedReportDirectory reportDir{dir.Path("reports")};
  for (const char* name : {"ramp1", "ramp2m"}) {
    SCOPED_TRACE(name);
    const std::string log = dir.Path(std::string(name) + ".log");
    std::filesystem::copy_file(testing::DataPath("geopak") + "/" + name + ".log", log);
    testing::ScriptedDialogs dialogs;
    testing::RecordingMainView view;
    ProgramState state{dialogs, view};
    ASSERT_TRUE(ImportGeopakLog(state, log, [](ProgramState&, const std::string&) {}));
    state.Report.AccumulatedReport = ReportKind::Total;
    ASSERT_TRUE(CreateGeopakLogReport(state));
    const MassHaul h = ComputeLogMassHaul(state, 300);
    std::vector<std::string> column;  // the last field of every station line
    for (const std::string& line :
         testing::Lines(testing::ReadBytes(state.Report.ReportFileName))) {
      const std::string text = Trim(line);
      const bool station = !text.empty() && std::string("#*+").find(text[0]) == std::string::npos &&
                           line.find('+') != std::string::npos &&
                           line.find(" : ") == std::string::npos;
      if (station) {
        column.push_back(Trim(line.substr(line.size() - 9)));
      }
    }
    const auto lines = testing::Lines(HaulCsv(h));
    ASSERT_EQ(column.size(), h.stations.size());
    int stated = 0;
    for (size_t i = 0; i < column.size(); ++i) {
      const std::string mass = CsvFields(lines[i + 1])[10];
      if (mass.empty()) continue;
      EXPECT_EQ(mass, column[i]) << lines[i + 1];
      EXPECT_EQ(h.stations[i].mass, std::stod(mass));
      ++stated;
    }
    EXPECT_GE(stated, 6);
    if (std::string(name) == "ramp1") {
      // The curve crosses zero between 16+00 (155.43) and 18+50 (-139.11):
      // 250 ft x 155.43 / 294.54 = 131.926 ft past 16+00.
      EXPECT_EQ(Stations(h.balancePoints), std::vector<std::string>{"17+31.926"});
      EXPECT_NEAR(h.ends.back().leftover, -268.12, 1e-9);
    }
  }
}

}  // namespace
}  // namespace earthwork
