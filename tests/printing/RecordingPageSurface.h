#pragma once

#include <string>
#include <vector>

#include "platform/ports/PageSurface.h"
#include "platform/ports/Shell.h"
#include "printing/PagePrint.h"

namespace earthwork::testing {

/// A page surface that writes every drawing call as a line of text:
/// "text 2 3 QUORVANE" (at the current position), "line 2 6 93 0",
/// "font size 18", "bold on", "new page", ... A text output moves the
/// position to the start of the next row, as the printer does.
class RecordingPageSurface : public PageSurface {
 public:
  explicit RecordingPageSurface(std::vector<std::string>& log, double width = 97.5,
                                double height = 63.75)
      : log_(log), width_(width), height_(height) {}

  void SetPosition(double x, double y) override;
  void Print(const std::string& text) override;
  void Line(double x, double y, double dx, double dy) override;
  void SetFontName(const std::string& name) override;
  void SetFontSize(double points) override;
  void SetBold(bool bold) override;
  void SetTransparent(bool transparent) override;
  void NewPage() override { log_.push_back("new page"); }
  void EndDoc() override { log_.push_back("end doc"); }
  double PrintableWidth() const override { return width_; }
  double PrintableHeight() const override { return height_; }
  std::string DeviceName() const override { return "Recorder"; }

 private:
  std::vector<std::string>& log_;
  double width_;
  double height_;
  double x_ = 0;
  double y_ = 0;
};

/// The preview window's text area, recorded into the same log.
class RecordingPreviewPane : public PreviewPane {
 public:
  explicit RecordingPreviewPane(std::vector<std::string>& log) : log_(log) {}
  void BeginPage() override { log_.push_back("pane begin"); }
  void AppendText(const std::string& text) override;
  void EndPage() override { log_.push_back("pane end"); }

 private:
  std::vector<std::string>& log_;
};

class FixedClock : public Clock {
 public:
  std::string ShortDate() const override { return "12/5/2026"; }
};

/// The log as one text, a line each.
std::string JoinLog(const std::vector<std::string>& log);

}  // namespace earthwork::testing
