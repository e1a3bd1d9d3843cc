#pragma once

#include <string>
#include <string_view>
#include <vector>

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
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < line.size(); ++i) {
      char c = line[i];
      if (c == '|') {
        fields.emplace_back();
        continue;
      }
      if (c == '\\' && i + 1 < line.size()) {
        c = line[++i];
        const size_t code = std::string_view("rnt0").find(c);
        if (code != std::string_view::npos) c = "\r\n\t"[code];  // [3] is the ending '\0'
      }
      fields.back() += c;
    }
    rows.push_back(fields);
  }
  EXPECT_FALSE(rows.empty()) << name;
  return rows;
}

}  // namespace earthwork::testing
