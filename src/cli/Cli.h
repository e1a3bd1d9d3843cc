#pragma once

#include <string>
#include <vector>

namespace earthwork::cli {

/// Runs a batch command; returns the process exit code. `args` excludes the
/// program name. Output goes to stdout, messages to stderr.
int Run(const std::vector<std::string>& args);

/// True when `args` name a batch command (or ask for help).
bool IsBatchCommand(const std::vector<std::string>& args);

// The commands, one file each. `args` excludes the command word.
int RunConvert(const std::vector<std::string>& args);
int RunReport(const std::vector<std::string>& args);
int RunPages(const std::vector<std::string>& args);

}  // namespace earthwork::cli
