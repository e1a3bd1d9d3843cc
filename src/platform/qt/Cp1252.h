#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace earthwork::qt {

/// Single-byte Windows-1252 text to a QString. The five bytes that 1252
/// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the control
/// characters of the same value, so every byte survives a round trip.
QString FromCp1252(std::string_view bytes);

/// A QString back to 1252 bytes; a character outside the code page becomes
/// "?" (the only lossy case, and the one a single-byte file cannot hold).
std::string ToCp1252(const QString& text);

/// Core text that may carry a file path: paths are UTF-8 on every system
/// (the Windows adapters call the system with their wide form), other text
/// is 1252. Text that is valid UTF-8 with at least one multi-byte character
/// is read as UTF-8.
QString FromCoreText(std::string_view bytes);

/// A path from a Qt dialog in the form the core opens files with.
std::string ToCorePath(const QString& path);

}  // namespace earthwork::qt
