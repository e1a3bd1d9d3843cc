#include "StickupBench.h"

#include <chrono>
#include <cstdlib>
#include <thread>

#include "earfiles/EarFile.h"

namespace earthwork::testing {

namespace fs = std::filesystem;

void ScriptedDrawingDialog::ShowModal(const std::string& defaultName) {
  offered.push_back(defaultName);
  for (const std::string& name : okPresses) {
    if (AcceptNewDrawing(session_, dialogs_, shell_, directory, name)) break;
  }
  okPresses.clear();
}

StickupBench::StickupBench() {
  fs::create_directories(Cad("mdlapps/ear"));
  fs::create_directories(drawings);
  fs::create_directories(dir.Path("temp"));
  SetEnv("EARTHWORK_REPORT_DIR", dir.Path("temp"));
  WriteBytes(Cad("mdlapps/ear/mao.ma"), "drawing application");
  WriteBytes(Cad("mdlapps/ear/kernel.dgn"), "seed drawing");
  fs::copy_file(EARTHWORK_FAKE_CAD_PROGRAM, Cad("ustation.exe"));
  WriteBytes(dir.Path("demo.ear"), ReadBytes(EARTHWORK_DEMO_PROJECT));
  dialog.directory = drawings;
}

std::string StickupBench::Cad(const std::string& relative) const {
  return (driveC / "Bentley/Program/MicroStation" / relative).string();
}

std::string StickupBench::WaitForRecord() const {
  const std::string record = Cad("fake-cad-record.txt");
  for (int i = 0; i < 200 && !fs::exists(record); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return fs::exists(record) ? ReadBytes(record) : "";
}

bool StickupBench::OpenDemo() {
  if (!OpenEarFile(state, dir.Path("demo.ear"))) return false;
  view.calls.clear();
  return true;
}

}  // namespace earthwork::testing
