#include <QTest>

#include "WindowHarness.h"
#include "platform/qt/Cp1252.h"
#include "platform/qt/QtDialogs.h"

namespace earthwork::testing {

/// The Qt adapters: text conversion and file dialog filters (the settings
/// are the window tests' matter).
class PlatformTest : public QObject {
  Q_OBJECT
 private Q_SLOTS:
  void cp1252() {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    QCOMPARE(qt::ToCp1252(qt::FromCp1252(all)), all);
    const std::pair<std::string, QString> cases[] = {{"Main line 12+34.500", "Main line 12+34.500"},
                                                     {"\x80 \x93x\x94", "€ “x”"},
                                                     {"Stra\xDF"
                                                      "e \xE9",
                                                      "Straße é"}};
    for (const auto& [bytes, text] : cases) {
      QCOMPARE(qt::FromCp1252(bytes), text);
      QCOMPARE(qt::ToCp1252(text), bytes);
    }
    // Characters outside the code page become question marks.
    QCOMPARE(qt::ToCp1252(QString("a\u0416b\U0001F600c")), std::string("a?b?c"));
    // Paths keep the file system's encoding; other core text is 1252.
    const QString path = "/home/josé/ramp 1.log";
    QCOMPARE(qt::FromCoreText(qt::ToCorePath(path)), path);
    QCOMPARE(qt::FromCoreText("FILE : caf\xE9.ear"), QString("FILE : café.ear"));
  }

  void filterListInQtForm() {
    QCOMPARE(qt::ToQtFilters("Earthwork Files(*.ear)|*.ear|Geopak's Earthwork Log Files(*.log)|"
                             "*.log|All Files(*.*)|*.*"),
             QStringList({"Earthwork Files(*.ear)", "Geopak's Earthwork Log Files(*.log)",
                          "All Files(*.*) (*)"}));
    QCOMPARE(qt::ToQtFilters("Text|*.txt;*.rpt"), QStringList({"Text (*.txt *.rpt)"}));
    QCOMPARE(qt::ToQtFilters(""), QStringList());
  }
};

const bool kPlatformTest = Register<PlatformTest>();

}  // namespace earthwork::testing

#include "PlatformTest.moc"
