// The end-area report, paging and the PDF print on a full-size project:
// 26 groups of 1800 rows.

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <sstream>

#include "BenchInputs.h"
#include "cli/BatchSession.h"
#include "cli/Cli.h"
#include "earfiles/EarFile.h"
#include "platform/qt/QtClock.h"
#include "printing/PagePrint.h"
#include "printing/Paging.h"
#include "printing/qt/QtPageSurface.h"
#include "project/Format.h"
#include "reports/EndAreaReport.h"

namespace earthwork {
namespace {

std::filesystem::path WorkFolder() {
  static const std::filesystem::path dir = [] {
    auto d = std::filesystem::temp_directory_path() / "earthwork-report-bench";
    std::filesystem::create_directories(d);
    ::setenv("EARTHWORK_REPORT_DIR", (d / "reports").c_str(), 1);
    return d;
  }();
  return dir;
}

/// The full-size project, saved once as an EarFile.
const std::string& ProjectFile() {
  static const std::string path = [] {
    const std::string file = (WorkFolder() / "full.ear").string();
    if (!bench::SaveLargestProject(file)) std::abort();
    return file;
  }();
  return path;
}

/// Runs `body` with the program's stdout and stderr discarded.
template <class Body>
void Quietly(Body&& body) {
  std::ostringstream sink;
  auto* out = std::cout.rdbuf(sink.rdbuf());
  auto* err = std::cerr.rdbuf(sink.rdbuf());
  body();
  std::cout.rdbuf(out);
  std::cerr.rdbuf(err);
}

/// `earthwork report full.ear --all`: read, compute and write all groups.
void BM_ReportAllGroups(benchmark::State& st) {
  const std::string& file = ProjectFile();
  for (auto _ : st) {
    int code = 0;
    Quietly([&] { code = cli::RunReport({file, "--all"}); });
    if (code != 0) st.SkipWithError("report failed");
  }
}
BENCHMARK(BM_ReportAllGroups)->Unit(benchmark::kMillisecond);

/// One group of 1800 rows from the store in memory.
void BM_ReportOneGroup(benchmark::State& st) {
  cli::BatchSession session;
  ProgramState& state = session.state;
  state.Project.CurrentFileName = (WorkFolder() / "one.ear").string();
  bench::FillGroup(state.Project.Group(0), 0);
  Quietly([&] {
    for (auto _ : st) {
      state.Report.Totals = {};
      (void)CreateTempRptFile(state);
    }
  });
}
BENCHMARK(BM_ReportOneGroup)->Unit(benchmark::kMillisecond);

/// The ReportFile of all groups (about 1000 pages), written once.
cli::BatchSession& FullReport() {
  static cli::BatchSession* session = [] {
    auto* s = new cli::BatchSession;
    Quietly([&] {
      if (!OpenEarFile(s->state, ProjectFile())) std::abort();
      for (int16_t g = 0; g < s->state.Project.GroupCount; ++g) {
        s->state.Project.CurrentGroup = g;
        s->state.Report.AppendToReport = g != 0;
        (void)CreateTempRptFile(s->state);
        s->state.Report.Totals = {};
      }
      CountNumberOfPages(s->state);
    });
    return s;
  }();
  return *session;
}

void BM_CountNumberOfPages(benchmark::State& st) {
  ProgramState& state = FullReport().state;
  for (auto _ : st) CountNumberOfPages(state);
  st.counters["pages"] = state.Report.PageCount;
}
BENCHMARK(BM_CountNumberOfPages)->Unit(benchmark::kMillisecond);

/// Every page of the full report into a PDF, as Print All does.
void BM_PrintWholeReportToPdf(benchmark::State& st) {
  ProgramState& state = FullReport().state;
  const qt::QtClock clock;
  const std::string pdf = (WorkFolder() / "full.pdf").string();
  for (auto _ : st) {
    const auto surface = qt::QtPageSurface::ForPdf(pdf);
    if (!mnuRptPrint_click(state, *surface, clock)) st.SkipWithError("print failed");
    st.counters["pages"] = surface->PagesPrinted();
  }
}
BENCHMARK(BM_PrintWholeReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(2);

/// One later page on its own, as a page range prints it.
void BM_PrintOnePage(benchmark::State& st) {
  ProgramState& state = FullReport().state;
  const qt::QtClock clock;
  const auto surface = qt::QtPageSurface::ForPdf((WorkFolder() / "page.pdf").string());
  PreparePrinter(state, *surface);
  state.Report.CurrentPage = static_cast<int16_t>(state.Report.PageCount / 2);
  for (auto _ : st) (void)PrintOneByOne(state, *surface, clock);
  surface->EndDoc();
}
BENCHMARK(BM_PrintOnePage)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace earthwork

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
