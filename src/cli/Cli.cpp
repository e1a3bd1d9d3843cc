#include "cli/Cli.h"

#include <algorithm>
#include <iostream>
#include <string_view>

#include "about/AppInfo.h"
#include "project/Paths.h"
#include "project/Text.h"

namespace earthwork::cli {

namespace {

namespace fs = std::filesystem;

struct CommandHelp {
  std::string_view name;      // the word after "earthwork"; empty for the window
  std::string_view synopsis;  // continuation lines begin with blanks
  std::string_view summary;   // the usage and `help COMMAND` both show it
  std::string_view details;   // options and rules, for `help COMMAND` only
};

constexpr CommandHelp kCommands[] = {
    {"", "earthwork [FILE.ear|FILE.log]", "open the main window (on that file)", ""},
    {"convert", "earthwork convert IN.ear --out OUT.ear",
     "read any supported version, write the current one",
     "When a line of IN cannot be read, the lines are listed and nothing is\n"
     "written. OUT may not name the input or a log; another project is replaced.\n"},
    {"report",
     "earthwork report IN.ear|IN.log [--tab N | --all] [--accumulated]\n"
     "                 [--out FILE.rpt] [--pdf FILE.pdf]",
     "write the earthwork report of tab N (default 1) or of every tab",
     "  --tab N         the report of tab N, counted from 1\n"
     "  --all           the reports of every tab in turn, in one file\n"
     "  --accumulated   the accumulated report instead of the total one\n"
     "  --out FILE.rpt  also copy the report to FILE.rpt\n"
     "  --pdf FILE.pdf  print every page of the report into FILE.pdf\n\n"
     "The report stays in the report folder ($EARTHWORK_REPORT_DIR, else\n"
     "earthwork in the user's cache folder); its path and page count are printed.\n"},
    {"haul",
     "earthwork haul IN.ear|IN.log [--tab N | --all] [--free-haul DIST]\n"
     "               [--svg FILE] [--pdf FILE] [--png FILE] [--csv FILE]",
     "print the mass-haul figures of tab N (default 1) or of every tab",
     "  --tab N           the group of tab N, counted from 1\n"
     "  --all             every tab in turn (text only)\n"
     "  --free-haul DIST  the free-haul distance in the project's length unit\n"
     "                    (default 500 ft, or 150 m in a metric project)\n"
     "  --svg/--pdf/--png FILE  the mass-haul diagram as a picture or a page\n"
     "  --csv FILE        the station figures, balance points and haul figures\n\n"
     "A log is tab 1; its curve follows the log's own mass ordinates.\n"
     "An existing output file is replaced whole; an input file or a file of\n"
     "earthwork data never is.\n"},
    {"pages", "earthwork pages FILE.rpt", "print the page count of a report file", ""},
    {"help", "earthwork help [COMMAND]", "describe a command, or all of them (also --help)", ""},
    {"--version", "earthwork --version", "print the program name and version", ""},
};

/// `text` with `indent` before each of its lines.
std::string Indented(std::string_view text, std::string_view indent) {
  std::string out;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find('\n', start), text.size());
    out.append(indent).append(text.substr(start, end - start)).append("\n");
    start = end + 1;
  }
  return out;
}

std::string Entry(const CommandHelp& c, std::string_view indent) {
  return Indented(c.synopsis, indent) + Indented(c.summary, std::string(indent) + "    ");
}

std::string Usage() {
  std::string usage = "Usage:\n";
  for (const CommandHelp& c : kCommands) usage += Entry(c, "  ");
  std::error_code ec;
  if (const fs::path demo = DataFolder() / "earthwork/examples/demo.ear";
      fs::is_regular_file(demo, ec)) {
    usage += "\nExample project: " + demo.string() + "\n";
  }
  return usage;
}

int Help(const std::string& command) {
  for (const CommandHelp& c : kCommands) {
    if (c.name.empty() || c.name != command) continue;
    std::cout << Entry(c, "");
    if (!c.details.empty()) std::cout << "\n" << c.details;
    return 0;
  }
  return RefuseUnknownCommand(command);
}

}  // namespace

bool IsBatchCommand(const std::vector<std::string>& args) {
  if (args.empty()) return false;
  const std::string& a = args[0];
  return a == "convert" || a == "report" || a == "haul" || a == "pages" || a == "--help" ||
         a == "-h" || a == "help" || a == "--version";
}

int Run(const std::vector<std::string>& args) {
  if (args.empty() || args[0] == "--help" || args[0] == "-h" ||
      (args[0] == "help" && args.size() == 1)) {
    std::cout << Usage();
    return args.empty() ? 1 : 0;
  }
  if (args[0] == "--version") {
    std::cout << kApplicationTitle << " " << kVersionMajor << "." << kVersionMinor << "."
              << kVersionRevision << "\n";
    return 0;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (args[0] == "help") {
    if (rest.size() == 1) return Help(rest[0]);
    std::string words = rest[0];
    for (size_t i = 1; i < rest.size(); ++i) words += " " + rest[i];
    return RefuseUnknownCommand(words);
  }
  if (args[0] == "convert") return RunConvert(rest);
  if (args[0] == "report") return RunReport(rest);
  if (args[0] == "pages") return RunPages(rest);
  if (args[0] == "haul") return RunHaul(rest);
  return RefuseUnknownCommand(args[0]);
}

int RefuseUnknownCommand(const std::string& word) {
  std::cerr << "Unknown command: " << word << "\n" << Usage();
  return 2;
}

bool NamesAFile(const std::string& word) {
  std::error_code ec;
  const std::string name = Upper(StripFile(word));
  return fs::exists(word, ec) || name.ends_with(".EAR") || name.ends_with(".LOG");
}

fs::path ProgramFolder() {
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : program.parent_path();
}

fs::path DataFolder() {
  const fs::path folder = ProgramFolder();
  if (folder.empty()) return {};
  return (folder / EARTHWORK_DATA_FROM_BIN).lexically_normal();
}

}  // namespace earthwork::cli
