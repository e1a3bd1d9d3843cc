#include "about/SystemInfo.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>

#include "platform/qt/Cp1252.h"

namespace earthwork {

using qt::FromCp1252;
using qt::ToCp1252;

namespace {

std::optional<std::string> ReadMachineRegistry(const std::string& key,
                                               const std::string& valueName) {
#ifdef _WIN32
  QSettings registry("HKEY_LOCAL_MACHINE\\" + FromCp1252(key), QSettings::NativeFormat);
  const QVariant value = registry.value(FromCp1252(valueName));
  if (!value.isValid()) return std::nullopt;
  if (value.typeId() == QMetaType::Int || value.typeId() == QMetaType::UInt) {
    return std::to_string(value.toUInt());
  }
  // A text value ends at its first NUL, as the registry API hands it over.
  QString text = value.toString();
  if (const qsizetype nul = text.indexOf(QChar(0)); nul >= 0) text.truncate(nul);
  return ToCp1252(text);
#else
  (void)key;
  (void)valueName;
  return std::nullopt;
#endif
}

}  // namespace

SystemInfoPorts DefaultSystemInfoPorts() {
  return {
      ReadMachineRegistry,
      [](const std::string& path) { return QFileInfo(FromCp1252(path)).isFile(); },
      [](const std::string& path) { QProcess::startDetached(FromCp1252(path), {}); },
  };
}

void StartSysInfo(Dialogs& dialogs, const SystemInfoPorts& ports) {
  if (const auto path = ports.ReadRegistry(kMsInfoKey, kMsInfoValue)) {
    ports.Start(*path);
    return;
  }
  if (const auto folder = ports.ReadRegistry(kMsInfoFolderKey, kMsInfoFolderValue)) {
    const std::string path = *folder + "\\MSINFO32.EXE";
    if (ports.FileExists(path)) {
      ports.Start(path);
      return;
    }
  }
  dialogs.MessageBox(kSysInfoUnavailable);
}

}  // namespace earthwork
