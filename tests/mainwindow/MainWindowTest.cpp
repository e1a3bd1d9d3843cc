#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QStatusBar>
#include <QTabBar>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <filesystem>

#include "MainWindowTest.h"
#include "QtTestSupport.h"
#include "WindowHarness.h"
#include "mainwindow/StationGrid.h"
#include "mainwindow/frmMassHaul.h"
#include "mainwindow/frmPreview.h"
#include "project/Text.h"

namespace earthwork::testing {

namespace {

/// The window's caption names the file as desktop programs do: its name
/// first, its whole path as the window's file.
bool Names(const QWidget& window, const QString& path) {
  return window.windowFilePath() == path &&
         window.windowTitle().startsWith(QFileInfo(path).fileName() + "[*]");
}

}  // namespace

void MainWindowTest::startsAnEmptyUntitledProject() {
  WindowHarness h;
  QVERIFY(h.window->windowTitle().startsWith("Untitled"));
  const ProjectStore& store = h.Store();
  QCOMPARE(store.CurrentFileName, std::string("UNTITLED"));
  QCOMPARE(store.GroupCount, int16_t{1});
  QVERIFY(!store.DataChanged);
  QCOMPARE(store.Group(0).Cells.at(0, Station), kEndOfRows);
  QCOMPARE(store.Group(0).BalanceFactor, std::string("1.00"));
  QCOMPARE(h.Child<QLineEdit>("txtShrinkFactor")->text(), QString("1.00"));
  QVERIFY(h.Child<QGroupBox>("fraUnits")->isVisible());
  QVERIFY(!h.Child<QLabel>("Label5")->isVisible());
  StationGrid& grid = h.window->Grid();
  QCOMPARE(grid.GridRows(), 3);
  for (int c = 0; c < 6; ++c) QCOMPARE(grid.CellText(1, c), QString());  // no unit yet
  QVERIFY(grid.isVisible());
  QVERIFY(!h.Child<QPlainTextEdit>("txtLogHelp")->isVisible());
}

void MainWindowTest::menusHaveAccessKeysAndShortcuts() {
  WindowHarness h;
  // Every entry of every menu has an access key of its own in its menu.
  std::function<void(const QMenu*)> check = [&](const QMenu* menu) {
    QSet<QChar> keys;
    for (const QAction* action : menu->actions()) {
      if (action->isSeparator()) continue;
      const QString text = action->text();
      const qsizetype amp = text.indexOf('&');
      QVERIFY2(amp >= 0 && amp + 1 < text.size(), qPrintable(text));
      const QChar key = text.at(amp + 1).toLower();
      QVERIFY2(!keys.contains(key), qPrintable(menu->title() + ": " + text));
      keys.insert(key);
      if (action->menu()) check(action->menu());
    }
  };
  for (const QAction* top : h.window->menuBar()->actions()) check(top->menu());
}

void MainWindowTest::windowSettings_data() {
  QTest::addColumn<bool>("minimize");
  QTest::addColumn<bool>("written");
  QTest::newRow("normal") << false << true;
  QTest::newRow("minimized") << true << false;
}

void MainWindowTest::windowSettings() {
  QFETCH(bool, minimize);
  QFETCH(bool, written);
  WindowHarness h;
  // First run: the defaults, in twips, survive the trip to the screen and back.
  if (minimize) h.window->showMinimized();
  h.window->close();
  QVERIFY(!h.window->isVisible());
  QSettings ini(Q(h.dir.Path("settings.ini")), QSettings::IniFormat);
  QCOMPARE(ini.contains("Settings/MainLeft"), written);
  if (!written) return;
  QCOMPARE(ini.value("Settings/MainLeft").toInt(), 1000);
  QCOMPARE(ini.value("Settings/MainTop").toInt(), 1000);
  QCOMPARE(ini.value("Settings/MainWidth").toInt(), 8000);
  QCOMPARE(ini.value("Settings/MainHeight").toInt(), 8000);

  // The next start places the window where the settings say, whole on the
  // screen: a size kept on a larger screen or at a smaller scale is fitted.
  const QRect room = h.window->screen()->availableGeometry();
  struct Placement {
    int leftTwips, widthTwips;
  };
  for (const Placement p : {Placement{1440, 7200}, Placement{2880, 8 * 14400}}) {
    h.settings->Write("Settings", "MainLeft", std::to_string(p.leftTwips));
    h.settings->Write("Settings", "MainWidth", std::to_string(p.widthTwips));
    h.settings->Write("Settings", "MainHeight", std::to_string(p.widthTwips));
    MainViewRelay view;
    ProgramState state(h.dialogs, view);
    frmMain again(state, view, *h.settings, h.clock);
    const double dpi = again.logicalDpiX();
    const int wanted = qRound(p.widthTwips / 1440.0 * dpi);
    QCOMPARE(again.width(), std::min(wanted, room.width()));
    if (wanted < room.width() / 2) QCOMPARE(again.pos().x(), qRound(p.leftTwips / 1440.0 * dpi));
    QVERIFY(room.contains(again.geometry()));
  }
}

void MainWindowTest::fileCommands_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<bool>("named");  // the project has a file already
  QTest::addColumn<QList<int>>("answers");
  QTest::addColumn<QStringList>("files");  // save or open dialog answers; "" cancels
  QTest::addColumn<QStringList>("texts");  // every message shown ($ is the project's file)
  QTest::addColumn<QString>("caption");
  QTest::addColumn<int>("dataChanged");
  QTest::addColumn<bool>("written");  // the project's file holds the typed text
  QTest::addColumn<bool>("open");     // the window is still open

