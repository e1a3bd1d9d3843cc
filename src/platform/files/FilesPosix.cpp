// The file, folder and process calls of the core on POSIX systems.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/files/FilesCommon.h"
#include "platform/ports/Files.h"

namespace earthwork::os {

namespace {

namespace fs = std::filesystem;

std::string Reason(int error) {
  return std::strerror(error);
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

/// Removes the temporary files that saves killed before their rename left
/// in `folder`: those of processes that no longer run. Best effort.
void RemoveStaleTemporaries(const fs::path& folder) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const int owner = TemporaryOwner(entry->d_name);
    if (owner > 0 && owner != ::getpid() && ProcessEnded(owner)) {
      ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
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

fs::path FolderOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

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
    if (st.st_nlink > 1) refuse(HardLinkReason(static_cast<unsigned>(st.st_nlink)));
    return {file.string(), FolderOf(file), true, st.st_mode};
  }
  // A new file: its folder must take it.
  const fs::path folder = FolderOf(file);
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) refuse(Reason(errno));
  if (!S_ISDIR(st.st_mode)) refuse(Reason(ENOTDIR));
  if (::access(folder.c_str(), W_OK) != 0 && errno == EACCES) refuse(Reason(EACCES));
  return {file.string(), folder, false, 0};
}

/// A failed write, with the system's error number.
struct WriteFailed {
  int error;
};

[[noreturn]] void CannotWrite(const std::string& dir, const std::string& why) {
  throw ProgramError("Cannot write " + dir + ": " + why);
}

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
  if (path.empty()) throw ProgramError("File not found: ");
  // Looked at before opening: opening some devices does something.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) RefuseOpen(path, errno);
  if (!S_ISREG(st.st_mode)) RefuseKind(path, st.st_mode);
  // Without waiting, should a pipe have taken the file's place meanwhile.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) RefuseOpen(path, errno);
  if (::fstat(fd, &st) != 0) {
    const int error = errno;
    ::close(fd);
    RefuseOpen(path, error);
  }
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    RefuseKind(path, st.st_mode);
  }
  handle_ = fd;
  size_ = static_cast<uint64_t>(st.st_size);
}

InputFile::~InputFile() {
  if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

size_t InputFile::Read(char* buffer, size_t size) {
  for (;;) {
    const ssize_t got = ::read(static_cast<int>(handle_), buffer, size);
    if (got >= 0) return static_cast<size_t>(got);
    if (errno != EINTR) throw ProgramError("Cannot read " + path_ + ": " + Reason(errno));
  }
}

void ReplaceFile(const std::string& path, const std::function<void(const Append&)>& produce) {
  const SaveTarget target = ResolveSaveTarget(path);
  RemoveStaleTemporaries(target.folder);
  const std::string temp = (target.folder / TemporaryName(::getpid())).string();

  std::FILE* file = nullptr;
  bool created = false;
  auto fail = [&](const std::string& reason) {
    if (file != nullptr) std::fclose(file);
    if (created) ::unlink(temp.c_str());
    throw ProgramError("Cannot save " + path + ": " + reason);
  };
  auto check = [&](WriteStep step) {
    if (const int e = InjectedFault(step)) fail(Reason(e));
  };

  check(WriteStep::Create);
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) fail(Reason(errno));
  created = true;
  if (target.exists) ::fchmod(fd, target.mode & 07777);  // best effort: the user's permissions
  file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    fail(Reason(error));
  }

  check(WriteStep::Write);
  try {
    produce([file](std::string_view bytes) {
      if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        throw WriteFailed{errno};
      }
    });
  } catch (const WriteFailed& e) {
    fail(Reason(e.error));
  } catch (const std::exception& e) {
    fail(e.what());
  }
  check(WriteStep::Flush);
  if (std::fflush(file) != 0) fail(Reason(errno));
  check(WriteStep::Sync);
  if (::fsync(::fileno(file)) != 0) fail(Reason(errno));
  check(WriteStep::Close);
  const int closed = std::fclose(file);
  file = nullptr;
  if (closed != 0) fail(Reason(errno));
  check(WriteStep::Rename);
  if (std::rename(temp.c_str(), target.file.c_str()) != 0) fail(Reason(errno));

  // Make the rename itself durable; a folder that cannot be synced does not
  // undo a save that has already replaced the file.
  const int dir = ::open(target.folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
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

int ProcessId() {
  return static_cast<int>(::getpid());
}

bool ProcessEnded(int pid) {
  return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

std::string UserId() {
  return std::to_string(::getuid());
}

void MakeUserFolder(const std::string& dir, bool shared) {
  std::error_code ec;
  fs::create_directories(fs::path(dir).parent_path(), ec);
  if (::mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST) CannotWrite(dir, Reason(errno));
  struct stat st {};
  if ((shared ? ::lstat(dir.c_str(), &st) : ::stat(dir.c_str(), &st)) != 0) {
    CannotWrite(dir, Reason(errno));
  }
  if (!S_ISDIR(st.st_mode)) CannotWrite(dir, Reason(ENOTDIR));
  if (shared && (st.st_uid != ::getuid() || (st.st_mode & 022) != 0)) {
    CannotWrite(dir, "the folder belongs to another user or others may write in it");
  }
}

bool MakeNewFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0) return true;
  if (errno == EEXIST) return false;
  CannotWrite(path, Reason(errno));
}

}  // namespace earthwork::os
