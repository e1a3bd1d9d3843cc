#include "commands/FileCommands.h"

#include <filesystem>

#include "earfiles/EarFile.h"
#include "geopak/LogParser.h"
#include "geopak/OpenGeopakLog.h"
#include "project/Errors.h"
#include "project/FileKinds.h"
#include "project/Format.h"
#include "project/Store.h"
#include "project/Text.h"
#include "reports/EndAreaReport.h"
#include "reports/GeopakLogReport.h"

namespace earthwork {

namespace {

constexpr const char* kUntitled = "UNTITLED";
constexpr const char* kLogIsReadOnly =
    "A Geopak Earthwork log is read only: it cannot be saved as an Earthwork file.";
constexpr size_t kTabNameLength = 20;

std::string EarCaption(const std::string& name) {
  return "EARTHWORK :" + name;
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::exists(path, ec);
}

/// Where a New or Open that goes ahead starts: one empty group in the grid
/// view, with nothing of the project before (the reset forgets its header
/// fields and groups). Only done once the command goes ahead, so a cancelled
/// command keeps the project whole.
void StartEmptyProject(ProgramState& state) {
  ProjectStore& store = state.Project;
  store.CurrentGroup = 0;
  store.GroupCount = 1;
  store.LogFileMode = false;
  ResetallAttributes(state);
}

/// Step 4 of the dispatcher: an EarFile into the grid view.
bool ReadEarFile(ProgramState& state, const std::string& path) {
  ProjectStore& store = state.Project;
  store.LogFileMode = false;
  if (!OpenEarFile(state, path)) return false;
  // An older file is offered for saving in the current version.
  if (store.FileVersion == EarVersion::V971) store.DataChanged = !store.ImportDone;
  SetCaption(state, EarCaption(path));
  SetStatusText(state, "Opened " + path);
  return true;
}

/// A saved row holds no empty cell: what the grid left empty (a cell
/// skipped, a row inserted and not typed into) is stored as a committed
/// empty cell is, so the file, the store and the grid hold the same text.
void CompleteRows(ProjectStore& store) {
  for (int g = 0; g < store.GroupCount; ++g) {
    CellTable& cells = store.Group(g).Cells;
    for (int r = 0; r < kMaxDataRows && cells.at(r, Station) != kEndOfRows; ++r) {
      for (int c = Station; c <= AddedFill; ++c) {
        std::string& cell = cells.at(r, c);
        if (!TrimView(cell).empty()) continue;
        cell = c == Station ? FormatStation(0.0) : c == Code ? std::string("-") : FormatArea(0.0);
      }
    }
  }
}

}  // namespace

void NameLogTab(ProgramState& state) {
  std::string& baseline = state.Report.BaselineName;
  const int16_t group = state.Project.CurrentGroup;
  for (int tab = 0; tab < static_cast<int>(state.Window.LogTabCaptions.size()); ++tab) {
    if (tab == group) continue;
    if (Trim(After(TabCaption(state, tab), ":")) != Trim(baseline)) continue;
    const Answer answer = state.dialogs.MessageBox(
        " There is same named baseline tab already existing. Do you want to change tabname?",
        Buttons::YesNo, Icon::None, "Warning");
    if (answer != Answer::Yes) continue;
    // Like every tab name typed in, at most 20 characters; no answer keeps
    // the log's own name.
    const std::string name = state.dialogs.InputBox("Please Name the Tab.", "", "").value_or("");
    if (!name.empty()) baseline = name.substr(0, kTabNameLength);
  }
  SetLogTabCaption(state, group, "BASELINE: " + baseline);
}

namespace {

/// Step 5 of the dispatcher: a GEOPAK log through recognition, import,
/// report and preview.
bool ReadLogFile(ProgramState& state, const std::string& path, ReadingCaller caller) {
  const Result read =
      OpenGeopakLog(state, path, [](ProgramState& s, const std::string&) { NameLogTab(s); });
  if (!read) {
    ProjectStore& store = state.Project;
    if (caller == ReadingCaller::Import && store.GroupCount > 1) {
      --store.GroupCount;
      --store.CurrentGroup;
    }
    return false;
  }
  SetStatusText(state, "Opened " + path);
  state.view.ShowReportPreview();
  return true;
}

}  // namespace

std::string AcceptInputFilename(ProgramState& state, int16_t mode) {
  std::string path;
  Trap(state.dialogs, " Program Error: ", "(AcceptInputFilename(FileMenu))", [&] {
    FileDialogSettings& dialog = state.FileDialog;
    dialog.CancelError = true;
    dialog.Filter = kFileFilterList;
    dialog.FilterIndex = state.Project.LogFileMode ? 2 : 1;
    const auto chosen =
        mode == 0 ? state.dialogs.OpenFileDialog(dialog) : state.dialogs.SaveFileDialog(dialog);
    if (!chosen || chosen->empty()) {
      state.dialogs.MessageBox("NO FILE IS SELECTED");
      return;
    }
    path = *chosen;
  });
  return path;
}

std::string IfUntitled(ProgramState& state, int16_t mode) {
  std::string name = state.Project.CurrentFileName;
  Trap(state.dialogs, " Program Error: ", "(IfUntitled(FileMenu))", [&] {
    if (!IsUntitled(state.Project.CurrentFileName)) return;
    name = AcceptInputFilename(state, mode);
    if (name.empty()) name = kUntitled;
  });
  return name;
}

Result SavingTheFile(ProgramState& state) {
  constexpr const char* kWhere = "(SavingTheFile(FileMenu))";
  Result result = Result::Failed("Not saved", kWhere);
  const Result trapped = Trap(state.dialogs, " Program Error: ", kWhere, [&] {
    ProjectStore& store = state.Project;
    CompleteRows(store);
    while (!Write2002VersionFile(state)) {
      const std::string remembered = store.CurrentFileName;
      const std::string other = AcceptInputFilename(state, 1);
      if (other.empty()) {
        store.CurrentFileName = remembered;
        return;
      }
      store.CurrentFileName = other;
    }
    state.dialogs.MessageBox("FILE : " + store.CurrentFileName + " IS SAVED SUCCESSFULLY");
    store.DataChanged = false;
    SetStatusText(state, "Saved " + store.CurrentFileName);
    // The rows were completed: the grid shows what the file now holds.
    state.view.GroupShown();
    result = Result::Done();
  });
  return trapped ? result : trapped;
}

namespace {

/// Saves the project as `target`; unless the file was written, the project
/// keeps the name it had, which is the one its caption shows.
Result SaveUnder(ProgramState& state, const std::string& target) {
  ProjectStore& store = state.Project;
  const std::string former = store.CurrentFileName;
  store.CurrentFileName = target;
  Result saved = SavingTheFile(state);
  if (saved) {
    SetCaption(state, EarCaption(store.CurrentFileName));
  } else {
    store.CurrentFileName = former;
  }
  return saved;
}

}  // namespace

void ReadChosenFile(ProgramState& state, const std::string& path, ReadingCaller caller) {
  const std::string former = state.Project.CurrentFileName;
  bool read = false;
  Trap(state.dialogs, " Program Error: ", "(RadingTheFile(FileMenu))", [&] {
    state.Project.CurrentFileName = path;
    if (!FileExists(path)) {
      state.dialogs.MessageBox("NO FILE EXIST BY THE NAME : " + path);
    } else if (InputKindOf(path) == InputKind::Ear) {
      read = ReadEarFile(state, path);
    } else {
      read = ReadLogFile(state, path, caller);
    }
  });
  if (read) return;
  // A file that was not read is not the project's: a later save must not
  // aim at it, nor the caption name it. Open has emptied the project.
  if (caller == ReadingCaller::Import) {
    state.Project.CurrentFileName = former;
    return;
  }
  state.Project.CurrentFileName = kUntitled;
  SetCaption(state, EarCaption(kUntitled));
}

void RadingTheFile(ProgramState& state, ReadingCaller caller) {
  std::string path;
  const Result chosen = Trap(state.dialogs, " Program Error: ", "(RadingTheFile(FileMenu))", [&] {
    const std::string remembered = state.Project.CurrentFileName;
    path = AcceptInputFilename(state, 0);
    if (path.empty()) state.Project.CurrentFileName = remembered;
  });
  if (chosen && !path.empty()) ReadChosenFile(state, path, caller);
}

Result SaveChangesBefore(ProgramState& state, const std::string& action) {
  ProjectStore& store = state.Project;
  if (!store.DataChanged) return Result::Done();
  const Answer answer = state.dialogs.MessageBox(
      "Wish to save : " + store.CurrentFileName + " before " + action + " ?", Buttons::YesNoCancel,
      Icon::Question);
  if (answer == Answer::Cancel) {
    const std::string text = "File : " + store.CurrentFileName + " was not saved";
    state.dialogs.MessageBox(text);
    return Result::Failed(text, "SaveChangesBefore");
  }
  if (answer == Answer::No) return Result::Done();
  const std::string target = IfUntitled(state, 1);
  if (IsUntitled(target)) return Result::Failed("No file name", "SaveChangesBefore");
  return SaveUnder(state, target);
}

Closing SaveItBeforeExit(ProgramState& state) {
  Closing stay = Closing::Goes;
  Trap(state.dialogs, " Program Error: ", "(SaveItBeforeExit(formRelated))", [&] {
    ProjectStore& store = state.Project;
    if (!store.DataChanged) {
      ExitProgram(state);
      return;
    }
    const Answer answer = state.dialogs.MessageBox("WISH TO SAVE FILE BEFORE EXITING ?",
                                                   Buttons::YesNoCancel, Icon::Question);
    if (answer == Answer::Cancel) {
      state.dialogs.MessageBox(" FILE : " + store.CurrentFileName + " WAS NOT SAVED");
      stay = Closing::Stays;
      return;
    }
    if (answer == Answer::Yes) {
      if (store.GroupCount < 1) {
        state.dialogs.MessageBox("NO DATA IS CHANGED SINCE LAST SAVE EVENT");
      } else if (!store.LogFileMode) {
        // Only a log's report has nothing to save. A project whose caption
        // still shows a reset holds rows the user typed: they are saved.
        const std::string former = store.CurrentFileName;
        if (IsUntitled(store.CurrentFileName)) {
          const std::string chosen = AcceptInputFilename(state, 1);
          if (chosen.empty()) {
            stay = Closing::Stays;
            return;
          }
          store.CurrentFileName = chosen;
        }
        // Declining to overwrite (or a failed save) keeps the program open
        // with the changes still in it.
        CompleteRows(store);
        if (!Write2002VersionFile(state)) {
          store.CurrentFileName = former;
          stay = Closing::Stays;
          return;
        }
        state.dialogs.MessageBox(" FILE : " + store.CurrentFileName + " IS SAVED SUCCESSFULLY");
        SetCaption(state, EarCaption(store.CurrentFileName));
      }
    }
    ExitProgram(state);
  });
  return stay;
}

void ExitProgram(ProgramState& state) {
  Trap(state.dialogs, "Program Error: ", "(ExitProgram(formRelated))", [&] { state.view.Close(); });
}

void NewFile(ProgramState& state) {
  Trap(state.dialogs, " Program Error: ", "(NewFile(FileMenu))", [&] {
    ProjectStore& store = state.Project;
    if (store.DataChanged) {
      const Answer answer = state.dialogs.MessageBox(
          "Wish to save : ' " + store.CurrentFileName + " ' before opening new file ?",
          Buttons::YesNoCancel, Icon::Question);
      if (answer == Answer::Cancel) {
        state.dialogs.MessageBox("File : ' " + store.CurrentFileName + " ' was not saved");
        return;
      }
      if (answer == Answer::Yes) {
        const std::string target = IfUntitled(state, 1);
        if (IsUntitled(target) || !SaveUnder(state, target)) return;
      }
    }
    // Also an unchanged project is reset: what it left in the store would
    // otherwise be saved and reported with the new one.
    StartEmptyProject(state);
    store.CurrentFileName = kUntitled;
    SetCaption(state, EarCaption(kUntitled));
    store.Group(store.CurrentGroup).Cells.at(0, Station) = kEndOfRows;
    // The first tab's caption is the group's name, saved and reported.
    ApplyDefaultGroupNames(state);
    SetStatusText(state, "New File");
    state.view.FocusDesigner();
  });
}

void Openfile(ProgramState& state) {
  Trap(state.dialogs, " Program Error: ", "(Openfile(FileMenu))", [&] {
    ProjectStore& store = state.Project;
    // Imported groups are unsaved like any other change, so an import does
    // not spare the question.
    if (!SaveChangesBefore(state, "opening other file")) return;
    // The project is given up only once a file has been chosen: a cancelled
    // dialog leaves it whole, groups and all.
    const std::string remembered = store.CurrentFileName;
    const std::string path = AcceptInputFilename(state, 0);
    if (path.empty()) {
      store.CurrentFileName = remembered;
      return;
    }
    StartEmptyProject(state);
    ReadChosenFile(state, path);
  });
}

void OpenNamedFile(ProgramState& state, const std::string& path) {
  Trap(state.dialogs, " Program Error: ", "(Openfile(FileMenu))", [&] {
    if (!FileExists(path)) {
      state.dialogs.MessageBox("NO FILE EXIST BY THE NAME : " + path);
      return;
    }
    if (!SaveChangesBefore(state, "opening other file")) return;
    StartEmptyProject(state);
    ReadChosenFile(state, path);
  });
}

void SaveFile(ProgramState& state) {
  Trap(state.dialogs, " Program Error: ", "(SaveFile(FileMenu))", [&] {
    ProjectStore& store = state.Project;
    if (store.LogFileMode) {
      state.dialogs.MessageBox(kLogIsReadOnly);
      return;
    }
    if (store.GroupCount < 1) return;
    if (!store.DataChanged) {
      state.dialogs.MessageBox("FILE WAS NOT CHANGED SINCE LAST SAVE EVENT");
      return;
    }
    const std::string target = IfUntitled(state, 1);
    if (!IsUntitled(target)) (void)SaveUnder(state, target);
  });
}

void SaveAsFile(ProgramState& state) {
  Trap(state.dialogs, " Program Error: ", "(SaveAsFile(FileMenu))", [&] {
    ProjectStore& store = state.Project;
    // A log's baselines are no groups of the store: writing the store would
    // save what the window does not show.
    if (store.LogFileMode) {
      state.dialogs.MessageBox(kLogIsReadOnly);
      return;
    }
    if (store.GroupCount < 1) {
      state.dialogs.MessageBox("No data exists to save as a file");
      return;
    }
    const std::string target =
        store.CurrentFileName != kUntitled ? AcceptInputFilename(state, 1) : IfUntitled(state, 1);
    if (target.empty() || IsUntitled(target)) return;
    (void)SaveUnder(state, target);
  });
}

void mnuFileExit(ProgramState& state) {
  Trap(state.dialogs, "Program Error: ", " Occured in mnuFileExit_click",
       [&] { (void)SaveItBeforeExit(state); });
}

Closing Form_QueryUnload(ProgramState& state, UnloadMode mode) {
  Closing cancel = Closing::Goes;
  Trap(state.dialogs, " Program Error: ", " Form_QueryUnload(frmmain)", [&] {
    if (mode != UnloadMode::ProgramCode) cancel = SaveItBeforeExit(state);
  });
  return cancel;
}

void PrintPreviewReport(ProgramState& state, ReportKind kind) {
  Trap(state.dialogs, "Program Error: ", " occured in mnuFIlePrintPreview", [&] {
    state.Report.AccumulatedReport = kind;
    if (!state.Project.LogFileMode) {
      if (!CreateTempRptFile(state)) return;
    } else {
      if (kind == ReportKind::Accumulated && !LogHasAccumulatedQuantities(state)) {
        state.dialogs.MessageBox("Present Log file has no Accumulated Quantities");
        return;
      }
      // A log's preview shows what was written, also after a failure.
      (void)CreateGeopakLogReport(state);
    }
    state.view.ShowReportPreview();
  });
}

}  // namespace earthwork
