#include "commands/StickupCommand.h"

#include "project/Errors.h"
#include "project/Text.h"

namespace earthwork {

void command2_click(ProgramState& state, Shell& shell, StickupSession& session,
                    NewDrawingDialog& dialog) {
  Trap(
      state.dialogs, "", "",
      [&] {
        state.Report.AccumulatedReport = ReportKind::Total;
        if (IsUntitled(state.Project.CurrentFileName)) {
          state.dialogs.MessageBox(
              "There is no active data to create sheets with, you must first open a file."
              " Or if you have typed in some numbers Please save it to a file.");
          return;
        }
        if (!WriteAllGroupReports(state)) return;
        dialog.ShowModal(DefaultDrawingName(state.Project));
        if (Trim(session.NewDrawingPath).empty()) return;
        // A failed step has been shown; the hand-off ends there.
        (void)RunShellExecute(state, shell, "Open", kCadProgram, session.NewDrawingPath,
                              kCadDirectory, 1);
      },
      "Program Error occured in command2_click");
}

}  // namespace earthwork
