#include "GridEditorTest.h"

#include <QComboBox>
#include <QTest>

#include "QtTestSupport.h"
#include "WindowHarness.h"
#include "mainwindow/MainFormEditor.h"
#include "mainwindow/StationGrid.h"
#include "project/Text.h"

namespace earthwork::testing {

namespace {

/// Keys and clicks on the real grid of a harness window.
struct Keyboard {
  explicit Keyboard(WindowHarness& harness) : h(harness), grid(harness.window->Grid()) {}

  void Type(const QString& text) { QTest::keyClicks(&grid, text); }
  void Key(Qt::Key key) { QTest::keyClick(&grid, key); }
  void Enter() { Key(Qt::Key_Return); }
  /// Each text typed into the next cell and committed with Enter.
  void Cells(const QStringList& texts) {
    for (const QString& text : texts) {
      Type(text);
      Enter();
    }
  }
  void Click(int row, int column) {
    const QRect rect = grid.visualRect(grid.model()->index(row - 2, column));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, rect.center());
  }
  QString Shown(int row, int column) const { return grid.CellText(row, column); }
  std::string Stored(int dataRow, int column) const {
    return h.Store().Current().Cells.at(dataRow, column);
  }
  std::pair<int, int> Cursor() const { return {grid.CursorRow(), grid.CursorColumn()}; }

  WindowHarness& h;
  StationGrid& grid;
};

MainFormEditor& EditorOf(WindowHarness& h) {
  return *h.window->findChild<MainFormEditor*>("MainFormEditor");
}

}  // namespace

void GridEditorTest::enterCommitsAndFormats_data() {
  QTest::addColumn<int>("column");
  QTest::addColumn<QString>("before");  // committed in the cell first
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("stored");  // and shown
  QTest::addColumn<bool>("told");       // the status bar says what the text became
  // clang-format off
  QTest::newRow("plus notation")              << 0 << "" << "12+34.5" << "12+34.500" << false;
  QTest::newRow("plain station")              << 0 << "" << "1234.5"  << "12+34.500" << false;
  QTest::newRow("empty first station")        << 0 << "" << ""        << "00+00.000" << false;
  QTest::newRow("second plus ignored")        << 0 << "" << "1+2+3"   << "01+23.000" << false;
  QTest::newRow("letters in a station")       << 0 << "" << "12bk"    << "00+00.000" << true;
  QTest::newRow("second point ignored")       << 2 << "" << "1.2.5"   << "1.25"      << false;
  QTest::newRow("refused keys")               << 2 << "" << "1x- 2"   << "12.00"     << false;
  QTest::newRow("letters in a number")        << 2 << "" << "1a5"     << "0.00"      << true;
  QTest::newRow("plus notation in a number")  << 4 << "" << "3+5"     << "305.00"    << true;
  QTest::newRow("area")                       << 4 << "" << "12.5"    << "12.50"     << false;
  QTest::newRow("typing replaces the cell")   << 4 << "22" << "5"     << "5.00"      << false;
  QTest::newRow("code in lower case")         << 1 << "" << "bk"      << "BK"        << false;
  QTest::newRow("code with two codes")        << 1 << "" << "sah"     << "AH"        << false;
  QTest::newRow("empty code")                 << 1 << "" << ""        << "-"         << false;
  QTest::newRow("last column")                << 5 << "" << "7"       << "7.00"      << false;
  // clang-format on
}

void GridEditorTest::enterCommitsAndFormats() {
  QFETCH(int, column);
  QFETCH(QString, before);
  QFETCH(QString, typed);
  QFETCH(QString, stored);
  QFETCH(bool, told);
  WindowHarness h;
  Keyboard k(h);
  if (column != Station) k.Cells({"5"});
  if (!before.isEmpty()) {
    k.grid.SetCursor(2, column);
    k.Cells({before});
  }
  k.grid.SetCursor(2, column);
  k.Type(typed);
  k.Enter();
  // A committed cell shows what was stored, as a fresh fill would.
  QCOMPARE(Q(k.Stored(0, column)), stored);
  QCOMPARE(k.Shown(2, column), stored);
  QCOMPARE(Q(h.State().Window.StatusText).contains(stored), told);
  // Enter visits the columns in order, then the next row's Station.
  const std::pair<int, int> next = column == 5 ? std::pair{3, 0} : std::pair{2, column + 1};
  QCOMPARE(k.Cursor(), next);
  QCOMPARE(k.Stored(1, Station), kEndOfRows);
  QVERIFY(h.Store().DataChanged);
  QCOMPARE(ShownTexts(h.dialogs), QStringList{});
}

void GridEditorTest::editInPlaceThenLeaveWithTheMouse_data() {
  QTest::addColumn<int>("how");  // 0: F2, 1: double click
  QTest::newRow("F2") << 0;
  QTest::newRow("double click") << 1;
}

