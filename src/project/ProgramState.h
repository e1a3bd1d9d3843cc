#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <string>

#include "platform/ports/Dialogs.h"
#include "platform/ports/MainView.h"
#include "project/Errors.h"
#include "project/LogStore.h"
#include "project/Paths.h"
#include "project/ProjectStore.h"
#include "project/WindowState.h"

namespace earthwork {

/// The running sums that a report's grand summary prints.
struct GrandTotals {
  double CutUnadjusted = 0;
  double CutAdjusted = 0;
  double FillUnadjusted = 0;
  double FillAdjusted = 0;
};

/// The quantities a report prints: each interval's, or the running sums.
/// (Any other value, which only a damaged state could hold, writes no data
/// lines.)
enum class ReportKind : int32_t { Total = 0, Accumulated = 1 };

/// Report and page bookkeeping shared by the report writers, paging,
/// preview and printing.
struct ReportState {
  ReportKind AccumulatedReport = ReportKind::Total;
  bool AppendToReport = false;  // while further groups are appended
  GrandTotals Totals;
  int32_t PageCount = 0;
  int16_t CurrentPage = 0;
  int16_t HeaderPage = 0;
  double PageWidth = 0;
  double PageHeight = 0;
  std::string BaselineName;    // from the last log read
  std::string ReportFileName;  // path of the ReportFile
  RunReportFolder Folder;      // where this run writes its reports
  /// Station tables not written beside their logs, said once each.
  std::set<std::string> StationTablesNotWritten;
};

/// All program-wide state: created once in main (or once per test) and
/// passed by reference. The stores are heap-allocated because they are
/// large and live for the whole run.
struct ProgramState {
  ProgramState(Dialogs& dialogPort, MainView& viewPort)
      : Project(*projectStorage_), Log(*logStorage_), dialogs(dialogPort), view(viewPort) {}
  ProgramState(const ProgramState&) = delete;
  ProgramState& operator=(const ProgramState&) = delete;

 private:
  std::unique_ptr<ProjectStore> projectStorage_ = std::make_unique<ProjectStore>();
  std::unique_ptr<LogStore> logStorage_ = std::make_unique<LogStore>();

 public:
  ProjectStore& Project;
  LogStore& Log;
  LogCounters Counters;
  ReportState Report;
  WindowState Window;
  FileDialogSettings FileDialog;
  Dialogs& dialogs;
  MainView& view;
};

}  // namespace earthwork
