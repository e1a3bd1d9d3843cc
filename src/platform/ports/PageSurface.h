#pragma once

#include <string>

namespace earthwork {

/// A drawing target in character units: x in 1/12 inch, y in 1/6 inch,
/// y growing downward from the top of the printable area.
class PageSurface {
 public:
  virtual ~PageSurface() = default;

  virtual void SetPosition(double x, double y) = 0;
  /// Writes at the current position, then moves to the start of the next line.
  virtual void Print(const std::string& text) = 0;
  virtual void Line(double x, double y, double dx, double dy) = 0;

  virtual void SetFontName(const std::string& name) = 0;
  virtual void SetFontSize(double points) = 0;
  virtual void SetBold(bool bold) = 0;
  virtual void SetTransparent(bool transparent) = 0;

  virtual void NewPage() = 0;
  virtual void EndDoc() = 0;

  /// Printable size in character units (whole parts are taken by the caller).
  virtual double PrintableWidth() const = 0;
  virtual double PrintableHeight() const = 0;
  virtual std::string DeviceName() const = 0;
};

}  // namespace earthwork
