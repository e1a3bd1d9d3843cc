#pragma once

#include <string_view>

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace earthwork::testing {

/// The rows of the table tests/data/`name`: fields split at '|', with \r,
/// \n, \t, \0 and \ before any other character standing for that character;
/// blank lines and # lines are left out.
inline std::vector<std::vector<std::string>> DataTable(const std::string& name) {
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : SplitAt(ReadBytes(DataPath(name)), "\n")) {
    if (line.empty() || line[0] == '#') continue;
    rows.emplace_back(1);
    for (size_t i = 0; i < line.size(); ++i) {
      if (line[i] == '|') {
        rows.back().emplace_back();
      } else if (line[i] != '\\' || i + 1 == line.size()) {
        rows.back().back() += line[i];
      } else {
        const size_t code = std::string_view("rnt0").find(line[++i]);
        rows.back().back() +=
            code == std::string_view::npos ? line[i] : "\r\n\t"[code];  // [3]: '\0'
      }
    }
  }
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

}  // namespace earthwork::testing
