#include "printing/RecordingPageSurface.h"

#include "project/Format.h"

namespace earthwork::testing {

namespace {

std::string Number(double value) {
  return ShortestText(value);
}

std::string Visible(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

void RecordingPageSurface::SetPosition(double x, double y) {
  x_ = x;
  y_ = y;
}

void RecordingPageSurface::Print(const std::string& text) {
  log_.push_back("text " + Number(x_) + " " + Number(y_) + " " + text);
  x_ = 0;
  y_ += 1;
}

void RecordingPageSurface::Line(double x, double y, double dx, double dy) {
  log_.push_back("line " + Number(x) + " " + Number(y) + " " + Number(dx) + " " + Number(dy));
}

void RecordingPageSurface::SetFontName(const std::string& name) {
  log_.push_back("font name " + name);
}

void RecordingPageSurface::SetFontSize(double points) {
  log_.push_back("font size " + Number(points));
}

void RecordingPageSurface::SetBold(bool bold) {
  log_.push_back(bold ? "bold on" : "bold off");
}

void RecordingPageSurface::SetTransparent(bool transparent) {
  log_.push_back(transparent ? "transparent on" : "transparent off");
}

void RecordingPreviewPane::AppendText(const std::string& text) {
  log_.push_back("pane text " + Visible(text));
}

std::string JoinLog(const std::vector<std::string>& log) {
  std::string text;
  for (const std::string& line : log) text += line + "\n";
  return text;
}

}  // namespace earthwork::testing
