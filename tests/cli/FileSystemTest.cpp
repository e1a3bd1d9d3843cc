// The batch commands against what a file system holds: links, pipes,
// devices, folders that refuse writing, files with two names, projects and
// logs of the same name, runs at the same time. Whatever happens, no file
// changes but the ones the command was asked to write.

#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>

#include <gtest/gtest.h>

#include "geopak/LogRecognition.h"
#include "project/FileIO.h"
#include "support/TestFiles.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

std::string Project(const std::string& designer, int rows = 3) {
  std::string text = "[VERSION 2002]\r\n[ENGLISH]\r\n" + designer +
                     "\r\nP-100\r\nC-200\r\n[END AREA 1 Main]\r\n#BALANCE FACTOR\r\n1.15\r\n"
                     "#MEASURED IN EMBANKMENT\r\n 0 \r\n";
  for (int r = 0; r < rows; ++r) {
    text += std::to_string(10 + r) + "+00.000 - " + std::to_string(5 + r % 7) + ".00 0.00 " +
            std::to_string(2 + r % 5) + ".00 0.00\r\n";
  }
  return text + "[LAST RECORD]\r\n";
}

const std::string kRoad = Project("J. Smith");

/// A folder of files a case starts from; `reason` is why a read-only
/// folder refuses writing on this machine.
struct Folder {
  TempDir dir;
  std::string reason;
  std::function<void()> cleanup = [] {};
  std::string Path(const std::string& name) const { return dir.Path(name); }
  void Write(const std::string& name, const std::string& bytes) const {
    fs::create_directories(fs::path(Path(name)).parent_path());
    WriteBytes(Path(name), bytes);
  }
  void Log(const std::string& name) const { Write(name, ReadBytes(DataPath("geopak/ramp1.log"))); }
};

/// The pid of a process that has ended.
pid_t EndedProcess() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

struct Case {
  std::string name;
  /// Makes the files; false when this machine cannot (the case is skipped).
  std::function<bool(Folder&)> make;
  /// The arguments; "{dir}" stands for the folder.
  std::vector<std::string> args;
  int code;
  /// Text that stderr holds ("{dir}" and "{reason}" replaced); "" when
  /// nothing may be said.
  std::string said;
  /// The entries that may change, appear or go.
  std::vector<std::string> changes = {};
  std::function<void(const Folder&)> check = {};
};

const std::string kLong = std::string(250, 'n') + ".ear";

