#include "cli/Cli.h"

#include <filesystem>
#include <iostream>

#include "project/Paths.h"
#include "project/Text.h"

namespace earthwork::cli {

namespace {

constexpr const char* kUsage =
    "Usage:\n"
    "  earthwork [FILE.ear|FILE.log]       open the main window (on that file)\n"
    "  earthwork convert IN.ear --out OUT.ear\n"
    "      read any supported version, write the current one\n"
    "  earthwork report IN.ear|IN.log [--tab N | --all] [--accumulated]\n"
    "                   [--out FILE.rpt] [--pdf FILE.pdf]\n"
    "      write the earthwork report of tab N (default 1) or of every tab\n"
    "  earthwork pages FILE.rpt\n"
    "      print the page count of a report file\n"
    "  earthwork --help\n";

}  // namespace

bool IsBatchCommand(const std::vector<std::string>& args) {
  if (args.empty()) return false;
  const std::string& a = args[0];
  return a == "convert" || a == "report" || a == "pages" || a == "--help" || a == "-h" ||
         a == "help";
}

int Run(const std::vector<std::string>& args) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage;
    return args.empty() ? 1 : 0;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "convert") return RunConvert(rest);
  if (args[0] == "report") return RunReport(rest);
  if (args[0] == "pages") return RunPages(rest);
  return RefuseUnknownCommand(args[0]);
}

int RefuseUnknownCommand(const std::string& word) {
  std::cerr << "Unknown command: " << word << "\n" << kUsage;
  return 2;
}

bool NamesAFile(const std::string& word) {
  std::error_code ec;
  const std::string name = Upper(StripFile(word));
  return std::filesystem::exists(word, ec) || name.ends_with(".EAR") || name.ends_with(".LOG");
}

}  // namespace earthwork::cli
