#pragma once

namespace earthwork {

/// The application's title (default message box title, settings name,
/// About box) and its version as built.
inline constexpr const char* kApplicationTitle = "Earthwork";
inline constexpr int kVersionMajor = EARTHWORK_VERSION_MAJOR;
inline constexpr int kVersionMinor = EARTHWORK_VERSION_MINOR;
inline constexpr int kVersionRevision = EARTHWORK_VERSION_PATCH;

}  // namespace earthwork
