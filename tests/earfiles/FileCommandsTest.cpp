#include "earfiles/FileCommands.h"

#include <cstdlib>
#include <filesystem>

#include <gmock/gmock.h>

#include "EarTestSupport.h"
#include "earfiles/EarFile.h"
#include "project/Text.h"

namespace earthwork::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using ::testing::IsEmpty;

bool Exists(const std::string& path) {
  return std::filesystem::exists(path);
}

bool Called(const RecordingMainView& view, const std::string& call) {
  return std::find(view.calls.begin(), view.calls.end(), call) != view.calls.end();
}

/// A window and project as the program starts them: one empty group, no
/// file yet.
class FileCommandsTest : public EarTest {
 protected:
  void SetUp() override {
    reports = dir.Path("reports");
    ::setenv("EARTHWORK_REPORT_DIR", reports.c_str(), 1);
    store.CurrentFileName = "UNTITLED";
    store.Group(0).BalanceFactor = "1.00";
    SetRows(0, {});
    view.caption = "EARTHWORK :UNTITLED";
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
    view.caption = "EARTHWORK :" + fileName;
    store.DataChanged = 1;
  }

  /// A project file on disk, written as the program writes one.
  std::string SavedProject(const std::string& name) {
    const std::string path = dir.Path(name);
    MakeChangedProject(path);
    EXPECT_TRUE(SaveEarFile(state, path));
    return path;
  }

  std::string reports;
};

// ---- Save ---------------------------------------------------------------

TEST_F(FileCommandsTest, SaveOfAnUnchangedProjectWritesNothing) {
  MakeChangedProject(dir.Path("p.ear"));
  store.DataChanged = 0;
  SaveFile(state);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("FILE WAS NOT CHANGED SINCE LAST SAVE EVENT"));
  EXPECT_FALSE(Exists(dir.Path("p.ear")));
}

