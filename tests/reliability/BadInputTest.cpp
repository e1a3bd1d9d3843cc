// The catalogue of bad inputs: each tests/data/bad/NAME.expect names an
// operation and its input (a file beside it, or one made below because of
// its size or kind) and holds what the user is shown, the state left and
// every file changed. No input crashes the program, loses data or fails
// silently. Then saves that fail at every step and saves killed at random
// moments: the old file stays whole and no temporary file is left.

#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "commands/FileCommands.h"
#include "earfiles/EarFile.h"
#include "earfiles/EarTestSupport.h"
#include "project/FileIO.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/StoreRows.h"
#include "support/TestFiles.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

struct World {
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  std::string path;    // the input
  std::string folder;  // the temporary folder holding it
  std::string reason;  // why a read-only folder refuses writing
  bool skip = false;   // this machine cannot make the input
  std::function<void()> cleanup = [] {};
};

using Maker = std::function<void(World&)>;

const std::string kProject =
    "[VERSION 2002]\r\n[ENGLISH]\r\nJ. Smith\r\nP-100\r\nC-200\r\n[END AREA 1 Main]\r\n"
    "#BALANCE FACTOR\r\n1.00\r\n#MEASURED IN EMBANKMENT\r\n 0 \r\n"
    "10+00.000 - 1.00 0.00 2.00 0.00\r\n[LAST RECORD]\r\n";

/// A data file with each "{{N|text}}" made N copies of the text, "{i}" in
/// it counting from 0: inputs of many megabytes kept as a few lines.
std::string Expanded(std::string s) {
  for (size_t at; (at = s.find("{{")) != std::string::npos;) {
    const size_t bar = s.find('|', at), end = s.find("}}", bar);
    std::string all;
    for (size_t i = 0, n = std::stoul(s.substr(at + 2, bar - at - 2)); i < n; ++i)
      all += ReplaceAll(s.substr(bar + 1, end - bar - 1), "{i}", std::to_string(i));
    s.replace(at, end + 2 - at, all);
  }
  return s;
}

/// The input's folder as a small file system of its own, filled, then made
/// read-only if asked (for an ordinary user, whom no mount is allowed,
/// read-only permissions instead).
void SmallDisk(World& w, const std::function<void()>& fill, bool readOnly, const char* size) {
  const fs::path folder = fs::path(w.path).parent_path();
  fs::create_directories(folder);
  if (::geteuid() != 0) {
    if ((w.skip = !readOnly)) return;
    fill();
    fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    w.cleanup = [folder] { fs::permissions(folder, fs::perms::owner_all); };
    w.reason = std::strerror(EACCES);
    return;
  }
  if ((w.skip = ::mount("tmpfs", folder.c_str(), "tmpfs", 0, size) != 0)) return;
  fill();
  // A failed save gives back all the space it took.
  w.cleanup = [folder, readOnly, free = fs::space(folder).available] {
    EXPECT_TRUE(readOnly || fs::space(folder).available == free);
    ::umount2(folder.c_str(), MNT_DETACH);
  };
  w.reason = std::strerror(EROFS);
  w.skip = readOnly && ::mount("tmpfs", folder.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, size) != 0;
}

/// The inputs, or their kind or size, that no file under tests/data/bad can hold.
const std::map<std::string, Maker>& Makers() {
  // clang-format off
  const Maker fifo = [](World& w) { w.skip = ::mkfifo(w.path.c_str(), 0600) != 0; };
  const Maker folder = [](World& w) { fs::create_directory(w.path); };
  const Maker link = [](World& w) { WriteBytes(w.folder + "/target.ear", kProject); fs::create_symlink("target.ear", w.path); };
  static const std::map<std::string, Maker> makers = {
      {"folder.ear", folder},
      {"folder-target.ear", folder},
      {"fifo.ear", fifo},
      {"fifo-target.ear", fifo},
      {"log-fifo.log", fifo},
      {"device.ear", [](World& w) { fs::create_symlink("/dev/null", w.path); }},
      {"log-zero.log", [](World& w) { fs::create_symlink("/dev/zero", w.path); }},
      {"link.ear", link},
      {"link-target.ear", link},
      {"hard-linked.ear", [](World& w) { fs::create_hard_link(w.path, w.folder + "/other-name.ear"); }},
      // Sparse, so that they cost no disk.
      {"too-large.ear", [](World& w) { fs::resize_file(w.path, (uintmax_t{64} << 20) + 100000); }},
      {"too-large.log", [](World& w) { fs::resize_file(w.path, (uintmax_t{256} << 20) + 100000); }},
      {"road.log", [](World& w) { WriteBytes(w.folder + "/road.ear", kProject); }},
      {"read-only/ramp1.log", [](World& w) { SmallDisk(w, [&] { fs::copy_file(DataPath("geopak/ramp1.log"), w.path); }, true, "size=1m"); }},
      {"read-only/road.ear", [](World& w) { SmallDisk(w, [] {}, true, "size=16k"); }},
      {"full/road.ear", [](World& w) { SmallDisk(w, [&] { WriteBytes(w.path, kProject); }, false, "size=4k"); }},
  };
  // clang-format on
  return makers;
}

