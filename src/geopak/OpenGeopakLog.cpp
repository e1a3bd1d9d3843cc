#include "geopak/OpenGeopakLog.h"

#include "geopak/LogParser.h"
#include "geopak/LogRecognition.h"
#include "reports/GeopakLogReport.h"

namespace earthwork {

Result ImportGeopakLog(ProgramState& state, const std::string& path, const TabNamer& nameTab) {
  constexpr const char* kNotALog = " The file selected is not a Geopak Earthwork log file";
  ProjectStore& store = state.Project;
  store.CurrentFileName = path;
  store.DataChanged = false;
  const LogKind kind = RecognizeLogFile(state);
  if (kind == LogKind::Unreadable) {  // the reason has been shown
    return Result::Failed(path + " cannot be read", "CheckWhetherItIsLogFile");
  }
  if (kind == LogKind::NotALog) {
    state.dialogs.MessageBox(kNotALog);
    return Result::Failed(kNotALog, "ImportGeopakLog");
  }
  state.Report.PageCount = 0;
  // The report shown on opening is the log's own kind: accumulated only
  // when the log holds accumulated quantities, whatever was shown before.
  state.Report.AccumulatedReport = ReportKind::Total;
  if (Result read = ReadGeopakLog(state); !read) return read;
  SetCaption(state, "GEOPAK LOG FILE: " + path);
  store.LogFileMode = true;
  const std::string caption = "BASELINE: " + state.Report.BaselineName;
  if (nameTab) {
    nameTab(state, caption);
  } else {
    SetLogTabCaption(state, store.CurrentGroup, caption);
  }
  return Result::Done();
}

Result OpenGeopakLog(ProgramState& state, const std::string& path, const TabNamer& nameTab) {
  if (Result imported = ImportGeopakLog(state, path, nameTab); !imported) return imported;
  // A report that cannot be written does not undo the import: its failure
  // has been shown, and the log's tabs are there.
  (void)CreateGeopakLogReport(state);
  state.Project.DataChanged = false;
  return Result::Done();
}

}  // namespace earthwork
