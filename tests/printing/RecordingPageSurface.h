#pragma once

#include <string>
#include <vector>

#include "platform/ports/PageSurface.h"
#include "platform/ports/Shell.h"
#include "printing/PagePrint.h"
#include "project/Format.h"

namespace earthwork::testing {

/// A page surface that writes every drawing call as a line of text:
/// "text 2 3 QUORVANE" (at the current position), "line 2 6 93 0",
/// "font size 18", "bold on", "new page", ... A text output moves the
/// position to the start of the next row, as the printer does.
class RecordingPageSurface : public PageSurface {
 public:
  explicit RecordingPageSurface(std::vector<std::string>& log) : log_(log) {}

  void SetPosition(double x, double y) override { x_ = x, y_ = y; }
  void Print(const std::string& text) override {
    log_.push_back("text " + ShortestText(x_) + " " + ShortestText(y_) + " " + text);
    x_ = 0;
    y_ += 1;
  }
  void Line(double x, double y, double dx, double dy) override {
    log_.push_back("line " + ShortestText(x) + " " + ShortestText(y) + " " + ShortestText(dx) +
                   " " + ShortestText(dy));
  }
  void SetFontName(const std::string& name) override { log_.push_back("font name " + name); }
  void SetFontSize(double points) override { log_.push_back("font size " + ShortestText(points)); }
  void SetBold(bool bold) override { log_.push_back(bold ? "bold on" : "bold off"); }
  void SetTransparent(bool on) override {
    log_.push_back(on ? "transparent on" : "transparent off");
  }
  void NewPage() override { log_.push_back("new page"); }
  void EndDoc() override { log_.push_back("end doc"); }
  double PrintableWidth() const override { return 97.5; }
  double PrintableHeight() const override { return 63.75; }
  std::string DeviceName() const override { return "Recorder"; }

 private:
  std::vector<std::string>& log_;
  double x_ = 0;
  double y_ = 0;
};

/// The preview window's text area, recorded into the same log; line ends
/// are shown as \r and \n.
class RecordingPreviewPane : public PreviewPane {
 public:
  explicit RecordingPreviewPane(std::vector<std::string>& log) : log_(log) {}
  void BeginPage() override { log_.push_back("pane begin"); }
  void AppendText(const std::string& text) override {
    std::string shown = "pane text ";
    for (const char c : text) shown += c == '\r' ? "\\r" : c == '\n' ? "\\n" : std::string(1, c);
    log_.push_back(shown);
  }
  void EndPage() override { log_.push_back("pane end"); }

 private:
  std::vector<std::string>& log_;
};

class FixedClock : public Clock {
 public:
  std::string ShortDate() const override { return "12/5/2026"; }
};

/// The log as one text, a line each.
inline std::string JoinLog(const std::vector<std::string>& log) {
  std::string text;
  for (const std::string& line : log) text += line + "\n";
  return text;
}

}  // namespace earthwork::testing
