#include "earfiles/EarFile.h"

#include <filesystem>

#include "EarTestSupport.h"
#include "project/DataTable.h"

namespace earthwork {
namespace {

namespace fs = std::filesystem;
using testing::DataPath;
using testing::DataTable;
using testing::ReadBytes;
using testing::ReplaceAll;
using testing::Row;
using testing::Texts;

class EarFileTest : public testing::EarTest {
 protected:
  std::string File(const std::string& name, const std::string& bytes) {
    testing::WriteBytes(dir.Path(name), bytes);
    return dir.Path(name);
  }
  std::string SaveTo(const std::string& name) {
    EXPECT_TRUE(SaveEarFile(state, dir.Path(name)));
    return ReadBytes(dir.Path(name));
  }
  /// The golden files of tests/data/ear ending in `ending`, without it.
  static std::vector<std::string> Goldens(const std::string& ending) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(DataPath("ear"))) {
      const std::string file = entry.path().filename().string();
      if (file.ends_with(ending)) names.push_back(file.substr(0, file.size() - ending.size()));
    }
    EXPECT_FALSE(names.empty());
    std::sort(names.begin(), names.end());
    return names;
  }
  /// A project of one group, "Main line", with two rows.
  void BuildProject() {
    store.GroupCount = 1;
    store.CurrentGroup = 0;
    store.UnitSystem = Units::English;
    store.HeaderFields = {"Mine", "1", "2"};
    store.DataChanged = false;
    store.FileVersion = EarVersion::V2002;
    store.Group(0).Name = "Main line";
    store.Group(0).BalanceFactor = "1.15";
    SetRows(0, {{"00+00.000", "-", "1.00", "0.00", "2.00", "0.00"},
                {"00+50.000", "SA", "3.00", "0.00", "4.00", "0.00"}});
    Fresh();
  }
  /// The worked example's group A with 1801 rows, one more than a group holds.
  std::string Rows1801() {
    std::string rows = ReadBytes(DataPath("ear/worked_example.ear"));
    rows.resize(rows.find("12+34.500"));
    for (int r = 0; r < 1801; ++r) rows += std::to_string(r) + "+00.000 - 1 0 2 0\r\n";
    return File("rows1801.ear", rows);
  }
};

// NAME.ear read gives the store and the messages of NAME.read, is saved as
// NAME_saved.ear, and that file reads back the same. NAME.import is what
// importing NAME.ear into a project of one group leaves (NAME_new.import:
// into a new, empty one).
TEST_F(EarFileTest, SampleFilesReadSaveAndImportAsTheirGoldens) {
  const auto golden = [&](const std::string& path, const std::string& status,
                          const std::string& name) {
    std::string text = Dump() + status + "\n";
    for (const std::string& t : dialogs.Texts()) text += ReplaceAll(t, path, "{path}") + "\n";
    testing::ExpectGolden(text, "ear/" + name);
  };
  for (const std::string& name : Goldens(".read")) {
    SCOPED_TRACE(name);
    Fresh();
    store.FileVersion = EarVersion::V2002;
    store.ImportDone = false;
    store.DataChanged = false;
    const std::string path = DataPath("ear/" + name + ".ear");
    ASSERT_TRUE(OpenEarFile(state, path));
    golden(path,
           "version " + std::to_string(int(store.FileVersion)) + " changed " +
               std::to_string(store.DataChanged) + " file " +
               (store.CurrentFileName == path ? "named" : "other") + " balance box [" +
               state.Window.BalanceBox + "]" + (state.Window.Embankment ? " embankment" : ""),
           name + ".read");
    const std::string saved = SaveTo("saved.ear");
    testing::ExpectGolden(saved, "ear/" + name + "_saved.ear");
    // A default factor (the oldest layout's, a group's without factor
    // lines) is written as 1.00 and read back as 1.
    if (name == "oldest" || name == "rule_no_factor_lines" || name == "groups_26") continue;
    const std::string before = Dump();
    ASSERT_TRUE(OpenEarFile(state, dir.Path("saved.ear")));
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(SaveTo("again.ear"), saved);
  }
  store.ImportDone = true;  // after an import, opening an older file leaves nothing to save
  ASSERT_TRUE(OpenEarFile(state, DataPath("ear/v971.ear")));
  EXPECT_FALSE(store.DataChanged);
  for (const std::string& name : Goldens(".import")) {
    SCOPED_TRACE(name);
    const bool empty = name.ends_with("_new");
    BuildProject();
    if (empty) SetRows(0, {});
    state.FileDialog = {"Earthwork Files(*.ear)|*.ear", 2, true};
    dialogs.answers = {Answer::No};  // keep a same name
    const std::string path =
        DataPath("ear/" + name.substr(0, name.size() - (empty ? 4 : 0)) + ".ear");
    dialogs.files = {"  " + path + " "};
    ImportEarIntoGroups(state);
    EXPECT_EQ(dialogs.fileDialogs.at(0).FilterIndex, 2);
    golden(path,
           "current " + std::to_string(store.CurrentGroup) + " version " +
               std::to_string(int(store.FileVersion)) + " changed " +
               std::to_string(store.DataChanged) + " balance box [" + state.Window.BalanceBox +
               "] " + (state.Window.BalanceBoxEnabled ? "enabled" : "disabled"),
           name + ".import");
  }
}

