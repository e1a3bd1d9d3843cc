#include "cli/Drawing.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iostream>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "cli/Cli.h"

namespace earthwork::cli {

namespace {

Drawing& Installed() {
  static Drawing drawing;
  return drawing;
}

bool Names(const std::vector<std::string>& args, std::initializer_list<const char*> options) {
  return std::any_of(args.begin() + 1, args.end(), [&](const std::string& a) {
    return std::any_of(options.begin(), options.end(), [&](const char* o) { return a == o; });
  });
}

}  // namespace

void InstallDrawing(const Drawing& drawing) {
  Installed() = drawing;
}

const Drawing& InstalledDrawing() {
  return Installed();
}

bool NeedsQt(const std::vector<std::string>& args) {
  if (!IsBatchCommand(args)) {
    // The window; any other word is refused here, without a window.
    return args.empty() || (args.size() == 1 && NamesAFile(args[0]));
  }
  if (args[0] == "report") return Names(args, {"--pdf"});
  if (args[0] == "haul") return Names(args, {"--pdf", "--svg", "--png"});
  return false;
}

int HandOverToQtProgram(char** argv) {
  const std::filesystem::path folder = ProgramFolder();
  // Never a name alone: that would run whatever lies in the working folder.
  if (folder.empty()) {
    std::cerr << "Cannot start " << kQtProgramName << ": the program's own folder is unknown\n";
    return 1;
  }
  const std::string program = (folder / kQtProgramName).string();
  argv[0] = const_cast<char*>(program.c_str());
  std::cout.flush();
#ifdef _WIN32
  const intptr_t code = _spawnv(_P_WAIT, program.c_str(), argv);
  if (code != -1) return static_cast<int>(code);
#else
  ::execv(program.c_str(), argv);
#endif
  std::cerr << "Cannot start " << program << ": " << std::strerror(errno) << "\n";
  return 1;
}

}  // namespace earthwork::cli
