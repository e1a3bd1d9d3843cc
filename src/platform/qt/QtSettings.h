#pragma once

#include <QString>
#include <memory>

#include "platform/ports/Shell.h"

class QSettings;

namespace earthwork::qt {

/// The per-user settings store under the application's name. Sections are
/// QSettings groups, so a key reads as "Settings/MainLeft".
class QtSettings : public Settings {
 public:
  /// The user's native store for `applicationName`.
  explicit QtSettings(const QString& applicationName);
  /// An INI file at `path` (tests, portable installs).
  static std::unique_ptr<QtSettings> AtFile(const QString& path);
  ~QtSettings() override;

  std::string Read(const std::string& section, const std::string& key,
                   const std::string& defaultValue) const override;
  void Write(const std::string& section, const std::string& key, const std::string& value) override;

 private:
  explicit QtSettings(std::unique_ptr<QSettings> settings);
  std::unique_ptr<QSettings> settings_;
};

}  // namespace earthwork::qt
