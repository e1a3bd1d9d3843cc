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

/// Rows typed from a text file: the first line's words (what the rows are
/// for), then a row a line, "." for an empty cell; "#" lines are notes.
class RowsFile {
 public:
  explicit RowsFile(const std::string& path) {
    for (const std::string& line : SplitLines(ReadBytes(path))) {
      std::istringstream in(line);
      std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
      if (words.empty() || words[0][0] == '#') continue;
      if (head.empty()) {
        head = words;
        continue;
      }
      words.resize(6, ".");
      cells_.push_back(words);
    }
    for (const auto& c : cells_) {
      const auto text = [&](size_t i) { return c[i] == "." ? "" : c[i].c_str(); };
      rows.push_back({text(0), text(1), text(2), text(3), text(4), text(5)});
    }
  }
  RowsFile(const RowsFile&) = delete;
  RowsFile& operator=(const RowsFile&) = delete;

  std::vector<std::string> head;
  std::vector<TypedRow> rows;

 private:
  std::vector<std::vector<std::string>> cells_;
};

}  // namespace earthwork::testing
