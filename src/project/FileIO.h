#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

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

/// An existing regular file open for reading. Opening refuses what
/// ReadWholeFile refuses, without blocking on a pipe or a device.
class InputFile {
 public:
  explicit InputFile(const std::string& path);
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;
  uint64_t Size() const { return size_; }
  /// Up to `size` bytes into `buffer`; 0 at the end of the file. Raises
  /// "Cannot read <path>: <reason>".
  size_t Read(char* buffer, size_t size);

 private:
  std::string path_;
  int fd_ = -1;
  uint64_t size_ = 0;
};

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
/// the new one, never a mixture: a temporary file in the same folder is
/// written, flushed, synced, closed and then renamed over the target. On any
/// failure the old file is untouched, the temporary file is removed, and a
/// ProgramError "Cannot save <path>: <reason>" is raised.
/// - A link is saved through: the file it names gets the new content.
/// - A folder, device or pipe is refused, and so is a file with other names
///   (hard links), which a rename would leave holding the old content.
/// - An existing target's permission bits are kept.
/// - Temporary files that killed saves of processes no longer running left
///   in the folder are removed first.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

/// Raises the ProgramError that WriteFileAtomically would raise for `path`
/// before writing anything (a folder, device, pipe, a file with other
/// names or one the user may not write), so that a command can refuse
/// before it writes any of its outputs.
void CheckSaveTarget(const std::string& path);

/// WriteFileAtomically with the content of the file `from`, copied in
/// pieces. Raises "Cannot save <path>: ..." also when `from` cannot be read.
void CopyFileAtomically(const std::string& from, const std::string& path);

/// True when `a` and `b` name the same existing file (links followed).
bool SameFile(const std::string& a, const std::string& b);

/// The steps of WriteFileAtomically, in order.
enum class WriteStep { Create, Write, Flush, Sync, Close, Rename };

/// Test seam for failing saves: while an instance lives, `fail` is asked
/// before each step of every WriteFileAtomically; a non-zero answer is an
/// errno value with which that step fails as if the system had returned it.
/// Instances nest; the innermost one is asked.
class ScopedWriteFault {
 public:
  explicit ScopedWriteFault(std::function<int(WriteStep)> fail);
  ~ScopedWriteFault();
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

 private:
  std::function<int(WriteStep)> previous_;
};

/// True when `name` is the name of a temporary file of WriteFileAtomically.
bool IsSaveTemporaryName(std::string_view name);

}  // namespace earthwork
