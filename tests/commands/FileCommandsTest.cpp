#include "commands/FileCommands.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <gmock/gmock.h>

#include "commands/GroupCommands.h"
#include "earfiles/EarFile.h"
#include "earfiles/EarTestSupport.h"
#include "project/Text.h"

namespace earthwork::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Files = std::deque<std::optional<std::string>>;

const std::optional<std::string> kCancel = std::nullopt;  // a file dialog cancelled
const std::string kNoFile = "NO FILE IS SELECTED";

bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

bool Called(const RecordingMainView& view, const std::string& call) {
  return std::find(view.calls.begin(), view.calls.end(), call) != view.calls.end();
}

std::string Saved(const std::string& path) {
  return "FILE : " + path + " IS SAVED SUCCESSFULLY";
}

std::string Overwrite(const std::string& path) {
  return " OVERWRITE EXISTING FILE " + path + " ?";
}

/// A window and project as the program starts them: one empty group, no
/// file yet.
class FileCommandsTest : public EarTest {
 protected:
  void SetUp() override {
    store.CurrentFileName = "UNTITLED";
    store.Group(0).BalanceFactor = "1.00";
    SetRows(0, {});
    state.Window.Caption = "EARTHWORK :UNTITLED";
    path = dir.Path("my project.ear");  // a blank in the name on every path
  }

  /// Two groups with rows, changed since the last save.
  void MakeChangedProject(const std::string& fileName = "UNTITLED") {
    store.Group(0).Name = "Main line";
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

  /// The project written to `path` as the program writes it, still changed.
  std::string SavedProject() {
    MakeChangedProject(path);
    EXPECT_TRUE(SaveEarFile(state, path));
    return ReadBytes(path);
  }

  /// A copy of the GEOPAK sample log, opened.
  std::string OpenLog() {
    const std::string log = dir.Path("ramp1.log");
    std::filesystem::copy_file(DataPath("geopak/ramp1.log"), log);
    dialogs.files = {log};
    Openfile(state);
    return log;
  }

  ScopedReportDirectory reports{dir.Path("reports")};
  std::string path;
};

// ---- Save and Save As ---------------------------------------------------

TEST_F(FileCommandsTest, SaveAsksWhatItMust) {
  const std::string other = dir.Path("other.ear");
  struct Case {
    const char* name;
    bool named;  // `path` exists and is the project's file
    int16_t changed;
    std::deque<Answer> answers;
    Files files;
    Texts texts;         // "@" is `path`, "&" other.ear
    std::string target;  // the file name afterwards
  };
  // clang-format off
  const Case cases[] = {
      {"unchanged", true, 0, {}, {}, {"FILE WAS NOT CHANGED SINCE LAST SAVE EVENT"}, path},
      {"new, cancelled", false, 1, {}, {kCancel}, {kNoFile}, "UNTITLED"},
      {"new, named", false, 1, {}, {path}, {Saved("@")}, path},
      {"yes", true, 1, {Answer::Yes}, {}, {Overwrite("@"), Saved("@")}, path},
      {"no, no name", true, 1, {Answer::No}, {kCancel}, {Overwrite("@"), kNoFile}, path},
      {"no, other name", true, 1, {Answer::No}, {other}, {Overwrite("@"), Saved("&")}, other},
      {"no, same name, yes", true, 1, {Answer::No, Answer::Yes}, {path},
       {Overwrite("@"), Overwrite("@"), Saved("@")}, path},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    std::filesystem::remove(other);
    const std::string before = c.named ? SavedProject() : "";
    if (!c.named) MakeChangedProject();
    store.Group(0).Name = "Changed";
    store.DataChanged = c.changed;
    Fresh();
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    SaveFile(state);
    EXPECT_EQ(dialogs.Texts(), ReplaceAll(ReplaceAll(c.texts, "@", path), "&", other));
    const bool written = c.texts.back().rfind("FILE :", 0) == 0;
    EXPECT_EQ(store.CurrentFileName, c.target);
    EXPECT_EQ(state.Window.Caption, "EARTHWORK :" + c.target);
    EXPECT_EQ(store.DataChanged, written ? 0 : c.changed);
    if (written) {
      EXPECT_TRUE(Contains(ReadBytes(c.target), "[END AREA 1 Changed]"));
    } else if (c.named) {
      EXPECT_EQ(ReadBytes(path), before);
    } else {
      EXPECT_FALSE(Exists(path));
    }
  }
}

TEST_F(FileCommandsTest, SaveAsWritesUnderTheChosenNameWhateverChanged) {
  for (const std::string& fileName : {std::string("UNTITLED"), path}) {
    SCOPED_TRACE(fileName);
    Fresh();
    MakeChangedProject(fileName);
    dialogs.files = {kCancel};
    SaveAsFile(state);
    EXPECT_THAT(dialogs.Texts(), ElementsAre(kNoFile));
    EXPECT_EQ(store.CurrentFileName, fileName);
    EXPECT_TRUE(store.DataChanged);
    EXPECT_FALSE(Exists(path));
  }
  const std::string saved = SavedProject();
  const std::string copy = dir.Path("copy.ear");
  store.DataChanged = false;  // Save As does not ask whether anything changed
  Fresh();
  dialogs.files = {copy};
  SaveAsFile(state);
  EXPECT_THAT(dialogs.Texts(), ElementsAre(Saved(copy)));
  EXPECT_EQ(ReadBytes(copy), saved);
  EXPECT_EQ(store.CurrentFileName, copy);
  EXPECT_EQ(state.Window.Caption, "EARTHWORK :" + copy);

  Fresh();
  store.GroupCount = 0;
  SaveAsFile(state);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("No data exists to save as a file"));
  EXPECT_THAT(dialogs.fileDialogs, IsEmpty());
}