TEST_F(FileCommandsTest, SaveOfANewProjectAsksForAName) {
  struct Case {
    const char* name;
    std::optional<std::string> chosen;  // the save dialog's answer
    std::vector<std::string> texts;
    std::string fileName;
    int16_t dataChanged;
  };
  const std::string path = dir.Path("new.ear");
  const std::vector<Case> cases = {
      {"cancelled", std::nullopt, {"NO FILE IS SELECTED"}, "UNTITLED", 1},
      {"named", path, {"FILE : " + path + " IS SAVED SUCCESSFULLY"}, path, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDialogs fresh;
    dialogs = fresh;
    MakeChangedProject();
    dialogs.files = {c.chosen};
    SaveFile(state);
    EXPECT_EQ(dialogs.Texts(), c.texts);
    EXPECT_EQ(store.CurrentFileName, c.fileName);
    EXPECT_EQ(store.DataChanged, c.dataChanged);
    EXPECT_EQ(Exists(path), c.chosen.has_value());
    if (c.chosen) {
      EXPECT_EQ(view.caption, "EARTHWORK :" + path);
    } else {
      EXPECT_EQ(view.caption, "EARTHWORK :UNTITLED");
    }
  }
}

TEST_F(FileCommandsTest, SaveOverAnExistingFileAsksEveryTime) {
  const std::string path = dir.Path("p.ear");
  const std::string other = dir.Path("other.ear");
  const std::string overwrite = " OVERWRITE EXISTING FILE " + path + " ?";
  struct Case {
    const char* name;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<std::string> texts;
    std::string fileName;
    int16_t dataChanged;
  };
  const std::vector<Case> cases = {
      {"yes", {Answer::Yes}, {}, {overwrite, "FILE : " + path + " IS SAVED SUCCESSFULLY"}, path, 0},
      {"no, then no name",
       {Answer::No},
       {std::nullopt},
       {overwrite, "NO FILE IS SELECTED"},
       path,
       1},
      {"no, then another name",
       {Answer::No},
       {other},
       {overwrite, "FILE : " + other + " IS SAVED SUCCESSFULLY"},
       other,
       0},
      {"no, then the same name again, then yes",
       {Answer::No, Answer::Yes},
       {path},
       {overwrite, overwrite, "FILE : " + path + " IS SAVED SUCCESSFULLY"},
       path,
       0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(other);
    const std::string before = ReadBytes(SavedProject("p.ear"));
    ScriptedDialogs fresh;
    dialogs = fresh;
    store.Group(0).Name = "Changed";
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    SaveFile(state);
    EXPECT_EQ(dialogs.Texts(), c.texts);
    EXPECT_EQ(store.CurrentFileName, c.fileName);
    EXPECT_EQ(store.DataChanged, c.dataChanged);
    const bool written = c.dataChanged == 0;
    if (written) {
      EXPECT_TRUE(Contains(ReadBytes(c.fileName), "[END AREA 1 Changed]"));
    } else {
      EXPECT_EQ(ReadBytes(path), before);
    }
  }
}

TEST_F(FileCommandsTest, SaveAsAlwaysWritesUnderTheChosenName) {
  const std::string path = SavedProject("p.ear");
  const std::string copy = dir.Path("copy.ear");
  store.DataChanged = 0;  // Save As does not ask whether anything changed
  dialogs.files = {copy};
  SaveAsFile(state);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("FILE : " + copy + " IS SAVED SUCCESSFULLY"));
  EXPECT_EQ(ReadBytes(copy), ReadBytes(path));
  EXPECT_EQ(store.CurrentFileName, copy);
  EXPECT_EQ(view.caption, "EARTHWORK :" + copy);
}

TEST_F(FileCommandsTest, SaveAsCancelledKeepsTheName) {
  struct Case {
    const char* name;
    std::string fileName;
  };
  for (const Case& c : {Case{"new project", "UNTITLED"}, Case{"named", dir.Path("p.ear")}}) {
    SCOPED_TRACE(c.name);
    ScriptedDialogs fresh;
    dialogs = fresh;
    MakeChangedProject(c.fileName);
    dialogs.files = {std::nullopt};
    SaveAsFile(state);
    EXPECT_THAT(dialogs.Texts(), ElementsAre("NO FILE IS SELECTED"));
    EXPECT_EQ(store.CurrentFileName, c.fileName);
    EXPECT_EQ(store.DataChanged, 1);
    EXPECT_FALSE(Exists(dir.Path("p.ear")));
  }
}

TEST_F(FileCommandsTest, SaveAsWithoutGroupsSaysSo) {
  store.GroupCount = 0;
  SaveAsFile(state);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("No data exists to save as a file"));
  EXPECT_THAT(dialogs.fileDialogs, IsEmpty());
}

