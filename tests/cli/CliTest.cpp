// The batch commands, run as the built program, alone in a folder (no
// earthwork-qt beside it, so that a hand-over shows as "Cannot start"):
// what each set of arguments answers, against links, pipes, devices,
// folders, files with two names, projects and logs of the same name, and
// that no file changes but the ones the command was asked to write.

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

/// A case's folder: three.ear (three groups) and road.ear (one), both
/// from tests/data/cli, and what the case adds.
struct Folder {
  TempDir dir;
  bool beside = false;  // run the program beside earthwork-qt, which draws off screen
  bool skip = false;    // this machine cannot make the case
  std::string Path(const std::string& name) const { return dir.Path(name); }
  void Write(const std::string& name, const std::string& bytes) const {
    fs::create_directories(fs::path(Path(name)).parent_path());
    WriteBytes(Path(name), bytes);
  }
  void Copy(const std::string& data, const std::string& name) const {
    Write(name, ReadBytes(DataPath(data)));
  }
};

/// The program alone in a folder, and the report folder of every run.
struct Program {
  TempDir dir;
  std::string path = dir.Path("alone/earthwork");
  std::string reports = dir.Path("reports");
  Program() {
    fs::create_directories(dir.Path("alone"));
    fs::copy_file(EARTHWORK_BINARY, path);
  }
  /// Alone, a window must never open: without a display it could not, and
  /// would abort.
  ProgramRun Run(const std::vector<std::string>& args, const Folder& in) const {
    return RunProgram(in.beside ? EARTHWORK_BINARY : path, args, in.dir.Root().string(), reports,
                      in.beside ? "QT_QPA_PLATFORM=offscreen timeout 60"
                                : "QT_QPA_PLATFORM=xcb DISPLAY= timeout 60");
  }
};

using Make = std::function<void(Folder&)>;

struct Case {
  std::vector<std::string> args;  // "{dir}" is the case's folder
  int code;
  /// What stdout and stderr say (as Says; "{dir}" stands for the folder).
  std::string out, err;
  Make make = {};
  /// The entries that may change, appear or go, and what each then holds (as Says).
  std::map<std::string, std::string> outputs = {};
  std::function<void(const Folder&)> check = {};
};

/// "" when nothing may be said, else its start, then each text after a "...", in order.
bool Says(const std::string& said, const std::string& expected) {
  const std::vector<std::string> parts = SplitAt(expected + "...", "...");
  size_t at = parts[0].size();
  if (!said.starts_with(parts[0]) || (expected.empty() && !said.empty())) return false;
  for (size_t i = 1; i < parts.size(); ++i)
    if ((at = said.find(parts[i], at)) == std::string::npos) return false;
  return true;
}

