#pragma once

#include <string>
#include <string_view>

namespace earthwork {

/// The file-name part of a path: the text after its last "\" (and, off
/// Windows, after its last "/" too).
std::string StripFile(std::string_view path);

/// The folder that stands for "c:\temp\", ending in a separator. On Windows
/// that folder itself; elsewhere $EARTHWORK_REPORT_DIR, or "earthwork" under
/// the user's temporary directory. Not created here.
std::string ReportDirectory();

}  // namespace earthwork
