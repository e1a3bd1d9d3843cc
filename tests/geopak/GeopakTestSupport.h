#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "geopak/OpenGeopakLog.h"
#include "project/ProgramState.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

/// A fresh program state whose reports go to a temporary folder, with the
/// sample logs copied there (the companion table is written beside them).
class GeopakTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("EARTHWORK_REPORT_DIR", reports.Root().c_str(), 1);
    state.Project.HeaderFields = {"J. Designer", "RT9-101", "C-2201"};
  }

  /// Copies tests/data/geopak/`name` into the log folder; returns its path.
  std::string Sample(const std::string& name) {
    const std::string path = logs.Path(name);
    WriteBytes(path, ReadBytes(DataPath("geopak/" + name)));
    return path;
  }

  /// Writes `text` as a log in the log folder; returns its path.
  std::string WriteLog(const std::string& name, const std::string& text) {
    const std::string path = logs.Path(name);
    WriteBytes(path, text);
    return path;
  }

  /// Imports a log into the current group as the open command does; the
  /// tab takes the caption the import proposes.
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

/// Compares `actual` with the golden file tests/data/`name` byte for byte,
/// showing the first line that differs. EARTHWORK_UPDATE_GOLDEN=1 rewrites
/// the golden file instead (check the difference before committing it).
inline void ExpectGolden(const std::string& actual, const std::string& name) {
  const std::string path = DataPath(name);
  if (std::getenv("EARTHWORK_UPDATE_GOLDEN")) {
    WriteBytes(path, actual);
    return;
  }
  const std::string expected = ReadBytes(path);
  if (actual == expected) return;
  size_t line = 1;
  size_t i = 0;
  while (i < actual.size() && i < expected.size() && actual[i] == expected[i]) {
    if (actual[i] == '\n') ++line;
    ++i;
  }
  const auto lineAt = [](const std::string& text, size_t at) {
    const size_t start = text.rfind('\n', at == 0 ? 0 : at - 1);
    const size_t from = start == std::string::npos ? 0 : start + 1;
    return text.substr(from, text.find('\n', from) - from);
  };
  ADD_FAILURE() << name << " differs at line " << line << "\n  expected: [" << lineAt(expected, i)
                << "]\n  actual:   [" << lineAt(actual, i) << "]";
}

/// The lines of a CR LF text, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    lines.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

}  // namespace earthwork::testing
