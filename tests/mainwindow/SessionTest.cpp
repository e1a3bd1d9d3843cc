#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <filesystem>

#include "WindowHarness.h"
#include "commands/FileCommands.h"
#include "mainwindow/MainFormEditor.h"
#include "project/Format.h"
#include "project/Text.h"
#include "project/WindowState.h"
#include "support/RecordingMainView.h"
#include "support/StoreRows.h"

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
  QVERIFY(h.Child<QAction>("mnuFileSave")->isEnabled() != bool(store.LogFileMode));
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

// clang-format off
using Check = std::function<void(WindowHarness&)>;

/// One step of a session: the dialogs' answers (Yes, No, Cancel; "=text"
/// for an input box, "~" cancels it; "@path" for a file dialog), keys and
/// commands played on the window, then what else must hold.
struct Step {
  const char* name;
  std::vector<std::string> script;
  QString keys;
  Check check = nullptr;
  bool saved = false;  // the project's file must read back as the store
};

auto GroupOf(const GroupRecord& g) {
  return std::tuple(g.Name, g.BalanceFactor, g.MeasuredInEmbankment, RowsOf(g));
}

/// There are `groups`, the one shown is `name` (a new, empty one unless
/// told) and the only prompt was `prompt`.
Check Named(int16_t groups, const std::string& name, const QString& prompt, bool empty = true) {
  return [=](WindowHarness& h) {
    QCOMPARE(std::pair(h.Store().GroupCount, h.Store().Current().Name), std::pair(groups, name));
    QCOMPARE(QTexts(h.dialogs.prompts), QStringList{prompt});
    if (empty) QVERIFY(GroupOf(h.Store().Current()) == std::tuple(name, std::string("1"), int16_t{0}, std::vector<Row>{}));
  };
}

/// The unit chosen with its button: the box gives way to a label, the unit
/// row of the grid names the units, and typed text stays unsaved.
Check Unit(const char* button, int system, const char* volume) {
  return [=](WindowHarness& h) {
    QTest::mouseClick(h.Child<QRadioButton>(button), Qt::LeftButton);
    QCOMPARE(int(h.Store().UnitSystem), system);
    QVERIFY(h.Store().DataChanged);
    QVERIFY(!h.Child<QGroupBox>("fraUnits")->isVisible() && h.Child<QLabel>("Label5")->isVisible());
    QCOMPARE(h.Child<QLabel>("Label5")->text(), h.Child<QRadioButton>(button)->text());
    QCOMPARE(h.window->Grid().CellText(1, AddedCut), QString(volume));
  };
}

QLineEdit& Factor(WindowHarness& h) { return *h.Child<QLineEdit>("txtShrinkFactor"); }
void ClosePreviewWhenShown() { WhenShown<frmPreview>([](frmPreview& p) { p.mnuPreviewExit(); }); }

const QString kNameNew = "NAME THE GROUP or FILE-TAB(WHICH WILL BE SAVED IN THE FILE).|NAME FILE-TAB|EarthWork ";
const QString kRename = "Change File-Tab Name|CHANGE FILE-TAB NAME|NEW NAME ";
const QString kRenameOnly = "Re-Name Default File-Tab|RE-NAME FILE-TAB|Earthwork ";
const QString kDelete = "Do you wish to delete the selected group ? ";
const char* kLong = "ABCDEFGHIJKLMNOPQRST";

