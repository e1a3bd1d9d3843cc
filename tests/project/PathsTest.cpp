#include "project/Paths.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <filesystem>

#include "DataTable.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/FileKinds.h"

namespace earthwork {
namespace {

namespace fs = std::filesystem;
using testing::DataTable;
using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

std::string ErrorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const ProgramError& e) {
    return e.what();
  }
  return "(no error)";
}

TEST(PathTextTest, FileNamesKindsAndLines) {
  for (const auto& row : DataTable("project/paths.txt")) {
    EXPECT_EQ(StripFile(row.at(0)), row.at(1)) << row[0];
    if (!row.at(2).empty()) {
      EXPECT_EQ(int(InputKindOf(row[0])), std::stoi(row[2])) << row[0];
    }
  }
  EXPECT_TRUE(SplitLines("").empty());
  for (const auto& row : DataTable("project/lines.txt"))
    EXPECT_EQ(SplitLines(row.at(0)), std::vector(row.begin() + 1, row.end())) << row[0];
}

// Failures that every door to a file meets (a folder, a pipe, a missing
// folder when saving) are in the bad-input catalogue.
TEST(FileIOTest, ReadsAndReplacesEveryByteKeepingPermissions) {
  TempDir dir;
  std::string bytes(200000, 'x');
  bytes[7] = '\0';
  bytes[100] = '\r';
  bytes.back() = '\xff';
  const std::string path = dir.Path("p.ear");
  WriteBytes(path, bytes);
  EXPECT_EQ(ReadWholeFile(path), bytes);
  const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, perms);
  WriteFileAtomically(path, std::string("two\0", 4));
  EXPECT_EQ(ReadBytes(path), std::string("two\0", 4));
  EXPECT_EQ(fs::status(path).permissions(), perms);
  WriteFileAtomically(path, "");
  EXPECT_EQ(ReadWholeFile(path), "");
  WriteFileAtomically(dir.Path("new.ear"), "one\r\n");
  EXPECT_EQ(ReadBytes(dir.Path("new.ear")), "one\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Root()), fs::directory_iterator()), 2);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(""); }), "File not found: ");
#ifndef _WIN32
  if (::geteuid() != 0) {  // permissions do not bind the superuser
    fs::permissions(path, fs::perms::none);
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile(path); }), "Permission denied: " + path);
  }
#endif
  if (fs::exists("/proc/self/mem")) {  // a file whose every read fails
    EXPECT_EQ(ErrorOf([] { ReadWholeFile("/proc/self/mem"); }),
              "Cannot read /proc/self/mem: Input/output error");
  }
}

// The report folder and the run folders follow POSIX rules (the user's
// folders, permissions, fork); on Windows the report folder is fixed.
#ifndef _WIN32

// In the shared temporary folder only a folder of the user's own that
// nobody else may write into is used; a link planted there is not followed.
// Folders of runs that have ended are removed; a running one's is kept.
TEST(ReportDirectoryTest, EachUserAndEachRunHasAPlaceOfItsOwn) {
  const char* names[] = {"EARTHWORK_REPORT_DIR", "XDG_CACHE_HOME", "HOME", "TMPDIR"};
  std::array<std::optional<std::string>, 4> old;
  for (int i = 0; i < 4; ++i) {
    if (const char* value = std::getenv(names[i])) old[i] = value;
  }
  TempDir tmp;
  testing::SetEnv("TMPDIR", tmp.Root().string());
  const std::string place = tmp.Path("earthwork-" + std::to_string(::getuid()));
  for (const auto& row : DataTable("project/reportdirs.txt")) {
    for (int i = 0; i < 3; ++i) {
      testing::SetEnv(names[i], row.at(i) == "-" ? std::nullopt : std::optional(row[i]));
    }
    EXPECT_EQ(ReportDirectory(), row.at(3) == "$shared" ? place + "/" : row[3]);
  }
  const auto error = [] {
    RunReportFolder folder;
    return ErrorOf([&] { folder.Path(); });
  };
  fs::create_directory(tmp.Path("elsewhere"));
  fs::create_directory_symlink(tmp.Path("elsewhere"), place);
  EXPECT_EQ(error(), "Cannot write " + place + ": Not a directory");
  EXPECT_TRUE(fs::is_empty(tmp.Path("elsewhere")));
  fs::remove(place);
  fs::create_directory(place);
  fs::permissions(place, fs::perms::all);
  EXPECT_EQ(error(), "Cannot write " + place +
                         ": the folder belongs to another user or others may write in it");
  fs::permissions(place, fs::perms::owner_all);
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const std::string stale = place + "/run-" + std::to_string(ended) + "-0";
  const std::string running = place + "/run-" + std::to_string(::getppid()) + "-0";
  fs::create_directories(stale + "/x");
  fs::create_directories(running);
  std::string first;
  {
    RunReportFolder one;
    RunReportFolder two;
    first = one.Path();
    EXPECT_NE(one.Path(), two.Path());
    EXPECT_EQ(first.rfind(place + "/run-", 0), 0u);
    EXPECT_EQ(fs::path(first).parent_path().parent_path(), fs::path(place));
    EXPECT_EQ(fs::status(first).permissions(), fs::perms::owner_all);
    WriteBytes(first + "road.rpt", "report");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    RunReportFolder moved = std::move(one);
    EXPECT_EQ(moved.Path(), first);
  }
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(std::distance(fs::directory_iterator(place), fs::directory_iterator()), 1);
  for (int i = 0; i < 4; ++i) testing::SetEnv(names[i], old[i]);
}

#endif

}  // namespace
}  // namespace earthwork
