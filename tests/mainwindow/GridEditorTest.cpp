#include <QComboBox>

#include "WindowHarness.h"
#include "mainwindow/StationGrid.h"

namespace earthwork::testing {

class GridEditorTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  /// The keys of tests/data/grid/keys.txt, played on a new project.
  void keys_data() { DataRows("grid/keys.txt"); }
  void keys() {
    QFETCH(QStringList, c);
    WindowHarness h;
    StationGrid& grid = h.window->Grid();
    Play(*h.window, c[1]);
    const int row = c[2].section(',', 0, 0).toInt(), column = c[2].section(',', 1).toInt();
    QCOMPARE(grid.CellText(row, column), c[3]);
    if (c[4] != "~") {  // committed
      QCOMPARE(Q(h.Store().Current().Cells.at(row - 2, column)), c[4]);
      QCOMPARE(!c[4].isEmpty() && Q(h.State().Window.StatusText).contains(c[4]), c[6] == "told");
      QVERIFY(h.Store().DataChanged);
    }
    QCOMPARE(QString("%1,%2").arg(grid.CursorRow()).arg(grid.CursorColumn()), c[5]);
    QCOMPARE(h.Store().Current().Cells.DataRowCount(), c[7].toInt());
    if (c[8].isEmpty()) QCOMPARE(QTexts(h.dialogs.Texts()), QStringList{});
    if (!c[8].isEmpty()) QVERIFY(QTexts(h.dialogs.Texts()).join('\n').contains(c[8]));
    QVERIFY(grid.hasFocus() || !QApplication::focusWidget());  // the keys stay in the grid
  }

  /// The Code column's list offers the code chosen last, also on an empty
  /// cell; a code chosen is a change to save.
  void codeList() {
    WindowHarness h;
    h.OpenProject("rows.ear", 1);
    auto* combo = h.window->findChild<QComboBox*>("CodeCombo");
    Play(*h.window, "{*2,1}");
    QVERIFY(combo->isVisible());
    QVERIFY(!h.Store().DataChanged);
    combo->setCurrentIndex(combo->findText("BK"));
    Q_EMIT combo->activated(combo->currentIndex());
    QCOMPARE(Q(h.Store().Current().Cells.at(0, Code)), QString("BK"));
    QVERIFY(h.Store().DataChanged);
    Play(*h.window, "{*2,2}");
    QVERIFY(!combo->isVisible());  // the list is the Code column's alone
    Play(*h.window, "{2,5}{Enter}1100{Enter}{*3,1}");
    QVERIFY(combo->isVisible());
    QCOMPARE(combo->currentText(), QString("BK"));
  }

  /// The columns share the grid's width, the last one taking what is left:
  /// no gap at the right and no scroll bar across.
  void columnsFillTheWidth() {
    WindowHarness h;
    StationGrid& grid = h.window->Grid();
    for (int width : {900, 1400}) {
      h.window->resize(width, 700);
      QApplication::processEvents();
      int sum = 0;
      for (int c = 0; c < grid.columnCount(); ++c) sum += grid.columnWidth(c);
      QCOMPARE(sum, grid.viewport()->width());
    }
  }

  void refusals_data() { DataRows("grid/refusals.txt"); }
  void refusals() {
    QFETCH(QStringList, c);
    const int rows = c[1].toInt();
    WindowHarness h;
    h.OpenProject("rows.ear", rows);
    const CellTable& cells = h.Store().Current().Cells;
    const std::string first = cells.at(0, Station);
    Play(*h.window, c[2]);
    QCOMPARE(QTexts(h.dialogs.Texts()).value(0), c[3]);
    QCOMPARE(h.window->Grid().CursorColumn(), c[4].toInt());
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
