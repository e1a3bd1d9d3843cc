#pragma once

#include <string>
#include <string_view>

// Windows only: the core's paths are UTF-8, the system's calls take wide text.

namespace earthwork::os {

/// A path of the core in the wide form the system's calls take. Bytes that
/// are not UTF-8 are read as Windows-1252, the code page a Western system's
/// command line gives them in.
std::wstring WidePath(std::string_view path);

/// The system's wide text as the core keeps text from it (UTF-8).
std::string Utf8(std::wstring_view text);

}  // namespace earthwork::os
