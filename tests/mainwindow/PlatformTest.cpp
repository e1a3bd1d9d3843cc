#include <QTest>

#include "MainWindowTest.h"
#include "platform/qt/Cp1252.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtSettings.h"
#include "support/TestFiles.h"

namespace earthwork::testing {

void PlatformTest::cp1252RoundTripsEveryByte() {
  std::string all;
  for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
  QCOMPARE(qt::ToCp1252(qt::FromCp1252(all)), all);
}

void PlatformTest::cp1252Characters_data() {
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QString>("text");
  QTest::newRow("ascii") << QByteArray("Main line 12+34.500") << QString("Main line 12+34.500");
  QTest::newRow("euro and quotes") << QByteArray("\x80 \x93x\x94") << QString("€ “x”");
  QTest::newRow("latin-1 part") << QByteArray(
                                       "Stra\xDF"
                                       "e \xE9")
                                << QString("Straße é");
}

void PlatformTest::cp1252Characters() {
  QFETCH(QByteArray, bytes);
  QFETCH(QString, text);
  QCOMPARE(qt::FromCp1252(bytes.toStdString()), text);
  QCOMPARE(qt::ToCp1252(text), bytes.toStdString());
}

void PlatformTest::charactersOutsideTheCodePageBecomeQuestionMarks() {
  QCOMPARE(qt::ToCp1252(QString("a\u0416b\U0001F600c")), std::string("a?b?c"));
}

void PlatformTest::pathsKeepTheFileSystemEncoding() {
  const QString path = "/home/josé/ramp 1.log";
  QCOMPARE(qt::FromCoreText(qt::ToCorePath(path)), path);
  // Core text that is not UTF-8 is 1252.
  QCOMPARE(qt::FromCoreText("FILE : caf\xE9.ear"), QString("FILE : café.ear"));
}

void PlatformTest::filterListInQtForm() {
  QCOMPARE(qt::ToQtFilters("Earthwork Files(*.ear)|*.ear|Geopak's Earthwork Log Files(*.log)|"
                           "*.log|All Files(*.*)|*.*"),
           QStringList({"Earthwork Files(*.ear)", "Geopak's Earthwork Log Files(*.log)",
                        "All Files(*.*) (*)"}));
  QCOMPARE(qt::ToQtFilters("Text|*.txt;*.rpt"), QStringList({"Text (*.txt *.rpt)"}));
  QCOMPARE(qt::ToQtFilters(""), QStringList());
}

void PlatformTest::settingsReadTheirDefaultUntilWritten() {
  TempDir dir;
  const QString file = QString::fromStdString(dir.Path("s.ini"));
  {
    auto settings = qt::QtSettings::AtFile(file);
    QCOMPARE(settings->Read("Settings", "MainLeft", "1000"), std::string("1000"));
    settings->Write("Settings", "MainLeft", "2000");
  }
  auto again = qt::QtSettings::AtFile(file);
  QCOMPARE(again->Read("Settings", "MainLeft", "1000"), std::string("2000"));
  QCOMPARE(again->Read("Other", "MainLeft", "7"), std::string("7"));
}

}  // namespace earthwork::testing
