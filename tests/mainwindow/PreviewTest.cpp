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
    WithPreview(h, [&](frmPreview& preview) {
      const std::vector<std::string> lines = DisplayLines(h.State());
      const int pages = report.PageCount;
      QVERIFY(pages >= 3);
      QCOMPARE(preview.Text1().toPlainText(), PageText(lines, 1));
      QVERIFY(std::ranges::any_of(preview.Page().Items(), [](const std::string& item) {
        return item.starts_with("text ") && item.ends_with(" EARTHWORK CALCULATION REPORT");
      }));
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
      const Qt::Key keys[] = {Qt::Key_Home, Qt::Key_PageUp,   Qt::Key_PageDown,
                              Qt::Key_End,  Qt::Key_PageDown, Qt::Key_PageUp};
      const int shown[] = {1, 1, 2, pages, pages, pages - 1};
      for (size_t i = 0; i < std::size(keys); ++i) {
        QTest::keyClick(&preview, keys[i]);
        QCOMPARE(int{report.CurrentPage}, shown[i]);
        QCOMPARE(preview.PageBox().text(), QString::number(shown[i]));
      }
      preview.PageBox().selectAll();
      QTest::keyClicks(&preview.PageBox(), "3");
      QTest::keyClick(&preview.PageBox(), Qt::Key_Return);
      QCOMPARE(int{report.HeaderPage}, 3);

      // Each tool names its key.
      for (const QAction* action : preview.findChildren<QAction*>()) {
        if (!action->shortcuts().isEmpty())
          QVERIFY(
              action->toolTip().contains(action->shortcut().toString(QKeySequence::NativeText)));
      }
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
      // The whole sheet is in view, and the page's lines stay within it,
      // its widest line across its box.
      const QRect sheet(page.ToPixels(0, 0), page.ToPixels(report.PageWidth, report.PageHeight));
      QVERIFY(page.rect().contains(sheet));
      QVERIFY(preview.Text1().geometry().right() <= sheet.right());
      const QFontMetricsF metrics(preview.Text1().font());
      for (const QString& line : preview.Text1().toPlainText().split('\n'))
        QVERIFY(metrics.horizontalAdvance(line) <= preview.Text1().viewport()->width());
    });
    QCOMPARE(h.dialogs.Texts().size(), size_t{2});
  }

  /// The rows of tests/data/preview/print.txt.
  void print_data() { DataRows("preview/print.txt"); }
  void print() {
    QFETCH(QStringList, c);
    const bool all = c[1] == "all";
    WindowHarness h;
    int pages = 0, printed = 0;
    WithPreview(h, [&](frmPreview& preview) {
      pages = h.State().Report.PageCount;
      QVERIFY(h.State().Report.Totals.CutAdjusted > 0 &&
              h.State().Report.Totals.FillUnadjusted > 0);
      const int fromPage = c[4].section(',', 0, 0).toInt();
      const int toPage = c[4].endsWith("last") ? pages : c[4].section(',', 1).toInt();
      if (!all)
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
          select.FromPage().setText(c[2]);
          select.ToPage().setText(c[3] == "last+5" ? QString::number(pages + 5) : c[3]);
          c[1] == "cancel" ? select.cmdCancel() : select.cmdDone();
          QCOMPARE(select.isVisible(), !c[5].isEmpty());  // a refusal stays
          QCOMPARE(std::pair(int{select.PrintFromPage()}, int{select.PrintToPage()}),
                   std::pair(fromPage, toPage));
          QCOMPARE(select.ToPage().text(), toPage == pages ? QString::number(pages) : c[3]);
          if (select.isVisible()) select.cmdCancel();
          QVERIFY(!select.isVisible());
        });
      preview.mnuPrint(all ? 0 : 1);
      QCOMPARE(preview.isVisible(), !all);  // printing a range keeps the preview open
      printed = toPage ? toPage - std::max(1, fromPage) + 1 : 0;
      if (printed > 0) QCOMPARE(PdfPages(h.PrintedPdf()), printed);
      if (printed <= 0) QVERIFY(!std::filesystem::exists(h.PrintedPdf()));
    });
    QStringList messages;
    if (!c[5].isEmpty()) messages << c[5];
    if (printed > 0) messages << Q("Sent to the printer " + h.PrintedPdf());
    QCOMPARE(QTexts(h.dialogs.Texts()), messages);
    // Closing the preview clears the grand totals for the next report.
    QCOMPARE(h.State().Report.Totals.CutAdjusted + h.State().Report.Totals.FillUnadjusted, 0.0);
  }
};

const bool kPreviewTest = Register<PreviewTest>();

}  // namespace earthwork::testing

#include "PreviewTest.moc"
