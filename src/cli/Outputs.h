#pragma once

#include <string>
#include <string_view>

namespace earthwork::cli {

/// Why the batch command may not write `output` (named by `option`), or ""
/// when it may: no command writes over its own input, or over a file of
/// the user's earthwork data that it was not asked to make — a log, or a
/// project unless the command writes projects (`writesProjects`).
std::string OutputRefusal(const std::string& output, const std::string& option,
                          const std::string& input, bool writesProjects);

/// Writes `bytes` as the whole of `path` (replaced whole, never half
/// written) and says so; false, with the reason said, when it cannot.
bool WriteOutput(const std::string& path, std::string_view bytes);

}  // namespace earthwork::cli
