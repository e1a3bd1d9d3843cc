#pragma once

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/Format.h"
#include "project/ProjectStore.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

/// One station row as typed: texts are stored in the grid's form
/// (plus notation, two decimals); an empty text leaves the cell empty.
struct TypedRow {
  const char* station;
  const char* code = "";
  const char* cut = "";
  const char* addCut = "";
  const char* fill = "";
  const char* addFill = "";
};

inline void SetRows(GroupRecord& group, const std::vector<TypedRow>& rows) {
  int r = 0;
  for (const TypedRow& row : rows) {
    group.Cells.at(r, Station) = FormatStation(std::string_view(row.station));
    group.Cells.at(r, Code) = row.code;
    const char* areas[] = {row.cut, row.addCut, row.fill, row.addFill};
    for (int c = 0; c < 4; ++c) {
      const std::string text = areas[c];
      group.Cells.at(r, Cut + c) = text.empty() ? text : FormatArea(std::string_view(text));
    }
    ++r;
  }
  group.Cells.at(r, Station) = kEndOfRows;
}

}  // namespace earthwork::testing