void GridEditorTest::editInPlaceThenLeaveWithTheMouse() {
  QFETCH(int, how);
  WindowHarness h;
  Keyboard k(h);
  k.Cells({"1000", "", "22", "", "", ""});
  k.grid.SetCursor(2, Cut);
  if (how == 0) {
    k.Key(Qt::Key_F2);
  } else {
    const QRect rect = k.grid.visualRect(k.grid.model()->index(0, Cut));
    QTest::mouseDClick(k.grid.viewport(), Qt::LeftButton, {}, rect.center());
  }
  k.Type("5");
  QCOMPARE(k.Shown(2, Cut), QString("22.005"));  // being typed
  QCOMPARE(k.Stored(0, Cut), std::string("22.01"));
  // Clicking another cell commits it: it shows what is stored.
  k.Click(2, Fill);
  QCOMPARE(k.Cursor(), std::pair(2, int{Fill}));
  QCOMPARE(k.Shown(2, Cut), QString("22.01"));
  // A station typed and left with the mouse is checked like one left with Enter.
  k.grid.SetCursor(3, Station);
  k.Type("950");
  k.Click(2, AddedCut);
  QCOMPARE(ShownTexts(h.dialogs),
           QStringList{" Station : 09+50.000 is less then previous station :10+00.000"});
  QCOMPARE(k.Shown(3, Station), QString());
  QCOMPARE(h.Store().Current().Cells.DataRowCount(), 1);
}

void GridEditorTest::cursorStaysInViewWhileTyping() {
  WindowHarness h;
  Keyboard k(h);
  for (int r = 0; r < 40; ++r) {
    k.Cells({QString::number(1000 + 50 * r), "", "1", "", "2", ""});
    QVERIFY2(k.grid.RowFullyVisible(k.grid.CursorRow()), qPrintable(QString::number(r)));
  }
  QCOMPARE(h.Store().Current().Cells.DataRowCount(), 40);
}

void GridEditorTest::keysCommitTheCellLeft_data() {
  QTest::addColumn<int>("from");
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("to");
  QTest::addColumn<QString>("shown");
  const int right = Qt::Key_Right;
  const int left = Qt::Key_Left;
  // clang-format off
  QTest::newRow("right from Station to Cut")         << 0 << right << "1234.5" << 2 << "12+34.500";
  QTest::newRow("right from Cut")                    << 2 << right << "4"      << 3 << "4.00";
  QTest::newRow("right from AddedCut to AddedFill")  << 3 << right << "4"      << 5 << "4.00";
  QTest::newRow("left from AddedFill to AddedCut")   << 5 << left  << "3"      << 3 << "3.00";
  QTest::newRow("left from Cut to Station")          << 2 << left  << "3"      << 0 << "3.00";
  QTest::newRow("left at the edge commits nothing")  << 0 << left  << "5"      << 0 << "5";
  QTest::newRow("tab commits like Enter")            << 0 << int(Qt::Key_Tab) << "1234.5" << 1 << "12+34.500";
  // clang-format on
}

void GridEditorTest::keysCommitTheCellLeft() {
  QFETCH(int, from);
  QFETCH(int, key);
  QFETCH(QString, typed);
  QFETCH(int, to);
  QFETCH(QString, shown);
  WindowHarness h;
  Keyboard k(h);
  k.grid.SetCursor(2, from);
  k.Type(typed);
  k.Key(Qt::Key(key));
  QCOMPARE(k.Cursor(), std::pair(2, to));
  QCOMPARE(k.Shown(2, from), shown);
  QVERIFY(k.grid.hasFocus() || !QApplication::focusWidget());  // the keys stay in the grid
}

void GridEditorTest::deleteAndBackspace() {
  WindowHarness h;
  Keyboard k(h);
  k.Cells({"1000", "", "12.5"});
  k.grid.SetCursor(2, 2);
  k.Key(Qt::Key_Delete);
  QCOMPARE(k.Shown(2, 2), QString("0.00"));
  QCOMPARE(k.Stored(0, Cut), std::string("0.00"));
  k.Type("123");
  k.Key(Qt::Key_Backspace);
  QCOMPARE(k.Shown(2, 2), QString("12"));
  QCOMPARE(k.Stored(0, Cut), std::string("12.00"));

  // Up on the first row and Down onto the empty last line commit nothing.
  k.Key(Qt::Key_Up);
  QCOMPARE(k.Cursor(), std::pair(2, 2));
  QCOMPARE(k.Shown(2, 2), QString("12"));
  k.Key(Qt::Key_Down);  // the last line holds data: a new line opens
  QCOMPARE(k.Cursor(), std::pair(3, 2));
  QCOMPARE(k.Shown(2, 2), QString("12.00"));
  k.Key(Qt::Key_Down);
  QCOMPARE(k.Cursor(), std::pair(3, 2));
  QCOMPARE(k.Stored(1, Station), kEndOfRows);
  QCOMPARE(h.Store().Current().Cells.DataRowCount(), 1);
  QCOMPARE(ShownTexts(h.dialogs), QStringList{});
}

