// The drawing dialogs and the Stickup Sheets button, driven by clicks.
#include <gtest/gtest.h>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include "StickupBench.h"
#include "mainwindow/QtTestSupport.h"
#include "mainwindow/StationGrid.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"
#include "stickup/qt/CopyOfBentleyDlg.h"
#include "stickup/qt/DrawingFileLists.h"
#include "stickup/qt/bentleyTwo.h"

namespace earthwork::testing {
namespace {

namespace fs = std::filesystem;

template <class T>
T& Child(QWidget& parent, const char* name) {
  auto* child = parent.findChild<T*>(name);
  if (!child) throw std::runtime_error(std::string("no widget ") + name);
  return *child;
}

void Click(QWidget& parent, const char* button) {
  QTest::mouseClick(&Child<QPushButton>(parent, button), Qt::LeftButton);
}

QStringList Items(QWidget& parent, const char* list) {
  QStringList texts;
  auto& widget = Child<QListWidget>(parent, list);
  for (int i = 0; i < widget.count(); ++i) texts << widget.item(i)->text();
  return texts;
}

TEST(StickupDialogs, ListsAndSeedFollowTheClicks) {
  StickupBench b;
  for (const char* name : {"a.dgn", "b.DGN", "notes.txt", "sub/c.dgn"}) {
    fs::create_directories(fs::path(b.drawings + "/" + name).parent_path());
    WriteBytes(b.drawings + "/" + name, name);
  }
  const QString drawings = QString::fromStdString(b.drawings);
  const QString driveC = QString::fromStdString(b.driveC.string());
  qt::bentleyTwo d(b.session, b.dialogs, b.shell, driveC, drawings);
  d.show();
  EXPECT_EQ(Child<QLabel>(d, "lblSeed").text().toStdString(), kDefaultSeed);
  EXPECT_EQ(Items(d, "File1"), (QStringList{"a.dgn", "b.DGN"}));
  Child<QComboBox>(d, "cboFileType").setCurrentIndex(1);
  EXPECT_EQ(Items(d, "File1"), (QStringList{"a.dgn", "b.DGN", "notes.txt"}));
  auto& files = Child<QListWidget>(d, "File1");
  QTest::mouseClick(files.viewport(), Qt::LeftButton, {},
                    files.visualItemRect(files.item(2)).center());
  EXPECT_EQ(Child<QLineEdit>(d, "txtFileName").text(), "notes.txt");

  // Select: OK takes the seed; Cancel leaves it, and the dialog is the same
  // one, still in its folder.
  WhenShown<qt::CopyOfBentleyDlg>([&](qt::CopyOfBentleyDlg& seed) {
    seed.Lists().SetDirectory(drawings);
    seed.Lists().SetFileName("a.dgn");
    Click(seed, "cmdOK");
  });
  Click(d, "cmdSelect");
  const std::string chosen = b.drawings + "/a.dgn";
  EXPECT_EQ(b.session.SeedPath, chosen);
  EXPECT_EQ(Child<QLabel>(d, "lblSeed").text().toStdString(), chosen);
  qt::CopyOfBentleyDlg* first = &d.SeedDialog();
  WhenShown<qt::CopyOfBentleyDlg>([&](qt::CopyOfBentleyDlg& seed) {
    EXPECT_EQ(&seed, first);
    EXPECT_EQ(seed.Lists().Directory(), drawings);
    seed.Lists().SetFileName("b.DGN");
    Click(seed, "cmdCancel");
  });
  Click(d, "cmdSelect");
  EXPECT_EQ(b.session.SeedPath, chosen);

  // Into a folder, then to the drive.
  auto& folders = Child<QListWidget>(d, "Dir1");
  const auto sub = folders.findItems("sub", Qt::MatchEndsWith);
  ASSERT_EQ(sub.size(), 1);
  Q_EMIT folders.itemActivated(sub[0]);
  EXPECT_EQ(d.Lists().Directory(), drawings + "/sub");
  EXPECT_EQ(Items(d, "File1"), QStringList{"c.dgn"});
  auto& drives = Child<QComboBox>(d, "Drive1");
  EXPECT_EQ(drives.itemText(0), "c: " + driveC);
  Q_EMIT drives.activated(0);
  EXPECT_EQ(d.Lists().Directory(), driveC);
}

// The path through the main window: the button, both dialogs, the hand-off
// (compared in full in StickupTest), and the window as it was before.
TEST(StickupDialogs, TheButtonHandsTheProjectToTheCadProgram) {
  StickupBench b;
  // The drive C folder: the environment first, then the setting, which the
  // window goes on with.
  auto settings = qt::QtSettings::AtFile(QString::fromStdString(b.dir.Path("settings.ini")));
  settings->Write("Settings", "DriveC", "/from/setting");
  SetEnv("EARTHWORK_DRIVE_C", "/from/environment");
  EXPECT_EQ(os::DriveCFolder(*settings), "/from/environment");
  SetEnv("EARTHWORK_DRIVE_C", std::nullopt);
  settings->Write("Settings", "DriveC", b.driveC.string());
  qt::QtClock clock;
  MainViewRelay view;
  ProgramState state(b.dialogs, view);
  frmMain window(state, view, *settings, clock);
  window.show();
  window.OpenPath(b.dir.Path("demo.ear"));
  QTabBar& tabs = window.TabStrip();
  QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(2).center());
  ASSERT_EQ(window.State().Project.CurrentGroup, 2);
  const QString firstStation = window.Grid().item(2, 0) ? window.Grid().item(2, 0)->text() : "";

  WhenShown<qt::bentleyTwo>([&](qt::bentleyTwo& d) {
    EXPECT_EQ(Child<QLineEdit>(d, "txtFileName").text(), "1304-020ew.dgn");
    d.Lists().SetDirectory(QString::fromStdString(b.drawings));
    Click(d, "cmdOK");
  });
  Click(window, "cmdStickup");

  const std::string drawing = b.drawings + "/1304-020ew.dgn";
  EXPECT_TRUE(b.WaitForRecord().starts_with("args=" + drawing + "\n"));
  EXPECT_EQ(ReadBytes(drawing), "seed drawing");
  EXPECT_EQ(window.TabStrip().currentIndex(), 2);
  EXPECT_EQ(window.State().Project.CurrentGroup, 2);
  EXPECT_EQ(window.Grid().item(2, 0) ? window.Grid().item(2, 0)->text() : "", firstStation);
}

}  // namespace
}  // namespace earthwork::testing