TEST_F(FileCommandsTest, TheFileDialogOffersTheFilterListAndPreselectsByMode) {
  for (const int16_t logMode : {int16_t{0}, int16_t{1}}) {
    SCOPED_TRACE(logMode);
    Fresh();
    store.LogFileMode = logMode;
    dialogs.files = {kCancel};
    EXPECT_EQ(AcceptInputFilename(state, 0), "");
    ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
    EXPECT_EQ(dialogs.fileDialogs[0].Filter,
              "Earthwork Files(*.ear)|*.ear|Geopak's Earthwork Log Files(*.log)|*.log|"
              "All Files(*.*)|*.*");
    EXPECT_EQ(dialogs.fileDialogs[0].FilterIndex, logMode == 1 ? 2 : 1);
    EXPECT_TRUE(dialogs.fileDialogs[0].CancelError);
  }
}

// ---- New ------------------------------------------------------------------

TEST_F(FileCommandsTest, NewWhoseSaveDoesNotHappenKeepsEveryGroup) {
  struct Case {
    std::string fileName;
    std::deque<Answer> answers;
    Files files;
    Texts texts;
  };
  const Case cases[] = {
      {path,
       {Answer::Cancel},
       {},
       {"Wish to save : ' " + path + " ' before opening new file ?",
        "File : ' " + path + " ' was not saved"}},
      {"UNTITLED",
       {Answer::Yes},
       {kCancel},
       {"Wish to save : ' UNTITLED ' before opening new file ?", kNoFile}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName);
    Fresh();
    MakeChangedProject(c.fileName);
    const std::string before = Dump();
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    NewFile(state);
    EXPECT_EQ(dialogs.Texts(), c.texts);
    EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNoCancel);
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(store.CurrentFileName, c.fileName);
    EXPECT_TRUE(store.DataChanged);
  }
}

TEST_F(FileCommandsTest, NewStartsAnEmptyUntitledProject) {
  struct Case {
    const char* name;
    std::string fileName;
    int16_t changed;
    std::deque<Answer> answers;
    Files files;
  };
  const Case cases[] = {
      {"unchanged, untitled", "UNTITLED", 0, {}, {}},
      {"unchanged, named", path, 0, {}, {}},
      {"changed, not saved", path, 1, {Answer::No}, {}},
      {"changed, saved", "UNTITLED", 1, {Answer::Yes}, {path}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    Fresh();
    MakeChangedProject(c.fileName);
    store.DataChanged = c.changed;
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    NewFile(state);
    EXPECT_EQ(store.CurrentFileName, "UNTITLED");
    EXPECT_EQ(state.Window.Caption, "EARTHWORK :UNTITLED");
    EXPECT_EQ(store.GroupCount, 1);
    EXPECT_EQ(store.CurrentGroup, 0);
    EXPECT_EQ(store.Group(0).Cells.at(0, Station), kEndOfRows);
    EXPECT_FALSE(state.Window.UnitChosen);
    EXPECT_FALSE(store.LogFileMode);
    EXPECT_EQ(Exists(path), !c.files.empty());
    EXPECT_EQ(state.Window.StatusText, "New File");
    EXPECT_EQ(view.calls.back(), "FocusDesigner");
    EXPECT_FALSE(store.DataChanged);
  }
}

// ---- Open -----------------------------------------------------------------

TEST_F(FileCommandsTest, OpenReadsAnEarFileIntoTheGridView) {
  SavedProject();
  store.DataChanged = false;
  SetRows(0, {});
  store.GroupCount = 1;
  Fresh();
  dialogs.files = {path};
  Openfile(state);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(store.CurrentFileName, path);
  EXPECT_EQ(state.Window.Caption, "EARTHWORK :" + path);
  EXPECT_EQ(store.GroupCount, 2);
  EXPECT_EQ(store.Group(1).Name, "Ramp");
  EXPECT_FALSE(store.LogFileMode);
  EXPECT_FALSE(store.DataChanged);
  EXPECT_EQ(std::string(ImportItemCaption(state.Project)), "Import EAR File");

  // An older file is offered for saving at exit.
  dialogs.files = {DataPath("ear/v971.ear")};
  Openfile(state);
  EXPECT_EQ(store.FileVersion, EarVersion::V971);
  EXPECT_TRUE(store.DataChanged);
  dialogs.answers = {Answer::No};
  EXPECT_EQ(SaveItBeforeExit(state), Closing::Goes);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("WISH TO SAVE FILE BEFORE EXITING ?"));
}

