#include "reports/MassHaul.h"

#include <filesystem>
#include <iomanip>

#include "earfiles/EarFile.h"
#include "geopak/OpenGeopakLog.h"
#include "project/Errors.h"
#include "project/Text.h"
#include "reports/GeopakLogReport.h"
#include "reports/ReportTestSupport.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"

namespace earthwork {
namespace {

using testing::ReadBytes;
using testing::TypedRow;

GroupRecord Group(const std::string& factor, const std::vector<TypedRow>& rows) {
  GroupRecord g;
  g.BalanceFactor = factor;
  testing::SetRows(g, rows);
  return g;
}

/// Everything a haul figures out, to four decimals.
std::string Figures(const MassHaul& h) {
  std::ostringstream out;
  out << std::fixed << std::setprecision(4);
  for (const HaulLoop& l : h.loops) {
    out << "loop " << StationText(l.startStation) << " to " << StationText(l.endStation)
        << ": volume " << l.volume << " haul " << l.haul << " free-haul volume " << l.freeHaulVolume
        << " overhaul volume " << l.overhaulVolume << " overhaul " << l.overhaul;
    if (l.hasChord)
      out << " chord " << l.chordStartX << " to " << l.chordEndX << " at " << l.chordMass;
    out << "\n";
  }
  for (const BalancePoint& b : h.balancePoints)
    out << "balance point " << StationText(b.station) << "\n";
  for (const PartEnd& e : h.ends)
    out << (e.forced ? "forced end " : "end ") << StationText(e.station) << " " << e.leftover
        << "\n";
  out << "mass";
  for (const auto& s : h.stations) s.mass ? (out << " " << *s.mass) : (out << " -");
  out << "\nhaul " << h.haul << " overhaul " << h.overhaul << " average haul distance "
      << h.averageHaulDistance << " length " << h.length << "\n";
  return out.str();
}

// Hand-worked hauls: haul/NAME.rows (units, factor and free haul, the rows,
// and how the figures come about) gives haul/NAME.figures, or the refusal in
// haul/NAME.message.
TEST(MassHaulTest, HandWorkedHaulsAndRefusals) {
  int hauls = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::DataPath("reports/haul"))) {
    if (entry.path().extension() != ".rows") continue;
    const std::string name = "reports/haul/" + entry.path().stem().string();
    SCOPED_TRACE(name);
    ++hauls;
    const testing::RowsFile file(entry.path().string());
    std::string figures, outputs;  // the command's text and CSV, as written
    try {
      const MassHaul h = ComputeMassHaul(Group(file.head.at(1), file.rows),
                                         static_cast<Units>(std::stoi(file.head.at(0))),
                                         std::stod(file.head.at(2)));
      figures = Figures(h);
      outputs = HaulText(h, entry.path().stem().string()) + "\n" + HaulCsv(h);
    } catch (const ProgramError& e) {
      figures = e.what() + std::string("\n");
    }
    const bool refused = std::filesystem::exists(testing::DataPath(name + ".message"));
    testing::ExpectGolden(figures, name + (refused ? ".message" : ".figures"));
    if (!refused) testing::ExpectGolden(outputs, name + ".outputs");
  }
  EXPECT_EQ(hauls, 10);
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
      const auto mid = [](const std::string& a, const std::string& b) {
        return ShortestText((std::stod(a) + std::stod(b)) / 2);
      };
      std::vector<TypedRow> split = rows;
      const TypedRow &a = rows[at - 1], &b = rows[at];
      split.insert(split.begin() + static_cast<long>(at),
                   {mid(a.station, b.station), "", mid(a.cut, b.cut), "", mid(a.fill, b.fill)});
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
    EXPECT_NEAR(free.freeHaulVolume, whole.volume, 1e-9);
  }
}

// The group's texts are Windows-1252; the CSV is UTF-8.
TEST(MassHaulTest, CsvTextsAreUtf8) {
  const MassHaul h = ComputeMassHaul(
      Group("1.00", {{"0", "\x80\x93\xE9", "10", "", "5"}, {"100", "", "10", "", "5"}}),
      Units::English, 500);
  EXPECT_NE(HaulCsv(h).find("\"€“é\""), std::string::npos) << HaulCsv(h);
}

/// The mass ordinate of a CSV station line: the field before the distance.
std::string MassField(const std::string& line) {
  const size_t last = line.rfind(','), before = line.rfind(',', last - 1);
  return line.substr(before + 1, last - before - 1);
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
      try {
        const MassHaul h = ComputeMassHaul(state.Project.Current(), state.Project.UnitSystem, 100);
        ASSERT_TRUE(reported);
        // The MASS ORDINATE column of the report's data lines (balance-point
        // lines, between two "*+********** " lines, left out).
        std::vector<double> mass;
        std::string previous;
        for (const std::string& line : testing::Lines(ReadBytes(state.Report.ReportFileName))) {
          const std::vector<std::string> words = testing::Words(line);
          const bool data = words.size() == 10 && std::isdigit(static_cast<unsigned char>(line[7]));
          if (data && !previous.starts_with("*+********** "))
            mass.push_back(std::stod(words.back()));
          previous = line;
        }
        const auto lines = testing::Lines(HaulCsv(h));
        ASSERT_EQ(mass.size(), h.stations.size());
        for (size_t i = 0; i < mass.size(); ++i)
          EXPECT_EQ(std::stod(MassField(lines[i + 1])), mass[i]) << lines[i + 1];
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
    for (const std::string& line : testing::Lines(ReadBytes(state.Report.ReportFileName))) {
      const std::string text = Trim(line);
      const bool station = !text.empty() && std::string("#*+").find(text[0]) == std::string::npos &&
                           line.find('+') != std::string::npos &&
                           line.find(" : ") == std::string::npos;
      if (station) column.push_back(Trim(line.substr(line.size() - 9)));
    }
    const auto lines = testing::Lines(HaulCsv(h));
    ASSERT_EQ(column.size(), h.stations.size());
    int stated = 0;
    for (size_t i = 0; i < column.size(); ++i) {
      const std::string mass = MassField(lines[i + 1]);
      if (mass.empty()) continue;
      EXPECT_EQ(mass, column[i]) << lines[i + 1];
      EXPECT_EQ(h.stations[i].mass, std::stod(mass));
      ++stated;
    }
    EXPECT_GE(stated, 6);
    if (std::string(name) == "ramp1") {
      // The curve crosses zero between 16+00 (155.43) and 18+50 (-139.11):
      // 250 ft x 155.43 / 294.54 = 131.926 ft past 16+00.
      ASSERT_EQ(h.balancePoints.size(), 1u);
      EXPECT_EQ(StationText(h.balancePoints[0].station), "17+31.926");
      EXPECT_NEAR(h.ends.back().leftover, -268.12, 1e-9);
    }
  }
}

}  // namespace
}  // namespace earthwork
