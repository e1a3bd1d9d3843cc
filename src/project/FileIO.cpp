#include "project/FileIO.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project/Errors.h"

namespace earthwork {

namespace {

namespace fs = std::filesystem;

std::function<int(WriteStep)>& FaultHook() {
  static std::function<int(WriteStep)> hook;
  return hook;
}

std::string Reason(int error) {
  return std::strerror(error);
}

std::string Megabytes(uint64_t bytes) {
  const uint64_t tenths = (bytes * 10 + (uint64_t{1} << 19)) >> 20;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

/// The message of a file that is there but is no regular file.
[[noreturn]] void RefuseKind(const std::string& path, mode_t mode) {
  if (S_ISDIR(mode)) throw ProgramError("Is a folder, not a file: " + path);
  throw ProgramError("Not a regular file: " + path);
}

[[noreturn]] void RefuseOpen(const std::string& path, int error) {
  if (error == ENOENT || error == ENOTDIR) throw ProgramError("File not found: " + path);
  if (error == EACCES || error == EPERM) throw ProgramError("Permission denied: " + path);
  throw ProgramError("Cannot read " + path + ": " + Reason(error));
}

constexpr std::string_view kTempPrefix = ".earthwork-";
constexpr std::string_view kTempSuffix = ".tmp";

/// The process that made a temporary file, from its name
/// ".earthwork-<pid>-<n>.tmp"; 0 for any other name.
pid_t TemporaryOwner(std::string_view name) {
  if (!IsSaveTemporaryName(name)) return 0;
  pid_t pid = 0;
  for (size_t i = kTempPrefix.size(); name[i] != '-'; ++i) pid = pid * 10 + (name[i] - '0');
  return pid;
}

/// Removes the temporary files that saves killed before their rename left
/// in `folder`: those of processes that no longer run. Best effort.
void RemoveStaleTemporaries(const fs::path& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t owner = TemporaryOwner(entry->d_name);
    if (owner <= 0 || owner == ::getpid()) continue;
    if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

/// Where a save really writes: `path` with its links followed.
struct SaveTarget {
  std::string file;
  fs::path folder;
  bool exists = false;
  mode_t mode = 0;
};

SaveTarget ResolveSaveTarget(const std::string& path) {
  auto refuse = [&path](const std::string& why) {
    throw ProgramError("Cannot save " + path + ": " + why);
  };
  fs::path file(path);
  for (int links = 0;; ++links) {
    struct stat st {};
    if (::lstat(file.c_str(), &st) != 0) {
      if (errno != ENOENT) refuse(Reason(errno));
      break;  // a new file (or a link to one)
    }
    if (S_ISLNK(st.st_mode)) {
      if (links == 40) refuse(Reason(ELOOP));
      std::error_code ec;
      const fs::path to = fs::read_symlink(file, ec);
      if (ec) refuse(ec.message());
      file = to.is_absolute() ? to : file.parent_path() / to;
      continue;
    }
    if (S_ISDIR(st.st_mode)) refuse(Reason(EISDIR));
    if (!S_ISREG(st.st_mode)) refuse("Not a regular file");
    // A file the user may not write is theirs to protect, even though the
    // rename would be allowed by the folder.
    if (::access(file.c_str(), W_OK) != 0 && errno == EACCES) refuse(Reason(EACCES));
    if (st.st_nlink > 1) {
      refuse("the file has " + std::to_string(st.st_nlink) +
             " names (hard links) and saving would leave the others with the old content;"
             " save it under another name");
    }
    return {file.string(), file.parent_path().empty() ? fs::path(".") : file.parent_path(), true,
            st.st_mode};
  }
  // A new file: its folder must take it.
  const fs::path folder = file.parent_path().empty() ? fs::path(".") : file.parent_path();
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) refuse(Reason(errno));
  if (!S_ISDIR(st.st_mode)) refuse(Reason(ENOTDIR));
  if (::access(folder.c_str(), W_OK) != 0 && errno == EACCES) refuse(Reason(EACCES));
  return {file.string(), folder, false, 0};
}

/// Writes what `produce` puts into the open temporary file (returning 0, or
/// an errno value) and renames it over the target, as WriteFileAtomically
/// describes.
void ReplaceAtomically(const std::string& path, const std::function<int(std::FILE*)>& produce) {
  const SaveTarget target = ResolveSaveTarget(path);
  RemoveStaleTemporaries(target.folder);
  static unsigned counter = 0;
  std::string tempName(kTempPrefix);
  tempName += std::to_string(::getpid());
  tempName += '-';
  tempName += std::to_string(counter++);
  tempName += kTempSuffix;
  const std::string temp = (target.folder / tempName).string();

  std::FILE* file = nullptr;
  bool created = false;
  auto fail = [&](int error) {
    if (file != nullptr) std::fclose(file);
    if (created) ::unlink(temp.c_str());
    throw ProgramError("Cannot save " + path + ": " + Reason(error));
  };
  // The injected fault (if any) for a step, else 0.
  auto injected = [](WriteStep step) { return FaultHook() ? FaultHook()(step) : 0; };

  if (int e = injected(WriteStep::Create)) fail(e);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) fail(errno);
  created = true;
  if (target.exists) ::fchmod(fd, target.mode & 07777);  // best effort: the user's permissions
  file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    fail(error);
  }

