#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "commands/StickupCommand.h"
#include "earfiles/EarFile.h"
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
  void ShowModal(const std::string& defaultName) override {
    offered.push_back(defaultName);
    for (const std::string& name : okPresses) {
      if (AcceptNewDrawing(session_, dialogs_, shell_, directory, name)) break;
    }
    okPresses.clear();
  }

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
  StickupBench() {
    std::filesystem::create_directories(Cad("mdlapps/ear"));
    std::filesystem::create_directories(drawings);
    std::filesystem::create_directories(dir.Path("temp"));
    SetEnv("EARTHWORK_REPORT_DIR", dir.Path("temp"));
    WriteBytes(Cad("mdlapps/ear/mao.ma"), "drawing application");
    WriteBytes(Cad("mdlapps/ear/kernel.dgn"), "seed drawing");
    std::filesystem::copy_file(EARTHWORK_FAKE_CAD_PROGRAM, Cad("ustation.exe"));
    WriteBytes(dir.Path("demo.ear"), ReadBytes(EARTHWORK_DEMO_PROJECT));
    dialog.directory = drawings;
  }
  std::string Cad(const std::string& relative) const {
    return (driveC / "Bentley/Program/MicroStation" / relative).string();
  }
  std::string DriveC(const std::string& relative) const { return (driveC / relative).string(); }
  /// The fake program's record once it has written it, or "" after a wait.
  std::string WaitForRecord() const {
    const std::string record = Cad("fake-cad-record.txt");
    for (int i = 0; i < 200 && !std::filesystem::exists(record); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return std::filesystem::exists(record) ? ReadBytes(record) : "";
  }
  bool OpenDemo() {
    if (!OpenEarFile(state, dir.Path("demo.ear"))) return false;
    view.calls.clear();
    return true;
  }
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
