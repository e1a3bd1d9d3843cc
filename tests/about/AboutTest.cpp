#include <gtest/gtest.h>
#include <QTest>
#include <map>

#include "about/SystemInfo.h"
#include "support/ScriptedDialogs.h"

namespace earthwork::testing {

/// The About box and the search for the system information tool.
class AboutTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void systemInfo_data();
  void systemInfo();
};

void AboutTest::systemInfo_data() {
  QTest::addColumn<QString>("pathValue");    // "" when the value is missing
  QTest::addColumn<QString>("folderValue");  // "" when the value is missing
  QTest::addColumn<bool>("fileExists");
  QTest::addColumn<QString>("started");  // "" when nothing starts
  QTest::newRow("path value") << "C:\\Tools\\msinfo32.exe"
                              << "C:\\Shared" << true << "C:\\Tools\\msinfo32.exe";
  QTest::newRow("folder value") << ""
                                << "C:\\Shared" << true << "C:\\Shared\\MSINFO32.EXE";
  QTest::newRow("folder without the tool") << ""
                                           << "C:\\Shared" << false << "";
  QTest::newRow("neither value") << ""
                                 << "" << true << "";
}

void AboutTest::systemInfo() {
  QFETCH(QString, pathValue);
  QFETCH(QString, folderValue);
  QFETCH(bool, fileExists);
  QFETCH(QString, started);
  std::map<std::string, std::string> registry;
  if (!pathValue.isEmpty()) {
    registry[std::string(kMsInfoKey) + "|" + kMsInfoValue] = pathValue.toStdString();
  }
  if (!folderValue.isEmpty()) {
    registry[std::string(kMsInfoFolderKey) + "|" + kMsInfoFolderValue] = folderValue.toStdString();
  }
  std::vector<std::string> starts;
  SystemInfoPorts ports{
      [&](const std::string& key, const std::string& value) -> std::optional<std::string> {
        const auto it = registry.find(key + "|" + value);
        if (it == registry.end()) return std::nullopt;
        return it->second;
      },
      [&](const std::string&) { return fileExists; },
      [&](const std::string& path) { starts.push_back(path); },
  };
  ScriptedDialogs dialogs;
  StartSysInfo(dialogs, ports);
  if (started.isEmpty()) {
    QVERIFY(starts.empty());
    QCOMPARE(dialogs.Texts(),
             std::vector<std::string>{"System Information Is Unavailable At This Time"});
  } else {
    QCOMPARE(starts, std::vector<std::string>{started.toStdString()});
    QVERIFY(dialogs.shown.empty());
  }
}

}  // namespace earthwork::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  earthwork::testing::AboutTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "AboutTest.moc"
