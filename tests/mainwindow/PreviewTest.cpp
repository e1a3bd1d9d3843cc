#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <filesystem>

#include "WindowHarness.h"
#include "mainwindow/PreviewPage.h"
#include "mainwindow/frmPreview.h"
#include "mainwindow/frmPrintSelect.h"
#include "printing/Paging.h"
#include "support/RecordingMainView.h"

namespace earthwork::testing {

namespace {

/// The display lines of the report, as the pages show them.
std::vector<std::string> DisplayLines(const ProgramState& state) {
  std::vector<std::string> shown;
  for (const std::string& line : ReadReportLines(state.Report.ReportFileName)) {
    if (IsDisplayLine(line)) shown.push_back(line);
  }
  return shown;
}

/// What Text1 must hold for page `page`: each line after five blanks.
QString PageText(const std::vector<std::string>& lines, int page) {
  const auto first = static_cast<size_t>(FirstDisplayLineOfPage(page));
  const size_t last = std::min(lines.size(), first + static_cast<size_t>(LinesOnPage(page)));
  QString text;
  for (size_t i = first; i < last; ++i) text += "     " + QString::fromStdString(lines[i]) + "\n";
  return text;
}

bool HasText(const PreviewPage& page, const std::string& text) {
  for (const std::string& item : page.Items()) {
    if (item.starts_with("text ") && item.ends_with(" " + text)) return true;
  }
  return false;
}

/// Opens a report of about three and a half pages in the preview and runs
/// `inPreview` on it; the preview is closed afterwards if still open.
void WithPreview(WindowHarness& h, const std::function<void(frmPreview&)>& inPreview) {
  h.OpenProject("long.ear", 160);
  WhenShown<frmPreview>([&](frmPreview& preview) {
    inPreview(preview);
    if (preview.isVisible()) preview.mnuPreviewExit();
  });
  h.Trigger("mnuFilePrintTotal");
}

struct PrintCase {
  const char* name;
  QString from, to;  // from "": Print All, without the page selection; to "last+5": past the end
  bool cancel;
  int first, last;  // the pages printed; first 0: none, last -1: the last page
};
// clang-format off
const PrintCase kPrints[] = {
    {"all pages",               "",  "",       false, 1, -1},
    {"two pages",               "2", "3",      false, 2, 3},
    {"to beyond the last page", "2", "last+5", false, 2, -1},
    {"from zero",               "0", "1",      false, 1, 1},
    {"from above to",           "3", "2",      false, 0, 0},
    {"cancel",                  "1", "2",      true,  0, 0},
};
// clang-format on

struct SelectCase {
  const char* name;
  QString from, to;
  int fromPage, toPage;  // 0, 0: refused
  QString toText;        // the box after OK
  QString message;
};
const QString kError = " System Error : %1 (frmPrintSelect(cmdDone_click)).";
// clang-format off
const SelectCase kSelects[] = {
    {"in range",            "2",   "4",  2, 4, "4",   ""},
    {"to above the count",  "1",   "12", 1, 7, "7",   ""},
    {"below zero",          "-3",  "2",  1, 2, "2",   ""},
    {"half rounds to even", "2.5", "3.5", 2, 4, "3.5", ""},
    {"empty from box",      "",    "2",  0, 0, "2",   kError.arg("The page box is empty")},
    {"not a number",        "1+2", "2",  0, 0, "2",   kError.arg("Not a page number: 1+2")},
};
// clang-format on

}  // namespace

/// The report preview and the page selection dialog.
class PreviewTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  void pagesForwardAndBack() {
    WindowHarness h;
    ReportState& report = h.State().Report;
    int pages = 0;
    bool totalsSeen = false;
    WithPreview(h, [&](frmPreview& preview) {
      const std::vector<std::string> lines = DisplayLines(h.State());
      pages = report.PageCount;
      QVERIFY(pages >= 3);
      QCOMPARE(report.CurrentPage, int16_t{1});
      QCOMPARE(preview.Text1().toPlainText(), PageText(lines, 1));
      QVERIFY(preview.Text1().isReadOnly());
      QVERIFY(HasText(preview.Page(), "QUORVANE"));
      QVERIFY(HasText(preview.Page(), "EARTHWORK CALCULATION REPORT"));
      totalsSeen = report.Totals.CutUnadjusted > 0;

      preview.mnuBack();
      QCOMPARE(report.CurrentPage, int16_t{1});
      for (int p = 2; p <= pages; ++p) {
        preview.mnuForward();
        QCOMPARE(int{report.CurrentPage}, p);
        QCOMPARE(int{report.HeaderPage}, p);
        QCOMPARE(preview.Text1().toPlainText(), PageText(lines, p));
      }
      preview.mnuForward();
      QCOMPARE(int{report.CurrentPage}, pages);
      preview.mnuBack();
      QCOMPARE(int{report.CurrentPage}, pages - 1);
      QCOMPARE(preview.Text1().toPlainText(), PageText(lines, pages - 1));
    });
    QCOMPARE(ShownTexts(h.dialogs), QStringList({"This is First Page", "This is last page"}));
    QVERIFY(totalsSeen);
    // Closing the preview clears the grand totals for the next report.
    QCOMPARE(report.Totals.CutUnadjusted, 0.0);
    QCOMPARE(report.Totals.FillAdjusted, 0.0);
  }