/// The store as the user would see it: groups, header, the first rows.
std::string Describe(const World& w) {
  const ProjectStore& s = w.state.Project;
  std::ostringstream out;
  out << "groups " << s.GroupCount << " changed " << s.DataChanged << " file " << s.CurrentFileName
      << "\n"
      << StoreText(s, 2) << "log " << s.LogFileMode << " stations "
      << w.state.Counters.SectionStationCount << " points " << w.state.Counters.PointCount
      << " report " << fs::exists(w.state.Report.ReportFileName) << " pages "
      << w.state.Report.PageCount << " shown "
      << (w.view.calls.empty() ? "-" : w.view.calls.back());
  return out.str() + "\n";
}

/// Runs `op` on w.path; returns what it adds to the outcome.
std::string RunOp(const std::string& op, World& w) {
  ScriptedDialogs& d = w.dialogs;
  ProjectStore& store = w.state.Project;
  d.files = {w.path};
  if (op == "open" || op == "report") Openfile(w.state);
  if (op == "report") PrintPreviewReport(w.state, ReportKind::Total);
  if (op == "import") {
    store.Group(0).Name = "Main";
    PutRows(store.Group(0), {{"10+00.000"}});
    ImportEarIntoGroups(w.state);
  }
  if (op == "save") {  // Save As of a changed two-row project onto the input
    store.CurrentFileName = "UNTITLED";
    PutRows(store.Group(0), {{"10+00.000"}, {"11+00.000"}});
    store.DataChanged = true;
    d.files = {w.path, std::nullopt};  // the target, then cancel the other-name dialog
    d.answers = {Answer::Yes};         // replace it, if it exists
    SaveAsFile(w.state);
    return "holds the project " +
           std::to_string(fs::is_regular_file(w.path) &&
                          ReadBytes(w.path) == BuildEarFileText(store)) +
           "\n";
  }
  if (op == "reread") {  // read, saved and read again
    std::string first = "read " + std::to_string(OpenEarFile(w.state, w.path).Ok()) + "\n";
    for (const std::string& text : d.Texts()) first += "message " + text + "\n";
    d.shown.clear();
    first += Describe(w);
    const bool saved = SaveEarFile(w.state, w.path).Ok();
    return first + "saved " + std::to_string(saved) + " read again " +
           std::to_string(OpenEarFile(w.state, w.path).Ok()) + "\n";
  }
  return "";
}

TEST(BadInputs, EachGivesItsMessagesAndKeepsTheProjectSound) {
  TempDir reports;
  ScopedReportDirectory reportDir(reports.Root().string());
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(DataPath("bad"))) {
    if (entry.path().extension() != ".expect") continue;
    const std::string expectName = "bad/" + entry.path().filename().string();
    SCOPED_TRACE(expectName);
    std::istringstream first(ReadBytes(entry.path().string()));
    std::string op, name;
    first >> op >> name;
    TempDir dir;
    World w;
    w.folder = dir.Root().string();
    w.path = dir.Path(name);
    if (fs::exists(DataPath("bad/" + name)))
      WriteBytes(w.path, Expanded(ReadBytes(DataPath("bad/" + name))));
    if (Makers().contains(name)) Makers().at(name)(w);
    if (w.skip) w.cleanup();  // this machine cannot make it
    if (w.skip) continue;
    // The inputs of hundreds of megabytes are not read twice more.
    const std::vector<std::string> big = {name.starts_with("too-large") ? name : ""};
    auto before = FolderSnapshot(w.folder, big);
    std::string outcome = op + " " + name + "\n" + RunOp(op, w);
    for (const std::string& text : w.dialogs.Texts()) outcome += "message " + text + "\n";
    outcome += Describe(w);
    for (const std::string& l :
         Lines(op == "report" ? ReadBytes(w.state.Report.ReportFileName) : "")) {
      if (!l.empty() && std::isdigit(static_cast<unsigned char>(l[0])))
        outcome += "report " + l + "\n";
    }
    const auto after = FolderSnapshot(w.folder, big);
    for (const auto& [file, was] : before)
      if (after.count(file) == 0) outcome += "gone " + file + "\n";
    for (const auto& [file, is] : after)
      if (before[file] != is) outcome += "changed " + file + "\n";
    w.cleanup();
    outcome = ReplaceAll(outcome, w.state.Report.Folder.Path(), "{run}");
    outcome = ReplaceAll(ReplaceAll(outcome, w.path, "{path}"), w.folder, "{folder}");
    if (!w.reason.empty()) outcome = ReplaceAll(outcome, w.reason, "{reason}");
    ExpectGolden(ReplaceAll(outcome, std::string(1, '\0'), "\\0"), expectName);
    ++cases;
  }
  EXPECT_GE(cases, 60);
}

