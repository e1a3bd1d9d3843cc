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

/// A drive C folder with the CAD program's installation (a fake program
/// that records its start), the demo project beside it and a report folder.
/// It stands in for the new-drawing dialog too: each scripted OK press goes
/// through the dialog's own rule until one closes it; no press is Cancel.
struct StickupBench : NewDrawingDialog {
  StickupBench() {
    std::filesystem::create_directories(Cad("mdlapps/ear"));
    std::filesystem::create_directories(drawings);
    std::filesystem::create_directories(dir.Path("temp"));
    SetEnv("EARTHWORK_REPORT_DIR", dir.Path("temp"));
    WriteBytes(Cad("mdlapps/ear/mao.ma"), "drawing application");
    WriteBytes(Cad("mdlapps/ear/kernel.dgn"), "seed drawing");
    std::filesystem::copy_file(EARTHWORK_FAKE_CAD_PROGRAM, Cad("ustation.exe"));
    WriteBytes(dir.Path("demo.ear"), ReadBytes(EARTHWORK_DEMO_PROJECT));
  }
  void ShowModal(const std::string& defaultName) override {
    offered.push_back(defaultName);
    for (const std::string& name : okPresses)
      if (AcceptNewDrawing(session, dialogs, shell, drawings, name)) break;
    okPresses.clear();
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
  void Press() { command2_click(state, shell, session, *this); }

  TempDir dir;
  std::filesystem::path driveC = dir.Root() / "c";
  std::string drawings = dir.Path("drawings");
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  os::SystemShell shell{driveC.string()};
  StickupSession session;
  std::vector<std::string> okPresses;  // file names typed before each OK
  std::vector<std::string> offered;    // the default names shown
};

}  // namespace earthwork::testing
