#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <filesystem>
#include <functional>

#include "GridEditorTest.h"
#include "QtTestSupport.h"
#include "WindowHarness.h"
#include "commands/FileCommands.h"
#include "mainwindow/MainFormEditor.h"
#include "mainwindow/StationGrid.h"
#include "mainwindow/frmPreview.h"
#include "project/Format.h"
#include "project/Text.h"
#include "project/WindowState.h"
#include "support/RecordingMainView.h"

namespace earthwork::testing {

namespace {

/// The first place where the window shows something other than the store,
/// or an empty text.
QString WindowDiffersFromStore(WindowHarness& h) {
  const ProgramState& state = h.State();
  const ProjectStore& store = state.Project;
  const QTabBar& tabs = h.window->TabStrip();
  // Tab i shows group i - 1, under the name that is saved and reported.
  if (tabs.count() != store.GroupCount) return QString("%1 tabs").arg(tabs.count());
  for (int g = 0; g < store.GroupCount; ++g) {
    if (tabs.tabText(g) != Q(TabCaption(state, g))) return "tab " + tabs.tabText(g);
    if (!store.LogFileMode && Q(store.Group(g).Name) != tabs.tabText(g)) {
      return "the name of group " + QString::number(g);
    }
  }
  if (tabs.currentIndex() != store.CurrentGroup) {
    return QString("tab %1 selected, group %2 shown")
        .arg(tabs.currentIndex())
        .arg(store.CurrentGroup);
  }
  for (int i = 0; i < 3; ++i) {
    const auto* box = h.window->findChild<QLineEdit*>(QString("txtDescri%1").arg(i));
    if (box->text() != Q(store.HeaderFields[size_t(i)])) return box->objectName();
  }
  // The Save items of the menu and the tool bar agree, and with the mode.
  const QAction* save = h.Action("mnuFileSave");
  const QWidget* button = h.Child<QToolBar>("tbToolBar")->widgetForAction(h.Action("mnuFileSave"));
  if (!button || button->isEnabled() != save->isEnabled() ||
      save->isEnabled() == store.LogFileMode) {
    return "the Save items";
  }
  const std::string file = h.window->windowFilePath().toStdString();
  if (!file.empty() && !Contains(state.Window.Caption, file)) return "the caption";
  if (h.window->isWindowModified() != (store.DataChanged && !store.LogFileMode)) {
    return "the changes marker";
  }
  if (store.LogFileMode) return h.window->Grid().isVisible() ? "the grid over a log" : QString();

  const GroupRecord& group = store.Current();
  const auto* factor = h.Child<QLineEdit>("txtShrinkFactor");
  if (ParseNumber(factor->text().toStdString()) != ParseNumber(group.BalanceFactor)) {
    return "balance factor " + factor->text();
  }
  if (factor->isEnabled() == (group.MeasuredInEmbankment == 1)) return "the balance factor box";
  StationGrid& grid = h.window->Grid();
  const GridEditor& editor = h.window->findChild<MainFormEditor*>()->Editor();
  // Every row, then the empty line for a new one (not yet there while the
  // last line is being typed into).
  const int rows = group.Cells.DataRowCount();
  if (grid.GridRows() != rows + 3 && grid.GridRows() != rows + 2) {
    return QString("%1 grid rows for %2").arg(grid.GridRows()).arg(rows);
  }
  for (int r = 0; r + 2 < grid.GridRows(); ++r) {
    for (int c = 0; c < 6; ++c) {
      if (editor.Editing(r + 2, c)) continue;  // typed, not committed yet
      const QString stored = r == rows ? QString() : Q(Trim(group.Cells.at(r, c)));
      if (grid.CellText(r + 2, c) != stored) {
        return QString("cell %1,%2 shows \"%3\", holds \"%4\"")
            .arg(r)
            .arg(c)
            .arg(grid.CellText(r + 2, c), stored);
      }
    }
  }
  if (!grid.RowFullyVisible(grid.CursorRow())) return "the cursor out of view";
  return {};
}

/// The first place where the file at `path`, read anew, differs from the
/// store, or an empty text.
QString FileDiffersFromStore(WindowHarness& h, const std::string& path) {
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState read(dialogs, view);
  ReadChosenFile(read, path);
  const ProjectStore& a = h.Store();
  const ProjectStore& b = read.Project;
  if (!dialogs.Texts().empty()) return Q(dialogs.Texts().front());
  if (a.GroupCount != b.GroupCount) return "group count";
  if (a.UnitSystem != b.UnitSystem) return "unit system";
  if (a.HeaderFields != b.HeaderFields) return "header fields";
  for (int g = 0; g < a.GroupCount; ++g) {
    const GroupRecord& x = a.Group(g);
    const GroupRecord& y = b.Group(g);
    if (x.Name != y.Name || x.MeasuredInEmbankment != y.MeasuredInEmbankment ||
        ParseNumber(x.BalanceFactor) != ParseNumber(y.BalanceFactor)) {
      return "group " + Q(x.Name);
    }
    if (x.Cells.DataRowCount() != y.Cells.DataRowCount()) return "rows of " + Q(x.Name);
    for (int r = 0; r < x.Cells.DataRowCount(); ++r) {
      for (int c = 0; c < 6; ++c) {
        if (Trim(x.Cells.at(r, c)) != Trim(y.Cells.at(r, c))) {
          return QString("%1 row %2 column %3: \"%4\" saved as \"%5\"")
              .arg(Q(x.Name))
              .arg(r)
              .arg(c)
              .arg(Q(x.Cells.at(r, c)), Q(y.Cells.at(r, c)));
        }
      }
    }
  }
  return {};
}

void TypeCells(WindowHarness& h, const QStringList& texts) {
  for (const QString& text : texts) {
    QTest::keyClicks(&h.window->Grid(), text);
    QTest::keyClick(&h.window->Grid(), Qt::Key_Return);
  }
}

void ClickTab(WindowHarness& h, int index, Qt::MouseButton button = Qt::LeftButton) {
  QTabBar& tabs = h.window->TabStrip();
  QTest::mouseClick(&tabs, button, {}, tabs.tabRect(index).center());
}

void ClosePreviewWhenShown() {
  WhenShown<frmPreview>([](frmPreview& preview) { preview.mnuPreviewExit(); });
}

struct Step {
  const char* name;
  std::function<void(WindowHarness&)> run;
  bool saved = false;  // the project's file must read back as the store
};

std::vector<Step> EditSession(const std::string& path) {
  return {
      {"start-up", [](WindowHarness&) {}},
      {"type rows",
       [](WindowHarness& h) {
         TypeCells(h,
                   {"1000", "bk", "12.5", "", "3", "", "1050", "", "1a5", "", "3+5", "", "1100"});
       }},
      {"typing replaces a filled cell",
       [](WindowHarness& h) {
         h.window->Grid().SetCursor(2, Cut);
         TypeCells(h, {"5"});
       }},
      {"cells left with the mouse and an arrow key",
       [](WindowHarness& h) {
         StationGrid& grid = h.window->Grid();
         grid.SetCursor(2, AddedCut);
         QTest::keyClicks(&grid, "2+1");
         const QRect fill = grid.visualRect(grid.model()->index(0, Fill));
         QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, fill.center());
         QTest::keyClicks(&grid, "7.5");
         QTest::keyClick(&grid, Qt::Key_Left);
       }},
      {"a cell typed into, not yet left",
       [](WindowHarness& h) {
         h.window->Grid().SetCursor(3, Fill);
         QTest::keyClicks(&h.window->Grid(), "4");
       }},
      {"insert a row",
       [](WindowHarness& h) {
         h.window->Grid().SetCursor(3, Station);
         h.Trigger("mnuRowInsert");
       }},
      {"type into the inserted row",
       [](WindowHarness& h) {
         h.window->Grid().SetCursor(3, Cut);
         TypeCells(h, {"4"});
       }},
      {"insert a group",
       [](WindowHarness& h) {
         h.dialogs.inputs = {"Ramp B"};
         h.Trigger("mnuGroupInsert");
       }},
      {"type in the new group",
       [](WindowHarness& h) {
         TypeCells(h, {"500", "sa"});
       }},
      {"rename it",
       [](WindowHarness& h) {
         h.dialogs.inputs = {"Ramp X"};
         h.Trigger("mnuGroupRename");
       }},
      {"the first tab", [](WindowHarness& h) { ClickTab(h, 0); }},
      {"save as",
       [path](WindowHarness& h) {
         h.dialogs.files = {path};
         h.Trigger("mnuFileSaveAs");
       },
       true},
      {"delete the second group",
       [](WindowHarness& h) {
         ClickTab(h, 1);
         h.dialogs.answers = {Answer::Yes};
         h.Trigger("mnuGroupDelete");
       }},
      {"import an EarFile in other units",
       [](WindowHarness& h) {
         h.dialogs.answers = {Answer::No};  // not saved before
         h.dialogs.files = {DataPath("ear/import_two.ear")};
         h.Trigger("mnuFileImport");
         QVERIFY(Contains(h.State().Window.StatusText, "Metric System"));
       }},
      {"a tab of the import", [](WindowHarness& h) { ClickTab(h, 1); }},
      {"save",
       [](WindowHarness& h) {
         h.dialogs.answers = {Answer::Yes};  // replace the file
         h.Trigger("mnuFileSave");
         QCOMPARE(Q(h.State().Window.StatusText), Q("Saved " + h.Store().CurrentFileName));
       },
       true},
      {"reopen",
       [path](WindowHarness& h) {
         h.dialogs.files = {path};
         h.Trigger("mnuFileOpen");
       },
       true},
      {"a project with every kind of cell",
       [](WindowHarness& h) {
         const std::string rich = h.dir.Path("rich.ear");
         std::filesystem::copy_file(DataPath("ear/rich.ear"), rich);
         h.window->OpenPath(rich);
       }},
      {"a long file opened as the command line does",
       [](WindowHarness& h) {
         // Twice: the second time the grid is long already.
         for (int i = 0; i < 2; ++i) {
           h.OpenProject("long.ear", 60);
           QApplication::processEvents();
         }
         QCOMPARE(h.window->Grid().TopRow(), 2);
         QCOMPARE(h.window->Grid().CursorRow(), 2);
       }},
      {"new", [](WindowHarness& h) { h.Trigger("mnuFileNew"); }},
      {"insert a group after new",
       [](WindowHarness& h) {
         h.dialogs.inputs = {"Ramp N"};
         h.Trigger("mnuGroupInsert");
         QCOMPARE(h.window->TabStrip().count(), 2);
       }},
  };
}

std::vector<Step> LogSession(const std::string& log) {
  return {
      {"open a log",
       [log](WindowHarness& h) {
         ClosePreviewWhenShown();
         h.dialogs.files = {log};
         h.Trigger("mnuFileOpen");
       }},
      {"import a further log",
       [](WindowHarness& h) {
         ClosePreviewWhenShown();
         h.dialogs.files = {DataPath("geopak/ramp2m.log")};
         h.Trigger("mnuFileImport");
       }},
      {"right click on the first tab",
       [](WindowHarness& h) {
         // The tab under the pointer is the one the report menu reports.
         int selected = -1;
         WhenShown<QMenu>([&](QMenu& menu) {
           selected = h.window->TabStrip().currentIndex();
           menu.close();
         });
         ClickTab(h, 0, Qt::RightButton);
         QCOMPARE(selected, 0);
         QCOMPARE(h.Store().CurrentGroup, int16_t{0});
       }},
      {"a left click on a tab shows its baseline's report",
       [](WindowHarness& h) {
         ClosePreviewWhenShown();
         ClickTab(h, 1);
         QCOMPARE(Trim(h.State().Report.BaselineName), std::string("RAMP2M"));
       }},
  };
}

}  // namespace

void SessionTest::windowShowsTheStoreAtEveryStep_data() {
  QTest::addColumn<bool>("log");
  QTest::newRow("project") << false;
  QTest::newRow("logs") << true;
}

void SessionTest::windowShowsTheStoreAtEveryStep() {
  QFETCH(bool, log);
  WindowHarness h;
  const std::string path = h.dir.Path("session.ear");
  const std::string logPath = h.dir.Path("ramp1.log");
  std::filesystem::copy_file(DataPath("geopak/ramp1.log"), logPath);
  for (const Step& step : log ? LogSession(logPath) : EditSession(path)) {
    step.run(h);
    const QString where = QString(step.name) + ": ";
    const QString window = WindowDiffersFromStore(h);
    QVERIFY2(window.isEmpty(), qPrintable(where + window));
    if (step.saved) {
      const QString file = FileDiffersFromStore(h, path);
      QVERIFY2(file.isEmpty(), qPrintable(where + file));
    }
    QVERIFY2(h.dialogs.answers.empty() && h.dialogs.inputs.empty() && h.dialogs.files.empty(),
             qPrintable(where + "a question was not asked"));
  }
}

}  // namespace earthwork::testing
