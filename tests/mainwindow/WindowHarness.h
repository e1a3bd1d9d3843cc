#pragma once

#include <QAction>
#include <QMenu>
#include <cstdlib>
#include <memory>

#include "earfiles/EarFile.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"
#include "printing/qt/QtPageSurface.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

/// The real main window wired to scripted dialogs, a settings file and a
/// PDF printer in a fresh folder.
struct WindowHarness {
  WindowHarness() {
    ::setenv("EARTHWORK_REPORT_DIR", dir.Path("reports").c_str(), 1);
    settings = qt::QtSettings::AtFile(QString::fromStdString(dir.Path("settings.ini")));
    window = std::make_unique<frmMain>(state, view, *settings, clock);
    window->SetPrinterFactory([this](ProgramState&) -> std::unique_ptr<PageSurface> {
      return qt::QtPageSurface::ForPdf(PrintedPdf());
    });
    window->show();
  }

  std::string PrintedPdf() const { return dir.Path("printed.pdf"); }
  ProgramState& State() { return window->State(); }
  ProjectStore& Store() { return window->State().Project; }

  QAction* Action(const char* name) const {
    auto* action = window->findChild<QAction*>(name);
    if (!action) ADD_FAILURE() << "no action " << name;
    return action;
  }
  void Trigger(const char* name) const {
    if (QAction* action = Action(name)) action->trigger();
  }
  template <class T>
  T* Child(const char* name) const {
    auto* child = window->findChild<T*>(name);
    if (!child) ADD_FAILURE() << "no child " << name;
    return child;
  }

  /// A project of `rows` stations 50 ft apart with changing cut and fill,
  /// saved under `name` and opened in the window.
  std::string OpenProject(const std::string& name, int rows) {
    ProjectStore& store = Store();
    store.GroupCount = 1;
    store.CurrentGroup = 0;
    store.Group(0).Name = "Main line";
    store.Group(0).BalanceFactor = "1.15";
    CellTable& cells = store.Group(0).Cells;
    for (int r = 0; r < rows; ++r) {
      const int station = 1000 + 50 * r;
      cells.at(r, 0) = std::to_string(station / 100) + "+" + (station % 100 < 10 ? "0" : "") +
                       std::to_string(station % 100) + ".000";
      cells.at(r, 1) = "-";
      cells.at(r, 2) = std::to_string((r * 37) % 400) + ".00";
      cells.at(r, 3) = "0.00";
      cells.at(r, 4) = std::to_string((r * 53 + 120) % 450) + ".00";
      cells.at(r, 5) = "0.00";
    }
    cells.at(rows, 0) = kEndOfRows;
    const std::string path = dir.Path(name);
    EXPECT_TRUE(SaveEarFile(State(), path));
    window->OpenPath(path);
    return path;
  }

  ScriptedDialogs dialogs;
  MainViewRelay view;
  ProgramState state{dialogs, view};
  TempDir dir;
  std::unique_ptr<qt::QtSettings> settings;
  qt::QtClock clock;
  std::unique_ptr<frmMain> window;
};

inline QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

inline QStringList QTexts(const std::vector<std::string>& texts) {
  QStringList list;
  for (const auto& t : texts) list << Q(t);
  return list;
}

/// The texts of every message box shown, in order.
inline QStringList ShownTexts(const ScriptedDialogs& dialogs) {
  return QTexts(dialogs.Texts());
}

/// The texts of a menu's entries, in order ("-" for a separator).
inline QStringList MenuTexts(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions())
    texts << (action->isSeparator() ? "-" : action->text());
  return texts;
}

}  // namespace earthwork::testing
