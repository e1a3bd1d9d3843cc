// Importing and reporting a GEOPAK log of 10,000 records, the most the log
// tables hold. Run by hand; figures in bench/README.md.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchInputs.h"
#include "cli/BatchSession.h"
#include "geopak/LogParser.h"
#include "geopak/OpenGeopakLog.h"
#include "project/FileIO.h"
#include "reports/GeopakLogReport.h"

namespace {

using namespace earthwork;

using bench::LongLog;

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
