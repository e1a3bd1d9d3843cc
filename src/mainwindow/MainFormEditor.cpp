#include "mainwindow/MainFormEditor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTabBar>

#include "commands/FileCommands.h"
#include "mainwindow/StationGrid.h"
#include "mainwindow/frmMain.h"
#include "platform/qt/Cp1252.h"

namespace earthwork {

using qt::FromCp1252;
using qt::ToCp1252;

MainFormEditor::MainFormEditor(frmMain& window)
    : QObject(&window),
      window_(window),
      grid_(window.Grid()),
      tabs_(window.TabStrip()),
      editor_(window.State(), *this) {
  setObjectName("MainFormEditor");
  // Tab goes to the editor (it commits and moves on); Shift+Tab leaves the
  // grid.
  grid_.setTabKeyNavigation(false);
  grid_.installEventFilter(this);
  viewport_ = grid_.viewport();
  grid_.viewport()->installEventFilter(this);
  connect(&grid_, &QTableWidget::cellClicked, this,
          [this](int row, int column) { GridCellClicked(row + StationGrid::kHeaderRows, column); });

  CodeCombo_ = new QComboBox(grid_.viewport());
  CodeCombo_->setObjectName("CodeCombo");
  CodeCombo_->setVisible(false);
  CodeCombo_->installEventFilter(this);
  connect(CodeCombo_, &QComboBox::activated, this, [this] { CodeComboDone(false); });

  tabs_.installEventFilter(this);
  tabs_.setFocusPolicy(Qt::NoFocus);

  ProgramState& state = window.State();
  auto on = [this](const char* name, auto command) {
    if (auto* action = window_.findChild<QAction*>(name)) {
      connect(action, &QAction::triggered, this, command);
    }
  };
  // What is being typed is committed before a command reads the store.
  on("mnuGroupInsert", [this, &state] {
    editor_.FinishEditing();
    mnuGroupInsert(state);
  });
  on("mnuGroupDelete", [this, &state] {
    editor_.FinishEditing();
    mnuGroupDelete(state);
  });
  on("mnuGroupRename", [this, &state] {
    editor_.FinishEditing();
    mnuGroupRename(state);
  });
  on("mnuRowInsert", [this] {
    editor_.FinishEditing();
    editor_.InsertOrDeleteRow(0);
  });
  on("mnuRowDelete", [this] {
    editor_.FinishEditing();
    editor_.InsertOrDeleteRow(1);
  });
  // The item's caption follows the mode; its access key is no part of it.
  on("mnuFileImport", [this, &state] {
    editor_.FinishEditing();
    mnuFileImport(state, ImportItemCaption(state.Project));
  });
}

MainFormEditor::~MainFormEditor() = default;

bool MainFormEditor::eventFilter(QObject* watched, QEvent* event) {
  if (watched == &grid_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool handled = GridKeyPress(key->key(), key->text(), key->modifiers());
    window_.ShowChanged();
    return handled;
  }
  // The mouse moves the cursor, or the focus goes elsewhere: what was
  // typed is committed first.
  if ((watched == viewport_ || watched == &tabs_) && event->type() == QEvent::MouseButtonPress) {
    editor_.FinishEditing();
    return false;
  }
  if (watched == viewport_ && event->type() == QEvent::MouseButtonDblClick) {
    // A double click edits the cell in place, as F2 does.
    const QModelIndex index = grid_.indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    if (!index.isValid()) return false;
    editor_.FinishEditing();
    grid_.SetCursor(index.row() + StationGrid::kHeaderRows, index.column());
    editor_.EditInPlace();
    return true;
  }
  if (watched == &grid_ && event->type() == QEvent::FocusOut) {
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason) {
      editor_.FinishEditing();
    }
    return false;
  }
  if (watched == CodeCombo_ && event->type() == QEvent::FocusOut) {
    // The list opening takes the focus for a moment; that is no leaving.
    if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) CodeComboDone(true);
    return false;
  }
  if (watched == &tabs_ && event->type() == QEvent::MouseButtonRelease) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    int index = tabs_.tabAt(mouse->position().toPoint());
    if (index < 0) index = tabs_.currentIndex();
    const MouseButton button = mouse->button() == Qt::LeftButton    ? MouseButton::Left
                               : mouse->button() == Qt::RightButton ? MouseButton::Right
                                                                    : MouseButton::Other;
    // The tab strip selected the tab on the press already.
    TabStripMouseUp(window_.State(), index, button);
    return false;
  }
  return QObject::eventFilter(watched, event);
}

