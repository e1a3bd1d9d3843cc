#pragma once

#include <string>
#include <vector>

namespace earthwork {

/// Starting outside programs and handling files for the stickup hand-off.
/// Every method returns an empty string on success, else the reason.
class Shell {
 public:
  virtual ~Shell() = default;
  /// The file-system path that stands for a fixed Windows location such as
  /// "c:\p2.rpt"; other paths come back unchanged.
  virtual std::string NativePath(const std::string& windowsPath) const = 0;
  /// Starts `program` with `arguments` in `workingDirectory`; a program
  /// named without a folder is looked for in `workingDirectory` first.
  virtual std::string Start(const std::string& program, const std::vector<std::string>& arguments,
                            const std::string& workingDirectory) = 0;
  /// Delivers a key-in (one line, Enter included) to the started program.
  virtual std::string SendKeys(const std::string& keys) = 0;
  /// Copies `from` over `to`.
  virtual std::string CopyFile(const std::string& from, const std::string& to) = 0;
  virtual std::string DeleteFile(const std::string& path) = 0;
  /// Lets pending window events run, then waits.
  virtual void Sleep(int milliseconds) = 0;
};

/// Per-user settings store (application, section, key).
class Settings {
 public:
  virtual ~Settings() = default;
  virtual std::string Read(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const = 0;
  virtual void Write(const std::string& section, const std::string& key,
                     const std::string& value) = 0;
};

/// Today's date in the system's short form.
class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::string ShortDate() const = 0;
};

}  // namespace earthwork
