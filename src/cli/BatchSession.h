#pragma once

#include "cli/CliDialogs.h"
#include "project/ProgramState.h"

namespace earthwork::cli {

/// The program state of one batch command, with the window's parts played
/// by the stderr dialogs and the headless main view. The state only keeps a
/// reference to the view, which is built right after it on the state's own
/// store.
struct BatchSession {
  BatchSession() = default;
  BatchSession(const BatchSession&) = delete;
  BatchSession& operator=(const BatchSession&) = delete;

  CliDialogs dialogs;
  ProgramState state{dialogs, view};
  HeadlessMainView view{state.Project};
};

}  // namespace earthwork::cli
