#include "printing/Paging.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "printing/LongReport.h"
#include "printing/PagePrint.h"
#include "printing/RecordingPageSurface.h"
#include "project/FileIO.h"
#include "project/Text.h"
#include "support/RecordingMainView.h"
#include "support/ScriptedDialogs.h"
#include "support/TestFiles.h"

namespace earthwork {
namespace {

/// `count` display lines "L1", "L2", ... with the six "#" header lines
/// before them, a "#" line every tenth line and the closing "#" line.
std::string ReportWithDisplayLines(int count) {
  std::string text = testing::CrLf({"#Designer= D", "#Project No.= P", "#Control No.= C",
                                    "#TabName= T", "#System= 0", "#Embankment= 0"});
  for (int i = 1; i <= count; ++i) {
    text += "L" + std::to_string(i) + "\r\n";
    if (i % 10 == 0) text += "+ a line with # inside\r\n";
  }
  return text + std::string(65, '#') + "\r\n";
}

class PagingTest : public ::testing::Test {
 protected:
  void WriteReport(const std::string& bytes) {
    state.Report.ReportFileName = dir.Path("report.rpt");
    testing::WriteBytes(state.Report.ReportFileName, bytes);
  }

  /// Renders page `page` on the recorder (printer, or preview with `pane`).
  std::vector<std::string> Render(int page, bool preview = false) {
    PreparePrinter(state, surface);
    log.clear();
    state.Report.CurrentPage = static_cast<int16_t>(page);
    EXPECT_TRUE(PrintOneByOne(state, surface, clock, preview ? &pane : nullptr));
    return log;
  }

  testing::TempDir dir;
  testing::ScopedReportDirectory reportDir{dir.Path("reports")};
  testing::ScriptedDialogs dialogs;
  testing::RecordingMainView view;
  ProgramState state{dialogs, view};
  std::vector<std::string> log;
  testing::RecordingPageSurface surface{log};
  testing::RecordingPreviewPane pane{log};
  testing::FixedClock clock;
};

TEST_F(PagingTest, PageCountsFromDisplayLines) {
  const struct {
    int displayLines, pages;
  } cases[] = {{0, 1}, {1, 1}, {44, 1}, {45, 2}, {95, 2}, {96, 3}, {146, 3}, {147, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.displayLines);
    EXPECT_EQ(PagesForDisplayLines(c.displayLines), c.pages);
    // The same count from a file, whose "#" lines never count.
    WriteReport(ReportWithDisplayLines(c.displayLines));
    state.Report.PageCount = 0;
    EXPECT_TRUE(CountNumberOfPages(state));
    EXPECT_EQ(state.Report.PageCount, c.pages);
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PagingTest, LineEndsOfAllKindsCount) {
  WriteReport("a\r\nb#\nc\r\rd");
  EXPECT_EQ(ReadReportLines(state.Report.ReportFileName),
            (std::vector<std::string>{"a", "b#", "c", "", "d"}));
  // Fed in two pieces split anywhere, the lines are the
  // lines of the whole text.
  for (const std::string text :
       {"a\r\nb#\nc\r\rd", "", "a\r\n\r\n", "#\r\n\r\n#x\re\n", "x\r", "\n\n#", "ab#cd\r\nef"}) {
    const std::vector<std::string> expected = SplitLines(text);
    int64_t display = 0;
    for (const std::string& line : expected) display += IsDisplayLine(line);
    EXPECT_EQ(CountDisplayLines(text), display) << text;
    std::vector<std::string> lines;
    const LineSplitter::Visit collect = [&](std::string_view line) {
      lines.emplace_back(line);
      return true;
    };
    for (size_t split = 0; split <= text.size(); ++split) {
      lines.clear();
      LineSplitter splitter;
      splitter.Feed(std::string_view(text).substr(0, split), collect);
      splitter.Feed(std::string_view(text).substr(split), collect);
      splitter.Finish(collect);
      EXPECT_EQ(lines, expected) << text << " split at " << split;
    }
  }
}

TEST_F(PagingTest, PagesOutsideTheReportDrawNothing) {
  WriteReport(ReportWithDisplayLines(10));
  CountNumberOfPages(state);
  EXPECT_EQ(Render(0), std::vector<std::string>{});
  EXPECT_EQ(Render(2), std::vector<std::string>{});
  // The preview still locks and shows its (empty) page.
  EXPECT_EQ(Render(2, true), std::vector<std::string>{"pane end"});
}

// printing/reformat.txt: each "line: " with the "printed: " line after it.
TEST_F(PagingTest, ReformatToPrint) {
  const auto lines = SplitLines(testing::ReadBytes(testing::DataPath("printing/reformat.txt")));
  ASSERT_EQ(lines.size(), 16u);
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    EXPECT_EQ(ReformatToPrint(lines[i].substr(6)), lines[i + 1].substr(9)) << lines[i];
  }
}

// printing/pageN[.preview].KIND.txt: page N of the long project's report
// of that kind, drawn by the printer or the preview.
TEST_F(PagingTest, PageGoldens) {
  int goldens = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::DataPath("printing"))) {
    const std::string name = entry.path().filename().string();
    if (!name.starts_with("page")) continue;
    SCOPED_TRACE(name);
    ++goldens;
    state.Report.AccumulatedReport = static_cast<ReportKind>(Contains(name, ".accumulated."));
    testing::WriteLongReport(state, dir.Path("long.ear"), 40, 40);  // two pages
    ASSERT_EQ(state.Report.PageCount, 2);
    testing::ExpectGolden(testing::JoinLog(Render(name[4] - '0', Contains(name, ".preview."))),
                          "printing/" + name);
  }
  EXPECT_EQ(goldens, 5);
  EXPECT_TRUE(dialogs.shown.empty());
}

// printing/whole.total.txt: the long project's report printed whole.
TEST_F(PagingTest, WholePrintDrawsEveryPageAsWritten) {
  testing::WriteLongReport(state, dir.Path("long.ear"), 40, 40);
  log.clear();
  bool closed = false;
  EXPECT_TRUE(mnuRptPrint_click(state, surface, clock, [&] { closed = true; }));
  EXPECT_TRUE(closed);
  testing::ExpectGolden(testing::JoinLog(log), "printing/whole.total.txt");
}

// Counting and paging a missing report are in the bad-input catalogue.
TEST_F(PagingTest, AMissingReportIsReportedByTheWholePrint) {
  state.Report.ReportFileName = dir.Path("gone.rpt");
  EXPECT_FALSE(mnuRptPrint_click(state, surface, clock));
  EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{
                                 "Program Error : File not found: " + state.Report.ReportFileName +
                                 " occured in mnuRptPrint_click"});
}

}  // namespace
}  // namespace earthwork