  const int yes = static_cast<int>(Answer::Yes);
  const int no = static_cast<int>(Answer::No);
  const int cancel = static_cast<int>(Answer::Cancel);
  const QString exitQuestion = "WISH TO SAVE FILE BEFORE EXITING ?";
  const QString overwrite = " OVERWRITE EXISTING FILE $ ?";
  // The dialogues themselves are the file-command tests' matter; these rows
  // check the window's own doors to the exit question: the menu and the
  // close box (Save As is the set-up of every row whose project has a file).
  QTest::newRow("exit, yes") << "mnuFileExit" << true << QList<int>{yes, yes} << QStringList{}
                             << QStringList{exitQuestion, overwrite,
                                            " FILE : $ IS SAVED SUCCESSFULLY"}
                             << "EARTHWORK :$" << 1 << true << false;
  QTest::newRow("exit, yes, overwrite declined")
      << "mnuFileExit" << true << QList<int>{yes, no} << QStringList{}
      << QStringList{exitQuestion, overwrite} << "EARTHWORK :$" << 1 << false << true;
  QTest::newRow("close box, cancel") << "close" << true << QList<int>{cancel} << QStringList{}
                                     << QStringList{exitQuestion, " FILE : $ WAS NOT SAVED"}
                                     << "EARTHWORK :$" << 1 << false << true;
  QTest::newRow("close box, new project, yes, named")
      << "close" << false << QList<int>{yes} << QStringList{"$"}
      << QStringList{exitQuestion, " FILE : $ IS SAVED SUCCESSFULLY"} << "EARTHWORK :$" << 1 << true
      << false;
}

void MainWindowTest::fileCommands() {
  QFETCH(QString, command);
  QFETCH(bool, named);
  QFETCH(QList<int>, answers);
  QFETCH(QStringList, files);
  QFETCH(QStringList, texts);
  QFETCH(QString, caption);
  QFETCH(int, dataChanged);
  QFETCH(bool, written);
  QFETCH(bool, open);

  WindowHarness h;
  const QString path = Q(h.dir.Path("project.ear"));
  auto expand = [&](QString text) { return text.replace("$", path); };
  if (named) {
    h.dialogs.files = {path.toStdString()};
    h.Trigger("mnuFileSaveAs");
    QVERIFY(Names(*h.window, path));
    h.dialogs = ScriptedDialogs{};
  }
  QLineEdit* designer = h.Child<QLineEdit>("txtDescri0");
  designer->setFocus();
  QTest::keyClicks(designer, "R. Typed");
  QVERIFY(h.Store().DataChanged);
  for (int a : answers) h.dialogs.answers.push_back(static_cast<Answer>(a));
  for (const QString& f : files) {
    h.dialogs.files.push_back(f.isEmpty() ? std::nullopt
                                          : std::optional<std::string>(expand(f).toStdString()));
  }

  if (command == "close") {
    h.window->close();
  } else {
    h.Trigger(command.toLatin1().constData());
  }

  QStringList expected;
  for (const QString& t : texts) expected << expand(t);
  QCOMPARE(ShownTexts(h.dialogs), expected);
  QCOMPARE(h.window->isVisible(), open);
  if (open) {
    QCOMPARE(Q(h.State().Window.Caption), expand(caption));
    QVERIFY(caption.contains("UNTITLED") || Names(*h.window, path));
    QCOMPARE(int{h.Store().DataChanged}, dataChanged);
  }
  const bool onDisk = std::filesystem::exists(path.toStdString()) &&
                      Contains(ReadBytes(path.toStdString()), "R. Typed");
  QCOMPARE(onDisk, written);
  QVERIFY(h.dialogs.answers.empty());
  QVERIFY(h.dialogs.files.empty());
}