TEST_F(EarFileTest, StoresAreWrittenAsTheirGoldens) {
  store.Group(0).Name = "A";  // the worked example: one group A, factor 1.00, one row
  store.Group(0).BalanceFactor = "1.00";
  SetRows(0, {{"12+34.500", "BK", "10.00", "0.00", "5.50", "0.00"}});
  store.CurrentFileName = dir.Path("a.ear");  // the overwrite question is the Save command's
  EXPECT_TRUE(Write2002VersionFile(state));
  EXPECT_EQ(ReadBytes(store.CurrentFileName), ReadBytes(DataPath("ear/worked_example.ear")));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(SaveTo("b.ear"), ReadBytes(DataPath("ear/worked_example.ear")));  // without asking

  // Empty cells are written as zero and changed in the store.
  store.Group(0).Name = "";
  store.Group(0).BalanceFactor = "";
  SetRows(0, {{"", "", "", "3", "   ", "0.5"}, {"1234.5", "FB", "1", "2", "3", "4"}});
  testing::ExpectGolden(SaveTo("e.ear"), "ear/written_empty_cells.ear");
  EXPECT_EQ(Rows(0)[0], (Row{"0.0", "0.0", "0.0", "3", "0.0", "0.5"}));
  store.Group(0).Name = "x";  // the empty factor comes back; the empty name is the tab's
  ASSERT_TRUE(OpenEarFile(state, dir.Path("e.ear")));
  EXPECT_EQ(store.Group(0).Name + "|" + store.Group(0).BalanceFactor, "Earthwork 1|");

  // Values that would break the layout are kept apart.
  store.Group(0).Name = "two\r\nlines";
  store.HeaderFields[0] = "a\rb";
  SetRows(0, {{"12345678+00.000", "BK", "123456789012.00", "1", "2", "3"}});
  testing::ExpectGolden(SaveTo("w.ear"), "ear/written_layout_breakers.ear");
  ASSERT_TRUE(OpenEarFile(state, dir.Path("w.ear")));
  EXPECT_EQ(Rows(0)[0][2], "123456789012.00");
  EXPECT_EQ(Rows(0)[0][5], "3.00");

  // A group without its end marker is refused before anything is written
  // (write faults are in the save-fault tests).
  Fresh();
  for (int r = 0; r < kCellRows; ++r) store.Group(0).Cells.at(r, 0) = "00+00.000";
  EXPECT_FALSE(SaveEarFile(state, dir.Path("w.ear")));
  EXPECT_EQ(dialogs.Texts(),
            Texts{"Program Error: Subscript out of range occured in Write2002VersionFile"});
  testing::ExpectGolden(ReadBytes(dir.Path("w.ear")), "ear/written_layout_breakers.ear");
}

