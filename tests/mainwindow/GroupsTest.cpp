#include <QTabBar>
#include <QTest>

#include "GridEditorTest.h"
#include "QtTestSupport.h"
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
  std::string name;
  std::string factor;
  int16_t embankment;
  std::vector<Row> rows;
};

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

void CompareGroup(const GroupRecord& group, const GroupData& data) {
  QCOMPARE(group.Name, data.name);
  QCOMPARE(group.BalanceFactor, data.factor);
  QCOMPARE(group.MeasuredInEmbankment, data.embankment);
  QVERIFY(RowsOf(group) == data.rows);
}

void ClickTab(QTabBar& tabs, int index, Qt::MouseButton button = Qt::LeftButton) {
  QTest::mouseClick(&tabs, button, {}, tabs.tabRect(index).center());
}

}  // namespace

void GroupsTest::insertAppendsAnEmptyGroup() {
  WindowHarness h;
  h.OpenProject("one.ear", 3);
  h.dialogs.inputs = {"ABCDEFGHIJKLMNOPQRSTUVWXY"};
  h.Trigger("mnuGroupInsert");
  QCOMPARE(QTexts(h.dialogs.prompts),
           QStringList{"NAME THE GROUP or FILE-TAB(WHICH WILL BE SAVED IN THE FILE).|NAME "
                       "FILE-TAB|EarthWork "});
  auto* tabs = h.Child<QTabBar>("TabStrip1");
  QCOMPARE(Captions(*tabs), (QStringList{"Main line", "ABCDEFGHIJKLMNOPQRST"}));
  const ProjectStore& store = h.Store();
  QCOMPARE(store.GroupCount, int16_t{2});
  QCOMPARE(store.CurrentGroup, int16_t{1});
  QCOMPARE(store.Group(1).Name, std::string("ABCDEFGHIJKLMNOPQRST"));
  QCOMPARE(store.Group(1).BalanceFactor, std::string("1"));
  QCOMPARE(store.Group(1).Cells.at(0, Station), kEndOfRows);

  // What is typed next goes into the new group only.
  QTest::keyClicks(&h.window->Grid(), "500");
  QTest::keyClick(&h.window->Grid(), Qt::Key_Return);
  QCOMPARE(store.Group(1).Cells.at(0, Station), std::string("05+00.000"));
  QCOMPARE(store.Group(0).Cells.DataRowCount(), 3);
  QCOMPARE(ShownTexts(h.dialogs), QStringList{});
}

void GroupsTest::insertCancelledOrFullChangesNothing_data() {
  QTest::addColumn<int>("groups");
  QTest::addColumn<bool>("cancel");
  QTest::addColumn<QStringList>("messages");
  QTest::newRow("cancelled") << 1 << true << QStringList{};
  QTest::newRow("empty answer") << 2 << false << QStringList{};
  QTest::newRow("27th group") << 26 << false
                              << QStringList{
                                     "A project holds at most 26 groups. Delete a group "
                                     "before adding another."};
}

void GroupsTest::insertCancelledOrFullChangesNothing() {
  QFETCH(int, groups);
  QFETCH(bool, cancel);
  QFETCH(QStringList, messages);
  WindowHarness h;
  std::vector<GroupData> data;
  for (int g = 0; g < groups; ++g) data.push_back({"G" + std::to_string(g), "1.00", 0, {}});
  LoadGroups(h, data);
  if (groups < kGroupSlots) {
    h.dialogs.inputs = {cancel ? std::nullopt : std::optional<std::string>("")};
  }
  h.Trigger("mnuGroupInsert");
  QCOMPARE(ShownTexts(h.dialogs), messages);
  QCOMPARE(int(h.Store().GroupCount), groups);
  QCOMPARE(h.Child<QTabBar>("TabStrip1")->count(), groups);
  QVERIFY(h.dialogs.inputs.empty());
}

