#include "project/Station.h"

#include <gtest/gtest.h>

#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"

namespace earthwork {
namespace {

TEST(Station, TextToNumber) {
  const std::pair<const char*, double> cases[] = {
      {"12+34.5", 1234.5},
      {"+34.5", 34.5},
      {"+", 0},
      {".", 0},
      {"", 0},
      {"1234.5", 1234.5},
      {"12+3x", 0},
      {"0+05", 5},
      {"12+", 1200},
      {"-5+10", -490},
      {"12+34+5", 0},
      {" 12+34.500  ", 1234.5},
      {"abc", 0},
      {"-1", -1},
      {"10+00.000BK", 0},
      {"  ", 0},
  };
  for (const auto& [text, value] : cases)
    EXPECT_DOUBLE_EQ(StationTextToNumber(text), value) << text;
}

TEST(Station, IntOkAcceptsOnlyWhatCellsHold) {
  for (char c : std::string("0123456789.+BbKkAahHSsFf\b\r")) {
    int16_t key = c;
    EXPECT_TRUE(IntOk(key)) << c;
    EXPECT_EQ(key, c);
  }
  for (char c : std::string("-CeZz ,;x")) {
    int16_t key = c;
    EXPECT_FALSE(IntOk(key)) << c;
    EXPECT_EQ(key, 0);
  }
  int16_t unicode = 0x00e9;
  EXPECT_FALSE(IntOk(unicode));
}

class AscendingOrder : public ::testing::Test {
 protected:
  void SetRows(std::initializer_list<const char*> stations) {
    int row = 0;
    for (const char* s : stations) state.Project.Current().Cells.at(row++, Station) = s;
  }
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
};

TEST_F(AscendingOrder, RejectsALowerStationWithItsMessage) {
  SetRows({"10+00.000", "9+50.000"});
  EXPECT_FALSE(CheckForAscendingOrder(state, 1));
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_EQ(dialogs.Texts()[0], " Station : 09+50.000 is less then previous station :10+00.000");
}

TEST_F(AscendingOrder, Cases) {
  struct Case {
    const char* previous;
    const char* current;
    int16_t result;
  };
  const Case cases[] = {
      {"10+00.000", "10+00.000", 0},  // equal stations pass
      {"10+00.000", "10+50.000", 0},
      {"10+00.000BK", "9+50.000AH", 0},  // an ahead station may be lower
      {"10+00.000", "9+50.000BK", 1},    // the value before "B" is compared
      {"10+00.000AH", "9+50.000", 1},    // the value before "A" of the previous row
      {"10+00.000", "-1", 0},            // the end marker
      {"-1", "5+00.000", 0},
      {"10+00.000", "9+50.000ah", 0},  // letters are tested upper-cased
  };
  for (const auto& c : cases) {
    SetRows({c.previous, c.current});
    EXPECT_EQ(CheckForAscendingOrder(state, 1).Ok(), c.result == 0)
        << c.previous << " / " << c.current;
  }
  SetRows({"50+00.000"});
  EXPECT_TRUE(CheckForAscendingOrder(state, 0));  // row 0 has no predecessor
}

TEST_F(AscendingOrder, RowOutsideTheTableIsReportedAndAccepted) {
  EXPECT_TRUE(CheckForAscendingOrder(state, 1801));
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_EQ(dialogs.Texts()[0],
            "Program Error : Subscript out of range occured in CheckForAscendingOrder(scraps)");
}

}  // namespace
}  // namespace earthwork
