#pragma once

#include <string>

#include <gtest/gtest.h>

#include "project/Format.h"
#include "project/ProgramState.h"
#include "reports/EndAreaReport.h"

namespace earthwork::testing {

/// Writes the end-area report of a group "Main line" of `rows` stations 50
/// apart from 10+00: ten rows of cut (`area` + row) and ten of fill
/// (`area` - 5 + row) in turn, the other area 0 and 2.
inline void WriteLongReport(ProgramState& state, const std::string& path, int rows, double area) {
  state.Project.CurrentFileName = path;
  state.Project.HeaderFields = {"A. Designer", "PRJ 7", "CN 12"};
  GroupRecord& group = state.Project.Group(0);
  group.Name = "Main line";
  group.BalanceFactor = "1.25";
  for (int r = 0; r < rows; ++r) {
    group.Cells.at(r, Station) = FormatStation(1000 + r * 50.0);
    group.Cells.at(r, Cut) = FormatArea((r / 10) % 2 == 0 ? area + r : 0.0);
    group.Cells.at(r, Fill) = FormatArea((r / 10) % 2 == 1 ? area - 5 + r : 2.0);
  }
  group.Cells.at(rows, Station) = kEndOfRows;
  state.Report.Totals = {};  // each report holds its own grand totals
  ASSERT_TRUE(CreateTempRptFile(state));
}

}  // namespace earthwork::testing
