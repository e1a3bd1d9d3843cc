#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace earthwork {

/// The whole file as bytes. Raises ProgramError naming the path when the file
/// is missing ("File not found: <path>"), is a folder or another kind of
/// non-regular file, may not be read, or a read fails.
std::string ReadWholeFile(const std::string& path);

/// Splits file bytes into lines. CR LF, LF and a lone CR each end a line; a
/// final line end does not start another (empty) line.
std::vector<std::string> SplitLines(std::string_view bytes);

/// Replaces `path` with `bytes` so that the file is either the old one or
/// the new one, never a mixture: a temporary file in the same folder is
/// written, flushed, synced, closed and then renamed over the target. On any
/// failure the old file is untouched, the temporary file is removed, and a
/// ProgramError "Cannot save <path>: <system reason>" is raised. An existing
/// target's permission bits are kept.
void WriteFileAtomically(const std::string& path, std::string_view bytes);

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

}  // namespace earthwork