/// The first `groups` groups of `store` hold `rows` rows each, whose values
/// depend on `seed`.
void FillProject(ProjectStore& store, int rows, int seed, int groups = 1) {
  store.GroupCount = static_cast<int16_t>(groups);
  store.HeaderFields = {"Designer " + std::to_string(seed), "P-1", "C-2"};
  for (int g = 0; g < groups; ++g) {
    for (int r = 0; r < rows; ++r) {
      for (int c = Station; c <= AddedFill; ++c)
        store.Group(g).Cells.at(r, c) = std::to_string(r + seed) + (c ? ".25" : "+00.000");
    }
    store.Group(g).Cells.at(rows, Station) = kEndOfRows;
  }
}

// Every save path, failing at every step of the atomic write: the old file
// stays byte for byte, no temporary file is left, one message names the
// path and the reason, and the project keeps its changes (and its rows).
// Then a failed first save of a new file leaves no file at all.
TEST(SaveFaults, EveryStepFailsCleanlyOnEverySavePath) {
  World w;
  TempDir dir;
  const std::string path = dir.Path("road.ear");
  FillProject(w.state.Project, 40, 1);
  w.state.Window.Caption = "EARTHWORK :" + path;
  const auto failure = [&](int error) {
    return "Program Error: Cannot save " + path + ": " + std::strerror(error) +
           " occured in Write2002VersionFile";
  };
  const std::optional<std::string> cancel;
  struct Path {
    bool (*save)(ProgramState&);                   // true when the caller says it saved
    std::deque<Answer> answers;                    // save first, overwrite
    std::deque<std::optional<std::string>> files;  // a failed save asks for another name
    bool keepsChanged;  // the plain writers leave DataChanged to their caller
  };
  // clang-format off
  const Path paths[] = {
      // The commands' own verdict is DataChanged, checked below.
      {[](ProgramState& s) { return SaveEarFile(s, s.Project.CurrentFileName).Ok(); }, {}, {}, false},
      {[](ProgramState& s) { return Write2002VersionFile(s).Ok(); }, {Answer::Yes}, {}, false},
      {[](ProgramState& s) { SaveFile(s); return false; }, {Answer::Yes}, {cancel}, true},
      {[](ProgramState& s) { SaveAsFile(s); return false; }, {Answer::Yes}, {path, cancel}, true},
      {[](ProgramState& s) { return SaveItBeforeExit(s) == Closing::Goes; }, {Answer::Yes, Answer::Yes}, {}, true},
      {[](ProgramState& s) { NewFile(s); return false; }, {Answer::Yes, Answer::Yes}, {cancel}, true},
  };
  // clang-format on
  for (const Path& p : paths) {
    for (const WriteStep step : {WriteStep::Create, WriteStep::Write, WriteStep::Flush,
                                 WriteStep::Sync, WriteStep::Close, WriteStep::Rename}) {
      SCOPED_TRACE("path " + std::to_string(&p - paths) + " failing at step " +
                   std::to_string(int(step)));
      WriteBytes(path, kProject);
      w.dialogs = ScriptedDialogs{};
      w.dialogs.answers = p.answers;
      w.dialogs.files = p.files;
      w.view.calls.clear();
      w.state.Project.DataChanged = true;
      w.state.Project.CurrentFileName = path;
      const int error = step == WriteStep::Rename ? EXDEV : EIO;
      ScopedWriteFault fault([&](WriteStep at) { return at == step ? error : 0; });
      EXPECT_FALSE(p.save(w.state));
      EXPECT_EQ(ReadBytes(path), kProject);
      EXPECT_TRUE(FolderSnapshot(dir.Root().string(), {"road.ear"}).empty());
      std::vector<std::string> texts = w.dialogs.Texts();
      // Questions asked before the write (overwrite, save first) come first.
      std::erase_if(texts, [](const std::string& t) { return t.find('?') != std::string::npos; });
      EXPECT_EQ(texts, (p.files.empty() ? Texts{failure(error)}
                                        : Texts{failure(error), "NO FILE IS SELECTED"}));
      EXPECT_EQ(w.state.Project.CurrentFileName, path);
      EXPECT_TRUE(w.state.Project.DataChanged || !p.keepsChanged);
      // Nothing of the project was reset or closed.
      EXPECT_EQ(w.state.Project.Group(0).Cells.DataRowCount(), 40);
      EXPECT_EQ(std::ranges::count(w.view.calls, "UnloadMainWindow") +
                    std::ranges::count(w.view.calls, "ResetMainForm"),
                0);
    }
  }
  fs::remove(path);
  w.dialogs = ScriptedDialogs{};
  for (const WriteStep step : {WriteStep::Write, WriteStep::Rename}) {
    ScopedWriteFault fault([&](WriteStep at) { return at == step ? ENOSPC : 0; });
    EXPECT_FALSE(SaveEarFile(w.state, path));
    EXPECT_TRUE(fs::is_empty(dir.Root()));
  }
  EXPECT_EQ(w.dialogs.Texts(), Texts(2, failure(ENOSPC)));
}