std::vector<Step> EditSession(const std::string& path) {
  return {
      {"start-up: an empty untitled project, no unit yet", {}, "", [](WindowHarness& h) {
         QVERIFY(h.window->windowTitle().startsWith("Untitled") && !h.Store().DataChanged);
         QCOMPARE(h.Store().Group(0).BalanceFactor, std::string("1.00"));
         QVERIFY(h.Child<QGroupBox>("fraUnits")->isVisible() && !h.Child<QLabel>("Label5")->isVisible());
         QVERIFY(!h.Child<QPlainTextEdit>("txtLogHelp")->isVisible());
       }},
      {"type rows", {}, "{2,0}1000{Enter}bk{Enter}12.5{Enter}{Enter}3{Enter}{Enter}1050{Enter}{Enter}"
                        "1a5{Enter}{Enter}3+5{Enter}{Enter}1100{Enter}"},
      {"English units", {}, "", Unit("optEnglish", 0, "Cu. Yds.")},
      {"cells left with the mouse and an arrow key", {}, "{2,3}2+1{*2,4}7.5{Left}"},
      {"a cell typed into, not yet left", {}, "{3,4}4"},
      {"insert a row", {}, "{3,0}{!mnuRowInsert}"},
      {"type into the inserted row", {}, "{3,2}4{Enter}"},
      {"insert a group: the name is cut to 20", {"=ABCDEFGHIJKLMNOPQRSTUVWXY"}, "{!mnuGroupInsert}",
       Named(2, kLong, kNameNew)},
      {"insert cancelled", {"~"}, "{!mnuGroupInsert}", Named(2, kLong, kNameNew)},
      {"insert with no name", {"="}, "{!mnuGroupInsert}", Named(2, kLong, kNameNew)},
      {"type in the new group only", {}, "500{Enter}sa{Enter}", [](WindowHarness& h) {
         QCOMPARE(h.Store().Group(1).Cells.at(0, Station), std::string("05+00.000"));
         QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 4);
       }},
      {"rename it", {"=Ramp X"}, "{!mnuGroupRename}", Named(2, "Ramp X", kRename, false)},
      {"rename cancelled", {"~"}, "{!mnuGroupRename}", Named(2, "Ramp X", kRename, false)},
      {"a balance factor typed", {}, "{tab0}", [](WindowHarness& h) {
         Factor(h).clear();
         QTest::keyClicks(&Factor(h), "1.5");
         QCOMPARE(h.Store().Current().BalanceFactor, std::string("1.50"));
         QVERIFY(h.Store().DataChanged);
       }},
      {"save as", {"@" + path}, "{!mnuFileSaveAs}", nullptr, true},
      {"the same balance factor again changes nothing", {}, "", [](WindowHarness& h) {
         Factor(h).end(false);
         QTest::keyClicks(&Factor(h), "0");
         QCOMPARE(Factor(h).text(), QString("1.50"));
         QVERIFY(!h.Store().DataChanged);
       }},
      {"measured in embankment: the factor is 1", {}, "", [](WindowHarness& h) {
         QTest::mouseClick(h.Child<QCheckBox>("chkEmbankment"), Qt::LeftButton);
         QCOMPARE(Factor(h).text(), QString("1.000"));
         QCOMPARE(std::pair(h.Store().Current().BalanceFactor, h.Store().Current().MeasuredInEmbankment), std::pair(std::string("1.00"), int16_t{1}));
       }},
      {"a factor that is not a number is refused as the box is left", {}, "", [](WindowHarness& h) {
         QTest::mouseClick(h.Child<QCheckBox>("chkEmbankment"), Qt::LeftButton);
         QApplication::setActiveWindow(h.window.get());
         Factor(h).setFocus();
         Factor(h).selectAll();
         QTest::keyClicks(&Factor(h), "1,25");
         h.Child<QLineEdit>("txtDescri0")->setFocus();
         QCOMPARE(QTexts(h.dialogs.Texts()), QStringList{"The balance factor must be a number, such as 1.25: \"1,25\" was not taken."});
         QCOMPARE(Factor(h).text(), QString("1.000"));  // as it was before
         QCOMPARE(std::pair(h.Store().Current().BalanceFactor, h.Store().Current().MeasuredInEmbankment), std::pair(std::string("1.00"), int16_t{0}));
       }},
      {"delete declined", {"No"}, "{tab1}{!mnuGroupDelete}", [](WindowHarness& h) {
         QCOMPARE(QTexts(h.dialogs.Texts()), (QStringList{kDelete, "You have selected no to delete the group"}));
         QVERIFY(h.dialogs.shown[0].defaultButton == Answer::No);  // Enter alone keeps the group
         QCOMPARE(h.Store().GroupCount, int16_t{2});
       }},
      {"delete the second group", {"Yes"}, "{!mnuGroupDelete}", [](WindowHarness& h) {
         QCOMPARE(QTexts(h.dialogs.Texts()), QStringList{kDelete});
         QCOMPARE(h.dialogs.shown[0].buttons, Buttons::YesNo);
         QCOMPARE(h.Store().GroupCount, int16_t{1});
       }},
      {"import an EarFile in other units, not saved before", {"No", "@" + DataPath("ear/import_two.ear")},
       "{!mnuFileImport}", [](WindowHarness& h) { QVERIFY(Contains(h.State().Window.StatusText, "Metric System")); }},
      {"an inserted row in the third group", {}, "{tab2}{2,0}{!mnuRowInsert}",
       [](WindowHarness& h) { QCOMPARE(h.Store().Group(2).Cells.DataRowCount(), 2); }},
      {"delete a middle group: the next moves down, its empty row too", {"Yes"}, "{tab1}", [](WindowHarness& h) {
         const auto first = GroupOf(h.Store().Group(0)), third = GroupOf(h.Store().Group(2));
         Play(*h.window, "{!mnuGroupDelete}");
         QVERIFY(GroupOf(h.Store().Group(0)) == first && GroupOf(h.Store().Group(1)) == third);
         QCOMPARE(h.Store().GroupCount, int16_t{2});
         QCOMPARE(h.Store().Group(2).Cells.at(0, Station), kEndOfRows);
         QCOMPARE(h.Store().CurrentGroup, int16_t{0});  // the first tab is shown
       }},
      {"save, replacing the file", {"Yes"}, "{tab1}{!mnuFileSave}", [](WindowHarness& h) {
         QCOMPARE(Q(h.State().Window.StatusText), Q("Saved " + h.Store().CurrentFileName));
       }, true},
      {"reopen", {"@" + path}, "{!mnuFileOpen}", nullptr, true},
      {"a project with every kind of cell", {}, "", [](WindowHarness& h) {
         std::filesystem::copy_file(DataPath("ear/rich.ear"), h.dir.Path("rich.ear"));
         h.window->OpenPath(h.dir.Path("rich.ear"));
       }},
      {"a long file opened as the command line does, twice", {}, "", [](WindowHarness& h) {
         for (int i = 0; i < 2; ++i) {  // the second time the grid is long already
           h.OpenProject("long.ear", 60);
           QApplication::processEvents();
         }
         QCOMPARE(std::pair(h.window->Grid().TopRow(), h.window->Grid().CursorRow()), std::pair(2, 2));
       }},
      {"new, then a row", {}, "{!mnuFileNew}1000{Enter}"},
      {"metric units", {}, "", Unit("optMetric", 1, "Cu. m.")},
      {"delete the only group, no new name: the rows stay", {"Yes", "~"}, "{!mnuGroupDelete}",
       [](WindowHarness& h) { QCOMPARE(h.Store().Current().Cells.DataRowCount(), 1); }},
      {"rename the only group: cut to 20", {"=Twenty-five characters!!"}, "{!mnuGroupRename}",
       Named(1, "Twenty-five characte", kRenameOnly, false)},
      {"rename the only group, no name", {"="}, "{!mnuGroupRename}", Named(1, "Twenty-five characte", kRenameOnly, false)},
      {"delete the only group, a new name: cleared", {"Yes", "=Fresh start"}, "{!mnuGroupDelete}",
       Named(1, "Fresh start", kRenameOnly)},
      {"insert a group after new", {"=Ramp N"}, "{!mnuGroupInsert}", Named(2, "Ramp N", kNameNew)},
      {"no room for a 27th group", {}, "", [](WindowHarness& h) {
         for (int g = 2; g < kGroupSlots; ++g) {
           h.dialogs.inputs = {"G" + std::to_string(g)};
           h.Trigger("mnuGroupInsert");
         }
         h.Trigger("mnuGroupInsert");  // asks for no name
         QCOMPARE(QTexts(h.dialogs.Texts()), QStringList{"A project holds at most 26 groups. Delete a group before adding another."});
         QCOMPARE(h.Store().GroupCount, int16_t{26});
       }},
  };
}

