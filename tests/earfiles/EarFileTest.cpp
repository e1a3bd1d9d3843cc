#include "earfiles/EarFile.h"

#include <filesystem>

#include "EarTestSupport.h"

namespace earthwork {
namespace {

using testing::CrLf;
using testing::DataPath;
using testing::ReadBytes;
using testing::ReplaceAll;
using testing::Row;
using testing::WriteBytes;
using Texts = std::vector<std::string>;

const std::string kColumns = kEarColumnHeader;

class EarFileTest : public testing::EarTest {
 protected:
  /// The worked example: one group A, factor 1.00, one row.
  void BuildWorkedExample() {
    store.Group(0).Name = "A";
    store.Group(0).BalanceFactor = "1.00";
    SetRows(0, {{"12+34.500", "BK", "10.00", "0.00", "5.50", "0.00"}});
  }

  /// A file under the temporary folder with these bytes.
  std::string File(const std::string& name, const std::string& bytes) {
    const std::string path = dir.Path(name);
    WriteBytes(path, bytes);
    return path;
  }

  std::string SaveTo(const std::string& name) {
    const std::string path = dir.Path(name);
    EXPECT_TRUE(SaveEarFile(state, path));
    return ReadBytes(path);
  }
};

TEST_F(EarFileTest, WorkedExampleIsWrittenExactly) {
  BuildWorkedExample();
  store.CurrentFileName = dir.Path("a.ear");
  EXPECT_TRUE(Write2002VersionFile(state));
  EXPECT_EQ(ReadBytes(store.CurrentFileName), ReadBytes(DataPath("ear/worked_example.ear")));
  EXPECT_TRUE(dialogs.shown.empty());
  // Save writes the same bytes, without asking.
  EXPECT_EQ(SaveTo("b.ear"), ReadBytes(DataPath("ear/worked_example.ear")));
}

// Each sample file read gives the store and the messages of its golden
// file, is saved as its _saved golden, and that file reads back the same.
TEST_F(EarFileTest, SampleFilesReadAndSaveAsTheirGoldens) {
  for (const char* name : {"worked_example", "rich", "v971", "oldest", "unknown_lines"}) {
    SCOPED_TRACE(name);
    Fresh();
    store.FileVersion = EarVersion::V2002;
    store.ImportDone = false;
    const std::string path = DataPath(std::string("ear/") + name + ".ear");
    ASSERT_TRUE(OpenEarFile(state, path));
    std::string read = Dump() + "version " + std::to_string(int(store.FileVersion)) + " changed " +
                       std::to_string(store.DataChanged) + " file " +
                       (store.CurrentFileName == path ? "named" : "other") + " balance box [" +
                       state.Window.BalanceBox + "]\n";
    for (const std::string& text : dialogs.Texts()) read += ReplaceAll(text, path, "{path}") + "\n";
    testing::ExpectGolden(read, std::string("ear/") + name + ".read");
    const std::string saved = SaveTo("saved.ear");
    testing::ExpectGolden(saved, std::string("ear/") + name + "_saved.ear");
    // The oldest layout's default factor is written as 1.00 and read back as 1.
    if (std::string(name) == "oldest") continue;
    const std::string before = Dump();
    ASSERT_TRUE(OpenEarFile(state, dir.Path("saved.ear")));
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(SaveTo("again.ear"), saved);
  }
  // After an import, opening an older file leaves nothing to save.
  store.ImportDone = true;
  ASSERT_TRUE(OpenEarFile(state, DataPath("ear/v971.ear")));
  EXPECT_FALSE(store.DataChanged);
}

TEST_F(EarFileTest, HeaderLinesAreAlwaysTheHeaderFields) {
  const std::array<std::string, 3> cases[] = {
      {"", "", ""},
      {"4417", "1.15", "-3"},
      {"[Lead]", "00000", "+"},
      {"A#1", "12+34", "[END AREA 9 X]"},
      {"  padded  ", "\t", "x"},
  };
  for (const auto& header : cases) {
    store.HeaderFields = header;
    store.GroupCount = 1;
    store.CurrentGroup = 0;
    store.Group(0).Name = "G";
    SetRows(0, {{"00+00.000", "-", "1.00", "0.00", "2.00", "0.00"}});
    SaveTo("h.ear");
    store.HeaderFields = {};
    ASSERT_TRUE(OpenEarFile(state, dir.Path("h.ear")));
    EXPECT_EQ(store.HeaderFields, header) << header[0];
    EXPECT_EQ(store.GroupCount, 1);
    EXPECT_EQ(Rows(0).size(), 1u);
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(EarFileTest, EmptyCellsAreWrittenAsZeroAndChangedInTheStore) {
  store.Group(0).Name = "";
  store.Group(0).BalanceFactor = "";
  SetRows(0, {{"", "", "", "3", "   ", "0.5"}, {"1234.5", "FB", "1", "2", "3", "4"}});
  const std::string bytes = SaveTo("e.ear");
  EXPECT_EQ(Rows(0)[0], (Row{"0.0", "0.0", "0.0", "3", "0.0", "0.5"}));
  EXPECT_EQ(bytes, CrLf({"[VERSION 2002]", "[ENGLISH]", "", "", "", "[END AREA 1 ]",
                         "#BALANCE FACTOR", "", "#MEASURED IN EMBANKMENT", " 0 ", kColumns,
                         "00+00.000         0.0        0.00        3.00        0.00        0.50",
                         "12+34.500          FB        1.00        2.00        3.00        4.00",
                         "[LAST RECORD]"}));
  // The empty factor comes back as it was; the empty name is the tab's.
  store.Group(0).Name = "x";
  ASSERT_TRUE(OpenEarFile(state, dir.Path("e.ear")));
  EXPECT_EQ(store.Group(0).Name, "Earthwork 1");
  EXPECT_EQ(store.Group(0).BalanceFactor, "");
}

TEST_F(EarFileTest, ValuesThatWouldBreakTheLayoutAreKeptApart) {
  store.Group(0).Name = "two\r\nlines";
  store.HeaderFields[0] = "a\rb";
  SetRows(0, {{"12345678+00.000", "BK", "123456789012.00", "1", "2", "3"}});
  const std::string bytes = SaveTo("w.ear");
  EXPECT_NE(bytes.find("[END AREA 1 two  lines]\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\na b\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\r\n12345678+00.000          BK 123456789012.00        1.00"),
            std::string::npos);
  ASSERT_TRUE(OpenEarFile(state, dir.Path("w.ear")));
  EXPECT_EQ(Rows(0)[0][2], "123456789012.00");
  EXPECT_EQ(Rows(0)[0][5], "3.00");
}

TEST_F(EarFileTest, OverwriteIsAskedAndNoKeepsTheFile) {
  BuildWorkedExample();
  store.CurrentFileName = File("old.ear", "old");
  dialogs.answers = {Answer::No, Answer::Yes};
  EXPECT_FALSE(Write2002VersionFile(state));
  EXPECT_EQ(ReadBytes(store.CurrentFileName), "old");
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, " OVERWRITE EXISTING FILE " + store.CurrentFileName + " ?");
  EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNo);
  EXPECT_EQ(dialogs.shown[0].icon, Icon::Question);
  EXPECT_TRUE(Write2002VersionFile(state));
  EXPECT_EQ(ReadBytes(store.CurrentFileName), ReadBytes(DataPath("ear/worked_example.ear")));
}

// Write faults are in the save-fault tests; a group without its end marker
// is refused before anything is written.
TEST_F(EarFileTest, GroupWithoutItsEndMarkerIsNotWritten) {
  const std::string path = File("keep.ear", "old");
  for (int r = 0; r < kCellRows; ++r) store.Group(0).Cells.at(r, 0) = "00+00.000";
  EXPECT_FALSE(SaveEarFile(state, path));
  EXPECT_EQ(dialogs.Texts(),
            Texts{"Program Error: Subscript out of range occured in Write2002VersionFile"});
  EXPECT_EQ(ReadBytes(path), "old");
}

TEST_F(EarFileTest, CompatibilityOfFirstLines) {
  struct Case {
    std::string bytes;
    int16_t result;
    int16_t fileVersion;  // -1: left as it was
    int16_t dataChanged;
  };
  const Case cases[] = {
      {"[VERSION 2002]\r\n[ENGLISH]\r\n", 0, 0, 0},
      {"[VERSION 2002] saved by hand\r\n", 0, 0, 0},
      {"[VERSION 2002]", 0, 0, 0},
      {"[VERSION 2002]\rmore\r", 0, 0, 0},
      {"[VERSION 97.1]\n", 0, 1, 1},
      {"[VERSION 2003]\r\n", 1, -1, 0},
      {"[version 2002]\r\n", 1, -1, 0},
      {"[VERSION 2002\r\n", 1, -1, 0},
      {"\r\n[VERSION 2002]\r\n", 1, -1, 0},
      {"", 1, -1, 0},
      {"00000\r\n", 0, -1, 0},
      {"00000 anything", 0, -1, 0},
      {"0000\r\n", 1, -1, 0},
      {std::string("\0\x01\xff\xfe[VERSION 2002]", 18), 1, -1, 0},
      {" [VERSION 2002]\r\n", 1, -1, 0},
  };
  for (const auto& c : cases) {
    store.FileVersion = static_cast<EarVersion>(7);  // no version: left as it was
    store.DataChanged = false;
    EXPECT_EQ(CheckFileCompatibility(state, File("c.ear", c.bytes)).Ok(), c.result == 0) << c.bytes;
    EXPECT_EQ(static_cast<int>(store.FileVersion), c.fileVersion == -1 ? 7 : c.fileVersion)
        << c.bytes;
    EXPECT_EQ(store.DataChanged, c.dataChanged) << c.bytes;
  }
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(CheckFileCompatibility(state, dir.Path("none.ear")));
  EXPECT_EQ(dialogs.Texts(), Texts{" Program Error: File not found: " + dir.Path("none.ear") +
                                   "(CheckFileCompatibility(NewFileIO))"});
}

TEST_F(EarFileTest, GetParametersSplitsBothLayouts) {
  struct Case {
    int16_t fileVersion;
    std::string line;
    std::string fields;   // all six padded to 15 characters
    std::string missing;  // the message's quoted line, "" when the line is complete
    int count = 6;
  };
  const Case cases[] = {
      {0, "12+34.500          BK       10.00        0.00        5.50        0.00",
       "12+34.500|BK|10.00|0.00|5.50|0.00", ""},
      {0, "1234.5\tFB\t1\t2\t3\t4  ", "12+34.500|FB|1.00|2.00|3.00|4.00", ""},
      {0, "   00+50.000 SA 1 2 3 4", "00+50.000|SA|1.00|2.00|3.00|4.00", ""},
      {0, "9+50.000AH AH 0 0 0 0 7", "9+50.000AH|AH|0.00|0.00|0.00|0 7", ""},  // 7th stays with 6th
      {0, "12+34.500 BK 12345678901234.5 0 0 0", "12+34.500|BK|12345678901234.50|0.00|0.00|0.00",
       ""},
      {0, "12+34.500 BK 10.00", "12+34.500|BK|10.00|||", "12+34.500 BK 10.00"},
      {0, "+", "+|||||", "+"},
      {1, "12+34.500 10.00 0.00 5.50 0.00", "12+34.500|-|10.00|0.00|5.50|0.00", "", 5},
      {1, "1300\t25.5\t0\t3\t1.5", "13+00.000|-|25.50|0.00|3.00|1.50", "", 5},
      {1, "12+34.500 10.00 0.00", "12+34.500|-|10.00|0.00||", "12+34.500 10.00 0.00", 5},
  };
  for (const auto& c : cases) {
    dialogs.shown.clear();
    store.FileVersion = static_cast<EarVersion>(c.fileVersion);
    std::string line = c.line;
    GetParameters(state, line, 1);
    EXPECT_EQ(line.find('\t'), std::string::npos);
    const Row fields = testing::Cells(c.fields, 6);
    for (size_t i = 0; i < 6; ++i) EXPECT_EQ(store.RowFields[i], fields[i]) << c.line << " " << i;
    const std::string message = "Program Error: Row line has fewer than " +
                                std::to_string(c.count) + " fields: \"" + c.missing +
                                "\" occured in GetParameters(NewFileIO).";
    EXPECT_EQ(dialogs.Texts(), c.missing.empty() ? Texts{} : Texts{message}) << c.line;
  }
  std::string commas = "1,\tBK,2,3,4,5";
  store.FileVersion = EarVersion::V2002;
  GetParameters(state, commas, 0);
  EXPECT_EQ(commas, "1,,BK,2,3,4,5");
}

TEST_F(EarFileTest, StoreDescriptionPlacesTheFirstThreeLines) {
  store.HeaderFields = {"a", "b", "c"};
  StoreDescription(state, "one", 1);
  StoreDescription(state, "three", 3);
  StoreDescription(state, "ignored", 4);
  EXPECT_EQ(store.HeaderFields, (std::array<std::string, 3>{"one", "b", "three"}));
  EXPECT_TRUE(dialogs.shown.empty());
  StoreDescription(state, "first line", 0);
  EXPECT_EQ(dialogs.Texts(),
            Texts{"Program Error : Subscript out of range occured in StoreDescription"});
}

// The messages of damaged files are in the bad-input catalogue; here: a
// refused file leaves the project it meets as it was, and the limits hold.
TEST_F(EarFileTest, RefusedFileLeavesTheProjectAsItWas) {
  const std::string ok =
      CrLf({"[VERSION 2002]", "[ENGLISH]", "", "", "", "[END AREA 1 A]", "#BALANCE FACTOR", "1.00",
            "#MEASURED IN EMBANKMENT", " 0 ", kColumns});
  std::string rows1801 = ok;
  for (int r = 0; r < 1801; ++r) rows1801 += std::to_string(r) + "+00.000 - 1 0 2 0\r\n";
  std::filesystem::create_directory(dir.Path("folder.ear"));
  const std::string refused[] = {DataPath("bad/empty.ear"),
                                 DataPath("bad/binary.ear"),
                                 DataPath("bad/flag-overflow.ear"),
                                 DataPath("bad/tag-without-bracket.ear"),
                                 DataPath("bad/27-groups.ear"),
                                 File("rows1801.ear", rows1801),
                                 dir.Path("folder.ear"),
                                 dir.Path("missing.ear")};
  for (const std::string& path : refused) {
    SCOPED_TRACE(path);
    dialogs.shown.clear();
    store.HeaderFields = {"keep", "", ""};
    store.CurrentFileName = "Untitled";
    SetRows(0, {{"01+00.000", "-", "1", "0", "2", "0"}});
    EXPECT_FALSE(OpenEarFile(state, path));
    EXPECT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_EQ(store.CurrentFileName, "Untitled");
    EXPECT_EQ(store.HeaderFields[0], "keep");
    EXPECT_EQ(store.GroupCount, 1);
    EXPECT_EQ(Rows(0), (std::vector<Row>{{"01+00.000", "-", "1", "0", "2", "0"}}));
  }
  EXPECT_EQ(dialogs.Texts(), Texts{" Program Error: File not found: " + dir.Path("missing.ear") +
                                   "(CheckFileCompatibility(NewFileIO))"});

  // 26 groups are the most a file may hold.
  dialogs.shown.clear();
  std::string groups26 = "[VERSION 2002]\r\n[METRIC]\r\n\r\n\r\n\r\n";
  for (int g = 1; g <= 26; ++g) groups26 += "[END AREA " + std::to_string(g) + " G]\r\n";
  ASSERT_TRUE(OpenEarFile(state, File("g.ear", groups26 + "[LAST RECORD]\r\n")));
  EXPECT_EQ(store.GroupCount, 26);
  EXPECT_EQ(store.UnitSystem, Units::Metric);
  EXPECT_TRUE(dialogs.shown.empty());
}

// Readings where the line rules leave room or would lose what the file
// holds; each choice is written down in the README.
TEST_F(EarFileTest, ReadingsWhereTheRulesLeaveRoom) {
  const std::vector<std::string> head = {"[VERSION 2002]", "[ENGLISH]",      "D", "P", "C",
                                         "[END AREA 1 A]", "#BALANCE FACTOR"};
  struct Case {
    const char* name;
    std::vector<std::string> lines;  // after `head`
    std::function<void()> check;
    size_t messages = 0;
  };
  const std::string flagLines = "#MEASURED IN EMBANKMENT";
  // clang-format off
  const Case cases[] = {
      {"a row led by blanks or a tab is read as its fields", {"1.2", kColumns,
       "   12+00.000 BK 1.00 0.00 2.00 0.00", "\t13+00.000\tAH\t1\t0\t2\t0"}, [&] {
         EXPECT_EQ(Rows(0)[0], testing::Cells("12+00.000|BK|1.00|0.00|2.00|0.00"));
         EXPECT_EQ(Rows(0)[1], testing::Cells("13+00.000|AH|1.00|0.00|2.00|0.00"));
       }},
      {"a number with a power of ten is that number", {"1.2", kColumns,
       "12+00.000 - 1E3 0 2.5e1 0"}, [&] {
         EXPECT_EQ(Rows(0)[0], testing::Cells("12+00.000|-|1000.00|0.00|25.00|0.00"));
       }},
      {"an empty factor line is an empty factor", {"", flagLines, " 0 ", kColumns}, [&] {
         EXPECT_EQ(store.Group(0).BalanceFactor, "");
       }},
      {"a group without factor lines keeps 1.00", {"1.2", kColumns, "[END AREA 2 B]", kColumns,
       "12+00.000 - 1 0 2 0"}, [&] {
         EXPECT_EQ(store.Group(1).BalanceFactor, "1.00");
         EXPECT_EQ(store.Group(1).MeasuredInEmbankment, 0);
       }},
      {"an embankment flag other than 0 or 1 is kept, not embankment", {"1.2", flagLines, " 2 "},
       [&] {
         EXPECT_EQ(store.Group(0).MeasuredInEmbankment, 2);
         EXPECT_EQ(store.Group(0).BalanceFactor, "1.2");
         EXPECT_FALSE(state.Window.Embankment);
       }},
      {"a # line after rows keeps the rows", {"1.2", kColumns, "12+00.000 - 1 0 2 0",
       "#STATION", "13+00.000 - 1 0 2 0"}, [&] {
         EXPECT_EQ(Rows(0).size(), 2u);
       }, 1},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.shown.clear();
    std::vector<std::string> lines = head;
    lines.insert(lines.end(), c.lines.begin(), c.lines.end());
    lines.push_back("[LAST RECORD]");
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    ASSERT_TRUE(OpenEarFile(state, File("r.ear", text)));
    c.check();
    EXPECT_EQ(dialogs.shown.size(), c.messages);
  }
}

TEST_F(EarFileTest, ReaderReportsAFileThatVanished) {
  store.CurrentFileName = dir.Path("gone.ear");
  EXPECT_FALSE(ReadFileVersion2002(state));
  EXPECT_EQ(dialogs.Texts(), Texts{"Program Error: File not found: " + dir.Path("gone.ear") +
                                   "(ReadFileVersion2002(NewFileIO))"});
  EXPECT_TRUE(view.calls.empty());
}

}  // namespace
}  // namespace earthwork
