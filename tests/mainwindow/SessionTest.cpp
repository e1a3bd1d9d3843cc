#include <QLineEdit>
#include <QMenu>
#include <QToolBar>
#include <filesystem>

#include "WindowHarness.h"
#include "commands/FileCommands.h"
#include "mainwindow/MainFormEditor.h"
#include "mainwindow/frmPreview.h"
#include "project/Format.h"
#include "project/Text.h"
#include "project/WindowState.h"
#include "support/RecordingMainView.h"

namespace earthwork::testing {

namespace {

/// The saved part of a project, one line each.
QStringList Saved(const ProjectStore& store) {
  QStringList lines{QString("%1 groups, unit %2").arg(store.GroupCount).arg(int(store.UnitSystem))};
  for (const std::string& field : store.HeaderFields) lines << Q(field);
  for (int g = 0; g < store.GroupCount; ++g) {
    const GroupRecord& group = store.Group(g);
    lines << Q(group.Name) + QString(" %1 %2")
                                 .arg(group.MeasuredInEmbankment)
                                 .arg(ParseNumber(group.BalanceFactor).value_or(-1));
    for (int r = 0; r < group.Cells.DataRowCount(); ++r) {
      for (int c = 0; c < 6; ++c) lines << Q(Trim(group.Cells.at(r, c)));
    }
  }
  return lines;
}

/// The window shows what the store holds: tabs, boxes, every cell and the
/// empty line for a new row (not yet there while the last line is typed into).
void WindowShowsTheStore(WindowHarness& h) {
  const ProgramState& state = h.State();
  const ProjectStore& store = state.Project;
  const QTabBar& tabs = h.window->TabStrip();
  QStringList shown{QString::number(tabs.currentIndex())},
      held{QString::number(store.CurrentGroup)};
  // Tab i shows group i, under the name that is saved and reported.
  for (int g = 0; g < tabs.count(); ++g) shown << tabs.tabText(g);
  for (int g = 0; g < store.GroupCount; ++g) {
    held << Q(store.LogFileMode ? TabCaption(state, g) : store.Group(g).Name);
    QCOMPARE(Q(TabCaption(state, g)), held.back());
  }
  for (int i = 0; i < 3; ++i) {
    shown << h.Child<QLineEdit>(qPrintable(QString("txtDescri%1").arg(i)))->text();
    held << Q(store.HeaderFields[size_t(i)]);
  }
  // The Save items of the menu and the tool bar agree, and with the mode.
  auto* save = h.Child<QAction>("mnuFileSave");
  const QWidget* button = h.Child<QToolBar>("tbToolBar")->widgetForAction(save);
  QVERIFY(button && button->isEnabled() == save->isEnabled());
  QVERIFY(save->isEnabled() != bool(store.LogFileMode));
  QVERIFY(Contains(state.Window.Caption, h.window->windowFilePath().toStdString()));
  QCOMPARE(h.window->isWindowModified(), store.DataChanged && !store.LogFileMode);
  StationGrid& grid = h.window->Grid();
  QCOMPARE(grid.isVisible(), !store.LogFileMode);
  if (!store.LogFileMode) {
    const GroupRecord& group = store.Current();
    const auto* factor = h.Child<QLineEdit>("txtShrinkFactor");
    shown << QString::number(ParseNumber(factor->text().toStdString()).value_or(-1))
          << QString::number(!factor->isEnabled());
    held << QString::number(ParseNumber(group.BalanceFactor).value_or(-1))
         << QString::number(group.MeasuredInEmbankment);
    const GridEditor& editor = h.window->findChild<MainFormEditor*>()->Editor();
    const int rows = group.Cells.DataRowCount();
    QVERIFY2(grid.GridRows() == rows + 3 || grid.GridRows() == rows + 2, "the grid's rows");
    for (int r = 0; r + 2 < grid.GridRows(); ++r) {
      for (int c = 0; c < 6; ++c) {
        if (editor.Editing(r + 2, c)) continue;  // typed, not committed yet
        shown << grid.CellText(r + 2, c);
        held << (r == rows ? QString() : Q(Trim(group.Cells.at(r, c))));
      }
    }
    QVERIFY2(grid.RowFullyVisible(grid.CursorRow()), "the cursor out of view");
  }
  QCOMPARE(shown, held);
}

using Action = std::function<void(WindowHarness&)>;

/// One step of a session: keys played on the grid, something done, a
/// command triggered with its dialogs' answers, then what else must hold.
struct Step {
  const char* name;
  QString keys = {};
  Action before = nullptr;
  const char* command = nullptr;
  std::deque<Answer> answers = {};
  std::deque<std::optional<std::string>> inputs = {}, files = {};
  Action after = nullptr;
  bool saved = false;  // the project's file must read back as the store
};

void ClosePreviewWhenShown(WindowHarness&) {
  WhenShown<frmPreview>([](frmPreview& preview) { preview.mnuPreviewExit(); });
}

std::vector<Step> EditSession(const std::string& path) {
  const auto tab = [](int i) { return [i](WindowHarness& h) { h.ClickTab(i); }; };
  return {
      {.name = "start-up"},
      {.name = "type rows",
       .keys = "1000{Enter}bk{Enter}12.5{Enter}{Enter}3{Enter}{Enter}1050{Enter}{Enter}1a5{Enter}"
               "{Enter}3+5{Enter}{Enter}1100{Enter}"},
      {.name = "typing replaces a filled cell", .keys = "{2,2}5{Enter}"},
      {.name = "cells left with the mouse and an arrow key", .keys = "{2,3}2+1{*2,4}7.5{Left}"},
      {.name = "a cell typed into, not yet left", .keys = "{3,4}4"},
      {.name = "insert a row", .keys = "{3,0}", .command = "mnuRowInsert"},
      {.name = "type into the inserted row", .keys = "{3,2}4{Enter}"},
      {.name = "insert a group", .command = "mnuGroupInsert", .inputs = {"Ramp B"}},
      {.name = "type in the new group", .keys = "500{Enter}sa{Enter}"},
      {.name = "rename it", .command = "mnuGroupRename", .inputs = {"Ramp X"}},
      {.name = "the first tab", .before = tab(0)},
      {.name = "save as", .command = "mnuFileSaveAs", .files = {path}, .saved = true},
      {.name = "delete the second group",
       .before = tab(1),
       .command = "mnuGroupDelete",
       .answers = {Answer::Yes}},
      {.name = "import an EarFile in other units",
       .command = "mnuFileImport",
       .answers = {Answer::No},  // not saved before
       .files = {DataPath("ear/import_two.ear")},
       .after =
           [](WindowHarness& h) {
             QVERIFY(Contains(h.State().Window.StatusText, "Metric System"));
           }},
      {.name = "a tab of the import", .before = tab(1)},
      {.name = "save",
       .command = "mnuFileSave",
       .answers = {Answer::Yes},  // replace the file
       .after =
           [](WindowHarness& h) {
             QCOMPARE(Q(h.State().Window.StatusText), Q("Saved " + h.Store().CurrentFileName));
           },
       .saved = true},
      {.name = "reopen", .command = "mnuFileOpen", .files = {path}, .saved = true},
      {.name = "a project with every kind of cell",
       .before =
           [](WindowHarness& h) {
             std::filesystem::copy_file(DataPath("ear/rich.ear"), h.dir.Path("rich.ear"));
             h.window->OpenPath(h.dir.Path("rich.ear"));
           }},
      {.name = "a long file opened as the command line does",
       .before =
           [](WindowHarness& h) {
             for (int i = 0; i < 2; ++i) {  // the second time the grid is long already
               h.OpenProject("long.ear", 60);
               QApplication::processEvents();
             }
           },
       .after =
           [](WindowHarness& h) {
             QCOMPARE(h.window->Grid().TopRow(), 2);
             QCOMPARE(h.window->Grid().CursorRow(), 2);
           }},
      {.name = "new", .command = "mnuFileNew"},
      {.name = "insert a group after new",
       .command = "mnuGroupInsert",
       .inputs = {"Ramp N"},
       .after = [](WindowHarness& h) { QCOMPARE(h.window->TabStrip().count(), 2); }},
  };
}

std::vector<Step> LogSession(const std::string& log) {
  return {
      {.name = "open a log",
       .before = ClosePreviewWhenShown,
       .command = "mnuFileOpen",
       .files = {log}},
      {.name = "import a further log",
       .before = ClosePreviewWhenShown,
       .command = "mnuFileImport",
       .files = {DataPath("geopak/ramp2m.log")}},
      {.name = "right click on the first tab",
       .before =
           [](WindowHarness& h) {
             // The tab under the pointer is the one the report menu reports.
             int selected = -1;
             WhenShown<QMenu>([&](QMenu& menu) {
               selected = h.window->TabStrip().currentIndex();
               menu.close();
             });
             h.ClickTab(0, Qt::RightButton);
             QCOMPARE(selected, 0);
             QCOMPARE(h.Store().CurrentGroup, int16_t{0});
           }},
      {.name = "a left click on a tab shows its baseline's report",
       .before =
           [](WindowHarness& h) {
             ClosePreviewWhenShown(h);
             h.ClickTab(1);
             QCOMPARE(Trim(h.State().Report.BaselineName), std::string("RAMP2M"));
           }},
  };
}

}  // namespace

/// A whole session in the real window, step by step: every tab, box and
/// cell shows what the store holds, and a saved file reads back as the store.
class SessionTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void windowShowsTheStoreAtEveryStep_data() {
    QTest::addColumn<bool>("log");
    QTest::newRow("project") << false;
    QTest::newRow("logs") << true;
  }
  void windowShowsTheStoreAtEveryStep() {
    QFETCH(bool, log);
    WindowHarness h;
    const std::string path = h.dir.Path("session.ear");
    const std::string logPath = h.dir.Path("ramp1.log");
    std::filesystem::copy_file(DataPath("geopak/ramp1.log"), logPath);
    for (const Step& step : log ? LogSession(logPath) : EditSession(path)) {
      Play(h.window->Grid(), step.keys);
      if (step.before) step.before(h);
      h.dialogs.answers = step.answers;
      h.dialogs.inputs = step.inputs;
      h.dialogs.files = step.files;
      if (step.command) h.Trigger(step.command);
      if (step.after) step.after(h);
      WindowShowsTheStore(h);
      if (step.saved) {  // the file, read anew, holds what the store holds
        ScriptedDialogs dialogs;
        RecordingMainView view;
        ProgramState read(dialogs, view);
        ReadChosenFile(read, path);
        QCOMPARE(QTexts(dialogs.Texts()), QStringList{});
        QCOMPARE(Saved(read.Project), Saved(h.Store()));
      }
      QVERIFY(h.dialogs.answers.empty() && h.dialogs.inputs.empty() && h.dialogs.files.empty());
      if (QTest::currentTestFailed()) QFAIL(step.name);
    }
  }
};

const bool kSessionTest = Register<SessionTest>();

}  // namespace earthwork::testing

#include "SessionTest.moc"
