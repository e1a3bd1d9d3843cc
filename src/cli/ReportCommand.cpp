#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>

#include "cli/Arguments.h"
#include "cli/BatchSession.h"
#include "cli/Cli.h"
#include "cli/Drawing.h"
#include "cli/Outputs.h"
#include "earfiles/EarFile.h"
#include "geopak/LogParser.h"
#include "printing/PagePrint.h"
#include "printing/Paging.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/FileKinds.h"
#include "project/Paths.h"
#include "project/Text.h"
#include "reports/EndAreaReport.h"
#include "reports/GeopakLogReport.h"
#include "stickup/StickupSheets.h"

namespace earthwork::cli {

namespace {

constexpr const char* kReportUsage =
    "Usage: earthwork report IN.ear|IN.log [--tab N | --all] [--accumulated]\n"
    "                        [--out FILE.rpt] [--pdf FILE.pdf]\n";

struct ReportOptions : InputAndTabs {
  bool accumulated = false;
  std::string out;
  std::string pdf;
};

/// The options, or nullopt with `error` set.
std::optional<ReportOptions> ParseReportArgs(const std::vector<std::string>& args,
                                             std::string& error) {
  ReportOptions o;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const bool hasValue = i + 1 < args.size();
    if (a == "--tab" || a == "--out" || a == "--pdf") {
      if (!hasValue) {
        error = "The option " + a + " needs a value.";
        return std::nullopt;
      }
      const std::string& value = args[++i];
      if (a == "--tab") {
        const auto tab = ParseTabOption(value, error);
        if (!tab) return std::nullopt;
        o.tab = *tab;
        o.tabGiven = true;
      } else {
        (a == "--out" ? o.out : o.pdf) = value;
      }
    } else if (a == "--all") {
      o.all = true;
    } else if (a == "--accumulated") {
      o.accumulated = true;
    } else if (!TakeInputWord(a, o.input, error)) {
      return std::nullopt;
    }
  }
  o.Check(error);
  if (!error.empty()) return std::nullopt;
  return o;
}

/// Why the outputs may not be written, or "" when they may.
std::string OutputsRefusal(const ReportOptions& o) {
  if (!o.out.empty() && !o.pdf.empty() && (o.out == o.pdf || SameFile(o.out, o.pdf))) {
    return "--out and --pdf name the same file " + o.out;
  }
  std::string why = OutputRefusal(o.out, "--out", o.input, false);
  if (why.empty()) why = OutputRefusal(o.pdf, "--pdf", o.input, false);
  return why;
}

/// What a report command wrote: nothing, the whole report, or every group
/// with a group that stopped on an error (its message has been shown).
enum class Written { Nothing, Whole, WithErrors };

/// The .log branch: the log is read into group 0 as the open command reads
/// it, its tab takes the caption "BASELINE: " and the baseline name, and
/// the report is the one the Total or Accumulated command writes.
Written ReportFromLog(BatchSession& session, const ReportOptions& options) {
  ProgramState& state = session.state;
  if (!options.TabExists(1) || !ReadLogIntoFirstTab(state, options.input)) {
    return Written::Nothing;
  }
  if (options.accumulated && !LogHasAccumulatedQuantities(state)) {
    state.dialogs.MessageBox("Present Log file has no Accumulated Quantities");
    return Written::Nothing;
  }
  state.Report.AccumulatedReport =
      options.accumulated ? ReportKind::Accumulated : ReportKind::Total;
  return CreateGeopakLogReport(state) ? Written::Whole : Written::Nothing;
}

/// Writes the report of one tab, as the window's report command does (no
/// report when it fails), or of every tab in turn into one file as the
/// stickup command does (a group that fails leaves its lines, and the
/// groups after it are written).
Written WriteEndAreaReports(ProgramState& state, const ReportOptions& options) {
  ProjectStore& store = state.Project;
  state.Report.AccumulatedReport =
      options.accumulated ? ReportKind::Accumulated : ReportKind::Total;
  if (!options.all) {
    // As the window reports a tab: clicked first, so the boxes show its group.
    store.CurrentGroup = static_cast<int16_t>(options.tab - 1);
    ShowCurrentGroup(state);
    state.Report.AppendToReport = false;
    return CreateTempRptFile(state) ? Written::Whole : Written::Nothing;
  }
  return WriteAllGroupReports(state) ? Written::Whole : Written::WithErrors;
}

bool CopyReport(const std::string& report, const std::string& target) {
  try {
    CopyFileAtomically(report, target);
    return true;
  } catch (const std::exception& e) {
    std::cerr << e.what() << "\n";
    return false;
  }
}

Written ReportFromEar(BatchSession& session, const ReportOptions& options) {
  ProgramState& state = session.state;
  if (!OpenEarFile(state, options.input)) return Written::Nothing;
  if (!options.TabExists(state.Project.GroupCount)) return Written::Nothing;
  return WriteEndAreaReports(state, options);
}

}  // namespace

int RunReport(const std::vector<std::string>& args) {
  std::string error;
  const auto options = ParseReportArgs(args, error);
  if (!options) {
    std::cerr << error << "\n" << kReportUsage;
    return 1;
  }
  if (const std::string why = OutputsRefusal(*options); !why.empty()) {
    std::cerr << why << "; nothing was written.\n";
    return 1;
  }
  const Drawing& drawing = InstalledDrawing();
  if (!options->pdf.empty() && drawing.reportPdf == nullptr) {
    std::cerr << "--pdf needs " << kQtProgramName << "; nothing was written.\n";
    return 1;
  }
  BatchSession session;
  ProgramState& state = session.state;
  const Written written = InputKindOf(options->input) == InputKind::Log
                              ? ReportFromLog(session, *options)
                              : ReportFromEar(session, *options);
  if (written == Written::Nothing) return 1;
  // The run's own report outlives the run in the report folder, replaced
  // whole: a run at the same time never leaves a mixture of two reports.
  const std::string published = ReportDirectory() + StripFile(state.Report.ReportFileName);
  if (!CopyReport(state.Report.ReportFileName, published)) return 1;
  if (!options->out.empty() && !CopyReport(state.Report.ReportFileName, options->out)) return 1;
  std::cout << "Report: " << published << "\n"
            << "Pages: " << state.Report.PageCount << "\n";
  if (!options->out.empty()) std::cout << "Copied to: " << options->out << "\n";
  if (!options->pdf.empty() && !drawing.reportPdf(state, options->pdf)) return 1;
  return written == Written::Whole ? 0 : 1;
}

}  // namespace earthwork::cli
