#include <algorithm>
#include <optional>

#include "EarTestSupport.h"
#include "earfiles/EarFile.h"

namespace earthwork {
namespace {

using testing::DataPath;
using testing::WriteBytes;
using Texts = std::vector<std::string>;

class EarImportTest : public testing::EarTest {
 protected:
  /// A project of `groups` groups, the first named "Main line" with two rows.
  void BuildProject(int groups = 1) {
    store.GroupCount = static_cast<int16_t>(groups);
    store.CurrentGroup = 0;
    store.UnitSystem = Units::English;
    store.HeaderFields = {"Mine", "1", "2"};
    store.DataChanged = false;
    for (int g = 0; g < groups; ++g) {
      store.Group(g).Name = g == 0 ? "Main line" : "G" + std::to_string(g + 1);
      store.Group(g).BalanceFactor = "1.15";
      SetRows(g, {{"00+00.000", "-", "1.00", "0.00", "2.00", "0.00"},
                  {"00+50.000", "SA", "3.00", "0.00", "4.00", "0.00"}});
    }
    view.calls.clear();
    dialogs.shown.clear();
  }

  void Import(std::optional<std::string> chosen) {
    dialogs.files = {std::move(chosen)};
    ImportEarIntoGroups(state);
  }

  std::string File(const std::string& name, const std::string& bytes) {
    WriteBytes(dir.Path(name), bytes);
    return dir.Path(name);
  }
};

// Each sample imported into a project of one group (or a new, empty one)
// gives the store and the messages of its golden file.
TEST_F(EarImportTest, SampleFilesImportAsTheirGoldens) {
  const std::pair<const char*, int> cases[] = {
      {"import_two", 1}, {"import_two", 0}, {"stray_rows", 1}, {"oldest", 1}, {"v971", 1}};
  for (const auto& [name, groups] : cases) {
    SCOPED_TRACE(name);
    BuildProject(std::max(groups, 1));
    if (groups == 0) SetRows(0, {});
    store.FileVersion = EarVersion::V2002;
    state.FileDialog = {"Earthwork Files(*.ear)|*.ear", 2, true};
    dialogs.answers = {Answer::No};  // keep a same name
    const std::string path = DataPath(std::string("ear/") + name + ".ear");
    Import("  " + path + " ");
    EXPECT_EQ(dialogs.fileDialogs.at(0).FilterIndex, 2);
    std::string text = Dump() + "current " + std::to_string(store.CurrentGroup) + " version " +
                       std::to_string(int(store.FileVersion)) + " changed " +
                       std::to_string(store.DataChanged) + " balance box [" +
                       state.Window.BalanceBox + "] " +
                       (state.Window.BalanceBoxEnabled ? "enabled" : "disabled") + "\n";
    for (const std::string& t : dialogs.Texts())
      text += testing::ReplaceAll(t, path, "{path}") + "\n";
    testing::ExpectGolden(text, std::string("ear/") + name + (groups ? "" : "_new") + ".import");
  }
}

TEST_F(EarImportTest, SameNamedGroupMayBeRenamed) {
  struct Case {
    std::vector<std::string> projectNames;
    std::vector<Answer> answers;
    std::vector<std::optional<std::string>> inputs;
    std::string name;  // of the imported "Main line"
    size_t warnings;
  };
  const Case cases[] = {
      {{"Main line"}, {Answer::No}, {}, "Main line", 1},
      {{"Main line"}, {Answer::Cancel}, {}, "Main line", 1},
      {{"Main line"}, {Answer::Yes}, {"Main 2"}, "Main 2", 1},
      {{"Main line"}, {Answer::Yes}, {""}, "Earthwork 2", 1},  // an empty name: the tab's
      {{"Main line"}, {Answer::Yes}, {std::nullopt}, "Main line", 1},
      {{"Main line"}, {Answer::Yes}, {"A name of twenty-five ch"}, "A name of twenty-fiv", 1},
      {{" MAIN LINE"}, {Answer::No}, {}, "Main line", 1},
      {{"Other"}, {}, {}, "Main line", 0},
      // The check goes on with the new name.
      {{"Main line", "Side"}, {Answer::Yes, Answer::No}, {"side"}, "side", 2},
      {{"Main line", "Main line"}, {Answer::No, Answer::No}, {}, "Main line", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BuildProject(static_cast<int>(c.projectNames.size()));
    for (size_t g = 0; g < c.projectNames.size(); ++g) {
      store.Group(static_cast<int>(g)).Name = c.projectNames[g];
    }
    dialogs.answers.assign(c.answers.begin(), c.answers.end());
    dialogs.inputs.assign(c.inputs.begin(), c.inputs.end());
    dialogs.prompts.clear();
    Import(DataPath("ear/import_two.ear"));
    const int imported = static_cast<int>(c.projectNames.size());
    EXPECT_EQ(store.Group(imported).Name, c.name);
    EXPECT_EQ(store.Group(imported + 1).Name, "Ramp C");
    EXPECT_EQ(dialogs.shown.size(), c.warnings);
    for (const auto& prompt : dialogs.prompts) {
      EXPECT_EQ(prompt, "Print the tab or groupname|Change Tab Name|");
    }
    EXPECT_TRUE(dialogs.answers.empty());
    EXPECT_TRUE(dialogs.inputs.empty());
  }
}

TEST_F(EarImportTest, RefusedOrCancelledImportLeavesTheProjectAsItWas) {
  std::string rows1801 = "[VERSION 2002]\r\n[ENGLISH]\r\n\r\n\r\n\r\n[END AREA 1 A]\r\n#S\r\n";
  for (int r = 0; r < 1801; ++r) rows1801 += "1+00 - 0 0 0 0\r\n";
  struct Case {
    std::string name;
    int groups;  // of the project
    std::optional<std::string> chosen;
    bool cancelError;
    Texts messages;  // "@" stands for the chosen path
  };
  const std::string two = DataPath("ear/import_two.ear");
  const std::string pre = "Program Error: ";
  // clang-format off
  const Case cases[] = {
      {"full", 25, two, true, {"The file @ holds 2 groups and the project already has 25; a "
       "project holds at most 26 groups. Nothing was imported."}},
      {"cancel reported", 1, std::nullopt, true,
       {pre + "Cancel was selected. occured in mnuGroupInsert"}},
      {"cancel", 1, std::nullopt, false, {}},
      {"not an ear name", 1, "notes.txt", true, {}},
      {"incompatible", 1, File("bad.ear", "garbage\r\n"), true, {}},
      {"missing", 1, dir.Path("none.ear"), true,
       {" " + pre + "File not found: @(CheckFileCompatibility(NewFileIO))"}},
      {"bracket", 1, File("b.ear", "[VERSION 97.1]\r\n[ENGLISH]\r\n\r\n\r\n\r\n[END AREA 1 A\r\n"),
       true, {pre + "Line 6 of @ has \"[\" without \"]\": \"[END AREA 1 A\" occured in mnuGroupInsert"}},
      {"rows", 1, File("r.ear", rows1801), true, {"Group 1 (A) of the file @ holds 1801 rows; a "
       "group holds at most 1800 rows. Nothing was imported."}},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    BuildProject(c.groups);
    store.FileVersion = EarVersion::V2002;
    const std::string before = Dump();
    state.FileDialog.CancelError = c.cancelError;
    Import(c.chosen);
    EXPECT_EQ(dialogs.Texts(), testing::ReplaceAll(c.messages, "@", c.chosen.value_or("")));
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(store.CurrentGroup, 0);
    EXPECT_FALSE(store.DataChanged);
    EXPECT_EQ(store.FileVersion, EarVersion::V2002);
  }
}

TEST_F(EarImportTest, ImportFillsTheLastSlot) {
  BuildProject(24);
  dialogs.answers = {Answer::No};
  Import(DataPath("ear/import_two.ear"));
  EXPECT_EQ(store.GroupCount, 26);
  EXPECT_EQ(store.CurrentGroup, 25);
  EXPECT_EQ(store.Group(25).Name, "Ramp C");
}

}  // namespace
}  // namespace earthwork
