// The grid editor on a full group: a key typed, a cell committed, a tab
// switched between two groups of 1800 rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "mainwindow/GroupCommands.h"
#include "mainwindow/MainFormEditor.h"
#include "mainwindow/StationGrid.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"
#include "project/Format.h"

namespace {

using namespace earthwork;

/// Dialogs that answer every question with its default and print nothing.
class QuietDialogs : public Dialogs {
 public:
  Answer MessageBox(const std::string&, Buttons, Icon, const std::string&,
                    std::optional<Answer> defaultButton) override {
    return defaultButton.value_or(Answer::Ok);
  }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> OpenFileDialog(const FileDialogSettings&) override {
    return std::nullopt;
  }
  std::optional<std::string> SaveFileDialog(const FileDialogSettings&) override {
    return std::nullopt;
  }
};

/// Two groups of 1800 rows, group 0 shown.
struct Window : GroupWindow {
  Window() {
    settings = qt::QtSettings::AtFile(QDir(dir.path()).filePath("settings.ini"));
    window = std::make_unique<frmMain>(dialogs, *settings, clock);
    ProjectStore& store = window->State().Project;
    store.GroupCount = 2;
    for (int g = 0; g < 2; ++g) {
      GroupRecord& group = store.Group(g);
      group.BalanceFactor = "1.15";
      for (int r = 0; r < kMaxDataRows; ++r) {
        group.Cells.at(r, Station) = FormatStation(50.0 * r);
        group.Cells.at(r, Code) = "-";
        for (int c = Cut; c <= AddedFill; ++c) group.Cells.at(r, c) = FormatArea(r % 300);
      }
      group.Cells.at(kMaxDataRows, Station) = kEndOfRows;
    }
    window->UpDateGroupTab();
    window->FillMainForm();
    editor = &window->findChild<MainFormEditor*>("MainFormEditor")->Editor();
  }
  int SelectedTab() const override { return 0; }
  void SelectTab(int) override {}
  void InsertTab(int, const std::string&) override {}
  void RemoveTab(int) override {}
  void SetEmbankmentBox(bool) override {}
  void PopupReportMenu() override {}

  QTemporaryDir dir;
  QuietDialogs dialogs;
  std::unique_ptr<qt::QtSettings> settings;
  qt::QtClock clock;
  std::unique_ptr<frmMain> window;
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
    TabStripMouseUp(w.window->State(), w, tab, MouseButton::Left);
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
