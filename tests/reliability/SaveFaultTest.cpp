// Saves that fail at every step, on a full disk, and saves killed at random
// moments: the old file stays whole, no temporary file is left, the user is
// told the path and the reason, and the project still counts as changed.

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "commands/FileCommands.h"
#include "earfiles/EarFile.h"
#include "project/FileIO.h"
#include "project/ProgramState.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

/// The first `groups` groups of `store` hold `rows` rows each, whose values
/// depend on `seed`.
void FillProject(ProjectStore& store, int rows, int seed, int groups = 1) {
  store.GroupCount = static_cast<int16_t>(groups);
  store.CurrentGroup = 0;
  store.HeaderFields = {"Designer " + std::to_string(seed), "P-1", "C-2"};
  for (int g = 0; g < groups; ++g) {
    GroupRecord& group = store.Group(g);
    group.Name = "Line " + std::to_string(g);
    group.BalanceFactor = "1.15";
    for (int r = 0; r < rows; ++r) {
      group.Cells.at(r, Station) = std::to_string(r + seed) + "+00.000";
      group.Cells.at(r, Code) = r % 7 == 3 ? "SA" : "-";
      for (int c = Cut; c <= AddedFill; ++c) {
        group.Cells.at(r, c) = std::to_string((r * 31 + c * 7 + g + seed) % 500) + ".25";
      }
    }
    group.Cells.at(rows, Station) = kEndOfRows;
  }
}

/// Names in `folder` other than `keep`: what a failed save may not leave.
std::vector<std::string> Leftovers(const fs::path& folder, const std::string& keep) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name != keep) names.push_back(name);
  }
  return names;
}

class SaveFaults : public ::testing::Test {
 protected:
  SaveFaults() {
    FillProject(state.Project, 40, 1);
    state.Project.CurrentFileName = path;
    state.Project.DataChanged = true;
    state.Window.Caption = "EARTHWORK :" + path;
  }

  /// The message every failed save shows.
  std::string FailureText(int error) const {
    return "Program Error: Cannot save " + path + ": " + std::strerror(error) +
           " occured in Write2002VersionFile";
  }

  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  TempDir dir;
  std::string path = dir.Path("road.ear");
  const std::string old =
      CrLf({"[VERSION 2002]", "[ENGLISH]", "old", "", "", "[END AREA 1 A]", "#BALANCE FACTOR", "1",
            "#MEASURED IN EMBANKMENT", " 0 ", "00+00.000 - 1.00 0.00 2.00 0.00", "[LAST RECORD]"});
};

