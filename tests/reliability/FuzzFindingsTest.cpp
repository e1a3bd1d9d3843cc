// What the fuzz targets found, kept as plain tests. Each input also stays in
// the target's corpus under fuzz/corpus, which the replay tests run.

#include <gtest/gtest.h>

#include "earfiles/EarFile.h"
#include "project/ProgramState.h"
#include "project/Store.h"
#include "project/Text.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {
namespace {

class FuzzFindings : public ::testing::Test {
 protected:
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
  TempDir dir;
};

// A number typed into a cell whose shortest text takes an exponent (1E+21)
// was stored as that text, which nothing reads back as a number: the
// report took it for 0 and a saved file held "1E+21" in a number field.
TEST_F(FuzzFindings, TypedNumbersNeedingAnExponentAreStoredAsDigits) {
  const struct {
    const char* typed;
    int16_t column;
    const char* stored;
  } cases[] = {
      {"999999999999999999999", Cut, "1000000000000000000000.00"},
      {"0.00000000000000000001", Fill, "0.00"},
      {"-0.00005", AddedCut, "0.00"},
      {"123456789012345678", Station, "1234567890123460+00.000"},
      {"0.0000001", Station, "00+00.000"},
      {"12.5", AddedFill, "12.50"},  // ordinary numbers as before
  };
  for (const auto& c : cases) {
    StorageStructure(state, 2, c.column, c.typed);
    EXPECT_EQ(state.Project.Current().Cells.at(0, c.column), c.stored) << c.typed;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

// A balance factor line such as 0.00001 was read as its shortest text
// "1E-05"; saved and opened again that line is no number, so the factor
// fell back to 1 and the report refused the factor as not a number.
TEST_F(FuzzFindings, FactorsNeedingAnExponentKeepTheirDigits) {
  const struct {
    const char* line;
    const char* factor;
  } cases[] = {
      {"0.00001", "0.00001"},
      {"1000000000000000", "1000000000000000"},
      {" 0.0000125 ", "0.0000125"},
      {"1.150", "1.15"},  // ordinary factors: their shortest text, as before
  };
  const std::string path = dir.Path("factor.ear");
  for (const auto& c : cases) {
    WriteBytes(path, CrLf({"[VERSION 2002]", "[ENGLISH]", "", "", "", "[END AREA 1 A]",
                           "#BALANCE FACTOR", c.line, "#MEASURED IN EMBANKMENT", " 0 ",
                           "12+00.000 - 1.00 0.00 2.00 0.00", "[LAST RECORD]"}));
    ASSERT_TRUE(OpenEarFile(state, path)) << c.line;
    EXPECT_EQ(state.Project.Group(0).BalanceFactor, c.factor) << c.line;
    ASSERT_TRUE(SaveEarFile(state, path));
    ASSERT_TRUE(OpenEarFile(state, path));
    EXPECT_EQ(state.Project.Group(0).BalanceFactor, c.factor) << "read back: " << c.line;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

// Factor and flag lines before a file's first group header belong to that
// group; a factor line after the group header then replaced the 01.000 of a
// group measured in embankment, and the file saved from it read back with
// another factor.
TEST_F(FuzzFindings, AFactorLineAfterTheEmbankmentFlagKeeps01000) {
  const std::string path = dir.Path("flag.ear");
  WriteBytes(path, CrLf({"[VERSION 2002]", "", "#B[", "#", "1", " ", "[END a]", "#R", "1.20",
                         "12+00.000 - 1.00 0.00 2.00 0.00", "[LAST RECORD]"}));
  ASSERT_TRUE(OpenEarFile(state, path));
  EXPECT_EQ(state.Project.Group(0).MeasuredInEmbankment, 1);
  EXPECT_EQ(state.Project.Group(0).BalanceFactor, "01.000");
  ASSERT_TRUE(SaveEarFile(state, path));
  ASSERT_TRUE(OpenEarFile(state, path));
  EXPECT_EQ(state.Project.Group(0).MeasuredInEmbankment, 1);
  EXPECT_EQ(state.Project.Group(0).BalanceFactor, "01.000");
}

// A row line is known by its "+". A row whose "+" stood in a number field
// ("+2") and whose station is no number was saved as a line without any
// "+", and the row was gone when the file was opened again.
// A row whose station begins with "[" was saved as a line beginning with
// "[", which the reader takes for a tag: the saved file did not open.
TEST_F(FuzzFindings, RowsWithOddStationsSurviveASave) {
  const struct {
    const char* file;
    const char* station;  // as read back, blanks trimmed
    const char* code;
    const char* cut;
  } cases[] = {
      {"00000P 3\t+2", "+00000P", "3", "2.00"},
      {"00000\r\t[+", "[+", "0.0", "0.00"},  // empty cells are saved as 0.0
      {"00000\r [1+00 BK 1 2 3 4", "[1+00", "BK", "1.00"},
  };
  const std::string path = dir.Path("row.ear");
  for (const auto& c : cases) {
    WriteBytes(path, c.file);
    ASSERT_TRUE(OpenEarFile(state, path)) << c.file;
    ASSERT_EQ(state.Project.Group(0).Cells.DataRowCount(), 1) << c.file;
    ASSERT_TRUE(SaveEarFile(state, path));
    ASSERT_TRUE(OpenEarFile(state, path)) << ReadBytes(path);
    ASSERT_EQ(state.Project.Group(0).Cells.DataRowCount(), 1) << c.file;
    const CellTable& cells = state.Project.Group(0).Cells;
    EXPECT_EQ(Trim(cells.at(0, Station)), c.station) << c.file;
    EXPECT_EQ(Trim(cells.at(0, Code)), c.code) << c.file;
    EXPECT_EQ(Trim(cells.at(0, Cut)), c.cut) << c.file;
  }
}

}  // namespace
}  // namespace earthwork::testing
