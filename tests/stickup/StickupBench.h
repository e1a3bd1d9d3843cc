#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "commands/StickupCommand.h"
#include "platform/os/SystemShell.h"
#include "project/ProgramState.h"
#include "stickup/StickupSheets.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

/// Stands in for the new-drawing dialog: each scripted OK press goes through
/// the dialog's own rule until one closes it; no press at all is Cancel.
class ScriptedDrawingDialog : public NewDrawingDialog {
 public:
  ScriptedDrawingDialog(StickupSession& session, Dialogs& dialogs, Shell& shell)
      : session_(session), dialogs_(dialogs), shell_(shell) {}
  void ShowModal(const std::string& defaultName) override;

  std::string directory;
  std::vector<std::string> okPresses;  // file names typed before each OK
  std::vector<std::string> offered;    // the default names shown

 private:
  StickupSession& session_;
  Dialogs& dialogs_;
  Shell& shell_;
};

/// A drive C folder with the CAD program's installation (a fake program
/// that records its start), the demo project beside it and a report folder.
struct StickupBench {
  StickupBench();
  std::string Cad(const std::string& relative) const;
  std::string DriveC(const std::string& relative) const { return (driveC / relative).string(); }
  /// The fake program's record once it has written it, or "" after a wait.
  std::string WaitForRecord() const;
  bool OpenDemo();
  void Press() { command2_click(state, shell, session, dialog); }

  TempDir dir;
  std::filesystem::path driveC = dir.Root() / "c";
  std::string drawings = dir.Path("drawings");
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  os::SystemShell shell{driveC.string()};
  StickupSession session;
  ScriptedDrawingDialog dialog{session, dialogs, shell};
};

}  // namespace earthwork::testing
