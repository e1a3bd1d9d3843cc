#pragma once

#include <QBuffer>
#include <QFont>
#include <QPageLayout>
#include <QPainter>
#include <functional>
#include <memory>
#include <string>

#include "platform/ports/PageSurface.h"

class QPagedPaintDevice;

namespace earthwork::qt {

/// The page layout of every print: portrait with 3/16 inch margins; on
/// Letter paper a printable area of 97 x 63 character units.
QPageLayout ReportPageLayout(const QPageSize& paper = QPageSize(QPageSize::Letter));

/// A PageSurface over QPainter, for a printer or a PDF file. A document
/// starts with the first drawing call and ends with EndDoc; a PDF is
/// written whole at EndDoc (temporary file, then rename), so a failed print
/// never leaves half a file. Text is Windows-1252; the font is the asked
/// one when it is monospaced, else a monospaced substitute, so report
/// columns line up. Nothing is drawn past the printable area: paper
/// narrower than Letter's 97 units gets the whole page drawn smaller, and
/// a text that would still pass the right edge is drawn in a smaller size.
class QtPageSurface : public PageSurface {
 public:
  /// Prints into the PDF file `path`, on `paper`.
  static std::unique_ptr<QtPageSurface> ForPdf(
      const std::string& path, const QPageSize& paper = QPageSize(QPageSize::Letter));
  /// Prints on the system's default printer, on its own paper; where there
  /// is none, into the PDF file `pdfPath`, whose path is then the device name.
  static std::unique_ptr<QtPageSurface> ForPrinter(const std::string& pdfPath);

  /// Where a print goes without a printer: the report's name with ".pdf" in
  /// the user's report folder (this run's own folder goes with the run).
  static std::string PdfInsteadOfPrinter(const std::string& reportPath);

  ~QtPageSurface() override;

  void SetPosition(double x, double y) override;
  void Print(const std::string& text) override;
  void Line(double x, double y, double dx, double dy) override;
  void SetFontName(const std::string& name) override;
  void SetFontSize(double points) override;
  void SetBold(bool bold) override;
  void SetTransparent(bool transparent) override;
  void NewPage() override;
  /// Ends the document. Throws ProgramError when the PDF cannot be saved.
  void EndDoc() override;
  double PrintableWidth() const override;
  double PrintableHeight() const override;
  std::string DeviceName() const override;

  /// The family actually used for the font asked for last.
  QString ResolvedFamily() const;
  /// Pages of the last ended document.
  int PagesPrinted() const { return pagesPrinted_; }

 private:
  using DeviceFactory = std::function<std::unique_ptr<QPagedPaintDevice>(QIODevice* pdfBuffer)>;
  QtPageSurface(DeviceFactory factory, std::string deviceName, std::string pdfPath);

  QPagedPaintDevice& Device() const;
  void Begin();
  void ApplyFont();
  double UnitX() const;
  double UnitY() const;
  /// How much smaller than 1/12 inch a unit is drawn on narrow paper.
  double Scale() const;

  DeviceFactory factory_;
  std::string deviceName_;
  std::string pdfPath_;  // empty for a real printer
  mutable std::unique_ptr<QBuffer> buffer_;
  mutable std::unique_ptr<QPagedPaintDevice> device_;
  QPainter painter_;
  bool pageHasInk_ = false;
  int pages_ = 0;
  int pagesPrinted_ = 0;

  double x_ = 0;
  double y_ = 0;
  std::string fontName_ = "courier";
  double fontSize_ = 8.28;
  bool bold_ = false;
  bool transparent_ = true;
  bool fontDirty_ = true;
  QFont font_;
};

}  // namespace earthwork::qt
