#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "project/ProgramState.h"

namespace earthwork {

/// What the grid editor needs of the station grid, in grid coordinates:
/// rows 0 and 1 are the header rows, row g >= 2 shows data row g - 2.
class GridSurface {
 public:
  virtual ~GridSurface() = default;
  /// Rows including the two header rows.
  virtual int Rows() const = 0;
  virtual void SetRows(int rows) = 0;
  virtual std::string Text(int row, int column) const = 0;
  /// Writes the cell text, centred.
  virtual void SetText(int row, int column, const std::string& text) = 0;
  virtual int CursorRow() const = 0;
  virtual int CursorColumn() const = 0;
  virtual void SetCursor(int row, int column) = 0;
  virtual void TakeFocus() = 0;
};

/// Keys the grid handles after its own cursor move.
enum class GridKey { Left, Right, Up, Down, Delete };

/// The rules of the station grid: every typed key goes to the store at once,
/// leaving a cell commits it (validated, reformatted, stored), and the end
/// marker follows the last row the user has reached. Typing into a cell
/// replaces its text unless it is being edited already (F2 or a double
/// click edit in place); every cell not being typed into shows what the
/// store holds, as a fresh fill of the grid would.
class GridEditor {
 public:
  static constexpr int kColumns = 6;
  static constexpr int kFirstDataRow = 2;

  GridEditor(ProgramState& state, GridSurface& grid) : state_(state), grid_(grid) {}

  /// A character key typed in the grid (Enter is 13, Backspace 8).
  void KeyPress(int16_t key);
  /// Arrow keys and Delete, with the cursor where the grid's own move has
  /// put it; `moved` is false when the cursor was at the grid's edge.
  void KeyUp(GridKey key, bool moved);
  /// Tab out of the grid: commit and advance as Enter does. Failed when the
  /// cell was rejected (the cursor stays).
  Result FocusCatcherGotFocus();
  /// F2 or a double click: the cursor cell is edited in place; what is
  /// typed goes on after its text.
  void EditInPlace();
  /// Commits the cell being typed into, if any, and leaves the cursor where
  /// it is: before the mouse or the grid's own keys move the cursor, and
  /// before a command reads the store.
  void FinishEditing();
  /// True while cell (row, column) of the current group is being typed into.
  bool Editing(int row, int column) const;

  /// Failed when the cell was rejected.
  Result CommitCell(int row, int column);
  Result CheckwhetherItIsLastLine(int row, int column);
  void FormatGridEntries(int row, int column);
  void SetFocusToColumnOrRow(int& row, int& column);
  void ModifyRow(int row);
  void TopRowVisible(int row);
  /// Edit > Row: 0 inserts a row at the cursor, 1 deletes the cursor row.
  void InsertOrDeleteRow(int16_t mode);

  // The Code column's drop-down.
  static const std::vector<std::string>& CodeItems();
  /// A click on a cell; true when the drop-down should be shown over it.
  bool CellClicked(int row, int column);
  /// The drop-down's text as LoadComboBox preselects it ("" leaves it as it is).
  std::string LoadComboBox() const;
  /// An item picked, or the drop-down losing the focus, with its text.
  void CodeChosen(const std::string& text);
  const std::string& LastCode() const { return lastCode_; }

 private:
  int DataRow(int gridRow) const;
  CellTable& Cells();
  void StoreCell(int row, int column);
  void MarkAfter(int row);
  bool IsLastLine(int row) const { return row == grid_.Rows() - 1; }
  bool LineEmpty(int row) const;
  void BeginEdit(int row, int column);
  /// Shows the row as stored, but for the cell being typed into.
  void ShowStored(int row);
  /// Says in the status bar what a typed text that is not a number became.
  void TellWhatWasStored(int row, int column, const std::string& typed);

  /// The cell being typed into and what the store held before.
  struct Edit {
    int group;
    int row;
    int column;
    std::string before;
  };

  ProgramState& state_;
  GridSurface& grid_;
  std::string lastCode_;
  std::optional<Edit> edit_;
};

}  // namespace earthwork
