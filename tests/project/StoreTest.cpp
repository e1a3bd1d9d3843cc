#include "project/Store.h"

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/CellMemory.h"
#include "project/Errors.h"
#include "project/ProjectStore.h"

#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"

namespace earthwork {
namespace {

class StoreTest : public ::testing::Test {
 protected:
  CellTable& Cells() { return state.Project.Current().Cells; }
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
};

TEST_F(StoreTest, NewProjectHoldsOneEmptyGroup) {
  EXPECT_EQ(state.Project.GroupCount, 1);
  EXPECT_EQ(state.Project.CurrentGroup, 0);
  EXPECT_EQ(Cells().at(0, Station), "-1");
  EXPECT_EQ(Cells().DataRowCount(), 0);
}

TEST_F(StoreTest, StorageStructureStoresEachColumnsForm) {
  struct Case {
    int16_t column;
    const char* before;
    const char* typed;
    const char* stored;
  };
  const Case cases[] = {
      {0, "", "12+34.5", "12+34.500"},
      {0, "", "1234.5", "12+34.500"},
      {0, "x", "", "00+00.000"},
      {0, "07+00.000", ".", "07+00.000"},  // "." stores nothing
      {0, "", "9+50.000BK", "00+00.000"},  // letters read as 0
      {1, "", "bk", "BK"},
      {1, "SA", "x", "SA"},  // no code: nothing written
      {1, "", "SAH", "AH"},  // AH is tested first
      {1, "", "-", "-"},
      {1, "", "fb", "FB"},
      {2, "9.00", "", "0.00"},
      {2, "", "abc", "0.00"},
      {2, "", "12.5", "12.50"},
      {3, "", "1+00", "100.00"},
      {4, "3.00", ".", "3.00"},
      {5, "", "0.005", "0.01"},
  };
  for (const auto& c : cases) {
    Cells().at(4, c.column) = c.before;
    StorageStructure(state, 6, c.column, c.typed);
    EXPECT_EQ(Cells().at(4, c.column), c.stored) << c.column << " " << c.typed;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(StoreTest, StorageStructureOutsideTheTableIsReported) {
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

  // Without an end marker the whole table is cleared.
  Cells().at(0, Station) = "00+00.000";
  ResetMemory(state);
  EXPECT_EQ(Cells().at(5, Cut), "");
  EXPECT_TRUE(dialogs.Texts().empty());
}

TEST_F(StoreTest, ResetallAttributesResetsTheFileAndShowsTheUnitChoice) {
  state.Project.UnitSystem = Units::Metric;
  state.Project.DataChanged = true;
  state.Project.CurrentFileName = "c:\\jobs\\a.ear";
  state.Project.HeaderFields[0] = "J. Doe";
  state.Project.Current().MeasuredInEmbankment = 1;
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
    EXPECT_EQ(group.Name, "");
    EXPECT_EQ(group.BalanceFactor, "1.00");
    EXPECT_EQ(group.MeasuredInEmbankment, 0);
    EXPECT_EQ(group.Cells.at(0, Station), kEndOfRows);
  }
  EXPECT_EQ(state.Window.BalanceBox, "1.00");
  EXPECT_TRUE(state.Window.BalanceBoxEnabled);
  EXPECT_FALSE(state.Window.UnitChosen);
  EXPECT_EQ(state.Window.Caption, "EARTHWORK: Untitled");
  EXPECT_EQ(view.calls.back(), "ProjectChanged");
}

TEST_F(StoreTest, ResetAttribsWithAnEmptyBalanceBoxGivesAnEmptyFactor) {
  state.Window.BalanceBox = "";
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

}  // namespace
}  // namespace earthwork

namespace earthwork {
namespace {

// Blocks of cells come from a pool that hands freed blocks out again: a
// block in use must never be handed out twice, whatever the order of
// frees, and a table copied or moved keeps its cells.
TEST(CellMemoryTest, BlocksInUseNeverShareMemory) {
  constexpr std::size_t kBytes = 64 * 9 * sizeof(std::string);
  std::vector<unsigned char*> live;
  const auto fill = [&](size_t i) { std::memset(live[i], static_cast<int>(i % 251), kBytes); };
  for (size_t i = 0; i < 300; ++i) {
    live.push_back(static_cast<unsigned char*>(AllocateCellMemory(kBytes)));
    fill(i);
  }
  for (size_t i = 0; i < live.size(); i += 3) FreeCellMemory(live[i], kBytes);
  for (size_t i = 0; i < live.size(); i += 3) {
    live[i] = static_cast<unsigned char*>(AllocateCellMemory(kBytes));
    fill(i);
  }
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
