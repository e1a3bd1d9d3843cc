#pragma once

#include <string>
#include <string_view>

namespace earthwork {

/// What the first line of a file makes of it for the project reader: a
/// "VERSION 2002" or "VERSION 97.1" file, one of the oldest files (which
/// begin with "00000"), or no project file at all.
enum class EarFirstLine { Version2002, Version971, Oldest, NotEar };

EarFirstLine ClassifyEarFirstLine(std::string_view line);

/// What a file given to open or report is taken for: a ".log" or ".ear"
/// file name (in any case) says; any other name is an EarFile when its
/// first line is one's, else a log (whose recognition then decides). Only
/// the file-name part counts: a folder named "x.log" says nothing.
enum class InputKind { Ear, Log };

InputKind InputKindOf(const std::string& path);

/// True for a line of the station table written beside a log: a station,
/// "-", the cut area (may be missing), "0.00", the fill area and "0.00",
/// separated by blanks.
bool IsStationTableLine(std::string_view line);

}  // namespace earthwork
