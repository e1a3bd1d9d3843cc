// Any bytes as a GEOPAK earthwork log: recognition, the three-pass parser and
// the log report must not crash, and the page count must describe the report
// on disk. Bytes without the signature line are still parsed and reported,
// so the parser sees every input.

#include "FuzzSupport.h"
#include "RecordingPageSurface.h"
#include "geopak/LogParser.h"
#include "geopak/OpenGeopakLog.h"
#include "printing/PagePrint.h"
#include "printing/Paging.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "reports/GeopakLogReport.h"

namespace earthwork::fuzz {
namespace {

void CheckPages(ProgramState& state, const std::string& what) {
  const std::string& report = state.Report.ReportFileName;
  std::string bytes;
  try {
    bytes = ReadWholeFile(report);
  } catch (const ProgramError&) {
    return;  // no report was written: its failure has been shown
  }
  const int32_t expected = PagesForDisplayLines(CountDisplayLines(bytes));
  if (state.Report.PageCount != expected) {
    Fail(what + ": PageCount " + std::to_string(state.Report.PageCount) + ", the file has " +
         std::to_string(expected) + " pages");
  }
  // The first and the last page render without an error.
  std::vector<std::string> drawn;
  testing::RecordingPageSurface surface(drawn);
  testing::FixedClock clock;
  PreparePrinter(state, surface);
  for (int page : {1, static_cast<int>(expected)}) {
    state.Report.CurrentPage = static_cast<int16_t>(page);
    if (!PrintOneByOne(state, surface, clock)) Fail(what + ": page " + std::to_string(page));
  }
}

}  // namespace
}  // namespace earthwork::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace earthwork;
  using namespace earthwork::fuzz;
  FuzzWorld& world = FuzzWorld::Get();
  ProgramState& state = world.Fresh();
  const std::string path = world.WriteInput("input.log", data, size);
  if (OpenGeopakLog(state, path)) {
    CheckStoreLimits(state.Project, "opening a log");
    CheckPages(state, "the log report");
    // The other report kind of the same tables, as the report commands write it.
    state.Report.AccumulatedReport = state.Report.AccumulatedReport == ReportKind::Total
                                         ? ReportKind::Accumulated
                                         : ReportKind::Total;
    (void)CreateGeopakLogReport(state);
    CheckPages(state, "the other log report");
  } else {
    state.Project.CurrentFileName = path;
    (void)ReadGeopakLog(state);
    (void)CreateGeopakLogReport(state);
    CheckPages(state, "the report of a file without the signature");
  }
  return 0;
}
