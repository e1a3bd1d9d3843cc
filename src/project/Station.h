#pragma once

#include <cstdint>
#include <string_view>

#include "project/ProgramState.h"

namespace earthwork {

/// A station or cell text as a number. Plus notation counts the part before
/// "+" in hundreds (12+34.5 is 1234.5); unreadable text gives 0.
double StationTextToNumber(std::string_view text);

/// The grid's key filter: digits, ".", "+", Backspace, Enter and the letters
/// of the codes BK, AH, SA, FB. A refused key is set to 0; true when the key
/// is accepted.
bool IntOk(int16_t& key);

/// Failed when the station of data row `row` of the current group is lower
/// than the station of the row before it (the user has been told). Ahead
/// stations (texts with "A") may be lower.
Result CheckForAscendingOrder(ProgramState& state, int16_t row);

}  // namespace earthwork
