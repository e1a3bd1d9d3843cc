#include "project/Paths.h"

#include <cstdlib>
#include <filesystem>

#include "platform/ports/Files.h"
#include "project/Errors.h"

namespace earthwork {

namespace {

namespace fs = std::filesystem;

/// The report folder and whether it lies in a place other users share.
struct ReportPlace {
  std::string dir;
  bool shared = false;
};

#ifdef _WIN32
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

std::string WithSeparator(std::string dir) {
  if (dir.empty() || (dir.back() != '/' && dir.back() != kSeparator)) dir += kSeparator;
  return dir;
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

ReportPlace FindReportPlace() {
#ifdef _WIN32
  return {"c:\\temp\\"};
#endif
  if (std::string dir = Env("EARTHWORK_REPORT_DIR"); !dir.empty()) return {WithSeparator(dir)};
  std::string cache = Env("XDG_CACHE_HOME");
  if (cache.empty() || cache[0] != '/') {
    const std::string home = Env("HOME");
    if (!home.empty() && home[0] == '/') cache = home + "/.cache";
  }
  if (!cache.empty()) return {WithSeparator(cache) + "earthwork/"};
  std::error_code ec;
  const fs::path tmp = fs::temp_directory_path(ec);
  return {WithSeparator((ec ? fs::path("/tmp") : tmp).string()) + "earthwork-" + os::UserId() + "/",
          true};
}

constexpr std::string_view kRunPrefix = "run-";

/// The process of a run folder "run-<pid>-<n>", or 0 for any other name.
int RunOwner(const std::string& name) {
  if (!name.starts_with(kRunPrefix)) return 0;
  int pid = 0;
  size_t i = kRunPrefix.size();
  for (; i < name.size() && i < kRunPrefix.size() + 9 && name[i] >= '0' && name[i] <= '9'; ++i) {
    pid = pid * 10 + (name[i] - '0');
  }
  return i < name.size() && name[i] == '-' ? pid : 0;
}

/// Removes the run folders of runs that no longer run. Best effort.
void RemoveStaleRunFolders(const std::string& parent) {
  std::error_code ec;
  for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
    const int owner = RunOwner(it->path().filename().string());
    if (owner <= 0 || owner == os::ProcessId() || !os::ProcessEnded(owner)) continue;
    std::error_code ignored;
    fs::remove_all(it->path(), ignored);
  }
}

}  // namespace

bool IsPathSeparator(char c) {
  return c == '\\' || c == '/';
}

size_t DrivePrefixLength(std::string_view path) {
  const bool letter =
      !path.empty() && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  return letter && path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

std::string StripFile(std::string_view path) {
  const size_t p = path.find_last_of("\\/");
  const size_t start = p == std::string_view::npos ? DrivePrefixLength(path) : p + 1;
  return std::string(path.substr(start));
}

std::string ReportDirectory() {
  return FindReportPlace().dir;
}

RunReportFolder::~RunReportFolder() {
  Remove();
}

RunReportFolder::RunReportFolder(RunReportFolder&& other) noexcept
    : parent_(std::move(other.parent_)), path_(std::move(other.path_)) {
  other.parent_.clear();
  other.path_.clear();
}

RunReportFolder& RunReportFolder::operator=(RunReportFolder&& other) noexcept {
  if (this != &other) {
    Remove();
    parent_ = std::move(other.parent_);
    path_ = std::move(other.path_);
    other.parent_.clear();
    other.path_.clear();
  }
  return *this;
}

const std::string& RunReportFolder::Path() {
  const ReportPlace place = FindReportPlace();
  if (!path_.empty() && parent_ == place.dir && fs::is_directory(path_)) return path_;
  Remove();
  os::MakeUserFolder(place.dir.substr(0, place.dir.size() - 1), place.shared);
  RemoveStaleRunFolders(place.dir);
  static unsigned counter = 0;
  for (;;) {
    const std::string path = place.dir + std::string(kRunPrefix) + std::to_string(os::ProcessId()) +
                             "-" + std::to_string(counter++);
    if (os::MakeNewFolder(path)) {
      parent_ = place.dir;
      path_ = path + kSeparator;
      return path_;
    }
  }
}

void RunReportFolder::Remove() {
  if (path_.empty()) return;
  std::error_code ignored;
  fs::remove_all(path_, ignored);
  path_.clear();
  parent_.clear();
}

}  // namespace earthwork
