#include "project/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project/Errors.h"

namespace earthwork {

namespace {

std::function<int(WriteStep)>& FaultHook() {
  static std::function<int(WriteStep)> hook;
  return hook;
}

std::string Reason(int error) {
  return std::strerror(error);
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::file_status status = fs::status(path, ec);
  if (status.type() == fs::file_type::not_found || path.empty()) {
    throw ProgramError("File not found: " + path);
  }
  if (ec) throw ProgramError("Cannot read " + path + ": " + ec.message());
  if (status.type() == fs::file_type::directory) {
    throw ProgramError("Is a folder, not a file: " + path);
  }
  if (status.type() != fs::file_type::regular) throw ProgramError("Not a regular file: " + path);

  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    const int error = errno;
    if (error == EACCES || error == EPERM) throw ProgramError("Permission denied: " + path);
    if (error == ENOENT) throw ProgramError("File not found: " + path);
    throw ProgramError("Cannot read " + path + ": " + Reason(error));
  }
  std::string bytes;
  char buffer[1 << 16];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) bytes.append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) throw ProgramError("Cannot read " + path + ": " + Reason(error));
  return bytes;
}

std::vector<std::string> SplitLines(std::string_view bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.emplace_back(bytes.substr(start, i - start));
      i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < bytes.size()) lines.emplace_back(bytes.substr(start));
  return lines;
}

void WriteFileAtomically(const std::string& path, std::string_view bytes) {
  namespace fs = std::filesystem;
  const fs::path target(path);
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  static unsigned counter = 0;
  std::string tempName = ".";
  tempName += target.filename().string();
  tempName += ".tmp-";
  tempName += std::to_string(::getpid());
  tempName += '-';
  tempName += std::to_string(counter++);
  const std::string temp = (folder / tempName).string();

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
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    ::fchmod(fd, old.st_mode & 07777);  // best effort: keep the user's permissions
  }
  file = ::fdopen(fd, "wb");
  if (file == nullptr) {
    const int error = errno;
    ::close(fd);
    fail(error);
  }

  if (int e = injected(WriteStep::Write)) fail(e);
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    fail(errno);
  }
  if (int e = injected(WriteStep::Flush)) fail(e);
  if (std::fflush(file) != 0) fail(errno);
  if (int e = injected(WriteStep::Sync)) fail(e);
  if (::fsync(::fileno(file)) != 0) fail(errno);
  if (int e = injected(WriteStep::Close)) fail(e);
  const int closed = std::fclose(file);
  file = nullptr;
  if (closed != 0) fail(errno);
  if (int e = injected(WriteStep::Rename)) fail(e);
  if (std::rename(temp.c_str(), path.c_str()) != 0) fail(errno);

  // Make the rename itself durable; a folder that cannot be synced does not
  // undo a save that has already replaced the file.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

ScopedWriteFault::ScopedWriteFault(std::function<int(WriteStep)> fail)
    : previous_(std::move(FaultHook())) {
  FaultHook() = std::move(fail);
}

ScopedWriteFault::~ScopedWriteFault() {
  FaultHook() = std::move(previous_);
}

}  // namespace earthwork
