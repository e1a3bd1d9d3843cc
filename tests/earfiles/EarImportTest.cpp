#include <optional>

#include "EarTestSupport.h"
#include "earfiles/EarFile.h"

namespace earthwork {
namespace {

using testing::CrLf;
using testing::DataPath;
using testing::Padded;
using testing::Row;
using testing::WriteBytes;
using Texts = std::vector<std::string>;

const std::string kWarning =
    " Just a warning that you are importing same named tab or a group. Do you want to change it?";

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

  const Texts refresh2 = {"StateChanged", "ProjectChanged", "ScrollTo(2)"};
};

TEST_F(EarImportTest, GroupsAreAppendedAndTheUnitSystemFollowsTheFile) {
  BuildProject();
  const std::string project = Dump();
  state.FileDialog = {"Earthwork Files(*.ear)|*.ear", 2, true};
  dialogs.answers = {Answer::No};
  Import("  " + DataPath("ear/import_two.ear") + " ");

  ASSERT_EQ(dialogs.fileDialogs.size(), 1u);
  EXPECT_EQ(dialogs.fileDialogs[0].Filter, "Earthwork Files(*.ear)|*.ear");
  EXPECT_EQ(dialogs.fileDialogs[0].FilterIndex, 2);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, kWarning);
  EXPECT_EQ(dialogs.shown[0].buttons, Buttons::YesNoCancel);
  EXPECT_EQ(dialogs.shown[0].title, "Warning");

  EXPECT_EQ(store.GroupCount, 3);
  EXPECT_EQ(store.CurrentGroup, 2);
  EXPECT_EQ(store.UnitSystem, Units::Metric);
  EXPECT_TRUE(store.DataChanged);
  EXPECT_EQ(store.HeaderFields, (std::array<std::string, 3>{"Mine", "1", "2"}));
  EXPECT_EQ(store.Group(1).Name, "Main line");
  EXPECT_EQ(store.Group(1).BalanceFactor, "1.3");
  EXPECT_EQ(Rows(1), (std::vector<Row>{testing::Cells("00+00.000|-|1.00|0.00|2.00|0.00"),
                                       testing::Cells("00+20.000|-|3.00|0.00|4.00|0.00")}));
  EXPECT_EQ(store.Group(2).Name, "Ramp C");
  EXPECT_EQ(store.Group(2).MeasuredInEmbankment, 1);
  EXPECT_EQ(store.Group(2).BalanceFactor, "01.000");
  EXPECT_EQ(Rows(2).size(), 1u);
  // The project's own group is untouched.
  store.GroupCount = 1;
  store.UnitSystem = Units::English;
  store.DataChanged = false;
  EXPECT_EQ(Dump(), project);

