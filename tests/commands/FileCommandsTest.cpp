#include "commands/FileCommands.h"

#include <filesystem>
#include <functional>
#include <map>

#include "commands/GroupCommands.h"
#include "earfiles/EarFile.h"
#include "earfiles/EarTestSupport.h"
#include "project/Text.h"

// Each file of tests/data/commands is one scenario of the File commands:
// a project, the answers and files the user gives, the commands run, and
// every message shown and what the project, the window and the files hold
// afterwards. The words of a scenario are explained in its folder's README.
namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

std::string Joined(const std::vector<std::string>& texts) {
  std::string joined;
  for (const std::string& text : texts) joined += (joined.empty() ? "" : "|") + text;
  return joined;
}

/// The text before the first `at` and the text after it ("" without one).
std::pair<std::string, std::string> Cut(const std::string& text, char at) {
  const size_t i = text.find(at);
  return {text.substr(0, i), i == std::string::npos ? "" : text.substr(i + 1)};
}

class Scenario : public EarTest, public ::testing::WithParamInterface<std::string> {
 protected:
  /// Two groups with rows, changed since the last save, named `fileName`.
  void MakeChangedProject(const std::string& fileName) {
    store.Group(0).Name = "Main line";
    store.Group(0).BalanceFactor = "1.00";
    SetRows(0, {Row{"10+00.000", "-", "10.00", "0.00", "5.00", "0.00"},
                Row{"11+00.000", "-", "20.00", "0.00", "0.00", "0.00"}});
    store.Group(1).Name = "Ramp";
    store.Group(1).BalanceFactor = "1.15";
    SetRows(1, {Row{"20+00.000", "-", "1.00", "0.00", "2.00", "0.00"}});
    store.GroupCount = 2;
    store.CurrentFileName = fileName;
    state.Window.Caption = "EARTHWORK :" + fileName;
    store.DataChanged = true;
  }

  std::string Placed(std::string text) const {
    text = ReplaceAll(text, "{project}", dir.Path("my project.ear"));
    text = ReplaceAll(text, "{dir}", dir.Root().string());
    text = ReplaceAll(text, "{data}", DataPath("").substr(0, DataPath("").size() - 1));
    return ReplaceAll(text, "{report}", state.Report.ReportFileName);
  }

  std::map<std::string, std::function<std::string()>> Getters() {
    const auto flag = [](bool value) { return std::to_string(int(value)); };
    return {
        {"changed", [&] { return std::to_string(store.DataChanged); }},
        {"file", [&] { return store.CurrentFileName; }},
        {"caption", [&] { return state.Window.Caption; }},
        {"logmode", [&] { return std::to_string(store.LogFileMode); }},
        {"groups", [&] { return std::to_string(store.GroupCount); }},
        {"current", [&] { return std::to_string(store.CurrentGroup); }},
        {"version", [&] { return std::to_string(int(store.FileVersion)); }},
        {"unitchosen", [&] { return flag(state.Window.UnitChosen); }},
        {"status", [&] { return state.Window.StatusText; }},
        {"tabs", [&] { return Joined(state.Window.LogTabCaptions); }},
        {"prompts", [&] { return Joined(dialogs.prompts); }},
        {"importitem", [&] { return std::string(ImportItemCaption(store)); }},
        {"lastcall", [&] { return view.calls.empty() ? "" : view.calls.back(); }},
        {"closed", [&] { return flag(std::ranges::count(view.calls, "Close")); }},
        {"previewed", [&] { return flag(std::ranges::count(view.calls, "ShowReportPreview")); }},
        {"closing", [&] { return closing; }},
        {"accumulated", [&] { return std::to_string(int(state.Report.AccumulatedReport)); }},
        {"report",
         [&] {
           return flag(fs::exists(state.Report.ReportFileName) && state.Report.PageCount >= 1);
         }},
        {"filedialogs", [&] { return std::to_string(dialogs.fileDialogs.size()); }},
        {"filter", [&] { return dialogs.fileDialogs.back().Filter; }},
        {"filterindex", [&] { return std::to_string(dialogs.fileDialogs.back().FilterIndex); }},
        {"cancelerror", [&] { return flag(dialogs.fileDialogs.back().CancelError); }},
        {"first0", [&] { return store.Group(0).Cells.at(0, Station); }},
        {"names",
         [&] {
           Texts names;
           for (int g = 0; g < store.GroupCount; ++g) names.push_back(store.Group(g).Name);
           return Joined(names);
         }},
        {"dump", [&] { return StoreText(store) == marked ? "as marked" : StoreText(store); }},
    };
  }