void MainWindowTest::unitChoice_data() {
  QTest::addColumn<QString>("option");
  QTest::addColumn<int>("unitSystem");
  QTest::addColumn<QStringList>("labels");  // unit row of columns 0, 2, 3, 4, 5
  QTest::newRow("metric") << "optMetric" << 1
                          << QStringList{"..M+MM.MM", "Sq. m.", "Cu. m.", "Sq. m.", "Cu. m."};
  QTest::newRow("english") << "optEnglish" << 0
                           << QStringList{"..F+FF.FF", "Sq. ft.", "Cu. Yds.", "Sq. ft.",
                                          "Cu. Yds."};
}

void MainWindowTest::unitChoice() {
  QFETCH(QString, option);
  QFETCH(int, unitSystem);
  QFETCH(QStringList, labels);
  WindowHarness h;
  QTest::keyClicks(h.Child<QLineEdit>("txtDescri1"), "42");
  QVERIFY(h.Store().DataChanged);
  auto* button = h.Child<QRadioButton>(option.toLatin1());
  QTest::mouseClick(button, Qt::LeftButton);
  QCOMPARE(static_cast<int>(h.Store().UnitSystem), unitSystem);
  QVERIFY(h.Store().DataChanged);  // "42" is still unsaved
  QVERIFY(!h.Child<QGroupBox>("fraUnits")->isVisible());
  QVERIFY(h.Child<QLabel>("Label5")->isVisible());
  QCOMPARE(h.Child<QLabel>("Label5")->text(), button->text());
  const int columns[] = {0, 2, 3, 4, 5};
  for (int i = 0; i < 5; ++i) QCOMPARE(h.window->Grid().CellText(1, columns[i]), labels[i]);
  QCOMPARE(h.window->Grid().CellText(1, 1), QString());
}

void MainWindowTest::balanceFactorAndEmbankment() {
  WindowHarness h;
  auto* box = h.Child<QLineEdit>("txtShrinkFactor");
  box->clear();
  QTest::keyClicks(box, "1.5");
  QCOMPARE(h.Store().Group(0).BalanceFactor, std::string("1.50"));
  QVERIFY(h.Store().DataChanged);
  // The same value again changes nothing and leaves the flag alone.
  h.Store().DataChanged = false;
  box->end(false);
  QTest::keyClicks(box, "0");
  QCOMPARE(box->text(), QString("1.50"));
  QVERIFY(!h.Store().DataChanged);

  auto* embankment = h.Child<QCheckBox>("chkEmbankment");
  QTest::mouseClick(embankment, Qt::LeftButton);
  QCOMPARE(box->text(), QString("1.000"));
  QCOMPARE(h.Store().Group(0).BalanceFactor, std::string("1.00"));
  QCOMPARE(h.Store().Group(0).MeasuredInEmbankment, int16_t{1});
  QVERIFY(!box->isEnabled());
  QTest::mouseClick(embankment, Qt::LeftButton);
  QCOMPARE(h.Store().Group(0).MeasuredInEmbankment, int16_t{0});
  QVERIFY(box->isEnabled());

  // What is not a number is refused as the box is left, and the group keeps
  // the factor it had.
  QApplication::setActiveWindow(h.window.get());
  box->setFocus();
  box->selectAll();
  QTest::keyClicks(box, "1,25");
  h.Child<QLineEdit>("txtDescri0")->setFocus();
  QCOMPARE(
      ShownTexts(h.dialogs),
      QStringList{"The balance factor must be a number, such as 1.25: \"1,25\" was not taken."});
  QCOMPARE(box->text(), QString("1.000"));  // as it was before
  QCOMPARE(h.Store().Group(0).BalanceFactor, std::string("1.00"));
}