  EXPECT_EQ(view.calls, refresh2);
  // The boxes show the group shown, the last one imported.
  EXPECT_EQ(state.Window.BalanceBox, "1.00");
  EXPECT_FALSE(state.Window.BalanceBoxEnabled);
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

TEST_F(EarImportTest, ImportIntoANewProjectKeepsItsEmptyGroup) {
  store.Group(0).Cells.at(0, 0) = kEndOfRows;
  Import(DataPath("ear/import_two.ear"));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(store.GroupCount, 3);
  EXPECT_TRUE(Rows(0).empty());
  EXPECT_EQ(store.Group(1).Name, "Main line");
  EXPECT_EQ(store.Group(2).Name, "Ramp C");
}

TEST_F(EarImportTest, EveryGroupHeaderIsAGroupAndStrayRowsGetOneToo) {
  BuildProject();
  // clang-format off
  const std::string path = File("e.ear", CrLf({
      "[VERSION 2002]", "[ENGLISH]", "", "", "", "#", "1.7", "+",
      "[END AREA 1 Empty]", "#BALANCE FACTOR", "1.4", "#MEASURED IN EMBANKMENT", " 0 ", "#STATION",
      "[END AREA 2 Full]", "#BALANCE FACTOR", "1.6", "#MEASURED IN EMBANKMENT", " 0 ", "#STATION",
      "00+00.000 - 1 0 2 0"}));
  // clang-format on
  Import(path);
  EXPECT_EQ(Dump().substr(Dump().find("group 1")),
            "group 1 [Earthwork 2] factor [1.00] flag 0\n"
            " [+              ][               ][               ][               ]"
            "[               ][               ]\n"
            "group 2 [Empty] factor [1.4] flag 0\n"
            "group 3 [Full] factor [1.6] flag 0\n"
            " [00+00.000      ][-              ][1.00][0.00][2.00][0.00]\n");
  EXPECT_EQ(store.Group(0).BalanceFactor, "1.15");  // lines before any group touch no group
  EXPECT_EQ(dialogs.Texts(), (Texts{"Program Error: Row line has fewer than 6 fields: \"+\" "
                                    "occured in GetParameters(NewFileIO).",
                                    "Not every line of " + path +
                                        " was read:\nline 7 \"1.7\": a "
                                        "number stands where no balance factor or embankment flag "
                                        "belongs."}));

  // The oldest layout has no group headers at all.
  BuildProject();
  store.FileVersion = EarVersion::V2002;
  Import(DataPath("ear/oldest.ear"));
  EXPECT_EQ(store.GroupCount, 2);
  EXPECT_EQ(Rows(0).size(), 2u);
  EXPECT_EQ(Rows(0)[1][1], "SA");
  EXPECT_EQ(Rows(1).size(), 2u);
  EXPECT_EQ(store.HeaderFields[0], "Mine");
}

TEST_F(EarImportTest, OlderFileIsImportedWithDashCodes) {
  BuildProject();
  store.Group(0).Name = "x";
  Import(DataPath("ear/v971.ear"));
  EXPECT_EQ(store.FileVersion, EarVersion::V971);
  EXPECT_TRUE(store.DataChanged);
  EXPECT_EQ(store.GroupCount, 3);
  EXPECT_EQ(Rows(1)[1], testing::Cells("12+34.500|-|10.00|0.00|5.50|0.00"));
  EXPECT_EQ(store.Group(2).Name, "Old ramp");
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
    Texts calls;
  };
  const std::string two = DataPath("ear/import_two.ear");
  const Texts refresh0 = {"StateChanged", "ProjectChanged", "ScrollTo(2)"};
  const std::string pre = "Program Error: ";
  // clang-format off
  const Case cases[] = {
      {"full", 25, two, true, {"The file @ holds 2 groups and the project already has 25; a "
       "project holds at most 26 groups. Nothing was imported."}, {}},
      {"cancel reported", 1, std::nullopt, true,
       {pre + "Cancel was selected. occured in mnuGroupInsert"}, {}},
      {"cancel", 1, std::nullopt, false, {}, refresh0},
      {"not an ear name", 1, "notes.txt", true, {}, refresh0},
      {"incompatible", 1, File("bad.ear", "garbage\r\n"), true, {}, {}},
      {"missing", 1, dir.Path("none.ear"), true,
       {" " + pre + "File not found: @(CheckFileCompatibility(NewFileIO))"}, {}},
      {"bracket", 1, File("b.ear", "[VERSION 97.1]\r\n[ENGLISH]\r\n\r\n\r\n\r\n[END AREA 1 A\r\n"),
       true, {pre + "Line 6 of @ has \"[\" without \"]\": \"[END AREA 1 A\" occured in mnuGroupInsert"},
       {}},
      {"rows", 1, File("r.ear", rows1801), true, {"Group 1 (A) of the file @ holds 1801 rows; a "
       "group holds at most 1800 rows. Nothing was imported."}, {}},
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
    EXPECT_EQ(view.calls, c.calls);
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
  EXPECT_EQ(view.calls.back(), "ScrollTo(2)");
}

}  // namespace
}  // namespace earthwork