TEST_F(EarFileTest, FirstLinesRowLinesAndHeaderLines) {
  for (const auto& row : DataTable("ear/first_lines.txt")) {
    store.FileVersion = static_cast<EarVersion>(7);  // no version: left as it was
    store.DataChanged = false;
    EXPECT_EQ(CheckFileCompatibility(state, File("c.ear", row.at(0))).Ok(), row.at(1) == "1")
        << row[0];
    EXPECT_EQ(std::to_string(int(store.FileVersion)), row.at(2) == "-" ? "7" : row[2]) << row[0];
    EXPECT_EQ(store.DataChanged, std::stoi(row.at(3))) << row[0];
  }
  EXPECT_FALSE(CheckFileCompatibility(
      state, File("c.ear", std::string("\0\x01\xff\xfe[VERSION 2002]", 18))));
  EXPECT_TRUE(dialogs.shown.empty());
  for (const auto& row : DataTable("ear/row_lines.txt")) {
    dialogs.shown.clear();
    store.FileVersion = static_cast<EarVersion>(std::stoi(row.at(0)));
    std::string line = row.at(1);
    GetParameters(state, line, 1);
    EXPECT_EQ(line.find('\t'), std::string::npos);
    for (size_t i = 0; i < 6; ++i)
      EXPECT_EQ(store.RowFields[i], testing::Padded(row.at(2 + i))) << row[1] << " " << i;
    const std::string message = "Program Error: Row line has fewer than " + row.at(9) +
                                " fields: \"" + row.at(8) +
                                "\" occured in GetParameters(NewFileIO).";
    EXPECT_EQ(dialogs.Texts(), row[8].empty() ? Texts{} : Texts{message}) << row[1];
  }
  std::string commas = "1,\tBK,2,3,4,5";
  store.FileVersion = EarVersion::V2002;
  GetParameters(state, commas, 0);
  EXPECT_EQ(commas, "1,,BK,2,3,4,5");
  // The first three lines of a file are the header fields.
  dialogs.shown.clear();
  store.HeaderFields = {"a", "b", "c"};
  StoreDescription(state, "one", 1);
  StoreDescription(state, "three", 3);
  StoreDescription(state, "ignored", 4);
  EXPECT_EQ(store.HeaderFields, (std::array<std::string, 3>{"one", "b", "three"}));
  StoreDescription(state, "first line", 0);
  EXPECT_EQ(dialogs.Texts(),
            Texts{"Program Error : Subscript out of range occured in StoreDescription"});
}

// The messages of damaged files are in the bad-input catalogue; here: a
// refused file leaves the project it meets as it was (groups_26.ear: the
// most groups a file may hold).
TEST_F(EarFileTest, RefusedFileLeavesTheProjectAsItWas) {
  fs::create_directory(dir.Path("folder.ear"));
  for (const std::string& path :
       {DataPath("bad/empty.ear"), DataPath("bad/binary.ear"), DataPath("bad/flag-overflow.ear"),
        DataPath("bad/tag-without-bracket.ear"), DataPath("bad/27-groups.ear"), Rows1801(),
        dir.Path("folder.ear"), dir.Path("missing.ear")}) {
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
  Fresh();
  store.CurrentFileName = dir.Path("gone.ear");  // a file that vanished before the reader
  EXPECT_FALSE(ReadFileVersion2002(state));
  EXPECT_EQ(dialogs.Texts(), Texts{"Program Error: File not found: " + dir.Path("gone.ear") +
                                   "(ReadFileVersion2002(NewFileIO))"});
  EXPECT_TRUE(view.calls.empty());
}

}  // namespace
}  // namespace earthwork
