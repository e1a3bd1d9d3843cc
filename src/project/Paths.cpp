#include "project/Paths.h"

#include <cstdlib>
#include <filesystem>

namespace earthwork {

std::string StripFile(std::string_view path) {
#ifdef _WIN32
  const size_t p = path.find_last_of('\\');
#else
  const size_t p = path.find_last_of("\\/");
#endif
  return std::string(p == std::string_view::npos ? path : path.substr(p + 1));
}

std::string ReportDirectory() {
#ifdef _WIN32
  return "c:\\temp\\";
#else
  std::string dir;
  if (const char* env = std::getenv("EARTHWORK_REPORT_DIR"); env && *env) {
    dir = env;
  } else {
    std::error_code ec;
    auto tmp = std::filesystem::temp_directory_path(ec);
    dir = ((ec ? std::filesystem::path("/tmp") : tmp) / "earthwork").string();
  }
  if (dir.back() != '/') dir += '/';
  return dir;
#endif
}

}  // namespace earthwork