void MainWindowTest::recentAndDroppedFiles() {
  WindowHarness h;
  const std::string a = h.OpenProject("a.ear", 2);
  const std::string b = h.OpenProject("b.ear", 3);
  QCOMPARE(h.window->RecentFiles(), (std::vector<std::string>{b, a}));
  {
    // Kept in the settings for the next run.
    MainViewRelay view;
    ProgramState state(h.dialogs, view);
    frmMain again(state, view, *h.settings, h.clock);
    QCOMPARE(again.RecentFiles(), (std::vector<std::string>{b, a}));
  }
  // Opening one asks about unsaved changes first, as Open does.
  QTest::keyClicks(h.Child<QLineEdit>("txtDescri0"), "x");
  h.dialogs.answers = {Answer::No};
  h.Trigger("mnuFileRecent2");
  QCOMPARE(ShownTexts(h.dialogs),
           QStringList{Q("Wish to save : " + b + " before opening other file ?")});
  QCOMPARE(h.Store().CurrentFileName, a);
  QCOMPARE(h.window->RecentFiles(), (std::vector<std::string>{a, b}));

  // A file dropped on the window opens the same way.
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(Q(b))});
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(h.window.get(), &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
  QApplication::sendEvent(h.window.get(), &drop);
  QTRY_COMPARE(h.Store().CurrentFileName, b);
  QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 3);

  // A recent file that is gone is said, and the project stays.
  h.dialogs.shown.clear();
  std::filesystem::remove(a);
  h.Trigger("mnuFileRecent2");
  QCOMPARE(ShownTexts(h.dialogs), QStringList{Q("NO FILE EXIST BY THE NAME : " + a)});
  QCOMPARE(h.Store().CurrentFileName, b);
  QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 3);
}

void MainWindowTest::headerFieldsMoveOnWithEnter() {
  WindowHarness h;
  QApplication::setActiveWindow(h.window.get());
  const char* boxes[] = {"txtDescri0", "txtDescri1", "txtDescri2"};
  const char* next[] = {"txtDescri1", "txtDescri2", "txtShrinkFactor"};
  for (int i = 0; i < 3; ++i) {
    auto* box = h.Child<QLineEdit>(boxes[i]);
    box->setFocus();
    QTest::keyClicks(box, QString("H%1").arg(i));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(h.Store().HeaderFields[static_cast<size_t>(i)], "H" + std::to_string(i));
    QCOMPARE(QApplication::focusWidget(), h.Child<QWidget>(next[i]));
  }
}

void MainWindowTest::massHaulWindowAndCsvExport() {
  WindowHarness h;
  h.OpenProject("haul.ear", 30);
  const std::string csv = h.dir.Path("haul.csv");
  // A name without .csv (the dialog's default suffix is .ear) writes nothing.
  h.dialogs.files = {h.dir.Path("haul.txt")};
  h.Trigger("mnuFileExportCsv");
  QVERIFY(!std::filesystem::exists(h.dir.Path("haul.txt")));
  h.dialogs.files = {csv};
  h.Trigger("mnuFileExportCsv");
  QVERIFY(ReadBytes(csv).starts_with("Station,Code,Cut area,Added cut,Cut volume,Fill area"));
  // An existing file is replaced only when the user says so.
  WriteBytes(csv, "mine");
  h.dialogs.files = {csv, csv};
  h.dialogs.answers = {Answer::No, Answer::Yes};
  h.Trigger("mnuFileExportCsv");
  QCOMPARE(ReadBytes(csv), std::string("mine"));
  h.Trigger("mnuFileExportCsv");
  QVERIFY(ReadBytes(csv).starts_with("Station,"));
  QCOMPARE(ShownTexts(h.dialogs),
           QStringList({"Choose a file name ending in .csv; nothing was written.",
                        Q(csv + " already exists. Do you want to replace it?"),
                        Q(csv + " already exists. Do you want to replace it?")}));

  h.Trigger("mnuViewMassHaul");
  auto* haul = h.window->findChild<frmMassHaul*>();
  QVERIFY(haul);
  QCOMPARE(haul->Diagram().Haul().freeHaul, 500.0);
  h.dialogs.inputs = {"-5", "200"};
  haul->cmdFreeHaul();
  haul->cmdFreeHaul();
  QCOMPARE(ShownTexts(h.dialogs).back(),
           QString("The free-haul distance must be a positive number, not \"-5\"."));
  QCOMPARE(haul->Diagram().Haul().freeHaul, 200.0);
  QCOMPARE(ProjectFreeHaul(h.State(), *h.settings), 200.0);  // kept for this project
  haul->findChild<QPushButton*>("cmdZoomIn")->click();
  QCOMPARE(haul->Diagram().View().toX - haul->Diagram().View().fromX,
           haul->Diagram().Haul().length / 2);
  h.dialogs.files = {h.dir.Path("haul.svg")};
  haul->cmdExport();
  QVERIFY(ReadBytes(h.dir.Path("haul.svg")).find("<svg") != std::string::npos);
}

}  // namespace earthwork::testing
