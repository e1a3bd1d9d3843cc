#include "project/Store.h"

#include <cstring>

#include "DataTable.h"
#include "project/CellMemory.h"
#include "project/Errors.h"
#include "project/Station.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"

namespace earthwork {
namespace {

using testing::DataTable;

class StoreTest : public ::testing::Test {
 protected:
  CellTable& Cells() { return state.Project.Current().Cells; }
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
};

TEST_F(StoreTest, StationTextsAndTheirOrder) {
  for (const auto& row : DataTable("project/stations.txt"))
    EXPECT_DOUBLE_EQ(StationTextToNumber(row.at(0)), std::stod(row.at(1))) << row[0];
  for (const auto& row : DataTable("project/ascending.txt")) {
    Cells().at(0, Station) = row.at(0);
    Cells().at(1, Station) = row.at(1);
    EXPECT_EQ(CheckForAscendingOrder(state, 1).Ok(), row.at(2) == "1") << row[0] << " / " << row[1];
  }
  dialogs.shown.clear();
  Cells().at(0, Station) = "10+00.000";
  Cells().at(1, Station) = "9+50.000";
  EXPECT_TRUE(CheckForAscendingOrder(state, 0));  // row 0 has no predecessor
  EXPECT_FALSE(CheckForAscendingOrder(state, 1));
  EXPECT_TRUE(CheckForAscendingOrder(state, 1801));  // reported, then accepted
  EXPECT_EQ(
      dialogs.Texts(),
      (std::vector<std::string>{
          " Station : 09+50.000 is less then previous station :10+00.000",
          "Program Error : Subscript out of range occured in CheckForAscendingOrder(scraps)"}));
}

TEST(Station, IntOkAcceptsOnlyWhatCellsHold) {
  for (const char c : std::string("0123456789.+BbKkAahHSsFf\b\r-CeZz ,;x")) {
    int16_t key = c;
    const bool ok = std::string("-CeZz ,;x").find(c) == std::string::npos;
    EXPECT_EQ(IntOk(key), ok) << c;
    EXPECT_EQ(key, ok ? c : 0) << c;
  }
  int16_t unicode = 0x00e9;
  EXPECT_FALSE(IntOk(unicode));
}

TEST_F(StoreTest, StorageStructureStoresEachColumnsForm) {
  EXPECT_EQ(Cells().at(0, Station), "-1");  // a new project: one empty group
  EXPECT_EQ(state.Project.GroupCount, 1);
  for (const auto& row : DataTable("project/cells.txt")) {
    const auto column = static_cast<int16_t>(std::stoi(row.at(0)));
    Cells().at(4, column) = row.at(1);
    StorageStructure(state, 6, column, row.at(2));
    EXPECT_EQ(Cells().at(4, column), row.at(3)) << row[0] << " " << row[2];
  }
  EXPECT_TRUE(dialogs.shown.empty());
  StorageStructure(state, 1803, 2, "5");
  EXPECT_EQ(dialogs.Texts(),
            std::vector<std::string>{
                "Program Error : Subscript out of range occured in StorageStructure"});
}

TEST_F(StoreTest, ResetMemoryClearsOnlyTheCurrentGroupUnderTheGrid) {
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
  EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(StoreTest, ResetallAttributesResetsTheFileAndShowsTheUnitChoice) {
  state.Project.UnitSystem = Units::Metric;
  state.Project.DataChanged = true;
  state.Project.CurrentFileName = "c:\\jobs\\a.ear";
  state.Project.HeaderFields[0] = "J. Doe";
  state.Window.BalanceBox = "1.15";  // the box still shows the last group
  state.Window.UnitChosen = true;
  for (int g : {0, 25}) {
    state.Project.Group(g).Name = "Ramp";
    state.Project.Group(g).BalanceFactor = "1.15";
    state.Project.Group(g).MeasuredInEmbankment = 1;
    state.Project.Group(g).Cells.at(0, Station) = "01+00.000";
  }
  ResetallAttributes(state);
  EXPECT_EQ(state.Project.UnitSystem, Units::English);
  EXPECT_FALSE(state.Project.DataChanged);
  EXPECT_EQ(state.Project.CurrentFileName, "Untitled");
  EXPECT_EQ(state.Project.HeaderFields, (std::array<std::string, 3>{}));
  for (int g : {0, 25}) {
    const GroupRecord& group = state.Project.Group(g);
    EXPECT_EQ(group.Name + "|" + group.BalanceFactor + "|" + group.Cells.at(0, Station),
              "|1.00|-1");
    EXPECT_EQ(group.MeasuredInEmbankment, 0);
  }
  EXPECT_EQ(state.Window.BalanceBox, "1.00");
  EXPECT_TRUE(state.Window.BalanceBoxEnabled);
  EXPECT_FALSE(state.Window.UnitChosen);
  EXPECT_EQ(state.Window.Caption, "EARTHWORK: Untitled");
  EXPECT_EQ(view.calls.back(), "ProjectChanged");
  state.Window.BalanceBox = "";  // an empty box gives an empty factor
  ResetAttribs(state);
  EXPECT_EQ(state.Project.Current().BalanceFactor, "");
}

TEST_F(StoreTest, GroupSlotsAreChecked) {
  EXPECT_NO_THROW(state.Project.Group(25));
  EXPECT_THROW(state.Project.Group(26), ProgramError);
  EXPECT_THROW(state.Project.Group(-1), ProgramError);
  EXPECT_THROW(Cells().at(1801, 0), ProgramError);
  EXPECT_THROW(Cells().at(0, 9), ProgramError);
  EXPECT_THROW(state.Log.Group(-1), ProgramError);
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
  for (size_t i = 0; i < live.size(); ++i) {
    for (size_t b = 0; b < kBytes; b += 997) ASSERT_EQ(live[i][b], i % 251) << i;
  }
  for (unsigned char* block : live) FreeCellMemory(block, kBytes);
  CellTable table;
  for (int row = 0; row < kCellRows; row += 7) table.at(row, Fill) = std::to_string(row);
  CellTable copy = table;
  const CellTable moved = std::move(table);
  for (int row = 0; row < kCellRows; row += 7) {
    ASSERT_EQ(copy.at(row, Fill), std::to_string(row));
    ASSERT_EQ(moved.at(row, Fill), std::to_string(row));
  }
}

}  // namespace
}  // namespace earthwork
