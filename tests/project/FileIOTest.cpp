#include "project/FileIO.h"

#include <filesystem>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project/Errors.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

namespace fs = std::filesystem;
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

/// Names of the files in a folder, to see that no temporary file is left.
std::vector<std::string> Listing(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(SplitLinesTest, EveryKindOfLineEndEndsALine) {
  struct Case {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\n", {"a"}},
      {"a\r\nb", {"a", "b"}},
      {"a\nb\n", {"a", "b"}},
      {"a\rb\r", {"a", "b"}},
      {"a\r\n\r\nb\r\n", {"a", "", "b"}},
      {"\r\n", {""}},
      {"\n\n", {"", ""}},
      {"a\n\rb", {"a", "", "b"}},  // LF then a lone CR: two line ends
      {"a\r\r\nb", {"a", "", "b"}},
      {std::string("x\0y\r\nz", 6), {std::string("x\0y", 3), "z"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitLines(c.bytes), c.lines) << c.bytes;
}

TEST(ReadWholeFileTest, ReadsEveryByte) {
  TempDir dir;
  std::string bytes(200000, 'x');
  bytes[7] = '\0';
  bytes[100] = '\r';
  bytes.back() = '\xff';
  WriteBytes(dir.Path("f.ear"), bytes);
  EXPECT_EQ(ReadWholeFile(dir.Path("f.ear")), bytes);
  WriteBytes(dir.Path("empty.ear"), "");
  EXPECT_EQ(ReadWholeFile(dir.Path("empty.ear")), "");
}

TEST(ReadWholeFileTest, FailuresNameThePath) {
  TempDir dir;
  fs::create_directory(dir.Path("folder.ear"));
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir.Path("missing.ear")); }),
            "File not found: " + dir.Path("missing.ear"));
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(""); }), "File not found: ");
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir.Path("folder.ear")); }),
            "Is a folder, not a file: " + dir.Path("folder.ear"));
#ifndef _WIN32
  ::mkfifo(dir.Path("pipe.ear").c_str(), 0600);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir.Path("pipe.ear")); }),
            "Not a regular file: " + dir.Path("pipe.ear"));
#endif
  // A file whose every read fails.
  if (fs::exists("/proc/self/mem")) {
    EXPECT_EQ(ErrorOf([&] { ReadWholeFile("/proc/self/mem"); }),
              "Cannot read /proc/self/mem: Input/output error");
  }
}

#ifndef _WIN32
TEST(ReadWholeFileTest, UnreadableFileIsRefused) {
  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the superuser";
  TempDir dir;
  WriteBytes(dir.Path("locked.ear"), "[VERSION 2002]\r\n");
  fs::permissions(dir.Path("locked.ear"), fs::perms::none);
  EXPECT_EQ(ErrorOf([&] { ReadWholeFile(dir.Path("locked.ear")); }),
            "Permission denied: " + dir.Path("locked.ear"));
}
#endif

TEST(WriteFileAtomicallyTest, CreatesAndReplacesKeepingPermissions) {
  TempDir dir;
  const std::string path = dir.Path("p.ear");
  WriteFileAtomically(path, "one\r\n");
  EXPECT_EQ(ReadBytes(path), "one\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(path, std::string("two\0", 4));
  EXPECT_EQ(ReadBytes(path), std::string("two\0", 4));
  EXPECT_EQ(fs::status(path).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  WriteFileAtomically(path, "");
  EXPECT_EQ(ReadBytes(path), "");
  EXPECT_EQ(Listing(dir.Root()), std::vector<std::string>{"p.ear"});
}

// Injected failures at each step are the save-fault tests' matter: every
// save path, every step, the old file kept and no temporary left.
TEST(WriteFileAtomicallyTest, RealFailuresSayWhy) {
  TempDir dir;
  fs::create_directory(dir.Path("folder.ear"));
  WriteBytes(dir.Path("folder.ear/inside"), "keep");
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(dir.Path("no/such/p.ear"), "x"); }),
            "Cannot save " + dir.Path("no/such/p.ear") + ": No such file or directory");
  EXPECT_EQ(ErrorOf([&] { WriteFileAtomically(dir.Path("folder.ear"), "x"); }),
            "Cannot save " + dir.Path("folder.ear") + ": Is a directory");
  EXPECT_EQ(ReadBytes(dir.Path("folder.ear/inside")), "keep");
  EXPECT_EQ(Listing(dir.Root()), std::vector<std::string>{"folder.ear"});
}

}  // namespace
}  // namespace earthwork
