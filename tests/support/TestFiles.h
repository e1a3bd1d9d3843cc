#pragma once

#include <filesystem>
#include <string>

namespace earthwork::testing {

/// A fresh folder under the system's temporary directory, removed with the
/// object.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  const std::filesystem::path& Root() const { return root_; }

 private:
  std::filesystem::path root_;
};

std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
/// A file under tests/data.
std::string DataPath(const std::string& name);
/// Lines joined with CR LF, each line ended.
std::string CrLf(std::initializer_list<std::string> lines);

}  // namespace earthwork::testing
