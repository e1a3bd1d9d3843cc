#include "earfiles/EarFile.h"
#include "earfiles/EarLines.h"
#include "earfiles/EarReading.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/Text.h"

namespace earthwork {

namespace {

constexpr size_t kGroupNameLength = 20;

/// Tabs that differ only in case or surrounding blanks look the same.
bool SameGroupName(const std::string& a, const std::string& b) {
  return EqualsIgnoreCase(Trim(a), Trim(b));
}

}  // namespace

namespace ear {

std::string CheckImportedGroupName(ProgramState& state, std::string name) {
  const ProjectStore& store = state.Project;
  // The groups before the new one; the new slot itself holds nothing yet.
  for (int i = 0; i < store.CurrentGroup; ++i) {
    if (!SameGroupName(store.Group(i).Name, name)) continue;
    const Answer answer = state.dialogs.MessageBox(
        " Just a warning that you are importing same named tab or a group. Do you want to change "
        "it?",
        Buttons::YesNoCancel, Icon::None, "Warning");
    if (answer != Answer::Yes) continue;
    // A cancelled prompt keeps the name; an empty answer gives an empty one.
    if (const auto typed =
            state.dialogs.InputBox("Print the tab or groupname", "Change Tab Name", "")) {
      name = typed->substr(0, kGroupNameLength);
    }
  }
  return name;
}

}  // namespace ear

void ImportEarIntoGroups(ProgramState& state) {
  ProjectStore& store = state.Project;
  // The import only writes slots past the groups in use, so putting these
  // back undoes it completely.
  const int16_t groupCount = store.GroupCount;
  const int16_t currentGroup = store.CurrentGroup;
  const Units unitSystem = store.UnitSystem;
  const int16_t dataChanged = store.DataChanged;
  const EarVersion fileVersion = store.FileVersion;
  auto undo = [&] {
    store.GroupCount = groupCount;
    store.CurrentGroup = currentGroup;
    store.UnitSystem = unitSystem;
    store.DataChanged = dataChanged;
    store.FileVersion = fileVersion;
  };

  int lineCounter = 0;
  bool refresh = true;
  const Result finished = Trap(state.dialogs, "Program Error: ", " occured in mnuGroupInsert", [&] {
    const auto chosen = state.dialogs.OpenFileDialog(state.FileDialog);
    if (!chosen && state.FileDialog.CancelError) throw ProgramError("Cancel was selected.");
    const std::string path = Trim(chosen.value_or(""));
    if (!Contains(Upper(path), ".EAR")) return;
    refresh = false;
    if (!CheckFileCompatibility(state, path)) return;
    const std::string bytes = ear::ReadEarBytes(path);
    if (!ear::FitsTheStore(state, bytes, ear::Reading::Import, path)) {
      undo();
      return;
    }
    store.CurrentGroup = static_cast<int16_t>(store.GroupCount - 1);
    store.DataChanged = true;
    ear::StoreSink sink(state, ear::Reading::Import);
    lineCounter = ear::ClassifyEarLines(bytes, ear::Reading::Import, sink, path);
    sink.TellSkipped(path);
    refresh = true;
  });
  if (!finished) {
    undo();
    return;
  }
  if (!refresh) return;
  SetMesurementSyste(state);
  ShowReadProject(state, lineCounter);
}

}  // namespace earthwork
