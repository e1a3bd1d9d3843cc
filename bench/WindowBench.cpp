// The main window's side of opening a file: filling the grid with a group,
// reading a full project into the window, and drawing a preview page.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>

#include "earfiles/EarFile.h"
#include "mainwindow/PreviewPage.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"
#include "printing/PagePrint.h"
#include "project/Format.h"
#include "reports/EndAreaReport.h"

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

/// A full store: `groups` groups of 1800 rows 50 ft apart.
void FillStore(ProjectStore& store, int groups) {
  store.GroupCount = static_cast<int16_t>(groups);
  for (int g = 0; g < groups; ++g) {
    GroupRecord& group = store.Group(g);
    group.Name = "Group " + std::to_string(g + 1);
    group.BalanceFactor = "1.15";
    for (int r = 0; r < kMaxDataRows; ++r) {
      group.Cells.at(r, Station) = FormatStation(50.0 * r);
      group.Cells.at(r, Code) = "-";
      group.Cells.at(r, Cut) = FormatArea((r * 37) % 400);
      group.Cells.at(r, AddedCut) = "0.00";
      group.Cells.at(r, Fill) = FormatArea((r * 53 + 120) % 450);
      group.Cells.at(r, AddedFill) = "0.00";
    }
    group.Cells.at(kMaxDataRows, Station) = kEndOfRows;
  }
}

struct Window {
  Window() {
    ::setenv("EARTHWORK_REPORT_DIR", QDir(dir.path()).filePath("reports").toLocal8Bit(), 1);
    settings = qt::QtSettings::AtFile(QDir(dir.path()).filePath("settings.ini"));
    window = std::make_unique<frmMain>(dialogs, *settings, clock);
  }
  QTemporaryDir dir;
  QuietDialogs dialogs;
  std::unique_ptr<qt::QtSettings> settings;
  qt::QtClock clock;
  std::unique_ptr<frmMain> window;
};

void BM_FillMainFormFullGroup(benchmark::State& state) {
  Window w;
  FillStore(w.window->State().Project, 1);
  for (auto _ : state) {
    w.window->ResetMainForm();
    w.window->FillMainForm();
  }
}
BENCHMARK(BM_FillMainFormFullGroup)->Unit(benchmark::kMillisecond);

void BM_OpenFullProject(benchmark::State& state) {
  Window w;
  FillStore(w.window->State().Project, kGroupSlots);
  const std::string path = QDir(w.dir.path()).filePath("full.ear").toStdString();
  SaveEarFile(w.window->State(), path);
  for (auto _ : state) w.window->OpenPath(path);
}
BENCHMARK(BM_OpenFullProject)->Unit(benchmark::kMillisecond);

void BM_PreviewPage(benchmark::State& state) {
  Window w;
  ProgramState& program = w.window->State();
  FillStore(program.Project, 1);
  program.Project.CurrentFileName = QDir(w.dir.path()).filePath("full.ear").toStdString();
  CreateTempRptFile(program);
  PreviewPage page;
  program.Report.PageWidth = 97;
  program.Report.PageHeight = 63;
  program.Report.CurrentPage = static_cast<int16_t>(program.Report.PageCount / 2);
  for (auto _ : state) {
    page.Clear();
    PrintOneByOne(program, page, w.clock);
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
