#include <QComboBox>

#include "WindowHarness.h"
#include "mainwindow/MainFormEditor.h"
#include "mainwindow/StationGrid.h"
#include "project/Text.h"

namespace earthwork::testing {

namespace {

struct KeyCase {
  const char* name;
  QString keys;        // played on a new project from row 2, column 0
  int row, column;     // the cell then shown
  const char* shown;   // what it shows
  const char* stored;  // what the store holds (nullptr: not committed yet)
  int cursorRow, cursorColumn;
  bool told;            // the status bar says what the text became
  int rows;             // rows in the store
  const char* message;  // in the messages shown ("": none shown)
};

const QString kRow = "1000{Enter}{Enter}22{Enter}{Enter}{Enter}{Enter}";  // one row, Cut 22
const QString kThree =  // three rows, the cursor on the empty line
    "1000{Enter}{Enter}1{Enter}{Enter}2{Enter}{Enter}1050{Enter}{Enter}1{Enter}{Enter}2{Enter}"
    "{Enter}1100{Enter}{Enter}1{Enter}{Enter}2{Enter}{Enter}";
const QString kCut = "1000{Enter}{Enter}12.5{Enter}{2,2}{Del}";  // Cut cleared

// clang-format off
const KeyCase kKeys[] = {
    // Enter commits, formats and visits the columns in order, then the next row's Station.
    {"plus notation",             "12+34.5{Enter}",         2, 0, "12+34.500", "12+34.500", 2, 1, false, 1, ""},
    {"plain station",             "1234.5{Enter}",          2, 0, "12+34.500", "12+34.500", 2, 1, false, 1, ""},
    {"empty first station",       "{Enter}",                2, 0, "00+00.000", "00+00.000", 2, 1, false, 1, ""},
    {"second plus ignored",       "1+2+3{Enter}",           2, 0, "01+23.000", "01+23.000", 2, 1, false, 1, ""},
    {"letters in a station",      "12bk{Enter}",            2, 0, "00+00.000", "00+00.000", 2, 1, true,  1, ""},
    {"second point ignored",      "5{Enter}{2,2}1.2.5{Enter}", 2, 2, "1.25",    "1.25",     2, 3, false, 1, ""},
    {"refused keys",              "5{Enter}{2,2}1x- 2{Enter}", 2, 2, "12.00",   "12.00",    2, 3, false, 1, ""},
    {"letters in a number",       "5{Enter}{2,2}1a5{Enter}",   2, 2, "0.00",    "0.00",     2, 3, true,  1, ""},
    {"plus notation in a number", "5{Enter}{2,4}3+5{Enter}",   2, 4, "305.00",  "305.00",   2, 5, true,  1, ""},
    {"area",                      "5{Enter}{2,4}12.5{Enter}",  2, 4, "12.50",   "12.50",    2, 5, false, 1, ""},
    {"typing replaces the cell",  "5{Enter}{2,4}22{Enter}{2,4}5{Enter}", 2, 4, "5.00", "5.00", 2, 5, false, 1, ""},
    {"code in lower case",        "5{Enter}{2,1}bk{Enter}",    2, 1, "BK",      "BK",       2, 2, false, 1, ""},
    {"code with two codes",       "5{Enter}{2,1}sah{Enter}",   2, 1, "AH",      "AH",       2, 2, false, 1, ""},
    {"empty code",                "5{Enter}{2,1}{Enter}",      2, 1, "-",       "-",        2, 2, false, 1, ""},
    {"last column",               "5{Enter}{2,5}7{Enter}",     2, 5, "7.00",    "7.00",     3, 0, false, 1, ""},
    // Arrows and Tab commit the cell left; the arrows skip the Code column.
    {"right from Station to Cut", "1234.5{Right}",             2, 0, "12+34.500", "12+34.500", 2, 2, false, 1, ""},
    {"right from Cut",            "{2,2}4{Right}",             2, 2, "4.00",    nullptr,    2, 3, false, 1, ""},
    {"right from AddedCut",       "{2,3}4{Right}",             2, 3, "4.00",    nullptr,    2, 5, false, 1, ""},
    {"left from AddedFill",       "{2,5}3{Left}",              2, 5, "3.00",    nullptr,    2, 3, false, 1, ""},
    {"left from Cut to Station",  "{2,2}3{Left}",              2, 2, "3.00",    nullptr,    2, 0, false, 1, ""},
    {"left at the edge commits nothing", "5{Left}",            2, 0, "5",       nullptr,    2, 0, false, 1, ""},
    {"tab commits like Enter",    "1234.5{Tab}",               2, 0, "12+34.500", "12+34.500", 2, 1, false, 1, ""},
    // F2 or a double click edits in place; a click elsewhere commits.
    {"F2 edits in place",         kRow + "{2,2}{F2}5",         2, 2, "22.005",  "22.01",    2, 2, false, 1, ""},
    {"F2, then a click",          kRow + "{2,2}{F2}5{*2,4}",   2, 2, "22.01",   "22.01",    2, 4, false, 1, ""},
    {"double click edits in place", kRow + "{**2,2}5",         2, 2, "22.005",  "22.01",    2, 2, false, 1, ""},
    {"double click, then a click", kRow + "{**2,2}5{*2,4}",    2, 2, "22.01",   "22.01",    2, 4, false, 1, ""},
    {"a station left by a click is checked", kRow + "{3,0}950{*2,3}", 3, 0, "", nullptr,  2, 3, false, 1, "09+50.000"},
    // Delete and Backspace; Up on the first row and Down onto the empty line commit nothing.
    {"delete",                    kCut,                        2, 2, "0.00",    "0.00",     2, 2, false, 1, ""},
    {"backspace",                 kCut + "123{BS}",            2, 2, "12",      "12.00",    2, 2, false, 1, ""},
    {"up on the first row",       kCut + "123{BS}{Up}",        2, 2, "12",      "12.00",    2, 2, false, 1, ""},
    {"down opens a new line",     kCut + "123{BS}{Down}",      2, 2, "12.00",   "12.00",    3, 2, false, 1, ""},
    {"down from the new line",    kCut + "123{BS}{Down}{Down}", 2, 2, "12.00",  "12.00",    3, 2, false, 1, ""},
    // Insert opens an empty row above the cursor's, Delete removes the cursor's.
    {"insert opens an empty row",  kThree + "{3,2}{!mnuRowInsert}", 3, 0, "", "",          3, 0, false, 4, ""},
    {"to its last column",         kThree + "{3,2}{!mnuRowInsert}", 3, 5, "", "",          3, 0, false, 4, ""},
    {"the rows below move down",   kThree + "{3,2}{!mnuRowInsert}", 4, 0, "10+50.000", "10+50.000", 3, 0, false, 4, ""},
    {"delete moves the rows up",   kThree + "{3,3}{!mnuRowDelete}", 3, 0, "11+00.000", "11+00.000", 3, 0, false, 2, ""},
};
// clang-format on

}  // namespace

class GridEditorTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void keys_data() { CaseRows(kKeys); }
  void keys() {
    QFETCH(int, row);
    const KeyCase& c = kKeys[row];
    WindowHarness h;
    StationGrid& grid = h.window->Grid();
    Play(*h.window, c.keys);
    QCOMPARE(grid.CellText(c.row, c.column), QString(c.shown));
    if (c.stored) {
      QCOMPARE(Q(h.Store().Current().Cells.at(c.row - 2, c.column)), QString(c.stored));
      QCOMPARE(*c.stored && Q(h.State().Window.StatusText).contains(c.stored), c.told);
      QVERIFY(h.Store().DataChanged);
    }
    QCOMPARE(std::pair(grid.CursorRow(), grid.CursorColumn()),
             std::pair(c.cursorRow, c.cursorColumn));
    QCOMPARE(h.Store().Current().Cells.DataRowCount(), c.rows);
    if (*c.message) {
      QVERIFY(ShownTexts(h.dialogs).join('\n').contains(c.message));
    } else {
      QCOMPARE(ShownTexts(h.dialogs), QStringList{});
    }
    QVERIFY(grid.hasFocus() || !QApplication::focusWidget());  // the keys stay in the grid
  }