// A save killed at any moment leaves the old file or the new one, never a
// mixture, and at most its own temporary file, which the next save removes.
// 200 children each save the largest project (26 groups of 1800 rows) and
// are killed after a random delay spread over the whole save.
TEST(KilledSave, FileIsAlwaysTheOldOrTheNewOne) {
  World w;
  TempDir dir;
  const std::string path = dir.Path("road.ear");

  FillProject(w.state.Project, 1800, 1, 26);
  const std::string old = BuildEarFileText(w.state.Project);
  FillProject(w.state.Project, 1800, 2, 26);
  const std::string fresh = BuildEarFileText(w.state.Project);

  // A child that saves once; returns its pid.
  auto startSave = [&] {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(SaveEarFile(w.state, path) ? 0 : 1);
    return pid;
  };
  // How long a whole save takes from the fork, as the upper end of the delays.
  WriteBytes(path, old);
  const auto start = std::chrono::steady_clock::now();
  int status = 0;
  ::waitpid(startSave(), &status, 0);
  const auto whole = std::chrono::steady_clock::now() - start;
  ASSERT_EQ(ReadBytes(path), fresh);
  auto limit = std::chrono::duration_cast<std::chrono::microseconds>(whole * 11 / 10);

  std::mt19937 random(20261205);
  int sawOld = 0, sawNew = 0;
  for (int i = 0; i < 200 || (sawNew == 0 && i < 800); ++i) {
    // On a loaded machine a save may take longer than it did alone: while
    // every kill still lands before the rename, the delays grow.
    if (i % 50 == 49 && sawNew == 0) limit *= 2;
    std::uniform_int_distribution<long> delay(0, limit.count());
    WriteBytes(path, old);
    const pid_t pid = startSave();
    std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    const std::string now = ReadBytes(path);
    if (now != old && now != fresh) FAIL() << "torn file after kill " << i << ": " << now.size();
    ++(now == old ? sawOld : sawNew);
    // A killed save may leave its own temporary file, no more.
    const auto left = FolderSnapshot(dir.Root().string(), {"road.ear"});
    EXPECT_LE(left.size(), 1u);
    for (const auto& [name, content] : left) EXPECT_TRUE(IsSaveTemporaryName(name)) << name;
  }
  ::waitpid(startSave(), &status, 0);
  EXPECT_EQ(ReadBytes(path), fresh);
  EXPECT_TRUE(FolderSnapshot(dir.Root().string(), {"road.ear"}).empty());
  // Both outcomes happened, so the kills fell before and after the rename.
  EXPECT_GT(sawOld, 0);
  EXPECT_GT(sawNew, 0);
}

}  // namespace
}  // namespace earthwork::testing
