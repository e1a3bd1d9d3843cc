#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "project/ProgramState.h"

namespace earthwork {

/// How the end-area writer measures the interval ending at a row: skip
/// areas, station equations and forced balances. Cleared at the start of
/// every run.
struct EndAreaFlags {
  int16_t SkipOn = 0;
  int16_t SkipEvent = 0;             // 1 a skip area opens here, 2 it closes here
  int16_t GapPending = 0;            // 1 BK row before its AH row, 2 a lone BK
  int16_t OverlapPending = 0;        // 1 AH row before its BK row, 2 a lone AH
  int16_t PairBack = 0;              // the next row pairs its areas with row n - 2
  int16_t ForcedBalancePending = 0;  // an FB row is being written
};

/// Who recounts the pages after a report run: the run itself, or the
/// caller that appends several groups in a row and counts once after the
/// last (the count of a file that is still growing is never looked at).
enum class PageRecount { AfterRun, ByCaller };

/// Writes the end-area volume report of the current group into the
/// ReportFile (created, or appended to while AppendToReport is 1), adds to
/// the grand totals, clears AppendToReport and recounts the pages. Failures
/// are shown as messages. Done when the whole report was written; failed
/// when it was refused or stopped by an error.
[[nodiscard]] Result CreateTempRptFile(ProgramState& state,
                                       PageRecount recount = PageRecount::AfterRun);

/// One row of the end-area report as the report computes it. Volumes are
/// the whole interval's (the report splits its line at a balance point).
struct EndAreaRow {
  int16_t row = 0;
  double station = 0;  // as the report shows it
  std::string code;
  double cutArea = 0, fillArea = 0;
  double addedCut = 0, addedFill = 0;
  int32_t cutVolume = 0, fillVolume = 0, adjustedFill = 0;
  /// The end areas the interval pairs (0 for an area that does not count),
  /// and the length the report gives it.
  double cutStart = 0, cutEnd = 0, fillStart = 0, fillEnd = 0;
  double intervalLength = 0;
  int32_t massBefore = 0;
  int32_t massAfterInterval = 0;  // before a forced balance sets it to 0
  int32_t mass = 0;               // the report's MASS ORDINATE
  bool forcedBalance = false;
};

/// Volume per (hundred length units x sum of the two end areas): half of
/// the cubic yards per 100 ft x square feet, or of the cubic metres per
/// 100 m x square metres.
double EndAreaVolumeFactor(Units units);

/// Walks the rows of `group` as the end-area report does, writing nothing,
/// showing nothing and adding to no totals, and hands each row's figures to
/// `observer`. Raises ProgramError where the report stops on an error.
void WalkEndAreaRows(const GroupRecord& group, Units units,
                     const std::function<void(const EndAreaRow&)>& observer);

/// The ReportFile name of the project: the file-name part of
/// CurrentFileName up to its first ".", and ".rpt". Throws ProgramError
/// when the name has no ".".
std::string EndAreaReportName(const ProjectStore& store);

/// The station of data row `row` of the current group as a number.
double GetStation(const ProgramState& state, int16_t row);

/// The sum of end areas of `column` (2 cut, 4 fill) used for the interval
/// ending at `row`; `mode` is "OE", "SA" or "NA" (see EndAreaFlags). "NA"
/// may clear OverlapPending.
double GetSum(const CellTable& cells, EndAreaFlags& flags, int16_t row, int16_t column,
              std::string_view mode);

}  // namespace earthwork
