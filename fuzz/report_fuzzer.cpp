// The end-area report of a fuzzed group: stations that rise, repeat, fall or
// are not numbers at all, the codes SA, FB, BK and AH in any order, areas and
// added volumes from zero to far past the 32-bit range, any balance factor.
// The writer must not crash, every line of the file must fit the report's
// width, a finished report must end with its closing line, and the page
// count must describe the file; its pages must render. Header texts of any
// length never turn into report lines.

#include <array>

#include "FuzzSupport.h"
#include "RecordingPageSurface.h"
#include "printing/PagePrint.h"
#include "printing/Paging.h"
#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/Format.h"
#include "reports/EndAreaReport.h"
#include "support/TestFiles.h"

namespace earthwork::fuzz {
namespace {

const std::array<const char*, 10> kCodes = {"",  "SA",  "FB", "BK",   "AH",
                                            "-", "0.0", "sa", " BK ", "SAFB"};
const std::array<const char*, 10> kFactors = {"1.00",   "0.85", "1.15",        "",    "abc",
                                              "01.000", "-2.5", "99999999999", "1e5", "0"};

std::string Number(ByteReader& in) {
  switch (in.Pick(8)) {
    case 0:
      return "0.00";
    case 1:
      return FormatArea(in.Byte());
    case 2:
      return FormatArea(in.Word() / 100.0);
    case 3:
      return FormatArea(-static_cast<double>(in.Word()));
    case 4: {
      const std::array<double, 6> huge = {2147483647.0, 2147483648.0, 1e12, 1e15, 1e300, 4.5e9};
      return FormatArea(huge[in.Pick(huge.size())]);
    }
    case 5:
      return in.Text(12);
    case 6:
      return "";
    default:
      return FormatArea(in.Word());
  }
}

std::string StationCell(ByteReader& in, double& station) {
  switch (in.Pick(8)) {
    case 0:
      break;  // the same station again
    case 1:
      station -= in.Byte();
      break;
    case 2:
      station += in.Word();
      break;
    case 3:
      return in.Text(16);  // equation suffixes, plus notation, garbage
    case 4:
      station = in.Pick(2) == 0 ? 1e12 : -1e12;
      break;
    default: {
      const double whole = in.Byte();  // read in a fixed order, so replays match
      station += whole + in.Byte() / 100.0;
      break;
    }
  }
  return FormatStation(station);
}

void CheckReport(ProgramState& state, bool finished) {
  std::string bytes;
  try {
    bytes = ReadWholeFile(state.Report.ReportFileName);
  } catch (const ProgramError&) {
    if (finished) Fail("a finished report left no file");
    return;
  }
  const std::vector<std::string> lines = SplitLines(bytes);
  for (const std::string& line : lines) {
    if (line.size() > 200) Fail("a report line of " + std::to_string(line.size()) + " characters");
    ReformatToPrint(line);
  }
  if (finished && (lines.empty() || lines.back() != std::string(65, '#'))) {
    Fail("a finished report does not end with its closing line");
  }
  const int32_t pages = PagesForDisplayLines(CountDisplayLines(bytes));
  if (state.Report.PageCount != pages) {
    Fail("PageCount " + std::to_string(state.Report.PageCount) + " for a file of " +
         std::to_string(pages) + " pages");
  }
  std::vector<std::string> drawn;
  testing::RecordingPageSurface surface(drawn);
  testing::FixedClock clock;
  PreparePrinter(state, surface);
  for (int page : {1, 2, static_cast<int>(pages)}) {
    if (page > pages) continue;
    state.Report.CurrentPage = static_cast<int16_t>(page);
    if (!PrintOneByOne(state, surface, clock)) Fail("page " + std::to_string(page));
  }
}

}  // namespace
}  // namespace earthwork::fuzz

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace earthwork;
  using namespace earthwork::fuzz;
  FuzzWorld& world = FuzzWorld::Get();
  ProgramState& state = world.Fresh();
  ProjectStore& store = state.Project;
  ByteReader in(data, size);

  const uint8_t flags = in.Byte();
  store.UnitSystem = (flags & 1) != 0 ? Units::Metric : Units::English;
  state.Report.AccumulatedReport = (flags & 2) != 0 ? ReportKind::Accumulated : ReportKind::Total;
  // A value no command sets writes no data lines.
  if ((flags & 0x30) == 0x30) state.Report.AccumulatedReport = static_cast<ReportKind>(2);
  world.state.Window.Embankment = (flags & 4) != 0;
  switch (in.Pick(8)) {
    case 0:
      store.CurrentFileName = "UNTITLED";
      break;
    case 1:
      store.CurrentFileName = world.Path("noextension");
      break;
    default:
      store.CurrentFileName = world.Path("fuzz.ear");
  }
  store.CurrentGroup = static_cast<int16_t>(in.Pick(kGroupSlots));
  store.GroupCount = static_cast<int16_t>(store.CurrentGroup + 1);
  for (int g = 0; g < store.GroupCount; ++g) store.Group(g).Cells.at(0, Station) = kEndOfRows;
  GroupRecord& group = store.Current();
  group.Name = in.Text(24);
  group.BalanceFactor = in.Pick(4) == 0 ? in.Text(12) : kFactors[in.Pick(kFactors.size())];
  for (std::string& field : store.HeaderFields) {
    // Now and then longer than a report line.
    field = in.Pick(4) == 0 ? std::string(in.Byte() * 3u, 'x') + in.Text(20) : in.Text(20);
  }

  int rows = 0;
  double station = in.Word();
  while (!in.Empty() && rows < kMaxDataRows) {
    group.Cells.at(rows, Station) = StationCell(in, station);
    group.Cells.at(rows, Code) = kCodes[in.Pick(kCodes.size())];
    for (int column = Cut; column <= AddedFill; ++column) {
      group.Cells.at(rows, column) = Number(in);
    }
    ++rows;
  }
  group.Cells.at(rows, Station) = kEndOfRows;

  const bool finished = CreateTempRptFile(state).Ok();
  if (IsUntitled(store.CurrentFileName)) {
    if (finished) Fail("a report of an untitled project");
    return 0;
  }
  if (state.Report.AppendToReport) Fail("AppendToReport was left set");
  CheckReport(state, finished);
  // The same report without header texts shows the same lines.
  if (!finished) return 0;
  const int64_t shown = CountDisplayLines(testing::ReadBytes(state.Report.ReportFileName));
  store.HeaderFields = {};
  (void)CreateTempRptFile(state);
  if (CountDisplayLines(testing::ReadBytes(state.Report.ReportFileName)) != shown) {
    Fail("a header text became a report line");
  }
  return 0;
}