TEST_F(FileCommandsTest, TheFileDialogOffersTheFilterListAndPreselectsByMode) {
  for (const int16_t logMode : {int16_t{0}, int16_t{1}}) {
    SCOPED_TRACE(logMode);
    ScriptedDialogs fresh;
    dialogs = fresh;
    store.LogFileMode = logMode;
    dialogs.files = {std::nullopt};
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

TEST_F(FileCommandsTest, NewAnsweredCancelLeavesTheProjectAsItWas) {
  MakeChangedProject(dir.Path("p.ear"));
  const std::string before = Dump();
  dialogs.answers = {Answer::Cancel};
  NewFile(state);
  ASSERT_EQ(dialogs.shown.size(), 2u);
  EXPECT_EQ(dialogs.shown[0].text,
            "Wish to save : ' " + dir.Path("p.ear") + " ' before opening new file ?");
  EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);
  EXPECT_EQ(dialogs.shown[1].text, "File : ' " + dir.Path("p.ear") + " ' was not saved");
  EXPECT_EQ(Dump(), before);
  EXPECT_EQ(store.CurrentFileName, dir.Path("p.ear"));
  EXPECT_EQ(store.DataChanged, 1);
}

TEST_F(FileCommandsTest, NewStartsAnEmptyUntitledProject) {
  struct Case {
    const char* name;
    std::string fileName;
    int16_t changed;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
    bool reset;  // the whole-project reset ran
    bool saved;
  };
  const std::string path = dir.Path("p.ear");
  const std::vector<Case> cases = {
      {"unchanged, untitled", "UNTITLED", 0, {}, {}, false, false},
      {"unchanged, named", path, 0, {}, {}, true, false},
      {"changed, not saved", path, 1, {Answer::No}, {}, true, false},
      {"changed, saved", "UNTITLED", 1, {Answer::Yes}, {path}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    ScriptedDialogs fresh;
    dialogs = fresh;
    view.calls.clear();
    MakeChangedProject(c.fileName);
    store.DataChanged = c.changed;
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    NewFile(state);
    EXPECT_EQ(store.CurrentFileName, "UNTITLED");
    EXPECT_EQ(view.caption, "EARTHWORK :UNTITLED");
    EXPECT_EQ(store.GroupCount, 1);
    EXPECT_EQ(store.CurrentGroup, 0);
    EXPECT_EQ(store.Group(0).Cells.at(0, Station), kEndOfRows);
    EXPECT_EQ(Called(view, "ShowUnitChoice"), c.reset);
    EXPECT_EQ(Exists(path), c.saved);
    EXPECT_TRUE(Called(view, "SetStatusText(New File)"));
    EXPECT_EQ(view.calls.back(), "FocusDesigner");
    EXPECT_EQ(store.DataChanged, 0);
  }
}

TEST_F(FileCommandsTest, NewWhoseSaveDoesNotHappenKeepsEveryGroup) {
  MakeChangedProject();
  const std::string before = Dump();
  dialogs.answers = {Answer::Yes};
  dialogs.files = {std::nullopt};
  NewFile(state);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("Wish to save : ' UNTITLED ' before opening new file ?",
                                           "NO FILE IS SELECTED"));
  EXPECT_EQ(Dump(), before);
  EXPECT_EQ(store.GroupCount, 2);
  EXPECT_EQ(store.DataChanged, 1);
}

// ---- Open -----------------------------------------------------------------

TEST_F(FileCommandsTest, OpenReadsAnEarFileIntoTheGridView) {
  const std::string path = SavedProject("two groups.ear");
  store.DataChanged = 0;
  SetRows(0, {});
  store.GroupCount = 1;
  view.calls.clear();
  dialogs.files = {path};
  Openfile(state);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(store.CurrentFileName, path);
  EXPECT_EQ(view.caption, "EARTHWORK :" + path);
  EXPECT_EQ(store.GroupCount, 2);
  EXPECT_EQ(store.Group(1).Name, "Ramp");
  EXPECT_EQ(store.LogFileMode, 0);
  EXPECT_EQ(store.DataChanged, 0);
  EXPECT_EQ(view.importItem, "Import EAR File");
  EXPECT_TRUE(Called(view, "ShowGridView"));
  EXPECT_FALSE(Called(view, "ShowLogView"));
}

TEST_F(FileCommandsTest, OpenOfAnOlderFileOffersToSaveItAtExit) {
  dialogs.files = {DataPath("ear/v971.ear")};
  Openfile(state);
  EXPECT_EQ(store.FileVersion, 1);
  EXPECT_EQ(store.DataChanged, 1);
  dialogs.answers = {Answer::No};
  EXPECT_EQ(SaveItBeforeExit(state), 0);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("WISH TO SAVE FILE BEFORE EXITING ?"));
}

