#include "cli/BatchSession.h"

#include <filesystem>

#include "commands/FileCommands.h"
#include "geopak/OpenGeopakLog.h"

namespace earthwork::cli {

bool ReadLogIntoFirstTab(ProgramState& state, const std::string& path) {
  if (!std::filesystem::exists(path)) {
    state.dialogs.MessageBox("NO FILE EXIST BY THE NAME : " + path);
    return false;
  }
  state.Project.CurrentGroup = 0;
  return static_cast<bool>(
      ImportGeopakLog(state, path, [](ProgramState& s, const std::string&) { NameLogTab(s); }));
}

}  // namespace earthwork::cli
