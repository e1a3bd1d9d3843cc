#pragma once

#include <cstdint>
#include <string>

#include "project/ProgramState.h"

namespace earthwork {

/// The line that marks an earthwork log, compared whole and exactly.
inline constexpr std::string_view kLogSignature = " 1     3     3 Earthwork";

/// True when the file holds the signature line anywhere; the file is read
/// in pieces, never whole. Raises ProgramError when it cannot be read.
bool HasLogSignature(const std::string& path);

enum class LogKind { Log, NotALog, Unreadable };

/// Whether the file named by CurrentFileName holds the signature line
/// anywhere. A file that cannot be read (missing, no regular file, no
/// permission: a pipe or a device is refused without reading from it) is
/// shown as " Error: <reason> occured in CheckWhetherItIsLogFile".
LogKind RecognizeLogFile(ProgramState& state);

/// RecognizeLogFile as 1 (a log) or 0. `path` is not read: the open command
/// has put the chosen path into CurrentFileName.
int16_t CheckWhetherItIsLogFile(ProgramState& state, const std::string& path);

}  // namespace earthwork
