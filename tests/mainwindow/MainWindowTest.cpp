#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSettings>
#include <filesystem>

#include "WindowHarness.h"
#include "mainwindow/frmMassHaul.h"
#include "project/Text.h"

namespace earthwork::testing {

namespace {

/// The window's caption names the file as desktop programs do: its name
/// first, its whole path as the window's file.
bool Names(const QWidget& window, const QString& path) {
  return window.windowFilePath() == path &&
         window.windowTitle().startsWith(QFileInfo(path).fileName() + "[*]");
}

/// Typed text, then the exit question through the menu or the close box.
/// The questions' texts are the file commands' matter; here the window
/// must follow the answers and keep what was typed unless told otherwise.
struct ExitCase {
  const char* name;
  bool menu;   // File Exit, else the close box
  bool named;  // the project has a file already (saved with Save As)
  std::deque<Answer> answers;
  bool fileChosen;  // the save dialog is answered
  bool written;     // the project's file holds the typed text
  bool open;        // the window is still open
};
const ExitCase kExits[] = {
    {"exit, yes", true, true, {Answer::Yes, Answer::Yes}, false, true, false},
    {"exit, yes, overwrite declined", true, true, {Answer::Yes, Answer::No}, false, false, true},
    {"close box, cancel", false, true, {Answer::Cancel}, false, false, true},
    {"close box, new project, yes, named", false, false, {Answer::Yes}, true, true, false},
};

}  // namespace

class MainWindowTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void windowSettings() {
    for (const bool minimize : {false, true}) {
      WindowHarness h;
      if (minimize) h.window->showMinimized();
      h.window->close();
      QVERIFY(!h.window->isVisible());
      // A minimized window keeps the last normal place; the first run's
      // defaults, in twips, survive the trip to the screen and back.
      QSettings ini(Q(h.dir.Path("settings.ini")), QSettings::IniFormat);
      QCOMPARE(ini.contains("Settings/MainLeft"), !minimize);
      if (minimize) continue;
      for (const char* key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"}) {
        QCOMPARE(ini.value(QString("Settings/") + key).toInt(),
                 key[4] == 'L' || key[4] == 'T' ? 1000 : 8000);
      }
      // The next start places the window where the settings say, whole on the
      // screen: a size kept on a larger screen or at a smaller scale is fitted.
      const QRect room = h.window->screen()->availableGeometry();
      for (const auto& [left, width] : {std::pair{1440, 7200}, std::pair{2880, 8 * 14400}}) {
        h.settings->Write("Settings", "MainLeft", std::to_string(left));
        h.settings->Write("Settings", "MainWidth", std::to_string(width));
        h.settings->Write("Settings", "MainHeight", std::to_string(width));
        MainViewRelay view;
        ProgramState state(h.dialogs, view);
        frmMain again(state, view, *h.settings, h.clock);
        const double dpi = again.logicalDpiX();
        const int wanted = qRound(width / 1440.0 * dpi);
        QCOMPARE(again.width(), std::min(wanted, room.width()));
        if (wanted < room.width() / 2) QCOMPARE(again.pos().x(), qRound(left / 1440.0 * dpi));
        QVERIFY(room.contains(again.geometry()));
      }
    }
  }

  void typedTextIsNotLostOnExit_data() { CaseRows(kExits); }
  void typedTextIsNotLostOnExit() {
    QFETCH(int, row);
    const ExitCase& c = kExits[row];
    WindowHarness h;
    const QString path = Q(h.dir.Path("project.ear"));
    if (c.named) {
      h.dialogs.files = {path.toStdString()};
      h.Trigger("mnuFileSaveAs");
      QVERIFY(Names(*h.window, path));
    }
    QLineEdit* designer = h.Child<QLineEdit>("txtDescri0");
    designer->setFocus();
    QTest::keyClicks(designer, "R. Typed");
    QVERIFY(h.Store().DataChanged);
    h.dialogs.answers = c.answers;
    if (c.fileChosen) h.dialogs.files = {path.toStdString()};
    if (c.menu) {
      h.Trigger("mnuFileExit");
    } else {
      h.window->close();
    }
    QCOMPARE(h.window->isVisible(), c.open);
    if (c.open) {
      QVERIFY(Names(*h.window, path));
      QVERIFY(h.Store().DataChanged);
    }
    QCOMPARE(std::filesystem::exists(path.toStdString()) &&
                 Contains(ReadBytes(path.toStdString()), "R. Typed"),
             c.written);
    QVERIFY(h.dialogs.answers.empty());
    QVERIFY(h.dialogs.files.empty());
  }

  void recentAndDroppedFiles() {
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
    QVERIFY(h.dialogs.answers.empty());
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
    QCOMPARE(h.dialogs.shown.size(), size_t{1});
    QCOMPARE(h.Store().CurrentFileName, b);
    QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 3);
  }

  void massHaulWindowAndCsvExport() {
    WindowHarness h;
    h.OpenProject("haul.ear", 30);
    const std::string csv = h.dir.Path("haul.csv");
    const QString replace = Q(csv + " already exists. Do you want to replace it?");
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
    QCOMPARE(
        ShownTexts(h.dialogs),
        QStringList({"Choose a file name ending in .csv; nothing was written.", replace, replace}));

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
};

const bool kMainWindowTest = Register<MainWindowTest>();

}  // namespace earthwork::testing

#include "MainWindowTest.moc"
