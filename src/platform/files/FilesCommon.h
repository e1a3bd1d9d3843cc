#pragma once

#include <string>
#include <string_view>

#include "platform/ports/Files.h"

// What the file calls of every system share.

namespace earthwork::os {

/// A fresh name for a temporary file of process `pid`:
/// ".earthwork-<pid>-<n>.tmp", short enough beside any file name.
std::string TemporaryName(int pid);

/// The process that made a temporary file, from its name; 0 for any other
/// name.
int TemporaryOwner(std::string_view name);

/// Why a file with `links` names is not saved over.
std::string HardLinkReason(unsigned links);

/// The errno value the innermost ScopedWriteFault gives for `step`, else 0.
int InjectedFault(WriteStep step);

}  // namespace earthwork::os
