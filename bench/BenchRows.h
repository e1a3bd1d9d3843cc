#pragma once

#include "project/Format.h"
#include "project/ProjectStore.h"

namespace earthwork {

/// A full group of plain rows (no codes but "-"), the same in every
/// benchmark that needs one.
inline void FillPlainGroup(GroupRecord& group) {
  group.BalanceFactor = "1.15";
  for (int r = 0; r < kMaxDataRows; ++r) {
    group.Cells.at(r, Station) = FormatStation(50.0 * r);
    group.Cells.at(r, Code) = "-";
    group.Cells.at(r, Cut) = FormatArea((r * 37) % 400);
    group.Cells.at(r, AddedCut) = "0.00";
    group.Cells.at(r, Fill) = FormatArea((r * 53 + 120) % 450);
    group.Cells.at(r, AddedFill) = "0.00";
  }
  group.Cells.at(kMaxDataRows, Station) = kEndOfRows;
}

}  // namespace earthwork
