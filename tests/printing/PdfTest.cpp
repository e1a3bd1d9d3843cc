#include <QFontInfo>
#include <QGuiApplication>
#include <QPrinterInfo>
#include <cmath>
#include <filesystem>
#include <map>
#include <regex>

#include <gtest/gtest.h>

#include "printing/LongReport.h"
#include "printing/PagePrint.h"
#include "printing/Paging.h"
#include "printing/RecordingPageSurface.h"
#include "printing/qt/QtPageSurface.h"
#include "project/Text.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

/// A PDF page as pdftotext reads it back: its words line by line, one blank
/// between, and the extent of their boxes in points.
struct PdfPage {
  double width = 0, left = 1e9, right = 0, stationHeight = 0;  // of a word like "10+00.000"
  std::map<std::pair<long, double>, std::string> words;        // by line (bottom), then x
  std::string text;
};

std::vector<PdfPage> ReadPdf(const std::string& path) {
  const std::string html =
      testing::CommandOutput("pdftotext -bbox " + testing::ShellQuoted(path) + " -");
  static const std::regex tag(
      R"re(<page width="([\d.]+)"|<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*))re");
  std::vector<PdfPage> pages;
  for (std::sregex_iterator m(html.begin(), html.end(), tag), end; m != end; ++m) {
    const auto number = [&](int i) { return std::stod((*m)[i].str()); };
    if ((*m)[1].matched) {
      pages.emplace_back().width = number(1);
      continue;
    }
    PdfPage& page = pages.back();
    page.left = std::min(page.left, number(2));
    page.right = std::max(page.right, number(4));
    const std::string word = (*m)[6].str();
    if (word.size() == 9 && word.find('+') == 2) page.stationHeight = number(5) - number(3);
    page.words[{std::lround(number(5)), number(2)}] = word;
  }
  for (PdfPage& page : pages)
    for (const auto& [at, word] : page.words) page.text += word + " ";
  return pages;
}

class PdfTest : public ::testing::Test {
 protected:
  /// A report of 120 stations: four pages.
  void SetUp() override { testing::WriteLongReport(state, dir.Path("route 9.ear"), 120, 140); }

  testing::TempDir dir;
  testing::ScopedReportDirectory reportDir{dir.Path("reports")};
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
  testing::FixedClock clock;
};

TEST_F(PdfTest, WholeReportPrintsEveryPageWithItsLines) {
  const std::string pdf = dir.Path("out/report.pdf");
  std::filesystem::create_directories(dir.Path("out"));
  const auto surface = qt::QtPageSurface::ForPdf(pdf);
  ASSERT_TRUE(mnuRptPrint_click(state, *surface, clock));
  const std::vector<PdfPage> pages = ReadPdf(pdf);
  ASSERT_EQ(pages.size(), 4u);

  // Display line 45 opens page 2; the page furniture comes back too.
  std::vector<std::string> lines = ReadReportLines(state.Report.ReportFileName);
  std::erase_if(lines, [](const std::string& l) { return !IsDisplayLine(l); });
  const std::string firstOfPage2 = lines.at(44).substr(0, 9);
  EXPECT_FALSE(Contains(pages[0].text, firstOfPage2));
  EXPECT_TRUE(Contains(pages[1].text, firstOfPage2));
  EXPECT_TRUE(Contains(pages[0].text, "EARTHWORK CALCULATION REPORT"));
  EXPECT_TRUE(Contains(pages[1].text, "Pages : 2 OF 4"));
  EXPECT_TRUE(Contains(pages[3].text, "G R A N D"));

  // Ending the document again leaves the file as it is, and no temporary
  // file is left beside it.
  const std::string bytes = testing::ReadBytes(pdf);
  surface->EndDoc();
  EXPECT_EQ(testing::ReadBytes(pdf), bytes);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path("out")), {}), 1);
}

TEST_F(PdfTest, EveryCharacterLiesInsideThePrintableArea) {
  // A header field longer than its place, and separator lines of up to 120
  // characters, more than 8.28 points leave room for. Pages printed one by
  // one from page 2 start no blank sheet.
  state.Project.HeaderFields[0] = std::string(70, 'D');
  constexpr double kMargin = 0.1875 * 72;
  for (const QPageSize::PageSizeId paper : {QPageSize::Letter, QPageSize::A4}) {
    std::map<bool, double> stationHeight;  // by print path
    for (const bool selected : {false, true}) {
      SCOPED_TRACE(std::to_string(paper) + (selected ? ", selected pages" : ", all pages"));
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
      EXPECT_TRUE(QFontInfo(QFont(surface->ResolvedFamily())).fixedPitch());
      const std::vector<PdfPage> pages = ReadPdf(pdf);
      ASSERT_EQ(static_cast<int>(pages.size()), state.Report.PageCount - (selected ? 1 : 0));
      EXPECT_TRUE(Contains(pages[0].text, selected ? "Pages : 2 OF 4" : "Pages : 1 OF 4"));
      for (const PdfPage& page : pages) {
        EXPECT_GE(page.left, kMargin - 0.5);
        EXPECT_LE(page.right, page.width - kMargin + 0.5);
        if (page.stationHeight > 0) stationHeight[selected] = page.stationHeight;
      }
    }
    // Both paths print the report's lines in one size.
    EXPECT_GT(stationHeight[false], 0);
    EXPECT_NEAR(stationHeight[false], stationHeight[true], 0.01);
  }
}

TEST_F(PdfTest, AnUnwritablePdfIsReportedAndNothingIsLeft) {
  const std::string pdf = dir.Path("missing/folder/report.pdf");
  EXPECT_FALSE(mnuRptPrint_click(state, *qt::QtPageSurface::ForPdf(pdf), clock));
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_TRUE(dialogs.Texts()[0].starts_with("Program Error : Cannot save " + pdf))
      << dialogs.Texts()[0];
  EXPECT_FALSE(std::filesystem::exists(dir.Path("missing")));
}

TEST_F(PdfTest, WithoutAPrinterThePrintGoesIntoTheReportFolder) {
  if (!QPrinterInfo::defaultPrinter().isNull()) GTEST_SKIP() << "a default printer exists";
  const auto surface = qt::QtPageSurface::ForPrinter(
      qt::QtPageSurface::PdfInsteadOfPrinter(state.Report.ReportFileName));
  EXPECT_EQ(surface->DeviceName(), dir.Path("reports/route 9.pdf"));
  ASSERT_TRUE(mnuRptPrint_click(state, *surface, clock));
  EXPECT_EQ(testing::PdfPages(surface->DeviceName()), 4);
}

}  // namespace
}  // namespace earthwork

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
