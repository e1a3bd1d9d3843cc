#include "reports/ReportFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "project/Errors.h"

namespace earthwork {

ReportFileWriter::ReportFileWriter(const std::string& path, bool append) : path_(path) {
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  std::error_code ec;
  if (!parent.empty()) std::filesystem::create_directories(parent, ec);
  out_.open(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  if (!out_) throw ProgramError("Cannot write " + path + ": " + std::strerror(errno));
}

void ReportFileWriter::WriteLine(std::string_view line) {
  size_t start = 0;
  do {
    const std::string_view piece = line.substr(start, kReportLineWidth);
    out_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    out_.write("\r\n", 2);
    start += kReportLineWidth;
  } while (start < line.size());
  if (!out_) throw ProgramError("Cannot write " + path_ + ": " + std::strerror(errno));
}

void ReportFileWriter::Close() {
  out_.close();
  if (!out_) throw ProgramError("Cannot write " + path_ + ": " + std::strerror(errno));
}

void WriteReportHeader(ReportFileWriter& out, const ProgramState& state) {
  const ProjectStore& store = state.Project;
  out.WriteLine("#Designer= " + store.HeaderFields[0]);
  out.WriteLine("#Project No.= " + store.HeaderFields[1]);
  out.WriteLine("#Control No.= " + store.HeaderFields[2]);
  out.WriteLine("#TabName= " + state.view.TabCaption(store.CurrentGroup));
  out.WriteLine("#System= " + std::to_string(store.UnitSystem));
  out.WriteLine("#Embankment= " + std::to_string(state.view.EmbankmentChecked() ? 1 : 0));
}

}  // namespace earthwork
