// The main window's side of opening a file: filling the grid with a group,
// reading a full project into the window, and drawing a preview page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "BenchWindow.h"
#include "earfiles/EarFile.h"
#include "mainwindow/PreviewPage.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"
#include "printing/PagePrint.h"
#include "project/Format.h"
#include "reports/EndAreaReport.h"

namespace {

using namespace earthwork;

using Window = bench::BenchWindow;
using bench::FillStore;

void BM_FillMainFormFullGroup(benchmark::State& state) {
  Window w;
  FillStore(w.window->State().Project, 1);
  for (auto _ : state) w.window->GroupShown();
}
BENCHMARK(BM_FillMainFormFullGroup)->Unit(benchmark::kMillisecond);

void BM_OpenFullProject(benchmark::State& state) {
  Window w;
  FillStore(w.window->State().Project, kGroupSlots);
  const std::string path = QDir(w.dir.path()).filePath("full.ear").toStdString();
  (void)SaveEarFile(w.window->State(), path);
  for (auto _ : state) w.window->OpenPath(path);
}
BENCHMARK(BM_OpenFullProject)->Unit(benchmark::kMillisecond);

void BM_PreviewPage(benchmark::State& state) {
  Window w;
  ProgramState& program = w.window->State();
  FillStore(program.Project, 1);
  program.Project.CurrentFileName = QDir(w.dir.path()).filePath("full.ear").toStdString();
  (void)CreateTempRptFile(program);
  PreviewPage page;
  program.Report.PageWidth = 97;
  program.Report.PageHeight = 63;
  program.Report.CurrentPage = static_cast<int16_t>(program.Report.PageCount / 2);
  for (auto _ : state) {
    page.Clear();
    (void)PrintOneByOne(program, page, w.clock);
  }
}
BENCHMARK(BM_PreviewPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
