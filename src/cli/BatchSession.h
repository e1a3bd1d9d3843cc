#pragma once

#include <string>

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

/// Reads the log at `path` into the first tab as the open command does, its
/// tab captioned "BASELINE: " and the baseline name. False when it cannot
/// (the message has been shown).
bool ReadLogIntoFirstTab(ProgramState& state, const std::string& path);

}  // namespace earthwork::cli
