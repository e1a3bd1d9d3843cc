// Cells, stations, number pictures, paths and the safe file writer.
#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

#include <gmock/gmock.h>

#include "DataTable.h"
#include "project/CellMemory.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/FileKinds.h"
#include "project/Format.h"
#include "project/Paths.h"
#include "project/Station.h"
#include "project/Store.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"

namespace earthwork {
namespace {

namespace fs = std::filesystem;
using testing::DataTable;
using Texts = std::vector<std::string>;

class StoreTest : public ::testing::Test {
 protected:
  CellTable& Cells() { return state.Project.Current().Cells; }
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
};

TEST(Format, PicturesRoundingAndZones) {
  for (const auto& row : DataTable("project/pictures.txt")) {
    EXPECT_EQ(FormatArea(std::string_view(row.at(0))), row.at(1)) << row[0];
    EXPECT_EQ(FormatStation(std::string_view(row.at(0))), row.at(2)) << row[0];
  }
  for (const auto& row : DataTable("project/numbers.txt")) {
    const double value = std::stod(row.at(0));
    EXPECT_EQ(ShortestText(value), row.at(1)) << row[0];
    if (row.at(2) == "throws") {
      EXPECT_THROW(RoundHalfEven(value), ProgramError) << row[0];
    } else {
      EXPECT_EQ(RoundHalfEven(value), std::stol(row[2])) << row[0];
    }
  }
  EXPECT_EQ(RightAlign("1.00", 9), "     1.00");
  EXPECT_EQ(RightAlign("12+34.500", 8), "12+34.500");  // long text kept whole
  EXPECT_EQ(RightAlign("", 9), "         ");
  for (const auto& row : DataTable("project/zones.txt")) {
    ZoneLine line;
    for (size_t i = 0; i + 1 < row.size(); ++i) line.Item(row[i]);
    EXPECT_EQ(line.Text(), row.back());
  }
}

// A value nearest to a whole number of hundredths (thousandths) is written as
// that number, at every magnitude the pictures meet; values between them
// are written as their 15-digit form rounds.
TEST(Format, PicturesOfWholeHundredthsAndThousandths) {
  std::mt19937_64 random(20261205);
  for (int i = 0; i < 20000; ++i) {
    unsigned long long limit = 1;
    for (int d = 0; d <= i % 15; ++d) limit *= 10;
    const unsigned long long k = random() % limit;
    const char* sign = i % 3 == 0 && k != 0 ? "-" : "";
    const double value = static_cast<double>(k) * (*sign ? -1 : 1);
    char area[40], station[40];
    std::snprintf(area, sizeof area, "%s%llu.%02llu", sign, k / 100, k % 100);
    std::snprintf(station, sizeof station, "%s%02llu+%02llu.%03llu", sign, k / 100000,
                  k / 1000 % 100, k % 1000);
    EXPECT_EQ(FormatArea(value / 100), area) << value;
    EXPECT_EQ(FormatArea(std::string_view(area)), area) << value;
    if (limit <= 100000000000000ull) {
      EXPECT_EQ(FormatStation(value / 1000), station) << value;
    }
  }
  // Decimal texts of every length read as the C library reads them, also
  // past the digits a double holds.
  for (int i = 0; i < 20000; ++i) {
    std::string text = i % 4 == 0 ? "-" : "";
    const size_t length = 1 + random() % 26;
    const size_t point = random() % (length + 1);
    for (size_t k = 0; k < length; ++k) {
      if (k == point) text += '.';
      text += static_cast<char>('0' + (k < 3 && i % 5 == 0 ? 0 : random() % 10));
    }
    ASSERT_EQ(ParseNumber(text), std::strtod(text.c_str(), nullptr)) << text;
  }
  EXPECT_EQ(FormatArea(0.1 + 0.2), "0.30");
  EXPECT_EQ(FormatArea(-0.0), "0.00");
  EXPECT_EQ(FormatArea(2.0 / 3), "0.67");
  EXPECT_EQ(FormatStation(100.0 / 3), "00+33.333");
}

TEST_F(StoreTest, StationTextsAndTheirOrder) {
  for (const auto& row : DataTable("project/stations.txt"))
    EXPECT_DOUBLE_EQ(StationTextToNumber(row.at(0)), std::stod(row.at(1))) << row[0];
  for (const auto& row : DataTable("project/ascending.txt")) {
    dialogs.shown.clear();
    Cells().at(0, Station) = row.at(0);
    Cells().at(1, Station) = row.at(1);
    EXPECT_EQ(CheckForAscendingOrder(state, 1).Ok(), row.at(2).empty())
        << row[0] << " / " << row[1];
    EXPECT_EQ(dialogs.Texts(), row[2].empty() ? Texts{} : Texts{row[2]});
  }
  EXPECT_TRUE(CheckForAscendingOrder(state, 0));     // row 0 has no predecessor
  EXPECT_TRUE(CheckForAscendingOrder(state, 1801));  // reported, then accepted
  EXPECT_EQ(dialogs.Texts().back(),
            "Program Error : Subscript out of range occured in CheckForAscendingOrder(scraps)");
  // A key a cell cannot hold is refused and cleared.
  for (const char c : std::string("0123456789.+BbKkAahHSsFf\b\r-CeZz ,;x")) {
    int16_t key = c;
    const bool ok = std::string("-CeZz ,;x").find(c) == std::string::npos;
    EXPECT_EQ(IntOk(key), ok) << c;
    EXPECT_EQ(key, ok ? c : 0) << c;
  }
  int16_t unicode = 0x00e9;
  EXPECT_FALSE(IntOk(unicode));
}

TEST_F(StoreTest, StorageStructureAndResetMemory) {
  for (const auto& row : DataTable("project/cells.txt")) {
    const auto column = static_cast<int16_t>(std::stoi(row.at(0)));
    Cells().at(4, column) = row.at(1);
    StorageStructure(state, 6, column, row.at(2));
    EXPECT_EQ(Cells().at(4, column), row.at(3)) << row[0] << " " << row[2];
  }
  EXPECT_TRUE(dialogs.shown.empty());
  StorageStructure(state, 1803, 2, "5");
  EXPECT_EQ(dialogs.Texts(),
            Texts{"Program Error : Subscript out of range occured in StorageStructure"});
  // ResetMemory clears only the current group, under the grid.
  state.Project.Group(1).Cells.at(0, Station) = "01+00.000";
  for (int r = 0; r < 6; ++r) Cells().at(r, Cut) = "1.00";
  Cells().at(0, Station) = "00+00.000";
  Cells().at(1, Station) = "01+00.000";
  Cells().at(2, Station) = kEndOfRows;  // the grid shows rows 0, 1 and the empty line
  ResetMemory(state);
  EXPECT_EQ(Cells().at(3, Cut), "");
  EXPECT_EQ(Cells().at(4, Cut), "1.00");
  EXPECT_EQ(state.Project.Group(1).Cells.at(0, Station), "01+00.000");
  Cells().at(0, Station) = "00+00.000";  // without an end marker the whole table is cleared
  ResetMemory(state);
  EXPECT_EQ(Cells().at(5, Cut), "");
  EXPECT_EQ(dialogs.Texts().size(), 1u);
  // Group slots and cells are checked (what a reset forgets is in the
  // scenarios of New and Open).
  EXPECT_THROW(state.Project.Group(26), ProgramError);
  EXPECT_THROW(state.Project.Group(-1), ProgramError);
  EXPECT_THROW(Cells().at(0, 9), ProgramError);
  EXPECT_THROW(state.Log.Group(kGroupSlots), ProgramError);
}

// Blocks of cells come from a pool that hands freed blocks out again: a
// block in use must never be handed out twice, whatever the order of
// frees, and a table copied or moved keeps its cells.
TEST(CellMemoryTest, BlocksInUseNeverShareMemory) {
  constexpr std::size_t kBytes = 64 * 9 * sizeof(std::string);
  std::vector<unsigned char*> live(300);
  const auto take = [&](size_t i) {
    live[i] = static_cast<unsigned char*>(AllocateCellMemory(kBytes));
    std::memset(live[i], static_cast<int>(i % 251), kBytes);
  };
  for (size_t i = 0; i < live.size(); ++i) take(i);
  for (size_t i = 0; i < live.size(); i += 3) FreeCellMemory(live[i], kBytes);
  for (size_t i = 0; i < live.size(); i += 3) take(i);
  for (size_t i = 0; i < live.size() * kBytes; i += 997) {
    ASSERT_EQ(live[i / kBytes][i % kBytes], i / kBytes % 251) << i / kBytes;
  }
  for (unsigned char* block : live) FreeCellMemory(block, kBytes);
  CellTable table;
  for (int row = 0; row < kCellRows; row += 7) table.at(row, Fill) = std::to_string(row);
  const CellTable copy = table;
  const CellTable moved = std::move(table);
  for (int row = 0; row < kCellRows; row += 7) {
    ASSERT_EQ(copy.at(row, Fill) + moved.at(row, Fill), std::to_string(row) + std::to_string(row));
  }
}

TEST(PathTextTest, FileNamesKindsAndLines) {
  for (const auto& row : DataTable("project/paths.txt")) {
    EXPECT_EQ(StripFile(row.at(0)), row.at(1)) << row[0];
    EXPECT_EQ(int(InputKindOf(row[0])), std::stoi(row.at(2))) << row[0];
  }
  EXPECT_TRUE(SplitLines("").empty());
  for (const auto& row : DataTable("project/lines.txt"))
    EXPECT_EQ(SplitLines(row.at(0)), std::vector(row.begin() + 1, row.end())) << row[0];
}

#ifndef _WIN32  // folders, permissions and processes; on Windows the report folder is fixed
/// Throws a ProgramError saying exactly `text`.
auto Refuses(const std::string& text) {
  return ::testing::ThrowsMessage<ProgramError>(::testing::StrEq(text));
}

// In the shared temporary folder only a folder of the user's own that
// nobody else may write into is used; a link planted there is not followed.
// Folders of runs that have ended are removed; a running one's is kept.
TEST(FilesTest, WholeFilesAndAPlaceOfTheirOwnForEachUserAndRun) {
  const char* names[] = {"EARTHWORK_REPORT_DIR", "XDG_CACHE_HOME", "HOME", "TMPDIR"};
  std::array<std::optional<std::string>, 4> old;
  for (int i = 0; i < 4; ++i) {
    if (const char* value = std::getenv(names[i])) old[i] = value;
  }
  testing::TempDir tmp;
  testing::SetEnv("TMPDIR", tmp.Root().string());
  // The safe file writer keeps the file's permissions; failures that every
  // door to a file meets (a folder, a pipe, a missing folder when saving)
  // are in the bad-input catalogue.
  const testing::TempDir dir;
  std::string bytes;  // every byte value, \0, \r and \xff among them
  for (int i = 0; i < 200000; ++i) bytes += static_cast<char>(i * 7 % 256);
  const std::string path = dir.Path("p.ear");
  testing::WriteBytes(path, bytes);
  EXPECT_EQ(ReadWholeFile(path), bytes);
  const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(path, perms);
  WriteFileAtomically(path, std::string("two\0", 4));
  EXPECT_EQ(testing::ReadBytes(path), std::string("two\0", 4));
  EXPECT_EQ(fs::status(path).permissions(), perms);
  WriteFileAtomically(path, "");
  WriteFileAtomically(dir.Path("new.ear"), "one\r\n");
  EXPECT_EQ(ReadWholeFile(path) + testing::ReadBytes(dir.Path("new.ear")), "one\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.Root()), fs::directory_iterator()), 2);
  EXPECT_THAT([] { ReadWholeFile(""); }, Refuses("File not found: "));
  if (::geteuid() != 0) {  // permissions do not bind the superuser
    fs::permissions(path, fs::perms::none);
    EXPECT_THAT([&] { ReadWholeFile(path); }, Refuses("Permission denied: " + path));
  }
  if (fs::exists("/proc/self/mem")) {  // a file whose every read fails
    EXPECT_THAT([] { ReadWholeFile("/proc/self/mem"); },
                Refuses("Cannot read /proc/self/mem: Input/output error"));
  }

  const std::string place = tmp.Path("earthwork-" + std::to_string(::getuid()));
  for (const auto& row : DataTable("project/reportdirs.txt")) {
    for (int i = 0; i < 3; ++i) {
      testing::SetEnv(names[i], row.at(i) == "-" ? std::nullopt : std::optional(row[i]));
    }
    EXPECT_EQ(ReportDirectory(), row.at(3) == "$shared" ? place + "/" : row[3]);
  }
  const auto run = [] { RunReportFolder().Path(); };
  fs::create_directory(tmp.Path("elsewhere"));
  fs::create_directory_symlink(tmp.Path("elsewhere"), place);
  EXPECT_THAT(run, Refuses("Cannot write " + place + ": Not a directory"));
  EXPECT_TRUE(fs::is_empty(tmp.Path("elsewhere")));
  fs::remove(place);
  fs::create_directory(place);
  fs::permissions(place, fs::perms::all);
  EXPECT_THAT(run, Refuses("Cannot write " + place +
                           ": the folder belongs to another user or others may write in it"));
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
    testing::WriteBytes(first + "road.rpt", "report");
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