void GroupsTest::deleteMovesTheFollowingGroupsDown() {
  WindowHarness h;
  LoadGroups(h, kThreeGroups);
  auto* tabs = h.Child<QTabBar>("TabStrip1");
  ClickTab(*tabs, 1);
  QCOMPARE(h.Store().CurrentGroup, int16_t{1});
  const QString question = "Do you wish to delete the selected group ? ";
  h.dialogs.answers = {Answer::No};
  h.Trigger("mnuGroupDelete");
  QCOMPARE(ShownTexts(h.dialogs),
           (QStringList{question, "You have selected no to delete the group"}));
  // Enter alone keeps the group.
  QVERIFY(h.dialogs.shown[0].defaultButton == Answer::No);
  QCOMPARE(h.Store().GroupCount, int16_t{3});
  CompareGroup(h.Store().Group(1), kThreeGroups[1]);

  h.dialogs.shown.clear();
  h.dialogs.answers = {Answer::Yes};
  h.Trigger("mnuGroupDelete");
  QCOMPARE(ShownTexts(h.dialogs), QStringList{question});
  QCOMPARE(h.dialogs.shown[0].title, std::string("Delete Group"));
  QCOMPARE(h.dialogs.shown[0].buttons, Buttons::YesNo);
  const ProjectStore& store = h.Store();
  QCOMPARE(store.GroupCount, int16_t{2});
  QCOMPARE(Captions(*tabs), (QStringList{"Main line", "Ramp C"}));
  CompareGroup(store.Group(0), kThreeGroups[0]);
  CompareGroup(store.Group(1), kThreeGroups[2]);
  QCOMPARE(store.Group(2).Cells.at(0, Station), kEndOfRows);
  QCOMPARE(store.CurrentGroup, int16_t{0});  // the first tab is shown
}

void GroupsTest::deleteOnlyGroupClearsAndRenames() {
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
  QCOMPARE(QTexts(h.dialogs.prompts).last(),
           QString("Re-Name Default File-Tab|RE-NAME FILE-TAB|Earthwork "));
  QCOMPARE(Captions(*h.Child<QTabBar>("TabStrip1")), QStringList{"Fresh start"});
  const GroupRecord& group = h.Store().Group(0);
  QCOMPARE(group.Name, std::string("Fresh start"));
  QCOMPARE(group.Cells.at(0, Station), kEndOfRows);
  QCOMPARE(group.BalanceFactor, std::string("1"));
  QCOMPARE(h.Store().GroupCount, int16_t{1});
  QCOMPARE(h.window->Grid().GridRows(), 3);
}

void GroupsTest::rename_data() {
  QTest::addColumn<int>("groups");
  QTest::addColumn<QString>("answer");  // "<cancel>" cancels
  QTest::addColumn<QString>("prompt");
  QTest::addColumn<QStringList>("captions");
  const QString several = "Change File-Tab Name|CHANGE FILE-TAB NAME|NEW NAME ";
  const QString single = "Re-Name Default File-Tab|RE-NAME FILE-TAB|Earthwork ";
  QTest::newRow("several groups") << 3 << "Ramp X" << several
                                  << QStringList{"Main line", "Ramp X", "Ramp C"};
  QTest::newRow("several, cancelled")
      << 3 << "<cancel>" << several << QStringList{"Main line", "Ramp B", "Ramp C"};
  QTest::newRow("only group, cut to 20")
      << 1 << "Twenty-five characters!!" << single << QStringList{"Twenty-five characte"};
  QTest::newRow("only group, empty") << 1 << "" << single << QStringList{"Main line"};
}

void GroupsTest::rename() {
  QFETCH(int, groups);
  QFETCH(QString, answer);
  QFETCH(QString, prompt);
  QFETCH(QStringList, captions);
  WindowHarness h;
  LoadGroups(h, std::vector<GroupData>(kThreeGroups.begin(), kThreeGroups.begin() + groups));
  auto* tabs = h.Child<QTabBar>("TabStrip1");
  ClickTab(*tabs, groups - 1 == 0 ? 0 : 1);
  h.dialogs.inputs = {answer == "<cancel>" ? std::nullopt
                                           : std::optional<std::string>(answer.toStdString())};
  h.Trigger("mnuGroupRename");
  QCOMPARE(QTexts(h.dialogs.prompts), QStringList{prompt});
  QCOMPARE(Captions(*tabs), captions);
  for (int g = 0; g < groups; ++g) QCOMPARE(Q(h.Store().Group(g).Name), captions[g]);
  // Rename touches nothing else.
  QCOMPARE(int(h.Store().GroupCount), groups);
  QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 1);
}

}  // namespace earthwork::testing