  void cursorStaysInViewWhileTyping() {
    WindowHarness h;
    StationGrid& grid = h.window->Grid();
    for (int r = 0; r < 40; ++r) {
      Play(*h.window,
           QString::number(1000 + 50 * r) + "{Enter}{Enter}1{Enter}{Enter}2{Enter}{Enter}");
      QVERIFY2(grid.RowFullyVisible(grid.CursorRow()), qPrintable(QString::number(r)));
    }
    QCOMPARE(h.Store().Current().Cells.DataRowCount(), 40);
  }

  void codeDropDownRemembersLastCode() {
    WindowHarness h;
    StationGrid& grid = h.window->Grid();
    MainFormEditor& editor = *h.window->findChild<MainFormEditor*>("MainFormEditor");
    QComboBox& combo = editor.CodeCombo();
    Play(*h.window, "1000{Enter}{*2,1}");
    QVERIFY(combo.isVisible());
    combo.setCurrentIndex(combo.findText("BK"));
    Q_EMIT combo.activated(combo.currentIndex());
    QCOMPARE(grid.CellText(2, 1), QString("BK"));
    QCOMPARE(h.Store().Current().Cells.at(0, Code), std::string("BK"));
    QCOMPARE(editor.Editor().LastCode(), std::string("BK"));
    Play(*h.window, "{*2,2}");
    QVERIFY(!combo.isVisible());
    Play(*h.window, "{2,5}{Enter}1100{Enter}{*3,1}");
    QVERIFY(combo.isVisible());
    QCOMPARE(combo.currentText(), QString("BK"));
  }

