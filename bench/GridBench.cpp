// The grid editor on a full group: a key typed, a cell committed, a tab
// switched between two groups of 1800 rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "BenchWindow.h"
#include "commands/GroupCommands.h"
#include "mainwindow/MainFormEditor.h"
#include "mainwindow/StationGrid.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"
#include "project/Format.h"

namespace {

using namespace earthwork;

/// Two groups of 1800 rows, group 0 shown.
struct Window : bench::BenchWindow {
  Window() {
    bench::FillStore(window->State().Project, 2);
    ShowReadProject(window->State(), 0);
    editor = &window->findChild<MainFormEditor*>("MainFormEditor")->Editor();
  }

  GridEditor* editor = nullptr;
};

void BM_TypeKeyInFullGroup(benchmark::State& state) {
  Window w;
  w.window->Grid().SetCursor(kMaxDataRows + 1, Cut);
  for (auto _ : state) {
    w.editor->KeyPress('5');
    w.editor->KeyPress(8);
  }
}
BENCHMARK(BM_TypeKeyInFullGroup)->Unit(benchmark::kMicrosecond);

void BM_EnterInFullGroup(benchmark::State& state) {
  Window w;
  for (auto _ : state) {
    w.window->Grid().SetCursor(kMaxDataRows, Cut);
    w.editor->KeyPress('7');
    w.editor->KeyPress(13);
  }
}
BENCHMARK(BM_EnterInFullGroup)->Unit(benchmark::kMicrosecond);

void BM_SwitchTabFullGroups(benchmark::State& state) {
  Window w;
  int tab = 0;
  for (auto _ : state) {
    tab = 1 - tab;
    TabStripMouseUp(w.window->State(), tab, MouseButton::Left);
  }
}
BENCHMARK(BM_SwitchTabFullGroups)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