void GridEditorTest::codeDropDownRemembersLastCode() {
  WindowHarness h;
  Keyboard k(h);
  QComboBox& combo = EditorOf(h).CodeCombo();
  k.Cells({"1000"});
  k.Click(2, 1);
  QVERIFY(combo.isVisible());
  combo.setCurrentIndex(combo.findText("BK"));
  Q_EMIT combo.activated(combo.currentIndex());
  QCOMPARE(k.Shown(2, 1), QString("BK"));
  QCOMPARE(k.Stored(0, Code), std::string("BK"));
  QCOMPARE(EditorOf(h).Editor().LastCode(), std::string("BK"));

  k.Click(2, 2);
  QVERIFY(!combo.isVisible());
  k.grid.SetCursor(2, 5);
  k.Enter();  // on to the next line
  k.Cells({"1100"});
  k.Click(3, 1);
  QVERIFY(combo.isVisible());
  QCOMPARE(combo.currentText(), QString("BK"));
}

void GridEditorTest::rowInsertAndDelete() {
  WindowHarness h;
  h.OpenProject("five.ear", 5);
  Keyboard k(h);
  const CellTable& cells = h.Store().Current().Cells;
  std::vector<std::string> before;
  for (int r = 0; r <= 5; ++r) before.push_back(cells.at(r, Station));
  k.grid.SetCursor(4, 3);  // row 3 of 5
  h.Trigger("mnuRowDelete");
  k.grid.SetCursor(3, 2);  // row 2 of 4
  h.Trigger("mnuRowInsert");
  QCOMPARE(k.Cursor(), std::pair(3, 0));
  for (int c = 0; c < 6; ++c) QCOMPARE(cells.at(1, c), std::string());
  const std::vector<std::string> after = {before[0], "",        before[1],
                                          before[3], before[4], kEndOfRows};
  for (int r = 0; r < 6; ++r) QCOMPARE(cells.at(r, Station), after[size_t(r)]);
  QCOMPARE(k.grid.GridRows(), 5 + 3);
  QVERIFY(h.Store().DataChanged);
  QCOMPARE(ShownTexts(h.dialogs), QStringList{});
}

void GridEditorTest::rowCommandsOnTheLastLine_data() {
  QTest::addColumn<QString>("action");
  QTest::addColumn<QString>("message");
  QTest::newRow("delete") << "mnuRowDelete"
                          << "Please do not delete the last row";
  QTest::newRow("insert") << "mnuRowInsert"
                          << "Please do not insert the last row";
}

void GridEditorTest::rowCommandsOnTheLastLine() {
  QFETCH(QString, action);
  QFETCH(QString, message);
  WindowHarness h;
  h.OpenProject("two.ear", 2);
  h.Store().DataChanged = false;
  Keyboard k(h);
  k.grid.SetCursor(4, 2);
  h.Trigger(action.toLatin1().constData());
  QCOMPARE(ShownTexts(h.dialogs), QStringList{message});
  QCOMPARE(k.Cursor(), std::pair(4, 0));
  QCOMPARE(h.Store().Current().Cells.DataRowCount(), 2);
  QCOMPARE(k.grid.GridRows(), 5);
  QVERIFY(!h.Store().DataChanged);
}

void GridEditorTest::insertIntoAFullGroupIsRefused() {
  WindowHarness h;
  h.OpenProject("full.ear", kMaxDataRows);
  Keyboard k(h);
  const CellTable& cells = h.Store().Current().Cells;
  const std::string first = cells.at(0, Station);
  k.grid.SetCursor(2, 0);
  h.Trigger("mnuRowInsert");
  QCOMPARE(ShownTexts(h.dialogs),
           QStringList{" Program Error: A group holds at most 1800 rows occured in "
                       "InsertOrDeleteRow(EditMenu)"});
  QCOMPARE(cells.at(0, Station), first);
  QCOMPARE(cells.DataRowCount(), kMaxDataRows);

  // Typing on the empty line after row 1800 cannot store a row.
  h.dialogs.shown.clear();
  k.grid.SetCursor(kMaxDataRows + 2, 2);
  k.Type("5");
  QCOMPARE(cells.DataRowCount(), kMaxDataRows);
  QVERIFY(!h.dialogs.Texts().empty());
  QCOMPARE(Q(h.dialogs.Texts().front()),
           QString(" Program Error: A group holds at most 1800 rows Grid1_KeyPress(frmMain)"));
  QCOMPARE(k.Shown(kMaxDataRows + 2, 2), QString());
}

}  // namespace earthwork::testing