  if (int e = injected(WriteStep::Write)) fail(e);
  if (int e = produce(file)) fail(e);
  if (int e = injected(WriteStep::Flush)) fail(e);
  if (std::fflush(file) != 0) fail(errno);
  if (int e = injected(WriteStep::Sync)) fail(e);
  if (::fsync(::fileno(file)) != 0) fail(errno);
  if (int e = injected(WriteStep::Close)) fail(e);
  const int closed = std::fclose(file);
  file = nullptr;
  if (closed != 0) fail(errno);
  if (int e = injected(WriteStep::Rename)) fail(e);
  if (std::rename(temp.c_str(), target.file.c_str()) != 0) fail(errno);

  // Make the rename itself durable; a folder that cannot be synced does not
  // undo a save that has already replaced the file.
  const int dir = ::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
  if (path.empty()) throw ProgramError("File not found: ");
  // Looked at before opening: opening some devices does something.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) RefuseOpen(path, errno);
  if (!S_ISREG(st.st_mode)) RefuseKind(path, st.st_mode);
  // Without waiting, should a pipe have taken the file's place meanwhile.
  fd_ = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) RefuseOpen(path, errno);
  if (::fstat(fd_, &st) != 0) {
    const int error = errno;
    ::close(fd_);
    RefuseOpen(path, error);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd_);
    RefuseKind(path, st.st_mode);
  }
  size_ = static_cast<uint64_t>(st.st_size);
}

InputFile::~InputFile() {
  if (fd_ >= 0) ::close(fd_);
}

size_t InputFile::Read(char* buffer, size_t size) {
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, size);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) throw ProgramError("Cannot read " + path_ + ": " + Reason(errno));
  }
}

void RequireSizeAtMost(const std::string& path, uint64_t size, uint64_t maxBytes) {
  if (size > maxBytes) {
    throw ProgramError("The file " + path + " is too large to read: " + Megabytes(size) +
                       ", at most " + Megabytes(maxBytes));
  }
}

std::string ReadWholeFile(const std::string& path, uint64_t maxBytes) {
  InputFile file(path);
  RequireSizeAtMost(path, file.Size(), maxBytes);
  std::string bytes;
  bytes.reserve(static_cast<size_t>(file.Size()));
  char buffer[1 << 16];
  while (const size_t got = file.Read(buffer, sizeof buffer)) {
    // A file that grows while it is read is still held to the limit.
    if (bytes.size() + got > maxBytes) {
      throw ProgramError("The file " + path + " is too large to read: more than " +
                         Megabytes(maxBytes));
    }
    bytes.append(buffer, got);
  }
  return bytes;
}

std::string ReadTextFile(const std::string& path, uint64_t maxBytes) {
  std::string bytes = ReadWholeFile(path, maxBytes);
  LineCursor lines(bytes);
  std::string_view line;
  while (lines.Next(line)) {
    if (line.size() > kMaxLineLength) {
      throw ProgramError("Line " + std::to_string(lines.LineNumber()) + " of " + path + " is " +
                         std::to_string(line.size()) + " characters long; a line holds at most " +
                         std::to_string(kMaxLineLength));
    }
  }
  return bytes;
}

std::string ReadFirstLine(const std::string& path) {
  InputFile file(path);
  std::string line;
  char buffer[4096];
  while (const size_t got = file.Read(buffer, sizeof buffer)) {
    const std::string_view piece(buffer, got);
    const size_t end = piece.find_first_of("\r\n");
    line += piece.substr(0, end);
    if (end != std::string_view::npos || line.size() > kMaxLineLength) break;
  }
  return line;
}

bool LineCursor::Next(std::string_view& line) {
  if (next_ >= bytes_.size()) return false;
  const char* const base = bytes_.data();
  const size_t n = bytes_.size();
  size_t end = next_;
  while (end < n && base[end] != '\r' && base[end] != '\n') ++end;
  line = bytes_.substr(next_, end - next_);
  next_ = end + ((end + 1 < n && base[end] == '\r' && base[end + 1] == '\n') ? 2 : 1);
  ++lineNumber_;
  return true;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  LineCursor cursor(bytes);
  std::string_view line;
  while (cursor.Next(line)) lines.emplace_back(line);
  return lines;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  ReplaceAtomically(path, [bytes](std::FILE* file) {
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
      return errno;
    }
    return 0;
  });
}

void CopyFileAtomically(const std::string& from, const std::string& path) {
  InputFile source(from);
  ReplaceAtomically(path, [&source](std::FILE* file) {
    std::vector<char> buffer(1 << 16);
    try {
      while (const size_t got = source.Read(buffer.data(), buffer.size())) {
        if (std::fwrite(buffer.data(), 1, got, file) != got) return errno;
      }
    } catch (const ProgramError&) {
      return EIO;
    }
    return 0;
  });
}

void CheckSaveTarget(const std::string& path) {
  ResolveSaveTarget(path);
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {};
  struct stat sb {};
  return ::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool IsSaveTemporaryName(std::string_view name) {
  if (!name.starts_with(kTempPrefix) || !name.ends_with(kTempSuffix)) return false;
  const std::string_view middle =
      name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
  const size_t dash = middle.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size() || dash > 9) {
    return false;
  }
  for (size_t i = 0; i < middle.size(); ++i) {
    if (i != dash && (middle[i] < '0' || middle[i] > '9')) return false;
  }
  return true;
}

ScopedWriteFault::ScopedWriteFault(std::function<int(WriteStep)> fail)
    : previous_(std::move(FaultHook())) {
  FaultHook() = std::move(fail);
}

ScopedWriteFault::~ScopedWriteFault() {
  FaultHook() = std::move(previous_);
}

}  // namespace earthwork
