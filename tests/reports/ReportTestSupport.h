#pragma once

#include <cstdlib>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "project/Format.h"
#include "project/ProjectStore.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

/// One station row as typed: texts are stored in the grid's form
/// (plus notation, two decimals); an empty text leaves the cell empty.
struct RowSpec {
  const char* station;
  const char* code = "";
  const char* cut = "";
  const char* addCut = "";
  const char* fill = "";
  const char* addFill = "";
};

inline void SetRows(GroupRecord& group, const std::vector<RowSpec>& rows) {
  int r = 0;
  for (const RowSpec& row : rows) {
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

/// Compares `actual` with the file tests/data/`name` byte for byte. With
/// EARTHWORK_UPDATE_GOLDEN set the file is written instead (review the
/// difference before committing it).
inline void ExpectGolden(const std::string& actual, const std::string& name) {
  const std::string path = DataPath(name);
  if (std::getenv("EARTHWORK_UPDATE_GOLDEN")) {
    WriteBytes(path, actual);
    return;
  }
  std::string expected;
  try {
    expected = ReadBytes(path);
  } catch (const std::exception& e) {
    ADD_FAILURE() << e.what();
    return;
  }
  EXPECT_EQ(actual, expected) << "differs from " << path;
}

/// Points the report folder at `dir` for the life of the object.
class ScopedReportDirectory {
 public:
  explicit ScopedReportDirectory(const std::string& dir) {
    if (const char* old = std::getenv("EARTHWORK_REPORT_DIR")) old_ = old;
    ::setenv("EARTHWORK_REPORT_DIR", dir.c_str(), 1);
  }
  ~ScopedReportDirectory() {
    if (old_.empty()) {
      ::unsetenv("EARTHWORK_REPORT_DIR");
    } else {
      ::setenv("EARTHWORK_REPORT_DIR", old_.c_str(), 1);
    }
  }

 private:
  std::string old_;
};

}  // namespace earthwork::testing