  void rowCommandsOnTheLastLineAreRefused() {
    WindowHarness h;
    h.OpenProject("two.ear", 2);
    StationGrid& grid = h.window->Grid();
    for (const char* command : {"Delete", "Insert"}) {
      h.Store().DataChanged = false;
      h.dialogs.shown.clear();
      grid.SetCursor(4, 2);
      h.Trigger(qPrintable(QString("mnuRow") + command));
      QCOMPARE(
          ShownTexts(h.dialogs),
          QStringList{QString("Please do not %1 the last row").arg(QString(command).toLower())});
      QCOMPARE(std::pair(grid.CursorRow(), grid.CursorColumn()), std::pair(4, 0));
      QCOMPARE(h.Store().Current().Cells.DataRowCount(), 2);
      QCOMPARE(grid.GridRows(), 5);
      QVERIFY(!h.Store().DataChanged);
    }
  }

  void insertIntoAFullGroupIsRefused() {
    WindowHarness h;
    h.OpenProject("full.ear", kMaxDataRows);
    StationGrid& grid = h.window->Grid();
    const CellTable& cells = h.Store().Current().Cells;
    const std::string first = cells.at(0, Station);
    grid.SetCursor(2, 0);
    h.Trigger("mnuRowInsert");
    QCOMPARE(ShownTexts(h.dialogs), QStringList{" Program Error: A group holds at most 1800 rows "
                                                "occured in InsertOrDeleteRow(EditMenu)"});
    QCOMPARE(cells.at(0, Station), first);
    QCOMPARE(cells.DataRowCount(), kMaxDataRows);

    // Typing on the empty line after row 1800 cannot store a row.
    h.dialogs.shown.clear();
    Play(*h.window, QString("{%1,2}5").arg(kMaxDataRows + 2));
    QCOMPARE(cells.DataRowCount(), kMaxDataRows);
    QVERIFY(!h.dialogs.Texts().empty());
    QCOMPARE(Q(h.dialogs.Texts().front()),
             QString(" Program Error: A group holds at most 1800 rows Grid1_KeyPress(frmMain)"));
    QCOMPARE(grid.CellText(kMaxDataRows + 2, 2), QString());
  }
};

const bool kGridEditorTest = Register<GridEditorTest>();

}  // namespace earthwork::testing

#include "GridEditorTest.moc"
