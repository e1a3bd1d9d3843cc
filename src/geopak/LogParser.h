#pragma once

#include <cstdint>
#include <string_view>

#include "project/ProgramState.h"

namespace earthwork {

/// Reads the log named by CurrentFileName into the log tables of the
/// current group, which start empty, in three passes (cross-section table,
/// balance points, grand summary), takes the baseline name, the unit system
/// and the accumulated marker, then turns the balance points into
/// increments. It writes no report: its caller does. The end of the log
/// ends the pass in progress; any other failure ends the import silently,
/// keeping what was stored.
/// Failed when the file could not be read at all (too large, a line too
/// long, unreadable): that is shown, and the tables stay empty.
[[nodiscard]] Result ReadGeopakLog(ProgramState& state);

// The line parsers. Each writes into the tables of the current group; a
// record or sub-line beyond the tables is not stored.

/// A cross-section station line: label and message of SectionTable[station].
/// A line that cannot be stored is shown as " Program Error: ... occured in
/// Parse_Station_String".
void Parse_Station_String(ProgramState& state, std::string_view line, int16_t& subLine,
                          int16_t station);
/// Any other line of the cross-section table: its tokens into sub-line
/// `subLine` of SectionTable[station], columns 1 to 9 (a single token into
/// column 0 of the sub-line after, moving `subLine` on).
void ParseSectionDetailLine(ProgramState& state, std::string_view line, int16_t& subLine,
                            int16_t station);
/// A balance-point station line: the label of PointTable[point].
void ParsePointStationLine(ProgramState& state, std::string_view line, int16_t& subLine,
                           int16_t point);
/// Any other line of the balance-point table, columns 1 to 7.
void ParsePointDetailLine(ProgramState& state, std::string_view line, int16_t& subLine,
                          int16_t point);
/// A grand summary line into SummaryTable[0], columns 1 to 7 (a single
/// token into column 0 of the same sub-line).
void ParseSummaryLine(ProgramState& state, std::string_view line, int16_t& subLine);

/// Turns the accumulated quantities of the balance points into increments
/// between consecutive entries; a done entry is marked in column 6, so a
/// second run changes nothing. Stops at the first error with its message.
[[nodiscard]] Result WriteIncrementalValue(ProgramState& state);

/// True when the current group's log holds accumulated quantities.
bool LogHasAccumulatedQuantities(const ProgramState& state);

}  // namespace earthwork
