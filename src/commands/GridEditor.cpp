#include "commands/GridEditor.h"

#include "project/Errors.h"
#include "project/Format.h"
#include "project/Station.h"
#include "project/Store.h"
#include "project/Text.h"
#include "project/WindowState.h"

namespace earthwork {

namespace {

constexpr int16_t kEnter = 13;
constexpr int16_t kBackspace = 8;

constexpr const char* kColumnNames[] = {"Station", "Code", "Cut", "AddedCut", "Fill", "AddedFill"};

/// A typed text that reads as what it looks like: a plain number, or a
/// station in plus notation.
bool PlainEntry(int column, const std::string& text) {
  if (ParseNumber(text)) return true;
  if (column != Station) return false;
  const size_t plus = text.find('+');
  if (plus == std::string::npos || text.find('+', plus + 1) != std::string::npos) return false;
  const std::string before = Trim(text.substr(0, plus));
  const std::string after = Trim(text.substr(plus + 1));
  return (before.empty() || ParseNumber(before)) && (after.empty() || ParseNumber(after));
}

/// A data row can hold data only when the end marker still fits after it.
void CheckRowRoom(int dataRow) {
  if (dataRow >= kMaxDataRows) throw ProgramError("A group holds at most 1800 rows");
}

}  // namespace

int GridEditor::DataRow(int gridRow) const {
  const int row = gridRow - kFirstDataRow;
  if (row < 0 || row > kMaxDataRows) SubscriptOutOfRange();
  return row;
}

CellTable& GridEditor::Cells() {
  return state_.Project.Current().Cells;
}

bool GridEditor::LineEmpty(int row) const {
  for (int c = 0; c < kColumns; ++c) {
    if (!TrimView(grid_.Text(row, c)).empty()) return false;
  }
  return true;
}

void GridEditor::StoreCell(int row, int column) {
  const int data = DataRow(row);
  // The empty last line stands for the end marker: reaching it or clearing
  // it never turns it into a row of zeros.
  if (IsLastLine(row) && LineEmpty(row)) {
    CellTable& cells = Cells();
    for (int c = 0; c < kColumns; ++c) cells.at(data, c).clear();
    cells.at(data, Station) = kEndOfRows;
    return;
  }
  CheckRowRoom(data);
  // A value typed on a line before its station must not sit behind the
  // end marker, where nothing would ever read it, nor in a row without a
  // station (an inserted one).
  const std::string& station = Cells().at(data, Station);
  if (column != Station && (station == kEndOfRows || TrimView(station).empty())) {
    StorageStructure(state_, static_cast<int16_t>(row), Station, grid_.Text(row, Station));
  }
  StorageStructure(state_, static_cast<int16_t>(row), static_cast<int16_t>(column),
                   grid_.Text(row, column));
}

bool GridEditor::Editing(int row, int column) const {
  return edit_ && edit_->group == state_.Project.CurrentGroup && edit_->row == row &&
         edit_->column == column;
}

void GridEditor::BeginEdit(int row, int column) {
  edit_ = Edit{state_.Project.CurrentGroup, row, column, Cells().at(DataRow(row), column)};
}

void GridEditor::ShowStored(int row) {
  const CellTable& cells = Cells();
  const int data = DataRow(row);
  // The line of the end marker is the empty line for a new row.
  const bool end = cells.at(data, Station) == kEndOfRows;
  for (int c = 0; c < kColumns; ++c) {
    if (!Editing(row, c)) grid_.SetText(row, c, end ? std::string() : Trim(cells.at(data, c)));
  }
}

void GridEditor::TellWhatWasStored(int row, int column, const std::string& typed) {
  if (column == Code || typed.empty() || PlainEntry(column, typed)) return;
  SetStatusText(state_, std::string(kColumnNames[column]) + ": \"" + typed + "\" was stored as " +
                            Trim(Cells().at(DataRow(row), column)));
}

void GridEditor::MarkAfter(int row) {
  if (LineEmpty(row)) return;
  Cells().at(DataRow(row) + 1, Station) = kEndOfRows;
}

void GridEditor::KeyPress(int16_t key) {
  Trap(state_.dialogs, " Program Error: ", " Grid1_KeyPress(frmMain)", [&] {
    int row = grid_.CursorRow();
    int column = grid_.CursorColumn();
    if (row < kFirstDataRow || column < 0) return;
    // Nothing is shown that the store cannot take.
    CheckRowRoom(DataRow(row));
    std::string text = grid_.Text(row, column);
    const bool typing = Editing(row, column);
    // A character typed into a cell that is not being edited replaces it.
    if (!typing && key != kBackspace && key != kEnter) text.clear();
    if ((key == '+' && Contains(text, "+")) || (key == '.' && Contains(text, "."))) return;
    IntOk(key);
    if (key == kBackspace) {
      if (text.empty()) return;
      if (!typing) BeginEdit(row, column);
      text.pop_back();
      grid_.SetText(row, column, text);
    } else if (key == kEnter) {
      if (!CommitCell(row, column)) return;
      SetFocusToColumnOrRow(row, column);
      TopRowVisible(row);
      grid_.TakeFocus();
    } else if (key != 0) {
      if (!typing) BeginEdit(row, column);
      grid_.SetText(row, column, text + static_cast<char>(key));
    }
    row = grid_.CursorRow();
    column = grid_.CursorColumn();
    TopRowVisible(row);
    std::string& station = Cells().at(DataRow(row), Station);
    if (column == Station && station == "0.00") station = kEndOfRows;
    StoreCell(row, column);
    if (IsLastLine(row)) MarkAfter(row);
    // The cell Enter moved to shows what storing it made of it.
    if (!Editing(row, column)) ShowStored(row);
    state_.Project.DataChanged = true;
  });
}

Result GridEditor::CommitCell(int row, int column) {
  Result result = Result::Done();
  const Result trapped =
      Trap(state_.dialogs, " Program Error :", " occured in the frmMain(GridRelated)", [&] {
        if (row < kFirstDataRow) return;
        const std::string before =
            Editing(row, column) ? edit_->before : Cells().at(DataRow(row), column);
        if (Editing(row, column)) edit_.reset();
        const std::string typed = Trim(grid_.Text(row, column));
        grid_.SetCursor(row, column);
        result = CheckwhetherItIsLastLine(row, column);
        if (!result) {
          // A station that would descend is not taken: the cell and the
          // store keep what they held before it was typed.
          if (column == Station) {
            Cells().at(DataRow(row), Station) = before;
            ShowStored(row);
          }
          return;
        }
        FormatGridEntries(row, column);
        const bool emptyLastLine = IsLastLine(row) && LineEmpty(row);
        StoreCell(row, column);
        // The cell shows what was stored (sah is stored as AH, 1234.5 as
        // 12+34.500), as a fresh fill of the grid would show it.
        ShowStored(row);
        if (emptyLastLine) return;
        if (IsLastLine(row)) MarkAfter(row);
        state_.Project.DataChanged = true;
        TellWhatWasStored(row, column, typed);
      });
  return trapped ? result : trapped;
}

Result GridEditor::CheckwhetherItIsLastLine(int row, int column) {
  Result result = Result::Done();
  const Result trapped =
      Trap(state_.dialogs, "Program Error : ", " occured in CheckwhetherItIsLastLine", [&] {
        grid_.SetCursor(row, column);
        const int data = DataRow(row);
        const std::string text = grid_.Text(row, column);
        if (column >= Cut) {
          const std::string trimmed = Trim(text);
          grid_.SetText(row, column, trimmed);
          Cells().at(data, column) = trimmed;
        } else if (column == Code) {
          std::string trimmed = Trim(text);
          // On the empty last line no code is made up: the line stays the
          // end of the rows.
          if (trimmed.empty() && !(IsLastLine(row) && LineEmpty(row))) trimmed = "-";
          grid_.SetText(row, column, trimmed);
          Cells().at(data, Code) = trimmed;
        } else if (row == kFirstDataRow) {
          if (StationTextToNumber(text) == 0) grid_.SetText(row, column, "00+00.00");
        } else if (Result ascending = CheckForAscendingOrder(state_, static_cast<int16_t>(data));
                   !ascending) {
          grid_.SetText(row, column, "");
          result = ascending;
        }
      });
  return trapped ? result : trapped;
}

void GridEditor::FormatGridEntries(int row, int column) {
  Trap(state_.dialogs, "Program Error : ", " occured in FormatGridEntries", [&] {
    const std::string text = grid_.Text(row, column);
    if (column == Station) {
      grid_.SetText(row, column, FormatStation(text));
    } else if (column == Code) {
      grid_.SetText(row, column, Trim(text));
    } else {
      grid_.SetText(row, column, FormatArea(text));
    }
  });
}

void GridEditor::SetFocusToColumnOrRow(int& row, int& column) {
  Trap(state_.dialogs, "Program Error : ", " occured in SetFocusToColumnOrRow", [&] {
    if (column < AddedFill) {
      ++column;
    } else {
      ModifyRow(row);
      ++row;
      column = Station;
    }
    grid_.SetCursor(row, column);
    grid_.TakeFocus();
  });
}

void GridEditor::ModifyRow(int row) {
  Trap(state_.dialogs, " Program Error: ", " ModifyRow(GridRelated)", [&] {
    if (grid_.Rows() <= row + 1) {
      // The new empty line holds the end marker; what lay beyond the old
      // marker is not data and must not show up in the new line.
      const int data = DataRow(row + 1);
      CellTable& cells = Cells();
      for (int c = 0; c < kColumns; ++c) cells.at(data, c).clear();
      cells.at(data, Station) = kEndOfRows;
      grid_.SetRows(row + 2);
      for (int c = 0; c < kColumns; ++c) grid_.SetText(row + 1, c, "");
    }
    grid_.SetCursor(row + 1, grid_.CursorColumn());
  });
}

void GridEditor::TopRowVisible(int row) {
  state_.view.ScrollTo(row);
}

void GridEditor::KeyUp(GridKey key, bool moved) {
  Trap(state_.dialogs, " Program Error: ", " Grid1_Keyup(frmMain)", [&] {
    const int row = grid_.CursorRow();
    const int column = grid_.CursorColumn();
    switch (key) {
      case GridKey::Left: {
        // At the edge no cell was left, so none is committed.
        if (!moved) break;
        const int left = column + 1;
        CommitCell(row, left);
        grid_.SetCursor(row, left == AddedFill || left == Cut ? left - 2 : left - 1);
        break;
      }
      case GridKey::Right: {
        if (!moved) break;
        const int left = column - 1;
        CommitCell(row, left);
        grid_.SetCursor(row, left == AddedCut || left == Station ? left + 2 : left + 1);
        break;
      }
      case GridKey::Up:
        if (moved) {
          CommitCell(row + 1, column);
          grid_.SetCursor(row, column);
        }
        break;
      case GridKey::Down: {
        // Onto the empty last line: nothing to commit.
        if (Cells().at(DataRow(row), Station) == kEndOfRows) break;
        // On the last line the grid cannot move: the line is committed and
        // a new empty line opens below it.
        const int left = moved ? row - 1 : row;
        ModifyRow(row);
        CommitCell(left, column);
        grid_.SetCursor(left + 1, column);
        break;
      }
      case GridKey::Delete: {
        const std::string before = Cells().at(DataRow(row), column);
        if (Editing(row, column)) edit_.reset();
        grid_.SetText(row, column, "");
        // An emptied code is "-", as a committed empty one is; the empty
        // last line stays empty.
        if (column == Code && !(IsLastLine(row) && LineEmpty(row))) grid_.SetText(row, Code, "-");
        StoreCell(row, column);
        if (column == Station && row != kFirstDataRow &&
            !CheckForAscendingOrder(state_, static_cast<int16_t>(DataRow(row)))) {
          Cells().at(DataRow(row), Station) = before;
          ShowStored(row);
          break;
        }
        if (IsLastLine(row)) MarkAfter(row);
        ShowStored(row);
        state_.Project.DataChanged = true;
        break;
      }
    }
  });
  TopRowVisible(grid_.CursorRow());
}

Result GridEditor::FocusCatcherGotFocus() {
  Result result = Result::Done();
  const Result trapped =
      Trap(state_.dialogs, " Program Error: ", " Command1_GotFocus(frmmain)", [&] {
        int row = grid_.CursorRow();
        int column = grid_.CursorColumn();
        result = CommitCell(row, column);
        if (!result) return;
        SetFocusToColumnOrRow(row, column);
        TopRowVisible(row);
        grid_.TakeFocus();
      });
  return trapped ? result : trapped;
}

void GridEditor::EditInPlace() {
  Trap(state_.dialogs, " Program Error: ", " Grid1_KeyPress(frmMain)", [&] {
    const int row = grid_.CursorRow();
    const int column = grid_.CursorColumn();
    if (row < kFirstDataRow || column < 0 || Editing(row, column)) return;
    BeginEdit(row, column);
  });
}

void GridEditor::FinishEditing() {
  if (!edit_) return;
  const Edit edit = *edit_;
  if (edit.group != state_.Project.CurrentGroup || edit.row >= grid_.Rows()) {
    edit_.reset();
    return;
  }
  const int row = grid_.CursorRow();
  const int column = grid_.CursorColumn();
  (void)CommitCell(edit.row, edit.column);  // a rejection has been shown
  grid_.SetCursor(row, column);
}

void GridEditor::InsertOrDeleteRow(int16_t mode) {
  Trap(state_.dialogs, " Program Error: ", " occured in InsertOrDeleteRow(EditMenu)", [&] {
    const int row = grid_.CursorRow();
    if (row < kFirstDataRow) return;
    edit_.reset();
    const int cursor = DataRow(row);
    CellTable& cells = Cells();
    int end = 0;
    while (StationTextToNumber(cells.at(end, Station)) != -1) ++end;
    if (end == cursor) {
      state_.dialogs.MessageBox(mode == 1 ? "Please do not delete the last row"
                                          : "Please do not insert the last row");
    } else if (mode == 1) {
      for (int r = cursor; StationTextToNumber(cells.at(r, Station)) != -1; ++r) {
        for (int c = 0; c < kColumns; ++c) cells.at(r, c) = cells.at(r + 1, c);
      }
      state_.view.GroupShown();
      grid_.SetCursor(row, Station);
      state_.Project.DataChanged = true;
    } else {
      // The marker would move past the last row of the table.
      if (end >= kMaxDataRows) throw ProgramError("A group holds at most 1800 rows");
      for (int r = end; r >= cursor; --r) {
        for (int c = 0; c < kColumns; ++c) cells.at(r + 1, c) = cells.at(r, c);
      }
      // The new row starts empty, to be typed into; it becomes a row with
      // a station as soon as anything is typed in it.
      for (int c = Station; c <= AddedFill; ++c) cells.at(cursor, c).clear();
      state_.view.GroupShown();
      grid_.SetCursor(row, Station);
    }
  });
  grid_.SetCursor(grid_.CursorRow(), Station);
  grid_.TakeFocus();
}

const std::vector<std::string>& GridEditor::CodeItems() {
  static const std::vector<std::string> items = {"SA", "FB", "AH", "BK", "-"};
  return items;
}

bool GridEditor::CellClicked(int row, int column) {
  bool show = false;
  Trap(state_.dialogs, "Program Error: ", " occured in Grid1_Click", [&] {
    if (column != Code || row < kFirstDataRow) return;
    const std::string text = grid_.Text(row, Code);
    if (!text.empty()) lastCode_ = text;
    show = true;
  });
  return show;
}

std::string GridEditor::LoadComboBox() const {
  std::string text;
  Trap(state_.dialogs, "Error : ", " occured in LoadComboBox(Globals)", [&] {
    if (lastCode_.empty()) return;
    const std::string cell = Trim(grid_.Text(grid_.CursorRow(), Code));
    text = cell.empty() ? lastCode_ : cell;
  });
  return text;
}

void GridEditor::CodeChosen(const std::string& text) {
  Trap(state_.dialogs, "Program Error: ", " occured in Grid1_Click", [&] {
    const int row = grid_.CursorRow();
    if (grid_.CursorColumn() != Code || row < kFirstDataRow || text.empty()) return;
    lastCode_ = text;
    if (Editing(row, Code)) edit_.reset();
    grid_.SetText(row, Code, lastCode_);
    std::string& stored = Cells().at(DataRow(row), Code);
    const std::string code = Trim(lastCode_);
    // A changed code is a change like any typed one: it must not be lost
    // on exit.
    if (stored != code) state_.Project.DataChanged = true;
    stored = code;
  });
}

}  // namespace earthwork