std::vector<Case> Cases() {
  const std::string longDesigner = Project(std::string(450, 'D'));
  const auto road = [](Folder& f) {
    f.Write("road.ear", kRoad);
    return true;
  };
  const auto roadAnd = [road](std::function<void(Folder&)> more) {
    return [road, more](Folder& f) {
      road(f);
      more(f);
      return true;
    };
  };
  // clang-format off
  return {
    // The station table never replaces a file that is not one (the catalogue
    // of bad inputs has the project beside its log).
    {"log beside another file", [](Folder& f) {
       f.Log("road.log");
       f.Write("road.ear", "my notes\r\n");
       return true;
     }, {"report", "{dir}/road.log"}, 0,
     "The station table was not written: {dir}/road.ear is not a station table"},
    {"log beside its old station table", [](Folder& f) {
       f.Log("road.log");
       f.Write("road.ear", "  1+00.00          -      10.00       0.00       5.00       0.00\r\n");
       return true;
     }, {"report", "{dir}/road.log"}, 0, "", {"road.ear"}, [](const Folder& f) {
       EXPECT_NE(ReadBytes(f.Path("road.ear")).find("-"), std::string::npos);
     }},
    // Outputs that are no regular file, or are the user's data, are refused.
    {"--out a pipe", roadAnd([](Folder& f) { ::mkfifo(f.Path("out.rpt").c_str(), 0600); }),
     {"report", "road.ear", "--out", "out.rpt"}, 1, "Cannot save out.rpt: Not a regular file"},
    {"--out a device", [road](Folder& f) {
       road(f);
       return ::geteuid() == 0 && ::mknod(f.Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
     }, {"convert", "road.ear", "--out", "null"}, 1, "Cannot save null: Not a regular file"},
    {"--out a folder", roadAnd([](Folder& f) { fs::create_directory(f.Path("out.rpt")); }),
     {"report", "road.ear", "--out", "out.rpt"}, 1, "Cannot save out.rpt: Is a directory"},
    {"--out the input", road, {"report", "road.ear", "--out", "{dir}/road.ear"}, 1,
     "--out names the input file road.ear; nothing was written."},
    {"--pdf the input", road, {"report", "road.ear", "--pdf", "road.ear"}, 1,
     "--pdf names the input file road.ear"},
    {"--out another project", roadAnd([](Folder& f) { f.Write("other.ear", kRoad); }),
     {"report", "road.ear", "--out", "other.ear"}, 1,
     "--out names other.ear, which holds earthwork data"},
    {"--out a log", roadAnd([](Folder& f) { f.Log("ramp1.log"); }),
     {"report", "road.ear", "--out", "ramp1.log"}, 1, "--out names ramp1.log, which is an earthwork log"},
    {"--out and --pdf alike", road, {"report", "road.ear", "--out", "x", "--pdf", "x"}, 1,
     "--out and --pdf name the same file x"},
    {"convert onto the input", road, {"convert", "road.ear", "--out", "road.ear"}, 1,
     "--out names the input file road.ear"},
    {"convert onto a log", roadAnd([](Folder& f) { f.Log("ramp1.log"); }),
     {"convert", "road.ear", "--out", "ramp1.log"}, 1, "which is an earthwork log"},
    // Links are saved through; a file with two names is not split.
    {"convert through a link", roadAnd([](Folder& f) {
       f.Write("target.ear", "old");
       fs::create_symlink("target.ear", f.Path("link.ear"));
     }), {"convert", "road.ear", "--out", "link.ear"}, 0, "", {"target.ear"}, [](const Folder& f) {
       EXPECT_TRUE(fs::is_symlink(f.Path("link.ear")));
       EXPECT_NE(ReadBytes(f.Path("target.ear")).find("12+00.000"), std::string::npos);
     }},
    // Temporary files: a stale one is removed, a long name still saves.
    {"stale temporary file", roadAnd([](Folder& f) {
       f.Write(".earthwork-" + std::to_string(EndedProcess()) + "-3.tmp", "half");
     }), {"convert", "road.ear", "--out", "copy.ear"}, 0, "", {"copy.ear", "*.tmp"},
     [](const Folder& f) {
       for (const auto& e : fs::directory_iterator(f.dir.Root())) {
         EXPECT_FALSE(IsSaveTemporaryName(e.path().filename().string())) << e.path();
       }
     }},
    {"name of 254 bytes", road, {"convert", "road.ear", "--out", kLong}, 0, "", {kLong}},
    // A header text longer than a report line stays a "#" line.
    {"long designer", [longDesigner](Folder& f) {
       f.Write("long.ear", longDesigner);
       f.Write("short.ear", kRoad);
       return true;
     }, {"report", "long.ear", "--out", "long.rpt"}, 0, "", {"long.rpt"}, [](const Folder& f) {
       const std::vector<std::string> lines = Lines(ReadBytes(f.Path("long.rpt")));
       ASSERT_EQ(lines[0], "#Designer= " + std::string(189, 'D'));
       EXPECT_EQ(lines[1], "#" + std::string(199, 'D'));
       EXPECT_EQ(lines[2], "#" + std::string(62, 'D'));
       EXPECT_EQ(lines[3], "#Project No.= P-100");
     }},
    // The input's kind is its file name's, never a folder's.
    {"project in a folder named .logs", [](Folder& f) {
       f.Write("old.logs/road.ear", kRoad);
       return true;
     }, {"report", "old.logs/road.ear"}, 0, ""},
    // A mistyped command says so without a window.
    {"unknown command", road, {"frobnicate"}, 2, "Unknown command: frobnicate"},
    {"two file names", road, {"road.ear", "road.ear"}, 2, "Unknown command: road.ear"},
  };
  // clang-format on
}

bool Allowed(const std::vector<std::string>& changes, const std::string& name) {
  for (const std::string& c : changes) {
    if (c == name || (c == "*.tmp" && name.ends_with(".tmp"))) return true;
  }
  return false;
}

TEST(BatchFiles, OnlyTheOutputsChange) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Folder f;
    if (!c.make(f)) {
      std::printf("%s: skipped, this machine cannot make it\n", c.name.c_str());
      f.cleanup();
      continue;
    }
    const std::vector<std::string> skip = {"reports", "stdout.txt", "stderr.txt"};
    const auto before = FolderSnapshot(f.dir.Root().string(), skip);
    std::vector<std::string> args;
    for (const std::string& a : c.args)
      args.push_back(ReplaceAll(a, "{dir}", f.dir.Root().string()));
    // A window must never open: without a display it could not, and would abort.
    const ProgramRun r = RunProgram(EARTHWORK_BINARY, args, f.dir.Root().string(),
                                    f.Path("reports"), "QT_QPA_PLATFORM=xcb DISPLAY= timeout 60");
    EXPECT_EQ(r.code, c.code) << r.err;
    const std::string said =
        ReplaceAll(ReplaceAll(c.said, "{dir}", f.dir.Root().string()), "{reason}", f.reason);
    if (said.empty()) {
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_NE(r.err.find(said), std::string::npos) << r.err;
    }
    const auto after = FolderSnapshot(f.dir.Root().string(), skip);
    for (const auto& [name, content] : before) {
      if (Allowed(c.changes, name)) continue;
      EXPECT_TRUE(after.count(name) && after.at(name) == content) << name << " changed";
    }
    for (const auto& [name, content] : after) {
      EXPECT_TRUE(before.count(name) || Allowed(c.changes, name)) << name << " appeared";
    }
    if (c.check) c.check(f);
    f.cleanup();
  }
}