  void printRange_data() { CaseRows(kPrints); }
  void printRange() {
    QFETCH(int, row);
    const PrintCase& c = kPrints[row];
    WindowHarness h;
    int pages = 0;
    bool open = false;
    WithPreview(h, [&](frmPreview& preview) {
      pages = h.State().Report.PageCount;
      if (!c.from.isEmpty()) {
        WhenShown<frmPrintSelect>([&](frmPrintSelect& select) {
          QCOMPARE(select.TotalPage().text(), QString::number(pages));
          select.FromPage().setText(c.from);
          select.ToPage().setText(c.to == "last+5" ? QString::number(pages + 5) : c.to);
          c.cancel ? select.cmdCancel() : select.cmdDone();
        });
      }
      preview.mnuPrint(c.from.isEmpty() ? 0 : 1);
      open = preview.isVisible();
    });
    const std::string pdf = h.PrintedPdf();
    QCOMPARE(ShownTexts(h.dialogs), QStringList{Q("Sent to the printer " + pdf)});
    // Printing a range keeps the preview open; Print All closes it and clears the totals.
    QCOMPARE(open, !c.from.isEmpty());
    if (!open) QCOMPARE(h.State().Report.Totals.CutAdjusted, 0.0);
    QCOMPARE(std::filesystem::exists(pdf), c.first != 0);
    if (c.first != 0) QCOMPARE(PdfPages(pdf), (c.last < 0 ? pages : c.last) - c.first + 1);
  }

  void pageSelection_data() { CaseRows(kSelects); }
  void pageSelection() {
    QFETCH(int, row);
    const SelectCase& c = kSelects[row];
    ScriptedDialogs dialogs;
    RecordingMainView view;
    ProgramState state(dialogs, view);
    state.Report.PageCount = 7;
    frmPrintSelect select(state);
    select.show();
    QCOMPARE(select.windowTitle(), QString("Select Pages"));
    QCOMPARE(select.TotalPage().text(), QString("7"));
    select.FromPage().setText(c.from);
    select.ToPage().setText(c.to);
    select.cmdDone();
    const bool accepted = c.fromPage != 0;
    QCOMPARE(select.result() == QDialog::Accepted, accepted);
    QCOMPARE(select.isVisible(), !accepted);
    QCOMPARE(int{select.PrintFromPage()}, c.fromPage);
    QCOMPARE(int{select.PrintToPage()}, c.toPage);
    QCOMPARE(select.ToPage().text(), c.toText);
    QCOMPARE(QTexts(dialogs.Texts()), c.message.isEmpty() ? QStringList{} : QStringList{c.message});
    if (!accepted) {
      select.cmdCancel();
      QCOMPARE(select.PrintFromPage(), int16_t{0});
      QCOMPARE(select.PrintToPage(), int16_t{0});
      QVERIFY(!select.isVisible());
    }
  }

  void pageBoxesOfferTheWholeReportAndTakeDigits() {
    ScriptedDialogs dialogs;
    RecordingMainView view;
    ProgramState state(dialogs, view);
    state.Report.PageCount = 12;
    frmPrintSelect select(state);
    select.show();
    QCOMPARE(select.FromPage().text(), QString("1"));
    QCOMPARE(select.ToPage().text(), QString("12"));
    for (QLineEdit* box : {&select.FromPage(), &select.ToPage()}) {
      box->clear();
      QTest::keyClicks(box, "1-2xbC 3.5e");
      QCOMPARE(box->text(), QString("1235"));
      QTest::keyClick(box, Qt::Key_Backspace);
      QCOMPARE(box->text(), QString("123"));
    }
  }

  void keysZoomAndThePageBox() {
    WindowHarness h;
    ReportState& report = h.State().Report;
    WithPreview(h, [&](frmPreview& preview) {
      const int pages = report.PageCount;
      QVERIFY(pages >= 3);
      QApplication::setActiveWindow(&preview);
      // The keys turn the pages, silently at either end.
      for (const auto& [key, page] : {std::pair{Qt::Key_PageDown, 2},
                                      {Qt::Key_End, pages},
                                      {Qt::Key_PageDown, pages},
                                      {Qt::Key_PageUp, pages - 1},
                                      {Qt::Key_Home, 1},
                                      {Qt::Key_PageUp, 1}}) {
        QTest::keyClick(&preview, key);
        QCOMPARE(int{report.CurrentPage}, page);
        QCOMPARE(preview.PageBox().text(), QString::number(page));
      }
      preview.PageBox().selectAll();
      QTest::keyClicks(&preview.PageBox(), "3");
      QTest::keyClick(&preview.PageBox(), Qt::Key_Return);
      QCOMPARE(int{report.CurrentPage}, 3);
      QCOMPARE(int{report.HeaderPage}, 3);

      // Fit width follows the window; zooming leaves the fit.
      PreviewPage& page = preview.Page();
      QCOMPARE(preview.FitMode(), frmPreview::Fit::Width);
      preview.resize(700, 600);
      QApplication::processEvents();
      const int narrow = page.width();
      QVERIFY(narrow <= 700);
      preview.resize(1000, 600);
      QApplication::processEvents();
      QVERIFY(page.width() > narrow);
      QVERIFY(page.width() <= 1000);
      const int fitted = page.width();
      QTest::keyClick(&preview, Qt::Key_Plus, Qt::ControlModifier);
      QVERIFY(page.width() > fitted);
      QCOMPARE(preview.FitMode(), frmPreview::Fit::None);
      QTest::keyClick(&preview, Qt::Key_F);
      QVERIFY(page.height() <= 600);
      // The page's lines stay within the page at every zoom.
      QVERIFY(preview.Text1().geometry().right() <= page.ToPixels(report.PageWidth, 0).x());
    });
    QCOMPARE(ShownTexts(h.dialogs), QStringList{});
  }
};

const bool kPreviewTest = Register<PreviewTest>();

}  // namespace earthwork::testing

#include "PreviewTest.moc"
