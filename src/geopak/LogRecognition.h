#pragma once

#include <cstdint>
#include <string>

#include "project/ProgramState.h"

namespace earthwork {

/// The line that marks an earthwork log, compared whole and exactly.
inline constexpr std::string_view kLogSignature = " 1     3     3 Earthwork";

/// 1 when the file named by CurrentFileName holds the signature line
/// anywhere, else 0. `path` is not read: the open command has put the
/// chosen path into CurrentFileName. A file that cannot be read is shown
/// as " Error: ... occured in CheckWhetherItIsLogFile" and gives 0.
int16_t CheckWhetherItIsLogFile(ProgramState& state, const std::string& path);

}  // namespace earthwork
