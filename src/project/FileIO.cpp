#include "project/FileIO.h"

#include <cstring>
#include <vector>

#include "project/Errors.h"

namespace earthwork {

namespace {

std::string Megabytes(uint64_t bytes) {
  const uint64_t tenths = (bytes * 10 + (uint64_t{1} << 19)) >> 20;
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " MB";
}

}  // namespace

void RequireSizeAtMost(const std::string& path, uint64_t size, uint64_t maxBytes) {
  if (size > maxBytes) {
    throw ProgramError("The file " + path + " is too large to read: " + Megabytes(size) +
                       ", at most " + Megabytes(maxBytes));
  }
}

std::string ReadWholeFile(const std::string& path, uint64_t maxBytes) {
  InputFile file(path);
  RequireSizeAtMost(path, file.Size(), maxBytes);
  // Read straight into the text, one byte more than the size so that a file
  // that grows while it is read is noticed; it is still held to the limit.
  std::string bytes(static_cast<size_t>(file.Size()) + 1, '\0');
  size_t size = 0;
  while (const size_t got = file.Read(bytes.data() + size, bytes.size() - size)) {
    size += got;
    if (size > maxBytes) {
      throw ProgramError("The file " + path + " is too large to read: more than " +
                         Megabytes(maxBytes));
    }
    if (size == bytes.size()) bytes.resize(bytes.size() * 2);
  }
  bytes.resize(size);
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
  // memchr rather than a loop over the bytes: this walks every file read.
  const void* newline = std::memchr(base + next_, '\n', n - next_);
  size_t end = newline ? static_cast<size_t>(static_cast<const char*>(newline) - base) : n;
  if (const void* cr = std::memchr(base + next_, '\r', end - next_)) {
    end = static_cast<size_t>(static_cast<const char*>(cr) - base);
  }
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
  os::ReplaceFile(path, [bytes](const os::Append& append) { append(bytes); });
}

void CopyFileAtomically(const std::string& from, const std::string& path) {
  InputFile source(from);
  os::ReplaceFile(path, [&source](const os::Append& append) {
    std::vector<char> buffer(1 << 16);
    while (const size_t got = source.Read(buffer.data(), buffer.size())) {
      append(std::string_view(buffer.data(), got));
    }
  });
}

}  // namespace earthwork
