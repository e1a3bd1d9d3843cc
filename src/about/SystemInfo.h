#pragma once

#include <functional>
#include <optional>
#include <string>

#include "platform/ports/Dialogs.h"

namespace earthwork {

/// What finding and starting the system information tool needs from the
/// operating system.
struct SystemInfoPorts {
  /// A value under the machine-wide registry root; nullopt when the key or
  /// value is missing or cannot be read.
  std::function<std::optional<std::string>(const std::string& key, const std::string& valueName)>
      ReadRegistry;
  std::function<bool(const std::string& path)> FileExists;
  /// Starts the program in a normal, focused window.
  std::function<void(const std::string& path)> Start;
};

/// The ports of this system: the Windows registry where there is one;
/// elsewhere no value is ever found.
SystemInfoPorts DefaultSystemInfoPorts();

/// The registry key and value naming the tool, and the folder key whose
/// value gets "\MSINFO32.EXE" appended.
inline constexpr const char* kMsInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
inline constexpr const char* kMsInfoValue = "PATH";
inline constexpr const char* kMsInfoFolderKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
inline constexpr const char* kMsInfoFolderValue = "MSINFO";
inline constexpr const char* kSysInfoUnavailable = "System Information Is Unavailable At This Time";

/// Starts the system information tool, or says that it is unavailable.
void StartSysInfo(Dialogs& dialogs, const SystemInfoPorts& ports);

}  // namespace earthwork
