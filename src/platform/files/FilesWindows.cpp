// The file, folder and process calls of the core on Windows. The core keeps
// paths in UTF-8; the system is called with their wide form, so that every
// name the system allows can be opened and saved.
#include <windows.h>
// The port's ReplaceFile is also a Windows macro (ReplaceFileA).
#undef ReplaceFile

#include <cstring>
#include <filesystem>

#include "platform/files/FilesCommon.h"
#include "platform/files/WindowsPaths.h"
#include "platform/ports/Files.h"

namespace earthwork::os {

std::wstring WidePath(std::string_view path) {
  if (path.empty()) return {};
  const int size = static_cast<int>(path.size());
  // Text that is not UTF-8 came from the system's single-byte code page
  // (Windows-1252 on a Western system's command line).
  UINT codePage = CP_UTF8;
  int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, path.data(), size, nullptr, 0);
  if (length == 0) {
    codePage = 1252;
    length = MultiByteToWideChar(codePage, 0, path.data(), size, nullptr, 0);
  }
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(codePage, codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0, path.data(), size,
                      wide.data(), length);
  return wide;
}

std::string Utf8(std::wstring_view text) {
  if (text.empty()) return {};
  const int size = static_cast<int>(text.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

namespace {

namespace fs = std::filesystem;

/// The system's text for an error code, without its line end.
std::string Reason(DWORD error) {
  wchar_t text[512] = {};
  const DWORD length =
      FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                     text, sizeof text / sizeof text[0], nullptr);
  std::string reason = Utf8(std::wstring_view(text, length));
  while (!reason.empty() && (reason.back() == '\r' || reason.back() == '\n' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason.empty() ? "error " + std::to_string(error) : reason;
}

/// The text of an injected fault, an errno value.
std::string FaultReason(int error) {
  return std::strerror(error);
}

bool Missing(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

/// A handle that closes itself.
struct Handle {
  HANDLE h = INVALID_HANDLE_VALUE;
  explicit Handle(HANDLE handle) : h(handle) {}
  ~Handle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool Valid() const { return h != INVALID_HANDLE_VALUE; }
};

/// Opens a file or folder only to ask about it (links followed).
HANDLE OpenToInspect(const std::string& path) {
  return CreateFileW(WidePath(path).c_str(), 0,
                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

fs::path FolderOf(const fs::path& file) {
  return file.parent_path().empty() ? fs::path(".") : file.parent_path();
}

/// Where a save really writes: `path` with its links followed.
struct SaveTarget {
  std::wstring file;
  fs::path folder;
};

SaveTarget ResolveSaveTarget(const std::string& path) {
  auto refuse = [&path](const std::string& why) {
    throw ProgramError("Cannot save " + path + ": " + why);
  };
  const std::wstring wide = WidePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (!Missing(error)) refuse(Reason(error));
    // A new file: its folder must take it.
    const fs::path folder = FolderOf(fs::path(wide));
    const DWORD folderAttributes = GetFileAttributesW(folder.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES) refuse(Reason(GetLastError()));
    if (!(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) refuse("Not a directory");
    return {wide, folder};
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) refuse("Is a directory");
  Handle file(OpenToInspect(path));
  if (!file.Valid()) refuse(Reason(GetLastError()));
  if (GetFileType(file.h) != FILE_TYPE_DISK) refuse("Not a regular file");
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file.h, &info)) refuse(Reason(GetLastError()));
  if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) refuse(Reason(ERROR_ACCESS_DENIED));
  if (info.nNumberOfLinks > 1) refuse(HardLinkReason(info.nNumberOfLinks));
  // A link is saved through: the file it names is replaced.
  std::wstring target = wide;
  if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
    wchar_t final[MAX_PATH * 4] = {};
    const DWORD capacity = sizeof final / sizeof final[0];
    const DWORD length = GetFinalPathNameByHandleW(file.h, final, capacity, 0);
    if (length == 0 || length >= capacity) refuse(Reason(GetLastError()));
    target.assign(final, length);
    if (target.rfind(L"\\\\?\\", 0) == 0) target.erase(0, 4);
  }
  return {target, FolderOf(fs::path(target))};
}

/// Removes the temporary files that saves killed before their rename left
/// in `folder`: those of processes that no longer run. Best effort.
void RemoveStaleTemporaries(const fs::path& folder) {
  WIN32_FIND_DATAW found{};
  const std::wstring pattern = (folder / L".earthwork-*.tmp").wstring();
  const HANDLE search = FindFirstFileW(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const int owner = TemporaryOwner(Utf8(found.cFileName));
    if (owner > 0 && owner != ProcessId() && ProcessEnded(owner)) {
      DeleteFileW((folder / found.cFileName).c_str());
    }
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

/// A failed write, with the system's error code.
struct WriteFailed {
  DWORD error;
};

[[noreturn]] void CannotWrite(const std::string& dir, const std::string& why) {
  throw ProgramError("Cannot write " + dir + ": " + why);
}

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
  if (path.empty()) throw ProgramError("File not found: ");
  const std::wstring wide = WidePath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (Missing(error)) throw ProgramError("File not found: " + path);
    if (error == ERROR_ACCESS_DENIED) throw ProgramError("Permission denied: " + path);
    // Device names (NUL, CON) have no attributes: they are no files.
    throw ProgramError("Not a regular file: " + path);
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    throw ProgramError("Is a folder, not a file: " + path);
  }
  const HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
      throw ProgramError("Permission denied: " + path);
    }
    throw ProgramError("Cannot read " + path + ": " + Reason(error));
  }
  LARGE_INTEGER size{};
  if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
    CloseHandle(file);
    throw ProgramError("Not a regular file: " + path);
  }
  handle_ = reinterpret_cast<intptr_t>(file);
  size_ = static_cast<uint64_t>(size.QuadPart);
}

