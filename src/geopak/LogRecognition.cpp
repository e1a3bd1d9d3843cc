#include "geopak/LogRecognition.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "project/Errors.h"

namespace earthwork {

int16_t CheckWhetherItIsLogFile(ProgramState& state, const std::string& /*path*/) {
  int16_t result = 0;
  Trap(state.dialogs, " Error: ", " occured in CheckWhetherItIsLogFile", [&] {
    const std::string& file = state.Project.CurrentFileName;
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      if (errno == ENOENT) throw ProgramError("File not found: " + file);
      throw ProgramError("Cannot read " + file + ": " + std::strerror(errno));
    }
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
    while (in) {
      in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
      const std::string_view chunk(buffer.data(), static_cast<size_t>(in.gcount()));
      size_t pos = 0;
      while (pos < chunk.size()) {
        if (afterCr && chunk[pos] == '\n') ++pos;  // the LF of a CR LF
        afterCr = false;
        const size_t end = std::min(chunk.find('\n', pos), chunk.find('\r', pos));
        const std::string_view piece = chunk.substr(pos, end - pos);
        if (matching) {
          matching =
              length + piece.size() <= sig.size() && sig.substr(length, piece.size()) == piece;
        }
        length += piece.size();
        if (end == std::string_view::npos) break;
        if (endLine()) {
          result = 1;
          return;
        }
        afterCr = chunk[end] == '\r';
        pos = end + 1;
      }
    }
    if (in.bad()) throw ProgramError("Cannot read " + file + ": " + std::strerror(errno));
    if (endLine()) result = 1;  // a last line without a line end
  });
  return result;
}

}  // namespace earthwork