TEST_F(FileCommandsTest, OpenOfAMissingOrUnknownFile) {
  struct Case {
    const char* name;
    std::string path;
    std::vector<std::string> texts;
  };
  WriteBytes(dir.Path("notes.txt"), "hello\r\n");
  WriteBytes(dir.Path("plain.log"), "just a log\r\n");
  WriteBytes(dir.Path("future.ear"), "[VERSION 2003]\r\n");
  const std::vector<Case> cases = {
      {"missing", dir.Path("gone.ear"), {"NO FILE EXIST BY THE NAME : " + dir.Path("gone.ear")}},
      {"neither ear nor log", dir.Path("notes.txt"), {}},
      {"not a GEOPAK log",
       dir.Path("plain.log"),
       {" The file selected is not a Geopak Earthwork log file"}},
      {"newer version",
       dir.Path("future.ear"),
       {"FILE IS NOT COMPATIBLE WITH PRESENT VERSION OF THE PROGRAM."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDialogs fresh;
    dialogs = fresh;
    view.calls.clear();
    dialogs.files = {c.path};
    Openfile(state);
    EXPECT_EQ(dialogs.Texts(), c.texts);
    EXPECT_EQ(store.CurrentFileName, c.path);
    EXPECT_FALSE(Called(view, "ShowReportPreview"));
  }
}

TEST_F(FileCommandsTest, OpenOfAChangedProject) {
  const std::string path = SavedProject("p.ear");
  const std::string other = dir.Path("other.ear");
  std::filesystem::copy_file(path, other);
  struct Case {
    const char* name;
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<std::string> texts;
    bool opened;
  };
  const std::string question = "Wish to save : " + path + " before opening other file ?";
  const std::vector<Case> cases = {
      {"cancel", {Answer::Cancel}, {}, {question, "File : " + path + " was not saved"}, false},
      {"no, then the dialog is cancelled",
       {Answer::No},
       {std::nullopt},
       {question, "NO FILE IS SELECTED"},
       false},
      {"no", {Answer::No}, {other}, {question}, true},
      {"yes, overwrite declined",
       {Answer::Yes, Answer::No},
       {std::nullopt},
       {question, " OVERWRITE EXISTING FILE " + path + " ?", "NO FILE IS SELECTED"},
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDialogs fresh;
    dialogs = fresh;
    MakeChangedProject(path);
    store.Group(0).Name = "Edited";
    const std::string before = Dump();
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    Openfile(state);
    EXPECT_EQ(dialogs.Texts(), c.texts);
    if (c.opened) {
      EXPECT_EQ(store.CurrentFileName, other);
      EXPECT_EQ(store.Group(0).Name, "Main line");
      EXPECT_EQ(store.DataChanged, 0);
    } else {
      EXPECT_EQ(store.CurrentFileName, path);
      EXPECT_EQ(Dump(), before);
      EXPECT_EQ(store.DataChanged, 1);
    }
  }
}

TEST_F(FileCommandsTest, OpenOfAGeopakLogShowsItsReport) {
  const std::string log = dir.Path("ramp1.log");
  std::filesystem::copy_file(DataPath("geopak/ramp1.log"), log);
  dialogs.files = {log};
  Openfile(state);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(store.CurrentFileName, log);
  EXPECT_EQ(store.LogFileMode, 1);
  EXPECT_EQ(store.DataChanged, 0);
  EXPECT_EQ(view.caption, "GEOPAK LOG FILE: " + log);
  EXPECT_EQ(view.importItem, "Import any other Log File");
  EXPECT_THAT(view.tabCaptions, ElementsAre("BASELINE: " + state.Report.BaselineName));
  EXPECT_TRUE(Called(view, "ShowLogView"));
  EXPECT_TRUE(Called(view, "HideBalanceFactor"));
  EXPECT_EQ(view.calls.back(), "ShowReportPreview");
  EXPECT_TRUE(Exists(state.Report.ReportFileName));
  EXPECT_GE(state.Report.PageCount, 1);

  // The next open dialog preselects the log filter.
  dialogs.files = {std::nullopt};
  Openfile(state);
  EXPECT_EQ(dialogs.fileDialogs.back().FilterIndex, 2);
}

TEST_F(FileCommandsTest, ALogOfABaselineThatHasATabMayBeRenamed) {
  const std::string log = dir.Path("ramp1.log");
  std::filesystem::copy_file(DataPath("geopak/ramp1.log"), log);
  dialogs.files = {log};
  Openfile(state);
  const std::string baseline = Trim(state.Report.BaselineName);
  struct Case {
    const char* name;
    Answer answer;
    std::optional<std::string> input;
    std::string tab;
  };
  const std::vector<Case> cases = {
      {"kept", Answer::No, std::nullopt, "BASELINE: " + state.Report.BaselineName},
      {"renamed", Answer::Yes, "Ramp one, second run of the day", "BASELINE: Ramp one, second run"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedDialogs fresh;
    dialogs = fresh;
    // The Import command sets a further group aside for the next log.
    store.GroupCount = 2;
    store.CurrentGroup = 1;
    view.tabCaptions = {"BASELINE: " + baseline};
    dialogs.answers = {c.answer};
    if (c.input) dialogs.inputs = {c.input};
    ReadChosenFile(state, log, ReadingCaller::Import);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0].text,
              " There is same named baseline tab already existing. Do you want to change "
              "tabname?");
    EXPECT_EQ(dialogs.shown[0].title, "Warning");
    EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNo);
    if (c.input) {
      EXPECT_THAT(dialogs.prompts, ElementsAre("Please Name the Tab.||"));
    }
    EXPECT_THAT(view.tabCaptions, ElementsAre("BASELINE: " + baseline, c.tab));
  }
}

TEST_F(FileCommandsTest, ImportOfAFileThatIsNotALogGivesItsGroupBack) {
  WriteBytes(dir.Path("plain.log"), "just a log\r\n");
  struct Case {
    ReadingCaller caller;
    int16_t groups;
  };
  for (const Case& c : {Case{ReadingCaller::Import, 1}, Case{ReadingCaller::Open, 2}}) {
    store.GroupCount = 2;
    store.CurrentGroup = 1;
    ReadChosenFile(state, dir.Path("plain.log"), c.caller);
    EXPECT_EQ(store.GroupCount, c.groups);
    EXPECT_EQ(store.CurrentGroup, c.groups - 1);
  }
}

// ---- Exit -----------------------------------------------------------------

TEST_F(FileCommandsTest, ExitWithoutChangesEndsAtOnce) {
  mnuFileExit(state);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(view.calls.back(), "UnloadMainWindow");
}

TEST_F(FileCommandsTest, ExitWithChanges) {
  struct Case {
    const char* name;
    std::string fileName;
    std::string caption;  // empty: "EARTHWORK :" and the file name
    std::deque<Answer> answers;
    std::deque<std::optional<std::string>> files;
    std::vector<std::string> texts;
    int16_t stay;
    std::string saved;  // the file written, if any
  };
  const std::string path = dir.Path("p.ear");
  const std::string chosen = dir.Path("chosen.ear");
  const std::string question = "WISH TO SAVE FILE BEFORE EXITING ?";
  const std::vector<Case> cases = {
      {"cancel",
       path,
       "",
       {Answer::Cancel},
       {},
       {question, " FILE : " + path + " WAS NOT SAVED"},
       1,
       ""},
      {"no", path, "", {Answer::No}, {}, {question}, 0, ""},
      {"yes",
       path,
       "",
       {Answer::Yes},
       {},
       {question, " FILE : " + path + " IS SAVED SUCCESSFULLY"},
       0,
       path},
      {"yes, untitled, named",
       "UNTITLED",
       "",
       {Answer::Yes},
       {chosen},
       {question, " FILE : " + chosen + " IS SAVED SUCCESSFULLY"},
       0,
       chosen},
      {"yes, untitled, dialog cancelled",
       "UNTITLED",
       "",
       {Answer::Yes},
       {std::nullopt},
       {question, "NO FILE IS SELECTED"},
       1,
       ""},
      {"yes, but a log is open",
       path,
       "GEOPAK LOG FILE: x.log",
       {Answer::Yes},
       {},
       {question},
       0,
       ""},
      {"yes, typed after a reset",
       path,
       "EARTHWORK: Untitled",
       {Answer::Yes},
       {},
       {question, " FILE : " + path + " IS SAVED SUCCESSFULLY"},
       0,
       path},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(path);
    std::filesystem::remove(chosen);
    ScriptedDialogs fresh;
    dialogs = fresh;
    view.calls.clear();
    MakeChangedProject(c.fileName);
    if (!c.caption.empty()) view.caption = c.caption;
    store.LogFileMode = c.caption.rfind("GEOPAK", 0) == 0 ? 1 : 0;
    dialogs.answers = c.answers;
    dialogs.files = c.files;
    EXPECT_EQ(SaveItBeforeExit(state), c.stay);
    EXPECT_EQ(dialogs.Texts(), c.texts);
    EXPECT_EQ(Called(view, "UnloadMainWindow"), c.stay == 0);
    EXPECT_EQ(Exists(path), c.saved == path);
    EXPECT_EQ(Exists(chosen), c.saved == chosen);
    ASSERT_FALSE(dialogs.shown.empty());
    EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);
    EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNoCancel);
  }
}

