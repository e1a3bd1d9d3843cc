#include "WindowHarness.h"
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
    {"empty first station",       "{Enter}",                2, 0, "00+00.000", "00+00.000", 2, 1, false, 1, ""},
    {"second plus ignored",       "1+2+3{Enter}",           2, 0, "01+23.000", "01+23.000", 2, 1, false, 1, ""},
    {"letters in a station",      "12bk{Enter}",            2, 0, "00+00.000", "00+00.000", 2, 1, true,  1, ""},
    {"second point ignored",      "5{Enter}{2,2}1.2.5{Enter}", 2, 2, "1.25",    "1.25",     2, 3, false, 1, ""},
    {"refused keys",              "5{Enter}{2,2}1x- 2{Enter}", 2, 2, "12.00",   "12.00",    2, 3, false, 1, ""},
    {"plus notation in a number", "5{Enter}{2,4}3+5{Enter}",   2, 4, "305.00",  "305.00",   2, 5, true,  1, ""},
    {"typing replaces the cell",  "5{Enter}{2,4}22{Enter}{2,4}5{Enter}", 2, 4, "5.00", "5.00", 2, 5, false, 1, ""},
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
      QVERIFY(QTexts(h.dialogs.Texts()).join('\n').contains(c.message));
    } else {
      QCOMPARE(QTexts(h.dialogs.Texts()), QStringList{});
    }
    QVERIFY(grid.hasFocus() || !QApplication::focusWidget());  // the keys stay in the grid
  }

  /// The refusals at the table's ends: the empty last line holds no row to
  /// insert before or delete, and a group holds at most 1800 rows.
  void refusals_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("column");  // of the cursor afterwards
    QTest::newRow("delete the last line") << 2 << "{4,2}{!mnuRowDelete}"
                                          << "Please do not delete the last row" << 0;
    QTest::newRow("insert at the last line") << 2 << "{4,2}{!mnuRowInsert}"
                                             << "Please do not insert the last row" << 0;
    QTest::newRow("insert into a full group")
        << kMaxDataRows << "{2,0}{!mnuRowInsert}"
        << " Program Error: A group holds at most 1800 rows occured in InsertOrDeleteRow(EditMenu)"
        << 0;
    QTest::newRow("type after row 1800")
        << kMaxDataRows << QString("{%1,2}5").arg(kMaxDataRows + 2)
        << " Program Error: A group holds at most 1800 rows Grid1_KeyPress(frmMain)" << 2;
  }
  void refusals() {
    QFETCH(int, rows);
    QFETCH(QString, keys);
    QFETCH(QString, message);
    QFETCH(int, column);
    WindowHarness h;
    h.OpenProject("rows.ear", rows);
    const CellTable& cells = h.Store().Current().Cells;
    const std::string first = cells.at(0, Station);
    Play(*h.window, keys);
    QCOMPARE(QTexts(h.dialogs.Texts()).value(0), message);
    QCOMPARE(h.window->Grid().CursorColumn(), column);
    QCOMPARE(cells.DataRowCount(), rows);
    QCOMPARE(cells.at(0, Station), first);
    QCOMPARE(h.window->Grid().GridRows(), rows + 3);
    QCOMPARE(h.window->Grid().CellText(rows + 2, 2), QString());
    QCOMPARE(h.Store().DataChanged, false);
  }
};

const bool kGridEditorTest = Register<GridEditorTest>();

}  // namespace earthwork::testing

#include "GridEditorTest.moc"