TEST_F(FileCommandsTest, OpenOfAMissingOrUnknownFile) {
  WriteBytes(dir.Path("notes.txt"), "hello\r\n");
  WriteBytes(dir.Path("plain.log"), "just a log\r\n");
  WriteBytes(dir.Path("future.ear"), "[VERSION 2003]\r\n");
  std::filesystem::create_directory(dir.Path("old.ear"));
  WriteBytes(dir.Path("old.ear/plain.log"), "just a log\r\n");
  const std::pair<const char*, Texts> cases[] = {
      {"gone.ear", {"NO FILE EXIST BY THE NAME : @"}},
      // Neither name says: a file that is no project is tried as a log.
      {"notes.txt", {" The file selected is not a Geopak Earthwork log file"}},
      // Only the file's own name counts, not its folder's.
      {"old.ear/plain.log", {" The file selected is not a Geopak Earthwork log file"}},
      {"plain.log", {" The file selected is not a Geopak Earthwork log file"}},
      {"future.ear", {"FILE IS NOT COMPATIBLE WITH PRESENT VERSION OF THE PROGRAM."}},
  };
  for (const auto& [name, texts] : cases) {
    SCOPED_TRACE(name);
    Fresh();
    dialogs.files = {dir.Path(name)};
    Openfile(state);
    EXPECT_EQ(dialogs.Texts(), ReplaceAll(texts, "@", dir.Path(name)));
    EXPECT_EQ(store.CurrentFileName, dir.Path(name));
    EXPECT_FALSE(Called(view, "ShowReportPreview"));
  }
}

