#pragma once

#include "cli/CliDialogs.h"
#include "project/ProgramState.h"

namespace earthwork::cli {

/// The program state of one batch command, with the window's parts played
/// by the stderr dialogs and a view that shows nothing.
struct BatchSession {
  BatchSession() = default;
  BatchSession(const BatchSession&) = delete;
  BatchSession& operator=(const BatchSession&) = delete;

  CliDialogs dialogs;
  QuietMainView view;
  ProgramState state{dialogs, view};
};

}  // namespace earthwork::cli