  void Set(const std::string& key, const std::string& value) {
    const int number = std::atoi(value.c_str());
    if (key == "changed") store.DataChanged = static_cast<int16_t>(number);
    if (key == "file") store.CurrentFileName = value;
    if (key == "caption") state.Window.Caption = value;
    if (key == "logmode") store.LogFileMode = static_cast<int16_t>(number);
    if (key == "groups") store.GroupCount = static_cast<int16_t>(number);
    if (key == "current") store.CurrentGroup = static_cast<int16_t>(number);
    if (key == "tabs") state.Window.LogTabCaptions = SplitAt(value + "|", "|");
    if (key == "cancelerror") state.FileDialog.CancelError = number == 1;
    if (key == "logflag") state.Log.Group(0).SectionTable.at(0).Flag = static_cast<int16_t>(number);
    if (key == "balancebox") state.Window.BalanceBox = value;
    if (key.starts_with("name")) store.Group(std::stoi(key.substr(4))).Name = value;
    if (key.starts_with("factor")) store.Group(std::stoi(key.substr(6))).BalanceFactor = value;
  }

  void Do(const std::string& step, const std::string& arg) {
    const auto says = [](Closing c) { return c == Closing::Stays ? "stays" : "goes"; };
    const std::map<std::string, std::function<void()>> steps = {
        {"New", [&] { NewFile(state); }},
        {"Open", [&] { Openfile(state); }},
        {"Save", [&] { SaveFile(state); }},
        {"SaveAs", [&] { SaveAsFile(state); }},
        {"Import", [&] { mnuFileImport(state, ImportItemCaption(store)); }},
        {"Exit", [&] { mnuFileExit(state); }},
        {"AskExit", [&] { closing = says(SaveItBeforeExit(state)); }},
        {"Unload",
         [&] {
           closing = says(Form_QueryUnload(
               state, arg == "menu" ? UnloadMode::ControlMenu : UnloadMode::ProgramCode));
         }},
        {"Read",
         [&] {
           const auto [who, path] = Cut(arg, ' ');
           ReadChosenFile(state, path,
                          who == "Import" ? ReadingCaller::Import : ReadingCaller::Open);
         }},
        {"AcceptName", [&] { EXPECT_EQ(AcceptInputFilename(state, 0), ""); }},
        {"Report",
         [&] {
           PrintPreviewReport(state,
                              arg == "Accumulated" ? ReportKind::Accumulated : ReportKind::Total);
         }},
        // Typed into the Project No. box.
        {"Edit", [&] { store.HeaderFields[1] = "42", store.DataChanged = true; }},
        {"Insert", [&] { mnuGroupInsert(state); }},
        {"Delete", [&] { mnuGroupDelete(state); }},
        {"Rename", [&] { mnuGroupRename(state); }},
    };
    ASSERT_TRUE(steps.contains(step)) << step;
    steps.at(step)();
  }

  std::string marked;
  std::string closing;
};

