#include "WindowHarness.h"
#include "mainwindow/StationGrid.h"
#include "support/StoreRows.h"

namespace earthwork::testing {

namespace {

QStringList Captions(const QTabBar& tabs) {
  QStringList list;
  for (int i = 0; i < tabs.count(); ++i) list << tabs.tabText(i);
  return list;
}

struct GroupData {
  std::string name, factor;
  int16_t embankment;
  std::vector<Row> rows;
  bool operator==(const GroupData&) const = default;
};

GroupData DataOf(const GroupRecord& g) {
  return {g.Name, g.BalanceFactor, g.MeasuredInEmbankment, RowsOf(g)};
}

/// Puts the groups into the store and shows the first, as a reader does.
void LoadGroups(WindowHarness& h, const std::vector<GroupData>& groups) {
  ProjectStore& store = h.Store();
  store.GroupCount = static_cast<int16_t>(groups.size());
  store.CurrentGroup = 0;
  for (size_t g = 0; g < groups.size(); ++g) {
    GroupRecord& group = store.Group(int(g));
    group.Name = groups[g].name;
    group.BalanceFactor = groups[g].factor;
    group.MeasuredInEmbankment = groups[g].embankment;
    PutRows(group, groups[g].rows);
  }
  if (groups.size() < kGroupSlots)
    store.Group(int(groups.size())).Cells.at(0, Station) = kEndOfRows;
  ShowReadProject(h.State(), 0);
}

// clang-format off
const std::vector<GroupData> kThreeGroups = {
    {"Main line", "1.1", 0, {{"10+00.000", "-", "1.00", "0.00", "2.00", "0.00"}}},
    {"Ramp B", "1.2", 0, {{"00+00.000", "BK", "3.00", "1.00", "4.00", "0.00"},
                          {"00+50.000", "AH", "5.00", "0.00", "6.00", "2.00"}}},
    {"Ramp C", "1.3", 1, {{"01+00.000", "SA", "7.00", "0.00", "8.00", "0.00"},
                          {"01+50.000", "FB", "9.00", "3.00", "1.00", "0.00"},
                          {"", "", "", "", "", ""},  // inserted, not typed into yet
                          {"02+00.000", "-", "2.00", "0.00", "3.00", "4.00"}}},
};
// clang-format on

const QString kSingle = "Re-Name Default File-Tab|RE-NAME FILE-TAB|Earthwork ";

struct RenameCase {
  const char* name;
  int groups;
  std::optional<std::string> answer;
  QString prompt;
  QStringList captions;
};
const RenameCase kRenames[] = {
    {"several groups",
     3,
     "Ramp X",
     "Change File-Tab Name|CHANGE FILE-TAB NAME|NEW NAME ",
     {"Main line", "Ramp X", "Ramp C"}},
    {"several, cancelled",
     3,
     std::nullopt,
     "Change File-Tab Name|CHANGE FILE-TAB NAME|NEW NAME ",
     {"Main line", "Ramp B", "Ramp C"}},
    {"only group, cut to 20", 1, "Twenty-five characters!!", kSingle, {"Twenty-five characte"}},
    {"only group, empty", 1, "", kSingle, {"Main line"}},
};

}  // namespace

class GroupsTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void insertAppendsAnEmptyGroup() {
    WindowHarness h;
    h.OpenProject("one.ear", 3);
    h.dialogs.inputs = {"ABCDEFGHIJKLMNOPQRSTUVWXY"};
    h.Trigger("mnuGroupInsert");
    QCOMPARE(QTexts(h.dialogs.prompts),
             QStringList{"NAME THE GROUP or FILE-TAB(WHICH WILL BE SAVED IN THE FILE).|NAME "
                         "FILE-TAB|EarthWork "});
    QCOMPARE(Captions(h.window->TabStrip()), (QStringList{"Main line", "ABCDEFGHIJKLMNOPQRST"}));
    const ProjectStore& store = h.Store();
    QCOMPARE(store.GroupCount, int16_t{2});
    QCOMPARE(store.CurrentGroup, int16_t{1});
    QVERIFY((DataOf(store.Group(1)) == GroupData{"ABCDEFGHIJKLMNOPQRST", "1", 0, {}}));
    // What is typed next goes into the new group only.
    QTest::keyClicks(&h.window->Grid(), "500");
    QTest::keyClick(&h.window->Grid(), Qt::Key_Return);
    QCOMPARE(store.Group(1).Cells.at(0, Station), std::string("05+00.000"));
    QCOMPARE(store.Group(0).Cells.DataRowCount(), 3);
    QCOMPARE(ShownTexts(h.dialogs), QStringList{});
  }

