#include "project/FileKinds.h"

#include <vector>

#include "project/Errors.h"
#include "project/FileIO.h"
#include "project/Paths.h"
#include "project/Text.h"

namespace earthwork {

EarFirstLine ClassifyEarFirstLine(std::string_view line) {
  if (line.starts_with("00000")) return EarFirstLine::Oldest;
  if (!line.starts_with("[")) return EarFirstLine::NotEar;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return EarFirstLine::NotEar;
  const std::string_view tag = line.substr(1, close - 1);
  if (tag == "VERSION 2002") return EarFirstLine::Version2002;
  if (tag == "VERSION 97.1") return EarFirstLine::Version971;
  return EarFirstLine::NotEar;
}

InputKind InputKindOf(const std::string& path) {
  const std::string name = Upper(StripFile(path));
  if (name.ends_with(".LOG")) return InputKind::Log;
  if (name.ends_with(".EAR")) return InputKind::Ear;
  try {
    if (ClassifyEarFirstLine(ReadFirstLine(path)) == EarFirstLine::NotEar) return InputKind::Log;
  } catch (const ProgramError&) {
    // The reader says why it cannot read the file.
  }
  return InputKind::Ear;
}

bool IsStationTableLine(std::string_view line) {
  std::vector<std::string_view> tokens;
  size_t i = 0;
  while (i < line.size() && tokens.size() < 7) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    const size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (i > start) tokens.push_back(line.substr(start, i - start));
  }
  if (tokens.size() != 5 && tokens.size() != 6) return false;
  const size_t zeroAfterCut = tokens.size() - 3;
  return Contains(tokens[0], "+") && tokens[1] == "-" && tokens[zeroAfterCut] == "0.00" &&
         tokens.back() == "0.00";
}

}  // namespace earthwork
