#include "platform/qt/QtSettings.h"

#include <QSettings>

#include "platform/qt/Cp1252.h"

namespace earthwork::qt {

namespace {

QString KeyOf(const std::string& section, const std::string& key) {
  return FromCp1252(section) + "/" + FromCp1252(key);
}

}  // namespace

QtSettings::QtSettings(const QString& applicationName)
    : settings_(std::make_unique<QSettings>(applicationName, applicationName)) {}

QtSettings::QtSettings(std::unique_ptr<QSettings> settings) : settings_(std::move(settings)) {}

QtSettings::~QtSettings() = default;

std::unique_ptr<QtSettings> QtSettings::AtFile(const QString& path) {
  return std::unique_ptr<QtSettings>(
      new QtSettings(std::make_unique<QSettings>(path, QSettings::IniFormat)));
}

std::string QtSettings::Read(const std::string& section, const std::string& key,
                             const std::string& defaultValue) const {
  const QVariant value = settings_->value(KeyOf(section, key));
  return value.isValid() ? ToCp1252(value.toString()) : defaultValue;
}

void QtSettings::Write(const std::string& section, const std::string& key,
                       const std::string& value) {
  settings_->setValue(KeyOf(section, key), FromCp1252(value));
  settings_->sync();
}

}  // namespace earthwork::qt