  void insertCancelledOrFullChangesNothing() {
    for (const int groups : {1, 2, 26}) {  // a cancelled name, an empty one, no room
      WindowHarness h;
      std::vector<GroupData> data;
      for (int g = 0; g < groups; ++g) data.push_back({"G" + std::to_string(g), "1.00", 0, {}});
      LoadGroups(h, data);
      if (groups < kGroupSlots)
        h.dialogs.inputs = {groups == 1 ? std::nullopt : std::optional(std::string())};
      h.Trigger("mnuGroupInsert");
      QCOMPARE(ShownTexts(h.dialogs),
               groups < kGroupSlots ? QStringList{}
                                    : QStringList{"A project holds at most 26 groups. Delete a "
                                                  "group before adding another."});
      QCOMPARE(int(h.Store().GroupCount), groups);
      QCOMPARE(h.window->TabStrip().count(), groups);
      QVERIFY(h.dialogs.inputs.empty());
    }
  }

  void deleteMovesTheFollowingGroupsDown() {
    WindowHarness h;
    LoadGroups(h, kThreeGroups);
    h.ClickTab(1);
    QCOMPARE(h.Store().CurrentGroup, int16_t{1});
    const QString question = "Do you wish to delete the selected group ? ";
    h.dialogs.answers = {Answer::No};
    h.Trigger("mnuGroupDelete");
    QCOMPARE(ShownTexts(h.dialogs),
             (QStringList{question, "You have selected no to delete the group"}));
    QVERIFY(h.dialogs.shown[0].defaultButton == Answer::No);  // Enter alone keeps the group
    QCOMPARE(h.Store().GroupCount, int16_t{3});
    QVERIFY(DataOf(h.Store().Group(1)) == kThreeGroups[1]);

    h.dialogs.shown.clear();
    h.dialogs.answers = {Answer::Yes};
    h.Trigger("mnuGroupDelete");
    QCOMPARE(ShownTexts(h.dialogs), QStringList{question});
    QCOMPARE(h.dialogs.shown[0].title, std::string("Delete Group"));
    QCOMPARE(h.dialogs.shown[0].buttons, Buttons::YesNo);
    const ProjectStore& store = h.Store();
    QCOMPARE(store.GroupCount, int16_t{2});
    QCOMPARE(Captions(h.window->TabStrip()), (QStringList{"Main line", "Ramp C"}));
    QVERIFY(DataOf(store.Group(0)) == kThreeGroups[0]);
    QVERIFY(DataOf(store.Group(1)) == kThreeGroups[2]);
    QCOMPARE(store.Group(2).Cells.at(0, Station), kEndOfRows);
    QCOMPARE(store.CurrentGroup, int16_t{0});  // the first tab is shown
  }

  void deleteOnlyGroupClearsAndRenames() {
    WindowHarness h;
    h.OpenProject("one.ear", 3);
    h.dialogs.answers = {Answer::Yes};
    h.dialogs.inputs = {std::nullopt};
    h.Trigger("mnuGroupDelete");
    QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 3);
    QCOMPARE(h.window->Grid().GridRows(), 6);

    h.dialogs.answers = {Answer::Yes};
    h.dialogs.inputs = {"Fresh start"};
    h.Trigger("mnuGroupDelete");
    QCOMPARE(QTexts(h.dialogs.prompts).last(), kSingle);
    QCOMPARE(Captions(h.window->TabStrip()), QStringList{"Fresh start"});
    QVERIFY((DataOf(h.Store().Group(0)) == GroupData{"Fresh start", "1", 0, {}}));
    QCOMPARE(h.Store().GroupCount, int16_t{1});
    QCOMPARE(h.window->Grid().GridRows(), 3);
  }

  void rename_data() { CaseRows(kRenames); }
  void rename() {
    QFETCH(int, row);
    const RenameCase& c = kRenames[row];
    WindowHarness h;
    LoadGroups(h, std::vector<GroupData>(kThreeGroups.begin(), kThreeGroups.begin() + c.groups));
    h.ClickTab(c.groups == 1 ? 0 : 1);
    h.dialogs.inputs = {c.answer};
    h.Trigger("mnuGroupRename");
    QCOMPARE(QTexts(h.dialogs.prompts), QStringList{c.prompt});
    QCOMPARE(Captions(h.window->TabStrip()), c.captions);
    for (int g = 0; g < c.groups; ++g) QCOMPARE(Q(h.Store().Group(g).Name), c.captions[g]);
    // Rename touches nothing else.
    QCOMPARE(int(h.Store().GroupCount), c.groups);
    QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 1);
  }
};

const bool kGroupsTest = Register<GroupsTest>();

}  // namespace earthwork::testing

#include "GroupsTest.moc"
