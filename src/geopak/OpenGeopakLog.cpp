#include "geopak/OpenGeopakLog.h"

#include "geopak/LogParser.h"
#include "geopak/LogRecognition.h"
#include "reports/GeopakLogReport.h"

namespace earthwork {

bool ImportGeopakLog(ProgramState& state, const std::string& path, const TabNamer& nameTab) {
  ProjectStore& store = state.Project;
  store.CurrentFileName = path;
  store.DataChanged = 0;
  const LogKind kind = RecognizeLogFile(state);
  if (kind == LogKind::Unreadable) return false;  // the reason has been shown
  if (kind == LogKind::NotALog) {
    state.dialogs.MessageBox(" The file selected is not a Geopak Earthwork log file");
    return false;
  }
  state.Report.PageCount = 0;
  SetCaption(state, "GEOPAK LOG FILE: " + path);
  // The report shown on opening is the log's own kind: accumulated only
  // when the log holds accumulated quantities, whatever was shown before.
  state.Report.AccumulatedReport = 0;
  if (!ReadGeopakLog(state)) return false;
  store.LogFileMode = 1;
  const std::string caption = "BASELINE: " + state.Report.BaselineName;
  if (nameTab) {
    nameTab(state, caption);
  } else {
    SetLogTabCaption(state, store.CurrentGroup, caption);
  }
  return true;
}

bool OpenGeopakLog(ProgramState& state, const std::string& path, const TabNamer& nameTab) {
  if (!ImportGeopakLog(state, path, nameTab)) return false;
  CreateGeopakLogReport(state);
  state.Project.DataChanged = 0;
  return true;
}

}  // namespace earthwork