// Two runs at the same time on projects of one base name each keep their
// own report: neither copy is torn or the other's.
TEST(BatchFiles, RunsAtTheSameTimeKeepTheirOwnReports) {
  TempDir dir;
  const std::string reports = dir.Path("reports");
  fs::create_directories(dir.Path("a"));
  fs::create_directories(dir.Path("b"));
  WriteBytes(dir.Path("a/road.ear"), Project("First", 1800));
  WriteBytes(dir.Path("b/road.ear"), Project("Second", 1700));
  const auto single = [&](const std::string& which) {
    const std::string out = dir.Path(which + "-alone.rpt");
    EXPECT_EQ(RunProgram(EARTHWORK_BINARY, {"report", which + "/road.ear", "--out", out},
                         dir.Root().string(), reports)
                  .code,
              0);
    return ReadBytes(out);
  };
  const std::string first = single("a");
  const std::string second = single("b");
  ASSERT_NE(first, second);
  const std::string program = ShellQuoted(EARTHWORK_BINARY);
  for (int run = 0; run < 20; ++run) {
    const std::string command = "cd " + ShellQuoted(dir.Root().string()) +
                                " && export EARTHWORK_REPORT_DIR=" + ShellQuoted(reports) +
                                " && (" + program + " report a/road.ear --out a.rpt >/dev/null & " +
                                program + " report b/road.ear --out b.rpt >/dev/null & wait)";
    ASSERT_EQ(std::system(command.c_str()), 0);
    ASSERT_EQ(ReadBytes(dir.Path("a.rpt")), first) << "run " << run;
    ASSERT_EQ(ReadBytes(dir.Path("b.rpt")), second) << "run " << run;
  }
  // Each run took its own folder away with it.
  for (const auto& e : fs::directory_iterator(reports)) {
    EXPECT_TRUE(e.is_regular_file()) << e.path();
  }
}

// A file of a valid project followed by 50 MB of blank lines is read in
// memory of the order of its size, not of its number of lines.
TEST(BatchFiles, BlankLinesCostNoMemoryPerLine) {
  TempDir dir;
  {
    std::string text = kRoad;
    text.insert(text.find("[LAST"), std::string(size_t{50} << 20, '\n'));
    WriteBytes(dir.Path("blank.ear"), text);
  }
  WriteBytes(dir.Path("road.ear"), kRoad);
  long peak = 0;  // KiB
  for (const std::string name : {"blank", "road"}) {
    const std::string in = dir.Path(name + ".ear");
    const std::string out = dir.Path(name);
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::setenv("EARTHWORK_REPORT_DIR", dir.Path("reports").c_str(), 1);
      ::execl(EARTHWORK_BINARY, EARTHWORK_BINARY, "convert", in.c_str(), "--out", out.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    ::wait4(pid, &status, 0, &usage);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << name;
    if (name == "blank") peak = usage.ru_maxrss;
  }
  EXPECT_EQ(ReadBytes(dir.Path("blank")), ReadBytes(dir.Path("road")));
  EXPECT_LT(peak, 400L * 1024) << "peak of the program in KiB";
}

}  // namespace
}  // namespace earthwork::testing