TEST(BatchCommands, AnswerAndChangeOnlyTheirOutputs) {
  const Program program;
  const std::string handedOver =
      "Cannot start " + program.dir.Path("alone") + "/earthwork-qt: No such file or directory\n";
  const std::string kLong = std::string(250, 'n') + ".ear";
  const Make log = [](Folder& f) { f.Copy("geopak/ramp1.log", "ramp1.log"); };
  const Make beside = [](Folder& f) { f.beside = true; };
  const pid_t ended = ::fork();  // a stale temporary file names a process that has ended
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const std::string stale = ".earthwork-" + std::to_string(ended) + "-3.tmp";
  // clang-format off
  const Case cases[] = {
    // The station table never replaces a file that is not one (the catalogue
    // of bad inputs has the project beside its log).
    {{"report", "{dir}/road.log"}, 0, "...", "...The station table was not written: {dir}/road.ear is not a station table",
     [](Folder& f) { f.Copy("geopak/ramp1.log", "road.log"); f.Write("road.ear", "my notes\r\n"); }},
    {{"report", "{dir}/road.log"}, 0, "...", "", [](Folder& f) {
       f.Copy("geopak/ramp1.log", "road.log");
       f.Write("road.ear", "  1+00.00          -      10.00       0.00       5.00       0.00\r\n");
     }, {{"road.ear", "...-"}}},
    // Outputs that are no regular file, or are the user's data, are refused.
    {{"report", "road.ear", "--out", "out.rpt"}, 1, "...", "...Cannot save out.rpt: Not a regular file",
     [](Folder& f) { ::mkfifo(f.Path("out.rpt").c_str(), 0600); }},
    {{"convert", "road.ear", "--out", "null"}, 1, "...", "...Cannot save null: Not a regular file",
     [](Folder& f) { f.skip = ::geteuid() != 0 || ::mknod(f.Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0; }},
    {{"report", "road.ear", "--out", "out.rpt"}, 1, "...", "...Cannot save out.rpt: Is a directory",
     [](Folder& f) { fs::create_directory(f.Path("out.rpt")); }},
    {{"report", "road.ear", "--out", "{dir}/road.ear"}, 1, "...", "...--out names the input file road.ear; nothing was written."},
    {{"report", "road.ear", "--pdf", "road.ear"}, 1, "...", "...--pdf names the input file road.ear", beside},
    {{"report", "road.ear", "--out", "three.ear"}, 1, "...", "...--out names three.ear, which holds earthwork data"},
    {{"report", "road.ear", "--out", "ramp1.log"}, 1, "...", "...--out names ramp1.log, which is an earthwork log", log},
    {{"report", "road.ear", "--out", "x", "--pdf", "x"}, 1, "...", "...--out and --pdf name the same file x", beside},
    {{"convert", "road.ear", "--out", "road.ear"}, 1, "...", "...--out names the input file road.ear"},
    {{"convert", "road.ear", "--out", "ramp1.log"}, 1, "...", "...which is an earthwork log", log},
    // Links are saved through (link.ear stays the link); a stale temporary
    // file is removed; a name of 254 bytes still saves.
    {{"convert", "road.ear", "--out", "link.ear"}, 0, "...", "", [](Folder& f) {
       f.Write("target.ear", "old");
       fs::create_symlink("target.ear", f.Path("link.ear"));
     }, {{"target.ear", "...12+00.000"}}},
    {{"convert", "road.ear", "--out", "copy.ear"}, 0, "...", "", [stale](Folder& f) { f.Write(stale, "half"); },
     {{"copy.ear", "[VERSION 2002]"}, {stale, ""}}},
    {{"convert", "road.ear", "--out", kLong}, 0, "...", "", {}, {{kLong, "[VERSION 2002]"}}},
    // A header text longer than a report line stays a "#" line.
    {{"report", "long.ear", "--out", "long.rpt"}, 0, "...", "", [](Folder& f) { f.Copy("cli/long.ear", "long.ear"); },
     {{"long.rpt", "#Designer= " + std::string(189, 'D') + "\r\n#" + std::string(199, 'D') + "\r\n#" + std::string(62, 'D') + "\r\n#Project No.= P-100\r\n"}}},
    // The input's kind is its file name's, never a folder's.
    {{"report", "old.logs/road.ear"}, 0, "...", "", [](Folder& f) { f.Copy("cli/road.ear", "old.logs/road.ear"); }},
    // What the batch program does itself, and what it hands over: the window and drawings.
    {{"report", "three.ear", "--tab", "2"}, 0, "Report: ", ""},
    {{"report", "three.ear", "--pdf", "a.pdf"}, 1, "", handedOver},
    {{"report", "--pdf", "a.pdf", "three.ear"}, 1, "", handedOver},
    {{"haul", "three.ear", "--svg", "a.svg"}, 1, "", handedOver},
    {{"haul", "three.ear"}, 0, "Mass haul", ""},
    {{}, 1, "", handedOver},
    {{"three.ear"}, 1, "", handedOver},
    {{"missing.log"}, 1, "", handedOver},
    {{"frobnicate"}, 2, "", "Unknown command: frobnicate\n"},
    {{"three.ear", "three.ear"}, 2, "", "Unknown command: three.ear\n"},
    {{"-h"}, 0, "Usage:\n", ""},
    {{"--help"}, 0, "Usage:\n", ""},
    {{"help"}, 0, "Usage:\n", ""},
    {{"help", "pages"}, 0, "earthwork pages FILE.rpt", ""},
    {{"--version"}, 0, "Earthwork 2.0.0\n", ""},
    // Arguments refused with a reason.
    {{"report"}, 1, "", "...No input file given."},
    {{"report", "three.ear", "--tab"}, 1, "", "...The option --tab needs a value."},
    {{"report", "three.ear", "--tab", "0"}, 1, "", "...The tab number must be a whole number from 1 on, not \"0\"."},
    {{"report", "three.ear", "--tab", "2x"}, 1, "", "...not \"2x\"."},
    {{"report", "three.ear", "--tab", "2", "--all"}, 1, "", "...--tab and --all cannot be used together."},
    {{"report", "three.ear", "--bogus"}, 1, "", "...Unknown option: --bogus"},
    {{"report", "three.ear", "other.ear"}, 1, "", "...Only one input file can be given"},
    {{"report", "three.ear", "--tab", "4"}, 1, "", "...There is no tab 4 in three.ear (it has 3)."},
    {{"report", "missing.ear"}, 1, "", "...missing.ear"},
    {{"report", "three.ear", "--out", "no/such/folder/x.rpt"}, 1, "", "...no/such/folder/x.rpt"},
    {{"pages"}, 1, "", "...Usage: earthwork pages FILE.rpt"},
    {{"pages", "a.rpt", "b.rpt"}, 1, "", "...Usage: earthwork pages FILE.rpt"},
    {{"pages", "gone.rpt"}, 1, "", "... Program Error: File not found: gone.rpt occured in CountNumberOfPages"},
    {{"haul", "three.ear", "--free-haul", "0"}, 1, "...", "...The free-haul distance must be a positive number, not \"0\"."},
    {{"haul", "three.ear", "--free-haul", "abc"}, 1, "...", "...not \"abc\""},
    {{"haul", "three.ear", "--all", "--csv", "out.csv"}, 1, "...", "...--svg, --pdf, --png and --csv take one tab"},
    {{"haul", "three.ear", "--csv", "three.ear"}, 1, "...", "...--csv names the input file three.ear"},
    {{"haul", "three.ear", "--csv", "out.csv", "--png", "out.csv"}, 1, "...", "...--png and --csv name the same file out.csv", beside},
    {{"haul", "three.ear", "--csv", "no/such/folder/x.csv"}, 1, "...", "...no/such/folder/x.csv"},
    {{"haul", "ramp.log", "--tab", "2"}, 1, "...", "...There is no tab 2"},
    {{"haul", "bad.ear", "--tab", "2", "--csv", "out.csv"}, 1, "...", "...No mass haul for tab 2 (Earthwork 2): Balance factor \"x1\" is not a number.\nNothing was written.",
     [](Folder& f) { f.Copy("cli/three-x1.ear", "bad.ear"); }},
    // What the report and haul commands write.
    {{"haul", "three.ear", "--tab", "2", "--csv", "out.csv", "--png", "out.png", "--free-haul", "20"}, 0,
     "...free haul 20.00 ft...(forced balance)", "...", beside, {{"out.csv", "Station,Code,"}, {"out.png", "\x89PNG"}}},
    {{"haul", "ramp1.log", "--csv", "out.csv"}, 0, "...tab 1 (BASELINE:  RAMP1)", "", log, {{"out.csv", "...\"16+00.000\",\"\",\"NA\""}}},
    {{"report", "three.ear", "--all", "--pdf", "three.pdf"}, 0, "...PDF: three.pdf (2 pages)\n", "...", beside, {{"three.pdf", "%PDF"}},
     [](const Folder& f) { EXPECT_EQ(PdfPages(f.Path("three.pdf")), 2); }},
    // Accumulated: field 4 is the running cut, 25 + 37 + 46.
    {{"report", "three.ear", "--tab", "2", "--accumulated", "--out", "acc.rpt"}, 0, "Report: ", "", {}, {{"acc.rpt",
     "#Designer= K. Marsh\r\n#Project No.= 0412-07\r\n#Control No.= 1304-02\r\n#TabName= Earthwork 2\r\n#System= 0\r\n"
     "#Embankment= 0\r\n...11+00.000      10.00       0.00     108.00"}}},
    // A group whose report stops on an error keeps the lines it wrote and
    // does not take the groups after it along (its golden has all three).
    {{"report", "three.ear", "--all", "--out", "all.rpt"}, 1, "Report: .../three.rpt\nPages: 1\nCopied to: all.rpt\n",
     "Program Error: Balance factor \"abc\" is not a number occured in CreateTempRptFile\n",
     [](Folder& f) { f.Copy("cli/three-abc.ear", "three.ear"); }, {{"all.rpt", "..."}}, [](const Folder& f) {
       ExpectGoldenReport(ReadBytes(f.Path("all.rpt")), "reports/all_groups_second_fails.rpt", GoldenKind::Total, 1);
     }},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.args));
    Folder f;
    f.Copy("cli/three.ear", "three.ear");
    f.Copy("cli/road.ear", "road.ear");
    if (c.make) c.make(f);
    if (f.skip) continue;  // this machine cannot make it
    const std::string root = f.dir.Root().string();
    const auto placed = [&](const std::string& text) { return ReplaceAll(text, "{dir}", root); };
    std::vector<std::string> args;
    for (const std::string& a : c.args) args.push_back(placed(a));
    const std::vector<std::string> skip = {"stdout.txt", "stderr.txt"};
    const auto before = FolderSnapshot(root, skip);
    const ProgramRun r = program.Run(args, f);
    EXPECT_EQ(r.code, c.code) << r.err;
    EXPECT_TRUE(Says(r.out, placed(c.out))) << r.out;
    EXPECT_TRUE(Says(r.err, placed(c.err))) << r.err;
    auto after = FolderSnapshot(root, skip);
    for (const auto& [name, was] : before)
      EXPECT_TRUE(c.outputs.contains(name) || after[name] == was) << name << " changed";
    for (const auto& [name, is] : after) {
      const bool out = c.outputs.contains(name);
      EXPECT_TRUE(out ? Says(is.substr(5), c.outputs.at(name)) : before.contains(name))
          << name << ": " << is;
    }
    if (c.check) c.check(f);
  }
}

