// Reading and writing the largest project the store holds: 26 groups of
// 1800 rows. Run by hand; figures in bench/README.md.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "cli/BatchSession.h"
#include "earfiles/EarFile.h"
#include "project/FileIO.h"
#include "project/Format.h"

namespace {

using namespace earthwork;

void FillLargestProject(ProjectStore& store) {
  store.GroupCount = kGroupSlots;
  for (int g = 0; g < kGroupSlots; ++g) {
    GroupRecord& group = store.Group(g);
    group.Name = "Group " + std::to_string(g + 1);
    group.BalanceFactor = "1.15";
    for (int r = 0; r < kMaxDataRows; ++r) {
      group.Cells.at(r, Station) = FormatStation(50.0 * r);
      group.Cells.at(r, Code) = r % 100 == 0 ? "SA" : "-";
      group.Cells.at(r, Cut) = FormatArea(static_cast<double>(r % 900));
      group.Cells.at(r, AddedCut) = "0.00";
      group.Cells.at(r, Fill) = FormatArea(static_cast<double>((r * 7) % 800));
      group.Cells.at(r, AddedFill) = "0.00";
    }
    group.Cells.at(kMaxDataRows, Station) = kEndOfRows;
  }
}

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / name).string();
}

void BM_BuildEarFileText(benchmark::State& state) {
  cli::BatchSession session;
  FillLargestProject(session.state.Project);
  for (auto _ : state) benchmark::DoNotOptimize(BuildEarFileText(session.state.Project));
}
BENCHMARK(BM_BuildEarFileText)->Unit(benchmark::kMillisecond);

void BM_SaveEarFile(benchmark::State& state) {
  cli::BatchSession session;
  FillLargestProject(session.state.Project);
  const std::string path = TempPath("earthwork-bench-save.ear");
  for (auto _ : state) benchmark::DoNotOptimize(SaveEarFile(session.state, path));
  std::remove(path.c_str());
}
BENCHMARK(BM_SaveEarFile)->Unit(benchmark::kMillisecond);

void BM_OpenEarFile(benchmark::State& state) {
  const std::string path = TempPath("earthwork-bench-open.ear");
  {
    cli::BatchSession writer;
    FillLargestProject(writer.state.Project);
    (void)SaveEarFile(writer.state, path);
  }
  cli::BatchSession session;
  for (auto _ : state) benchmark::DoNotOptimize(OpenEarFile(session.state, path));
  std::remove(path.c_str());
}
BENCHMARK(BM_OpenEarFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
