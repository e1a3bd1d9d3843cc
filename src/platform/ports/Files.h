#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ports/Failure.h"

// The operating system's files, folders and processes as the core uses them:
// one implementation per system under platform/files. Failures raise
// ProgramError with a text that names the path.

namespace earthwork::os {

/// An existing regular file open for reading. Opening refuses a missing
/// file ("File not found: <path>"), a folder ("Is a folder, not a file:
/// <path>"), a device, a pipe or any other kind of file, also behind a link
/// ("Not a regular file: <path>"), without reading from it or waiting on it,
/// and a file that may not be read ("Permission denied: <path>").
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
  intptr_t handle_ = -1;
  uint64_t size_ = 0;
};

/// Appends to the file being saved; raises on a failed write.
using Append = std::function<void(std::string_view bytes)>;

/// Replaces `path` with what `produce` appends, so that the file is either
/// the old one or the new one: a temporary file in the same folder is
/// written, flushed, synced, closed and renamed over the target. On any
/// failure the old file is untouched, the temporary file is removed and
/// "Cannot save <path>: <reason>" is raised. A link is saved through; a
/// folder, device or pipe, a file with other names (hard links) and a file
/// the user may not write are refused; an existing target keeps its
/// permissions. Temporary files that killed saves of processes no longer
/// running left in the folder are removed first.
void ReplaceFile(const std::string& path, const std::function<void(const Append&)>& produce);

/// Raises what ReplaceFile would raise for `path` before writing anything.
void CheckSaveTarget(const std::string& path);

/// True when `name` is the name of a temporary file of ReplaceFile.
bool IsSaveTemporaryName(std::string_view name);

/// The steps of ReplaceFile, in order.
enum class WriteStep { Create, Write, Flush, Sync, Close, Rename };

/// Test seam for failing saves: while an instance lives, `fail` is asked
/// before each step of every ReplaceFile; a non-zero answer is an errno value
/// with which that step fails as if the system had returned it. Instances
/// nest; the innermost one is asked.
class ScopedWriteFault {
 public:
  explicit ScopedWriteFault(std::function<int(WriteStep)> fail);
  ~ScopedWriteFault();
  ScopedWriteFault(const ScopedWriteFault&) = delete;
  ScopedWriteFault& operator=(const ScopedWriteFault&) = delete;

 private:
  std::function<int(WriteStep)> previous_;
};

/// True when `a` and `b` name the same existing file (links followed).
bool SameFile(const std::string& a, const std::string& b);

/// This process's number, and whether process `pid` is known to have ended
/// (a process that may still run counts as running).
int ProcessId();
bool ProcessEnded(int pid);

/// A name for the user, as used in the names of the user's folders.
std::string UserId();

/// Makes the folder `dir` (and the folders above it) when it is missing, for
/// the user alone. In a place other users share (`shared`) an existing
/// `dir` must be a real folder of the user's own that nobody else may write
/// into: a link is refused, never followed. Raises "Cannot write <dir>:
/// <reason>".
void MakeUserFolder(const std::string& dir, bool shared);

/// Makes the folder `path` for the user alone; false when it exists
/// already. Raises "Cannot write <path>: <reason>" on any other failure.
bool MakeNewFolder(const std::string& path);

}  // namespace earthwork::os
