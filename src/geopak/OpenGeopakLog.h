#pragma once

#include <functional>
#include <string>

#include "project/ProgramState.h"

namespace earthwork {

/// Names the tab of the group a log went into, between the import and the
/// report. It receives "BASELINE: " and the baseline name; the open command
/// first asks about a tab of the same name. Without one, the tab takes the
/// caption as it is.
using TabNamer = std::function<void(ProgramState& state, const std::string& caption)>;

/// The log path of the open command without its window parts: the path
/// becomes CurrentFileName; a file that is not an earthwork log is refused
/// with " The file selected is not a Geopak Earthwork log file" (failed).
/// Otherwise the log is read into the current group, the tab is named and
/// the report is written: the total report, or the accumulated one when the
/// log holds accumulated quantities. Done when the log was read, also when
/// its report failed (that message has been shown); the caller shows the
/// report.
[[nodiscard]] Result OpenGeopakLog(ProgramState& state, const std::string& path,
                                   const TabNamer& nameTab = {});

/// OpenGeopakLog up to the report, for callers that choose the report kind
/// themselves.
[[nodiscard]] Result ImportGeopakLog(ProgramState& state, const std::string& path,
                                     const TabNamer& nameTab = {});

}  // namespace earthwork
