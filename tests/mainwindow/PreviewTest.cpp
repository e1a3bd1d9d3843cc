#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <filesystem>

#include "WindowHarness.h"
#include "mainwindow/PreviewPage.h"
#include "mainwindow/frmPrintSelect.h"
#include "printing/Paging.h"

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

/// Print All, or Print Selected Pages: the pages typed into the selection
/// (set as text, so past the digit filter), what the dialog takes and what
/// is printed.
struct PrintCase {
  const char* name;
  bool all;
  QString from, to;      // to "last+5": five past the last page
  bool cancel;           // Cancel instead of OK
  int fromPage, toPage;  // as the dialog takes them (0, 0: nothing); -1: the last page
  QString message;       // besides the printer's
};
const QString kError = " System Error : %1 (frmPrintSelect(cmdDone_click)).";
// clang-format off
const PrintCase kPrints[] = {
    {"print all",               true,  "",    "",       false, 1, -1, ""},
    {"two pages",               false, "2",   "3",      false, 2, 3,  ""},
    {"to beyond the last page", false, "2",   "last+5", false, 2, -1, ""},
    {"below zero",              false, "-3",  "2",      false, 1, 2,  ""},
    {"from above to",           false, "3",   "2",      false, 3, 2,  ""},
    {"cancel",                  false, "1",   "2",      true,  0, 0,  ""},
    {"empty from box",          false, "",    "2",      false, 0, 0,  kError.arg("The page box is empty")},
    {"not a number",            false, "1+2", "2",      false, 0, 0,  kError.arg("Not a page number: 1+2")},
};
// clang-format on

}  // namespace

/// The report preview and the page selection dialog.
class PreviewTest : public ScriptedQtTest {
  Q_OBJECT
 private Q_SLOTS:
  /// The menus turn the pages and say so at either end; the keys and the
  /// page box turn them silently; fit width follows the window.
  void pagesKeysAndZoom() {
    WindowHarness h;
    ReportState& report = h.State().Report;
    bool totalsSeen = false;
    WithPreview(h, [&](frmPreview& preview) {
      const std::vector<std::string> lines = DisplayLines(h.State());
      const int pages = report.PageCount;
      QVERIFY(pages >= 3);
      QCOMPARE(preview.Text1().toPlainText(), PageText(lines, 1));
      QVERIFY(preview.Text1().isReadOnly());
      QVERIFY(std::ranges::any_of(preview.Page().Items(), [](const std::string& item) {
        return item.starts_with("text ") && item.ends_with(" EARTHWORK CALCULATION REPORT");
      }));
      totalsSeen = report.Totals.CutUnadjusted > 0;
      preview.mnuBack();
      for (int p = 2; p <= pages + 1; ++p) {
        preview.mnuForward();
        QCOMPARE(int{report.CurrentPage}, std::min(p, pages));
        QCOMPARE(int{report.HeaderPage}, std::min(p, pages));
        QCOMPARE(preview.Text1().toPlainText(), PageText(lines, std::min(p, pages)));
      }
      preview.mnuBack();
      QCOMPARE(preview.Text1().toPlainText(), PageText(lines, pages - 1));
      QCOMPARE(QTexts(h.dialogs.Texts()), QStringList({"This is First Page", "This is last page"}));

      QApplication::setActiveWindow(&preview);
      for (const auto& [key, page] : {std::pair{Qt::Key_Home, 1},
                                      {Qt::Key_PageDown, 2},
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
      QCOMPARE(int{report.HeaderPage}, 3);

      // Zooming leaves the fit to the width; F fits the whole page.
      PreviewPage& page = preview.Page();
      QCOMPARE(preview.FitMode(), frmPreview::Fit::Width);
      preview.resize(1000, 600);
      QApplication::processEvents();
      const int fitted = page.width();
      QVERIFY(fitted <= 1000);
      QTest::keyClick(&preview, Qt::Key_Plus, Qt::ControlModifier);
      QVERIFY(page.width() > fitted);
      QCOMPARE(preview.FitMode(), frmPreview::Fit::None);
      QTest::keyClick(&preview, Qt::Key_F);
      QVERIFY(page.height() <= 600);
      // The page's lines stay within the page at every zoom.
      QVERIFY(preview.Text1().geometry().right() <= page.ToPixels(report.PageWidth, 0).x());
    });
    QCOMPARE(h.dialogs.Texts().size(), size_t{2});
    QVERIFY(totalsSeen);
    // Closing the preview clears the grand totals for the next report.
    QCOMPARE(report.Totals.CutUnadjusted, 0.0);
    QCOMPARE(report.Totals.FillAdjusted, 0.0);
  }

  void print_data() { CaseRows(kPrints); }
  void print() {
    QFETCH(int, row);
    const PrintCase& c = kPrints[row];
    WindowHarness h;
    int pages = 0;
    WithPreview(h, [&](frmPreview& preview) {
      pages = h.State().Report.PageCount;
      const int toPage = c.toPage < 0 ? pages : c.toPage;
      if (!c.all)
        WhenShown<frmPrintSelect>([&](frmPrintSelect& select) {
          QCOMPARE(select.TotalPage().text(), QString::number(pages));
          // The whole report is offered; the boxes take digits only.
          QCOMPARE(select.FromPage().text() + "-" + select.ToPage().text(),
                   QString("1-%1").arg(pages));
          for (QLineEdit* box : {&select.FromPage(), &select.ToPage()}) {
            box->clear();
            QTest::keyClicks(box, "1-2xbC 3.5e");
            QTest::keyClick(box, Qt::Key_Backspace);
            QCOMPARE(box->text(), QString("123"));
          }
          select.FromPage().setText(c.from);
          select.ToPage().setText(c.to == "last+5" ? QString::number(pages + 5) : c.to);
          c.cancel ? select.cmdCancel() : select.cmdDone();
          QCOMPARE(select.isVisible(), !c.message.isEmpty());  // a refusal stays
          QCOMPARE(std::pair(int{select.PrintFromPage()}, int{select.PrintToPage()}),
                   std::pair(c.fromPage, toPage));
          QCOMPARE(select.ToPage().text(), toPage == pages ? QString::number(pages) : c.to);
          if (select.isVisible()) select.cmdCancel();
          QVERIFY(!select.isVisible());
        });
      preview.mnuPrint(c.all ? 0 : 1);
      QCOMPARE(preview.isVisible(), !c.all);  // printing a range keeps the preview open
      const int printed = toPage ? toPage - std::max(1, c.fromPage) + 1 : 0;
      if (printed > 0) QCOMPARE(PdfPages(h.PrintedPdf()), printed);
      if (printed <= 0) QVERIFY(!std::filesystem::exists(h.PrintedPdf()));
    });
    QStringList messages{Q("Sent to the printer " + h.PrintedPdf())};
    if (!c.message.isEmpty()) messages.prepend(c.message);
    QCOMPARE(QTexts(h.dialogs.Texts()), messages);
    QCOMPARE(h.State().Report.Totals.CutAdjusted, 0.0);  // cleared with the preview
  }
};

const bool kPreviewTest = Register<PreviewTest>();

}  // namespace earthwork::testing

#include "PreviewTest.moc"
