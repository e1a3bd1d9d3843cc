#pragma once

#include <gtest/gtest.h>

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
  void SetUp() override { state.Project.HeaderFields = {"J. Designer", "RT9-101", "C-2201"}; }
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
  bool Open(const std::string& path) { return OpenGeopakLog(state, path).Ok(); }
  std::string Report() const { return ReadBytes(state.Report.ReportFileName); }

  TempDir reports;
  ScopedReportDirectory reportDir{reports.Root().string()};
  TempDir logs;
  ScriptedDialogs dialogs;
  RecordingMainView view;
  ProgramState state{dialogs, view};
};

}  // namespace earthwork::testing