TEST_F(FileCommandsTest, ExitWhoseOverwriteIsDeclinedStays) {
  const std::string path = SavedProject("p.ear");
  const std::string before = ReadBytes(path);
  store.Group(0).Name = "Edited";
  dialogs.answers = {Answer::Yes, Answer::No};
  EXPECT_EQ(SaveItBeforeExit(state), 1);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("WISH TO SAVE FILE BEFORE EXITING ?",
                                           " OVERWRITE EXISTING FILE " + path + " ?"));
  EXPECT_EQ(ReadBytes(path), before);
  EXPECT_FALSE(Called(view, "UnloadMainWindow"));
  EXPECT_EQ(store.DataChanged, 1);
}

TEST_F(FileCommandsTest, OnlyAClosingByTheUserAsks) {
  MakeChangedProject();
  EXPECT_EQ(Form_QueryUnload(state, UnloadMode::ProgramCode), 0);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  dialogs.answers = {Answer::Cancel};
  EXPECT_EQ(Form_QueryUnload(state, UnloadMode::ControlMenu), 1);
  EXPECT_THAT(dialogs.Texts(),
              ElementsAre("WISH TO SAVE FILE BEFORE EXITING ?", " FILE : UNTITLED WAS NOT SAVED"));
}

// ---- Report commands ------------------------------------------------------

