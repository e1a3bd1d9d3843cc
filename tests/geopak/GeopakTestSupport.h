#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "geopak/OpenGeopakLog.h"
#include "project/ProgramState.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

/// A fresh program state whose reports go to a temporary folder; logs are
/// written to another one (the companion table goes beside them).
class GeopakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("EARTHWORK_REPORT_DIR", reports.Root().c_str(), 1);
    state.Project.HeaderFields = {"J. Designer", "RT9-101", "C-2201"};
  }
  /// Copies tests/data/geopak/`name` into the log folder.
  std::string Sample(const std::string& name) {
    return WriteLog(name, ReadBytes(DataPath("geopak/" + name)));
  }
  std::string WriteLog(const std::string& name, const std::string& text) {
    WriteBytes(logs.Path(name), text);
    return logs.Path(name);
  }
  /// Imports a log into the current group as the open command does; the
  /// tab takes the caption proposed.
  bool Open(const std::string& path) {
    return OpenGeopakLog(state, path, [this](ProgramState& s, const std::string& caption) {
      const auto group = static_cast<size_t>(s.Project.CurrentGroup);
      if (view.tabCaptions.size() <= group) view.tabCaptions.resize(group + 1);
      view.tabCaptions[group] = caption;
    });
  }
  std::string Report() const { return ReadBytes(state.Report.ReportFileName); }

  TempDir reports;
  TempDir logs;
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
};

/// The lines of a CR LF text.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = std::min(text.find("\r\n", start), text.size());
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

/// Compares `actual` with the golden file tests/data/`name`, line by line.
/// EARTHWORK_UPDATE_GOLDEN=1 rewrites the golden file instead (read the
/// difference before committing it).
inline void ExpectGolden(const std::string& actual, const std::string& name) {
  if (std::getenv("EARTHWORK_UPDATE_GOLDEN")) return WriteBytes(DataPath(name), actual);
  const std::string expected = ReadBytes(DataPath(name));
  if (Lines(actual) != Lines(expected)) {
    EXPECT_EQ(Lines(actual), Lines(expected)) << name;
  } else {
    EXPECT_EQ(actual, expected) << name << ": line ends differ";
  }
}

}  // namespace earthwork::testing
