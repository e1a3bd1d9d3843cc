#include "reports/ReportFile.h"

#include <gtest/gtest.h>

#include "support/TestFiles.h"

namespace earthwork {
namespace {

using testing::Lines;

// A line longer than the report's width is broken; what was a "#" line (never
// shown) stays one in every piece, and a line end inside a text never starts
// a line of its own.
TEST(ReportFileWriterTest, LongLinesAndLineEndsKeepTheirKind) {
  struct Case {
    std::string line;
    std::vector<std::string> written;
  };
  const std::string d199(199, 'd');
  const Case cases[] = {
      {"+ 12", {"+ 12"}},
      {std::string(200, 'x'), {std::string(200, 'x')}},
      {std::string(450, 'x'), {std::string(200, 'x'), std::string(200, 'x'), std::string(50, 'x')}},
      {"#Designer= " + std::string(400, 'd'),
       {"#Designer= " + std::string(189, 'd'), "#" + d199, "#" + std::string(12, 'd')}},
      {std::string(300, 'x') + "#", {"#" + std::string(199, 'x'), std::string(101, 'x') + "#"}},
      {"#Designer= J.\r\nSmith", {"#Designer= J.  Smith"}},
      {"#TabName= a\rb\nc", {"#TabName= a b c"}},
  };
  testing::TempDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line.substr(0, 30));
    ReportFileWriter out(dir.Path("r.rpt"), false);
    out.WriteLine(c.line);
    out.Close();
    EXPECT_EQ(Lines(testing::ReadBytes(dir.Path("r.rpt"))), c.written);
  }
}

}  // namespace
}  // namespace earthwork