TEST_P(Scenario, RunsAsWritten) {
  const std::string project = dir.Path("my project.ear");  // a blank in the name on every path
  store.CurrentFileName = "UNTITLED";
  store.Group(0).BalanceFactor = "1.00";
  SetRows(0, {});
  state.Window.Caption = "EARTHWORK :UNTITLED";
  ScopedReportDirectory reports{dir.Path("reports")};
  Texts said;
  std::map<std::string, std::string> kept;  // file bytes at `mark`
  const auto getters = Getters();
  int number = 0;
  for (const std::string& raw :
       SplitAt(ReadBytes(DataPath("commands/" + GetParam() + ".txt")), "\n")) {
    ++number;
    if (raw.empty() || raw[0] == '#') continue;
    const std::string line = Placed(raw);
    SCOPED_TRACE("line " + std::to_string(number) + ": " + raw);
    const auto [verb, rest] = Cut(line, ' ');
    const auto [first, second] = Cut(rest, '|');
    const auto [key, value] = Cut(rest, ' ');
    if (verb == "project") {
      MakeChangedProject(rest);
    } else if (verb == "saved") {  // the project written to {project}, still changed
      MakeChangedProject(project);
      EXPECT_TRUE(SaveEarFile(state, project));
    } else if (verb == "build") {
      Build(std::stoi(rest));
    } else if (verb == "header") {
      store.HeaderFields = {"J. Doe", "P-17", "C-9"};
    } else if (verb == "write") {
      WriteBytes(first, ReplaceAll(second, "\\r\\n", "\r\n") + "\r\n");
    } else if (verb == "folder") {
      fs::create_directories(rest);
    } else if (verb == "copy") {
      fs::copy_file(first, second);
    } else if (verb == "set") {
      Set(key, value);
    } else if (verb == "answers") {
      for (const std::string& answer : SplitAt(rest + " ", " "))
        dialogs.answers.push_back(answer == "Yes"  ? Answer::Yes
                                  : answer == "No" ? Answer::No
                                                   : Answer::Cancel);
    } else if (verb == "files") {
      for (const std::string& file : SplitAt(rest + "|", "|"))
        dialogs.files.push_back(file == "-" ? std::nullopt : std::optional(file));
    } else if (verb == "inputs") {
      for (const std::string& input : SplitAt(rest + "|", "|"))
        dialogs.inputs.push_back(input == "~" ? std::nullopt : std::optional(input));
    } else if (verb == "fresh") {
      Fresh();
      said.clear();
    } else if (verb == "mark") {
      marked = StoreText(store);
      kept[project] = fs::exists(project) ? ReadBytes(project) : "";
    } else if (verb == "do") {
      Do(key, value);
    } else if (verb == "say") {
      said.push_back(rest);
    } else if (verb == "box") {  // buttons, icon and title of message `first`
      const ShownMessage& shown = dialogs.shown.at(std::stoul(first));
      const char* buttons[] = {"Ok", "OkCancel", "YesNo", "YesNoCancel"};
      const char* icons[] = {"None", "Information", "Question", "Exclamation", "Critical"};
      EXPECT_EQ(std::string(buttons[int(shown.buttons)]) + " " + icons[int(shown.icon)] +
                    (shown.title.empty() ? "" : " " + shown.title),
                second);
    } else if (verb == "expect") {
      ASSERT_TRUE(getters.contains(key)) << key;
      EXPECT_EQ(getters.at(key)(), value);
    } else if (verb == "exists" || verb == "missing") {
      EXPECT_EQ(fs::exists(rest), verb == "exists") << rest;
    } else if (verb == "same") {
      EXPECT_EQ(ReadBytes(first), ReadBytes(second));
    } else if (verb == "kept") {
      EXPECT_EQ(ReadBytes(rest), kept[rest]);
    } else if (verb == "holds" || verb == "lacks") {
      EXPECT_EQ(Contains(ReadBytes(first), ReplaceAll(second, "\\r\\n", "\r\n")), verb == "holds");
    } else {
      FAIL() << "unknown word " << verb;
    }
  }
  EXPECT_EQ(dialogs.Texts(), said);
  EXPECT_TRUE(dialogs.answers.empty() && dialogs.files.empty() && dialogs.inputs.empty());
}

std::vector<std::string> Scenarios() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(DataPath("commands")))
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  return names;
}

INSTANTIATE_TEST_SUITE_P(Commands, Scenario, ::testing::ValuesIn(Scenarios()),
                         [](const auto& p) { return ReplaceAll(p.param, "-", "_"); });

}  // namespace
}  // namespace earthwork::testing