TEST_F(FileCommandsTest, OpenOfAChangedProject) {
  SavedProject();
  const std::string other = dir.Path("other.ear");
  std::filesystem::copy_file(path, other);
  struct Case {
    const char* name;
    std::deque<Answer> answers;
    Files files;
    Texts texts;  // after the question
  };
  // clang-format off
  const Case cases[] = {
      {"cancel", {Answer::Cancel}, {}, {"File : " + path + " was not saved"}},
      {"no, then the dialog is cancelled", {Answer::No}, {kCancel}, {kNoFile}},
      {"no", {Answer::No}, {other}, {}},
      {"yes, overwrite declined", {Answer::Yes, Answer::No}, {kCancel}, {Overwrite(path), kNoFile}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    MakeChangedProject(path);
    store.Group(0).Name = "Edited";
    const std::string before = Dump();
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    Openfile(state);
    Texts texts = {"Wish to save : " + path + " before opening other file ?"};
    texts.insert(texts.end(), c.texts.begin(), c.texts.end());
    EXPECT_EQ(dialogs.Texts(), texts);
    const bool opened = c.texts.empty();
    EXPECT_EQ(store.CurrentFileName, opened ? other : path);
    EXPECT_EQ(store.DataChanged, opened ? 0 : 1);
    if (opened) {
      EXPECT_EQ(store.Group(0).Name, "Main line");
    } else {
      EXPECT_EQ(Dump(), before);
    }
  }
}

TEST_F(FileCommandsTest, OpenOfAGeopakLogShowsItsReport) {
  const std::string log = OpenLog();
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(store.CurrentFileName, log);
  EXPECT_TRUE(store.LogFileMode);
  EXPECT_FALSE(store.DataChanged);
  EXPECT_EQ(state.Window.Caption, "GEOPAK LOG FILE: " + log);
  EXPECT_EQ(std::string(ImportItemCaption(state.Project)), "Import any other Log File");
  EXPECT_THAT(state.Window.LogTabCaptions, ElementsAre("BASELINE: " + state.Report.BaselineName));
  EXPECT_EQ(view.calls.back(), "ShowReportPreview");
  EXPECT_TRUE(Exists(state.Report.ReportFileName));
  EXPECT_GE(state.Report.PageCount, 1);

  // The next open dialog preselects the log filter.
  dialogs.files = {kCancel};
  Openfile(state);
  EXPECT_EQ(dialogs.fileDialogs.back().FilterIndex, 2);
}

TEST_F(FileCommandsTest, ALogOfABaselineThatHasATabMayBeRenamed) {
  const std::string log = OpenLog();
  const std::string baseline = Trim(state.Report.BaselineName);
  struct Case {
    Answer answer;
    std::optional<std::string> input;
    std::string tab;
  };
  const Case cases[] = {
      {Answer::No, std::nullopt, "BASELINE: " + state.Report.BaselineName},
      {Answer::Yes, "Ramp one, second run of the day", "BASELINE: Ramp one, second run"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tab);
    Fresh();
    // The Import command sets a further group aside for the next log.
    store.GroupCount = 2;
    store.CurrentGroup = 1;
    state.Window.LogTabCaptions = {"BASELINE: " + baseline};
    dialogs.answers = {c.answer};
    if (c.input) dialogs.inputs = {c.input};
    ReadChosenFile(state, log, ReadingCaller::Import);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0].text,
              " There is same named baseline tab already existing. Do you want to change "
              "tabname?");
    EXPECT_EQ(dialogs.shown[0].title, "Warning");
    EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNo);
    EXPECT_EQ(dialogs.prompts, c.input ? Texts{"Please Name the Tab.||"} : Texts{});
    EXPECT_THAT(state.Window.LogTabCaptions, ElementsAre("BASELINE: " + baseline, c.tab));
  }
}

TEST_F(FileCommandsTest, ImportOfAFileThatIsNotALogGivesItsGroupBack) {
  WriteBytes(dir.Path("plain.log"), "just a log\r\n");
  for (const auto& [caller, groups] :
       {std::pair{ReadingCaller::Import, int16_t{1}}, std::pair{ReadingCaller::Open, int16_t{2}}}) {
    store.GroupCount = 2;
    store.CurrentGroup = 1;
    ReadChosenFile(state, dir.Path("plain.log"), caller);
    EXPECT_EQ(store.GroupCount, groups);
    EXPECT_EQ(store.CurrentGroup, groups - 1);
  }
}

// ---- Exit -----------------------------------------------------------------

TEST_F(FileCommandsTest, ExitWithoutChangesEndsAtOnce) {
  mnuFileExit(state);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(view.calls.back(), "Close");
}

TEST_F(FileCommandsTest, ExitWithChanges) {
  struct Case {
    const char* name;
    std::string fileName;
    std::string caption;  // empty: "EARTHWORK :" and the file name
    std::deque<Answer> answers;
    Files files;
    Texts texts;  // after the question
    int16_t stay;
    std::string saved;  // the file written, if any
  };
  const std::string chosen = dir.Path("chosen.ear");
  const std::string untitled = "UNTITLED";
  const Answer yes = Answer::Yes;
  // clang-format off
  const Case cases[] = {
      {"cancel", path, "", {Answer::Cancel}, {}, {" FILE : " + path + " WAS NOT SAVED"}, 1, ""},
      {"no", path, "", {Answer::No}, {}, {}, 0, ""},
      {"yes", path, "", {yes}, {}, {" " + Saved(path)}, 0, path},
      {"yes, untitled, named", untitled, "", {yes}, {chosen}, {" " + Saved(chosen)}, 0, chosen},
      {"yes, untitled, dialog cancelled", untitled, "", {yes}, {kCancel}, {kNoFile}, 1, ""},
      {"yes, but a log is open", path, "GEOPAK LOG FILE: x.log", {yes}, {}, {}, 0, ""},
      {"yes, typed after a reset", path, "EARTHWORK: Untitled", {yes}, {}, {" " + Saved(path)}, 0,
       path},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    std::filesystem::remove(chosen);
    Fresh();
    MakeChangedProject(c.fileName);
    if (!c.caption.empty()) state.Window.Caption = c.caption;
    store.LogFileMode = c.caption.rfind("GEOPAK", 0) == 0 ? 1 : 0;
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    EXPECT_EQ(SaveItBeforeExit(state) == Closing::Stays, c.stay == 1);
    Texts texts = {"WISH TO SAVE FILE BEFORE EXITING ?"};
    texts.insert(texts.end(), c.texts.begin(), c.texts.end());
    EXPECT_EQ(dialogs.Texts(), texts);
    EXPECT_EQ(Called(view, "Close"), c.stay == 0);
    EXPECT_EQ(Exists(path), c.saved == path);
    EXPECT_EQ(Exists(chosen), c.saved == chosen);
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);
    EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNoCancel);
  }
}

