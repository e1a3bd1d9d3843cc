#pragma once

// What the window benchmarks share: dialogs that never wait, a full store
// and the real main window over a settings file in a temporary folder.
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>

#include "BenchRows.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"

namespace earthwork::bench {

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
inline void FillStore(ProjectStore& store, int groups) {
  store.GroupCount = static_cast<int16_t>(groups);
  for (int g = 0; g < groups; ++g) {
    GroupRecord& group = store.Group(g);
    group.Name = "Group " + std::to_string(g + 1);
    FillPlainGroup(group);
  }
}

/// The main window with its reports in the temporary folder.
struct BenchWindow {
  BenchWindow() {
    ::setenv("EARTHWORK_REPORT_DIR", QDir(dir.path()).filePath("reports").toLocal8Bit(), 1);
    settings = qt::QtSettings::AtFile(QDir(dir.path()).filePath("settings.ini"));
    window = std::make_unique<frmMain>(state, view, *settings, clock);
  }
  QTemporaryDir dir;
  QuietDialogs dialogs;
  MainViewRelay view;
  ProgramState state{dialogs, view};
  std::unique_ptr<qt::QtSettings> settings;
  qt::QtClock clock;
  std::unique_ptr<frmMain> window;
};

}  // namespace earthwork::bench
