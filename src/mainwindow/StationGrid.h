#pragma once

#include <QTableWidget>
#include <array>

namespace earthwork {

/// The station grid in the coordinates the editor uses: grid rows 0 and 1
/// are the fixed header rows (column names, unit labels), drawn as a
/// two-line header that stays in place while the data rows scroll; grid row
/// g >= 2 is table row g - 2 and shows data row g - 2 of the current group.
class StationGrid : public QTableWidget {
  Q_OBJECT
 public:
  static constexpr int kColumns = 6;
  static constexpr int kHeaderRows = 2;

  explicit StationGrid(QWidget* parent = nullptr);

  /// Rows including the two header rows.
  int GridRows() const { return rowCount() + kHeaderRows; }
  void SetGridRows(int rows);

  QString CellText(int gridRow, int column) const;
  /// Writes a cell, centred. Header rows write the header texts.
  void SetCellText(int gridRow, int column, const QString& text);
  void ClearRow(int gridRow);

  /// Column width in twips. The columns share the grid's width in these
  /// proportions, each at least as wide as its header, so a wider window
  /// widens them and no column hides behind a scroll bar while they fit.
  void SetColumnWidthTwips(int column, int twips);

  /// The cursor, in grid rows.
  int CursorRow() const;
  int CursorColumn() const { return currentColumn(); }
  void SetCursor(int gridRow, int column);

  /// The first data row shown at the top of the scrolling area, in grid rows.
  int TopRow() const;
  void SetTopRow(int gridRow);
  /// True when the row lies wholly inside the visible area.
  bool RowFullyVisible(int gridRow) const;

 protected:
  bool viewportEvent(QEvent* event) override;

 private:
  void RefreshHeader(int column);
  void FitColumns();
  std::array<std::array<QString, kColumns>, kHeaderRows> header_;
  std::array<int, kColumns> twips_{};
};

}  // namespace earthwork
