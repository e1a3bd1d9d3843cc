// Random sequences of batch commands over a folder that holds projects and
// logs of the same base names, links and read-only files: whatever the
// command and its outcome, no file changes but the output it names, and it
// never crashes. EARTHWORK_SEQUENCE_RUNS sets the number of commands.

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

/// The folder every command meets: each name stands for a kind of file a
/// user keeps beside their projects.
void MakeFolder(const TempDir& dir) {
  const auto copy = [&](const std::string& from, const std::string& to) {
    fs::copy_file(DataPath(from), dir.Path(to));
  };
  copy("ear/worked_example.ear", "road.ear");
  copy("geopak/ramp1.log", "road.log");
  copy("geopak/ramp2m.log", "ramp.log");
  copy("geopak/ramp2m.ear", "ramp.ear");  // the log's own station table
  copy("ear/v971.ear", "old.ear");
  copy("reports/all_three_groups.rpt", "all.rpt");
  copy("ear/worked_example.ear", "locked.ear");
  fs::permissions(dir.Path("locked.ear"), fs::perms::owner_read | fs::perms::group_read);
  fs::create_symlink("road.ear", dir.Path("link.ear"));
  fs::create_symlink("ramp.log", dir.Path("link.log"));
  fs::create_directory(dir.Path("old.logs"));
  copy("ear/worked_example.ear", "old.logs/road.ear");
  WriteBytes(dir.Path("notes.txt"), "the user's notes\r\n");
}

// Logs come twice: their reports write the most files.
const std::vector<std::string> kInputs = {
    "road.log",          "ramp.log",  "link.log",    "road.ear",   "road.log", "ramp.log",
    "ramp.ear",          "old.ear",   "all.rpt",     "locked.ear", "link.ear", "link.log",
    "old.logs/road.ear", "notes.txt", "missing.ear", "old.logs"};
const std::vector<std::string> kOutputs = {"new.rpt",  "new.ear",   "new.pdf",    "road.ear",
                                           "road.log", "ramp.ear",  "locked.ear", "link.ear",
                                           "all.rpt",  "notes.txt", "old.logs",   "road.rpt"};

std::string Pick(std::mt19937& random, const std::vector<std::string>& from) {
  return from[std::uniform_int_distribution<size_t>(0, from.size() - 1)(random)];
}

/// A random command line, and the outputs it names.
std::vector<std::string> RandomCommand(std::mt19937& random, std::vector<std::string>& outputs) {
  const auto chance = [&random](int percent) {
    return std::uniform_int_distribution<int>(0, 99)(random) < percent;
  };
  std::vector<std::string> args;
  switch (std::uniform_int_distribution<int>(0, 5)(random)) {
    case 0:
      args = {"convert", Pick(random, kInputs), "--out", Pick(random, kOutputs)};
      outputs.push_back(args.back());
      break;
    case 1:
      args = {"pages", Pick(random, kInputs)};
      break;
    default:
      args = {"report", Pick(random, kInputs)};
      if (chance(30)) args.insert(args.end(), {"--tab", chance(80) ? "1" : "2"});
      if (chance(30) && args.size() == 2) args.push_back("--all");
      if (chance(20)) args.push_back("--accumulated");
      if (chance(60)) {
        outputs.push_back(Pick(random, kOutputs));
        args.insert(args.end(), {"--out", outputs.back()});
      }
      if (chance(10)) {
        outputs.push_back(Pick(random, kOutputs));
        args.insert(args.end(), {"--pdf", outputs.back()});
      }
  }
  return args;
}

/// `name` and, for a link, the file it names: what writing `name` changes.
std::vector<std::string> Written(const TempDir& dir, const std::string& name) {
  std::vector<std::string> names = {name};
  if (fs::is_symlink(dir.Path(name))) names.push_back(fs::read_symlink(dir.Path(name)).string());
  return names;
}

TEST(BatchSequence, NoFileChangesButTheNamedOutput) {
  const char* runs = std::getenv("EARTHWORK_SEQUENCE_RUNS");
  const int count = runs ? std::atoi(runs) : 60;
  std::mt19937 random(20261206);
  TempDir dir;
  MakeFolder(dir);
  const std::vector<std::string> skip = {"stdout.txt", "stderr.txt", "reports"};
  for (int i = 0; i < count; ++i) {
    std::vector<std::string> outputs;
    const std::vector<std::string> args = RandomCommand(random, outputs);
    std::string line;
    for (const std::string& a : args) line += " " + a;
    SCOPED_TRACE("command " + std::to_string(i) + ":" + line);

    std::vector<std::string> may;
    for (const std::string& o : outputs) {
      for (const std::string& w : Written(dir, o)) may.push_back(w);
    }
    const auto before = FolderSnapshot(dir.Root().string(), skip);
    const ProgramRun r = RunProgram(EARTHWORK_BINARY, args, dir.Root().string(),
                                    dir.Path("reports"), "QT_QPA_PLATFORM=offscreen timeout 60");
    ASSERT_TRUE(r.code == 0 || r.code == 1) << r.code << "\n" << r.err;
    const auto after = FolderSnapshot(dir.Root().string(), skip);
    for (const auto& [name, content] : before) {
      const bool named = std::find(may.begin(), may.end(), name) != may.end();
      if (r.code == 0 && named) continue;
      EXPECT_TRUE(after.count(name) && after.at(name) == content) << name << " changed\n" << r.err;
    }
    for (const auto& [name, content] : after) {
      const bool named = std::find(may.begin(), may.end(), name) != may.end();
      EXPECT_TRUE(before.count(name) || (r.code == 0 && named)) << name << " appeared\n" << r.err;
    }
    // A file that appeared is kept only when the command wrote it; the next
    // command starts from the same folder.
    for (const auto& [name, content] : after) {
      if (!before.count(name)) fs::remove_all(dir.Path(name));
    }
    for (const auto& [name, content] : before) {
      if (content.starts_with("file:") && (!after.count(name) || after.at(name) != content)) {
        fs::remove(dir.Path(name));
        WriteBytes(dir.Path(name), content.substr(5));
      }
    }
    fs::permissions(dir.Path("locked.ear"), fs::perms::owner_read | fs::perms::group_read);
  }
}

}  // namespace
}  // namespace earthwork::testing
