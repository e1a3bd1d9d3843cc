#include "geopak/LogRecognition.h"

#include "GeopakTestSupport.h"

namespace earthwork::testing {
namespace {

TEST_F(GeopakTest, SignatureLineMustMatchWhole) {
  const std::string sig = " 1     3     3 Earthwork";
  const struct {
    std::string bytes;
    int16_t expected;
  } cases[] = {
      {sig + "\r\n", 1},
      {"title\r\n\r\n" + sig + "\r\nmore\r\n", 1},  // anywhere in the file
      {"title\n" + sig + "\n", 1},
      {"title\r" + sig + "\rmore", 1},  // lone CR ends a line too
      {"title\r\n" + sig, 1},           // last line without a line end
      {sig + " \r\n", 0},               // trailing blank
      {" 1     3     3 EARTHWORK\r\n", 0},
      {"x" + sig + "\r\n", 0},
      {sig.substr(0, 23) + "\r\n", 0},
      {"", 0},
      {std::string("\0\x01\xff\x80 1     3\0     3 Earthwork\n", 30), 0},
  };
  const std::string path = logs.Path("ramp.log");
  for (const auto& c : cases) {
    WriteBytes(path, c.bytes);
    state.Project.CurrentFileName = path;
    EXPECT_EQ(CheckWhetherItIsLogFile(state, "ignored"), c.expected) << c.bytes;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(GeopakTest, RecognitionReadsTheCurrentFileAndReportsFailures) {
  // The argument is not used: the open command has set CurrentFileName.
  state.Project.CurrentFileName = logs.Path("missing.log");
  EXPECT_EQ(CheckWhetherItIsLogFile(state, Sample("ramp1.log")), 0);
  ASSERT_EQ(dialogs.Texts().size(), 1u);
  EXPECT_EQ(dialogs.Texts()[0], " Error: File not found: " + logs.Path("missing.log") +
                                    " occured in CheckWhetherItIsLogFile");
}

TEST_F(GeopakTest, LargeFilesAreScannedWithoutLoadingLines) {
  // One 8 MB line without any line end, then the signature.
  std::string bytes(8 << 20, 'x');
  const std::string path = WriteLog("huge.log", bytes);
  state.Project.CurrentFileName = path;
  EXPECT_EQ(CheckWhetherItIsLogFile(state, path), 0);
  WriteBytes(path, bytes + "\n 1     3     3 Earthwork\n");
  EXPECT_EQ(CheckWhetherItIsLogFile(state, path), 1);
}

}  // namespace
}  // namespace earthwork::testing
