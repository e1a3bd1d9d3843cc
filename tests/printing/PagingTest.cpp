#include "printing/Paging.h"

#include <algorithm>
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

using testing::CrLf;

/// `count` display lines "L1", "L2", ... with the six "#" header lines
/// before them, a "#" line every tenth line and the closing "#" line.
std::string ReportWithDisplayLines(int count) {
  std::string text = CrLf({"#Designer= D", "#Project No.= P", "#Control No.= C", "#TabName= T",
                           "#System= 0", "#Embankment= 0"});
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
    log.clear();
    PreparePrinter(state, surface);
    log.clear();
    state.Report.CurrentPage = static_cast<int16_t>(page);
    EXPECT_TRUE(PrintOneByOne(state, surface, clock, preview ? &pane : nullptr));
    return log;
  }

  /// A project whose end-area report runs to two pages.
  void WriteLongReport(int32_t kind) {
    state.Report.AccumulatedReport = static_cast<ReportKind>(kind);
    testing::WriteLongReport(state, dir.Path("long.ear"), 40, 40);
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
  struct Case {
    int displayLines;
    int pages;
  };
  for (const Case c : {Case{0, 1}, Case{1, 1}, Case{44, 1}, Case{45, 2}, Case{95, 2}, Case{96, 3},
                       Case{146, 3}, Case{147, 4}}) {
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
  EXPECT_EQ(CountDisplayLines(""), 0);
  // Fed in two pieces split anywhere, or byte by byte, the lines are the
  // lines of the whole text.
  for (const std::string text :
       {"a\r\nb#\nc\r\rd", "a\r\n\r\n", "#\r\n\r\n#x\re\n", "x\r", "\n\n#", "ab#cd\r\nef"}) {
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
    lines.clear();
    LineSplitter bytewise;
    for (const char c : text) bytewise.Feed(std::string_view(&c, 1), collect);
    bytewise.Finish(collect);
    EXPECT_EQ(lines, expected) << text;
  }
}

TEST_F(PagingTest, EachPageTakesItsOwnLinesAtItsRows) {
  WriteReport(ReportWithDisplayLines(120));
  CountNumberOfPages(state);
  struct Case {
    int page;
    const char* first;
    const char* last;
    double firstRow;  // rows counted from the top: H = 63
    double lastRow;
    size_t lines;
  };
  for (const Case c :
       {Case{1, "L1", "L44", 63 - 44, 63 - 1, 44}, Case{2, "L45", "L95", 63 - 51, 63 - 1, 51},
        Case{3, "L96", "L120", 63 - 51, 63 - 52 + 25, 25}}) {
    SCOPED_TRACE(c.page);
    std::vector<std::string> texts;
    for (const std::string& entry : Render(c.page)) {
      if (entry.rfind("text 2 ", 0) == 0 && entry.find(" L") != std::string::npos) {
        texts.push_back(entry);
      }
    }
    ASSERT_EQ(texts.size(), c.lines);
    EXPECT_EQ(texts.front(), "text 2 " + ShortestText(c.firstRow) + " " + c.first);
    EXPECT_EQ(texts.back(), "text 2 " + ShortestText(c.lastRow) + " " + c.last);
    EXPECT_EQ(state.Report.HeaderPage, c.page);
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

TEST_F(PagingTest, PageHeaderShowsThePageOfThePages) {
  WriteReport(ReportWithDisplayLines(44 + 51 * 3 + 1));
  CountNumberOfPages(state);
  ASSERT_EQ(state.Report.PageCount, 5);
  const auto entries = Render(2);
  EXPECT_NE(std::find(entries.begin(), entries.end(), "text 72 4 Pages :  2  OF  5 "),
            entries.end());
}

// printing/reformat.txt: each "line: " with the "printed: " line after it.
TEST_F(PagingTest, ReformatToPrint) {
  const auto lines = SplitLines(testing::ReadBytes(testing::DataPath("printing/reformat.txt")));
  ASSERT_EQ(lines.size(), 16u);
  for (size_t i = 0; i + 1 < lines.size(); i += 2) {
    ASSERT_TRUE(lines[i].starts_with("line: ") && lines[i + 1].starts_with("printed: "));
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
    WriteLongReport(Contains(name, ".accumulated.") ? 1 : 0);
    ASSERT_EQ(state.Report.PageCount, 2);
    testing::ExpectGolden(testing::JoinLog(Render(name[4] - '0', Contains(name, ".preview."))),
                          "printing/" + name);
  }
  EXPECT_EQ(goldens, 5);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PagingTest, WholePrintDrawsEveryPageAsWritten) {
  WriteLongReport(0);
  const std::vector<std::string> lines = ReadReportLines(state.Report.ReportFileName);
  log.clear();
  bool closed = false;
  EXPECT_TRUE(mnuRptPrint_click(state, surface, clock, [&] { closed = true; }));
  EXPECT_TRUE(closed);
  EXPECT_EQ(log.back(), "end doc");
  EXPECT_EQ(std::count(log.begin(), log.end(), "new page"), 1);
  const std::vector<std::string> whole = log;
  // The first sheet holds what page 1 holds alone.
  const auto newPage = std::find(whole.begin(), whole.end(), "new page");
  EXPECT_EQ(newPage - whole.begin() - 1, static_cast<long>(Render(1).size()));
  // The lines go out unchanged, "#" lines left out.
  std::vector<std::string> printedLines;
  for (const std::string& entry : whole) {
    if (entry.rfind("text 2 ", 0) == 0)
      printedLines.push_back(entry.substr(entry.find(' ', 7) + 1));
  }
  std::vector<std::string> displayLines;
  for (const std::string& line : lines) {
    if (IsDisplayLine(line)) displayLines.push_back(line);
  }
  EXPECT_EQ(printedLines, displayLines);
}

TEST_F(PagingTest, AMissingReportIsReportedByEachProcedure) {
  state.Report.ReportFileName = dir.Path("gone.rpt");
  const std::string missing = "File not found: " + dir.Path("gone.rpt");
  EXPECT_FALSE(CountNumberOfPages(state));
  state.Report.CurrentPage = 1;
  EXPECT_FALSE(PrintOneByOne(state, surface, clock, &pane));
  EXPECT_FALSE(mnuRptPrint_click(state, surface, clock));
  EXPECT_EQ(dialogs.Texts(), (std::vector<std::string>{
                                 " Program Error: " + missing + " occured in CountNumberOfPages",
                                 " System Error : " + missing + " (form1(PrintOneByOne)).",
                                 "Program Error : " + missing + " occured in mnuRptPrint_click",
                             }));
}

}  // namespace
}  // namespace earthwork