bool MainFormEditor::GridKeyPress(int key, const QString& text, Qt::KeyboardModifiers modifiers) {
  // Shortcuts and Shift+Tab keep their usual meaning.
  if (modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  if (key == Qt::Key_Backtab) return false;
  if (grid_.currentRow() < 0 || grid_.currentColumn() < 0) {
    grid_.SetCursor(StationGrid::kHeaderRows,
                    grid_.currentColumn() < 0 ? 0 : grid_.currentColumn());
  }
  const int row = grid_.CursorRow();
  const int column = grid_.CursorColumn();
  const int lastRow = grid_.GridRows() - 1;
  // The grid's own cursor move comes first; the editor sees where it went.
  auto arrow = [&](GridKey direction, int toRow, int toColumn) {
    const bool moved = toRow != row || toColumn != column;
    if (moved) grid_.SetCursor(toRow, toColumn);
    editor_.KeyUp(direction, moved);
    return true;
  };
  switch (key) {
    case Qt::Key_Left:
      return arrow(GridKey::Left, row, std::max(column - 1, 0));
    case Qt::Key_Right:
      return arrow(GridKey::Right, row, std::min(column + 1, StationGrid::kColumns - 1));
    case Qt::Key_Up:
      return arrow(GridKey::Up, std::max(row - 1, StationGrid::kHeaderRows), column);
    case Qt::Key_Down:
      return arrow(GridKey::Down, std::min(row + 1, lastRow), column);
    case Qt::Key_Delete:
      editor_.KeyUp(GridKey::Delete, true);
      return true;
    case Qt::Key_Tab:
      editor_.FocusCatcherGotFocus();
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      editor_.KeyPress(13);
      return true;
    case Qt::Key_Backspace:
      editor_.KeyPress(8);
      return true;
    case Qt::Key_F2:
      editor_.EditInPlace();
      return true;
    default:
      break;
  }
  if (text.isEmpty()) {
    // Home, End, Page Up and the like move as usual, from a committed cell.
    editor_.FinishEditing();
    return false;
  }
  const char16_t code = text.at(0).unicode();
  editor_.KeyPress(static_cast<int16_t>(code < 0x8000 ? code : 0));
  return true;
}

void MainFormEditor::GridCellClicked(int row, int column) {
  if (editor_.CellClicked(row, column)) {
    PlaceCodeCombo(column, row);
    CodeCombo_->setFocus();
  } else {
    CodeCombo_->setVisible(false);
  }
}

void MainFormEditor::PlaceCodeCombo(int column, int row) {
  if (column != Code || row < StationGrid::kHeaderRows) return;
  const int tableRow = row - StationGrid::kHeaderRows;
  CodeCombo_->setGeometry(grid_.columnViewportPosition(column), grid_.rowViewportPosition(tableRow),
                          std::max(grid_.columnWidth(column), 60), grid_.rowHeight(tableRow));
  CodeCombo_->setVisible(true);
  CodeCombo_->raise();
  // LoadComboBox: the list, then the preselected text.
  const QSignalBlocker block(CodeCombo_);
  CodeCombo_->clear();
  for (const std::string& item : GridEditor::CodeItems()) CodeCombo_->addItem(FromCp1252(item));
  CodeCombo_->setCurrentIndex(CodeCombo_->findText(FromCp1252(editor_.LoadComboBox())));
}

void MainFormEditor::CodeComboDone(bool hide) {
  if (CodeCombo_->isVisible()) editor_.CodeChosen(ToCp1252(CodeCombo_->currentText()));
  if (hide) CodeCombo_->setVisible(false);
  window_.ShowChanged();
}

// ---- GridSurface ----------------------------------------------------------

int MainFormEditor::Rows() const {
  return grid_.GridRows();
}

void MainFormEditor::SetRows(int rows) {
  grid_.SetGridRows(rows);
}

std::string MainFormEditor::Text(int row, int column) const {
  return ToCp1252(grid_.CellText(row, column));
}

void MainFormEditor::SetText(int row, int column, const std::string& text) {
  grid_.SetCellText(row, column, FromCp1252(text));
}

int MainFormEditor::CursorRow() const {
  return grid_.CursorRow();
}

int MainFormEditor::CursorColumn() const {
  return grid_.CursorColumn();
}

void MainFormEditor::SetCursor(int row, int column) {
  grid_.SetCursor(row, column);
}

void MainFormEditor::TakeFocus() {
  if (grid_.isVisible()) grid_.setFocus();
}

}  // namespace earthwork
