#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ports/Shell.h"

namespace earthwork::os {

/// The folder that stands for drive C off Windows: $EARTHWORK_DRIVE_C, else
/// the "DriveC" key of the "Settings" section, else "earthwork/drive_c" under
/// the user's data folder. On Windows "C:\".
std::string DriveCFolder(const Settings& settings);

/// The operating system's shell. On Windows: the real paths, the shell's
/// "Open" and keystrokes into the active window. Elsewhere: "c:\..." paths
/// live under `driveC`, the program is spawned in its own session and the
/// key-in arrives on its standard input as one line.
class SystemShell : public Shell {
 public:
  /// `letEventsRun` is called before every wait so that windows repaint.
  explicit SystemShell(std::string driveC, std::function<void()> letEventsRun = {});
  ~SystemShell() override;
  SystemShell(const SystemShell&) = delete;
  SystemShell& operator=(const SystemShell&) = delete;

  std::string NativePath(const std::string& windowsPath) const override;
  std::string Start(const std::string& program, const std::vector<std::string>& arguments,
                    const std::string& workingDirectory) override;
  std::string SendKeys(const std::string& keys) override;
  std::string CopyFile(const std::string& from, const std::string& to) override;
  std::string DeleteFile(const std::string& path) override;
  void Sleep(int milliseconds) override;

 private:
  void ReapChildren();

  std::string driveC_;
  std::function<void()> letEventsRun_;
  int keyInPipe_ = -1;         // write end of the started program's standard input
  std::vector<int> children_;  // started programs not yet reaped
};

}  // namespace earthwork::os
