#include <gtest/gtest.h>
#include <QTest>

#include "about/SystemInfo.h"
#include "support/ScriptedDialogs.h"

namespace earthwork::testing {

/// The search for the system information tool: the path value, else the
/// tool in the shared folder, else a message.
class AboutTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void systemInfo() {
    // The path and folder values ("" when missing), what starts ("" when
    // nothing does) and whether the folder holds the tool.
    struct Case {
      std::string path, folder, started;
      bool fileExists;
    };
    for (const Case& c :
         {Case{"C:\\Tools\\msinfo32.exe", "C:\\Shared", "C:\\Tools\\msinfo32.exe", true},
          Case{"", "C:\\Shared", "C:\\Shared\\MSINFO32.EXE", true},
          Case{"", "C:\\Shared", "", false}, Case{"", "", "", true}}) {
      std::vector<std::string> starts;
      SystemInfoPorts ports{
          [&](const std::string& key, const std::string& value) -> std::optional<std::string> {
            const std::string found = key == kMsInfoKey && value == kMsInfoValue ? c.path
                                      : key == kMsInfoFolderKey && value == kMsInfoFolderValue
                                          ? c.folder
                                          : "";
            return found.empty() ? std::nullopt : std::optional(found);
          },
          [&](const std::string&) { return c.fileExists; },
          [&](const std::string& path) { starts.push_back(path); }};
      ScriptedDialogs dialogs;
      StartSysInfo(dialogs, ports);
      const std::vector<std::string> none,
          unavailable{"System Information Is Unavailable At This Time"};
      QCOMPARE(starts, c.started.empty() ? none : std::vector{c.started});
      QCOMPARE(dialogs.Texts(), c.started.empty() ? unavailable : none);
    }
  }
};

}  // namespace earthwork::testing

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  earthwork::testing::AboutTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "AboutTest.moc"