// Every save path, failing at every step of the atomic write: the old file
// stays byte for byte, no temporary file is left, one message names the
// path and the reason, and the project keeps its changes (and its rows).
TEST_F(SaveFaults, EveryStepFailsCleanlyOnEverySavePath) {
  using Save = std::function<bool(ProgramState&)>;  // true when the caller says it saved
  const auto cleared = [](void (*command)(ProgramState&)) -> Save {
    return [command](ProgramState& s) {
      command(s);
      return !s.Project.DataChanged;
    };
  };
  const std::optional<std::string> cancel;
  const std::string noFile = "NO FILE IS SELECTED";
  struct Path {
    const char* name;
    Save save;
    std::deque<Answer> answers;                    // save first, overwrite
    std::deque<std::optional<std::string>> files;  // a failed save asks for another name
    std::vector<std::string> after;                // the messages after the failure's
    bool keepsChanged;  // the plain writers leave DataChanged to their caller
  };
  const Answer yes = Answer::Yes;
  // clang-format off
  const Path paths[] = {
      {"SaveEarFile", [](ProgramState& s) { return SaveEarFile(s, s.Project.CurrentFileName).Ok(); }, {}, {}, {}, false},
      {"Write2002VersionFile", [](ProgramState& s) { return Write2002VersionFile(s).Ok(); }, {yes}, {}, {}, false},
      {"SaveFile", cleared(SaveFile), {yes}, {cancel}, {noFile}, true},
      {"SaveAsFile", cleared(SaveAsFile), {yes}, {path, cancel}, {noFile}, true},
      {"SaveItBeforeExit", [](ProgramState& s) { return SaveItBeforeExit(s) == Closing::Goes; }, {yes, yes}, {}, {}, true},
      {"NewFile", cleared(NewFile), {yes, yes}, {cancel}, {noFile}, true},
  };
  // clang-format on
  const std::pair<WriteStep, const char*> steps[] = {
      {WriteStep::Create, "create"}, {WriteStep::Write, "write"}, {WriteStep::Flush, "flush"},
      {WriteStep::Sync, "sync"},     {WriteStep::Close, "close"}, {WriteStep::Rename, "rename"}};
  for (const Path& p : paths) {
    for (const auto& [failing, stepName] : steps) {
      SCOPED_TRACE(std::string(p.name) + " failing at " + stepName);
      const WriteStep step = failing;  // a lambda captures it
      WriteBytes(path, old);
      dialogs = ScriptedDialogs{};
      dialogs.answers = p.answers;
      dialogs.files = p.files;
      view.calls.clear();
      state.Project.DataChanged = true;
      state.Project.CurrentFileName = path;
      const int error = step == WriteStep::Rename ? EXDEV : EIO;
      bool saved = true;
      {
        ScopedWriteFault fault([&](WriteStep at) { return at == step ? error : 0; });
        saved = p.save(state);
      }
      EXPECT_FALSE(saved);
      EXPECT_EQ(ReadBytes(path), old);
      EXPECT_EQ(Leftovers(dir.Root(), "road.ear"), std::vector<std::string>{});
      std::vector<std::string> texts = dialogs.Texts();
      // Questions asked before the write (overwrite, save first) come first.
      std::erase_if(texts, [](const std::string& t) { return t.find('?') != std::string::npos; });
      std::vector<std::string> expected = {FailureText(error)};
      expected.insert(expected.end(), p.after.begin(), p.after.end());
      EXPECT_EQ(texts, expected);
      EXPECT_EQ(state.Project.CurrentFileName, path);
      if (p.keepsChanged) {
        EXPECT_TRUE(state.Project.DataChanged);
      }
      // Nothing of the project was reset or closed.
      EXPECT_EQ(state.Project.Group(0).Cells.DataRowCount(), 40);
      EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "UnloadMainWindow"), 0);
      EXPECT_EQ(std::count(view.calls.begin(), view.calls.end(), "ResetMainForm"), 0);
    }
  }
}

// Without a fault the same paths replace the file and clear DataChanged,
// so the failures above are the faults' doing.
TEST_F(SaveFaults, WithoutAFaultTheFileIsReplaced) {
  WriteBytes(path, old);
  dialogs.answers = {Answer::Yes};
  SaveFile(state);
  EXPECT_EQ(dialogs.Texts(),
            (std::vector<std::string>{" OVERWRITE EXISTING FILE " + path + " ?",
                                      "FILE : " + path + " IS SAVED SUCCESSFULLY"}));
  EXPECT_FALSE(state.Project.DataChanged);
  EXPECT_EQ(ReadBytes(path), BuildEarFileText(state.Project));
  EXPECT_EQ(Leftovers(dir.Root(), "road.ear"), std::vector<std::string>{});
}

// A failed first save of a new file leaves no file at all.
TEST_F(SaveFaults, AFailedFirstSaveLeavesNoFile) {
  for (const WriteStep step : {WriteStep::Write, WriteStep::Rename}) {
    ScopedWriteFault fault([&](WriteStep at) { return at == step ? ENOSPC : 0; });
    EXPECT_FALSE(SaveEarFile(state, path));
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(dir.Root()));
  }
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>(2, FailureText(ENOSPC)));
}

