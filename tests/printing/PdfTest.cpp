#include <QFontInfo>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "printing/LongReport.h"
#include "printing/PagePrint.h"
#include "printing/Paging.h"
#include "printing/RecordingPageSurface.h"
#include "printing/qt/QtPageSurface.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

using testing::PdfPages;

/// The text of one page, runs of blanks made one.
std::string PdfPageText(const std::string& path, int page) {
  const std::string p = std::to_string(page);
  std::string squeezed;
  for (const char c : testing::CommandOutput("pdftotext -layout -f " + p + " -l " + p + " " +
                                             testing::ShellQuoted(path) + " -")) {
    if (c != ' ' || squeezed.empty() || squeezed.back() != ' ') squeezed += c;
  }
  return squeezed;
}

struct PdfWord {
  double xMin, yMin, xMax, yMax;
  std::string text;
};

struct PdfPage {
  double width = 0;
  std::vector<PdfWord> words;
};

/// The number in `attr="..."` inside `tag`, or 0 when it is missing.
double PdfAttribute(const std::string& tag, const std::string& attr) {
  const std::string key = attr + "=\"";
  const std::size_t at = tag.find(key);
  return at == std::string::npos ? 0.0 : std::stod(tag.substr(at + key.size()));
}

/// Every word of a PDF with its box in points, page by page.
std::vector<PdfPage> PdfWords(const std::string& path) {
  const std::string html =
      testing::CommandOutput("pdftotext -bbox " + testing::ShellQuoted(path) + " -");
  std::vector<PdfPage> pages;
  for (std::size_t at = html.find('<'); at != std::string::npos; at = html.find('<', at + 1)) {
    const std::size_t close = html.find('>', at);
    if (close == std::string::npos) break;
    const std::string tag = html.substr(at, close - at);
    if (tag.starts_with("<page ")) {
      pages.push_back({PdfAttribute(tag, "width"), {}});
    } else if (tag.starts_with("<word ") && !pages.empty()) {
      const std::size_t end = html.find('<', close);
      pages.back().words.push_back({PdfAttribute(tag, "xMin"), PdfAttribute(tag, "yMin"),
                                    PdfAttribute(tag, "xMax"), PdfAttribute(tag, "yMax"),
                                    html.substr(close + 1, end - close - 1)});
    }
  }
  return pages;
}

class PdfTest : public ::testing::Test {
 protected:
  /// A report of 120 stations: four pages.
  void WriteReport() { testing::WriteLongReport(state, dir.Path("route 9.ear"), 120, 140); }

  testing::TempDir dir;
  testing::ScopedReportDirectory reportDir{dir.Path("reports")};
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
  testing::FixedClock clock;
};

TEST_F(PdfTest, PageAreaAndFontFitTheLayout) {
  const auto surface = qt::QtPageSurface::ForPdf(dir.Path("x.pdf"));
  ASSERT_TRUE(PreparePrinter(state, *surface));
  EXPECT_EQ(state.Report.PageWidth, 97);
  EXPECT_EQ(state.Report.PageHeight, 63);
  QFont font(surface->ResolvedFamily());
  EXPECT_TRUE(QFontInfo(font).fixedPitch()) << surface->ResolvedFamily().toStdString();
}

TEST_F(PdfTest, WholeReportPrintsEveryPageWithItsLines) {
  WriteReport();
  ASSERT_EQ(state.Report.PageCount, 4);
  const std::string pdf = dir.Path("out/report.pdf");
  std::filesystem::create_directories(dir.Path("out"));
  const auto surface = qt::QtPageSurface::ForPdf(pdf);
  ASSERT_TRUE(mnuRptPrint_click(state, *surface, clock));
  EXPECT_EQ(surface->PagesPrinted(), 4);
  ASSERT_EQ(PdfPages(pdf), 4);

  // Display line 45 opens page 2; the furniture is on every page.
  std::vector<std::string> lines = ReadReportLines(state.Report.ReportFileName);
  std::erase_if(lines, [](const std::string& l) { return !IsDisplayLine(l); });
  const std::string firstOfPage2 = lines.at(44).substr(0, 9);
  const std::string page1 = PdfPageText(pdf, 1), page2 = PdfPageText(pdf, 2);
  EXPECT_EQ(page1.find(firstOfPage2), std::string::npos);
  EXPECT_NE(page2.find(firstOfPage2), std::string::npos);
  EXPECT_NE(page1.find("EARTHWORK CALCULATION REPORT"), std::string::npos);
  EXPECT_NE(page1.find("For Main line"), std::string::npos);
  EXPECT_NE(page2.find("Pages : 2 OF 4"), std::string::npos);
  EXPECT_NE(page2.find("EMBANKMENT"), std::string::npos);
  EXPECT_NE(PdfPageText(pdf, 4).find("G R A N D"), std::string::npos);

  // Ending the document again leaves the file as it is.
  const std::string bytes = testing::ReadBytes(pdf);
  surface->EndDoc();
  EXPECT_EQ(testing::ReadBytes(pdf), bytes);
  // Only the PDF is in its folder: no temporary file is left behind.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("out")),
                          std::filesystem::directory_iterator()),
            1);
}