// Every section of --all is the report of its tab, but for the embankment
// box: it shows what it showed when the command began (the first group's
// flag after opening), as for the Stickup Sheets button, while a single tab
// is reported as shown, its box following its group.
TEST(BatchCommands, AllTabsAreTheSingleTabReportsOneAfterAnother) {
  const Program program;
  Folder f;
  f.Copy("cli/three.ear", "three.ear");
  std::string oneByOne;
  for (const char* tab : {"1", "2", "3"}) {
    ASSERT_EQ(program.Run({"report", "three.ear", "--tab", tab}, f).code, 0);
    oneByOne += ReadBytes(program.reports + "/three.rpt");
  }
  ASSERT_NE(oneByOne.find("#Embankment= 1\r\n"), std::string::npos);
  oneByOne = ReplaceAll(oneByOne, "#Embankment= 1\r\n", "#Embankment= 0\r\n");
  const ProgramRun r = program.Run({"report", "three.ear", "--all", "--out", "all.rpt"}, f);
  EXPECT_EQ(r.out, "Report: " + program.reports + "/three.rpt\nPages: 2\nCopied to: all.rpt\n");
  const std::string all = ReadBytes(f.Path("all.rpt"));
  EXPECT_EQ(all, ReadBytes(program.reports + "/three.rpt"));
  EXPECT_EQ(all, oneByOne);
  EXPECT_EQ(program.Run({"pages", "all.rpt"}, f).out, "2\n");
  ExpectGoldenReport(all, "reports/all_three_groups.rpt", GoldenKind::Total, 2);
}

