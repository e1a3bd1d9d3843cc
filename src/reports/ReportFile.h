#pragma once

#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "project/ProgramState.h"

namespace earthwork {

constexpr size_t kReportLineWidth = 200;

/// Writes the ReportFile: one line per call, CR LF ended, a line longer than
/// 200 characters broken after every 200 (the pieces of a line with a "#"
/// each keep one). Failures raise ProgramError with the path and reason.
class ReportFileWriter {
 public:
  ReportFileWriter(const std::string& path, bool append);
  void WriteLine(std::string_view line);
  void Close();

 private:
  static constexpr size_t kBufferBytes = 1 << 18;
  std::string path_;
  std::vector<char> buffer_;
  std::ofstream out_;
};

/// The six "#" lines that start every group's section of a report.
void WriteReportHeader(ReportFileWriter& out, const ProgramState& state);

}  // namespace earthwork
