#include "project/ProjectStore.h"

#include "project/Errors.h"
#include "project/Text.h"

namespace earthwork {

std::string& CellTable::at(int row, int column) {
  if (row < 0 || row >= kCellRows || column < 0 || column >= kCellColumns) SubscriptOutOfRange();
  auto& block = blocks_[static_cast<size_t>(row / kBlockRows)];
  if (block.empty()) block.resize(kBlockRows * kCellColumns);
  return block[static_cast<size_t>(row % kBlockRows * kCellColumns + column)];
}

const std::string& CellTable::at(int row, int column) const {
  if (row < 0 || row >= kCellRows || column < 0 || column >= kCellColumns) SubscriptOutOfRange();
  static const std::string empty;
  const auto& block = blocks_[static_cast<size_t>(row / kBlockRows)];
  if (block.empty()) return empty;
  return block[static_cast<size_t>(row % kBlockRows * kCellColumns + column)];
}

int CellTable::DataRowCount() const {
  int row = 0;
  while (at(row, Station) != kEndOfRows) ++row;
  return row;
}

ProjectStore::ProjectStore() {
  Groups[0].Cells.at(0, Station) = kEndOfRows;
}

GroupRecord& ProjectStore::Group(int index) {
  if (index < 0 || index >= kGroupSlots) SubscriptOutOfRange();
  return Groups[static_cast<size_t>(index)];
}

const GroupRecord& ProjectStore::Group(int index) const {
  return const_cast<ProjectStore*>(this)->Group(index);
}

bool IsUntitled(const std::string& name) {
  return EqualsIgnoreCase(name, "UNTITLED");
}

std::string DefaultGroupName(int group) {
  return "Earthwork " + std::to_string(group + 1);
}

}  // namespace earthwork
