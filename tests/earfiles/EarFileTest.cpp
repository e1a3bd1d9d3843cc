#include "earfiles/EarFile.h"

#include <filesystem>

#include "EarTestSupport.h"
#include "project/DataTable.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

class EarFileTest : public EarTest {
 protected:
  std::string SaveTo(const std::string& name) {
    EXPECT_TRUE(SaveEarFile(state, dir.Path(name)));
    return ReadBytes(dir.Path(name));
  }
};

// NAME.ear read gives the store and the messages of NAME.read, is saved as
// NAME_saved.ear, and that file reads back the same. NAME.import is what
// importing NAME.ear into a project of one group leaves (NAME_new.import:
// into a new, empty one).
TEST_F(EarFileTest, SampleFilesReadSaveAndImportAsTheirGoldens) {
  const auto golden = [&](const std::string& path, const std::string& status,
                          const std::string& name) {
    std::string text = StoreText(store) + status + "\n";
    for (const std::string& t : dialogs.Texts()) text += ReplaceAll(t, path, "{path}") + "\n";
    ExpectGolden(text, "ear/" + name);
  };
  for (const auto& entry : fs::directory_iterator(DataPath("ear"))) {
    if (entry.path().extension() != ".read") continue;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    Fresh();
    store.FileVersion = EarVersion::V2002;  // a file without a unit line keeps the last one
    store.UnitSystem = Units::English;
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
    ExpectGolden(saved, "ear/" + name + "_saved.ear");
    // A default factor (the oldest layout's, a group's without factor
    // lines) is written as 1.00 and read back as 1.
    if (name == "oldest" || name == "rule_no_factor_lines" || name == "groups_26") continue;
    const std::string before = StoreText(store);
    ASSERT_TRUE(OpenEarFile(state, dir.Path("saved.ear")));
    EXPECT_EQ(StoreText(store), before);
    EXPECT_EQ(SaveTo("again.ear"), saved);
  }
  store.ImportDone = true;  // after an import, opening an older file leaves nothing to save
  ASSERT_TRUE(OpenEarFile(state, DataPath("ear/v971.ear")));
  EXPECT_FALSE(store.DataChanged);
  for (const auto& entry : fs::directory_iterator(DataPath("ear"))) {
    if (entry.path().extension() != ".import") continue;
    const std::string name = entry.path().stem().string();
    SCOPED_TRACE(name);
    const bool empty = name.ends_with("_new");
    Build(1);
    Fresh();
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

  // Empty cells are written as zero and changed in the store.
  store.Group(0).Name = "";
  store.Group(0).BalanceFactor = "";
  SetRows(0, {{"", "", "", "3", "   ", "0.5"}, {"1234.5", "FB", "1", "2", "3", "4"}});
  ExpectGolden(SaveTo("e.ear"), "ear/written_empty_cells.ear");
  EXPECT_EQ(RowsOf(store.Group(0))[0], (Row{"0.0", "0.0", "0.0", "3", "0.0", "0.5"}));
  store.Group(0).Name = "x";  // the empty factor comes back; the empty name is the tab's
  ASSERT_TRUE(OpenEarFile(state, dir.Path("e.ear")));
  EXPECT_EQ(store.Group(0).Name + "|" + store.Group(0).BalanceFactor, "Earthwork 1|");

  // Values that would break the layout are kept apart.
  store.Group(0).Name = "two\r\nlines";
  store.HeaderFields[0] = "a\rb";
  SetRows(0, {{"12345678+00.000", "BK", "123456789012.00", "1", "2", "3"}});
  ExpectGolden(SaveTo("w.ear"), "ear/written_layout_breakers.ear");
  ASSERT_TRUE(OpenEarFile(state, dir.Path("w.ear")));
  EXPECT_EQ(RowsOf(store.Group(0))[0][2], "123456789012.00");
  EXPECT_EQ(RowsOf(store.Group(0))[0][5], "3.00");

  // A group without its end marker is refused before anything is written
  // (write faults are in the save-fault tests).
  Fresh();
  for (int r = 0; r < kCellRows; ++r) store.Group(0).Cells.at(r, 0) = "00+00.000";
  EXPECT_FALSE(SaveEarFile(state, dir.Path("w.ear")));
  EXPECT_EQ(dialogs.Texts(),
            Texts{"Program Error: Subscript out of range occured in Write2002VersionFile"});
  ExpectGolden(ReadBytes(dir.Path("w.ear")), "ear/written_layout_breakers.ear");
}

TEST_F(EarFileTest, FirstLinesRowLinesAndHeaderLines) {
  for (const auto& row : DataTable("ear/first_lines.txt")) {
    store.FileVersion = static_cast<EarVersion>(7);  // no version: left as it was
    store.DataChanged = false;
    WriteBytes(dir.Path("c.ear"), row.at(0));
    EXPECT_EQ(CheckFileCompatibility(state, dir.Path("c.ear")).Ok(), row.at(1) == "1") << row[0];
    EXPECT_EQ(std::to_string(int(store.FileVersion)), row.at(2) == "-" ? "7" : row[2]) << row[0];
    EXPECT_EQ(store.DataChanged, std::stoi(row.at(3))) << row[0];
  }
  EXPECT_TRUE(dialogs.shown.empty());
  for (const auto& row : DataTable("ear/row_lines.txt")) {
    dialogs.shown.clear();
    store.FileVersion = static_cast<EarVersion>(std::stoi(row.at(0)));
    std::string line = row.at(1);
    GetParameters(state, line, 1);
    EXPECT_EQ(line.find('\t'), std::string::npos);
    for (size_t i = 0; i < 6; ++i)
      EXPECT_EQ(
          store.RowFields[i],
          (row.at(2 + i) + std::string(15, ' ')).substr(0, std::max<size_t>(15, row[2 + i].size())))
          << row[1] << " " << i;
    const std::string message = "Program Error: Row line has fewer than " + row.at(9) +
                                " fields: \"" + row.at(8) +
                                "\" occured in GetParameters(NewFileIO).";
    EXPECT_EQ(dialogs.Texts(), row[8].empty() ? Texts{} : Texts{message}) << row[1];
  }
  std::string commas = "1,\tBK,2,3,4,5";  // not counted: the tab becomes a comma
  GetParameters(state, commas, 0);
  EXPECT_EQ(commas, "1,,BK,2,3,4,5");
}

// The messages of damaged files are in the bad-input catalogue; here: a
// refused file leaves the project it meets as it was (groups_26.ear: the
// most groups a file may hold).
TEST_F(EarFileTest, RefusedFileLeavesTheProjectAsItWas) {
  store.HeaderFields = {"keep", "", ""};
  store.CurrentFileName = "Untitled";
  SetRows(0, {{"01+00.000", "-", "1", "0", "2", "0"}});
  const std::string before = StoreText(store);
  // Refused as no project file, by a throw while counting, by the count.
  for (const std::string& path : {DataPath("bad/binary.ear"), DataPath("bad/flag-overflow.ear"),
                                  DataPath("bad/27-groups.ear"), dir.Path("missing.ear")}) {
    SCOPED_TRACE(path);
    dialogs.shown.clear();
    EXPECT_FALSE(OpenEarFile(state, path));
    EXPECT_EQ(dialogs.Texts().size(), 1u);
    EXPECT_EQ(store.CurrentFileName, "Untitled");
    EXPECT_EQ(StoreText(store), before);
  }
  EXPECT_EQ(dialogs.Texts(), Texts{" Program Error: File not found: " + dir.Path("missing.ear") +
                                   "(CheckFileCompatibility(NewFileIO))"});
}

}  // namespace
}  // namespace earthwork::testing
