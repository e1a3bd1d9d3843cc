#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports/Files.h"

namespace earthwork {

/// The longest line any reader takes. No line of a file this program writes
/// comes near it; a longer one (a damaged or foreign file) would otherwise
/// cost memory and time out of all proportion.
constexpr size_t kMaxLineLength = 65536;

/// The largest project file read: the fullest project (26 groups of 1800
/// rows) takes under 5 MB.
constexpr uint64_t kMaxEarFileBytes = uint64_t{64} << 20;
/// The largest log or report read.
constexpr uint64_t kMaxLogFileBytes = uint64_t{256} << 20;

/// The whole file as bytes. Raises ProgramError naming the path when the file
/// is missing ("File not found: <path>"), is a folder, a device, a pipe or
/// another kind of non-regular file (also behind a link; nothing blocks on
/// it), may not be read, is larger than `maxBytes`, or a read fails.
std::string ReadWholeFile(const std::string& path, uint64_t maxBytes = kMaxLogFileBytes);

/// Raises ProgramError "The file <path> is too large to read: <size>, at
/// most <maxBytes>" when `size` exceeds `maxBytes`.
void RequireSizeAtMost(const std::string& path, uint64_t size, uint64_t maxBytes);

/// ReadWholeFile, and refuses a file with a line longer than kMaxLineLength
/// ("Line <n> of <path> is <length> characters long; ...").
std::string ReadTextFile(const std::string& path, uint64_t maxBytes);

/// The first line of a file (without its line end), read without reading
/// the rest. Raises as ReadWholeFile does.
std::string ReadFirstLine(const std::string& path);

/// An existing regular file open for reading, refusing what ReadWholeFile
/// refuses without blocking on a pipe or a device.
using os::InputFile;

/// Splits file bytes into lines. CR LF, LF and a lone CR each end a line; a
/// final line end does not start another (empty) line.
std::vector<std::string> SplitLines(std::string_view bytes);

/// Walks the lines of file bytes in place, with the line ends of SplitLines,
/// so that a file of many lines costs no memory per line.
class LineCursor {
 public:
  explicit LineCursor(std::string_view bytes) : bytes_(bytes) {}
  /// The next line into `line`; false after the last one.
  bool Next(std::string_view& line);
  /// The 1-based number of the line last returned.
  size_t LineNumber() const { return lineNumber_; }
  void Rewind() {
    next_ = 0;
    lineNumber_ = 0;
  }

 private:
  std::string_view bytes_;
  size_t next_ = 0;
  size_t lineNumber_ = 0;
};

/// Replaces `path` with `bytes` so that the file is either the old one or
/// the new one, never a mixture; raises "Cannot save <path>: <reason>" and
/// leaves the old file as it was (os::ReplaceFile says what is refused).
void WriteFileAtomically(const std::string& path, std::string_view bytes);

/// WriteFileAtomically with the content of the file `from`, copied in
/// pieces. Raises "Cannot save <path>: ..." also when `from` cannot be read.
void CopyFileAtomically(const std::string& from, const std::string& path);

using os::CheckSaveTarget;
using os::IsSaveTemporaryName;
using os::SameFile;
using os::ScopedWriteFault;
using os::WriteStep;

}  // namespace earthwork
