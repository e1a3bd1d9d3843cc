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

/// Print Selected Pages: the pages typed into the selection (set as text,
/// so past the digit filter), what the dialog takes and what is printed.
struct PrintCase {
  const char* name;
  QString from, to;      // to "last+5": five past the last page
  bool cancel;           // Cancel instead of OK
  int fromPage, toPage;  // as the dialog takes them (0, 0: nothing); -1: the last page
  QString toText;        // the To box after OK
  QString message;       // besides the printer's
};
const QString kError = " System Error : %1 (frmPrintSelect(cmdDone_click)).";
// clang-format off
const PrintCase kPrints[] = {
    {"two pages",               "2",   "3",      false, 2, 3,  "3",   ""},
    {"to beyond the last page", "2",   "last+5", false, 2, -1, "",    ""},
    {"from zero",               "0",   "1",      false, 0, 1,  "1",   ""},
    {"below zero",              "-3",  "2",      false, 1, 2,  "2",   ""},
    {"half rounds to even",     "2.5", "3.5",    false, 2, 4,  "3.5", ""},
    {"from above to",           "3",   "2",      false, 3, 2,  "2",   ""},
    {"cancel",                  "1",   "2",      true,  0, 0,  "2",   ""},
    {"empty from box",          "",    "2",      false, 0, 0,  "2",   kError.arg("The page box is empty")},
    {"not a number",            "1+2", "2",      false, 0, 0,  "2",   kError.arg("Not a page number: 1+2")},
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

  void printAll() {
    WindowHarness h;
    int pages = 0;
    WithPreview(h, [&](frmPreview& preview) {
      pages = h.State().Report.PageCount;
      preview.mnuPrint(0);
      QVERIFY(!preview.isVisible());  // Print All closes the preview and clears the totals
    });
    QCOMPARE(ShownTexts(h.dialogs), QStringList{Q("Sent to the printer " + h.PrintedPdf())});
    QCOMPARE(h.State().Report.Totals.CutAdjusted, 0.0);
    QCOMPARE(PdfPages(h.PrintedPdf()), pages);
  }

  void printSelectedPages_data() { CaseRows(kPrints); }
  void printSelectedPages() {
    QFETCH(int, row);
    const PrintCase& c = kPrints[row];
    WindowHarness h;
    int pages = 0;
    WithPreview(h, [&](frmPreview& preview) {
      pages = h.State().Report.PageCount;
      const int toPage = c.toPage < 0 ? pages : c.toPage;
      WhenShown<frmPrintSelect>([&](frmPrintSelect& select) {
        QCOMPARE(select.windowTitle(), QString("Select Pages"));
        QCOMPARE(select.TotalPage().text(), QString::number(pages));
        select.FromPage().setText(c.from);
        select.ToPage().setText(c.to == "last+5" ? QString::number(pages + 5) : c.to);
        c.cancel ? select.cmdCancel() : select.cmdDone();
        QCOMPARE(select.isVisible(), !c.message.isEmpty());  // a refusal stays
        QCOMPARE(std::pair(int{select.PrintFromPage()}, int{select.PrintToPage()}),
                 std::pair(c.fromPage, toPage));
        QCOMPARE(select.ToPage().text(), c.toText.isEmpty() ? QString::number(pages) : c.toText);
        if (select.isVisible()) select.cmdCancel();
        QVERIFY(!select.isVisible());
      });
      preview.mnuPrint(1);
      QVERIFY(preview.isVisible());  // printing a range keeps the preview open
      const int printed = toPage ? toPage - std::max(1, c.fromPage) + 1 : 0;
      if (printed > 0) QCOMPARE(PdfPages(h.PrintedPdf()), printed);
      if (printed <= 0) QVERIFY(!std::filesystem::exists(h.PrintedPdf()));
    });
    QStringList messages{Q("Sent to the printer " + h.PrintedPdf())};
    if (!c.message.isEmpty()) messages.prepend(c.message);
    QCOMPARE(ShownTexts(h.dialogs), messages);
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
