#include "platform/os/SystemShell.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include "platform/files/WindowsPaths.h"
#endif

namespace earthwork::os {

namespace fs = std::filesystem;

namespace {

/// A path of the core for std::filesystem: on Windows from its wide form,
/// so that a UTF-8 name is not read in the system's code page.
fs::path FsPath(const std::string& path) {
#ifdef _WIN32
  return fs::path(WidePath(path));
#else
  return fs::path(path);
#endif
}

#ifndef _WIN32
std::string UserDataFolder() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return data;
  if (const char* home = std::getenv("HOME"); home && *home)
    return std::string(home) + "/.local/share";
  return fs::temp_directory_path().string();
}

/// "c:\..." or "C:/...": a text may use either separator.
bool IsDriveC(const std::string& path) {
  return path.size() >= 3 && std::tolower(static_cast<unsigned char>(path[0])) == 'c' &&
         path[1] == ':' && (path[2] == '\\' || path[2] == '/');
}
#endif

}  // namespace

std::string DriveCFolder(const Settings& settings) {
#ifdef _WIN32
  (void)settings;
  return "C:\\";
#else
  if (const char* folder = std::getenv("EARTHWORK_DRIVE_C"); folder && *folder) return folder;
  return settings.Read("Settings", "DriveC", UserDataFolder() + "/earthwork/drive_c");
#endif
}

SystemShell::SystemShell(std::string driveC, std::function<void()> letEventsRun)
    : driveC_(std::move(driveC)), letEventsRun_(std::move(letEventsRun)) {}

std::string SystemShell::NativePath(const std::string& windowsPath) const {
#ifdef _WIN32
  return windowsPath;
#else
  if (!IsDriveC(windowsPath)) return windowsPath;
  std::string rest = windowsPath.substr(3);
  for (char& c : rest) {
    if (c == '\\') c = '/';
  }
  return (fs::path(driveC_) / rest).string();
#endif
}

std::string SystemShell::CopyFile(const std::string& from, const std::string& to) {
  std::error_code error;
  if (!fs::is_regular_file(FsPath(from), error)) return "File not found: " + from;
  fs::copy_file(FsPath(from), FsPath(to), fs::copy_options::overwrite_existing, error);
  if (error) return "Cannot copy " + from + " to " + to + ": " + error.message();
  return {};
}

std::string SystemShell::DeleteFile(const std::string& path) {
  std::error_code error;
  fs::remove(FsPath(path), error);
  if (error) return "Cannot delete " + path + ": " + error.message();
  return {};
}

}  // namespace earthwork::os
