#include "reports/ReportFile.h"

#include <cerrno>
#include <cstring>

#include "project/Errors.h"

namespace earthwork {

ReportFileWriter::ReportFileWriter(const std::string& path, bool append)
    : path_(path), buffer_(kBufferBytes) {
  // Large writes: a report of a whole project is some megabytes.
  out_.rdbuf()->pubsetbuf(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
  out_.open(path, std::ios::binary | (append ? std::ios::app : std::ios::trunc));
  if (!out_) throw ProgramError("Cannot write " + path + ": " + std::strerror(errno));
}

namespace {

struct LineMarks {
  bool lineEnd = false;
  bool hash = false;
};

/// What WriteLine must know about a line, by memchr: this sees every byte
/// of every report.
LineMarks MarksOf(std::string_view line) {
  const auto has = [line](char c) { return line.find(c) != std::string_view::npos; };
  return {has('\r') || has('\n'), has('#')};
}

}  // namespace

void ReportFileWriter::WriteLine(std::string_view line) {
  const LineMarks marks = MarksOf(line);
  // A line end inside a text (a header field, a name, a cell) would start a
  // line of its own, without the "#" of the line it came from.
  if (marks.lineEnd) {
    std::string oneLine(line);
    for (char& c : oneLine) {
      if (c == '\r' || c == '\n') c = ' ';
    }
    return WriteLine(oneLine);
  }
  // A line with a "#" is never shown, printed or counted. Every piece broken
  // off such a line keeps a "#" (put before a piece without one), so that a
  // long header text does not turn up as a report line.
  const bool hidden = marks.hash;
  size_t start = 0;
  do {
    std::string_view piece = line.substr(start, kReportLineWidth);
    const bool mark = hidden && piece.find('#') == std::string_view::npos;
    if (mark) {
      piece = piece.substr(0, kReportLineWidth - 1);
      out_.put('#');
    }
    out_.write(piece.data(), static_cast<std::streamsize>(piece.size()));
    out_.write("\r\n", 2);
    start += piece.size();
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
  out.WriteLine("#TabName= " + TabCaption(state, store.CurrentGroup));
  out.WriteLine("#System= " + std::to_string(static_cast<int>(store.UnitSystem)));
  // The box as shown, which a run over every group does not change.
  out.WriteLine("#Embankment= " + std::to_string(state.Window.Embankment ? 1 : 0));
}

}  // namespace earthwork
