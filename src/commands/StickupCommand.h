#pragma once

#include "platform/ports/Shell.h"
#include "project/ProgramState.h"
#include "stickup/StickupSheets.h"

namespace earthwork {

/// The "Stickup Sheets" button: every group's report into one file, the
/// new-drawing dialog, then the hand-off to the CAD program.
void command2_click(ProgramState& state, Shell& shell, StickupSession& session,
                    NewDrawingDialog& dialog);

}  // namespace earthwork