InputFile::~InputFile() {
  if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

size_t InputFile::Read(char* buffer, size_t size) {
  DWORD got = 0;
  const DWORD asked = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
  if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, asked, &got, nullptr)) {
    throw ProgramError("Cannot read " + path_ + ": " + Reason(GetLastError()));
  }
  return got;
}

void ReplaceFile(const std::string& path, const std::function<void(const Append&)>& produce) {
  const SaveTarget target = ResolveSaveTarget(path);
  RemoveStaleTemporaries(target.folder);
  const std::wstring temp = (target.folder / WidePath(TemporaryName(ProcessId()))).wstring();

  HANDLE file = INVALID_HANDLE_VALUE;
  bool created = false;
  auto fail = [&](const std::string& reason) {
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (created) DeleteFileW(temp.c_str());
    throw ProgramError("Cannot save " + path + ": " + reason);
  };
  auto check = [&](WriteStep step) {
    if (const int e = InjectedFault(step)) fail(FaultReason(e));
  };

  check(WriteStep::Create);
  file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
  if (file == INVALID_HANDLE_VALUE) fail(Reason(GetLastError()));
  created = true;

  check(WriteStep::Write);
  try {
    produce([file](std::string_view bytes) {
      while (!bytes.empty()) {
        const DWORD chunk =
            bytes.size() > 0x40000000 ? 0x40000000 : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
          throw WriteFailed{GetLastError()};
        }
        bytes.remove_prefix(written);
      }
    });
  } catch (const WriteFailed& e) {
    fail(Reason(e.error));
  } catch (const std::exception& e) {
    fail(e.what());
  }
  // Written straight to the file: there is no buffer of our own to flush.
  check(WriteStep::Flush);
  check(WriteStep::Sync);
  if (!FlushFileBuffers(file)) fail(Reason(GetLastError()));
  check(WriteStep::Close);
  const BOOL closed = CloseHandle(file);
  file = INVALID_HANDLE_VALUE;
  if (!closed) fail(Reason(GetLastError()));
  check(WriteStep::Rename);
  if (!MoveFileExW(temp.c_str(), target.file.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    fail(Reason(GetLastError()));
  }
}

void CheckSaveTarget(const std::string& path) {
  ResolveSaveTarget(path);
}

bool SameFile(const std::string& a, const std::string& b) {
  Handle first(OpenToInspect(a));
  Handle second(OpenToInspect(b));
  BY_HANDLE_FILE_INFORMATION x{};
  BY_HANDLE_FILE_INFORMATION y{};
  return first.Valid() && second.Valid() && GetFileInformationByHandle(first.h, &x) &&
         GetFileInformationByHandle(second.h, &y) &&
         x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.nFileIndexLow == y.nFileIndexLow;
}

int ProcessId() {
  return static_cast<int>(GetCurrentProcessId());
}

bool ProcessEnded(int pid) {
  const HANDLE process =
      OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
  if (process == nullptr) return GetLastError() == ERROR_INVALID_PARAMETER;
  DWORD code = 0;
  const bool ended = GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
  CloseHandle(process);
  return ended;
}

std::string UserId() {
  wchar_t name[257] = {};
  DWORD length = sizeof name / sizeof name[0];
  return GetUserNameW(name, &length) && length > 1 ? Utf8(std::wstring_view(name, length - 1))
                                                   : "user";
}

void MakeUserFolder(const std::string& dir, bool shared) {
  std::error_code ec;
  const std::wstring wide = WidePath(dir);
  fs::create_directories(fs::path(wide).parent_path(), ec);
  if (!CreateDirectoryW(wide.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) {
    CannotWrite(dir, Reason(GetLastError()));
  }
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) CannotWrite(dir, Reason(GetLastError()));
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) CannotWrite(dir, "Not a directory");
  if (shared && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    CannotWrite(dir, "the folder is a link");
  }
}

bool MakeNewFolder(const std::string& path) {
  if (CreateDirectoryW(WidePath(path).c_str(), nullptr)) return true;
  const DWORD error = GetLastError();
  if (error == ERROR_ALREADY_EXISTS) return false;
  CannotWrite(path, Reason(error));
}

}  // namespace earthwork::os
