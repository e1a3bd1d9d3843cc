#include "project/Paths.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "project/Errors.h"
#include "project/FileKinds.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// A name is cut from its folder and drive whichever system wrote the path.
TEST(PathTextTest, FileNameAndKindWithEitherSeparatorAndADrive) {
  struct Case {
    std::string path, name;
    InputKind kind;
  };
  const Case cases[] = {
      {"C:\\jobs\\road.ear", "road.ear", InputKind::Ear},
      {"c:/jobs/ramp1.LOG", "ramp1.LOG", InputKind::Log},
      {"C:road.ear", "road.ear", InputKind::Ear},
      {"D:\\old.ear/ramp1.log", "ramp1.log", InputKind::Log},
      {"jobs/x.log\\road.ear", "road.ear", InputKind::Ear},
      {"\\\\server\\share\\ramp1.log", "ramp1.log", InputKind::Log},
      {"/home/user/road.ear", "road.ear", InputKind::Ear},
      {"road.ear", "road.ear", InputKind::Ear},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(StripFile(c.path), c.name) << c.path;
    EXPECT_EQ(InputKindOf(c.path), c.kind) << c.path;
  }
  EXPECT_EQ(StripFile("C:\\"), "");
  EXPECT_EQ(StripFile("C:"), "");
}

// The report folder and the run folders follow POSIX rules (the user's
// folders, permissions, fork); on Windows the report folder is fixed.
#ifndef _WIN32

/// Sets (or, with nullopt, removes) an environment variable for the life
/// of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, std::optional<std::string> value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      ::setenv(name, value->c_str(), 1);
    } else {
      ::unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(ReportDirectoryTest, EachUserHasAPlaceOfTheirOwn) {
  TempDir tmp;
  const ScopedEnv tmpdir("TMPDIR", tmp.Root().string());
  struct Case {
    std::optional<std::string> reportDir, cache, home;
    std::string expected;
  };
  const std::string shared = tmp.Path("earthwork-" + std::to_string(::getuid())) + "/";
  const Case cases[] = {
      {"/r", "/c", "/h", "/r/"},
      {"/r/", std::nullopt, std::nullopt, "/r/"},
      {std::nullopt, "/c", "/h", "/c/earthwork/"},
      {std::nullopt, "relative", "/h", "/h/.cache/earthwork/"},
      {"", std::nullopt, "/h", "/h/.cache/earthwork/"},
      {std::nullopt, std::nullopt, std::nullopt, shared},
      {std::nullopt, "", "", shared},
  };
  for (const Case& c : cases) {
    const ScopedEnv a("EARTHWORK_REPORT_DIR", c.reportDir);
    const ScopedEnv b("XDG_CACHE_HOME", c.cache);
    const ScopedEnv d("HOME", c.home);
    EXPECT_EQ(ReportDirectory(), c.expected);
  }
}

std::string ErrorOf(RunReportFolder& folder) {
  try {
    folder.Path();
  } catch (const ProgramError& e) {
    return e.what();
  }
  return "(no error)";
}

// In the shared temporary folder only a folder of the user's own that
// nobody else may write into is used; a link planted there is not followed.
TEST(RunReportFolderTest, SharedPlaceMustBeTheUsersOwn) {
  TempDir tmp;
  const ScopedEnv tmpdir("TMPDIR", tmp.Root().string());
  const ScopedEnv a("EARTHWORK_REPORT_DIR", std::nullopt);
  const ScopedEnv b("XDG_CACHE_HOME", std::nullopt);
  const ScopedEnv c("HOME", std::nullopt);
  const std::string place = tmp.Path("earthwork-" + std::to_string(::getuid()));
  fs::create_directory(tmp.Path("elsewhere"));
  fs::create_directory_symlink(tmp.Path("elsewhere"), place);
  {
    RunReportFolder folder;
    EXPECT_EQ(ErrorOf(folder), "Cannot write " + place + ": Not a directory");
    EXPECT_TRUE(fs::is_empty(tmp.Path("elsewhere")));
  }
  fs::remove(place);
  fs::create_directory(place);
  fs::permissions(place, fs::perms::all);
  {
    RunReportFolder folder;
    EXPECT_EQ(
        ErrorOf(folder),
        "Cannot write " + place + ": the folder belongs to another user or others may write in it");
  }
  fs::permissions(place, fs::perms::owner_all);
  RunReportFolder folder;
  EXPECT_EQ(ErrorOf(folder), "(no error)");
  EXPECT_EQ(folder.Path().rfind(place + "/run-", 0), 0u);
}

TEST(RunReportFolderTest, EachRunHasItsOwnAndLeavesNothing) {
  TempDir reports;
  const testing::ScopedReportDirectory dir(reports.Root().string());
  // Folders of runs that have ended are removed; a running one's is kept.
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const std::string stale = reports.Path("run-" + std::to_string(ended) + "-0");
  const std::string running = reports.Path("run-" + std::to_string(::getppid()) + "-0");
  fs::create_directories(stale + "/x");
  fs::create_directories(running);
  std::string first;
  {
    RunReportFolder one;
    RunReportFolder two;
    first = one.Path();
    EXPECT_NE(one.Path(), two.Path());
    EXPECT_EQ(fs::path(first).parent_path().parent_path(), reports.Root());
    EXPECT_EQ(fs::status(first).permissions(), fs::perms::owner_all);
    testing::WriteBytes(first + "road.rpt", "report");
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(running));
    RunReportFolder moved = std::move(one);
    EXPECT_EQ(moved.Path(), first);
  }
  EXPECT_FALSE(fs::exists(first));
  EXPECT_EQ(std::distance(fs::directory_iterator(reports.Root()), fs::directory_iterator()), 1);
}

#endif

}  // namespace
}  // namespace earthwork