TEST_F(FileCommandsTest, ReportCommandsWriteAndPreview) {
  const std::string path = SavedProject("p.ear");
  PrintPreviewReport(state, 1);
  EXPECT_EQ(state.Report.AccumulatedReport, 1);
  EXPECT_THAT(dialogs.Texts(), IsEmpty());
  EXPECT_EQ(view.calls.back(), "ShowReportPreview");
  EXPECT_TRUE(Contains(ReadBytes(state.Report.ReportFileName), "#TabName= "));
  (void)path;
}

TEST_F(FileCommandsTest, AccumulatedOnALogWithoutAccumulatedQuantities) {
  const std::string log = dir.Path("ramp1.log");
  std::filesystem::copy_file(DataPath("geopak/ramp1.log"), log);
  dialogs.files = {log};
  Openfile(state);
  state.Log.Group(0).SectionTable.at(0).Flag = 0;
  view.calls.clear();
  PrintPreviewReport(state, 1);
  EXPECT_THAT(dialogs.Texts(), ElementsAre("Present Log file has no Accumulated Quantities"));
  EXPECT_FALSE(Called(view, "ShowReportPreview"));
  PrintPreviewReport(state, 0);
  EXPECT_EQ(view.calls.back(), "ShowReportPreview");
}

}  // namespace
}  // namespace earthwork::testing
