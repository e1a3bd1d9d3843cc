#pragma once

#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/FileIO.h"
#include "project/Format.h"
#include "project/ProjectStore.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

inline std::vector<std::string> Words(const std::string& line) {
  std::istringstream in(line);
  return {std::istream_iterator<std::string>(in), {}};
}

/// One station row as typed: texts are stored in the grid's form
/// (plus notation, two decimals); an empty text leaves the cell empty.
struct TypedRow {
  std::string station, code = {}, cut = {}, addCut = {}, fill = {}, addFill = {};
};

inline void SetRows(GroupRecord& group, const std::vector<TypedRow>& rows) {
  int r = 0;
  for (const TypedRow& row : rows) {
    group.Cells.at(r, Station) = FormatStation(std::string_view(row.station));
    group.Cells.at(r, Code) = row.code;
    const std::string* areas[] = {&row.cut, &row.addCut, &row.fill, &row.addFill};
    for (int c = 0; c < 4; ++c)
      group.Cells.at(r, Cut + c) = areas[c]->empty() ? "" : FormatArea(std::string_view(*areas[c]));
    ++r;
  }
  group.Cells.at(r, Station) = kEndOfRows;
}

/// Rows typed from a text file: the first line's words (what the rows are
/// for, six of them, "" for those not given), then a row a line, "." for an
/// empty cell; "#" lines are notes.
struct RowsFile {
  explicit RowsFile(const std::string& path) {
    for (const std::string& line : SplitLines(ReadBytes(path))) {
      std::vector<std::string> w = Words(line);
      if (w.empty() || w[0][0] == '#') continue;
      for (std::string& cell : w) cell = cell == "." ? "" : cell;
      w.resize(6);
      if (head.empty())
        head = w;
      else
        rows.push_back({w[0], w[1], w[2], w[3], w[4], w[5]});
    }
  }
  std::vector<std::string> head;
  std::vector<TypedRow> rows;
};

}  // namespace earthwork::testing