TEST_F(FileCommandsTest, ExitWhoseOverwriteIsDeclinedStays) {
  const std::string before = SavedProject();
  store.Group(0).Name = "Edited";
  dialogs.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(SaveItBeforeExit(state), Closing::Stays);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("WISH TO SAVE FILE BEFORE EXITING ?", Overwrite(path)));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_FALSE(Called(view, "Close"));
  EXPECT_TRUE(store.DataChanged);
}

TEST_F(FileCommandsTest, OnlyAClosingByTheUserAsks) {
  MakeChangedProject();
  EXPECT_EQ(Form_QueryUnload(state, UnloadMode::ProgramCode), Closing::Goes);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  dialogs.answers = {Answer::Cancel};
  EXPECT_EQ(Form_QueryUnload(state, UnloadMode::ControlMenu), Closing::Stays);
  EXPECT_THAT(dialogs.Texts(),
              ElementsAre("WISH TO SAVE FILE BEFORE EXITING ?", " FILE : UNTITLED WAS NOT SAVED"));
}

// ---- Nothing unsaved is lost, nothing old is carried over -----------------

TEST_F(FileCommandsTest, EveryCommandThatWouldLoseEditsAsksAndANewProjectStartsEmpty) {
  using Step = std::function<void()>;
  const Step Edit = [&] {  // typed into the Project No. box
    store.HeaderFields[1] = "42";
    store.DataChanged = true;
  };
  const Step ImportEar = [&] { mnuFileImport(state, "Import EAR File"); };
  const Step Open = [&] { Openfile(state); };
  const Step New = [&] { NewFile(state); };
  const Step Save = [&] { SaveFile(state); };
  const Step SaveAs = [&] { SaveAsFile(state); };
  const Step Exit = [&] { mnuFileExit(state); };
  const Step Insert = [&] { mnuGroupInsert(state); };
  const Step Delete = [&] { mnuGroupDelete(state); };
  const Step Rename = [&] { mnuGroupRename(state); };
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::deque<Answer> answers;
    std::vector<std::string> files;  // "@" the project, "&" other.ear, "%" a log, "+" an import
    std::deque<std::optional<std::string>> inputs;
    Texts texts;
    int16_t changed;   // afterwards
    std::string file;  // then read: "@", "&" or "report"; other.ear exists only when read
    Texts holds, lacks;
  };
  const std::string other = dir.Path("other.ear");
  const std::string log = dir.Path("ramp1.log");
  std::filesystem::copy_file(DataPath("geopak/ramp1.log"), log);
  const std::string importQ = "Wish to save : @ before importing other file ?";
  const std::string openQ = "Wish to save : @ before opening other file ?";
  const std::string notSaved = "File : @ was not saved";
  const std::string exitQ = "WISH TO SAVE FILE BEFORE EXITING ?";
  const std::string sameName =
      " Just a warning that you are importing same named tab or a group. Do you want to change it?";
  const std::string readOnly =
      "A Geopak Earthwork log is read only: it cannot be saved as an Earthwork file.";
  const Answer yes = Answer::Yes, no = Answer::No, cancel = Answer::Cancel;
  // clang-format off
  const Case cases[] = {
      {"edit, import, exit asks", {Edit, ImportEar, Exit}, {no, no, cancel}, {"+"}, {},
       {importQ, sameName, exitQ, " FILE : @ WAS NOT SAVED"}, 1, "@", {}, {"42", "Ramp C"}},
      {"edit, import: yes saves the edit first", {Edit, ImportEar}, {yes, yes, no}, {"+"}, {},
       {importQ, Overwrite("@"), Saved("@"), sameName}, 1, "@", {"42"}, {"Ramp C"}},
      {"edit, import cancelled: nothing imported", {Edit, ImportEar, Exit}, {cancel, yes, yes},
       {}, {}, {importQ, notSaved, exitQ, Overwrite("@"), " " + Saved("@")}, 1, "@", {"42"},
       {"Ramp C"}},
      {"import, then open asks", {ImportEar, Open}, {no, cancel}, {"+"}, {},
       {sameName, openQ, notSaved}, 1, "@", {}, {"Ramp C"}},
      {"rename, exit asks", {Rename, Exit}, {yes, yes}, {}, {"Ramp X"},
       {exitQ, Overwrite("@"), " " + Saved("@")}, 1, "@", {"[END AREA 2 Ramp X]"}, {}},
      {"insert, new asks", {Insert, New}, {cancel}, {}, {"Ramp D"},
       {"Wish to save : ' @ ' before opening new file ?", "File : ' @ ' was not saved"}, 1, "@",
       {}, {"Ramp D"}},
      {"delete, open asks", {Delete, Open}, {yes, cancel}, {}, {},
       {"Do you wish to delete the selected group ? ", openQ, notSaved}, 1, "", {}, {}},
      {"new forgets header, names and factor", {New, SaveAs}, {}, {"&"}, {}, {Saved("&")}, 0,
       "&", {"[END AREA 1 Earthwork 1]\r\n#BALANCE FACTOR\r\n1.00\r\n"}, {"J. Doe", "Main line", "1.15"}},
      {"a log's report has no header of the project before", {Open}, {}, {"%"}, {}, {}, 0,
       "report", {"#Designer= \r\n"}, {"J. Doe", "P-17", "C-9"}},
      {"save and save as refused while a log is shown", {Open, SaveAs, Save}, {}, {"%"}, {},
       {readOnly, readOnly}, 0, "", {}, {}},
      {"new after a log saves an empty project", {Open, New, SaveAs}, {}, {"%", "&"}, {},
       {Saved("&")}, 0, "&", {"[END AREA 1 Earthwork 1]"}, {"J. Doe", "Main line"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(other);
    // A saved, unchanged project whose second group is shown.
    store.LogFileMode = false;
    store.ImportDone = false;
    store.HeaderFields = {"J. Doe", "P-17", "C-9"};
    SavedProject();
    store.DataChanged = false;
    store.Group(2).BalanceFactor = "1.00";  // the slot once held a group
    store.CurrentGroup = 1;
    state.Window.BalanceBox = "1.15";
    Fresh();
    dialogs.answers = c.answers;
    dialogs.inputs = c.inputs;
    for (const std::string& f : c.files) {
      dialogs.files.push_back(f == "@"   ? path
                              : f == "&" ? other
                              : f == "%" ? log
                                         : DataPath("ear/import_two.ear"));
    }
    for (const Step& step : c.steps) step();
    EXPECT_EQ(dialogs.Texts(), ReplaceAll(ReplaceAll(c.texts, "@", path), "&", other));
    EXPECT_EQ(store.DataChanged, c.changed);
    EXPECT_EQ(Exists(other), c.file == "&");
    if (c.file.empty()) continue;
    const std::string text = ReadBytes(c.file == "@"   ? path
                                       : c.file == "&" ? other
                                                       : state.Report.ReportFileName);
    for (const std::string& h : c.holds) EXPECT_TRUE(Contains(text, h)) << h;
    for (const std::string& l : c.lacks) EXPECT_FALSE(Contains(text, l)) << l;
  }
}

// ---- Report commands ------------------------------------------------------

TEST_F(FileCommandsTest, ReportCommandsWriteAndPreview) {
  SavedProject();
  PrintPreviewReport(state, ReportKind::Accumulated);
  EXPECT_EQ(state.Report.AccumulatedReport, ReportKind::Accumulated);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(view.calls.back(), "ShowReportPreview");
  EXPECT_TRUE(Contains(ReadBytes(state.Report.ReportFileName), "#TabName= "));

  // A log without accumulated quantities has only the Total report.
  store.DataChanged = false;
  OpenLog();
  state.Log.Group(0).SectionTable.at(0).Flag = 0;
  Fresh();
  PrintPreviewReport(state, ReportKind::Accumulated);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("Present Log file has no Accumulated Quantities"));
  EXPECT_FALSE(Called(view, "ShowReportPreview"));
  PrintPreviewReport(state, ReportKind::Total);
  EXPECT_EQ(view.calls.back(), "ShowReportPreview");
}

}  // namespace
}  // namespace earthwork::testing
