#include "mainwindow/StationGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

namespace earthwork {

namespace {

QTableWidgetItem* CenteredItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

}  // namespace

StationGrid::StationGrid(QWidget* parent) : QTableWidget(0, kColumns, parent) {
  setObjectName("Grid1");
  verticalHeader()->setVisible(false);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setSectionsClickable(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
  horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  // The editor builds the cell text from key presses; cells are never
  // edited in place.
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectItems);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setAlternatingRowColors(true);
  for (int c = 0; c < kColumns; ++c) setHorizontalHeaderItem(c, CenteredItem({}));
  SetGridRows(3);
}

void StationGrid::SetGridRows(int rows) {
  setRowCount(std::max(rows, kHeaderRows) - kHeaderRows);
}

QString StationGrid::CellText(int gridRow, int column) const {
  if (gridRow < kHeaderRows) return header_.at(gridRow).at(column);
  const QTableWidgetItem* it = item(gridRow - kHeaderRows, column);
  return it ? it->text() : QString();
}

void StationGrid::SetCellText(int gridRow, int column, const QString& text) {
  if (gridRow < kHeaderRows) {
    header_.at(gridRow).at(column) = text;
    RefreshHeader(column);
    return;
  }
  QTableWidgetItem* it = item(gridRow - kHeaderRows, column);
  if (it) {
    it->setText(text);
    it->setTextAlignment(Qt::AlignCenter);
  } else {
    setItem(gridRow - kHeaderRows, column, CenteredItem(text));
  }
}

void StationGrid::ClearRow(int gridRow) {
  for (int c = 0; c < kColumns; ++c) SetCellText(gridRow, c, {});
}

void StationGrid::RefreshHeader(int column) {
  // The unit line stays even when empty so the header keeps its height.
  horizontalHeaderItem(column)->setText(header_[0][column] + "\n" + header_[1][column]);
  FitColumns();
}

void StationGrid::SetColumnWidthTwips(int column, int twips) {
  twips_.at(static_cast<size_t>(column)) = twips;
  FitColumns();
}

void StationGrid::FitColumns() {
  int total = 0;
  for (int t : twips_) total += t;
  if (total <= 0) return;
  // Never narrower than its header text, so every caption stays readable.
  const QFontMetrics fm(horizontalHeader()->font());
  const double dpi = logicalDpiX();
  const int room = viewport()->width();
  int used = 0;
  for (int c = 0; c < kColumns; ++c) {
    const int needed =
        std::max(fm.horizontalAdvance(header_[0][c]), fm.horizontalAdvance(header_[1][c])) + 16;
    const int twips = twips_[static_cast<size_t>(c)];
    // Before the grid is laid out its columns take their own widths.
    int width = room > 0 ? room * twips / total : static_cast<int>(twips * dpi / 1440.0 + 0.5);
    if (c == kColumns - 1 && room > 0) width = room - used;
    width = std::max(width, needed);
    setColumnWidth(c, width);
    used += width;
  }
}

bool StationGrid::viewportEvent(QEvent* event) {
  if (event->type() == QEvent::Resize) FitColumns();
  return QTableWidget::viewportEvent(event);
}

int StationGrid::CursorRow() const {
  return currentRow() < 0 ? kHeaderRows : currentRow() + kHeaderRows;
}

void StationGrid::SetCursor(int gridRow, int column) {
  if (gridRow < kHeaderRows || gridRow >= GridRows()) return;
  setCurrentCell(gridRow - kHeaderRows, column);
}

int StationGrid::TopRow() const {
  const int row = rowAt(0);
  return (row < 0 ? 0 : row) + kHeaderRows;
}

void StationGrid::SetTopRow(int gridRow) {
  verticalScrollBar()->setValue(std::max(gridRow - kHeaderRows, 0));
}

bool StationGrid::RowFullyVisible(int gridRow) const {
  const int row = gridRow - kHeaderRows;
  if (row < 0 || row >= rowCount()) return false;
  const int top = rowViewportPosition(row);
  return top >= 0 && top + rowHeight(row) <= viewport()->height();
}

}  // namespace earthwork