// Two runs at the same time on projects of one base name each keep their
// own report: neither copy is torn or the other's; each run takes its own
// folder away with it.
TEST(BatchCommands, RunsAtTheSameTimeKeepTheirOwnReports) {
  const Program program;
  Folder f;
  f.Copy("cli/first.ear", "a/road.ear");
  f.Copy("cli/second.ear", "b/road.ear");
  for (const char* which : {"a", "b"}) {
    ASSERT_EQ(program
                  .Run({"report", std::string(which) + "/road.ear", "--out",
                        std::string(which) + ".alone"},
                       f)
                  .code,
              0);
  }
  ASSERT_NE(ReadBytes(f.Path("a.alone")), ReadBytes(f.Path("b.alone")));
  const std::string bin = ShellQuoted(program.path);
  const std::string command = "cd " + ShellQuoted(f.dir.Root().string()) +
                              " && export EARTHWORK_REPORT_DIR=" + ShellQuoted(program.reports) +
                              " && (" + bin + " report a/road.ear --out a.rpt & " + bin +
                              " report b/road.ear --out b.rpt & wait) >/dev/null";
  for (int run = 0; run < 20; ++run) {
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(ReadBytes(f.Path("a.rpt")), ReadBytes(f.Path("a.alone"))) << "run " << run;
    ASSERT_EQ(ReadBytes(f.Path("b.rpt")), ReadBytes(f.Path("b.alone"))) << "run " << run;
  }
  for (const auto& e : fs::directory_iterator(program.reports))
    EXPECT_TRUE(e.is_regular_file()) << e.path();
}

// A file of a valid project followed by 50 MB of blank lines is read in
// memory of the order of its size, not of its number of lines.
TEST(BatchCommands, BlankLinesCostNoMemoryPerLine) {
  const Program program;
  Folder f;
  std::string text = ReadBytes(DataPath("cli/road.ear"));
  f.Write("road.ear", text);
  f.Write("blank.ear", text.insert(text.find("[LAST"), std::string(size_t{50} << 20, '\n')));
  ASSERT_EQ(program.Run({"convert", "blank.ear", "--out", "blank"}, f).code, 0);
  ASSERT_EQ(program.Run({"convert", "road.ear", "--out", "road"}, f).code, 0);
  EXPECT_EQ(ReadBytes(f.Path("blank")), ReadBytes(f.Path("road")));
  rusage usage{};
  ::getrusage(RUSAGE_CHILDREN, &usage);  // the largest peak of all runs so far, this one's included
  EXPECT_LT(usage.ru_maxrss, 400L * 1024) << "peak of the program in KiB";
}

}  // namespace
}  // namespace earthwork::testing