std::vector<Step> LogSession(const std::string& log) {
  return {
      {"open a log", {"@" + log}, "", [](WindowHarness& h) { ClosePreviewWhenShown(); h.Trigger("mnuFileOpen"); }},
      {"import a further log", {"@" + DataPath("geopak/ramp2m.log")}, "", [](WindowHarness& h) {
         ClosePreviewWhenShown();
         h.Trigger("mnuFileImport");
       }},
      {"a right click on the first tab: its report's menu", {}, "", [](WindowHarness& h) {
         int selected = -1;
         WhenShown<QMenu>([&](QMenu& menu) { selected = h.window->TabStrip().currentIndex(); menu.close(); });
         QTest::mouseClick(&h.window->TabStrip(), Qt::RightButton, {}, h.window->TabStrip().tabRect(0).center());
         QCOMPARE(std::pair(selected, int(h.Store().CurrentGroup)), std::pair(0, 0));
       }},
      {"a left click on a tab shows its baseline's report", {}, "", [](WindowHarness& h) {
         ClosePreviewWhenShown();
         Play(*h.window, "{tab1}");
         QCOMPARE(Trim(h.State().Report.BaselineName), std::string("RAMP2M"));
       }},
  };
}
// clang-format on

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
    const std::string path = h.dir.Path("session.ear"), logPath = h.dir.Path("ramp1.log");
    std::filesystem::copy_file(DataPath("geopak/ramp1.log"), logPath);
    for (const Step& step : log ? LogSession(logPath) : EditSession(path)) {
      h.dialogs.shown.clear();
      h.dialogs.prompts.clear();
      for (const std::string& s : step.script) {
        if (s[0] == '=' || s[0] == '~')
          h.dialogs.inputs.push_back(s[0] == '=' ? std::optional(s.substr(1)) : std::nullopt);
        if (s[0] == '@') h.dialogs.files.push_back(s.substr(1));
        if (s[0] != '=' && s[0] != '~' && s[0] != '@')
          h.dialogs.answers.push_back(s == "Yes"  ? Answer::Yes
                                      : s == "No" ? Answer::No
                                                  : Answer::Cancel);
      }
      Play(*h.window, step.keys);
      if (step.check) step.check(h);
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
