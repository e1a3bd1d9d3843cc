#pragma once

#include <QAction>
#include <QRegularExpression>
#include <QTabBar>
#include <QTest>
#include <cstdlib>

#include "QtTestSupport.h"
#include "earfiles/EarFile.h"
#include "mainwindow/StationGrid.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/QtClock.h"
#include "platform/qt/QtSettings.h"
#include "printing/qt/QtPageSurface.h"
#include "project/DataTable.h"
#include "project/Format.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

/// A Qt test class whose test functions fail when the scripted dialogs met
/// a question without a scripted answer (reported outside any GoogleTest test).
class ScriptedQtTest : public QObject {
  Q_OBJECT
  static int Failures() {
    return ::testing::UnitTest::GetInstance()->ad_hoc_test_result().total_part_count();
  }
 private Q_SLOTS:
  void init() { failures_ = Failures(); }
  void cleanup() { QCOMPARE(Failures(), failures_); }

 private:
  int failures_ = 0;
};

/// The test classes of the executable, each run by main.
inline std::vector<std::function<int(int, char**)>> suites;
template <class T>
bool Register() {
  suites.push_back(
      [](int argc, char** argv) { return QTest::qExec(std::make_unique<T>().get(), argc, argv); });
  return true;
}

/// The rows of the table tests/data/`name` as a test's data, one column "c".
inline void DataRows(const std::string& name) {
  QTest::addColumn<QStringList>("c");
  for (const auto& row : DataTable(name)) {
    QStringList fields;
    for (const std::string& field : row) fields << QString::fromStdString(field);
    QTest::newRow(row[0].c_str()) << fields;
  }
}

/// The real main window wired to scripted dialogs, a settings file and a
/// PDF printer in a fresh folder.
struct WindowHarness {
  WindowHarness() {
    ::setenv("EARTHWORK_REPORT_DIR", dir.Path("reports").c_str(), 1);
    window = std::make_unique<frmMain>(state, view, *settings, clock);
    window->SetPrinterFactory([this](ProgramState&) -> std::unique_ptr<PageSurface> {
      return qt::QtPageSurface::ForPdf(PrintedPdf());
    });
    window->show();
  }

  std::string PrintedPdf() const { return dir.Path("printed.pdf"); }
  ProgramState& State() { return window->State(); }
  ProjectStore& Store() { return window->State().Project; }
  void Trigger(const char* name) const { Child<QAction>(name)->trigger(); }
  template <class T>
  T* Child(const char* name) const {
    auto* child = window->findChild<T*>(name);
    if (!child) ADD_FAILURE() << "no child " << name;
    return child;
  }

  /// A project of `rows` stations 50 ft apart with changing cut and fill,
  /// saved under `name` and opened in the window.
  std::string OpenProject(const std::string& name, int rows) {
    ProjectStore& store = Store();
    store.GroupCount = 1;
    store.CurrentGroup = 0;
    store.Group(0).Name = "Main line";
    store.Group(0).BalanceFactor = "1.15";
    CellTable& cells = store.Group(0).Cells;
    for (int r = 0; r < rows; ++r) {
      const std::string row[] = {FormatStation(1000.0 + 50 * r),   "-",
                                 FormatArea(r * 37 % 400),         "0.00",
                                 FormatArea((r * 53 + 120) % 450), "0.00"};
      for (int c = 0; c < 6; ++c) cells.at(r, c) = row[c];
    }
    cells.at(rows, 0) = kEndOfRows;
    const std::string path = dir.Path(name);
    EXPECT_TRUE(SaveEarFile(State(), path));
    window->OpenPath(path);
    return path;
  }

  ScriptedDialogs dialogs;
  MainViewRelay view;
  ProgramState state{dialogs, view};
  TempDir dir;
  std::unique_ptr<qt::QtSettings> settings =
      qt::QtSettings::AtFile(QString::fromStdString(dir.Path("settings.ini")));
  qt::QtClock clock;
  std::unique_ptr<frmMain> window;
};

/// Plays `script` on the window: text is typed into the grid, {Key} presses
/// a key, {r,c} moves the cursor to grid row r, column c, {*r,c} clicks the
/// cell and {**r,c} double-clicks it, {tabN} clicks tab N and {!name}
/// triggers the action of that name.
inline void Play(frmMain& window, const QString& script) {
  static const QRegularExpression token(R"(\{(\**)(\d+),(\d+)\}|\{(!?\w+)\}|[^{]+)");
  StationGrid& grid = window.Grid();
  QTabBar& tabs = window.TabStrip();
  for (auto it = token.globalMatch(script); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const QString name = m.captured(4);
    const QPoint cell =
        grid.visualRect(grid.model()->index(m.captured(2).toInt() - 2, m.captured(3).toInt()))
            .center();
    if (name.startsWith('!')) {
      window.findChild<QAction*>(name.mid(1))->trigger();
    } else if (name.startsWith("tab")) {
      QTest::mouseClick(&tabs, Qt::LeftButton, {}, tabs.tabRect(name.mid(3).toInt()).center());
    } else if (!name.isEmpty()) {
      const QString key = name == "Enter" ? "Return" : name == "BS" ? "Backspace" : name;
      QTest::keyClick(&grid, QKeySequence::fromString(key)[0].key());
    } else if (m.captured(2).isEmpty()) {
      QTest::keyClicks(&grid, m.captured(0));
    } else if (m.captured(1).isEmpty()) {
      grid.SetCursor(m.captured(2).toInt(), m.captured(3).toInt());
    } else if (m.captured(1) == "*") {
      QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cell);
    } else {
      QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cell);
    }
  }
}

inline QString Q(const std::string& s) {
  return QString::fromStdString(s);
}

inline QStringList QTexts(const std::vector<std::string>& texts) {
  QStringList list;
  for (const auto& t : texts) list << Q(t);
  return list;
}

}  // namespace earthwork::testing