// A full disk and a killed save are made the POSIX way (mount, fork).
#ifndef _WIN32
/// A small file system of its own, mounted for one test; skipped where the
/// machine does not allow mounting (not root, or in a container that forbids it).
class SmallDisk {
 public:
  explicit SmallDisk(const fs::path& at, const char* options) : at_(at) {
    fs::create_directories(at_);
    mounted_ = ::mount("tmpfs", at_.c_str(), "tmpfs", 0, options) == 0;
    reason_ = mounted_ ? "" : std::strerror(errno);
  }
  ~SmallDisk() {
    if (mounted_) ::umount2(at_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  const std::string& Reason() const { return reason_; }

 private:
  fs::path at_;
  bool mounted_ = false;
  std::string reason_;
};

// A disk too full for the new file: the write fails with "No space left on
// device", the old file and the free space are as they were.
TEST_F(SaveFaults, DiskFullKeepsTheOldFile) {
  const fs::path mountPoint = dir.Root() / "small";
  SmallDisk disk(mountPoint, "size=64k");
  if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a small file system here: " << disk.Reason();
  path = (mountPoint / "road.ear").string();
  WriteBytes(path, old);
  FillProject(state.Project, 1800, 2);  // about 130 KB: more than the disk holds
  state.Project.CurrentFileName = path;
  state.Project.DataChanged = true;
  const auto freeBefore = fs::space(mountPoint).available;

  dialogs.answers = {Answer::Yes};
  dialogs.files = {std::nullopt};
  SaveFile(state);

  EXPECT_EQ(ReadBytes(path), old);
  EXPECT_EQ(Leftovers(mountPoint, "road.ear"), std::vector<std::string>{});
  EXPECT_EQ(fs::space(mountPoint).available, freeBefore);
  EXPECT_EQ(dialogs.Texts(),
            (std::vector<std::string>{" OVERWRITE EXISTING FILE " + path + " ?",
                                      FailureText(ENOSPC), "NO FILE IS SELECTED"}));
  EXPECT_TRUE(state.Project.DataChanged);
  EXPECT_EQ(state.Project.Group(0).Cells.DataRowCount(), 1800);
}

// A save killed at any moment leaves the old file or the new one, never a
// mixture, and at most its own temporary file, which the next save removes.
// 200 children each save the largest project (26 groups of 1800 rows) and
// are killed after a random delay spread over the whole save.
TEST(KilledSave, FileIsAlwaysTheOldOrTheNewOne) {
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  TempDir dir;
  const std::string path = dir.Path("road.ear");

  FillProject(state.Project, 1800, 1, 26);
  const std::string old = BuildEarFileText(state.Project);
  FillProject(state.Project, 1800, 2, 26);
  const std::string fresh = BuildEarFileText(state.Project);
  ASSERT_NE(old, fresh);

  // A child that saves once; returns its pid.
  auto startSave = [&] {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(SaveEarFile(state, path) ? 0 : 1);
    return pid;
  };
  // How long a whole save takes from the fork, as the upper end of the delays.
  WriteBytes(path, old);
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  ::waitpid(startSave(), &status, 0);
  const auto whole = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(ReadBytes(path), fresh);
  const auto limit = std::chrono::duration_cast<std::chrono::microseconds>(whole * 11 / 10);

  std::mt19937 random(20261205);
  std::uniform_int_distribution<long> delay(0, limit.count());
  int sawOld = 0;
  int sawNew = 0;
  for (int i = 0; i < 200; ++i) {
    WriteBytes(path, old);
    const pid_t pid = startSave();
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    const std::string now = ReadBytes(path);
    if (now == old) {
      ++sawOld;
    } else if (now == fresh) {
      ++sawNew;
    } else {
      FAIL() << "torn file after kill " << i << ": " << now.size() << " bytes";
    }
    // A killed save may leave its own temporary file, no more.
    const std::vector<std::string> left = Leftovers(dir.Root(), "road.ear");
    EXPECT_LE(left.size(), 1u);
    for (const std::string& name : left) EXPECT_TRUE(IsSaveTemporaryName(name)) << name;
  }
  ::waitpid(startSave(), &status, 0);
  EXPECT_EQ(ReadBytes(path), fresh);
  EXPECT_EQ(Leftovers(dir.Root(), "road.ear"), std::vector<std::string>{});
  // Both outcomes happened, so the kills fell before and after the rename.
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
  std::printf("killed saves: %d left the old file, %d the new one (save takes %lld us)\n", sawOld,
              sawNew, static_cast<long long>(limit.count() * 10 / 11));
}

#endif

}  // namespace
}  // namespace earthwork::testing
