// Importing and reporting a GEOPAK log of 10,000 records, the most the log
// tables hold. Run by hand; figures in bench/README.md.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "cli/BatchSession.h"
#include "geopak/LogParser.h"
#include "geopak/OpenGeopakLog.h"
#include "project/FileIO.h"
#include "reports/GeopakLogReport.h"

namespace {

using namespace earthwork;

constexpr int kStations = 9998;  // with the skip and closing lines: 10,000 records
constexpr int kBalancePoints = 50;

std::string Station(int hundredths) {
  char text[32];
  std::snprintf(text, sizeof text, "%d+%02d.000", hundredths / 100, hundredths % 100);
  return text;
}

/// A log of kStations stations 50 feet apart with an excavation adjustment,
/// a message every 500 stations, a skip area, kBalancePoints balance points
/// and a grand summary.
std::string LongLog() {
  std::string log =
      " 1     3     3 Earthwork\r\n   Earthworks for Baseline = BENCH\r\n"
      "   ADJUSTMENT\r\n      Station = 100+00.000\r\n      Material = Rock\r\n"
      "      Exc = 40.00\r\n"
      "     ----------------------------------------------------------------\r\n";
  for (int i = 0; i < kStations; ++i) {
    const std::string station = Station(50 * i);
    if (i % 500 == 250) {
      log += "   XS-NOPROP  No proposed elements found at " + station + "\r\n";
      continue;
    }
    if (i == 7000) log += "   SKIP = " + station + " to " + Station(50 * (i + 20)) + "\r\n";
    log += "   " + station + "   Cross Section\r\n";
    if (i == 200) {
      log += "        ------           NA         40.00       1.00     892.50    1412.50\r\n";
      log += "        ------           ------    552.50\r\n";
      continue;
    }
    log += "        Excavation       12.50      23.15       0.00       0.00    1000.00\r\n";
    log +=
        "        Fill              3.00       5.56       6.39       1.15     800.00"
        "    1200.00    1380.00\r\n";
  }
  log += "   Totals through the last station +\r\n     ------------------------------\r\n\r\n";
  log += "   B A L A N C E   P O I N T   T A B L E\r\n   Location   Volume\r\n";
  for (int p = 0; p < kBalancePoints; ++p) {
    log += "   Balance Point at Station = " + Station(1000 * p + 25) + ", Offset = 0.000\r\n\r\n";
    log += "   Excavation   " + std::to_string(100 * p) + ".00   " + std::to_string(100 * p) +
           ".00   0.00\r\n";
    log += "   Fill   " + std::to_string(90 * p) + ".00   " + std::to_string(99 * p) + ".00   " +
           std::to_string(99 * p) + ".00\r\n";
  }
  log += "   End of Baseline = " + Station(50 * (kStations - 1)) + "\r\n   COMPLETE\r\n";
  log +=
      "   G R A N D   S U M M A R Y   T O T A L S\r\n   =====\r\n   h1\r\n   h2\r\n   h3\r\n"
      "   ----- -----\r\n   Excavation   1000.00   1000.00   1.000\r\n"
      "   Fill   800.00   920.00   1.150\r\n   B A L A N C E   S U M M A R Y\r\n";
  return log;
}

/// The log, written once into a folder of its own that also takes the
/// reports.
const std::string& LogPath() {
  static const std::string path = [] {
    const auto dir = std::filesystem::temp_directory_path() / "earthwork-geopak-bench";
    std::filesystem::create_directories(dir);
    setenv("EARTHWORK_REPORT_DIR", dir.c_str(), 1);
    const std::string p = (dir / "long.log").string();
    WriteFileAtomically(p, LongLog());
    return p;
  }();
  return path;
}

void BM_OpenGeopakLog(benchmark::State& state) {
  cli::BatchSession session;
  const std::string& path = LogPath();
  for (auto _ : state) benchmark::DoNotOptimize(OpenGeopakLog(session.state, path));
  state.counters["stations"] = session.state.Counters.SectionStationCount;
}
BENCHMARK(BM_OpenGeopakLog)->Unit(benchmark::kMillisecond);

void BM_ReadGeopakLog(benchmark::State& state) {
  cli::BatchSession session;
  session.state.Project.CurrentFileName = LogPath();
  for (auto _ : state) benchmark::DoNotOptimize(ReadGeopakLog(session.state));
}
BENCHMARK(BM_ReadGeopakLog)->Unit(benchmark::kMillisecond);

void BM_CreateGeopakLogReport(benchmark::State& state) {
  cli::BatchSession session;
  session.state.Project.CurrentFileName = LogPath();
  (void)ReadGeopakLog(session.state);
  for (auto _ : state) (void)CreateGeopakLogReport(session.state);
}
BENCHMARK(BM_CreateGeopakLogReport)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
