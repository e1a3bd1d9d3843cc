#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <filesystem>

#include "WindowHarness.h"
#include "mainwindow/frmMassHaul.h"
#include "platform/qt/Cp1252.h"
#include "platform/qt/QtDialogs.h"
#include "project/Text.h"

namespace earthwork::testing {

class MainWindowTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void typedTextIsNotLostOnExit_data() { DataRows("window/exits.txt"); }
  void typedTextIsNotLostOnExit() {
    QFETCH(QStringList, c);
    WindowHarness h;
    const QString path = Q(h.dir.Path("project.ear"));
    if (!c[2].isEmpty()) {
      h.dialogs.files = {path.toStdString()};
      h.Trigger("mnuFileSaveAs");
      QVERIFY(h.window->windowTitle().startsWith("project.ear[*]"));
    }
    QTest::keyClicks(h.Child<QLineEdit>("txtDescri0"), "R. Typed");
    QVERIFY(h.Store().DataChanged);
    for (const QString& a : c[3].split(' ')) {
      h.dialogs.answers.push_back(a == "Yes"  ? Answer::Yes
                                  : a == "No" ? Answer::No
                                              : Answer::Cancel);
    }
    if (!!c[2].isEmpty()) h.dialogs.files = {path.toStdString()};
    !c[1].isEmpty() ? h.Trigger("mnuFileExit") : void(h.window->close());
    QCOMPARE(h.window->isVisible(), !c[5].isEmpty());
    if (!c[5].isEmpty()) {
      QCOMPARE(h.window->windowFilePath(), path);
      QVERIFY(h.Store().DataChanged);
    }
    QCOMPARE(std::filesystem::exists(path.toStdString()) &&
                 Contains(ReadBytes(path.toStdString()), "R. Typed"),
             !c[4].isEmpty());
    QVERIFY(h.dialogs.answers.empty() && h.dialogs.files.empty());
  }

  /// A dropped file opens as Open does; a recent file that is gone is said,
  /// leaves the menu, and the project shown stays.
  void droppedAndVanishedFiles() {
    WindowHarness h;
    const std::string a = h.OpenProject("a.ear", 2);
    const std::string b = h.OpenProject("b.ear", 3);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(Q(a))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(h.window.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(h.window.get(), &drop);
    QTRY_COMPARE(h.Store().CurrentFileName, a);
    std::filesystem::remove(b);
    h.Trigger("mnuFileRecent2");  // the newest first: b
    QCOMPARE(h.dialogs.shown.size(), size_t{1});
    QCOMPARE(h.Store().CurrentFileName, a);
    QCOMPARE(h.Store().Group(0).Cells.DataRowCount(), 2);
    QTRY_VERIFY(h.window->RecentFiles() == std::vector<std::string>{a});
  }

  void massHaulWindowAndCsvExport() {
    WindowHarness h;
    h.OpenProject("haul.ear", 30);
    const std::string csv = h.dir.Path("haul.csv");
    const QString replace = Q(csv + " already exists. Do you want to replace it?");
    // A name without .csv (the dialog's default suffix is .ear) writes nothing.
    h.dialogs.files = {h.dir.Path("haul.txt")};
    h.Trigger("mnuFileExportCsv");
    QVERIFY(!std::filesystem::exists(h.dir.Path("haul.txt")));
    h.dialogs.files = {csv};
    h.Trigger("mnuFileExportCsv");
    QVERIFY(ReadBytes(csv).starts_with("Station,Code,Cut area,Added cut,Cut volume,Fill area"));
    // An existing file is replaced only when the user says so.
    WriteBytes(csv, "mine");
    h.dialogs.files = {csv, csv};
    h.dialogs.answers = {Answer::No, Answer::Yes};
    h.Trigger("mnuFileExportCsv");
    QCOMPARE(ReadBytes(csv), std::string("mine"));
    h.Trigger("mnuFileExportCsv");
    QVERIFY(ReadBytes(csv).starts_with("Station,"));
    QCOMPARE(
        QTexts(h.dialogs.Texts()),
        QStringList({"Choose a file name ending in .csv; nothing was written.", replace, replace}));

    h.Trigger("mnuViewMassHaul");
    auto* haul = h.window->findChild<frmMassHaul*>();
    QVERIFY(haul);
    QCOMPARE(haul->Diagram().Haul().freeHaul, 500.0);
    h.dialogs.inputs = {"-5", "200"};
    haul->cmdFreeHaul();
    haul->cmdFreeHaul();
    QVERIFY(QTexts(h.dialogs.Texts()).back().contains("\"-5\""));
    QCOMPARE(haul->Diagram().Haul().freeHaul, 200.0);
    QCOMPARE(ProjectFreeHaul(h.State(), *h.settings), 200.0);  // kept for this project
    haul->findChild<QPushButton*>("cmdZoomIn")->click();
    QCOMPARE(haul->Diagram().View().toX - haul->Diagram().View().fromX,
             haul->Diagram().Haul().length / 2);
    h.dialogs.files = {h.dir.Path("haul.svg")};
    haul->cmdExport();
    QVERIFY(ReadBytes(h.dir.Path("haul.svg")).find("<svg") != std::string::npos);
    // A stored distance of 0 (a settings file edited by hand) gives way to the default.
    SetProjectFreeHaul(h.State(), *h.settings, 0);
    QCOMPARE(ProjectFreeHaul(h.State(), *h.settings), 500.0);
  }

  // The Qt adapters: text conversion and file dialog filters.
  void cp1252() {
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    QCOMPARE(qt::ToCp1252(qt::FromCp1252(all)), all);
    QCOMPARE(qt::FromCp1252("\x80 \x93x\x94 \xDF"), QString("€ “x” ß"));
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

const bool kMainWindowTest = Register<MainWindowTest>();

}  // namespace earthwork::testing

#include "MainWindowTest.moc"
