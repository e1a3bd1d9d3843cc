#pragma once

#include <array>
#include <string>
#include <vector>

#include "project/ProjectStore.h"

namespace earthwork::testing {

/// The six cells of a station row: Station, Code, Cut, AddedCut, Fill, AddedFill.
using Row = std::array<std::string, 6>;

/// `group` holds exactly `rows`, each cell as given, then the end marker.
inline void PutRows(GroupRecord& group, const std::vector<Row>& rows) {
  int r = 0;
  for (const Row& row : rows) {
    for (int c = 0; c < 6; ++c) group.Cells.at(r, c) = row[static_cast<size_t>(c)];
    ++r;
  }
  group.Cells.at(r, Station) = kEndOfRows;
}

/// The rows of `group` up to its end marker.
inline std::vector<Row> RowsOf(const GroupRecord& group) {
  std::vector<Row> rows;
  for (int r = 0; group.Cells.at(r, Station) != kEndOfRows; ++r) {
    Row row;
    for (int c = 0; c < 6; ++c) row[static_cast<size_t>(c)] = group.Cells.at(r, c);
    rows.push_back(row);
  }
  return rows;
}

}  // namespace earthwork::testing
