#include "project/ProjectStore.h"

#include "project/Errors.h"
#include "project/Text.h"

namespace earthwork {

const std::string& CellTable::EmptyCell() {
  static const std::string empty;
  return empty;
}

void CellTable::AllocateBlock(Block& block) {
  block.resize(kBlockRows * kCellColumns);
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
