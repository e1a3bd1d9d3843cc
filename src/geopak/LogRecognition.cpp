#include "geopak/LogRecognition.h"

#include <algorithm>
#include <vector>

#include "project/Errors.h"
#include "project/FileIO.h"

namespace earthwork {

bool HasLogSignature(const std::string& path) {
  InputFile in(path);
  // A file no log can be is not read through only to be refused after.
  RequireSizeAtMost(path, in.Size(), kMaxLogFileBytes);
  // Lines are compared as they stream past, so a huge or binary file is
  // never held whole. CR LF, LF and a lone CR end a line.
  const std::string_view sig = kLogSignature;
  size_t length = 0;  // bytes of the current line so far
  bool matching = true;
  bool afterCr = false;
  const auto endLine = [&] {
    const bool found = matching && length == sig.size();
    length = 0;
    matching = true;
    return found;
  };
  std::vector<char> buffer(1 << 16);
  while (const size_t got = in.Read(buffer.data(), buffer.size())) {
    const std::string_view chunk(buffer.data(), got);
    size_t pos = 0;
    while (pos < chunk.size()) {
      if (afterCr && chunk[pos] == '\n') ++pos;  // the LF of a CR LF
      afterCr = false;
      const size_t end = std::min(chunk.find('\n', pos), chunk.find('\r', pos));
      const std::string_view piece = chunk.substr(pos, end - pos);
      if (matching) {
        matching = length + piece.size() <= sig.size() && sig.substr(length, piece.size()) == piece;
      }
      length += piece.size();
      if (end == std::string_view::npos) break;
      if (endLine()) return true;
      afterCr = chunk[end] == '\r';
      pos = end + 1;
    }
  }
  return endLine();  // a last line without a line end
}

LogKind RecognizeLogFile(ProgramState& state) {
  bool log = false;
  const Result read = Trap(state.dialogs, " Error: ", " occured in CheckWhetherItIsLogFile",
                           [&] { log = HasLogSignature(state.Project.CurrentFileName); });
  if (!read) return LogKind::Unreadable;
  return log ? LogKind::Log : LogKind::NotALog;
}

int16_t CheckWhetherItIsLogFile(ProgramState& state, const std::string& /*path*/) {
  return RecognizeLogFile(state) == LogKind::Log ? 1 : 0;
}

}  // namespace earthwork