TEST_F(PdfTest, EveryCharacterLiesInsideThePrintableArea) {
  // A header field longer than its place, and separator lines of up to 120
  // characters, more than 8.28 points leave room for. Pages printed one by
  // one from page 2 start no blank sheet.
  WriteReport();
  state.Project.HeaderFields[0] = std::string(70, 'D');
  constexpr double kMargin = 0.1875 * 72;
  for (const QPageSize::PageSizeId paper : {QPageSize::Letter, QPageSize::A4}) {
    std::map<bool, double> stationHeight;  // by print path
    for (const bool selected : {false, true}) {
      SCOPED_TRACE(std::string(paper == QPageSize::A4 ? "A4" : "Letter") +
                   (selected ? ", selected pages" : ", all pages"));
      const std::string pdf = dir.Path("edge.pdf");
      const auto surface = qt::QtPageSurface::ForPdf(pdf, QPageSize(paper));
      if (selected) {
        PreparePrinter(state, *surface);
        for (int page = 2; page <= state.Report.PageCount; ++page) {
          state.Report.CurrentPage = static_cast<int16_t>(page);
          ASSERT_TRUE(PrintOneByOne(state, *surface, clock));
        }
        surface->EndDoc();
      } else {
        ASSERT_TRUE(mnuRptPrint_click(state, *surface, clock));
      }
      EXPECT_GE(state.Report.PageWidth, 95);
      const std::vector<PdfPage> pages = PdfWords(pdf);
      ASSERT_EQ(static_cast<int>(pages.size()), state.Report.PageCount - (selected ? 1 : 0));
      EXPECT_NE(PdfPageText(pdf, 1).find(selected ? "Pages : 2 OF 4" : "Pages : 1 OF 4"),
                std::string::npos);
      for (const PdfPage& page : pages) {
        double left = page.width, right = 0;
        for (const PdfWord& w : page.words) {
          left = std::min(left, w.xMin);
          right = std::max(right, w.xMax);
          if (w.text.find('+') == 2 && w.text.size() == 9)
            stationHeight[selected] = w.yMax - w.yMin;
        }
        EXPECT_GE(left, kMargin - 0.5);
        EXPECT_LE(right, page.width - kMargin + 0.5);
      }
    }
    // Both paths print the report's lines in one size.
    EXPECT_GT(stationHeight[false], 0);
    EXPECT_NEAR(stationHeight[false], stationHeight[true], 0.01);
  }
}

TEST_F(PdfTest, AnUnwritablePdfIsReportedAndNothingIsLeft) {
  WriteReport();
  const std::string pdf = dir.Path("missing/folder/report.pdf");
  const auto surface = qt::QtPageSurface::ForPdf(pdf);
  EXPECT_FALSE(mnuRptPrint_click(state, *surface, clock));
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_EQ(dialogs.Texts()[0].rfind("Program Error : Cannot save " + pdf, 0), 0u)
      << dialogs.Texts()[0];
  EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
}

TEST_F(PdfTest, WithoutAPrinterThePrintGoesIntoTheReportFolder) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer exists";
  WriteReport();
  const auto surface = qt::QtPageSurface::ForPrinter(
      qt::QtPageSurface::PdfInsteadOfPrinter(state.Report.ReportFileName));
  EXPECT_EQ(surface->DeviceName(), dir.Path("reports/route 9.pdf"));
  ASSERT_TRUE(mnuRptPrint_click(state, *surface, clock));
  EXPECT_EQ(PdfPages(surface->DeviceName()), 4);
}

}  // namespace
}  // namespace earthwork

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
